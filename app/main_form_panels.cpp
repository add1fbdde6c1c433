// The workbench window's panels beside the grid: where the current text is used, the memory's
// suggestions for it, Pre-translate, and the statistics window.
#include "app/context_panel.h"
#include "app/failure_report.h"
#include "app/gui_command_host.h"
#include "app/main_form.h"
#include "app/recheck.h"
#include "app/record_warnings.h"
#include "app/relay_host.h"
#include "app/review_marks.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "app/suggestions_panel.h"
#include "app/tool_icons.h"
#include "base/project.h"
#include "dialogs/message_boxes.h"
#include "dialogs/options_dlg.h"
#include "dialogs/statistics_dlg.h"
#include "qa/run_checks.h"
#include "strings_db/strings_table.h"
#include "strings_db/translation_memory.h"
#include "strings_db/translation_stats.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QSettings>
#include <QSplitter>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <map>

namespace wordloom {

namespace {

const QString kEditorKey = QStringLiteral("EditorCommand");
const QString kContextSplitKey = QStringLiteral("Window/ContextSplitter");

QSettings StoredOptions() {
    return QSettings(QStringLiteral("VEL Software"), QStringLiteral("Wordloom"));
}

/// The minimum similarity a suggestion needs to be filled in by Pre-translate.
constexpr int kPreTranslatePercent = 90;

} // namespace

void TMainForm::WirePanels() {
    m_context = new ContextPanel(this);
    m_suggestions = new SuggestionsPanel(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_context);
    addDockWidget(Qt::BottomDockWidgetArea, m_suggestions);
    splitDockWidget(m_context, m_suggestions, Qt::Horizontal);
    addActions(m_suggestions->TakeActions());
    m_context->SetEditorCommand(StoredOptions().value(kEditorKey).toString());
    // The split between places and lines is kept as it is moved; the panels themselves are kept
    // with the window's state.
    m_context->Splitter()->restoreState(
        QByteArray::fromBase64(StoredOptions().value(kContextSplitKey).toString().toLatin1()));
    connect(m_context->Splitter(), &QSplitter::splitterMoved, this, [this] {
        StoredOptions().setValue(kContextSplitKey,
                                 QString::fromLatin1(m_context->Splitter()->saveState().toBase64()));
    });
    m_context->SetSourceLookup([this] {
        const ProjectSettings settings = GatherProjectSettings();
        ContextSource source;
        if (!settings.projectPath.empty()) {
            source.projectName = ProjectNameFromPath(settings.projectPath);
            source.folder = ProjectDirectory(settings.projectPath);
        }
        source.charset = settings.sourceCharset;
        return source;
    });

    m_ui.toolBar->addSeparator();
    m_preTranslateAction =
        m_ui.toolBar->addAction(ToolIcon("tools-wizard", QStringLiteral("\u2248")), tr("Pre-translate"));
    m_preTranslateAction->setObjectName(QStringLiteral("PreTranslateAction"));
    m_preTranslateAction->setToolTip(
        tr("Fill every empty translation with the one of the same or a very similar text, marked suggested"));
    m_statisticsAction =
        m_ui.toolBar->addAction(ToolIcon("office-chart-bar", QStringLiteral("\u03A3")), tr("Statistics"));
    m_statisticsAction->setObjectName(QStringLiteral("StatisticsAction"));
    m_statisticsAction->setToolTip(tr("How far every project's translation into every language has come"));
    connect(m_preTranslateAction, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { PreTranslateClick(); }); });
    connect(m_statisticsAction, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { ShowStatisticsWindow(); }); });

    // Read when the current record changes, once per burst of moves; never while painting.
    m_panelsTimer = new QTimer(this);
    m_panelsTimer->setSingleShot(true);
    m_panelsTimer->setInterval(0);
    connect(m_panelsTimer, &QTimer::timeout, this, [this] {
        ReportFailures(this, [this] { ShowCurrentInPanels(std::exchange(m_panelsReread, false)); });
    });
    connect(m_model, &StringsGridModel::CurrentRowChanged, m_panelsTimer, qOverload<>(&QTimer::start));
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_panelsReread = true; // a command may have collected the places anew
        m_panelsTimer->start();
    });
    // Both languages are set one after the other at start: the memory is built once, for the pair.
    auto* memoryTimer = new QTimer(this);
    memoryTimer->setSingleShot(true);
    memoryTimer->setInterval(0);
    connect(memoryTimer, &QTimer::timeout, this,
            [this] { ReportFailures(this, [this] { RebuildMemory(false); }); });
    connect(m_model, &QAbstractItemModel::headerDataChanged, memoryTimer,
            [memoryTimer](Qt::Orientation orientation) {
                if (orientation == Qt::Horizontal) {
                    memoryTimer->start();
                }
            });
    connect(m_suggestions, &QDockWidget::visibilityChanged, memoryTimer, [memoryTimer](bool visible) {
        if (visible) {
            memoryTimer->start();
        }
    });
    connect(m_suggestions, &SuggestionsPanel::Take, this,
            [this](int place) { ReportFailures(this, [this, place] { TakeSuggestion(place); }); });
    connect(m_model, &StringsGridModel::RecordPosted, this,
            [this](const RecordValues& before, const RecordValues& after, bool inserted) {
                if (!inserted) {
                    LearnRecord(before, true);
                }
                LearnRecord(after, false);
            });
    connect(m_model, &StringsGridModel::RecordDeleted, this,
            [this](const RecordValues& record) { LearnRecord(record, true); });
    // An undo or redo lands on its record: what it holds now is what the memory learns.
    connect(m_undoStack, &QUndoStack::indexChanged, this, [this] {
        if (m_table != nullptr && m_model->CurrentRow() >= 0 &&
            m_model->RecordOfRow(m_model->CurrentRow()) >= 0) {
            LearnRecord(RecordValuesAt(*m_table, m_model->RecordOfRow(m_model->CurrentRow())), false);
        }
    });
}

void TMainForm::WireEditorOption() {
    m_optionsDlg->EditorCommandEdit()->setText(m_context->EditorCommand());
    connect(m_optionsDlg, &TOptionsDlg::EditorCommandChanged, this, [this](const QString& command) {
        m_context->SetEditorCommand(command);
        StoredOptions().setValue(kEditorKey, command);
    });
}

void TMainForm::ShowCurrentInPanels(bool reread) {
    std::string text;
    const std::string& lang = m_model->ColumnField(0);
    const int row = m_model->CurrentRow();
    const int recNo = row >= 0 ? m_model->RecordOfRow(row) : -1;
    if (m_table != nullptr && recNo >= 0 && !lang.empty()) {
        text = m_table->FieldAt(recNo, lang);
    }
    m_context->ShowRecord(m_table.get(), lang, text, reread);
    m_suggestions->ShowText(text);
    const std::vector<qa::Finding>* findings = row >= 0 ? m_model->WarningsOfRow(row) : nullptr;
    m_context->ShowWarnings(findings != nullptr ? WarningsTooltip(*findings) : QString());
}

void TMainForm::LearnRecord(const RecordValues& values, bool removed) {
    if (m_table == nullptr) {
        return;
    }
    const int source = FieldIndex(*m_table, m_model->ColumnField(0));
    const int target = FieldIndex(*m_table, m_model->ColumnField(1));
    if (source < 0 || target < 0 || source == target ||
        static_cast<std::size_t>(std::max(source, target)) >= values.values.size()) {
        return;
    }
    m_suggestions->Learn(values.values[static_cast<std::size_t>(source)],
                         removed ? std::string() : values.values[static_cast<std::size_t>(target)]);
}

void TMainForm::RebuildMemory(bool evenIfBuilt) {
    const std::string pair = m_model->ColumnField(0) + "\n" + m_model->ColumnField(1);
    // Built only for a panel someone looks at: on a large table it takes seconds of a core.
    if (m_table == nullptr || m_suggestions->isHidden() || (!evenIfBuilt && pair == m_memoryPair)) {
        return;
    }
    m_memoryPair = pair;
    m_suggestions->Rebuild(QString::fromStdString(TableAddress()), m_model->ColumnField(0),
                           m_model->ColumnField(1));
}

void TMainForm::TakeSuggestion(int place) {
    if (m_table == nullptr || m_table->ReadOnly() || m_commandRunning || place < 0 ||
        place >= static_cast<int>(m_suggestions->Shown().size())) {
        return;
    }
    const Suggestion suggestion = m_suggestions->Shown()[static_cast<std::size_t>(place)];
    m_model->PostPending();
    const int row = m_model->CurrentRow();
    const int recNo = row >= 0 ? m_model->RecordOfRow(row) : -1;
    const std::string lang = m_model->ColumnField(0);
    const std::string target = m_model->ColumnField(1);
    if (recNo < 0 || lang == target) {
        return;
    }
    const std::string text = m_table->FieldAt(recNo, lang);
    if (text.empty()) {
        return;
    }
    std::optional<ReviewEntry> before = m_table->Side().Review(lang, text, target);
    ReviewEntry after{
        lang, text, target, ReviewState::Suggested, "memory:" + std::to_string(suggestion.percent), 0};
    // The new translation and its state are one step for undo.
    m_undoStack->beginMacro(tr("Take Suggestion"));
    struct EndMacro {
        QUndoStack* stack;
        ~EndMacro() { stack->endMacro(); }
    } endMacro{m_undoStack};
    const QModelIndex cell = m_model->index(row, 1);
    if (!m_model->setData(cell, QString::fromStdString(suggestion.translation))) {
        return;
    }
    m_model->Post();
    m_undoStack->push(new ReviewCommand(m_table.get(), std::move(before), std::move(after), lang, text,
                                        target, StateShownAgain(lang, text), tr("Take Suggestion")));
}

void TMainForm::PreTranslateClick() {
    if (m_table == nullptr || m_commandRunning) {
        return;
    }
    const std::string source = m_model->ColumnField(0);
    const std::string target = m_model->ColumnField(1);
    if (source.empty() || target.empty() || source == target) {
        ShowPlainMessage(this, tr("Choose a translation language other than the project language first."));
        return;
    }
    if (m_table->ReadOnly()) {
        ShowErrorMessage(this, tr("The strings table can only be read: nothing can be filled in."));
        return;
    }
    const QString project = ShownProject();
    const QString scope = project.isEmpty() ? tr("of every project") : tr("of project %1").arg(project);
    // A question first, not an undo step: a pre-translation fills thousands of records at once.
    if (!AskOkCancel(this,
                     tr("Fill every empty %1 translation %2 with the translation of the same or a "
                        "%3% similar text, marked \"suggested\" for a look?\nThis cannot be undone with "
                        "Ctrl+Z.")
                         .arg(QString::fromStdString(target), scope)
                         .arg(kPreTranslatePercent))) {
        return;
    }
    RunLongCommand(std::function<void()>([&] {
        m_model->PostPending();
        GuiCommandHost host(this, m_ui.statusBar, m_model, [this] { ProjectComboChange(); });
        host.BusyCursor(true);
        RelayHost relay(this, host);
        struct Run {
            std::string path;
            std::string project;
            PreTranslateSummary summary;
            std::vector<TextFindings> rechecked;
            std::string failure;
        } run{TableAddress(), project.toStdString(), {}, {}, {}};
        // Its own connection, off the UI thread: on a large table the memory takes seconds to build,
        // and checking what was filled as long again.
        QThread* worker = QThread::create([&run, &relay, source, target] {
            try {
                StringsTable table(run.path);
                run.summary = PreTranslate(table, run.project, source, target, kPreTranslatePercent, &relay);
                if (!run.summary.filled.empty()) {
                    run.rechecked = CheckTexts(table, *MakeTranslationChecker(table, source, target), source,
                                               target, run.summary.filled);
                }
            } catch (const std::exception& error) {
                run.failure = error.what();
            }
        });
        QEventLoop wait;
        connect(worker, &QThread::finished, &wait, &QEventLoop::quit);
        worker->start();
        if (!worker->isFinished()) {
            wait.exec();
        }
        worker->wait();
        delete worker;
        if (!run.failure.empty()) {
            host.Error(run.failure);
            return;
        }
        if (run.summary.cancelled) {
            host.StatusText(tr("Cancelled: nothing was filled in").toStdString());
            return;
        }
        // Another connection wrote: the grid reads the table again and keeps its record.
        m_table->Refresh();
        m_gridFilter.ForgetStates();
        m_model->Reload();
        RebuildMemory(true);
        if (WarningsPairFollowsGrid() && m_warnings.Lang() == source && m_warnings.Target() == target) {
            ShowRechecked(std::move(run.rechecked));
        }
        host.BusyCursor(false);
        const QLocale locale;
        host.Message(tr("Filled %1 translations from the same text and %2 from a similar one.")
                         .arg(locale.toString(run.summary.exact), locale.toString(run.summary.fuzzy))
                         .toStdString());
    }));
}

void TMainForm::ShowStatisticsWindow() {
    if (m_statisticsDlg == nullptr) {
        m_statisticsDlg = new TStatisticsDlg(this);
        connect(m_statisticsDlg, &TStatisticsDlg::RefreshRequested, this,
                [this] { ReportFailures(this, [this] { CountStatistics(); }); });
    }
    CountStatistics();
    m_statisticsDlg->show();
    m_statisticsDlg->raise();
    m_statisticsDlg->activateWindow();
}

void TMainForm::CountStatistics() {
    if (m_table == nullptr || m_statisticsDlg == nullptr || m_commandRunning) {
        return;
    }
    m_model->PostPending();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;
    const std::string source = m_model->ColumnField(0);
    // project -> (language -> statistics), in table order of the languages
    std::map<std::string, std::vector<std::pair<std::string, TranslationStats>>> byProject;
    for (const std::string& language : m_table->Languages()) {
        if (language == source) {
            continue;
        }
        for (auto& [project, stats] : ComputeStatsByProject(*m_table, source, language)) {
            byProject[project].emplace_back(language, stats);
        }
    }
    std::vector<StatisticsBar> bars;
    for (const auto& [project, languages] : byProject) {
        for (const auto& [language, stats] : languages) {
            bars.push_back({QString::fromStdString(project), QString::fromStdString(language),
                            stats.totalTexts, stats.doneTexts, stats.suggestedTexts, stats.totalWords,
                            stats.doneWords, stats.Percent()});
        }
    }
    m_statisticsDlg->SetBars(QString::fromStdString(source), std::move(bars));
}

} // namespace wordloom
