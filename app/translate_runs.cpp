#include "app/translate_runs.h"

#include "base/command_host.h"
#include "dialogs/translate_preview_dlg.h"
#include "strings_db/postgres_backend.h"
#include "strings_db/run_journal.h"
#include "translate/run_history.h"
#include "translate/unified_diff.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace wordloom {
namespace {

/// Passes everything through but messages and errors, which are held: a preview that finds
/// nothing wrong must not show what the run itself shows again.
class HoldingHost : public CommandHost {
public:
    explicit HoldingHost(CommandHost& host) : m_host(host) {}

    void Message(const std::string& text) override { m_held.push_back({false, text}); }
    bool Question(const std::string& text) override { return m_host.Question(text); }
    void Error(const std::string& text) override { m_held.push_back({true, text}); }
    FileFailureAnswer AskSkipFile(const std::string& text) override { return m_host.AskSkipFile(text); }
    void Report(const std::string& text, const std::vector<std::string>& items) override {
        m_host.Report(text, items);
    }
    void StatusText(const std::string& text) override { m_host.StatusText(text); }
    void BusyCursor(bool on) override { m_host.BusyCursor(on); }
    void ProcessPendingEvents() override { m_host.ProcessPendingEvents(); }
    void SetClipboardText(const std::string& text) override { m_host.SetClipboardText(text); }
    void SetViewAttached(bool attached) override { m_host.SetViewAttached(attached); }
    void ApplyProjectFilter() override { m_host.ApplyProjectFilter(); }
    bool CancelRequested() override { return m_host.CancelRequested(); }
    void Progress(long long done, long long total, const std::string& current) override {
        m_host.Progress(done, total, current);
    }

    void Release() {
        for (const auto& [error, text] : m_held)
            error ? m_host.Error(text) : m_host.Message(text);
        m_held.clear();
    }

private:
    CommandHost& m_host;
    std::vector<std::pair<bool, std::string>> m_held;
};

} // namespace

void TranslateWithPreview(QWidget* window, StringsTable& table, const ProjectSettings& settings,
                          CommandHost& host, const QString& tablePath, FormFormat formFormat) {
    // What a killed run left must be put right before the preview reads the files.
    const std::unique_ptr<RunJournal> journal = OpenSqliteRunJournal(tablePath.toStdString());
    RecoverInterruptedRuns(*journal, settings.projectPath, host);
    TranslateOptions preview;
    preview.dryRun = true;
    preview.keepTexts = true;
    preview.formFormat = formFormat;
    HoldingHost holding(host);
    const TranslateSummary plan = RunTranslateCommand(table, settings, holding, preview);
    if (plan.failed) {
        holding.Release();
        return;
    }
    if (plan.cancelled)
        return; // the status bar says so; there is nothing to preview

    std::vector<PreviewFile> changed;
    for (const ChangedFile& file : plan.changed) {
        changed.push_back(
            {QString::fromStdString(file.name), file.textsReplaced,
             // CR LF lines would show as blank lines in between.
             QString::fromStdString(UnifiedDiff(file.before, file.after, "a/" + file.name, "b/" + file.name))
                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))});
    }
    QStringList unchanged;
    for (const std::string& name : plan.unchanged)
        unchanged.append(QString::fromStdString(name));
    QStringList untranslated;
    for (const std::string& text : plan.untranslatedTexts)
        untranslated.append(QString::fromStdString(text));
    TranslatePreviewDlg dialog(std::move(changed), unchanged, untranslated, window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TranslateOptions options;
    options.formFormat = formFormat;
    options.journal = journal.get();
    RunTranslateCommand(table, settings, host, options);
}

void RecoverInterruptedRunsAtStart(const ProjectSettings& settings, CommandHost& host,
                                   const QString& tablePath) {
    // A team table's rights are the server's to judge; a file is left alone when it cannot be written.
    if (settings.projectPath.empty() ||
        (!IsPostgresAddress(tablePath.toStdString()) && !QFileInfo(tablePath).isWritable()))
        return;
    const std::unique_ptr<RunJournal> journal = OpenSqliteRunJournal(tablePath.toStdString());
    RecoverInterruptedRuns(*journal, settings.projectPath, host);
}

void UndoLastTranslation(const ProjectSettings& settings, CommandHost& host, const QString& tablePath) {
    const std::unique_ptr<RunJournal> journal = OpenSqliteRunJournal(tablePath.toStdString());
    RecoverInterruptedRuns(*journal, settings.projectPath, host);
    const std::optional<RunRecord> last = LastUndoableRun(*journal, settings.projectPath);
    if (!last) {
        host.Message(QCoreApplication::translate("TranslateRuns",
                                                 "There is no translation run of this project to undo.")
                         .toStdString());
        return;
    }
    const QString question =
        QCoreApplication::translate(
            "TranslateRuns", "Undo the translation into %1 of %2 (%3 files)? Every file is put back as it "
                             "was before that run.")
            .arg(QString::fromStdString(last->target), QString::fromStdString(last->startedAt))
            .arg(journal->Files(last->id).size());
    if (!host.Question(question.toStdString()))
        return;
    UndoResult result = UndoRun(*journal, settings.projectPath, last->id, false);
    int restored = result.restored;
    if (!result.changedSince.empty()) {
        host.Report(QCoreApplication::translate("TranslateRuns",
                                                "These files were changed after the run and were left alone:")
                        .toStdString(),
                    result.changedSince);
        if (host.Question(QCoreApplication::translate(
                              "TranslateRuns", "Put the changed files back as well? Their changes are lost.")
                              .toStdString()))
            restored += UndoRun(*journal, settings.projectPath, last->id, true).restored;
    }
    host.Message(
        QCoreApplication::translate("TranslateRuns", "%1 files were put back.").arg(restored).toStdString());
}

} // namespace wordloom
