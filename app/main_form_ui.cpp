#include "app/main_form_ui.h"

#include "app/db_navigator.h"
#include "app/find_bar.h"
#include "app/full_text_panel.h"
#include "app/grid_filter.h"
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid.h"
#include "app/tool_icons.h"
#include "base/project.h"
#include "dialogs/adv_status_bar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace wordloom {

namespace {

template <typename Control>
Control* Named(Control* control, const char* name, const QString& hint = {}) {
    control->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) {
        control->setToolTip(hint);
    }
    return control;
}

QAction* ToolAction(QToolBar* bar, const QIcon& icon, const char* name, const QString& hint) {
    QAction* action = bar->addAction(icon, hint);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    return action;
}

} // namespace

void MainFormUi::Build(QMainWindow* window, StringsGridModel* model) {
    toolBar = Named(new QToolBar(window), "ToolBar");
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    window->addToolBar(toolBar);
    navigator = new TDBNavigator(model, toolBar, window);
    toolBar->addSeparator();
    copyToAllAction = ToolAction(toolBar, ToolIcon("edit-copy", QStringLiteral("\u21C9")), "SpeedButton4",
                                 TMainForm::tr("Copy string to all languages"));
    toolBar->addSeparator();
    undoRunAction = ToolAction(toolBar, ToolIcon("edit-undo", QStringLiteral("\u21B6")), "UndoRunAction",
                               TMainForm::tr("Undo last translation"));
    exchangeButton = Named(new QToolButton(toolBar), "ExchangeButton",
                           TMainForm::tr("Exchange translations with translators"));
    exchangeButton->setIcon(ToolIcon("document-send", QStringLiteral("\u21C4")));
    exchangeButton->setAutoRaise(true);
    exchangeButton->setPopupMode(QToolButton::InstantPopup);
    exchangeMenu = Named(new QMenu(exchangeButton), "ExchangeMenu");
    exportAction = Named(exchangeMenu->addAction(TMainForm::tr("&Export...")), "ExportAction");
    importAction = Named(exchangeMenu->addAction(TMainForm::tr("&Import...")), "ImportAction");
    exchangeButton->setMenu(exchangeMenu);
    toolBar->addWidget(exchangeButton);
    toolBar->addSeparator();
    optionsAction = ToolAction(toolBar, ToolIcon("preferences-system", QStringLiteral("\u2699")),
                               "SpeedButton2", TMainForm::tr("Options"));
    aboutButton = Named(new QToolButton(toolBar), "AboutButton", TMainForm::tr("About ..."));
    aboutButton->setIcon(ToolIcon("help-about", QStyle::SP_MessageBoxInformation));
    aboutButton->setAutoRaise(true);
    toolBar->addWidget(aboutButton);
    toolBar->addSeparator();
    adminButton =
        Named(new QToolButton(toolBar), "AdminButton", TMainForm::tr("Copy string to all languages"));
    adminButton->setAutoRaise(true);
    adminButton->setFixedSize(23, 22);
    toolBar->addWidget(adminButton);

    aboutPopup = Named(new QMenu(window), "AboutPopup");
    readmeAction = Named(aboutPopup->addAction(TMainForm::tr("&Readme.txt")), "Readmetxt1");
    aboutAction = Named(aboutPopup->addAction(TMainForm::tr("&About...")), "About1");
    aboutPopup->addSeparator();
    componentDemoAction = Named(aboutPopup->addAction(TMainForm::tr("Demo of Pathwright Components")),
                                "DemoofPathwrightComponents1");

    auto* central = new QWidget(window);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* topPanel = new QWidget(central);
    auto* top = new QHBoxLayout(topPanel);
    top->setContentsMargins(6, 4, 6, 4);
    top->addWidget(new QLabel(TMainForm::tr("Project:"), topPanel));
    editProject = Named(new QLineEdit(topPanel), "EditProject", TMainForm::tr("PAth of the project"));
    top->addWidget(editProject, 1);
    chooseProjectButton = Named(new QPushButton(QStringLiteral("..."), topPanel), "SpeedButton1",
                                TMainForm::tr("Select Project"));
    chooseProjectButton->setFixedWidth(26);
    top->addWidget(chooseProjectButton);
    openInIdeButton =
        Named(new QPushButton(topPanel), "SpeedButton3", TMainForm::tr("Start Delphi with this project"));
    openInIdeButton->setIcon(ToolIcon("system-run", QStyle::SP_MediaPlay));
    openInIdeButton->setFixedWidth(26);
    top->addWidget(openInIdeButton);
    projectCombo = Named(new ProjectComboBox(topPanel), "ProjectCombo",
                         TMainForm::tr("Show only Strings from this project"));
    projectCombo->addItem(TMainForm::tr(" (All Projects)"));
    projectCombo->setMinimumWidth(150);
    top->addWidget(projectCombo);
    recordFilter = Named(new QComboBox(topPanel), "RecordFilter",
                         TMainForm::tr("Show only the records in this state of translation"));
    recordFilter->addItem(TMainForm::tr("All records"), static_cast<int>(RecordStateFilter::All));
    recordFilter->addItem(TMainForm::tr("Untranslated"), static_cast<int>(RecordStateFilter::Untranslated));
    recordFilter->addItem(TMainForm::tr("Translated"), static_cast<int>(RecordStateFilter::Translated));
    recordFilter->addItem(TMainForm::tr("Suggested (needs a look)"),
                          static_cast<int>(RecordStateFilter::Suggested));
    recordFilter->addItem(TMainForm::tr("Don't translate"),
                          static_cast<int>(RecordStateFilter::DontTranslate));
    recordFilter->addItem(TMainForm::tr("Unused"), static_cast<int>(RecordStateFilter::Unused));
    recordFilter->addItem(TMainForm::tr("With warnings"), static_cast<int>(RecordStateFilter::WithWarnings));
    top->addWidget(recordFilter);
    recordCount = Named(new QLabel(topPanel), "RecordCount");
    recordCount->setMinimumWidth(
        recordCount->fontMetrics().horizontalAdvance(QStringLiteral("0,000,000 of 0,000,000")));
    recordCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(recordCount);
    outer->addWidget(topPanel);
    unusedNote = Named(new QLabel(central), "UnusedNote");
    unusedNote->setWordWrap(true);
    unusedNote->setContentsMargins(6, 0, 6, 4);
    unusedNote->hide();
    outer->addWidget(unusedNote);

    findBar = new FindBar(central);
    findBar->hide();
    outer->addWidget(findBar);
    findAction = Named(new QAction(TMainForm::tr("Find"), window), "FindAction");
    findAction->setShortcut(QKeySequence::Find);
    findNextAction = Named(new QAction(TMainForm::tr("Find next"), window), "FindNextAction");
    findNextAction->setShortcut(QKeySequence(Qt::Key_F3));
    findPreviousAction = Named(new QAction(TMainForm::tr("Find previous"), window), "FindPreviousAction");
    findPreviousAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    undoAction = Named(new QAction(TMainForm::tr("Undo"), window), "UndoAction");
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = Named(new QAction(TMainForm::tr("Redo"), window), "RedoAction");
    redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    markReviewedAction = Named(new QAction(TMainForm::tr("Mark reviewed"), window), "MarkReviewedAction");
    markReviewedAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    markDontTranslateAction =
        Named(new QAction(TMainForm::tr("Mark don't translate"), window), "MarkDontTranslateAction");
    markDontTranslateAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    for (QAction* action : {findAction, findNextAction, findPreviousAction, undoAction, redoAction,
                            markReviewedAction, markDontTranslateAction}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }

    auto* body = new QHBoxLayout();
    body->setSpacing(0);
    dbGrid = Named(new StringsGrid(model, central), "DBGrid");
    body->addWidget(dbGrid, 1);

    auto* rightPanel = new QWidget(central);
    rightPanel->setFixedWidth(128);
    QFont small = rightPanel->font(); // the panel is narrow: its texts are set small to fit
    small.setPixelSize(11);
    rightPanel->setFont(small);
    auto* right = new QVBoxLayout(rightPanel);
    right->setContentsMargins(3, 3, 3, 3);
    right->setSpacing(4);
    langLabel = new QLabel(TMainForm::tr("Current Project &Language"), rightPanel);
    langLabel->setWordWrap(true);
    right->addWidget(langLabel);
    langCombo =
        Named(new QComboBox(rightPanel), "LangCombo", TMainForm::tr("Current language of the project"));
    langLabel->setBuddy(langCombo);
    right->addWidget(langCombo);
    right->addWidget(new QLabel(TMainForm::tr("Search for properties:"), rightPanel));
    properties = Named(new QListWidget(rightPanel), "Properties",
                       TMainForm::tr("Search for Strings associated with these properties in .DFM files"));
    for (const std::string& name : DefaultProperties()) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), properties);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    right->addWidget(properties, 1);
    includePas = Named(new QCheckBox(TMainForm::tr("Inlcude .PAS files"), rightPanel), "IncludePas",
                       TMainForm::tr("Allows you to turn off translation of .PAS files"));
    right->addWidget(includePas);
    collectButton = Named(new QPushButton(TMainForm::tr("&Collect Strings"), rightPanel), "CollectButton",
                          TMainForm::tr("Collect all Strings from .DFM and .PAS in the project directory"));
    right->addWidget(collectButton);
    translateButton = Named(new QPushButton(TMainForm::tr("&Translate to:"), rightPanel), "TranslateButton",
                            TMainForm::tr("Translate all .DFM and .PAS files to the languauge below"));
    right->addWidget(translateButton);
    transCombo = Named(new QComboBox(rightPanel), "TransCombo",
                       TMainForm::tr("Language in which the project will be translated"));
    right->addWidget(transCombo);
    deleteEmptyButton =
        Named(new QPushButton(TMainForm::tr("&Delete Empty Strings"), rightPanel), "DeleteEmptyButton",
              TMainForm::tr("Delete all records, which are empty in the above language"));
    right->addWidget(deleteEmptyButton);
    deleteUnusedButton =
        Named(new QPushButton(TMainForm::tr("Delete &Unused"), rightPanel), "DeleteUnusedButton",
              TMainForm::tr("Delete the texts the shown project no longer uses"));
    right->addWidget(deleteUnusedButton);
    body->addWidget(rightPanel);
    outer->addLayout(body, 1);
    window->setCentralWidget(central);

    fullText = new FullTextPanel(dbGrid, window);
    window->addDockWidget(Qt::RightDockWidgetArea, fullText);
    fullText->hide();
    fullTextAction = fullText->toggleViewAction();
    fullTextAction->setObjectName(QStringLiteral("FullTextAction"));
    fullTextAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    fullTextAction->setShortcutContext(Qt::WindowShortcut);
    window->addAction(fullTextAction);

    statusBar = Named(new TAdvStatusBar(window), "StatusBar");
    statusBar->AddPanel(100);
    statusBar->AddPanel(50);
    window->setStatusBar(statusBar);
}

} // namespace wordloom
