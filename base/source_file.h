// Source files of a project: opened exclusively, read whole, listed by wildcard.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

enum class FileAccess { Read, ReadWrite };

/// What identifies a file's content as it was read (device, inode, size, modification time): a
/// file whose snapshot differs has been changed or replaced since.
struct FileSnapshot {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileSnapshot&) const = default;
};

/// One source file held open with an exclusive lock for the object's life, so that no other
/// process using the same locks works on it meanwhile.
class SourceFile {
public:
    /// Throws FileError("Cannot open file " + path) when the file is missing, unreadable, locked by
    /// someone else, or (ReadWrite) has no write permission bit at all — the last even for root, so
    /// that a file the user protected is never rewritten.
    SourceFile(const std::string& path, FileAccess mode);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    /// The whole content, byte for byte, from the start whatever was read before; throws
    /// FileError on a read failure.
    std::string ReadAll();
    /// The file's snapshot as it was when opened.
    const FileSnapshot& OpenedSnapshot() const { return m_opened; }

    const std::string& Path() const { return m_path; }
    int Descriptor() const { return m_fd; }
    FileAccess Mode() const { return m_mode; }

private:
    std::string m_path;
    FileAccess m_mode;
    int m_fd = -1;
    FileSnapshot m_opened;
};

/// Reads a whole file through SourceFile in Read mode.
std::string ReadSourceFile(const std::string& path);

/// True when `name` matches the wildcard `pattern` ("*" any run, "?" one character), letters
/// compared without regard to case (ASCII).
bool WildcardMatch(std::string_view pattern, std::string_view name);

/// The names (without directory) of the regular files of one directory whose names match the
/// wildcard, in the order the directory yields them; subdirectories are not searched. A missing
/// or unreadable directory gives an empty list.
std::vector<std::string> ListFiles(const std::string& directory, std::string_view pattern);

} // namespace wordloom
