// wordloom-cli collect PROJECT.dpr [--db FILE] [--lang FIELD] [--charset N] [--properties LIST]
// [--no-pas]: the Collect Strings command of the workbench, with its texts on stderr.
#include "collect/collect_command.h"
#include "cli/cli_host.h"
#include "collect/code_page.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

namespace {

constexpr const char* kCollectUsage =
    "usage: wordloom-cli collect PROJECT.dpr [--db FILE] [--lang FIELD] [--charset N]\n"
    "                            [--properties LIST] [--no-pas]\n"
    "  --db FILE          strings table (default ./strings.db)\n"
    "  --lang FIELD       project language (default: the table's first language)\n"
    "  --charset N        character set of the sources (default 1, Windows-1252)\n"
    "  --properties LIST  searched form properties, comma-separated (default: all)\n"
    "  --no-pas           leave the unit sources out\n";

int UsageError(const std::string& text) {
    std::fprintf(stderr, "wordloom-cli collect: %s\n%s", text.c_str(), kCollectUsage);
    return 2;
}

std::vector<std::string> SplitList(std::string_view list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start) {
            items.emplace_back(list.substr(start, comma - start));
        }
        start = comma + 1;
    }
    return items;
}

} // namespace

int RunCollectCli(const std::vector<std::string>& args) {
    std::string projectPath;
    std::string dbPath = "strings.db";
    std::string language;
    int charset = 1;
    ProjectSettings settings;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--db") {
            if (!value(dbPath)) {
                return UsageError("--db needs a file");
            }
        } else if (arg == "--lang") {
            if (!value(language)) {
                return UsageError("--lang needs a field name");
            }
        } else if (arg == "--charset") {
            if (!value(text)) {
                return UsageError("--charset needs a number");
            }
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), charset);
            if (error != std::errc() || end != text.data() + text.size() ||
                CodePageName(charset) == nullptr) {
                return UsageError("unknown character set " + text);
            }
        } else if (arg == "--properties") {
            if (!value(text)) {
                return UsageError("--properties needs a list");
            }
            settings.properties = SplitList(text);
        } else if (arg == "--no-pas") {
            settings.includePas = false;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kCollectUsage, stdout);
            return 0;
        } else if (arg.starts_with("--") || !projectPath.empty()) {
            return UsageError("unexpected argument " + arg);
        } else {
            projectPath = arg;
        }
    }
    if (projectPath.empty()) {
        return UsageError("no project file given");
    }
    try {
        StringsTable table(dbPath);
        const std::vector<std::string> languages = table.Languages();
        if (languages.empty()) {
            std::fprintf(stderr, "The strings table %s has no language field\n", dbPath.c_str());
            return 1;
        }
        if (language.empty()) {
            language = languages.front();
        } else if (std::find(languages.begin(), languages.end(), language) == languages.end()) {
            return UsageError("the strings table has no language field " + language);
        }
        // A relative path means the working folder here, not the root as an empty window field would.
        settings.projectPath = std::filesystem::absolute(projectPath).lexically_normal().string();
        settings.language = language;
        settings.translation = languages.size() > 1 ? languages[1] : languages[0];
        settings.sourceCharset = charset;
        CliHost host;
        CollectState state;
        const CollectSummary summary = RunCollectCommand(table, settings, host, state);
        table.SetFiltered(false);
        std::printf("files read: %d, texts added: %d, table size: %d\n", summary.filesRead,
                    summary.textsAdded, table.RecordCount());
        return summary.failed ? 1 : 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}

} // namespace wordloom
