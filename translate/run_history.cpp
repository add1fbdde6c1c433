#include "translate/run_history.h"

#include "base/errors.h"
#include "base/file_io.h"
#include "base/project.h"
#include "base/ui_text.h"
#include "translate/content_hash.h"
#include "translate/file_replace.h"
#include "translate/run_store.h"

#include <map>
#include <set>

namespace wordloom {

UndoResult UndoRun(RunJournal& journal, const std::string& projectPath, std::int64_t runId, bool force) {
    const std::string directory = ProjectDirectory(projectPath);
    RunStore store(directory);
    UndoResult result;
    ReplaceBatch batch;
    // What each replaced file held before the undo, for putting it back should the undo fail.
    std::map<std::string, std::string> current;
    for (const RunFileRecord& record : journal.Files(runId)) {
        const std::string path = directory + record.file;
        std::string content;
        try {
            content = ReadFileBytes(path);
        } catch (const FileError&) {
            result.missing.push_back(record.file);
            continue;
        }
        const std::string hash = Sha256Hex(content);
        if (hash == record.sha256Before)
            continue;
        if (hash != record.sha256After && !force) {
            result.changedSince.push_back(record.file);
            continue;
        }
        const std::string original = store.Read(record.backup);
        if (Sha256Hex(original) != record.sha256Before)
            throw FileError("The kept original of " + record.file + " (" + record.backup + ") is damaged");
        batch.StageReplace(path, original);
        current[path] = store.Keep(content, hash);
        ++result.restored;
    }
    batch.CommitAllOrRestore(
        [&store, &current](const std::string& path) { ReplaceFileContent(path, store.Read(current[path])); });
    if (result.changedSince.empty() && result.missing.empty())
        journal.SetState(runId, run_state::kUndone);
    return result;
}

std::optional<RunRecord> LastUndoableRun(RunJournal& journal, const std::string& projectPath) {
    // No project is no project: the journal would answer with every project's runs.
    if (projectPath.empty())
        return std::nullopt;
    for (const RunRecord& run : journal.Runs(projectPath)) {
        if (run.state == run_state::kDone)
            return run;
    }
    return std::nullopt;
}

int RecoverInterruptedRuns(RunJournal& journal, const std::string& projectPath, CommandHost& host) {
    int repaired = 0;
    if (projectPath.empty())
        return repaired;
    for (const RunRecord& run : journal.Runs(projectPath)) {
        if (run.state != run_state::kRunning)
            continue;
        const UndoResult undo = UndoRun(journal, projectPath, run.id, false);
        journal.SetState(run.id, run_state::kRolledBack);
        ++repaired;
        std::vector<std::string> left = undo.changedSince;
        left.insert(left.end(), undo.missing.begin(), undo.missing.end());
        host.Report(FillIn(WL_TR("Translate", "The translation run of %1 was interrupted: %2 files were put "
                                              "back. Files changed since were left alone:"),
                           {run.startedAt, std::to_string(undo.restored)}),
                    left);
    }
    return repaired;
}

int PruneRuns(RunJournal& journal, const std::string& projectPath, std::size_t keep) {
    int removed = 0;
    if (projectPath.empty())
        return removed;
    const std::vector<RunRecord> runs = journal.Runs(projectPath);
    std::size_t kept = 0;
    for (const RunRecord& run : runs) {
        if (run.state == run_state::kRunning || kept < keep) {
            kept += run.state == run_state::kRunning ? 0 : 1;
            continue;
        }
        journal.Remove(run.id);
        ++removed;
    }
    // The store belongs to the folder: any project there may refer to an original.
    const std::string directory = ProjectDirectory(projectPath);
    std::set<std::string> referenced;
    for (const RunRecord& run : journal.Runs("")) {
        if (ProjectDirectory(run.project) != directory)
            continue;
        for (const RunFileRecord& file : journal.Files(run.id))
            referenced.insert(file.backup);
    }
    RunStore(directory).Prune(referenced);
    return removed;
}

} // namespace wordloom
