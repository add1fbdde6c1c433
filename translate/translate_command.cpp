#include "translate/translate_command.h"

#include "collect/code_page.h"
#include "collect/errors.h"
#include "collect/form_stream.h"
#include "collect/source_file.h"
#include "strings_db/strings_table.h"
#include "translate/file_replace.h"
#include "translate/form_rewriter.h"
#include "translate/translation_lookup.h"
#include "translate/unit_rewriter.h"

namespace wordloom {
namespace {

struct TranslateRun {
    const ProjectSettings& settings;
    CommandHost& host;
    TranslationLookup& lookup;
    const CodePage& source;
    const CodePage& target;
    TranslateSummary& summary;
    std::string directory;
};

std::string FormFailureText(const std::string& path, const FormLinePosition& position, const CodePage& source,
                            const std::string& reason) {
    return path + " Line " + std::to_string(position.lineCount) + ": Parsing error when parsing String: \r\n\"" +
           source.Decode(position.currentLine) + "\"\r\n(" + reason + ")";
}

/// Rewrites one form file: read under its lock, backed up, converted to text when binary, its
/// values translated, converted to the binary form, and replaced only when all of that succeeded.
void TranslateFormFile(TranslateRun& run, const std::string& path, const FormValueLookup& lookup,
                       FormLinePosition& position) {
    SourceFile file(path, FileAccess::ReadWrite);
    const std::string content = file.ReadAll();
    MakeBackupCopy(path, content);
    std::string converted;
    if (!IsTextForm(content))
        BinaryFormToText(content, converted);
    const std::string_view text = converted.empty() ? std::string_view(content) : std::string_view(converted);
    int replaced = 0;
    const std::string rewritten = TranslateFormText(text, run.settings.properties, lookup, position, &replaced);
    run.host.SetClipboardText(run.source.Decode(rewritten));
    const std::string binary = TextToBinaryForm(rewritten);
    ReplaceFileContent(path, binary);
    run.summary.textsReplaced += replaced;
    run.summary.bytesRead += static_cast<long long>(content.size());
    ++run.summary.formFilesTranslated;
}

/// The form pass. A failure ends it with the parsing-error message; returns false then.
bool TranslateFormFiles(TranslateRun& run) {
    const std::vector<std::string> names = ListFiles(run.directory, "*.dfm");
    if (names.empty()) {
        run.host.Message("No .DFM Files found!");
        return true;
    }
    const FormValueLookup lookup = FormLookup(run.lookup, run.source, run.target);
    run.host.BusyCursor(true);
    for (const std::string& name : names) {
        run.host.StatusText("Translating " + name + " ...");
        const std::string path = run.directory + name;
        FormLinePosition position;
        try {
            TranslateFormFile(run, path, lookup, position);
        } catch (const std::exception& error) {
            run.host.BusyCursor(false);
            run.summary.failed = true;
            run.summary.failure = FormFailureText(path, position, run.source, error.what());
            run.host.Message(run.summary.failure);
            return false;
        }
        run.host.ProcessPendingEvents();
    }
    run.host.StatusText("Finished");
    run.host.BusyCursor(false);
    return true;
}

void TranslateUnitFile(TranslateRun& run, const std::string& path) {
    SourceFile file(path, FileAccess::ReadWrite);
    const std::string content = file.ReadAll();
    MakeBackupCopy(path, content);
    // A unit that declares itself UTF-8 stays UTF-8, whatever the character sets say.
    const bool utf8 = HasUtf8Bom(content);
    const CodePage& source = utf8 ? CodePage::Utf8() : run.source;
    const CodePage& target = utf8 ? CodePage::Utf8() : run.target;
    int replaced = 0;
    std::string result;
    try {
        result = TranslateUnitText(content, UnitLiteralLookup(run.lookup, source, target), &replaced);
    } catch (const FileError& error) {
        throw FileError(path + ": " + error.what());
    }
    ReplaceFileContent(path, result);
    run.host.SetClipboardText(source.Decode(result));
    run.summary.textsReplaced += replaced;
    run.summary.bytesRead += static_cast<long long>(content.size());
    ++run.summary.unitFilesTranslated;
}

/// The unit pass. A failure ends it (and the command) with the failure's own text as an error.
bool TranslateUnitFiles(TranslateRun& run) {
    const std::vector<std::string> names = ListFiles(run.directory, "*.pas");
    if (names.empty()) {
        run.host.Message("No Pascal Files found!");
        return true;
    }
    run.host.BusyCursor(true);
    for (const std::string& name : names) {
        run.host.StatusText("Translating " + name + " ...");
        try {
            TranslateUnitFile(run, run.directory + name);
        } catch (const std::exception& error) {
            run.host.BusyCursor(false);
            run.summary.failed = true;
            run.summary.failure = error.what();
            run.host.Error(run.summary.failure);
            return false;
        }
        run.host.ProcessPendingEvents();
    }
    run.host.StatusText("Finished");
    run.host.BusyCursor(false);
    return true;
}

void PrepareTable(StringsTable& table, const ProjectSettings& settings) {
    table.SetFiltered(false);
    table.SetIndexFieldNames(settings.language);
    if (!table.HasField(settings.translation))
        throw DbError("Field '" + settings.translation + "' not found");
}

} // namespace

std::string TranslateQuestion(const ProjectSettings& settings) {
    return "Please make sure the Project " + settings.projectPath +
           " is not loaded in the Delphi IDE and that its current" + " laguage really is " + settings.language +
           ". It is recommended that" + " you run Wordloom only on a copy of the project files.";
}

TranslateSummary RunTranslateCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host) {
    TranslateSummary summary;
    if (!host.Question(TranslateQuestion(settings)))
        return summary;
    summary.confirmed = true;
    host.SetViewAttached(false);
    try {
        PrepareTable(table, settings);
        TranslationLookup lookup(table, settings.translation);
        TranslateRun run{settings,
                         host,
                         lookup,
                         CodePage::ForCharset(settings.sourceCharset),
                         CodePage::ForCharset(settings.targetCharset),
                         summary,
                         ProjectDirectory(settings.projectPath)};
        TranslateFormFiles(run);
        if (settings.includePas)
            TranslateUnitFiles(run);
    } catch (const std::exception& error) {
        // Preparing the table or the code pages failed: nothing was touched.
        host.BusyCursor(false);
        summary.failed = true;
        summary.failure = error.what();
        host.Error(summary.failure);
    }
    host.SetViewAttached(true);
    host.ApplyProjectFilter();
    return summary;
}

} // namespace wordloom
