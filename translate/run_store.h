// The originals of translated files, kept in the project folder (.wordloom/runs/) by the SHA-256
// of their content, so that any number of runs keep every original they replaced.
#pragma once

#include "base/source_file.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

class RunStore {
public:
    /// The store of the project folder `projectDirectory` (ending in "/"); nothing is created yet.
    explicit RunStore(std::string projectDirectory);
    ~RunStore();
    RunStore(const RunStore&) = delete;
    RunStore& operator=(const RunStore&) = delete;

    /// Keeps `content` whose digest is `sha256` (unless it is kept already) and returns where, relative
    /// to the project folder. The content is written to a temporary file and renamed into place,
    /// so an object is complete or absent; it is durable once Sync() (or a sync of the whole file
    /// system) has run. Throws FileError.
    std::string Keep(std::string_view content, const std::string& sha256);
    /// As Keep, for the original of the file at `path` that is about to be replaced by a new file
    /// renamed over it (never rewritten in place). Where it can, the object is the file itself: a
    /// second name for it, so nothing is copied and, once replaced, the store alone names the old
    /// content. Only for a file that had no other name (`soleName`), is still the file `snapshot`
    /// describes, and lies on the store's file system; anything else gets a copy of `content`.
    std::string KeepReplaced(const std::string& path, const FileSnapshot& snapshot, bool soleName,
                             std::string_view content, const std::string& sha256);
    /// Makes every object written as a copy since the last call durable with one sync of the
    /// store's file system. Throws FileError.
    void Sync();
    /// The replacement went through: the objects KeepReplaced made as second names stay. Until
    /// then they are removed when the store object goes (a run cancelled or failed): a file not
    /// replaced is still one with its object, and whoever writes it in place would change what
    /// the object's name says it holds.
    void KeepLinks() { m_linked.clear(); }
    /// The content kept at `relative` (as Keep returned it). Throws FileError.
    std::string Read(const std::string& relative) const;
    /// Removes every kept object whose relative path is not in `referenced`; how many went.
    int Prune(const std::set<std::string>& referenced);

    const std::string& ProjectDirectory() const { return m_project; }

private:
    /// Whether the object at `path` is there with `content`.
    static bool Holds(const std::string& path, std::string_view content);
    void MakeFolderOf(const std::string& path);

    std::string m_project;
    std::set<std::string> m_folders;   ///< made by Keep already
    std::vector<std::string> m_linked; ///< objects made as second names
    bool m_unsynced = false;           ///< a copy was written since the last Sync
};

/// Where the store's objects live, relative to the project folder.
inline constexpr const char* kRunStoreFolder = ".wordloom/runs/";

/// Makes the second names of KeepReplaced (`from` is followed where it is a symbolic link);
/// returns 0 or -1 with errno set, as link(2). Tests put in one that fails, as a store on another
/// file system does; nullptr restores the real one.
using StoreLinkFunction = int (*)(const char* from, const char* to);
void SetStoreLinkForTesting(StoreLinkFunction link);

} // namespace wordloom
