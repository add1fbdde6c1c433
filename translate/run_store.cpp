#include "translate/run_store.h"

#include "base/errors.h"
#include "base/file_io.h"
#include "translate/content_hash.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace wordloom {

RunStore::RunStore(std::string projectDirectory) : m_project(std::move(projectDirectory)) {}

std::string RunStore::Keep(std::string_view content, const std::string& sha256) {
    const std::string relative = kRunStoreFolder + sha256.substr(0, 2) + "/" + sha256;
    const std::string path = m_project + relative;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::size_t>(st.st_size) == content.size())
        return relative;
    // A run keeps thousands of originals in at most 256 folders: each is made (or found) once.
    const std::string folder = DirectoryOf(path);
    if (!m_folders.contains(folder)) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error)
            throw FileError("Cannot create folder " + folder + ": " + error.message());
        m_folders.insert(folder);
    }
    TempFile temp(path);
    if (!temp.IsOpen() || !temp.Write(content) || !temp.RenameOver(path))
        throw FileError("Cannot create file " + path + ": " + std::strerror(errno));
    return relative;
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
