// The option parser every wordloom-cli command shares: one set of settings, one way to report
// help and usage errors, one exit status for each.
#pragma once

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace wordloom::cli {

/// Settings shared by every command's parser: a repeated option keeps its last value, as the
/// hand-written readers before it did.
void SetUpParser(CLI::App& parser);

/// The help's layout with the parser's own words (Usage, OPTIONS, ...) in the user's language.
std::shared_ptr<CLI::Formatter> MakeFormatter();

/// What is wrong with a command line, in the user's language, naming the option or value at fault;
/// the parser that failed, when given, lists unexpected words in the order they were typed.
std::string ParseErrorText(const CLI::Error& error, const CLI::App* parser = nullptr);

/// Says on err what is wrong with the command line, then the usage line and where the options are.
void ReportUsageError(const CLI::App& parser, const std::string& text, std::ostream& err);

/// Parses a command's words. Nothing when the command is to run; otherwise its exit status:
/// kExitSuccess after printing the help on out, kExitUsage after reporting the fault on err.
std::optional<int> ParseCommandLine(CLI::App& parser, const std::vector<std::string>& args, std::ostream& out,
                                    std::ostream& err);

/// Accepts a character set number that names a known character set.
CLI::Validator CharsetCheck();

} // namespace wordloom::cli
