// The workbench window's controls, built and placed in one go; the window wires the handlers.
#pragma once

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;

namespace wordloom {

class FindBar;
class FullTextPanel;
class ProjectComboBox;
class StringsGrid;
class StringsGridModel;
class TAdvStatusBar;
class TDBNavigator;

struct MainFormUi {
    /// Creates every control as a child of `window`.
    void Build(QMainWindow* window, StringsGridModel* model);

    QToolBar* toolBar = nullptr;
    TDBNavigator* navigator = nullptr;
    QAction* copyToAllAction = nullptr;
    QAction* optionsAction = nullptr;
    QAction* undoRunAction = nullptr;      ///< Undo last translation
    QToolButton* exchangeButton = nullptr; ///< its menu: export and import of translation files
    QMenu* exchangeMenu = nullptr;
    QAction* exportAction = nullptr;
    QAction* importAction = nullptr;
    QToolButton* aboutButton = nullptr;
    QToolButton* adminButton = nullptr;
    QMenu* aboutPopup = nullptr;
    QAction* readmeAction = nullptr;
    QAction* aboutAction = nullptr;
    QAction* componentDemoAction = nullptr;

    QLineEdit* editProject = nullptr;
    QPushButton* chooseProjectButton = nullptr;
    QPushButton* openInIdeButton = nullptr;
    ProjectComboBox* projectCombo = nullptr;
    QComboBox* recordFilter = nullptr; ///< which records by the state of their translation
    QLabel* recordCount = nullptr;     ///< how many records the grid shows
    QLabel* unusedNote = nullptr;      ///< why the Unused filter cannot tell, while it cannot
    FindBar* findBar = nullptr;
    QAction* findAction = nullptr;
    QAction* findNextAction = nullptr;
    QAction* findPreviousAction = nullptr;
    FullTextPanel* fullText = nullptr;          ///< the current cell's whole text, hidden until asked for
    QAction* fullTextAction = nullptr;          ///< shows or hides it (Ctrl+E)
    QAction* undoAction = nullptr;              ///< Ctrl+Z
    QAction* redoAction = nullptr;              ///< Ctrl+Shift+Z
    QAction* markReviewedAction = nullptr;      ///< Ctrl+R: the current translation is reviewed (again: not)
    QAction* markDontTranslateAction = nullptr; ///< Ctrl+Shift+D: the current text stays as it is

    QLabel* langLabel = nullptr;
    QComboBox* langCombo = nullptr;
    QListWidget* properties = nullptr;
    QCheckBox* includePas = nullptr;
    QPushButton* collectButton = nullptr;
    QPushButton* translateButton = nullptr;
    QComboBox* transCombo = nullptr;
    QPushButton* deleteEmptyButton = nullptr;
    QPushButton* deleteUnusedButton = nullptr; ///< the texts the shown project no longer uses

    StringsGrid* dbGrid = nullptr;
    TAdvStatusBar* statusBar = nullptr;
};

} // namespace wordloom
