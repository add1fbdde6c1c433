#include "translate/translate_command.h"

#include "base/errors.h"
#include "base/file_io.h"
#include "base/source_file.h"
#include "base/ui_text.h"
#include "forms/code_page.h"
#include "forms/form_stream.h"
#include "strings_db/strings_table.h"
#include "translate/file_replace.h"
#include "translate/form_rewriter.h"
#include "translate/translation_lookup.h"
#include "translate/unit_rewriter.h"

namespace wordloom {
namespace {

// Files are written in groups: one sync per group instead of one per file (see ReplaceBatch).
constexpr std::size_t kGroupFiles = 64;
constexpr std::size_t kGroupBytes = 16 << 20;

struct TranslateRun {
    const ProjectSettings& settings;
    CommandHost& host;
    TranslationLookup& lookup;
    const CodePage& source;
    const CodePage& target;
    TranslateSummary& summary;
    std::string directory;
};

/// The staged files of one pass and what they add to the summary once they are in place.
class PassWriter {
public:
    PassWriter(TranslateSummary& summary, int TranslateSummary::*files)
        : m_summary(summary), m_files(files) {}

    ReplaceBatch& Batch() { return m_batch; }

    /// A file is staged completely: counted, and the group committed when it is full.
    void FileStaged(int replaced, std::size_t bytes) {
        ++m_pendingFiles;
        m_pendingTexts += replaced;
        m_pendingBytes += static_cast<long long>(bytes);
        if (m_batch.StagedFiles() >= 2 * kGroupFiles || m_batch.StagedBytes() >= kGroupBytes)
            Commit();
    }

    void Commit() {
        m_batch.Commit();
        m_summary.*m_files += m_pendingFiles;
        m_summary.textsReplaced += m_pendingTexts;
        m_summary.bytesRead += m_pendingBytes;
        m_pendingFiles = m_pendingTexts = 0;
        m_pendingBytes = 0;
    }

private:
    ReplaceBatch m_batch;
    TranslateSummary& m_summary;
    int TranslateSummary::*m_files;
    int m_pendingFiles = 0;
    int m_pendingTexts = 0;
    long long m_pendingBytes = 0;
};

std::string FormFailureText(const std::string& path, const FormLinePosition& position, const CodePage& source,
                            const std::string& reason) {
    return FillIn(WL_TR("Translate", "%1 Line %2: Parsing error when parsing String: \r\n\"%3\"\r\n(%4)"),
                  {path, std::to_string(position.lineCount), source.Decode(position.currentLine), reason});
}

/// Rewrites one form file: read under its lock, converted to text when binary, its values
/// translated, converted to the binary form, and staged for replacement with its backup only when
/// all of that succeeded. A file that fails is left as it was, without a backup.
void TranslateFormFile(TranslateRun& run, PassWriter& writer, const std::string& path,
                       const FormValueLookup& lookup, FormLinePosition& position) {
    auto file = std::make_unique<SourceFile>(path, FileAccess::ReadWrite);
    const std::string content = file->ReadAll();
    std::string converted;
    // Long values are cut at character starts, so that the clipboard shows whole characters.
    if (!IsTextForm(content))
        BinaryFormToText(content, converted, DoubleByteLeadTest(run.source.Name()));
    const std::string_view text = converted.empty() ? std::string_view(content) : std::string_view(converted);
    int replaced = 0;
    const std::string rewritten = TranslateFormText(text, run.settings.properties, lookup, position,
                                                    &replaced, DoubleByteLeadTest(run.target.Name()));
    run.host.SetClipboardText(run.source.Decode(rewritten));
    writer.Batch().StageReplaceWithBackup(path, content, TextToBinaryForm(rewritten));
    writer.Batch().Hold(std::move(file));
    writer.FileStaged(replaced, content.size());
}

/// Puts the files done before a failure in place; a failure doing so replaces the reason.
std::string CommitBeforeFailure(PassWriter& writer, const std::string& reason) {
    try {
        writer.Commit();
    } catch (const std::exception& error) {
        return error.what();
    }
    return reason;
}

/// The form pass. A failure ends it with the parsing-error message; returns false then.
bool TranslateFormFiles(TranslateRun& run) {
    const std::vector<std::string> names = ListFiles(run.directory, "*.dfm");
    if (names.empty()) {
        run.host.Message(WL_TR("Translate", "No .DFM Files found!"));
        return true;
    }
    const FormValueLookup lookup = FormLookup(run.lookup, run.source, run.target);
    PassWriter writer(run.summary, &TranslateSummary::formFilesTranslated);
    run.host.BusyCursor(true);
    for (std::size_t i = 0; i <= names.size(); ++i) {
        const std::string path = run.directory + (i < names.size() ? names[i] : names.back());
        FormLinePosition position;
        try {
            if (i == names.size()) {
                writer.Commit();
                break;
            }
            run.host.StatusText(FillIn(WL_TR("Translate", "Translating %1 ..."), {names[i]}));
            TranslateFormFile(run, writer, path, lookup, position);
        } catch (const std::exception& error) {
            const std::string reason = CommitBeforeFailure(writer, error.what());
            run.host.BusyCursor(false);
            run.summary.failed = true;
            run.summary.failure = FormFailureText(path, position, run.source, reason);
            run.host.Message(run.summary.failure);
            return false;
        }
        run.host.ProcessPendingEvents();
    }
    run.host.StatusText(WL_TR("Translate", "Finished"));
    run.host.BusyCursor(false);
    return true;
}

void TranslateUnitFile(TranslateRun& run, PassWriter& writer, const std::string& path) {
    auto file = std::make_unique<SourceFile>(path, FileAccess::ReadWrite);
    const std::string content = file->ReadAll();
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
    writer.Batch().StageReplaceWithBackup(path, content, result);
    writer.Batch().Hold(std::move(file));
    run.host.SetClipboardText(source.Decode(result));
    writer.FileStaged(replaced, content.size());
}

/// The unit pass. A failure ends it (and the command) with the failure's own text as an error.
bool TranslateUnitFiles(TranslateRun& run) {
    const std::vector<std::string> names = ListFiles(run.directory, "*.pas");
    if (names.empty()) {
        run.host.Message(WL_TR("Translate", "No Pascal Files found!"));
        return true;
    }
    PassWriter writer(run.summary, &TranslateSummary::unitFilesTranslated);
    run.host.BusyCursor(true);
    for (std::size_t i = 0; i <= names.size(); ++i) {
        try {
            if (i == names.size()) {
                writer.Commit();
                break;
            }
            run.host.StatusText(FillIn(WL_TR("Translate", "Translating %1 ..."), {names[i]}));
            TranslateUnitFile(run, writer, run.directory + names[i]);
        } catch (const std::exception& error) {
            const std::string reason = CommitBeforeFailure(writer, error.what());
            run.host.BusyCursor(false);
            run.summary.failed = true;
            run.summary.failure = reason;
            run.host.Error(run.summary.failure);
            return false;
        }
        run.host.ProcessPendingEvents();
    }
    run.host.StatusText(WL_TR("Translate", "Finished"));
    run.host.BusyCursor(false);
    return true;
}

void PrepareTable(StringsTable& table, const ProjectSettings& settings) {
    table.SetFiltered(false);
    table.SetIndexFieldNames(settings.language);
    if (!table.HasField(settings.translation))
        throw DbError(FillIn(WL_TR("StringsTable", "Field '%1' not found"), {settings.translation}));
}

} // namespace

std::string TranslateQuestion(const ProjectSettings& settings) {
    return FillIn(WL_TR("Translate",
                        "Please make sure the Project %1 is not loaded in the Delphi IDE and that its "
                        "current laguage really is %2. It is recommended that you run Wordloom "
                        "only on a copy of the project files."),
                  {settings.projectPath, settings.language});
}

TranslateSummary RunTranslateCommand(StringsTable& table, const ProjectSettings& settings,
                                     CommandHost& host) {
    TranslateSummary summary;
    summary.failure = StartRefusal(settings, {settings.language, settings.translation}, table.Languages());
    if (!summary.failure.empty()) {
        summary.failed = true;
        host.Error(summary.failure);
        return summary;
    }
    if (!host.Question(TranslateQuestion(settings)))
        return summary;
    summary.confirmed = true;
    // What a killed run left behind would otherwise stay for good: nobody else knows the names.
    RemoveOrphanedTempFiles(ProjectDirectory(settings.projectPath));
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
