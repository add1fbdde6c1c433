#include "translate/run_store.h"

#include "base/errors.h"
#include "base/file_io.h"
#include "translate/content_hash.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {
namespace {

int LinkFollowing(const char* from, const char* to) {
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to, AT_SYMLINK_FOLLOW);
}

StoreLinkFunction g_link = LinkFollowing;

std::string ObjectPath(const std::string& sha256) {
    return kRunStoreFolder + sha256.substr(0, 2) + "/" + sha256;
}

} // namespace

void SetStoreLinkForTesting(StoreLinkFunction link) {
    g_link = link != nullptr ? link : LinkFollowing;
}

RunStore::RunStore(std::string projectDirectory) : m_project(std::move(projectDirectory)) {}

bool RunStore::Holds(const std::string& path, std::string_view content) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) != content.size())
        return false;
    // An object with another name may have been written in place through it (a backup beside
    // its file, or a file a killed run left linked): it is trusted only with the right bytes.
    if (st.st_nlink == 1)
        return true;
    try {
        return ReadFileBytes(path) == content;
    } catch (const FileError&) {
        return false;
    }
}

void RunStore::MakeFolderOf(const std::string& path) {
    // A run keeps thousands of originals in at most 256 folders: each is made (or found) once.
    const std::string folder = DirectoryOf(path);
    if (m_folders.contains(folder))
        return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw FileError("Cannot create folder " + folder + ": " + error.message());
    m_folders.insert(folder);
}

std::string RunStore::Keep(std::string_view content, const std::string& sha256) {
    const std::string relative = ObjectPath(sha256);
    const std::string path = m_project + relative;
    if (Holds(path, content))
        return relative;
    MakeFolderOf(path);
    TempFile temp(path);
    if (!temp.IsOpen() || !temp.Write(content) || !temp.RenameOver(path))
        throw FileError("Cannot create file " + path + ": " + std::strerror(errno));
    m_unsynced = true;
    return relative;
}

std::string RunStore::KeepReplaced(const std::string& path, const FileSnapshot& snapshot, bool soleName,
                                   std::string_view content, const std::string& sha256) {
    const std::string relative = ObjectPath(sha256);
    const std::string object = m_project + relative;
    if (Holds(object, content))
        return relative;
    if (!soleName)
        return Keep(content, sha256);
    MakeFolderOf(object);
    int linked = g_link(path.c_str(), object.c_str());
    // An object there does not hold its content.
    if (linked != 0 && errno == EEXIST && ::unlink(object.c_str()) == 0)
        linked = g_link(path.c_str(), object.c_str());
    // Another file system (EXDEV), one without hard links: a copy.
    if (linked != 0)
        return Keep(content, sha256);
    // A link through a path names whatever is there now; it must be the file that was read.
    struct stat st {};
    const bool same =
        ::stat(object.c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_dev) == snapshot.device &&
        static_cast<std::uint64_t>(st.st_ino) == snapshot.inode && st.st_size == snapshot.size &&
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec == snapshot.modifiedNs;
    if (!same) {
        ::unlink(object.c_str());
        return Keep(content, sha256);
    }
    m_linked.push_back(object);
    return relative;
}

void RunStore::Sync() {
    if (!m_unsynced)
        return;
    const std::string root = m_project + kRunStoreFolder;
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::syncfs(fd) == 0;
    const std::string reason = std::strerror(errno);
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        throw FileError("Cannot write file " + root + ": " + reason);
    m_unsynced = false;
}

RunStore::~RunStore() {
    for (const std::string& object : m_linked)
        ::unlink(object.c_str());
}

std::string RunStore::Read(const std::string& relative) const {
    return ReadFileBytes(m_project + relative);
}

int RunStore::Prune(const std::set<std::string>& referenced) {
    const std::filesystem::path root = m_project + kRunStoreFolder;
    std::error_code error;
    if (!std::filesystem::is_directory(root, error))
        return 0;
    int removed = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
        if (!entry.is_regular_file(error))
            continue;
        const std::string relative =
            kRunStoreFolder + std::filesystem::relative(entry.path(), root, error).generic_string();
        if (!referenced.contains(relative) && std::filesystem::remove(entry.path(), error))
            ++removed;
    }
    return removed;
}

} // namespace wordloom
