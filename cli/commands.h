// The commands of wordloom-cli. Each lives in its own file (cli/<name>_command.cpp) and has one
// line in the table of cli/main.cpp. A new command: its function declared here, its file added to
// wordloom_cli_commands in cli/CMakeLists.txt (with the library it needs), its line in kCommands.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::cli {

/// A command gets the words after its name; it writes results to out, failures to err, and
/// returns the exit status (0 done, 1 failed). "--help" among the words prints its usage.
using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// True when the words ask for help ("--help" or "-h").
bool WantsHelp(const std::vector<std::string>& args);
/// The items of a comma-separated list, empty items left out.
std::vector<std::string> SplitList(std::string_view list);
/// True when `path` names an existing file; otherwise says so on err ("wordloom-cli COMMAND: ...").
/// A mistyped project path would otherwise be a project without files, "done" with nothing done.
bool ProjectFileExists(const std::string& command, const std::string& path, std::ostream& err);
/// Reads a character set number; false unless it is a whole number naming a known character set.
bool ParseCharset(const std::string& text, int& charset);

/// form totext IN OUT | form tobinary IN OUT
int FormCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// collect PROJECT.dpr [--db FILE] [--lang FIELD] [--charset N] [--properties LIST] [--no-pas]
int CollectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// translate PROJECT.dpr --to FIELD [options]: the Translate command
int TranslateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace wordloom::cli
