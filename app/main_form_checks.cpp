// The quality checks in the window: a posted translation is checked at once, the Check button checks
// every translation of the shown project, and a finding can be dismissed for its translation. The
// findings show as a warning mark beside the row, with a tooltip, and narrow the grid on request.
#include "app/failure_report.h"
#include "app/main_form.h"
#include "app/qt_text_measure.h"
#include "app/recheck.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "base/command_host.h"
#include "base/project.h"
#include "dialogs/adv_status_bar.h"
#include "qa/form_files.h"
#include "qa/run_checks.h"
#include "strings_db/strings_table.h"

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QStyle>
#include <QToolBar>
#include <QUndoStack>
#include <algorithm>

namespace wordloom {

namespace {

/// What a run did not check and why, one notice after the other; empty without notices.
QString NoticesText(const std::vector<std::string>& notices) {
    QStringList lines;
    for (const std::string& notice : notices) {
        lines.append(QString::fromStdString(notice));
    }
    return lines.join(QLatin1Char(' '));
}

} // namespace

void TMainForm::WireChecks() {
    m_model->SetWarnings(&m_warnings);
    m_gridFilter.SetWarned([this](int recNo) {
        if (m_table == nullptr || m_warnings.Empty()) {
            return false;
        }
        return m_warnings.Of(m_table->FieldAt(recNo, m_warnings.Lang())) != nullptr;
    });
    m_checkAction = m_ui.toolBar->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning), tr("Check"));
    m_checkAction->setObjectName(QStringLiteral("CheckAction"));
    m_checkAction->setToolTip(tr("Check the translations of the shown project"));
    connect(m_checkAction, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { CheckAllClick(); }); });
    m_dismissAction = new QAction(tr("Dismiss warnings"), this);
    m_dismissAction->setObjectName(QStringLiteral("DismissWarningsAction"));
    m_dismissAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    m_dismissAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_dismissAction);
    connect(m_dismissAction, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { DismissCurrentWarnings(); }); });
    // On the grid's context menu too, where the mark is seen.
    m_ui.dbGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_ui.dbGrid->addAction(m_dismissAction);
    // An undo or redo lands on its record: what it holds now is what is checked.
    connect(m_undoStack, &QUndoStack::indexChanged, this, [this] {
        if (m_table != nullptr && m_model->CurrentRow() >= 0 &&
            m_model->RecordOfRow(m_model->CurrentRow()) >= 0) {
            ReportFailures(this, [this] {
                CheckPosted(RecordValuesAt(*m_table, m_model->RecordOfRow(m_model->CurrentRow())));
            });
        }
    });
    connect(m_model, &StringsGridModel::RecordPosted, this,
            [this](const RecordValues&, const RecordValues& after, bool) {
                ReportFailures(this, [this, &after] { CheckPosted(after); });
            });
}

bool TMainForm::WarningsPairFollowsGrid() {
    const std::string lang = m_model->ColumnField(0);
    const std::string target = m_model->ColumnField(1);
    if (lang.empty() || target.empty() || lang == target) {
        return false;
    }
    if (lang != m_warnings.Lang() || target != m_warnings.Target()) {
        m_warnings.SetPair(lang, target);
        m_checker.reset();
    }
    return true;
}

void TMainForm::CheckPosted(const RecordValues& values) {
    if (m_table == nullptr || !WarningsPairFollowsGrid()) {
        return;
    }
    const std::string& lang = m_warnings.Lang();
    const std::string& target = m_warnings.Target();
    const int source = FieldIndex(*m_table, lang);
    const int translated = FieldIndex(*m_table, target);
    if (source < 0 || translated < 0 ||
        static_cast<std::size_t>(std::max(source, translated)) >= values.values.size()) {
        return;
    }
    const std::string& text = values.values[static_cast<std::size_t>(source)];
    const std::string& translation = values.values[static_cast<std::size_t>(translated)];
    if (text.empty()) {
        return;
    }
    qa::Checker& checker = PostChecker();
    qa::CheckContext context;
    context.sourceLang = lang;
    context.targetLang = target;
    context.source = text;
    context.translation = translation;
    if (std::optional<ReviewEntry> review = m_table->Side().Review(lang, text, target)) {
        context.review = review->state;
    }
    std::vector<qa::Finding> findings = checker.Inspect(context);
    if (!findings.empty()) {
        // What was set aside for this very translation stays set aside.
        m_table->Side().ScanDismissals(lang, target, [&](const QaDismissal& row) {
            if (row.text == text && row.translation == translation) {
                std::erase_if(findings, [&](const qa::Finding& f) { return f.check == row.check; });
            }
        });
    }
    m_warnings.Set(text, std::move(findings));
    m_gridFilter.WarningsChanged();
    m_model->StatesChanged();
    ShowCurrentInPanels(false);
}

qa::Checker& TMainForm::PostChecker() {
    if (m_checker == nullptr) {
        // Made once per pair of languages: the spelling check loads its dictionary.
        m_checker = MakeTranslationChecker(*m_table, m_warnings.Lang(), m_warnings.Target());
    }
    return *m_checker;
}

void TMainForm::RecheckTexts(const std::string& lang, const std::string& target,
                             const std::vector<std::string>& texts) {
    if (m_table == nullptr || texts.empty() || !WarningsPairFollowsGrid() || lang != m_warnings.Lang() ||
        target != m_warnings.Target()) {
        return; // findings of another pair are not shown, and forgotten when the grid turns to it
    }
    ShowRechecked(CheckTexts(*m_table, PostChecker(), lang, target, texts));
}

void TMainForm::ShowRechecked(std::vector<TextFindings> rechecked) {
    for (auto& [text, findings] : rechecked) {
        m_warnings.Set(text, std::move(findings));
    }
    m_gridFilter.WarningsChanged();
    if (m_gridFilter.Criteria().state == RecordStateFilter::WithWarnings) {
        m_model->Refilter();
    }
    m_model->StatesChanged();
    ShowCurrentInPanels(false);
}

qa::RunResult TMainForm::CheckTable(const ProjectSettings& settings, const std::string& lang,
                                    const std::string& target, const std::string& project) {
    qa::RunOptions options;
    options.sourceLang = lang;
    // The checks on forms need the project's folder; without one they say so in a notice.
    std::unique_ptr<qa::FormFiles> forms;
    QtTextMeasure measure;
    if (!settings.projectPath.empty()) {
        forms = qa::FormFiles::ForProject(settings.projectPath, settings.sourceCharset);
        options.forms = forms.get();
        options.measure = &measure;
    }
    return qa::RunChecks(*m_table, target, project, qa::CheckRegistry::Standard().Select({}), options);
}

bool TMainForm::GoOnDespiteCheckErrors(const ProjectSettings& settings, CommandHost& host) {
    if (settings.projectPath.empty() || settings.language.empty() || settings.translation.empty() ||
        settings.language == settings.translation) {
        return true; // the run itself says what is missing
    }
    const qa::RunResult result = CheckTable(settings, settings.language, settings.translation,
                                            ProjectNameFromPath(settings.projectPath));
    std::vector<const qa::Finding*> errors;
    for (const qa::Finding& finding : result.findings) {
        if (finding.severity == qa::Severity::Error) {
            errors.push_back(&finding);
        }
    }
    if (errors.empty()) {
        return true; // what was not checked is for the Check button to tell, not a reason to ask
    }
    constexpr std::size_t kShown = 3;
    QStringList lines;
    for (std::size_t i = 0; i < std::min(errors.size(), kShown); ++i) {
        lines.append(QStringLiteral("\u2022 \"%1\" \u2192 \"%2\": %3")
                         .arg(QString::fromStdString(errors[i]->text),
                              QString::fromStdString(errors[i]->translation),
                              QString::fromStdString(errors[i]->message)));
    }
    if (errors.size() > kShown) {
        lines.append(
            tr("... and %1 more").arg(QLocale().toString(static_cast<qulonglong>(errors.size() - kShown))));
    }
    QString question =
        tr("The checks found %1 errors in the translations into %2 that can break the translated "
           "program:\n\n%3\n\n"
           "The Check button and the \"With warnings\" filter show them all. Translate anyway?")
            .arg(QLocale().toString(static_cast<qulonglong>(errors.size())),
                 QString::fromStdString(settings.translation), lines.join(QLatin1Char('\n')));
    if (!result.notices.empty()) {
        question +=
            QStringLiteral("\n\n") + tr("Not everything was checked: %1").arg(NoticesText(result.notices));
    }
    return host.Question(question.toStdString());
}

void TMainForm::CheckAllClick() {
    if (m_table == nullptr) {
        return;
    }
    m_model->PostPending();
    if (!WarningsPairFollowsGrid()) {
        return;
    }
    RunLongCommand(std::function<void()>([this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct RestoreCursor {
            ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
        } restoreCursor;
        const qa::RunResult result = CheckTable(GatherProjectSettings(), m_warnings.Lang(),
                                                m_warnings.Target(), ShownProject().toStdString());
        m_warnings.SetAll(result.findings);
        m_gridFilter.WarningsChanged();
        if (m_gridFilter.Criteria().state == RecordStateFilter::WithWarnings) {
            m_model->Refilter();
        }
        m_model->StatesChanged();
        ShowCurrentInPanels(false);
        QString summary = tr("Findings: %1 in %2 texts checked")
                              .arg(QLocale().toString(static_cast<qulonglong>(result.findings.size())),
                                   QLocale().toString(static_cast<qulonglong>(result.records)));
        if (!result.notices.empty()) {
            summary += QStringLiteral(". ") + NoticesText(result.notices);
        }
        m_ui.statusBar->SetLastPanelText(summary);
    }));
}

void TMainForm::DismissCurrentWarnings() {
    if (m_table == nullptr || m_table->ReadOnly() || m_model->CurrentRow() < 0) {
        return;
    }
    m_model->PostPending();
    const std::vector<qa::Finding>* findings = m_model->WarningsOfRow(m_model->CurrentRow());
    if (findings == nullptr) {
        return;
    }
    const std::vector<qa::Finding> dismissed = *findings;
    for (const qa::Finding& finding : dismissed) {
        qa::DismissFinding(*m_table, finding);
    }
    m_warnings.Set(dismissed.front().text, {});
    m_gridFilter.WarningsChanged();
    if (m_gridFilter.Criteria().state == RecordStateFilter::WithWarnings) {
        m_model->Refilter();
    }
    m_model->StatesChanged();
    ShowCurrentInPanels(false);
}

} // namespace wordloom
