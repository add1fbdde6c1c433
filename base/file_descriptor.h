// Owners of raw POSIX handles, so that every return path closes them.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <memory>

namespace wordloom {

/// Owns a file descriptor (-1 for none) and closes it when destroyed.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    /// Closes now, reporting whether the close succeeded (it can report a deferred write error).
    bool Close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

struct DirStreamCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
/// An open directory stream (opendir), closed when destroyed; null when the open failed.
using DirStream = std::unique_ptr<DIR, DirStreamCloser>;

} // namespace wordloom
