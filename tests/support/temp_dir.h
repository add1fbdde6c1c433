// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

namespace wordloom {

class TempDir {
public:
    /// A fresh folder below the system's temporary folder, or below `parent` when given (a test
    /// that needs another file system). Throws std::runtime_error when it cannot be made.
    explicit TempDir(const std::filesystem::path& parent = {});
    /// Removes the folder, read-only ones below it included.
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    /// The full path of `relative` inside the folder (nothing is created).
    std::string FilePath(const std::string& relative) const;

    /// Writes `content` to the relative path (folders created) and returns the full path.
    std::string Write(const std::string& relative, const std::string& content) const;

private:
    std::string m_path;
};

} // namespace wordloom
