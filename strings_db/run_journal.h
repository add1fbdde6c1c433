// The journal of translation runs, kept beside `strings` in the strings database: which files a
// run replaced, their content before and after, and where the originals are kept. It is what makes
// undo, and the repair of a run that was killed, possible.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wordloom {

/// A run's state: `running` from just before its first file is replaced until it ends; `done`;
/// `rolled_back` (failed or killed, its files put back); `undone` (undone by the user).
namespace run_state {
inline constexpr const char* kRunning = "running";
inline constexpr const char* kDone = "done";
inline constexpr const char* kRolledBack = "rolled_back";
inline constexpr const char* kUndone = "undone";
} // namespace run_state

struct RunFileRecord {
    std::string file;         ///< relative to the project folder
    std::string backup;       ///< where the original content is kept, relative to the project folder
    std::string sha256Before; ///< the content the run found
    std::string sha256After;  ///< the content the run wrote
};

struct RunRecord {
    std::int64_t id = 0;
    std::string project;   ///< the project file's full path
    std::string target;    ///< the target language field
    std::string startedAt; ///< UTC, ISO 8601
    std::string state;     ///< one of run_state
};

/// Throws DbError on any failure of the database.
class RunJournal {
public:
    virtual ~RunJournal() = default;
    /// Records a new run in state `running` with its files, durably, in one transaction; its id.
    virtual std::int64_t BeginRun(const std::string& project, const std::string& target,
                                  const std::vector<RunFileRecord>& files) = 0;
    virtual void SetState(std::int64_t run, const std::string& state) = 0;
    /// The runs of `project` (every run when empty), newest first.
    virtual std::vector<RunRecord> Runs(const std::string& project) = 0;
    virtual std::vector<RunFileRecord> Files(std::int64_t run) = 0;
    /// Removes a run and its files from the journal.
    virtual void Remove(std::int64_t run) = 0;
};

/// The journal in the SQLite strings database at `path`; its tables are created when missing, the
/// `strings` table is never touched. Throws DbError when the file cannot be opened for writing.
/// A postgresql:// address opens the journal in that team table's database.
std::unique_ptr<RunJournal> OpenSqliteRunJournal(const std::string& path);

} // namespace wordloom
