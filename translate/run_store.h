// The originals of translated files, kept in the project folder (.wordloom/runs/) by the SHA-256
// of their content, so that any number of runs keep every original they replaced.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace wordloom {

class RunStore {
public:
    /// The store of the project folder `projectDirectory` (ending in "/"); nothing is created yet.
    explicit RunStore(std::string projectDirectory);

    /// Keeps `content` whose digest is `sha256` (unless it is kept already) and returns where, relative
    /// to the project folder. The content is written to a temporary file and renamed into place,
    /// so an object is complete or absent; it is durable once the file system is synced (the
    /// replacement that follows syncs it). Throws FileError.
    std::string Keep(std::string_view content, const std::string& sha256);
    /// The content kept at `relative` (as Keep returned it). Throws FileError.
    std::string Read(const std::string& relative) const;
    /// Removes every kept object whose relative path is not in `referenced`; how many went.
    int Prune(const std::set<std::string>& referenced);

    const std::string& ProjectDirectory() const { return m_project; }

private:
    std::string m_project;
    std::set<std::string> m_folders; ///< made by Keep already
};

/// Where the store's objects live, relative to the project folder.
inline constexpr const char* kRunStoreFolder = ".wordloom/runs/";

} // namespace wordloom
