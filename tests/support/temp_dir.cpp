#include "support/temp_dir.h"

#include "support/file_read.h"

#include <stdexcept>
#include <stdlib.h>
#include <system_error>

namespace wordloom {

namespace fs = std::filesystem;

TempDir::TempDir(const fs::path& parent) {
    std::string pattern =
        ((parent.empty() ? fs::temp_directory_path() : parent) / "wordloom-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder like " + pattern);
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    // Tests take rights away to provoke failures; give them back so everything can go.
    std::error_code ignored;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(m_path, ignored);
         !ignored && it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    ignored.clear();
    fs::remove_all(m_path, ignored);
}

std::string TempDir::FilePath(const std::string& relative) const {
    return (fs::path(m_path) / relative).string();
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
    const std::string full = FilePath(relative);
    WriteBytes(full, content);
    return full;
}

} // namespace wordloom
