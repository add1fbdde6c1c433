// wordloom-cli runs / undo: the recorded translation runs of a project, and taking one back.
#include "base/ui_text.h"
#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/parser.h"

#include "strings_db/run_journal.h"
#include "translate/run_history.h"

#include <filesystem>
#include <iostream>

namespace wordloom::cli {
namespace {

struct JournalArguments {
    std::string projectPath;
    std::string dbPath = "strings.db";
};

void AddJournalOptions(CLI::App& parser, JournalArguments& arguments) {
    SetUpParser(parser);
    parser.add_option("PROJECT.dpr", arguments.projectPath, WL_TR("wordloom-cli", "the project file"))
        ->required();
    parser
        .add_option("--db", arguments.dbPath,
                    WL_TR("wordloom-cli", "the strings table holding the journal (default ./strings.db)"))
        ->option_text("FILE");
}

/// The journal, with the project's killed runs repaired first; null after saying why not.
std::unique_ptr<RunJournal> OpenJournal(const std::string& command, JournalArguments& arguments,
                                        std::ostream& err) {
    if (!ProjectFileExists(command, arguments.projectPath, err))
        return nullptr;
    // Runs are recorded under the project's full path, as the translate command gives it.
    arguments.projectPath = std::filesystem::absolute(arguments.projectPath).lexically_normal().string();
    std::unique_ptr<RunJournal> journal = OpenSqliteRunJournal(arguments.dbPath);
    CliHost host(err);
    RecoverInterruptedRuns(*journal, arguments.projectPath, host);
    return journal;
}

} // namespace

int RunsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    JournalArguments arguments;
    int keep = -1;
    CLI::App parser(WL_TR("wordloom-cli",
                          "Lists the recorded translation runs of PROJECT.dpr, newest first:\n"
                          "id, start (UTC), target language, state, files replaced."),
                    "wordloom-cli runs");
    AddJournalOptions(parser, arguments);
    parser
        .add_option(
            "--prune", keep,
            WL_TR("wordloom-cli", "forget all but the N newest runs, and the originals only they kept"))
        ->check(CLI::NonNegativeNumber)
        ->option_text("N");
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    const std::unique_ptr<RunJournal> journal = OpenJournal("runs", arguments, err);
    if (!journal)
        return kExitFailure;
    if (keep >= 0) {
        const int removed = PruneRuns(*journal, arguments.projectPath, static_cast<std::size_t>(keep));
        err << FillIn(WL_TR("wordloom-cli", "runs removed: %1"), {std::to_string(removed)}) << "\n";
    }
    for (const RunRecord& run : journal->Runs(arguments.projectPath)) {
        out << run.id << "\t" << run.startedAt << "\t" << run.target << "\t" << run.state << "\t"
            << journal->Files(run.id).size() << "\n";
    }
    return kExitSuccess;
}

int UndoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    JournalArguments arguments;
    std::int64_t runId = 0;
    bool force = false;
    CLI::App parser(
        WL_TR("wordloom-cli",
              "Puts back the files of a translation run of PROJECT.dpr (the last one not undone,\n"
              "or --run ID) as they were before it. A file changed since the run is listed and\n"
              "left alone unless --force is given."),
        "wordloom-cli undo");
    AddJournalOptions(parser, arguments);
    parser.add_option("--run", runId, WL_TR("wordloom-cli", "the run to undo (see 'wordloom-cli runs')"))
        ->check(CLI::PositiveNumber)
        ->option_text("ID");
    parser.add_flag("--force", force, WL_TR("wordloom-cli", "put back files changed since the run too"));
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    const std::unique_ptr<RunJournal> journal = OpenJournal("undo", arguments, err);
    if (!journal)
        return kExitFailure;
    if (runId == 0) {
        const std::optional<RunRecord> last = LastUndoableRun(*journal, arguments.projectPath);
        if (!last) {
            err << "wordloom-cli undo: " << WL_TR("wordloom-cli", "there is no translation run to undo")
                << "\n";
            return kExitFailure;
        }
        runId = last->id;
    } else {
        bool known = false;
        for (const RunRecord& run : journal->Runs(arguments.projectPath))
            known = known || run.id == runId;
        if (!known) {
            err << "wordloom-cli undo: "
                << FillIn(WL_TR("wordloom-cli", "the project has no run %1"), {std::to_string(runId)})
                << "\n";
            return kExitFailure;
        }
    }
    const UndoResult result = UndoRun(*journal, arguments.projectPath, runId, force);
    out << FillIn(WL_TR("wordloom-cli", "run %1: files put back: %2"),
                  {std::to_string(runId), std::to_string(result.restored)})
        << "\n";
    for (const std::string& file : result.changedSince)
        err << FillIn(WL_TR("wordloom-cli", "changed since the run, left alone: %1"), {file}) << "\n";
    for (const std::string& file : result.missing)
        err << FillIn(WL_TR("wordloom-cli", "missing, left alone: %1"), {file}) << "\n";
    return result.changedSince.empty() && result.missing.empty() ? kExitSuccess : kExitFailure;
}

} // namespace wordloom::cli
