// What is done with recorded translation runs afterwards: undo, the repair of a killed run, and
// pruning old runs with the originals only they kept.
#pragma once

#include "base/command_host.h"
#include "strings_db/run_journal.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wordloom {

/// What undoing a run did.
struct UndoResult {
    int restored = 0;                      ///< files given back their content before the run
    std::vector<std::string> changedSince; ///< files changed after the run, left alone
    std::vector<std::string> missing;      ///< files no longer there (or unreadable), left alone
};

/// Puts back the original of every file of run `runId` (of the project at `projectPath`) whose
/// content still is what the run wrote; a file that already holds its original counts as done.
/// A file changed since is listed and left alone, unless `force`. All or nothing: a failure while
/// the files are put back restores what was put back already and throws FileError. The run becomes
/// `undone` when no file was left alone. Throws FileError or DbError.
UndoResult UndoRun(RunJournal& journal, const std::string& projectPath, std::int64_t runId, bool force);

/// The newest run of the project that can be undone (state `done`).
std::optional<RunRecord> LastUndoableRun(RunJournal& journal, const std::string& projectPath);

/// Undoes every run of the project still marked `running`: a run that was killed while its files
/// were replaced. Files changed since are left alone; each such run becomes `rolled_back`, and
/// `host` is told what was put back. Returns the number of runs repaired.
int RecoverInterruptedRuns(RunJournal& journal, const std::string& projectPath, CommandHost& host);

/// Removes from the journal all but the `keep` newest runs of the project (never one that is
/// `running`), and from the run store every original no remaining run refers to. Returns the
/// number of runs removed.
int PruneRuns(RunJournal& journal, const std::string& projectPath, std::size_t keep);

} // namespace wordloom
