// wordloom-cli export / import: translation files (PO, XLIFF 1.2 and 2.0, CSV, TMX) out of and
// into the strings table.
#include "base/file_io.h"
#include "base/ui_text.h"
#include "cli/commands.h"
#include "cli/parser.h"
#include "exchange/exchange_file.h"
#include "exchange/side_details.h"
#include "exchange/table_exchange.h"
#include "exchange/table_export.h"
#include "strings_db/strings_table.h"

#include <exception>
#include <map>

namespace wordloom::cli {

namespace {

using namespace wordloom::exchange;

std::string Show(const std::string& text) {
    std::string shown = text.substr(0, 60);
    for (char& c : shown)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text.size() > 60 ? shown + "..." : shown;
}

} // namespace

int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string outPath;
    std::string dbPath = "strings.db";
    std::string formatName;
    std::string target;
    std::string source;
    std::string project;
    bool untranslated = false;
    bool suggested = false;
    bool mark = false;
    CLI::App parser(WL_TR("wordloom-cli",
                          "Writes the texts of the strings table and their translations into a "
                          "translation file."),
                    "wordloom-cli export");
    SetUpParser(parser);
    parser.add_option("OUT", outPath, WL_TR("wordloom-cli", "the file to write"))->required();
    parser.add_option("--format", formatName, WL_TR("wordloom-cli", "po, xliff12, xliff20, csv or tmx"))
        ->required()
        ->transform(CLI::IsMember(FormatNames(true)))
        ->option_text("FORMAT");
    parser
        .add_option("--to", target,
                    WL_TR("wordloom-cli", "the language of the translations (for tmx: all when left out)"))
        ->option_text("FIELD");
    parser
        .add_option("--from", source,
                    WL_TR("wordloom-cli", "the language of the texts (default: the table's first)"))
        ->option_text("FIELD");
    parser.add_option("--project", project, WL_TR("wordloom-cli", "only the texts of this project"))
        ->option_text("NAME");
    parser.add_option("--db", dbPath, WL_TR("wordloom-cli", "strings table (default ./strings.db)"))
        ->option_text("FILE");
    auto* untranslatedFlag = parser.add_flag("--untranslated", untranslated,
                                             WL_TR("wordloom-cli", "only texts without a translation"));
    parser
        .add_flag("--suggested", suggested, WL_TR("wordloom-cli", "only translations still to be looked at"))
        ->excludes(untranslatedFlag);
    parser.add_flag("--bom", mark,
                    WL_TR("wordloom-cli", "csv: begin with the UTF-8 byte-order mark (for spreadsheets)"));
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    const Format format = *FormatFromName(formatName);
    if (target.empty() && format != Format::Tmx) {
        ReportUsageError(parser, WL_TR("wordloom-cli", "--to is required for this format"), err);
        return kExitUsage;
    }
    try {
        StringsTable table(dbPath, OpenMode::ReadOnly);
        const SideDetails details(table, source);
        const ExportOptions options{source, target, project,
                                    untranslated ? ExportScope::Untranslated
                                    : suggested  ? ExportScope::Suggested
                                                 : ExportScope::All};
        const ExportedFile file = ExportTable(table, format, options, details, mark);
        WriteFileAtomically(outPath, file.data);
        out << FillIn(WL_TR("wordloom-cli", "texts written: %1"), {std::to_string(file.count)}) << "\n";
        return kExitSuccess;
    } catch (const std::exception& error) {
        err << "wordloom-cli export: " << error.what() << "\n";
        return kExitFailure;
    }
}

int ImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string inPath;
    std::string dbPath = "strings.db";
    std::string formatName;
    std::string target;
    std::string source;
    std::string take = "ours";
    std::string project;
    bool addUnknown = false;
    bool dryRun = false;
    CLI::App parser(
        WL_TR("wordloom-cli", "Reads the translations of a translation file into the strings table."),
        "wordloom-cli import");
    SetUpParser(parser);
    parser.add_option("FILE", inPath, WL_TR("wordloom-cli", "the file to read"))->required();
    parser
        .add_option(
            "--format", formatName,
            WL_TR("wordloom-cli", "po, xliff12, xliff20, csv, tmx or paradox (default: from the file)"))
        ->transform(CLI::IsMember(FormatNames(false)))
        ->option_text("FORMAT");
    parser
        .add_option("--to", target,
                    WL_TR("wordloom-cli", "the language of the translations (default: the file's)"))
        ->option_text("FIELD");
    parser
        .add_option("--from", source,
                    WL_TR("wordloom-cli", "the language of the texts (default: the table's first)"))
        ->option_text("FIELD");
    parser
        .add_option("--take", take,
                    WL_TR("wordloom-cli",
                          "where a translation differs from the table's: keep ours (default) or take theirs"))
        ->check(CLI::IsMember({"ours", "theirs"}))
        ->option_text("ours|theirs");
    parser.add_flag("--add-unknown", addUnknown,
                    WL_TR("wordloom-cli", "add the texts the table does not have"));
    parser.add_option("--project", project, WL_TR("wordloom-cli", "the project of added texts"))
        ->option_text("NAME");
    parser.add_flag("--dry-run", dryRun, WL_TR("wordloom-cli", "only report what the import would do"));
    parser.add_option("--db", dbPath, WL_TR("wordloom-cli", "strings table (default ./strings.db)"))
        ->option_text("FILE");
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    try {
        const std::string data = ReadFileBytes(inPath);
        std::optional<Format> format =
            formatName.empty() ? DetectFormat(inPath, data) : FormatFromName(formatName);
        if (!format) {
            err << "wordloom-cli import: "
                << FillIn(WL_TR("wordloom-cli", "cannot tell the format of %1; name it with --format"),
                          {inPath})
                << "\n";
            return kExitFailure;
        }
        StringsTable table(dbPath, dryRun ? OpenMode::ReadOnly : OpenMode::ReadWrite);
        Catalog catalog;
        try {
            catalog = ReadCatalog(*format, data, table.Languages(), source, target);
        } catch (const ExchangeError& error) {
            err << inPath << ": " << error.what() << "\n";
            return kExitFailure;
        }
        ImportOptions options;
        options.sourceLanguage = source;
        options.targetLanguage = target.empty() ? catalog.targetLanguage : target;
        options.conflicts = take == "theirs" ? ConflictChoice::Theirs : ConflictChoice::Ours;
        options.addUnknown = addUnknown;
        options.project = project;
        if (options.targetLanguage.empty()) {
            err << "wordloom-cli import: "
                << WL_TR("wordloom-cli",
                         "the file does not name the language of its translations; name it with --to")
                << "\n";
            return kExitFailure;
        }
        SideDetails details(table, source);
        const ImportPlan plan = PlanImport(table, catalog, options, details);
        for (const ImportItem& item : plan.items) {
            if (item.kind == ImportKind::Conflict)
                out << FillIn(
                           WL_TR("wordloom-cli", "conflict: \"%1\": ours \"%2\", theirs \"%3\" (keeping %4)"),
                           {Show(item.source), Show(item.ours), Show(item.theirs),
                            item.take ? "theirs" : "ours"})
                    << "\n";
            else if (item.kind == ImportKind::Unknown)
                out << FillIn(item.take ? WL_TR("wordloom-cli", "unknown, added: \"%1\"")
                                        : WL_TR("wordloom-cli", "unknown, left out: \"%1\""),
                              {Show(item.source)})
                    << "\n";
        }
        out << FillIn(
                   WL_TR("wordloom-cli", "new: %1, changed: %2, conflicts: %3, unknown: %4, unchanged: %5"),
                   {std::to_string(plan.Count(ImportKind::New)),
                    std::to_string(plan.Count(ImportKind::Changed)),
                    std::to_string(plan.Count(ImportKind::Conflict)),
                    std::to_string(plan.Count(ImportKind::Unknown)),
                    std::to_string(plan.Count(ImportKind::Unchanged))})
            << "\n";
        if (dryRun) {
            out << WL_TR("wordloom-cli", "dry run: nothing written") << "\n";
            return kExitSuccess;
        }
        const ImportResult result = ApplyImport(table, plan, options, details);
        out << FillIn(WL_TR("wordloom-cli", "translations written: %1, texts added: %2"),
                      {std::to_string(result.written), std::to_string(result.added)})
            << "\n";
        return kExitSuccess;
    } catch (const std::exception& error) {
        err << "wordloom-cli import: " << error.what() << "\n";
        return kExitFailure;
    }
}

} // namespace wordloom::cli
