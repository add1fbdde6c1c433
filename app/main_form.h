// The workbench window: the strings table in a grid, the project, the languages and the commands.
// Handlers gather the window's inputs and hand the work to the table, the grid model or the engine.
#pragma once

#include "app/grid_filter.h"
#include "app/main_form_ui.h"
#include "app/recheck.h"
#include "app/record_undo.h"
#include "app/record_warnings.h"
#include "collect/collect_context.h"
#include "strings_db/side_store.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QTimer;
class QUndoStack;

namespace wordloom {

namespace shell {
class TShellForm;
} // namespace shell

namespace qa {
class Checker;
struct RunResult;
} // namespace qa

class CommandHost;
class BackgroundRead;
class ContextPanel;
class GuiCommandHost;
class StringsGridModel;
class SuggestionsPanel;
class TableWatch;
class TStatisticsDlg;
class StringsTable;
class TOptionsDlg;
class WorkbenchSettings;
struct ProjectSettings;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    /// The options dialog created at program start; not owned.
    void SetOptionsDlg(TOptionsDlg* dialog);

    const MainFormUi& Ui() const { return m_ui; }
    QUndoStack* UndoStack() const { return m_undoStack; }
    StringsGridModel* GridModel() const { return m_model; }
    /// The strings table the start-up opens; "strings.db" of the current folder unless set before.
    /// The table to open at start-up; an empty path with the reason when none was found.
    void SetTablePath(const QString& path, const QString& lookupError = {}) {
        m_tablePath = path;
        m_tableLookupError = lookupError;
    }
    const QString& TablePath() const { return m_tablePath; }
    /// Null until the window was shown, and when the table could not be opened.
    StringsTable* StringTable() const { return m_table.get(); }
    const QString& ProjectName() const { return m_projectName; }
    /// True when the start-up could not open the strings table and the program is ending.
    bool StartupFailed() const { return m_startupFailed; }
    /// What the engine commands are given from the window's controls.
    ProjectSettings GatherProjectSettings() const;

    ContextPanel* Context() const { return m_context; }
    SuggestionsPanel* Suggestions() const { return m_suggestions; }
    QAction* PreTranslateAction() const { return m_preTranslateAction; }
    QAction* StatisticsAction() const { return m_statisticsAction; }
    QAction* CheckAction() const { return m_checkAction; }
    QAction* DismissWarningsAction() const { return m_dismissAction; }
    /// Null until first shown.
    TStatisticsDlg* StatisticsWindow() const { return m_statisticsDlg; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Wire();
    void FormShow();
    /// False, with the file and the reason in `failure`, when the table cannot be used.
    bool OpenStringTable(QString& failure);
    void ShowTablePath();
    void RestoreSettings();
    void FormClose();
    /// Size, panels, column widths, order and filters as the window was last left
    /// (main_form_state.cpp).
    void RestoreWindowState();
    void SaveWindowState();

    void LangComboChange();
    void TransComboChange();
    void DBGridTitleClick(int column);
    void DBGridCellClick(const QModelIndex& index);
    void DBGridKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void ProjectComboDropDown();
    void ProjectComboChange();
    bool StringTableFilterRecord(const StringsTable& table) const;
    void StringTableBeforePost(StringsTable& table);
    void StringTableAfterPost(StringsTable& table);

    // The find bar, the record filter and the count of records shown (main_form_find.cpp).
    void WireFind();
    void ApplyRecordFilter();
    /// Moves to the next (or previous) record holding the find text, wrapping around.
    void StepToMatch(bool forward);
    void ShowRecordCount();
    void ShowFindColumns();

    // Statistics of the shown project in the status bar (main_form_stats.cpp).
    void WireStatistics();
    void ShowStatistics();
    /// The table as another connection opens it: a server address, or the file's absolute path.
    std::string TableAddress() const;
    /// The project the grid is narrowed to; empty for every project.
    QString ShownProject() const;

    // One undo stack for the session's record changes (main_form_undo.cpp).
    void WireUndo();
    UndoTarget ForUndo() { return {m_table.get(), m_model}; }

    // Where used, memory suggestions, Pre-translate and the statistics window
    // (main_form_panels.cpp).
    void WirePanels();
    void WireEditorOption();
    void ShowCurrentInPanels(bool reread);
    void LearnRecord(const RecordValues& values, bool removed);
    void RebuildMemory(bool evenIfBuilt);
    void TakeSuggestion(int place);
    void PreTranslateClick();
    void ShowStatisticsWindow();
    void CountStatistics();
    /// What a review state change runs after each step: the grid shows the record's state again.
    std::function<void()> StateShownAgain(const std::string& lang, const std::string& text);

    // Quality checks: on post, on demand, and dismissing (main_form_checks.cpp).
    void WireChecks();
    /// False when the grid shows no pair of languages to check; forgets findings of another pair.
    bool WarningsPairFollowsGrid();
    void CheckPosted(const RecordValues& values);
    /// The checker of posted translations for the pair the warnings follow, made on first use.
    qa::Checker& PostChecker();
    /// After a command changed many translations at once: the marks of `texts` (lang → target)
    /// are those of their translations now. Nothing when the grid shows another pair.
    void RecheckTexts(const std::string& lang, const std::string& target,
                      const std::vector<std::string>& texts);
    /// Shows the findings of texts checked again (a worker may have checked them).
    void ShowRechecked(std::vector<TextFindings> rechecked);
    void CheckAllClick();
    /// Every check on the translations of `project` (all when empty) into `target`.
    qa::RunResult CheckTable(const ProjectSettings& settings, const std::string& lang,
                             const std::string& target, const std::string& project);
    /// Before Translate: false when the checks found errors and the user chose not to go on.
    bool GoOnDespiteCheckErrors(const ProjectSettings& settings, CommandHost& host);
    void DismissCurrentWarnings();

    void CopyToAllLanguages();
    void DeleteEmptyButtonClick();
    void DeleteUnusedClick(); ///< main_form_unused.cpp

    // Review marks by shortcut (main_form_review.cpp).
    void WireReview();
    void MarkCurrent(ReviewState state);
    void ShowBookkeepingColumns();
    // Others' changes, conflicts and a lost server on a shared table (main_form_live.cpp).
    void WireLive();
    /// Reads the table again for others' changes; false while that must wait.
    bool ReloadForOthers();
    void CollectButtonClick();
    void TranslateButtonClick();
    void UndoTranslationClick();
    // Export and import of translation files (main_form_exchange.cpp).
    void ExportClick();
    void ImportClick();
    /// Every project named in the table, each once.
    QStringList TableProjects();
    void ChooseProjectFile();
    void EditProjectChange(const QString& text);
    void OpenProjectInIde();
    void ShowOptions();
    void ShowAboutMenu();
    void ShowReadme();
    void ShowAboutBox();
    void ShowComponentDemo();
    /// Opens a document; a failure to do so is shown with its reason.
    void OpenOrSayWhy(const QString& target, const QString& workingDir = QString());

    /// Runs a long command with its buttons disabled, so it cannot be started again meanwhile.
    template <typename Command>
    void RunLongCommand(Command&& command);
    void SetCommandsEnabled(bool enabled);

    MainFormUi m_ui;
    StringsGridModel* m_model;
    std::unique_ptr<StringsTable> m_table;
    GridFilter m_gridFilter;
    QUndoStack* m_undoStack;
    std::unique_ptr<WorkbenchSettings> m_settings;
    TOptionsDlg* m_optionsDlg = nullptr;
    shell::TShellForm* m_shellForm = nullptr; ///< the demo window, made on first use, owned by this window
    CollectState m_collectState;              ///< the line count the collectors report failures by
    QString m_projectName;
    bool m_keepTextForms = false; ///< translated text forms stay text (setting FormFormat)
    QString m_tablePath = QStringLiteral("strings.db");
    QString m_tableLookupError;
    QLabel* m_tableLabel = nullptr; ///< the open table's path, at the right of the status bar
    QLabel* m_statsLabel = nullptr; ///< translated of total texts and words, in the status bar
    QTimer* m_statsTimer = nullptr;
    /// What the shown statistics were counted over: a re-order or a find leaves them standing.
    struct StatsBasis {
        std::string project, source, target;
        std::optional<std::pair<long long, long long>> stamp;
        bool operator==(const StatsBasis&) const = default;
    };
    std::optional<StatsBasis> m_statsBasis;
    std::unique_ptr<BackgroundRead> m_statsRead;
    ContextPanel* m_context = nullptr;
    SuggestionsPanel* m_suggestions = nullptr;
    TStatisticsDlg* m_statisticsDlg = nullptr;
    QAction* m_preTranslateAction = nullptr;
    QAction* m_statisticsAction = nullptr;
    RecordWarnings m_warnings;
    std::unique_ptr<qa::Checker> m_checker; ///< for posted translations, made on first use
    QAction* m_checkAction = nullptr;
    QAction* m_dismissAction = nullptr;
    QTimer* m_panelsTimer = nullptr;
    bool m_panelsReread = false;
    std::string m_memoryPair; ///< "source\ntarget" the suggestions' memory was last built for
    int m_savedRecNo = 0;
    bool m_shown = false;
    bool m_projectsListed = false; ///< the project list was filled from the table
    bool m_startupFailed = false;
    bool m_commandRunning = false;
    TableWatch* m_watch = nullptr; ///< on a shared table; deleted before the table
};

} // namespace wordloom
