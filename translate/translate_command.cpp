#include "translate/translate_command.h"

#include "base/errors.h"
#include "base/file_io.h"
#include "base/source_file.h"
#include "base/ui_text.h"
#include "forms/code_page.h"
#include "forms/form_stream.h"
#include "forms/form_text.h"
#include "strings_db/run_journal.h"
#include "strings_db/strings_table.h"
#include "translate/content_hash.h"
#include "translate/file_replace.h"
#include "translate/form_rewriter.h"
#include "translate/run_history.h"
#include "translate/run_store.h"
#include "translate/translation_lookup.h"
#include "translate/unit_rewriter.h"

#include <map>
#include <sys/stat.h>
#include <unordered_set>

namespace wordloom {
namespace {

struct TranslateRun {
    const ProjectSettings& settings;
    const TranslateOptions& options;
    CommandHost& host;
    TranslationLookup& lookup;
    const CodePage& source;
    const CodePage& target;
    TranslateSummary& summary;
    std::string directory;
    ReplaceBatch batch;
    RunStore store;
    std::vector<RunFileRecord> records;
    std::unordered_set<std::string> untranslatedSeen;
    long long filesDone;
    long long filesTotal;

    /// True once the host asked to stop: said in the status bar, and the run ends before it
    /// replaces anything.
    bool Cancelled() {
        if (!summary.cancelled && host.CancelRequested()) {
            summary.cancelled = true;
            host.StatusText(WL_TR("Translate", "Cancelled"));
        }
        return summary.cancelled;
    }
    /// Before each file of both passes.
    void Progress(const std::string& name) {
        lookup.Forecast(filesDone, filesTotal);
        host.Progress(filesDone++, filesTotal, name);
    }

    /// Notes a text without a translation (UTF-8, blanks around it ignored).
    void Untranslated(std::string text) {
        const std::size_t first = text.find_first_not_of(" \t\r\n");
        if (first == std::string::npos)
            return;
        text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
        if (untranslatedSeen.insert(text).second)
            summary.untranslatedTexts.push_back(std::move(text));
    }

    /// Stages a file whose new content is worked out. One whose content stays is left alone: no
    /// backup, no replacement.
    void Consider(SourceFile& file, const std::string& name, bool form, const std::string& content,
                  const std::string& rewritten, int replaced, std::string before, std::string after) {
        if (replaced == 0 || rewritten == content) {
            summary.unchanged.push_back(name);
            return;
        }
        ChangedFile changed{name, form, replaced, {}, {}};
        if (options.keepTexts) {
            changed.before = std::move(before);
            changed.after = std::move(after);
        }
        if (!options.dryRun) {
            struct stat st {};
            const FileSnapshot snapshot = TakeSnapshot(file, &st);
            // Staged first: the backup becomes a second name of the file only while it has none.
            batch.StageReplaceWithBackup(file.Path(), content, rewritten);
            batch.ExpectUnchanged(file.Path(), snapshot);
            RunFileRecord record{name, {}, {}, {}};
            if (options.journal != nullptr) {
                record.sha256Before = Sha256Hex(content);
                record.sha256After = Sha256Hex(rewritten);
                record.backup =
                    store.KeepReplaced(file.Path(), snapshot, st.st_nlink == 1, content, record.sha256Before);
            }
            records.push_back(std::move(record));
            summary.bytesRead += static_cast<long long>(content.size());
        }
        summary.changed.push_back(std::move(changed));
    }
};

std::string FormFailureText(const std::string& path, const FormLinePosition& position, const CodePage& source,
                            const std::string& reason) {
    return FillIn(WL_TR("Translate", "%1 Line %2: Parsing error when parsing String: \r\n\"%3\"\r\n(%4)"),
                  {path, std::to_string(position.lineCount), source.Decode(position.currentLine), reason});
}

/// Works out one form file's new content: read under its lock, converted to text when binary, its
/// values translated, and converted to the binary form (or, keeping the format, a text form to the
/// text form in the writer's layout).
void TranslateFormFile(TranslateRun& run, const std::string& name, const FormValueLookup& lookup,
                       FormLinePosition& position) {
    SourceFile file(run.directory + name, FileAccess::ReadWrite);
    const std::string content = file.ReadAll();
    const bool wasText = IsTextForm(content);
    std::string converted;
    // Long values are cut at character starts, so that the clipboard shows whole characters.
    if (!wasText)
        BinaryFormToText(content, converted, DoubleByteLeadTest(run.source.Name()));
    const std::string_view text = wasText ? std::string_view(content) : std::string_view(converted);
    int replaced = 0;
    const LeadByteTest targetLead = DoubleByteLeadTest(run.target.Name());
    const std::string rewritten =
        TranslateFormText(text, run.settings.properties, lookup, position, &replaced, targetLead);
    if (!run.options.dryRun)
        run.host.SetClipboardText(run.source.Decode(rewritten));
    const std::string binary = TextToBinaryForm(rewritten);
    const bool asText = wasText && run.options.formFormat == FormFormat::Keep;
    std::string result = asText ? BinaryFormToText(binary, targetLead) : binary;
    std::string before;
    std::string after;
    if (run.options.keepTexts && replaced > 0) {
        // Shown as the clipboard shows the text: decoded as the sources' code page.
        before = run.source.Decode(text);
        after = run.source.Decode(asText ? result : BinaryFormToText(binary, targetLead));
    }
    run.Consider(file, name, true, content, result, replaced, std::move(before), std::move(after));
}

/// The form pass. A failure ends it with the parsing-error message; returns false then.
bool TranslateFormFiles(TranslateRun& run) {
    const std::vector<std::string> names = ListFiles(run.directory, "*.dfm");
    if (names.empty()) {
        run.host.Message(WL_TR("Translate", "No .DFM Files found!"));
        return true;
    }
    const FormValueLookup inner = FormLookup(run.lookup, run.source, run.target);
    const FormValueLookup lookup = [&run, &inner](const PascalString& value) {
        std::optional<PascalString> found = inner(value);
        if (!found)
            run.Untranslated(ToUtf8(value, run.source));
        return found;
    };
    run.host.BusyCursor(true);
    for (const std::string& name : names) {
        if (run.Cancelled()) {
            run.host.BusyCursor(false);
            return false;
        }
        run.Progress(name);
        FormLinePosition position;
        try {
            run.host.StatusText(FillIn(WL_TR("Translate", "Translating %1 ..."), {name}));
            TranslateFormFile(run, name, lookup, position);
        } catch (const std::exception& error) {
            run.host.BusyCursor(false);
            run.summary.failed = true;
            run.summary.failure = FormFailureText(run.directory + name, position, run.source, error.what());
            run.host.Message(run.summary.failure);
            return false;
        }
        run.host.ProcessPendingEvents();
    }
    run.host.StatusText(WL_TR("Translate", "Finished"));
    run.host.BusyCursor(false);
    return true;
}

void TranslateUnitFile(TranslateRun& run, const std::string& name) {
    const std::string path = run.directory + name;
    SourceFile file(path, FileAccess::ReadWrite);
    const std::string content = file.ReadAll();
    // A unit that declares itself UTF-8 stays UTF-8, whatever the character sets say.
    const bool utf8 = HasUtf8Bom(content);
    const CodePage& source = utf8 ? CodePage::Utf8() : run.source;
    const CodePage& target = utf8 ? CodePage::Utf8() : run.target;
    const LiteralLookup inner = UnitLiteralLookup(run.lookup, source, target);
    const LiteralLookup lookup = [&run, &inner, &source](std::string_view key) {
        std::optional<TranslatedText> found = inner(key);
        if (!found)
            run.Untranslated(source.Decode(key));
        return found;
    };
    int replaced = 0;
    std::string result;
    try {
        result = TranslateUnitText(content, lookup, &replaced);
    } catch (const FileError& error) {
        throw FileError(path + ": " + error.what());
    }
    if (!run.options.dryRun)
        run.host.SetClipboardText(source.Decode(result));
    const bool keep = run.options.keepTexts && replaced > 0;
    run.Consider(file, name, false, content, result, replaced, keep ? source.Decode(content) : std::string(),
                 keep ? source.Decode(result) : std::string());
}

/// The unit pass. A failure ends it (and the command) with the failure's own text as an error.
bool TranslateUnitFiles(TranslateRun& run) {
    const std::vector<std::string> names = ListFiles(run.directory, "*.pas");
    if (names.empty()) {
        run.host.Message(WL_TR("Translate", "No Pascal Files found!"));
        return true;
    }
    run.host.BusyCursor(true);
    for (const std::string& name : names) {
        if (run.Cancelled()) {
            run.host.BusyCursor(false);
            return false;
        }
        run.Progress(name);
        try {
            run.host.StatusText(FillIn(WL_TR("Translate", "Translating %1 ..."), {name}));
            TranslateUnitFile(run, name);
        } catch (const std::exception& error) {
            run.host.BusyCursor(false);
            run.summary.failed = true;
            run.summary.failure = error.what();
            run.host.Error(run.summary.failure);
            return false;
        }
        run.host.ProcessPendingEvents();
    }
    run.host.StatusText(WL_TR("Translate", "Finished"));
    run.host.BusyCursor(false);
    return true;
}

/// Puts every staged file in place with its backup, recorded in the journal; all or nothing.
void ReplaceStagedFiles(TranslateRun& run) {
    if (run.records.empty())
        return;
    RunJournal* journal = run.options.journal;
    if (journal != nullptr) {
        run.store.Sync();
        run.summary.runId =
            journal->BeginRun(run.settings.projectPath, run.settings.translation, run.records);
    }
    std::map<std::string, std::string> kept;
    for (const RunFileRecord& record : run.records)
        kept[run.directory + record.file] = record.backup;
    try {
        run.batch.CommitAllOrRestore([&run, &kept](const std::string& path) {
            // The backup beside the file is in place before the file is replaced.
            const std::string& backup = kept[path];
            ReplaceFileContent(path,
                               backup.empty() ? ReadFileBytes(BackupPath(path)) : run.store.Read(backup));
        });
    } catch (const std::exception& error) {
        if (journal != nullptr) {
            journal->SetState(run.summary.runId, run_state::kRolledBack);
        }
        run.summary.failed = true;
        run.summary.failure =
            FillIn(WL_TR("Translate", "%1\nNo file was changed: the files already replaced were put back."),
                   {error.what()});
        run.host.Error(run.summary.failure);
        return;
    }
    run.store.KeepLinks();
    if (journal != nullptr)
        journal->SetState(run.summary.runId, run_state::kDone);
    for (const ChangedFile& file : run.summary.changed) {
        ++(file.form ? run.summary.formFilesTranslated : run.summary.unitFilesTranslated);
        run.summary.textsReplaced += file.textsReplaced;
    }
}

long long CountFiles(const std::string& directory, bool includePas) {
    return static_cast<long long>(ListFiles(directory, "*.dfm").size() +
                                  (includePas ? ListFiles(directory, "*.pas").size() : 0));
}

void PrepareTable(StringsTable& table, const ProjectSettings& settings) {
    table.SetFiltered(false);
    table.SetIndexFieldNames(settings.language);
    if (!table.HasField(settings.translation))
        throw DbError(FillIn(WL_TR("StringsTable", "Field '%1' not found"), {settings.translation}));
}

} // namespace

const char* FormFormatName(FormFormat format) {
    return format == FormFormat::Keep ? "keep" : "binary";
}

bool ParseFormFormat(const std::string& name, FormFormat& format) {
    for (const FormFormat candidate : {FormFormat::Binary, FormFormat::Keep}) {
        if (name == FormFormatName(candidate)) {
            format = candidate;
            return true;
        }
    }
    return false;
}

std::string TranslateQuestion(const ProjectSettings& settings) {
    return FillIn(WL_TR("Translate",
                        "Please make sure the Project %1 is not loaded in the Delphi IDE and that its "
                        "current laguage really is %2. It is recommended that you run Wordloom "
                        "only on a copy of the project files."),
                  {settings.projectPath, settings.language});
}

TranslateSummary RunTranslateCommand(StringsTable& table, const ProjectSettings& settings, CommandHost& host,
                                     const TranslateOptions& options) {
    TranslateSummary summary;
    summary.failure = StartRefusal(settings, {settings.language, settings.translation}, table.Languages());
    if (!summary.failure.empty()) {
        summary.failed = true;
        host.Error(summary.failure);
        return summary;
    }
    const std::string directory = ProjectDirectory(settings.projectPath);
    if (options.journal != nullptr && !options.dryRun)
        RecoverInterruptedRuns(*options.journal, settings.projectPath, host);
    if (!options.dryRun) {
        if (!host.Question(TranslateQuestion(settings)))
            return summary;
        summary.confirmed = true;
        // What a killed run left behind would otherwise stay for good: nobody else knows the names.
        RemoveOrphanedTempFiles(directory);
    }
    host.SetViewAttached(false);
    try {
        PrepareTable(table, settings);
        TranslationLookup lookup(table, settings.translation);
        TranslateRun run{settings,
                         options,
                         host,
                         lookup,
                         CodePage::ForCharset(settings.sourceCharset),
                         CodePage::ForCharset(settings.targetCharset),
                         summary,
                         directory,
                         {},
                         RunStore(directory),
                         {},
                         {},
                         0,
                         CountFiles(directory, settings.includePas)};
        // The last chance to stop with every file untouched: once replacing starts, it goes to its end.
        if (TranslateFormFiles(run) && (!settings.includePas || TranslateUnitFiles(run)) &&
            !run.Cancelled()) {
            host.Progress(run.filesTotal, run.filesTotal, {});
            if (!options.dryRun)
                ReplaceStagedFiles(run);
        }
    } catch (const std::exception& error) {
        // Preparing the table, the code pages or the journal failed: nothing was touched.
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
