#include "translate/file_replace.h"

#include "base/file_io.h"
#include "base/source_file.h"
#include "base/ui_text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {
namespace {

ReplaceHook g_hook = nullptr;

void Step(ReplaceStep step, const std::string& target) {
    if (g_hook != nullptr)
        g_hook(step, target);
}

std::string Reason() {
    return std::strerror(errno);
}

/// The file a path names, following symbolic links, so that a link stays a link.
std::string RealTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

/// One sync for everything written so far: a single journal commit instead of one per file.
void SyncAll(const std::vector<std::string>& temps) {
#ifdef __linux__
    if (!temps.empty()) {
        const int fd = ::open(temps.front().c_str(), O_RDONLY | O_CLOEXEC);
        const bool synced = fd >= 0 && ::syncfs(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (synced)
            return;
    }
#endif
    for (const std::string& temp : temps) {
        const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0) {
            if (fd >= 0)
                ::close(fd);
            throw FileError(FillIn(WL_TR("Files", "Cannot write file %1: %2"), {temp, Reason()}));
        }
        ::close(fd);
    }
}

/// The file that replacing `path` replaces (symbolic links followed), with its status in `st`.
/// A file without any write bit is checked in read-only; the folder's permissions must not let a
/// rename replace it behind the user's back. Only a link needs resolving: a rename through a linked
/// folder lands in the same folder.
std::string ReplaceableTarget(const std::string& path, struct stat& st) {
    std::string target = path;
    bool found = ::lstat(path.c_str(), &st) == 0;
    if (found && S_ISLNK(st.st_mode)) {
        target = RealTarget(path);
        found = ::stat(target.c_str(), &st) == 0;
    }
    if (!found || !S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0)
        throw FileError(FillIn(WL_TR("Files", "Cannot open file %1"), {path}));
    return target;
}

/// The backup name of `path`, checked to be free for a file. The name itself is replaced, never
/// what a symbolic link there points at (which might be the file itself).
std::string CheckedBackupPath(const std::string& path) {
    const std::string backup = BackupPath(path);
    struct stat st {};
    if (::lstat(backup.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        throw FileError(FillIn(WL_TR("Files", "Cannot make backup copy %1: it is not a file"), {backup}));
    return backup;
}

} // namespace

ReplaceBatch::ReplaceBatch() = default;

ReplaceBatch::~ReplaceBatch() {
    Discard();
}

void ReplaceBatch::Stage(const std::string& target, std::string_view content, unsigned mode,
                         const struct stat* owner) {
    TempFile temp(target);
    if (!temp.IsOpen())
        throw FileError(
            FillIn(WL_TR("Files", "Cannot create a temporary file beside %1: %2"), {target, Reason()}));
    const auto writeFailure = [&target] {
        return FileError(FillIn(WL_TR("Files", "Cannot write file %1: %2"), {target, Reason()}));
    };
    Step(ReplaceStep::TempCreated, target);
    // In halves only where a test watches the file half-written.
    const std::size_t half = g_hook != nullptr ? content.size() / 2 : 0;
    if (half > 0 && !temp.Write(content.substr(0, half)))
        throw writeFailure();
    Step(ReplaceStep::HalfWritten, target);
    if (!temp.Write(content.substr(half)))
        throw writeFailure();
    ::fchmod(temp.Descriptor(), mode);
    // Only root may give a file away; for everyone else it stays theirs anyway.
    if (owner != nullptr && ::fchown(temp.Descriptor(), owner->st_uid, owner->st_gid) != 0) {
    }
    if (!temp.Close())
        throw writeFailure();
    m_entries.push_back({target, temp.Release(), content.size(), {}, false, {}});
    m_bytes += content.size();
}

void ReplaceBatch::StageBackupCopy(const std::string& path, std::string_view content) {
    const std::string backup = CheckedBackupPath(path);
    // Writable for its owner, so that the next run can overwrite it.
    struct stat source {};
    const unsigned mode = ::stat(path.c_str(), &source) == 0 ? ((source.st_mode & 07777) | S_IWUSR) : 0644;
    try {
        Stage(backup, content, mode, nullptr);
    } catch (const FileError& error) {
        throw FileError(FillIn(WL_TR("Files", "Cannot make backup copy %1: %2"), {backup, error.what()}));
    }
}

void ReplaceBatch::StageReplaceWithBackup(const std::string& path, std::string_view original,
                                          std::string_view content) {
    struct stat st {};
    const std::string target = ReplaceableTarget(path, st);
    const std::string backup = CheckedBackupPath(path);
    const std::size_t first = m_entries.size();
    // The file about to be replaced becomes the backup itself: a second name for it, renamed over
    // the backup name at commit, just before the new content takes the file's own name. Nothing is
    // copied, and the old content's blocks stay in use. Only a file with no other name may: its
    // other names would keep sharing the backup's content (one of them may be a backup name that a
    // killed run left linked to the file). The rest, and file systems without hard links, get a
    // copy.
    if (st.st_nlink != 1 || !LinkAside(target, backup))
        StageBackupCopy(path, original);
    try {
        Stage(target, content, st.st_mode & 07777, &st);
    } catch (...) {
        DropFrom(first);
        throw;
    }
    m_entries.back().path = path;
}

bool ReplaceBatch::LinkAside(const std::string& source, const std::string& target) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = DirectoryOf(target) + TempNamePrefix() + std::to_string(++counter);
        if (::link(source.c_str(), temp.c_str()) == 0) {
            m_entries.push_back({target, std::move(temp), 0, {}, false, {}});
            Step(ReplaceStep::TempCreated, target);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void ReplaceBatch::StageReplace(const std::string& path, std::string_view content) {
    struct stat st {};
    const std::string target = ReplaceableTarget(path, st);
    Stage(target, content, st.st_mode & 07777, &st);
    m_entries.back().path = path;
}

void ReplaceBatch::ExpectUnchanged(const std::string& path, const FileSnapshot& snapshot) {
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        if (entry->path == path) {
            entry->checked = true;
            entry->snapshot = snapshot;
            return;
        }
    }
}

void ReplaceBatch::VerifyUnchanged(const Entry& entry) const {
    if (!entry.checked)
        return;
    const SourceFile file(entry.path, FileAccess::ReadWrite);
    if (!(file.OpenedSnapshot() == entry.snapshot))
        throw FileError("Cannot replace file " + entry.path + ": it was changed meanwhile");
}

void ReplaceBatch::SyncStaged() {
    std::vector<std::string> temps;
    temps.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        temps.push_back(entry.temp);
    SyncAll(temps);
    if (!m_entries.empty())
        Step(ReplaceStep::Written, m_entries.front().target);
}

void ReplaceBatch::CommitAllOrRestore(const std::function<void(const std::string& path)>& restore) {
    std::size_t renamed = 0;
    try {
        SyncStaged();
        while (renamed < m_entries.size()) {
            Entry& entry = m_entries[renamed];
            VerifyUnchanged(entry);
            if (::rename(entry.temp.c_str(), entry.target.c_str()) != 0)
                throw FileError("Cannot replace file " + entry.target + ": " + Reason());
            entry.temp.clear();
            ++renamed;
            Step(ReplaceStep::Renamed, entry.target);
        }
    } catch (const std::exception& error) {
        std::string text = error.what();
        for (std::size_t i = renamed; i-- > 0;) {
            if (m_entries[i].path.empty())
                continue;
            try {
                restore(m_entries[i].path);
            } catch (const std::exception& failure) {
                text += "\n" + std::string(failure.what());
            }
        }
        Discard();
        throw FileError(text);
    }
    if (!m_entries.empty())
        SyncDirectory(DirectoryOf(m_entries.back().target));
    m_entries.clear();
    m_held.clear();
    m_bytes = 0;
}

FileSnapshot TakeSnapshot(const SourceFile& file, struct stat* status) {
    struct stat own {};
    struct stat& st = status != nullptr ? *status : own;
    if (::fstat(file.Descriptor(), &st) != 0)
        throw FileError("Cannot open file " + file.Path());
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void ReplaceBatch::DropFrom(std::size_t first) {
    for (std::size_t i = first; i < m_entries.size(); ++i) {
        if (!m_entries[i].temp.empty())
            ::unlink(m_entries[i].temp.c_str());
        m_bytes -= m_entries[i].bytes;
    }
    m_entries.resize(first);
}

void ReplaceBatch::Hold(std::unique_ptr<SourceFile> file) {
    m_held.push_back(std::move(file));
}

void ReplaceBatch::Commit() {
    SyncStaged();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        if (::rename(entry.temp.c_str(), entry.target.c_str()) != 0) {
            const std::string reason = Reason();
            m_entries.erase(m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(i));
            Discard();
            throw FileError(FillIn(WL_TR("Files", "Cannot replace file %1: %2"), {entry.target, reason}));
        }
        entry.temp.clear();
        Step(ReplaceStep::Renamed, entry.target);
    }
    // The renames are ordered in the file system's journal; one directory sync makes them durable.
    if (!m_entries.empty())
        SyncDirectory(DirectoryOf(m_entries.back().target));
    m_entries.clear();
    m_held.clear();
    m_bytes = 0;
}

void ReplaceBatch::Discard() {
    for (const Entry& entry : m_entries) {
        if (!entry.temp.empty())
            ::unlink(entry.temp.c_str());
    }
    m_entries.clear();
    m_held.clear();
    m_bytes = 0;
}

void SetReplaceHookForTesting(ReplaceHook hook) {
    g_hook = hook;
}

void ReplaceFileContent(const std::string& path, std::string_view content) {
    ReplaceBatch batch;
    batch.StageReplace(path, content);
    batch.Commit();
}

std::string BackupPath(const std::string& path) {
    std::size_t nameStart = path.rfind('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    if (path.size() - nameStart <= 3)
        return path + "~";
    const std::size_t cut = path.size() - 3;
    return path.substr(0, cut) + "~" + path.substr(cut, 2);
}

void MakeBackupCopy(const std::string& path, std::string_view content) {
    ReplaceBatch batch;
    batch.StageBackupCopy(path, content);
    batch.Commit();
}

void MakeBackupCopy(const std::string& path) {
    MakeBackupCopy(path, ReadSourceFile(path));
}

} // namespace wordloom
