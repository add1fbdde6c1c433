// The commands of wordloom-cli. Each lives in its own file (cli/<name>_command.cpp), reads its words
// with the shared parser (cli/parser.h) and has one line in the table of cli/main.cpp. A new
// command: its function declared here, its file added to wordloom_cli_commands in
// cli/CMakeLists.txt (with the library it needs), its line in kCommands.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::cli {

/// The exit statuses of the program and of every command; the README and the man page list them.
/// A script can tell a wrong command line (2) from a run that failed (1).
inline constexpr int kExitSuccess = 0;
/// The command ran and failed, or some files failed; also checks that need the strings table or
/// the project (an unknown language field, a missing project file).
inline constexpr int kExitFailure = 1;
/// The command line alone is wrong: an unknown command or option, a missing or malformed value,
/// a missing argument.
inline constexpr int kExitUsage = 2;

/// A command gets the words after its name; it writes results to out, failures to err, and
/// returns its exit status. "--help" among the words prints its help on out.
using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
/// The items of a comma-separated list, empty items left out.
std::vector<std::string> SplitList(std::string_view list);
/// True when `path` names an existing file; otherwise says so on err ("wordloom-cli COMMAND: ...").
/// A mistyped project path would otherwise be a project without files, "done" with nothing done.
bool ProjectFileExists(const std::string& command, const std::string& path, std::ostream& err);
/// Reads a character set number; false unless it is a whole number naming a known character set.
bool ParseCharset(const std::string& text, int& charset);

/// db init ADDRESS | db copy FROM TO: the team table in an empty PostgreSQL database; a copy between
/// backends
int DbCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// form totext IN OUT | form tobinary IN OUT
int FormCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// collect PROJECT.dpr [--db FILE] [--lang FIELD] [--charset N] [--properties LIST] [--no-pas]
/// [--rules-off LIST]
int CollectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// translate PROJECT.dpr --to FIELD [options]: the Translate command
int TranslateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// runs PROJECT.dpr [--db FILE] [--prune N]: the recorded translation runs
int RunsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// undo PROJECT.dpr [--db FILE] [--run ID] [--force]: puts back the files of a translation run
int UndoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// stats [--db FILE] [--project NAME] [--from FIELD] [--to FIELD] [--json] [--min-percent N]
int StatsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// unused --project NAME [--db FILE] [--from FIELD] [--delete]
int UnusedCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// pretranslate [--db FILE] [--project NAME] [--from FIELD] [--to FIELD] [--min-percent N]
int PretranslateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// export --format F --to FIELD [--from FIELD] [--project P] [--untranslated|--suggested] [--db FILE] OUT
int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// import FILE [--format F] [--to FIELD] [--take ours|theirs] [--add-unknown] [--dry-run] [--db FILE]
int ImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// check --to FIELD [--db FILE] [--from FIELD] [--project NAME] [--checks LIST] [--json] [--list]:
/// the quality checks; exit status 1 when an error-severity finding remains
int CheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace wordloom::cli
