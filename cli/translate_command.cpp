// wordloom-cli translate: the Translate command of the workbench, asking its question on the
// terminal (or not, with --yes), with its messages on stderr.
#include "base/ui_text.h"
#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/parser.h"

#include "strings_db/run_journal.h"
#include "strings_db/strings_table.h"
#include "translate/translate_command.h"
#include "translate/unified_diff.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

namespace wordloom::cli {

namespace {

/// What a dry run found: the summary, or the unified diff of every file that would change.
void PrintPlan(const TranslateSummary& summary, bool diff, std::ostream& out) {
    if (diff) {
        for (const ChangedFile& file : summary.changed)
            out << UnifiedDiff(file.before, file.after, "a/" + file.name, "b/" + file.name);
        return;
    }
    for (const ChangedFile& file : summary.changed)
        out << FillIn(WL_TR("wordloom-cli", "would change: %1 (%2 texts)"),
                      {file.name, std::to_string(file.textsReplaced)})
            << "\n";
    for (const std::string& name : summary.unchanged)
        out << FillIn(WL_TR("wordloom-cli", "unchanged: %1"), {name}) << "\n";
    for (const std::string& text : summary.untranslatedTexts)
        out << FillIn(WL_TR("wordloom-cli", "no translation: %1"), {text}) << "\n";
    out << FillIn(WL_TR("wordloom-cli", "files that would change: %1, unchanged: %2, texts without a "
                                        "translation: %3; nothing was changed"),
                  {std::to_string(summary.changed.size()), std::to_string(summary.unchanged.size()),
                   std::to_string(summary.untranslatedTexts.size())})
        << "\n";
}

} // namespace

int TranslateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string projectPath;
    std::string dbPath = "strings.db";
    bool assumeYes = false;
    ProjectSettings settings;
    CLI::App parser(
        WL_TR("wordloom-cli",
              "Rewrites the form files and unit sources beside PROJECT.dpr so that every text with a\n"
              "translation in the strings table carries it. Each file is backed up first (Main.dfm to\n"
              "Main.~df); files with nothing to change are left alone. Form files are written back in\n"
              "their binary form unless --form-format keep is given. Either every file is translated or\n"
              "none: a file that cannot be read, locked or replaced stops the run before any is\n"
              "changed. The run is recorded in the strings table; 'wordloom-cli undo' takes it back."),
        "wordloom-cli translate");
    SetUpParser(parser);
    parser.add_option("PROJECT.dpr", projectPath, WL_TR("wordloom-cli", "the project file"))->required();
    parser.add_option("--to", settings.translation, WL_TR("wordloom-cli", "the language to translate into"))
        ->required()
        ->option_text("FIELD");
    parser
        .add_option("--lang", settings.language,
                    WL_TR("wordloom-cli", "the sources' language (default: the table's first language)"))
        ->option_text("FIELD");
    parser.add_option("--db", dbPath, WL_TR("wordloom-cli", "the strings table (default ./strings.db)"))
        ->option_text("FILE");
    parser
        .add_option("--charset", settings.sourceCharset,
                    WL_TR("wordloom-cli", "character set of the sources (default 1, Windows-1252)"))
        ->check(CharsetCheck())
        ->option_text("N");
    parser
        .add_option("--target-charset", settings.targetCharset,
                    WL_TR("wordloom-cli", "character set the translations are written in (default 1)"))
        ->check(CharsetCheck())
        ->option_text("N");
    parser
        .add_option_function<std::string>(
            "--properties", [&settings](const std::string& list) { settings.properties = SplitList(list); },
            WL_TR("wordloom-cli", "translated form properties, comma-separated (default: all)"))
        ->option_text("LIST");
    parser.add_flag_callback(
        "--no-pas", [&settings] { settings.includePas = false; },
        WL_TR("wordloom-cli", "leave the unit sources alone"));
    parser.add_flag("--yes", assumeYes, WL_TR("wordloom-cli", "do not ask for confirmation"));
    TranslateOptions options;
    std::string formFormat = FormFormatName(options.formFormat);
    parser
        .add_option("--form-format", formFormat,
                    WL_TR("wordloom-cli", "how form files are written: binary (default), or keep each in "
                                          "its text or binary form"))
        ->check(CLI::IsMember({FormFormatName(FormFormat::Binary), FormFormatName(FormFormat::Keep)}))
        ->option_text("keep|binary");
    parser.add_flag("--dry-run", options.dryRun,
                    WL_TR("wordloom-cli", "only say which files would change, changing nothing"));
    bool diff = false;
    parser.add_flag("--diff", diff,
                    WL_TR("wordloom-cli",
                          "print the changes as a unified diff (forms in text form), changing "
                          "nothing"));
    bool verbose = false;
    parser.add_flag("--verbose", verbose, WL_TR("wordloom-cli", "name each file before it is read"));
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    if (!ProjectFileExists("translate", projectPath, err))
        return kExitFailure;

    ParseFormFormat(formFormat, options.formFormat);
    options.dryRun = options.dryRun || diff;
    options.keepTexts = diff;

    StringsTable table(dbPath, OpenMode::ReadOnly);
    const std::vector<std::string> languages = table.Languages();
    if (settings.language.empty() && !languages.empty())
        settings.language = languages.front();
    for (const std::string* field : {&settings.language, &settings.translation}) {
        if (std::find(languages.begin(), languages.end(), *field) == languages.end()) {
            err << "wordloom-cli translate: "
                << FillIn(WL_TR("wordloom-cli", "the strings table has no language field %1"), {*field})
                << "\n";
            return kExitFailure;
        }
    }
    // A bare file name means the working folder, never the root folder an empty window field gives.
    settings.projectPath = std::filesystem::absolute(projectPath).lexically_normal().string();

    std::unique_ptr<RunJournal> journal;
    if (!options.dryRun) {
        journal = OpenSqliteRunJournal(dbPath);
        options.journal = journal.get();
    }
    CliHost host(err, assumeYes ? nullptr : &std::cin);
    host.SetVerbose(verbose);
    const TranslateSummary summary = RunTranslateCommand(table, settings, host, options);
    if (options.dryRun) {
        PrintPlan(summary, diff, out);
        return summary.failed ? kExitFailure : kExitSuccess;
    }
    if (!summary.confirmed) {
        err << WL_TR("wordloom-cli", "Nothing was changed.") << "\n";
        return kExitFailure;
    }
    out << FillIn(WL_TR("wordloom-cli",
                        "form files translated: %1, unit files translated: %2, texts replaced: %3"),
                  {std::to_string(summary.formFilesTranslated), std::to_string(summary.unitFilesTranslated),
                   std::to_string(summary.textsReplaced)})
        << "\n";
    if (summary.runId != 0)
        out << FillIn(WL_TR("wordloom-cli", "run %1 recorded; 'wordloom-cli undo' takes it back"),
                      {std::to_string(summary.runId)})
            << "\n";
    return summary.failed ? kExitFailure : kExitSuccess;
}

} // namespace wordloom::cli
