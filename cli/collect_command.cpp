// wordloom-cli collect PROJECT.dpr [--db FILE] [--lang FIELD] [--charset N] [--properties LIST]
// [--no-pas] [--rules-off LIST] [--keep-going]: the Collect Strings command of the workbench, with its texts
// on the error stream.
#include "collect/collect_command.h"
#include "base/ui_text.h"
#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/parser.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace wordloom::cli {

int CollectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string projectPath;
    std::string dbPath = "strings.db";
    std::string language;
    int charset = 1;
    bool keepGoing = false;
    ProjectSettings settings;
    CLI::App parser(
        WL_TR("wordloom-cli",
              "Collects the texts of the forms and units beside PROJECT.dpr into the strings table."),
        "wordloom-cli collect");
    SetUpParser(parser);
    parser.add_option("PROJECT.dpr", projectPath, WL_TR("wordloom-cli", "the project file"))->required();
    parser.add_option("--db", dbPath, WL_TR("wordloom-cli", "strings table (default ./strings.db)"))
        ->option_text("FILE");
    parser
        .add_option("--lang", language,
                    WL_TR("wordloom-cli", "project language (default: the table's first language)"))
        ->option_text("FIELD");
    parser
        .add_option("--charset", charset,
                    WL_TR("wordloom-cli", "character set of the sources (default 1, Windows-1252)"))
        ->check(CharsetCheck())
        ->option_text("N");
    parser
        .add_option_function<std::string>(
            "--properties", [&settings](const std::string& list) { settings.properties = SplitList(list); },
            WL_TR("wordloom-cli", "searched form properties, comma-separated (default: all)"))
        ->option_text("LIST");
    parser.add_flag_callback(
        "--no-pas", [&settings] { settings.includePas = false; },
        WL_TR("wordloom-cli", "leave the unit sources out"));
    parser
        .add_option_function<std::string>(
            "--rules-off",
            [&settings](const std::string& list) {
                settings.dontTranslateRulesOff = SplitList(list);
                settings.proposeDontTranslate =
                    std::find(settings.dontTranslateRulesOff.begin(), settings.dontTranslateRulesOff.end(),
                              "all") == settings.dontTranslateRulesOff.end();
            },
            WL_TR("wordloom-cli", "\"don't translate\" rules not to propose by, comma-separated "
                                  "(sql, regex, path, identifier, format; all)"))
        ->option_text("LIST");
    parser.add_flag(
        "--keep-going", keepGoing,
        WL_TR(
            "wordloom-cli",
            "skip a file that cannot be read (listed at the end, exit status 1) instead of stopping there"));
    bool verbose = false;
    parser.add_flag("--verbose", verbose, WL_TR("wordloom-cli", "name each file before it is read"));
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;

    if (!ProjectFileExists("collect", projectPath, err)) {
        return kExitFailure;
    }
    try {
        StringsTable table(dbPath);
        const std::vector<std::string> languages = table.Languages();
        if (languages.empty()) {
            err << FillIn(WL_TR("wordloom-cli", "The strings table %1 has no language field"), {dbPath})
                << "\n";
            return kExitFailure;
        }
        if (language.empty()) {
            language = languages.front();
        } else if (std::find(languages.begin(), languages.end(), language) == languages.end()) {
            err << "wordloom-cli collect: "
                << FillIn(WL_TR("wordloom-cli", "the strings table has no language field %1"), {language})
                << "\n";
            return kExitFailure;
        }
        // A relative path means the working folder here, not the root as an empty window field would.
        settings.projectPath = std::filesystem::absolute(projectPath).lexically_normal().string();
        settings.language = language;
        settings.translation = languages.size() > 1 ? languages[1] : languages[0];
        settings.sourceCharset = charset;
        CliHost host(err, nullptr, keepGoing);
        host.SetVerbose(verbose);
        CollectState state;
        const CollectSummary summary = RunCollectCommand(table, settings, host, state);
        table.SetFiltered(false);
        out << FillIn(WL_TR("wordloom-cli", "files read: %1, texts added: %2, table size: %3"),
                      {std::to_string(summary.filesRead), std::to_string(summary.textsAdded),
                       std::to_string(table.RecordCount())});
        if (!summary.skippedFiles.empty()) {
            out << FillIn(WL_TR("wordloom-cli", ", files skipped: %1"),
                          {std::to_string(summary.skippedFiles.size())});
        }
        out << "\n";
        // A skipped file was not collected: the run is not a success a script may rely on.
        return summary.failed || !summary.skippedFiles.empty() ? kExitFailure : kExitSuccess;
    } catch (const std::exception& error) {
        err << error.what() << "\n";
        return kExitFailure;
    }
}

} // namespace wordloom::cli
