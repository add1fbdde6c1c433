#include "translate/file_replace.h"

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

void WriteAll(int fd, const char* data, size_t left, const std::string& target);

std::string Reason() {
    return std::strerror(errno);
}

/// Closes the descriptor and removes the temporary file unless the rename has taken it over.
class TempFile {
public:
    explicit TempFile(const std::string& target) : m_path(DirectoryOf(target) + ".wordloom-XXXXXX") {
        m_fd = ::mkstemp(m_path.data());
        if (m_fd < 0)
            throw FileError("Cannot create a temporary file beside " + target + ": " + Reason());
    }
    ~TempFile() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed)
            ::unlink(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    void Write(std::string_view content, const std::string& target) {
        const size_t half = content.size() / 2;
        WriteAll(m_fd, content.data(), half, target);
        Step(ReplaceStep::HalfWritten, target);
        WriteAll(m_fd, content.data() + half, content.size() - half, target);
        if (::fsync(m_fd) != 0)
            throw FileError("Cannot write file " + target + ": " + Reason());
    }

    void Chmod(mode_t mode) { ::fchmod(m_fd, mode); }
    void Chown(uid_t uid, gid_t gid) {
        // Only root may give the file away; for everyone else the owner stays theirs anyway.
        if (::fchown(m_fd, uid, gid) != 0) {
        }
    }

    void RenameOver(const std::string& target) {
        if (::close(m_fd) != 0) {
            m_fd = -1;
            throw FileError("Cannot write file " + target + ": " + Reason());
        }
        m_fd = -1;
        if (::rename(m_path.c_str(), target.c_str()) != 0)
            throw FileError("Cannot replace file " + target + ": " + Reason());
        m_renamed = true;
        SyncDirectory(DirectoryOf(target));
    }

    static std::string DirectoryOf(const std::string& path) {
        size_t slash = path.rfind('/');
        return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    }

private:
    static void SyncDirectory(const std::string& dir) {
        int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }

    std::string m_path;
    int m_fd = -1;
    bool m_renamed = false;
};

void WriteAll(int fd, const char* data, size_t left, const std::string& target) {
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw FileError("Cannot write file " + target + ": " + Reason());
        data += written;
        left -= static_cast<size_t>(written);
    }
}

/// The file a path names, following symbolic links, so that a link stays a link.
std::string RealTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

void WriteAtomically(const std::string& target, std::string_view content, const struct stat* keep) {
    TempFile temp(target);
    Step(ReplaceStep::TempCreated, target);
    temp.Write(content, target);
    if (keep != nullptr) {
        temp.Chmod(keep->st_mode & 07777);
        temp.Chown(keep->st_uid, keep->st_gid);
    }
    Step(ReplaceStep::Written, target);
    temp.RenameOver(target);
    Step(ReplaceStep::Renamed, target);
}

} // namespace

void SetReplaceHookForTesting(ReplaceHook hook) {
    g_hook = hook;
}

void ReplaceFileContent(const std::string& path, std::string_view content) {
    const std::string target = RealTarget(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw FileError("Cannot open file " + path);
    // A file without any write bit is checked in read-only; the folder's permissions must not
    // let a rename replace it behind the user's back.
    if ((st.st_mode & 0222) == 0)
        throw FileError("Cannot open file " + path);
    WriteAtomically(target, content, &st);
}

std::string BackupPath(const std::string& path) {
    size_t nameStart = path.rfind('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    if (path.size() - nameStart <= 3)
        return path + "~";
    const size_t cut = path.size() - 3;
    return path.substr(0, cut) + "~" + path.substr(cut, 2);
}

void MakeBackupCopy(const std::string& path, std::string_view content) {
    const std::string backup = BackupPath(path);
    struct stat st {};
    const bool haveOriginal = ::stat(path.c_str(), &st) == 0;
    // The backup carries the source's permissions, but stays writable for its owner so that the
    // next run can overwrite it.
    st.st_mode |= S_IWUSR;
    try {
        WriteAtomically(RealTarget(backup), content, haveOriginal ? &st : nullptr);
    } catch (const FileError& error) {
        throw FileError("Cannot make backup copy " + backup + ": " + error.what());
    }
}

void MakeBackupCopy(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError("Cannot open file " + path);
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            throw FileError("Cannot read file " + path + ": " + Reason());
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    MakeBackupCopy(path, content);
}

} // namespace wordloom
