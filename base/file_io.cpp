#include "base/file_io.h"

#include "base/byte_buffer.h"
#include "base/errors.h"
#include "base/file_descriptor.h"
#include "base/ui_text.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace wordloom {

namespace {

/// Reads an open file to its end into data, from the first `size` bytes on; the file's size as
/// fstat told it only sizes the buffer, since the file may grow or shrink meanwhile.
template <typename Buffer>
bool ReadToEnd(int fd, std::size_t expected, Buffer& data) {
    std::size_t size = 0;
    data.resize(expected + 1); // the extra byte sees the end without a second read in most cases
    for (;;) {
        if (size == data.size())
            data.resize(std::max<std::size_t>(size * 2, 65536));
        const ssize_t n = ::read(fd, data.data() + size, data.size() - size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    data.resize(size);
    return true;
}

template <typename Buffer>
void ReadInto(const std::string& path, Buffer& data) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    data.clear();
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || S_ISDIR(info.st_mode))
        throw FileError(FillIn(WL_TR("Files", "Cannot open file %1"), {path}));
    const std::size_t expected = S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0;
    if (!ReadToEnd(file.Get(), expected, data)) {
        data.clear();
        throw FileError(FillIn(WL_TR("Files", "Cannot open file %1"), {path}));
    }
}

} // namespace

std::string ReadFileBytes(const std::string& path) {
    std::string data;
    ReadInto(path, data);
    return data;
}

void ReadFileBytes(const std::string& path, ByteBuffer& data) {
    ReadInto(path, data);
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return "./";
    }
    // "a//b" and "//b": the separators before the name belong to neither part.
    const std::size_t end = path.find_last_not_of('/', slash);
    return end == std::string::npos ? std::string("/") : path.substr(0, end + 1) + "/";
}

namespace {

// The process id is asked for with every temporary file; a forked child forgets the parent's.
std::atomic<pid_t> g_ownPid{0};

void ForgetOwnPid() {
    g_ownPid.store(0, std::memory_order_relaxed);
}

pid_t OwnPid() {
    pid_t pid = g_ownPid.load(std::memory_order_relaxed);
    if (pid == 0) {
        [[maybe_unused]] static const int registered = ::pthread_atfork(nullptr, nullptr, ForgetOwnPid);
        pid = ::getpid();
        g_ownPid.store(pid, std::memory_order_relaxed);
    }
    return pid;
}

} // namespace

std::string TempNamePrefix() {
    return ".wordloom-" + std::to_string(OwnPid()) + "-";
}

namespace {

/// The process that owns a temporary file of ours, or 0 when the name is not one of ours.
pid_t TempFileOwner(std::string_view name) {
    constexpr std::string_view kStart = ".wordloom-";
    if (!name.starts_with(kStart))
        return 0;
    name.remove_prefix(kStart.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash + 1 == name.size())
        return 0;
    long pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    if (error != std::errc() || end != name.data() + dash || pid <= 0 || pid > INT_MAX)
        return 0;
    for (const char c : name.substr(dash + 1)) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return 0;
    }
    return static_cast<pid_t>(pid);
}

/// EPERM: the process runs, under another user.
bool ProcessRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

int RemoveOrphanedTempFiles(const std::string& directory) {
    const DirStream folder(::opendir(directory.c_str()));
    if (!folder)
        return 0;
    const int folderFd = ::dirfd(folder.get());
    int removed = 0;
    while (const dirent* entry = ::readdir(folder.get())) {
        const pid_t owner = TempFileOwner(entry->d_name);
        struct stat info {};
        if (owner == 0 || ::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || ProcessRuns(owner))
            continue;
        if (::unlinkat(folderFd, entry->d_name, 0) == 0)
            ++removed;
    }
    return removed;
}

TempFile::TempFile(const std::string& target) : m_path(DirectoryOf(target) + TempNamePrefix() + "XXXXXX") {
    m_fd = ::mkostemp(m_path.data(), O_CLOEXEC);
    if (m_fd < 0)
        m_path.clear();
}

TempFile::~TempFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_path.empty())
        ::unlink(m_path.c_str());
}

bool TempFile::Write(std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(m_fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool TempFile::Close() {
    const int fd = m_fd;
    m_fd = -1;
    return fd < 0 || ::close(fd) == 0;
}

bool TempFile::RenameOver(const std::string& target) {
    if (!Close() || ::rename(m_path.c_str(), target.c_str()) != 0)
        return false;
    m_path.clear();
    return true;
}

std::string TempFile::Release() {
    Close();
    return std::exchange(m_path, std::string());
}

void SyncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void WriteFileAtomically(const std::string& path, std::string_view data) {
    TempFile file(path);
    struct stat existing {};
    mode_t mode = 0666;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (!file.IsOpen() || !file.Write(data) || ::fchmod(file.Descriptor(), mode) != 0 ||
        ::fsync(file.Descriptor()) != 0 || !file.RenameOver(path))
        throw FileError(FillIn(WL_TR("Files", "Cannot create file %1"), {path}));
    SyncDirectory(DirectoryOf(path));
}

} // namespace wordloom
