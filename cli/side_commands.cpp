// wordloom-cli stats | unused | pretranslate: the translator's figures and upkeep of the strings
// table, on the side tables beside it.
#include "base/ui_text.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/parser.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"
#include "strings_db/translation_memory.h"
#include "strings_db/translation_stats.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace wordloom::cli {

namespace {

struct TableOptions {
    std::string db = "strings.db";
    std::string project;
    std::string from;
    std::string to;
};

void AddTableOptions(CLI::App& parser, TableOptions& options, bool withTarget) {
    parser.add_option("--db", options.db, WL_TR("wordloom-cli", "strings table (default ./strings.db)"))
        ->option_text("FILE");
    parser
        .add_option("--from", options.from,
                    WL_TR("wordloom-cli", "project language (default: the table's first language)"))
        ->option_text("FIELD");
    if (withTarget) {
        parser
            .add_option("--to", options.to,
                        WL_TR("wordloom-cli", "target language (default: the table's second language)"))
            ->option_text("FIELD");
    }
}

// Fills in the default languages; false (said on err) when a field is not a language of the table.
bool ResolveLanguages(const std::string& command, const StringsTable& table, TableOptions& options,
                      std::ostream& err) {
    const std::vector<std::string> languages = table.Languages();
    if (languages.empty()) {
        err << "wordloom-cli " << command << ": "
            << FillIn(WL_TR("wordloom-cli", "The strings table %1 has no language field"), {options.db})
            << "\n";
        return false;
    }
    if (options.from.empty()) {
        options.from = languages.front();
    }
    if (options.to.empty()) {
        options.to = languages.size() > 1 ? languages[1] : languages[0];
    }
    for (const std::string& field : {options.from, options.to}) {
        if (std::find(languages.begin(), languages.end(), field) == languages.end()) {
            err << "wordloom-cli " << command << ": "
                << FillIn(WL_TR("wordloom-cli", "the strings table has no language field %1"), {field})
                << "\n";
            return false;
        }
    }
    return true;
}

} // namespace

int StatsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TableOptions options;
    bool json = false;
    int minPercent = -1;
    CLI::App parser(WL_TR("wordloom-cli", "Shows how much of a project is translated into a language."),
                    "wordloom-cli stats");
    SetUpParser(parser);
    AddTableOptions(parser, options, true);
    parser
        .add_option("--project", options.project,
                    WL_TR("wordloom-cli", "project name (default: every record)"))
        ->option_text("NAME");
    parser.add_flag("--json", json, WL_TR("wordloom-cli", "print the figures as JSON"));
    parser
        .add_option("--min-percent", minPercent,
                    WL_TR("wordloom-cli", "exit status 1 when less than N percent of the texts are done"))
        ->check(CLI::Range(0, 100))
        ->option_text("N");
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    try {
        StringsTable table(options.db, OpenMode::ReadOnly);
        if (!ResolveLanguages("stats", table, options, err)) {
            return kExitFailure;
        }
        const TranslationStats stats = ComputeStats(table, options.project, options.from, options.to);
        if (json) {
            out << "{\"project\": " << JsonString(options.project)
                << ", \"source\": " << JsonString(options.from) << ", \"target\": " << JsonString(options.to)
                << ", \"texts\": " << stats.totalTexts << ", \"textsDone\": " << stats.doneTexts
                << ", \"words\": " << stats.totalWords << ", \"wordsDone\": " << stats.doneWords
                << ", \"suggested\": " << stats.suggestedTexts << ", \"reviewed\": " << stats.reviewedTexts
                << ", \"dontTranslate\": " << stats.dontTranslateTexts << ", \"percent\": " << stats.Percent()
                << "}\n";
        } else {
            out << FillIn(WL_TR("wordloom-cli", "%1: %2 of %3 texts (%4%), %5 of %6 words; %7 suggested, %8 "
                                                "reviewed, %9 not to be translated"),
                          {options.to, std::to_string(stats.doneTexts), std::to_string(stats.totalTexts),
                           std::to_string(stats.Percent()), std::to_string(stats.doneWords),
                           std::to_string(stats.totalWords), std::to_string(stats.suggestedTexts),
                           std::to_string(stats.reviewedTexts), std::to_string(stats.dontTranslateTexts)})
                << "\n";
        }
        if (minPercent >= 0 && stats.Percent() < minPercent) {
            err << "wordloom-cli stats: "
                << FillIn(WL_TR("wordloom-cli", "%1% done, less than the %2% asked for"),
                          {std::to_string(stats.Percent()), std::to_string(minPercent)})
                << "\n";
            return kExitFailure;
        }
        return kExitSuccess;
    } catch (const std::exception& error) {
        err << error.what() << "\n";
        return kExitFailure;
    }
}

int UnusedCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TableOptions options;
    bool remove = false;
    CLI::App parser(
        WL_TR("wordloom-cli", "Lists the texts of a project that its last collect no longer found."),
        "wordloom-cli unused");
    SetUpParser(parser);
    AddTableOptions(parser, options, false);
    parser.add_option("--project", options.project, WL_TR("wordloom-cli", "project name"))
        ->required()
        ->option_text("NAME");
    parser.add_flag("--delete", remove,
                    WL_TR("wordloom-cli", "remove them (a text other projects use only loses this project)"));
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    try {
        StringsTable table(options.db, remove ? OpenMode::ReadWrite : OpenMode::ReadOnly);
        if (!ResolveLanguages("unused", table, options, err)) {
            return kExitFailure;
        }
        SideStore& side = table.Side();
        if (side.OccurrenceFiles(options.project).empty()) {
            // Without where-used records every text would look unused.
            err << "wordloom-cli unused: "
                << FillIn(WL_TR("wordloom-cli",
                                "nothing is known of where the texts of %1 are used: collect it first"),
                          {options.project})
                << "\n";
            return kExitFailure;
        }
        const std::vector<std::string> texts = remove ? side.DeleteUnused(options.project, options.from)
                                                      : side.UnusedTexts(options.project, options.from);
        for (const std::string& text : texts) {
            out << text << "\n";
        }
        if (remove) {
            err << FillIn(WL_TR("wordloom-cli", "%1 unused text(s) removed"), {std::to_string(texts.size())})
                << "\n";
        }
        return kExitSuccess;
    } catch (const std::exception& error) {
        err << error.what() << "\n";
        return kExitFailure;
    }
}

int PretranslateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TableOptions options;
    int minPercent = 90;
    CLI::App parser(WL_TR("wordloom-cli", "Fills empty translations from the most similar translated texts, "
                                          "marked as suggested."),
                    "wordloom-cli pretranslate");
    SetUpParser(parser);
    AddTableOptions(parser, options, true);
    parser
        .add_option("--project", options.project,
                    WL_TR("wordloom-cli", "project name (default: every record)"))
        ->option_text("NAME");
    parser
        .add_option("--min-percent", minPercent,
                    WL_TR("wordloom-cli", "least similarity of a text used (default 90)"))
        ->check(CLI::Range(1, 100))
        ->option_text("N");
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    try {
        StringsTable table(options.db);
        if (!ResolveLanguages("pretranslate", table, options, err)) {
            return kExitFailure;
        }
        const PreTranslateSummary summary =
            PreTranslate(table, options.project, options.from, options.to, minPercent);
        out << FillIn(WL_TR("wordloom-cli", "filled: %1 from the same text, %2 from similar texts"),
                      {std::to_string(summary.exact), std::to_string(summary.fuzzy)})
            << "\n";
        return kExitSuccess;
    } catch (const std::exception& error) {
        err << error.what() << "\n";
        return kExitFailure;
    }
}

} // namespace wordloom::cli
