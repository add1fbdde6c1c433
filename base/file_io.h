// Whole-file reading and atomic replacement. Source files are the user's work: a file is either
// left as it was or replaced by the complete new content, never half-written.
#pragma once

#include <string>
#include <string_view>

namespace wordloom {

class ByteBuffer;

/// The whole content of the file, byte for byte. Throws FileError "Cannot open file %s" when the
/// file cannot be opened or read.
std::string ReadFileBytes(const std::string& path);
/// The same into a ByteBuffer, replacing its content (left empty after a failure): a regular
/// file in one read into a buffer of its size.
void ReadFileBytes(const std::string& path, ByteBuffer& data);

/// The folder of `path`, ending in one "/": everything before the last "/" (the run of "/" before
/// the name dropped), "/" for a name right below the root, the path itself for one ending in "/",
/// and "./" for a bare name or an empty path, which are looked up in the current folder.
std::string DirectoryOf(const std::string& path);

/// The start of the names of this process's temporary files: ".wordloom-<pid>-". The process id
/// lets a later run tell the files of a run that was killed (see RemoveOrphanedTempFiles).
std::string TempNamePrefix();

/// Removes from `directory` the temporary files (TempNamePrefix's pattern, regular files only)
/// whose process no longer runs, and returns how many went. A file of a running process, or any
/// other file, is never touched; failures to remove are ignored.
int RemoveOrphanedTempFiles(const std::string& directory);

/// A new file in the folder of the file it is to replace, so that a rename puts it in place at
/// once: readers see the old content or the new, never a mix. Named after TempNamePrefix, created
/// with mode 0600; removed when destroyed unless renamed or released. The calls report failures
/// with errno set.
class TempFile {
public:
    /// Creates the file; IsOpen() tells whether that worked.
    explicit TempFile(const std::string& target);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    const std::string& Path() const { return m_path; }
    /// Writes all of `data`, however many calls it takes.
    bool Write(std::string_view data);
    /// Closes the file, which can report a deferred write failure.
    bool Close();
    /// Renames the file over `target` (closing it first).
    bool RenameOver(const std::string& target);
    /// Hands the file's name over: it is no longer removed on destruction.
    std::string Release();

private:
    std::string m_path;
    int m_fd = -1;
};

/// Makes the renames in a folder durable (syncs the folder itself); failures are ignored, the
/// renames themselves having succeeded.
void SyncDirectory(const std::string& directory);

/// Writes data to a temporary file in the target's folder, flushes it to disk and renames it over
/// path, keeping the permission bits of a file that already stood there. Throws FileError
/// "Cannot create file %s" on any failure; the temporary file is removed and path is untouched.
void WriteFileAtomically(const std::string& path, std::string_view data);

} // namespace wordloom
