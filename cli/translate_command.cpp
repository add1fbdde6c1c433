// wordloom-cli translate: the Translate command of the workbench, asking its question on the
// terminal (or not, with --yes), with its messages on stderr.
#include "cli/cli_host.h"
#include "cli/commands.h"

#include "strings_db/strings_table.h"
#include "translate/translate_command.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace wordloom::cli {

namespace {

constexpr const char* kUsage =
    "Usage: wordloom-cli translate PROJECT.dpr --to FIELD [--lang FIELD] [--db FILE] [--charset N]\n"
    "                              [--target-charset N] [--properties LIST] [--no-pas] [--yes]\n"
    "\n"
    "Rewrites the form files and unit sources beside PROJECT.dpr so that every text with a\n"
    "translation in the strings table carries it. Each file is backed up first (Main.dfm to\n"
    "Main.~df); form files are written back in their binary form.\n"
    "  --to FIELD            the language to translate into\n"
    "  --lang FIELD          the sources' language (default: the table's first language)\n"
    "  --db FILE             the strings table (default ./strings.db)\n"
    "  --charset N           character set of the sources (default 1, Windows-1252)\n"
    "  --target-charset N    character set the translations are written in (default 1)\n"
    "  --properties LIST     translated form properties, comma-separated (default: all)\n"
    "  --no-pas              leave the unit sources alone\n"
    "  --yes                 do not ask for confirmation\n";

} // namespace

int TranslateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (WantsHelp(args)) {
        out << kUsage;
        return 0;
    }
    const auto usageError = [&err](const std::string& text) {
        err << "wordloom-cli translate: " << text << "\n\n" << kUsage;
        return 1;
    };
    std::string projectPath;
    std::string dbPath = "strings.db";
    bool assumeYes = false;
    ProjectSettings settings;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--to" || arg == "--lang" || arg == "--db" || arg == "--charset" ||
            arg == "--target-charset" || arg == "--properties") {
            if (!hasValue)
                return usageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--to")
                settings.translation = value;
            else if (arg == "--lang")
                settings.language = value;
            else if (arg == "--db")
                dbPath = value;
            else if (arg == "--properties")
                settings.properties = SplitList(value);
            else if (!ParseCharset(value,
                                   arg == "--charset" ? settings.sourceCharset : settings.targetCharset))
                return usageError("unknown character set " + value);
        } else if (arg == "--no-pas") {
            settings.includePas = false;
        } else if (arg == "--yes") {
            assumeYes = true;
        } else if (arg.starts_with("-") || !projectPath.empty()) {
            return usageError("unexpected argument " + arg);
        } else {
            projectPath = arg;
        }
    }
    if (projectPath.empty())
        return usageError("no project file given");
    if (settings.translation.empty())
        return usageError("--to is required");
    if (!ProjectFileExists("translate", projectPath, err))
        return 1;

    StringsTable table(dbPath, OpenMode::ReadOnly);
    const std::vector<std::string> languages = table.Languages();
    if (settings.language.empty() && !languages.empty())
        settings.language = languages.front();
    for (const std::string* field : {&settings.language, &settings.translation}) {
        if (std::find(languages.begin(), languages.end(), *field) == languages.end())
            return usageError("the strings table has no language field " + *field);
    }
    // A bare file name means the working folder, never the root folder an empty window field gives.
    settings.projectPath = std::filesystem::absolute(projectPath).lexically_normal().string();

    CliHost host(err, assumeYes ? nullptr : &std::cin);
    const TranslateSummary summary = RunTranslateCommand(table, settings, host);
    if (!summary.confirmed) {
        err << "Nothing was changed.\n";
        return 1;
    }
    out << "form files translated: " << summary.formFilesTranslated
        << ", unit files translated: " << summary.unitFilesTranslated
        << ", texts replaced: " << summary.textsReplaced << "\n";
    return summary.failed ? 1 : 0;
}

} // namespace wordloom::cli
