#include "base/source_file.h"

#include "base/errors.h"
#include "base/ui_text.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {

namespace {

[[noreturn]] void ThrowCannotOpen(const std::string& path) {
    throw FileError(FillIn(WL_TR("Files", "Cannot open file %1"), {path}));
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

SourceFile::SourceFile(const std::string& path, FileAccess mode) : m_path(path), m_mode(mode) {
    const int flags = (mode == FileAccess::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    m_fd = ::open(path.c_str(), flags);
    if (m_fd < 0) {
        ThrowCannotOpen(path);
    }
    struct stat info {};
    const bool usable = ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode) &&
                        (mode == FileAccess::Read || (info.st_mode & 0222) != 0) &&
                        ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    if (!usable) {
        ::close(m_fd);
        m_fd = -1;
        ThrowCannotOpen(path);
    }
    m_opened = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                static_cast<std::int64_t>(info.st_size),
                static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

SourceFile::~SourceFile() {
    if (m_fd >= 0) {
        ::close(m_fd); // releases the lock
    }
}

std::string SourceFile::ReadAll() {
    // The size seen at opening only sizes the buffer. A regular file reads short only at its end,
    // so a short read that reached that size ends it: one read usually takes it all (another size,
    // or a read cut short by the system's limit per call, reads on until zero). Reading at
    // offsets needs no seek back to the start.
    std::string content(static_cast<std::size_t>(std::max<std::int64_t>(m_opened.size, 0)) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == content.size()) {
            content.resize(std::max<std::size_t>(size * 2, 65536));
        }
        const ssize_t got =
            ::pread(m_fd, content.data() + size, content.size() - size, static_cast<off_t>(size));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(FillIn(WL_TR("Files", "Cannot read file %1"), {m_path}));
        }
        if (got == 0) {
            break;
        }
        const bool shortRead = static_cast<std::size_t>(got) < content.size() - size;
        size += static_cast<std::size_t>(got);
        if (shortRead && static_cast<std::int64_t>(size) >= m_opened.size) {
            break;
        }
    }
    content.resize(size);
    return content;
}

std::string ReadSourceFile(const std::string& path) {
    SourceFile file(path, FileAccess::Read);
    return file.ReadAll();
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative matcher with one backtrack point: linear enough for file names.
    size_t p = 0;
    size_t n = 0;
    size_t starP = std::string_view::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<std::string> ListFiles(const std::string& directory, std::string_view pattern) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (!WildcardMatch(pattern, name)) {
            continue;
        }
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            regular = ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (regular) {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

} // namespace wordloom
