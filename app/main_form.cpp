#include "app/main_form.h"
#include "qa/run_checks.h"

#include "app/background_read.h"
#include "app/db_navigator.h"
#include "app/failure_report.h"
#include "app/gui_command_host.h"
#include "app/project_combo.h"
#include "app/project_dialog.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "app/table_location.h"
#include "app/table_watch.h"
#include "app/translate_runs.h"
#include "app/workbench_settings.h"
#include "base/file_io.h"
#include "base/project.h"
#include "collect/collect_command.h"
#include "dialogs/about_box.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/charset_table.h"
#include "dialogs/message_boxes.h"
#include "dialogs/options_dlg.h"
#include "dialogs/shell_open.h"
#include "shell/demo/shell_form.h"
#include "strings_db/postgres_backend.h"
#include "strings_db/strings_table.h"
#include "translate/translate_command.h"
#include "wordloom_build_info.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QUndoStack>
#include <filesystem>

namespace wordloom {

Q_LOGGING_CATEGORY(TableLog, "wordloom.table", QtWarningMsg)

namespace {

constexpr int DeleteKey = Qt::Key_Delete;

/// The grid shows nothing and the hourglass is on while a handler walks the table.
class TableWalk {
public:
    explicit TableWalk(StringsGridModel* model) : m_model(model) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_model->SetAttached(false);
    }
    ~TableWalk() {
        m_model->SetAttached(true);
        QApplication::restoreOverrideCursor();
    }
    TableWalk(const TableWalk&) = delete;
    TableWalk& operator=(const TableWalk&) = delete;

private:
    StringsGridModel* m_model;
};

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), m_model(new StringsGridModel(this)), m_undoStack(new QUndoStack(this)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(tr("Wordloom for Delphi"));
    m_ui.Build(this, m_model);
    resize(720, 520);
    m_model->SetFilter(&m_gridFilter);
    Wire();
    WireFind();
    WireUndo();
    WireStatistics();
    WireReview();
    WirePanels();
    WireChecks();
}

TMainForm::~TMainForm() {
    delete m_watch; // it calls into the table
    m_model->SetTable(nullptr);
    m_model->SetFilter(nullptr);
    // The children die after this body, when this is no longer a TMainForm: the undo stack's last
    // clear and the model must not call back into it.
    m_undoStack->disconnect(this);
    m_model->disconnect(this);
}

void TMainForm::SetOptionsDlg(TOptionsDlg* dialog) {
    m_optionsDlg = dialog;
    if (m_optionsDlg != nullptr) {
        m_optionsDlg->SetColumns(m_model);
        m_optionsDlg->SetKeepTextForms(m_keepTextForms);
        connect(m_optionsDlg, &TOptionsDlg::KeepTextFormsChanged, this,
                [this](bool keep) { m_keepTextForms = keep; });
        WireEditorOption();
    }
}

void TMainForm::Wire() {
    // Every handler reports its own failures, so nothing escapes into the event loop.
    const auto handler = [this](auto method) {
        return [this, method](auto&&...) { ReportFailures(this, [&] { (this->*method)(); }); };
    };
    connect(m_ui.langCombo, &QComboBox::activated, this, handler(&TMainForm::LangComboChange));
    connect(m_ui.transCombo, &QComboBox::activated, this, handler(&TMainForm::TransComboChange));
    connect(m_ui.projectCombo, &ProjectComboBox::DropDown, this, handler(&TMainForm::ProjectComboDropDown));
    connect(m_ui.projectCombo, &QComboBox::activated, this, handler(&TMainForm::ProjectComboChange));
    connect(m_ui.dbGrid, &StringsGrid::TitleClicked, this,
            [this](int column) { ReportFailures(this, [&] { DBGridTitleClick(column); }); });
    connect(m_ui.dbGrid, &StringsGrid::CellClicked, this, &TMainForm::DBGridCellClick);
    m_ui.dbGrid->SetSourceEditGuard([this] {
        return AskOkCancel(this,
                           tr("The texts of the project language (%1) are the keys every project in the "
                              "table shares: a change here changes what all of them find. Edit them anyway?")
                               .arg(m_ui.langCombo->currentText()));
    });
    connect(m_ui.dbGrid, &StringsGrid::KeyUp, this, [this](int key, Qt::KeyboardModifiers modifiers) {
        ReportFailures(this, [&] { DBGridKeyUp(key, modifiers); });
    });
    connect(m_ui.copyToAllAction, &QAction::triggered, this, handler(&TMainForm::CopyToAllLanguages));
    connect(m_ui.deleteEmptyButton, &QPushButton::clicked, this, handler(&TMainForm::DeleteEmptyButtonClick));
    connect(m_ui.deleteUnusedButton, &QPushButton::clicked, this, handler(&TMainForm::DeleteUnusedClick));
    connect(m_ui.adminButton, &QToolButton::clicked, this, handler(&TMainForm::ShowBookkeepingColumns));
    connect(m_ui.collectButton, &QPushButton::clicked, this, handler(&TMainForm::CollectButtonClick));
    connect(m_ui.translateButton, &QPushButton::clicked, this, handler(&TMainForm::TranslateButtonClick));
    connect(m_ui.chooseProjectButton, &QPushButton::clicked, this, handler(&TMainForm::ChooseProjectFile));
    connect(m_ui.editProject, &QLineEdit::textChanged, this, &TMainForm::EditProjectChange);
    connect(m_ui.openInIdeButton, &QPushButton::clicked, this, &TMainForm::OpenProjectInIde);
    connect(m_ui.optionsAction, &QAction::triggered, this, &TMainForm::ShowOptions);
    connect(m_ui.undoRunAction, &QAction::triggered, this, handler(&TMainForm::UndoTranslationClick));
    connect(m_ui.exportAction, &QAction::triggered, this, handler(&TMainForm::ExportClick));
    connect(m_ui.importAction, &QAction::triggered, this, handler(&TMainForm::ImportClick));
    connect(m_ui.aboutButton, &QToolButton::clicked, this, &TMainForm::ShowAboutMenu);
    connect(m_ui.readmeAction, &QAction::triggered, this, &TMainForm::ShowReadme);
    connect(m_ui.aboutAction, &QAction::triggered, this, &TMainForm::ShowAboutBox);
    connect(m_ui.componentDemoAction, &QAction::triggered, this, &TMainForm::ShowComponentDemo);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::FormShow() {
    VersionText() = QStringLiteral(WORDLOOM_VERSION);
    setWindowTitle(windowTitle() + QStringLiteral("  V") + VersionText());
    QString failure;
    if (!OpenStringTable(failure)) {
        m_startupFailed = true;
        ShowErrorMessage(
            this, tr("Database for Strings could not be found. Wordloom will be \r\nstopped.\n") + failure);
        return; // the program start sees StartupFailed() and ends instead of running the event loop
    }
    m_settings = std::make_unique<WorkbenchSettings>();
    RestoreSettings();
    WireLive();
    ReportFailures(this, [this] {
        GuiCommandHost host(this, m_ui.statusBar, m_model, [this] { ProjectComboChange(); });
        RecoverInterruptedRunsAtStart(GatherProjectSettings(), host, m_tablePath);
    });
}

bool TMainForm::OpenStringTable(QString& failure) {
    if (m_tablePath.isEmpty()) {
        failure = m_tableLookupError; // nothing was found to open
        return false;
    }
    // Named in full: a missing, empty or damaged table must say which file it was, and why.
    const bool address = IsPostgresAddress(m_tablePath.toStdString());
    const std::string path = TableAddress();
    try {
        auto table = std::make_unique<StringsTable>(path);
        for (const std::string& language : table->Languages()) {
            m_ui.langCombo->addItem(QString::fromStdString(language));
            m_ui.transCombo->addItem(QString::fromStdString(language));
        }
        table->SetFilterRecord([this](const StringsTable& t) { return StringTableFilterRecord(t); });
        table->SetBeforePost([this](StringsTable& t) { StringTableBeforePost(t); });
        table->SetAfterPost([this](StringsTable& t) { StringTableAfterPost(t); });
        m_table = std::move(table);
        m_statsBasis.reset(); // another connection: its stamps say nothing about the last one
        m_model->SetTable(m_table.get());
        ShowTablePath();
        return true;
    } catch (const std::exception& error) {
        m_ui.langCombo->clear();
        m_ui.transCombo->clear();
        if (address) {
            failure = QString::fromStdString(error.what());
            return false;
        }
        std::error_code ignored;
        if (!std::filesystem::exists(path, ignored)) {
            failure = tr("%1: the file does not exist").arg(QString::fromStdString(path));
            return false;
        }
        std::string reason = error.what();
        if (reason.find(path) == std::string::npos) {
            reason = path + ": " + reason;
        }
        failure = QString::fromStdString(reason);
        return false;
    }
}

void TMainForm::ShowTablePath() {
    const QString path = IsPostgresAddress(m_tablePath.toStdString())
                             ? QString::fromStdString(ShownAddress(m_tablePath.toStdString()))
                             : QFileInfo(m_tablePath).absoluteFilePath();
    qCInfo(TableLog).noquote() << "strings table:" << path;
    if (m_tableLabel == nullptr) {
        // Beside the panels, not one of them: the last panel stays the commands' progress panel.
        m_tableLabel = new QLabel(m_ui.statusBar);
        m_tableLabel->setObjectName(QStringLiteral("TablePath"));
        m_ui.statusBar->addPermanentWidget(m_tableLabel);
    }
    // A deep path is shortened in its middle, where the folders matter least; the tip has it whole.
    m_tableLabel->setText(
        m_tableLabel->fontMetrics().elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, 360));
    m_tableLabel->setToolTip(tr("Strings table: %1").arg(QDir::toNativeSeparators(path)));
}

void TMainForm::RestoreSettings() {
    const StoredSettings stored = m_settings->Read();
    // A stored position beyond the list falls back to the first entry: the window stays usable.
    const auto select = [](QComboBox* combo, int position) {
        combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : 0);
    };
    select(m_ui.langCombo, stored.language);
    select(m_ui.transCombo, stored.translation);
    m_ui.projectCombo->setCurrentIndex(0);
    ReportFailures(this, [this] { LangComboChange(); });
    for (int i = 0; i < m_ui.properties->count(); ++i) {
        m_ui.properties->item(i)->setCheckState(Qt::Checked);
    }
    m_ui.editProject->setText(stored.lastProject);
    EditProjectChange(m_ui.editProject->text());
    m_ui.includePas->setChecked(stored.includePas);
    TransComboChange();
    if (CharsetIndex(stored.leftCharset) >= 0) {
        m_model->SetColumnCharset(0, stored.leftCharset);
    }
    if (CharsetIndex(stored.rightCharset) >= 0) {
        m_model->SetColumnCharset(1, stored.rightCharset);
    }
    m_keepTextForms = stored.keepTextForms;
    if (m_optionsDlg != nullptr) {
        m_optionsDlg->SetKeepTextForms(m_keepTextForms);
    }
    RestoreWindowState();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (m_commandRunning) {
        event->ignore(); // a command walking the table lets events through; it must end first
        return;
    }
    ReportFailures(this, [this] { m_model->PostPending(); });
    FormClose();
    if (m_optionsDlg != nullptr) {
        m_optionsDlg->close();
    }
    event->accept();
}

void TMainForm::FormClose() {
    if (m_settings == nullptr) {
        return;
    }
    StoredSettings values;
    values.lastProject = m_ui.editProject->text();
    values.language = m_ui.langCombo->currentIndex();
    values.translation = m_ui.transCombo->currentIndex();
    values.includePas = m_ui.includePas->isChecked();
    values.leftCharset = m_model->ColumnCharset(0);
    values.rightCharset = m_model->ColumnCharset(1);
    values.keepTextForms = m_keepTextForms;
    m_settings->Write(values);
    SaveWindowState();
    m_settings.reset();
}

// ---- grid view and project filter

void TMainForm::LangComboChange() {
    if (m_table == nullptr || m_ui.langCombo->currentIndex() < 0) {
        return;
    }
    const std::string language = m_ui.langCombo->currentText().toStdString();
    m_model->PostPending();
    m_table->SetIndexName(language + "2");
    m_model->SetColumnField(0, language);
    m_model->Reload();
}

void TMainForm::TransComboChange() {
    if (m_ui.transCombo->currentIndex() >= 0) {
        m_model->SetColumnField(1, m_ui.transCombo->currentText().toStdString());
    }
}

void TMainForm::DBGridTitleClick(int column) {
    if (m_table == nullptr) {
        return;
    }
    m_model->PostPending();
    m_table->SetIndexFieldNames(m_model->ColumnField(column));
    if (m_table->RecordCount() > 0) {
        m_table->SetRecNo(0);
    }
    m_model->Reload();
}

void TMainForm::DBGridCellClick(const QModelIndex& index) {
    if (index.isValid() && index.data(Qt::DisplayRole).toString().isEmpty()) {
        m_ui.dbGrid->edit(index);
    }
}

void TMainForm::DBGridKeyUp(int key, Qt::KeyboardModifiers modifiers) {
    if (key == DeleteKey && modifiers.testFlag(Qt::ShiftModifier)) {
        m_model->Delete();
    }
}

void TMainForm::ProjectComboDropDown() {
    ProjectComboBox* combo = m_ui.projectCombo;
    // Filled once per run; a project restored from the last run does not count as filled.
    if (m_table == nullptr || m_projectsListed) {
        return;
    }
    m_model->PostPending();
    TableWalk walk(m_model);
    // A project restored from the last run is filtered already: the list holds every project.
    const bool filtered = m_table->Filtered();
    m_table->SetFiltered(false);
    for (m_table->First(); !m_table->Eof(); m_table->Next()) {
        const QString project = QString::fromStdString(m_table->FieldAsString("Project"));
        // Records without a project are reached through " (All Projects)"; no empty entry.
        if (!project.isEmpty() && combo->findText(project, Qt::MatchFixedString) < 0) {
            combo->addItem(project);
        }
    }
    m_projectsListed = combo->count() > 1;
    m_table->SetFiltered(filtered);
    m_table->First();
}

void TMainForm::ProjectComboChange() {
    if (m_table == nullptr) {
        return;
    }
    const QString entry = m_ui.projectCombo->currentText();
    m_model->PostPending();
    if (entry.isEmpty() || entry.front() == QLatin1Char(' ')) {
        m_table->SetFiltered(false);
    } else {
        m_table->SetFilter("Project = '" + entry.toStdString() + "'");
        m_table->SetFilterCaseInsensitive(true);
        m_table->SetFiltered(true);
    }
    m_gridFilter.SetProject(ShownProject().toStdString());
    m_model->Reload();
}

bool TMainForm::StringTableFilterRecord(const StringsTable& table) const {
    return table.FieldAsString("Project").find(m_ui.projectCombo->currentText().toStdString()) !=
           std::string::npos;
}

void TMainForm::StringTableBeforePost(StringsTable& table) {
    m_savedRecNo = table.RecNo();
}

std::string TMainForm::TableAddress() const {
    if (IsPostgresAddress(m_tablePath.toStdString())) {
        return m_tablePath.toStdString();
    }
    std::error_code ignored;
    return std::filesystem::absolute(m_tablePath.toStdString(), ignored).string();
}

void TMainForm::StringTableAfterPost(StringsTable& table) {
    // The record may have moved in the order; the cursor keeps its row.
    if (const int count = table.RecordCount(); count > 0) {
        table.SetRecNo(std::clamp(m_savedRecNo, 0, count - 1));
    }
}

// ---- record commands

void TMainForm::CopyToAllLanguages() {
    if (m_table == nullptr || m_model->CurrentRow() < 0) {
        return;
    }
    std::string value = m_ui.dbGrid->currentIndex().data(Qt::EditRole).toString().toStdString();
    if (value.empty()) {
        value = m_table->FieldAsString(m_ui.langCombo->currentText().toStdString());
    }
    if (value.empty()) {
        return;
    }
    if (m_table->State() == TableState::Browse) {
        m_model->Edit(); // through the grid, so the change can be undone
    }
    for (const std::string& language : m_table->Languages()) {
        m_table->SetField(language, value);
    }
    m_model->Post();
}

void TMainForm::DeleteEmptyButtonClick() {
    if (m_table == nullptr) {
        return;
    }
    const QString language = m_ui.transCombo->currentText();
    if (!AskOkCancel(this,
                     tr("Are you sure that you want to delete all records, which have an empty entry for %1?")
                         .arg(language))) {
        return;
    }
    RunLongCommand([&] {
        m_model->PostPending();
        TableWalk walk(m_model);
        // What goes is kept for undo; one pass of reads, as the grid reads its rows.
        const std::string target = language.toStdString();
        std::vector<RecordValues> deleted;
        GuiCommandHost host(this, m_ui.statusBar, m_model, [this] { ProjectComboChange(); });
        for (int recNo = 0, count = m_table->RecordCount(); recNo < count; ++recNo) {
            if (recNo % kWalkProgressStep == 0) {
                if (host.CancelRequested()) { // nothing is deleted yet
                    host.StatusText(tr("Cancelled").toStdString());
                    return;
                }
                host.Progress(recNo, count, {});
            }
            if (m_table->FieldAt(recNo, target).empty()) {
                deleted.push_back(RecordValuesAt(*m_table, recNo));
            }
        }
        // One statement: record by record, 95,000 records took seconds with the window frozen.
        // The current record stays current when kept, and the grid follows it on reattaching.
        m_table->DeleteEmpty(target);
        if (!deleted.empty()) {
            m_undoStack->push(
                new RecordSetCommand(ForUndo(), std::move(deleted), false, tr("Delete Empty Strings")));
        }
    });
}

void TMainForm::ShowBookkeepingColumns() {
    m_model->AppendColumns({"SpFront", "SpEnd", "Project"});
}

// ---- engine commands

ProjectSettings TMainForm::GatherProjectSettings() const {
    ProjectSettings settings;
    settings.projectPath = m_ui.editProject->text().toStdString();
    // A bare name is the file in the current folder, as on the command line; the commands would
    // otherwise look for its forms in the root folder.
    if (!settings.projectPath.empty()) {
        std::error_code noCurrentFolder;
        const std::filesystem::path absolute =
            std::filesystem::absolute(settings.projectPath, noCurrentFolder);
        if (!noCurrentFolder) {
            settings.projectPath = absolute.lexically_normal().string();
        }
    }
    settings.language = m_ui.langCombo->currentText().toStdString();
    settings.translation = m_ui.transCombo->currentText().toStdString();
    settings.properties.clear();
    for (int i = 0; i < m_ui.properties->count(); ++i) {
        if (m_ui.properties->item(i)->checkState() == Qt::Checked) {
            settings.properties.push_back(m_ui.properties->item(i)->text().toStdString());
        }
    }
    settings.includePas = m_ui.includePas->isChecked();
    settings.sourceCharset = m_model->ColumnCharset(0);
    settings.targetCharset = m_model->ColumnCharset(1);
    return settings;
}

template <typename Command>
void TMainForm::RunLongCommand(Command&& command) {
    if (m_commandRunning) {
        return;
    }
    m_commandRunning = true;
    SetCommandsEnabled(false);
    struct Restore {
        TMainForm* form;
        ~Restore() {
            form->SetCommandsEnabled(true);
            form->m_commandRunning = false;
        }
    } restore{this};
    std::forward<Command>(command)();
}

// For the handlers in the window's other files.
template void TMainForm::RunLongCommand(std::function<void()>&&);

void TMainForm::SetCommandsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_ui.collectButton, m_ui.translateButton, m_ui.deleteEmptyButton, m_ui.deleteUnusedButton,
             m_ui.langCombo, m_ui.transCombo, m_ui.projectCombo, m_ui.dbGrid, m_ui.adminButton}) {
        control->setEnabled(enabled);
    }
    m_ui.copyToAllAction->setEnabled(enabled);
    m_ui.undoRunAction->setEnabled(enabled);
    m_ui.exchangeButton->setEnabled(enabled);
    m_ui.undoAction->setEnabled(enabled && m_undoStack->canUndo());
    m_ui.redoAction->setEnabled(enabled && m_undoStack->canRedo());
    m_ui.navigator->SetEnabled(enabled);
}

void TMainForm::CollectButtonClick() {
    if (m_table == nullptr) {
        return;
    }
    RunLongCommand([this] {
        m_model->PostPending();
        GuiCommandHost host(this, m_ui.statusBar, m_model, [this] { ProjectComboChange(); });
        RunCollectCommand(*m_table, GatherProjectSettings(), host, m_collectState);
    });
}

void TMainForm::TranslateButtonClick() {
    if (m_table == nullptr) {
        return;
    }
    RunLongCommand([this] {
        m_model->PostPending();
        GuiCommandHost host(this, m_ui.statusBar, m_model, [this] { ProjectComboChange(); });
        if (!GoOnDespiteCheckErrors(GatherProjectSettings(), host)) {
            return;
        }
        TranslateWithPreview(this, *m_table, GatherProjectSettings(), host, m_tablePath,
                             m_keepTextForms ? FormFormat::Keep : FormFormat::Binary);
    });
}

void TMainForm::UndoTranslationClick() {
    if (m_table == nullptr) {
        return;
    }
    RunLongCommand([this] {
        GuiCommandHost host(this, m_ui.statusBar, m_model, [this] { ProjectComboChange(); });
        UndoLastTranslation(GatherProjectSettings(), host, m_tablePath);
    });
}

// ---- project path

void TMainForm::ChooseProjectFile() {
    const std::unique_ptr<QFileDialog> dialog =
        NewProjectDialog(this, QString::fromStdString(DirectoryOf(m_ui.editProject->text().toStdString())));
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        m_ui.editProject->setText(dialog->selectedFiles().constFirst());
    }
}

void TMainForm::EditProjectChange(const QString& text) {
    m_projectName = QString::fromStdString(ProjectNameFromPath(text.toStdString()));
}

// ---- about menu, options, IDE launch

void TMainForm::OpenProjectInIde() {
    OpenOrSayWhy(m_ui.editProject->text());
}

void TMainForm::ShowOptions() {
    if (m_optionsDlg != nullptr) {
        m_optionsDlg->ShowNonModal();
    }
}

void TMainForm::ShowAboutMenu() {
    m_ui.aboutPopup->popup(m_ui.aboutButton->mapToGlobal(QPoint(0, m_ui.aboutButton->height())));
}

void TMainForm::ShowReadme() {
    OpenOrSayWhy(ReadmePath(QApplication::applicationDirPath(), InstalledDataFolders()));
}

void TMainForm::OpenOrSayWhy(const QString& target, const QString& workingDir) {
    // Without a word the click would look ignored.
    if (const QString failure = OpenDocument(target, workingDir); !failure.isEmpty()) {
        ShowErrorMessage(this, failure);
    }
}

void TMainForm::ShowAboutBox() {
    TAboutBox box(this);
    box.exec();
}

void TMainForm::ShowComponentDemo() {
    // Made once and kept: closing it only hides it, and the next use shows it as it was.
    if (!m_shellForm) {
        m_shellForm = new shell::TShellForm(this);
    }
    m_shellForm->show();
    m_shellForm->raise();
    m_shellForm->activateWindow();
}

} // namespace wordloom
