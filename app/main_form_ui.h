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
    QAction* speedButton4 = nullptr; ///< copy string to all languages
    QAction* speedButton2 = nullptr; ///< options
    QToolButton* aboutButton = nullptr;
    QToolButton* adminButton = nullptr;
    QMenu* aboutPopup = nullptr;
    QAction* readmetxt1 = nullptr;
    QAction* about1 = nullptr;
    QAction* demoofPathwrightComponents1 = nullptr;

    QLineEdit* editProject = nullptr;
    QPushButton* speedButton1 = nullptr;
    QPushButton* speedButton3 = nullptr;
    ProjectComboBox* projectCombo = nullptr;

    QLabel* langLabel = nullptr;
    QComboBox* langCombo = nullptr;
    QListWidget* properties = nullptr;
    QCheckBox* includePas = nullptr;
    QPushButton* collectButton = nullptr;
    QPushButton* translateButton = nullptr;
    QComboBox* transCombo = nullptr;
    QPushButton* deleteEmptyButton = nullptr;

    StringsGrid* dbGrid = nullptr;
    TAdvStatusBar* statusBar = nullptr;
};

} // namespace wordloom
