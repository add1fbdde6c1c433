// wordloom-cli collect PROJECT.dpr [--db FILE] [--lang FIELD] [--charset N] [--properties LIST]
// [--no-pas] [--keep-going]: the Collect Strings command of the workbench, with its texts on the error
// stream.
#include "collect/collect_command.h"
#include "cli/cli_host.h"
#include "cli/commands.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::cli {

namespace {

constexpr const char* kCollectUsage =
    "usage: wordloom-cli collect PROJECT.dpr [--db FILE] [--lang FIELD] [--charset N]\n"
    "                            [--properties LIST] [--no-pas] [--keep-going]\n"
    "  --db FILE          strings table (default ./strings.db)\n"
    "  --lang FIELD       project language (default: the table's first language)\n"
    "  --charset N        character set of the sources (default 1, Windows-1252)\n"
    "  --properties LIST  searched form properties, comma-separated (default: all)\n"
    "  --no-pas           leave the unit sources out\n"
    "  --keep-going       skip a file that cannot be read (listed at the end, exit status 1)\n"
    "                     instead of stopping there\n";

int UsageError(std::ostream& err, const std::string& text) {
    err << "wordloom-cli collect: " << text << "\n" << kCollectUsage;
    return 1;
}

} // namespace

int CollectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (WantsHelp(args)) {
        out << kCollectUsage;
        return 0;
    }
    std::string projectPath;
    std::string dbPath = "strings.db";
    std::string language;
    int charset = 1;
    bool keepGoing = false;
    ProjectSettings settings;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& target) {
            if (i + 1 >= args.size()) {
                return false;
            }
            target = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--db") {
            if (!value(dbPath)) {
                return UsageError(err, "--db needs a file");
            }
        } else if (arg == "--lang") {
            if (!value(language)) {
                return UsageError(err, "--lang needs a field name");
            }
        } else if (arg == "--charset") {
            if (!value(text)) {
                return UsageError(err, "--charset needs a number");
            }
            if (!ParseCharset(text, charset)) {
                return UsageError(err, "unknown character set " + text);
            }
        } else if (arg == "--properties") {
            if (!value(text)) {
                return UsageError(err, "--properties needs a list");
            }
            settings.properties = SplitList(text);
        } else if (arg == "--no-pas") {
            settings.includePas = false;
        } else if (arg == "--keep-going") {
            keepGoing = true;
        } else if (arg.starts_with("--") || !projectPath.empty()) {
            return UsageError(err, "unexpected argument " + arg);
        } else {
            projectPath = arg;
        }
    }
    if (projectPath.empty()) {
        return UsageError(err, "no project file given");
    }
    if (!ProjectFileExists("collect", projectPath, err)) {
        return 1;
    }
    try {
        StringsTable table(dbPath);
        const std::vector<std::string> languages = table.Languages();
        if (languages.empty()) {
            err << "The strings table " << dbPath << " has no language field\n";
            return 1;
        }
        if (language.empty()) {
            language = languages.front();
        } else if (std::find(languages.begin(), languages.end(), language) == languages.end()) {
            return UsageError(err, "the strings table has no language field " + language);
        }
        // A relative path means the working folder here, not the root as an empty window field would.
        settings.projectPath = std::filesystem::absolute(projectPath).lexically_normal().string();
        settings.language = language;
        settings.translation = languages.size() > 1 ? languages[1] : languages[0];
        settings.sourceCharset = charset;
        CliHost host(err, nullptr, keepGoing);
        CollectState state;
        const CollectSummary summary = RunCollectCommand(table, settings, host, state);
        table.SetFiltered(false);
        out << "files read: " << summary.filesRead << ", texts added: " << summary.textsAdded
            << ", table size: " << table.RecordCount();
        if (!summary.skippedFiles.empty()) {
            out << ", files skipped: " << summary.skippedFiles.size();
        }
        out << "\n";
        // A skipped file was not collected: the run is not a success a script may rely on.
        return summary.failed || !summary.skippedFiles.empty() ? 1 : 0;
    } catch (const std::exception& error) {
        err << error.what() << "\n";
        return 1;
    }
}

} // namespace wordloom::cli
