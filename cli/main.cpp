// wordloom-cli: the engine's commands for batch use. Each command has one line in kCommands.
#include "base/ui_text.h"
#include "cli/commands.h"
#include "cli/parser.h"
#include "wordloom_build_info.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <string_view>

namespace wordloom::cli {

namespace {

struct Command {
    const char* name;
    const char* summary;
    CommandFunction run;
};

constexpr Command kCommands[] = {
    {"form", WL_TR_NOOP("wordloom-cli", "convert form files between their binary and text form"),
     FormCommand},
    {"collect",
     WL_TR_NOOP("wordloom-cli", "collect the strings of a project's forms and units into the strings table"),
     CollectCommand},
    {"translate", WL_TR_NOOP("wordloom-cli", "rewrite a project's forms and units in another language"),
     TranslateCommand},
    {"runs", WL_TR_NOOP("wordloom-cli", "list a project's translation runs, or prune old ones"), RunsCommand},
    {"undo", WL_TR_NOOP("wordloom-cli", "put back the files of a translation run"), UndoCommand},
    {"stats", WL_TR_NOOP("wordloom-cli", "show how much of a project is translated"), StatsCommand},
    {"unused", WL_TR_NOOP("wordloom-cli", "list or remove the texts a project no longer uses"),
     UnusedCommand},
    {"pretranslate", WL_TR_NOOP("wordloom-cli", "fill empty translations from similar translated texts"),
     PretranslateCommand},
    {"export", WL_TR_NOOP("wordloom-cli", "write the table's texts into a PO, XLIFF, CSV or TMX file"),
     ExportCommand},
    {"import",
     WL_TR_NOOP("wordloom-cli", "read the translations of a PO, XLIFF, CSV or TMX file into the table"),
     ImportCommand},
    {"db", WL_TR_NOOP("wordloom-cli", "make a team table in PostgreSQL, or copy a table between backends"),
     DbCommand},
    {"check", WL_TR_NOOP("wordloom-cli", "check the translations for what breaks the program or reads wrong"),
     CheckCommand},
};

constexpr const char* kExitStatuses =
    WL_TR_NOOP("wordloom-cli", "Exit status: 0 done; 1 the command failed, or some files failed;\n"
                               "2 wrong command line (unknown command or option, missing or bad value).\n"
                               "'wordloom-cli COMMAND --help' lists the options of a command.");

int Run(const std::vector<std::string>& args) {
    CLI::App parser(WL_TR("wordloom-cli", "The engine's commands for batch use."), "wordloom-cli");
    SetUpParser(parser);
    parser.set_version_flag("--version", "wordloom-cli " WORDLOOM_VERSION,
                            WL_TR("wordloom-cli", "print the version and exit"));
    parser.footer(TranslateText("wordloom-cli", kExitStatuses));
    // The words after a command's name are its own: its parser reads them.
    std::vector<std::pair<CLI::App*, CommandFunction>> commands;
    for (const Command& command : kCommands) {
        CLI::App* subcommand =
            parser.add_subcommand(command.name, TranslateText("wordloom-cli", command.summary));
        subcommand->prefix_command();
        subcommand->allow_extras();
        subcommand->set_help_flag();
        subcommand->group(WL_TR("wordloom-cli", "Commands"));
        commands.emplace_back(subcommand, command.run);
    }
    if (args.empty()) {
        ReportUsageError(parser, WL_TR("wordloom-cli", "no command given"), std::cerr);
        return kExitUsage;
    }
    if (args.front() == "help") { // the word before there was --help
        std::cout << parser.help();
        return kExitSuccess;
    }
    const auto named = [&args](const Command& command) { return args.front() == command.name; };
    if (!args.front().starts_with("-") && std::none_of(std::begin(kCommands), std::end(kCommands), named)) {
        ReportUsageError(parser, FillIn(WL_TR("wordloom-cli", "unknown command \"%1\""), {args.front()}),
                         std::cerr);
        return kExitUsage;
    }
    try {
        std::vector<std::string> words(args.rbegin(), args.rend());
        parser.parse(words);
    } catch (const CLI::CallForHelp&) {
        std::cout << parser.help();
        return kExitSuccess;
    } catch (const CLI::CallForVersion& version) {
        std::cout << version.what() << "\n";
        return kExitSuccess;
    } catch (const CLI::ParseError& error) {
        ReportUsageError(parser, ParseErrorText(error, &parser), std::cerr);
        return kExitUsage;
    }
    for (const auto& [subcommand, run] : commands) {
        if (subcommand->parsed())
            return run(subcommand->remaining(), std::cout, std::cerr);
    }
    ReportUsageError(parser, WL_TR("wordloom-cli", "no command given"), std::cerr);
    return kExitUsage;
}

} // namespace
} // namespace wordloom::cli

int main(int argc, char** argv) {
    // Beside the program in the build folder, its parent (where the build puts the catalogues), and
    // the installed data folder.
    std::error_code error;
    const std::filesystem::path programDir =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    wordloom::InstallTextCatalogue(wordloom::UserLanguage(),
                                   {programDir.string(), programDir.parent_path().string(),
                                    (programDir / WORDLOOM_DATA_FROM_BIN).string()});
    try {
        return wordloom::cli::Run({argv + 1, argv + argc});
    } catch (const std::exception& e) {
        std::cerr << "wordloom-cli: " << e.what() << "\n";
        return wordloom::cli::kExitFailure;
    }
}
