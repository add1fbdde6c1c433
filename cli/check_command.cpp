// wordloom-cli check: the quality checks over the strings table, for a translator or a CI job (the
// exit status says whether an error-severity finding remains).
#include "base/ui_text.h"
#include "cli/check_forms.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/parser.h"
#include "qa/run_checks.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <exception>
#include <string>
#include <vector>

namespace wordloom::cli {

namespace {

/// A text on one line: control characters as Delphi writes them in source (#13#10).
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20)
            line += "#" + std::to_string(static_cast<unsigned char>(c));
        else
            line += c;
    }
    return line;
}

std::string SeverityText(qa::Severity severity) {
    switch (severity) {
    case qa::Severity::Error:
        return WL_TR("wordloom-cli", "error");
    case qa::Severity::Warning:
        return WL_TR("wordloom-cli", "warning");
    case qa::Severity::Info:
        break;
    }
    return WL_TR("wordloom-cli", "note");
}

void PrintList(std::ostream& out) {
    for (const qa::CheckInfo& info : qa::CheckRegistry::Standard().Checks())
        out << info.id << " (" << qa::SeverityName(info.severity)
            << "): " << TranslateText("qa", info.title.c_str()) << "\n";
}

void PrintText(const qa::RunResult& result, std::ostream& out) {
    for (const qa::Finding& finding : result.findings) {
        out << SeverityText(finding.severity) << " [" << finding.check << "] \"" << OneLine(finding.text)
            << "\" \u2192 \"" << OneLine(finding.translation) << "\": " << finding.message << "\n";
        if (!finding.hint.empty())
            out << "    " << finding.hint << "\n";
    }
    int counts[3] = {0, 0, 0};
    for (const qa::Finding& finding : result.findings)
        ++counts[static_cast<int>(finding.severity)];
    out << FillIn(WL_TR("wordloom-cli", "%1 texts checked: %2 errors, %3 warnings, %4 notes; %5 dismissed"),
                  {std::to_string(result.records), std::to_string(counts[0]), std::to_string(counts[1]),
                   std::to_string(counts[2]), std::to_string(result.dismissed)})
        << "\n";
}

void PrintJson(const qa::RunResult& result, const std::string& source, const std::string& target,
               const std::string& project, std::ostream& out) {
    out << "{\"source\": " << JsonString(source) << ", \"target\": " << JsonString(target)
        << ", \"project\": " << JsonString(project) << ", \"records\": " << result.records
        << ", \"dismissed\": " << result.dismissed << ", \"notices\": [";
    for (std::size_t i = 0; i < result.notices.size(); ++i)
        out << (i ? ", " : "") << JsonString(result.notices[i]);
    out << "], \"findings\": [";
    for (std::size_t i = 0; i < result.findings.size(); ++i) {
        const qa::Finding& finding = result.findings[i];
        out << (i ? ",\n  " : "\n  ") << "{\"check\": " << JsonString(finding.check)
            << ", \"severity\": " << JsonString(std::string(qa::SeverityName(finding.severity)))
            << ", \"message\": " << JsonString(finding.message) << ", \"hint\": " << JsonString(finding.hint)
            << ", \"lang\": " << JsonString(finding.lang) << ", \"text\": " << JsonString(finding.text)
            << ", \"target\": " << JsonString(finding.target)
            << ", \"translation\": " << JsonString(finding.translation) << "}";
    }
    out << (result.findings.empty() ? "]}\n" : "\n]}\n");
}

} // namespace

int CheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string db = "strings.db";
    std::string from;
    std::string to;
    std::string project;
    std::string checkList;
    std::vector<std::string> addWords;
    bool json = false;
    bool list = false;
    bool includeDismissed = false;
    int charset = 1;
    CLI::App parser(WL_TR("wordloom-cli", "Checks the translations into a language for what breaks the "
                                          "program or reads wrong. Exit status 1 when an error remains."),
                    "wordloom-cli check");
    SetUpParser(parser);
    parser.add_option("--db", db, WL_TR("wordloom-cli", "strings table (default ./strings.db)"))
        ->option_text("FILE");
    parser
        .add_option("--from", from,
                    WL_TR("wordloom-cli", "project language (default: the table's first language)"))
        ->option_text("FIELD");
    CLI::Option* target =
        parser.add_option("--to", to, WL_TR("wordloom-cli", "the language of the translations to check"))
            ->option_text("FIELD");
    parser
        .add_option("--project", project,
                    WL_TR("wordloom-cli", "project name, or its .dpr file to check the captions against its "
                                          "forms too (default: every record)"))
        ->option_text("NAME|FILE");
    parser
        .add_option("--charset", charset,
                    WL_TR("wordloom-cli", "character set of the sources (default 1, Windows-1252)"))
        ->check(CharsetCheck())
        ->option_text("N");
    parser
        .add_option(
            "--checks", checkList,
            WL_TR("wordloom-cli", "the checks to run, by id, comma-separated (default: all; see --list)"))
        ->option_text("LIST");
    parser.add_flag("--json", json, WL_TR("wordloom-cli", "print the findings as JSON"));
    parser.add_flag("--include-dismissed", includeDismissed,
                    WL_TR("wordloom-cli", "report dismissed findings too"));
    parser
        .add_option("--add-word", addWords,
                    WL_TR("wordloom-cli", "add a word to the table's word list of the --to language first"))
        ->option_text("WORD");
    parser.add_flag("--list", list, WL_TR("wordloom-cli", "list the checks and exit"));
    if (const std::optional<int> status = ParseCommandLine(parser, args, out, err))
        return *status;
    if (list) {
        PrintList(out);
        return kExitSuccess;
    }
    if (target->count() == 0) {
        ReportUsageError(parser, WL_TR("wordloom-cli", "--to is required"), err);
        return kExitUsage;
    }
    std::vector<const qa::CheckInfo*> checks;
    try {
        checks = qa::CheckRegistry::Standard().Select(SplitList(checkList));
    } catch (const std::invalid_argument& error) {
        ReportUsageError(parser, error.what(), err);
        return kExitUsage;
    }
    try {
        StringsTable table(db, addWords.empty() ? OpenMode::ReadOnly : OpenMode::ReadWrite);
        for (const std::string& word : addWords)
            table.Side().AddUserWord(to, word);
        qa::RunOptions options;
        options.sourceLang = from;
        options.includeDismissed = includeDismissed;
        CheckForms forms(project, charset, checks);
        options.forms = forms.Forms();
        options.measure = forms.Measure();
        project = forms.ProjectName();
        const qa::RunResult result = qa::RunChecks(table, to, project, checks, options);
        for (const std::string& notice : result.notices)
            err << "wordloom-cli check: " << notice << "\n";
        if (json)
            PrintJson(result, from.empty() ? table.Languages().front() : from, to, project, out);
        else
            PrintText(result, out);
        return result.HasErrors() ? kExitFailure : kExitSuccess;
    } catch (const std::exception& error) {
        err << "wordloom-cli check: " << error.what() << "\n";
        return kExitFailure;
    }
}

} // namespace wordloom::cli
