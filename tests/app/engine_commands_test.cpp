// Collect and Translate through their buttons, the options dialog's effect on the code pages, and
// the report of a failure that nothing handled.
#include "app/failure_report.h"
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "base/project.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/options_dlg.h"
#include "dialogs/translate_preview_dlg.h"
#include "strings_db/run_journal.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

/// A small project: one text form and one unit, in the folder `dir` of the work folder.
QString WriteProject(const WorkFolder& folder, bool withUnit = true, bool withForm = true) {
    QDir(folder.Path()).mkpath(QStringLiteral("demo"));
    const QString dir = folder.Path(QStringLiteral("demo"));
    WriteBytes(dir + QStringLiteral("/Demo.dpr"), "program Demo;\r\nbegin\r\nend.\r\n");
    if (withForm) {
        WriteBytes(dir + QStringLiteral("/Main.dfm"), "object MainWindow: TMainWindow\r\n"
                                                      "  Caption = 'Open file'\r\n"
                                                      "  object Button1: TButton\r\n"
                                                      "    Caption = ' Close '\r\n"
                                                      "    Hint = 'Close the window'\r\n"
                                                      "  end\r\n"
                                                      "end\r\n");
    }
    if (withUnit) {
        WriteBytes(dir + QStringLiteral("/Unit1.pas"), "unit Unit1;\r\n"
                                                       "interface\r\n"
                                                       "const Greeting = 'Hello world';\r\n"
                                                       "implementation\r\n"
                                                       "end.\r\n");
    }
    return dir + QStringLiteral("/Demo.dpr");
}

QStringList Column(const QAbstractItemModel* model, int column) {
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts << model->index(row, column).data().toString();
    }
    return texts;
}

/// Sets the translation of the record whose project-language text is `key`, as typing would.
/// Goes on from the preview that comes before the question, after checking it lists `expected`
/// among the files that change.
void AcceptPreview(const QString& expected) {
    WhenModal<TranslatePreviewDlg>([expected](TranslatePreviewDlg* dialog) {
        bool listed = false;
        for (int i = 0; i < dialog->Files()->count(); ++i)
            listed = listed || dialog->Files()->item(i)->text().startsWith(expected + QStringLiteral(" ("));
        listed ? dialog->accept() : dialog->reject();
    });
}

void Translate(TMainForm& form, const QString& key, const QString& translation) {
    StringsGridModel* model = form.GridModel();
    const int row = Column(model, 0).indexOf(key);
    QVERIFY2(row >= 0, qPrintable(key));
    QVERIFY(model->setData(model->index(row, 1), translation));
    model->Post();
}

/// A shown workbench whose project is a small written one (see WriteProject).
struct ProjectBench {
    explicit ProjectBench(bool withUnit = true) {
        bench.Show();
        project = WriteProject(folder, withUnit);
        ui().editProject->setText(project);
    }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    /// Collect through the button, answering whatever it reports.
    void Collect() {
        BoxAnswerer quiet;
        QTest::mouseClick(ui().collectButton, Qt::LeftButton);
    }

    WorkFolder folder; // first: the window starts in it
    Workbench bench;
    QString project;
};

/// Throws from its event handler: a failure no command catches.
class Failing : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            throw std::runtime_error("Record locked by another user");
        }
        return QObject::event(e);
    }
};

} // namespace

class EngineCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void collectThroughTheButton() {
        ProjectBench p;
        Workbench& bench = p.bench;
        const MainFormUi& ui = p.ui();
        BoxAnswerer answerer;
        QTest::mouseClick(ui.collectButton, Qt::LeftButton);
        QCOMPARE(answerer.Texts(), QStringList());
        QStringList english = Column(bench.form.GridModel(), 0);
        english.sort();
        QCOMPARE(english, (QStringList{QStringLiteral("Close"), QStringLiteral("Close the window"),
                                       QStringLiteral("Hello world"), QStringLiteral("Open file")}));
        QCOMPARE(ui.statusBar->PanelText(1), QStringLiteral("Finished"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(ui.collectButton->isEnabled());
        QCOMPARE(bench.form.StringTable()->IndexField(), std::string("German"));
        QCOMPARE(bench.form.StringTable()->RecNo(), 0);
        StringsTable& table = *bench.form.StringTable();
        table.SetIndexFieldNames("English");
        QVERIFY(table.FindKey("Close"));
        QCOMPARE(table.FieldAsInteger("SpFront"), 1);
        QCOMPARE(table.FieldAsString("Project"), std::string("Demo"));
    }

    void aBareProjectNameIsTheFileInTheCurrentFolder() {
        ProjectBench p;
        const QString workFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QFileInfo(p.project).absolutePath()));
        p.ui().editProject->setText(QFileInfo(p.project).fileName());
        BoxAnswerer answerer;
        QTest::mouseClick(p.ui().collectButton, Qt::LeftButton);
        QDir::setCurrent(workFolder);
        QCOMPARE(answerer.Texts(), QStringList());
        QCOMPARE(Column(p.bench.form.GridModel(), 0).size(), 4);
        QCOMPARE(p.bench.form.ProjectName(), QStringLiteral("Demo"));
    }

    void collectAsksToSkipADamagedFormAndReportsOnceAtTheEnd() {
        ProjectBench p;
        const QString dir = QFileInfo(p.project).absolutePath();
        WriteBytes(dir + QStringLiteral("/Broken.dfm"), "damaged");
        WriteBytes(dir + QStringLiteral("/Unit2.pas"),
                   "a := 'bad;\r\nb := 'worse;\r\n(* it's *) c := 'Fine';\r\n");
        {
            BoxAnswerer answerer({QMessageBox::YesToAll});
            QTest::mouseClick(p.ui().collectButton, Qt::LeftButton);
            QCOMPARE(answerer.seen.size(), 2);
            const SeenBox& question = answerer.seen[0];
            QCOMPARE(question.icon, QMessageBox::Warning);
            QCOMPARE(question.buttons, QMessageBox::Ignore | QMessageBox::YesToAll | QMessageBox::Abort);
            QVERIFY2(question.text.startsWith(QStringLiteral("Broken.dfm: Invalid stream format")),
                     qPrintable(question.text));
            const SeenBox& report = answerer.seen[1];
            QCOMPARE(report.icon, QMessageBox::Information);
            QCOMPARE(report.text,
                     QStringLiteral("1 file(s) could not be read and were skipped.\n"
                                    "2 line(s) could not be parsed; their texts were not collected."));
            QStringList english = Column(p.bench.form.GridModel(), 0);
            english.sort();
            QCOMPARE(english, (QStringList{QStringLiteral("Close"), QStringLiteral("Close the window"),
                                           QStringLiteral("Fine"), QStringLiteral("Hello world"),
                                           QStringLiteral("Open file")}));
            QCOMPARE(p.ui().statusBar->PanelText(1), QStringLiteral("Finished"));
        }

        // Stop ends the command at the file, as it always did.
        BoxAnswerer stopper({QMessageBox::Abort});
        QTest::mouseClick(p.ui().collectButton, Qt::LeftButton);
        QCOMPARE(stopper.seen.size(), 2); // the units, with their bad lines, are never reached
        QCOMPARE(stopper.seen[1].icon, QMessageBox::Critical);
        QCOMPARE(stopper.seen[1].text, QStringLiteral("Invalid stream format"));
    }

    void collectTheExampleProject() {
        WorkFolder folder;
        const QDir examples(QStringLiteral(WORDLOOM_SOURCE_DIR "/examples"));
        QVERIFY(QDir(folder.Path()).mkpath(QStringLiteral("examples")));
        for (const QString& name : examples.entryList(QDir::Files)) {
            QVERIFY(QFile::copy(examples.filePath(name), folder.Path(QStringLiteral("examples/") + name)));
        }
        Workbench bench;
        bench.Show();
        const MainFormUi& ui = bench.form.Ui();
        ui.editProject->setText(folder.Path(QStringLiteral("examples/Demo.dpr")));
        BoxAnswerer answerer;
        QTest::mouseClick(ui.collectButton, Qt::LeftButton);
        QCOMPARE(answerer.Texts(), QStringList()); // forms and units are there: nothing to report
        const QStringList english = Column(bench.form.GridModel(), 0);
        for (const QString& text :
             {QStringLiteral("Wordloom Demo"), QStringLiteral("Größe"), QStringLiteral("打开")}) {
            QVERIFY2(english.contains(text), qPrintable(text));
        }
        QCOMPARE(ui.statusBar->PanelText(1), QStringLiteral("Finished"));
        emit ui.projectCombo->DropDown();
        QCOMPARE(ui.projectCombo->count(), 2);
        QCOMPARE(ui.projectCombo->itemText(1), QStringLiteral("Demo"));
    }

    void collectReportsMissingUnitsAndFormsWhileTheButtonsAreOff() {
        ProjectBench p(false);
        WorkFolder& folder = p.folder;
        Workbench& bench = p.bench;
        const MainFormUi& ui = p.ui();
        BoxAnswerer answerer;
        bool buttonsOff = false;
        bool gridDetached = false;
        answerer.onBox = [&] {
            buttonsOff = !ui.collectButton->isEnabled() && !ui.translateButton->isEnabled() &&
                         !ui.deleteEmptyButton->isEnabled();
            gridDetached = bench.form.GridModel()->rowCount() == 0;
        };
        QTest::mouseClick(ui.collectButton, Qt::LeftButton);
        QCOMPARE(answerer.Texts(), QStringList{QStringLiteral("No Pascal Files found!")});
        QCOMPARE(answerer.seen.first().icon, QMessageBox::NoIcon);
        QCOMPARE(answerer.seen.first().title, QStringLiteral("Wordloom"));
        QVERIFY(buttonsOff);
        QVERIFY(gridDetached);
        QCOMPARE(bench.form.GridModel()->rowCount(), 3);
        QCOMPARE(ui.statusBar->PanelText(1), QStringLiteral("Finished"));

        QFile::remove(folder.Path(QStringLiteral("demo/Main.dfm")));
        QTest::mouseClick(ui.collectButton, Qt::LeftButton);
        QCOMPARE(answerer.Texts().last(), QStringLiteral("No Forms found!"));
        QCOMPARE(bench.form.GridModel()->rowCount(), 3);
        QVERIFY(ui.collectButton->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void aMissingProjectFileIsSaidBeforeAnything() {
        ProjectBench p;
        const MainFormUi& ui = p.ui();
        const QString missing = p.folder.Path(QStringLiteral("demo/Dmeo.dpr"));
        ui.editProject->setText(missing);
        const QString said =
            QStringLiteral("The project file ") + missing + QStringLiteral(" could not be found.");
        BoxAnswerer answerer;
        QTest::mouseClick(ui.collectButton, Qt::LeftButton); // said "No Forms found!"
        QCOMPARE(answerer.Texts(), QStringList{said});
        QCOMPARE(answerer.seen.first().icon, QMessageBox::Critical);
        QCOMPARE(p.bench.form.StringTable()->RecordCount(), 0);
        // Asked for confirmation, then showed two boxes.
        QTest::mouseClick(ui.translateButton, Qt::LeftButton);
        QCOMPARE(answerer.Texts(), (QStringList{said, said}));
        QVERIFY(!QFile::exists(p.folder.Path(QStringLiteral("demo/Main.~df"))));
        QVERIFY(ui.collectButton->isEnabled() && ui.translateButton->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void failingCollectRestoresTheView() {
        ProjectBench p(false);
        WorkFolder& folder = p.folder;
        Workbench& bench = p.bench;
        const MainFormUi& ui = p.ui();
        WriteBytes(folder.Path(QStringLiteral("demo/Zbroken.dfm")), QByteArray("\x01\x02 not a form", 14));
        BoxAnswerer answerer;
        QTest::mouseClick(ui.collectButton, Qt::LeftButton);
        QVERIFY(!answerer.seen.isEmpty());
        QVERIFY2(answerer.Texts().join(QLatin1Char('\n')).contains(QStringLiteral("Invalid stream format")),
                 qPrintable(answerer.Texts().join(QLatin1Char('\n'))));
        QCOMPARE(answerer.seen.last().title, QStringLiteral("Wordloom"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(bench.form.GridModel()->Attached());
        QVERIFY(ui.collectButton->isEnabled() && ui.translateButton->isEnabled());
        // The grid shows the table again, with whatever the files read before the broken one filed.
        QCOMPARE(bench.form.GridModel()->rowCount(), bench.form.StringTable()->RecordCount());
    }

    void translateThroughTheButtonWithTheConfirmation() {
        ProjectBench p;
        WorkFolder& folder = p.folder;
        Workbench& bench = p.bench;
        const MainFormUi& ui = p.ui();
        const QString& project = p.project;
        p.Collect();
        Translate(bench.form, QStringLiteral("Hello world"), QStringLiteral("Hallo Welt"));
        Translate(bench.form, QStringLiteral("Open file"), QStringLiteral("Datei öffnen"));
        const QByteArray formBefore = ReadBytes(folder.Path(QStringLiteral("demo/Main.dfm")));

        BoxAnswerer answerer({QMessageBox::Ok});
        AcceptPreview(QStringLiteral("Unit1.pas"));
        QTest::mouseClick(ui.translateButton, Qt::LeftButton);
        QVERIFY(!answerer.seen.isEmpty());
        const SeenBox& question = answerer.seen.first();
        QCOMPARE(question.text,
                 QStringLiteral("Please make sure the Project ") + project +
                     QStringLiteral(" is not loaded in the Delphi IDE and that its current laguage "
                                    "really is English. It is recommended that you run Wordloom "
                                    "only on a copy of the project files."));
        QCOMPARE(question.icon, QMessageBox::Warning);
        QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(answerer.seen.size(), 1);

        QCOMPARE(ReadBytes(folder.Path(QStringLiteral("demo/Main.~df"))), formBefore);
        const QByteArray form = ReadBytes(folder.Path(QStringLiteral("demo/Main.dfm")));
        QVERIFY(form.contains("TPF0")); // written back in the binary form
        QVERIFY(form.contains(QByteArray("Datei \xF6"
                                         "ffnen")));
        QVERIFY(ReadBytes(folder.Path(QStringLiteral("demo/Unit1.pas"))).contains("'Hallo Welt'"));
        QVERIFY(QFile::exists(folder.Path(QStringLiteral("demo/Unit1.~pa"))));
        QCOMPARE(ui.statusBar->PanelText(1), QStringLiteral("Finished"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(bench.form.GridModel()->rowCount() > 0);
    }

    void translateCancelledChangesNothing() {
        ProjectBench p;
        WorkFolder& folder = p.folder;
        Workbench& bench = p.bench;
        const MainFormUi& ui = p.ui();
        p.Collect();
        Translate(bench.form, QStringLiteral("Hello world"), QStringLiteral("Hallo Welt"));
        const QByteArray unitBefore = ReadBytes(folder.Path(QStringLiteral("demo/Unit1.pas")));
        BoxAnswerer answerer({QMessageBox::Cancel});
        AcceptPreview(QStringLiteral("Unit1.pas"));
        QTest::mouseClick(ui.translateButton, Qt::LeftButton);
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(ReadBytes(folder.Path(QStringLiteral("demo/Unit1.pas"))), unitBefore);
        QVERIFY(!QFile::exists(folder.Path(QStringLiteral("demo/Unit1.~pa"))));
        QVERIFY(ui.translateButton->isEnabled());
    }

    void keptTextFormsAndUndoOfTheLastTranslation() {
        ProjectBench p;
        WorkFolder& folder = p.folder;
        Workbench& bench = p.bench;
        const MainFormUi& ui = p.ui();
        p.Collect();
        Translate(bench.form, QStringLiteral("Hello world"), QStringLiteral("Hallo Welt"));
        Translate(bench.form, QStringLiteral("Open file"), QStringLiteral("Datei öffnen"));
        const QByteArray unitBefore = ReadBytes(folder.Path(QStringLiteral("demo/Unit1.pas")));
        const QByteArray formBefore = ReadBytes(folder.Path(QStringLiteral("demo/Main.dfm")));
        ui.optionsAction->trigger();
        bench.options->KeepTextFormsBox()->click();
        {
            BoxAnswerer answerer({QMessageBox::Ok});
            AcceptPreview(QStringLiteral("Main.dfm"));
            QTest::mouseClick(ui.translateButton, Qt::LeftButton);
            QCOMPARE(answerer.seen.size(), 1); // the question, after the preview
        }
        const QByteArray form = ReadBytes(folder.Path(QStringLiteral("demo/Main.dfm")));
        QVERIFY(form.contains(QByteArray("Datei \xF6"
                                         "ffnen")));
        // A text form stays one; a binary form stays binary.
        QCOMPARE(form.startsWith("object"), formBefore.startsWith("object"));
        QVERIFY(ReadBytes(folder.Path(QStringLiteral("demo/Unit1.pas"))).contains("'Hallo Welt'"));

        BoxAnswerer answerer({QMessageBox::Ok});
        ui.undoRunAction->trigger();
        QCOMPARE(ReadBytes(folder.Path(QStringLiteral("demo/Unit1.pas"))), unitBefore);
        QCOMPARE(ReadBytes(folder.Path(QStringLiteral("demo/Main.dfm"))), formBefore);
        QVERIFY2(answerer.Texts().last().contains(QStringLiteral("files were put back")),
                 qPrintable(answerer.Texts().join(QLatin1Char('\n'))));
        // Nothing is left to undo.
        ui.undoRunAction->trigger();
        QVERIFY(answerer.Texts().last().contains(QStringLiteral("no translation run")));
        bench.form.close();
        QSettings stored(folder.SettingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("FormFormat")).toString(), QStringLiteral("keep"));
    }

    void aRunKilledMeanwhileIsPutRightWhenTheWindowStarts() {
        QByteArray unitBefore;
        QString projectPath;
        {
            ProjectBench p;
            p.Collect();
            Translate(p.bench.form, QStringLiteral("Hello world"), QStringLiteral("Hallo Welt"));
            unitBefore = ReadBytes(p.folder.Path(QStringLiteral("demo/Unit1.pas")));
            {
                BoxAnswerer answerer({QMessageBox::Ok});
                AcceptPreview(QStringLiteral("Unit1.pas"));
                QTest::mouseClick(p.ui().translateButton, Qt::LeftButton);
            }
            QVERIFY(ReadBytes(p.folder.Path(QStringLiteral("demo/Unit1.pas"))).contains("'Hallo Welt'"));
            projectPath = QString::fromStdString(p.bench.form.GatherProjectSettings().projectPath);
            p.bench.form.close(); // keeps the project for the next start
            // As the journal looks after a kill between replacing the files and ending the run.
            const auto journal =
                OpenSqliteRunJournal(p.folder.Path(QStringLiteral("strings.db")).toStdString());
            const std::vector<RunRecord> runs = journal->Runs(projectPath.toStdString());
            QCOMPARE(runs.size(), std::size_t{1});
            journal->SetState(runs.front().id, run_state::kRunning);

            Workbench next;
            BoxAnswerer answerer;
            next.Show();
            QCOMPARE(ReadBytes(p.folder.Path(QStringLiteral("demo/Unit1.pas"))), unitBefore);
            QVERIFY2(!answerer.seen.isEmpty(), "the repair is reported");
            QCOMPARE(OpenSqliteRunJournal(p.folder.Path(QStringLiteral("strings.db")).toStdString())
                         ->Runs(projectPath.toStdString())
                         .front()
                         .state,
                     std::string(run_state::kRolledBack));
        }
    }

    void optionsDialogChangesTheTranslationsCodePage() {
        ProjectBench p;
        WorkFolder& folder = p.folder;
        Workbench& bench = p.bench;
        const MainFormUi& ui = p.ui();
        p.Collect();
        Translate(bench.form, QStringLiteral("Hello world"), QStringLiteral("Привет"));

        ui.optionsAction->trigger();
        QVERIFY(bench.options->isVisible());
        QComboBox* right = bench.options->CharSetCombo2();
        QCOMPARE(right->currentText(), QStringLiteral("Default Charset"));
        const int russian = right->findText(QStringLiteral("Russian Charset"));
        right->setCurrentIndex(russian);
        emit right->activated(russian);
        QCOMPARE(bench.form.GridModel()->ColumnCharset(1), 204);
        QCOMPARE(bench.form.GatherProjectSettings().targetCharset, 204);
        QCOMPARE(bench.form.GatherProjectSettings().sourceCharset, 1);

        BoxAnswerer answerer({QMessageBox::Ok});
        AcceptPreview(QStringLiteral("Unit1.pas"));
        QTest::mouseClick(ui.translateButton, Qt::LeftButton);
        // Привет in Windows-1251
        QVERIFY(
            ReadBytes(folder.Path(QStringLiteral("demo/Unit1.pas"))).contains("'\xCF\xF0\xE8\xE2\xE5\xF2'"));

        bench.form.close();
        QSettings stored(folder.SettingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("RightCharset")).toString(), QStringLiteral("204"));
        Workbench again;
        again.Show();
        QCOMPARE(again.form.GridModel()->ColumnCharset(1), 204);
    }

    void uncaughtFailureIsShownAndTheProgramGoesOn() {
        BoxAnswerer answerer;
        Failing failing;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&failing, &event);
        QTRY_COMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen.first().text, QStringLiteral("Record locked by another user"));
        QCOMPARE(answerer.seen.first().icon, QMessageBox::Critical);
        QCOMPARE(answerer.seen.first().title, QStringLiteral("Wordloom"));
    }
};

int main(int argc, char** argv) {
    WordloomApplication application(argc, argv);
    EngineCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "engine_commands_test.moc"
