// The quality checks in the window: a posted translation is checked at once and its findings show
// as the row's mark tooltip, the Check button checks the whole table and narrows the grid with
// "With warnings", and a dismissed finding stays away until the translation changes.
#include "app/context_panel.h"
#include "app/grid_filter.h"
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/import_dlg.h"
#include "dialogs/translate_preview_dlg.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

struct ChecksBench {
    explicit ChecksBench(std::initializer_list<TextRecord> records) {
        bench.Show();
        AddRecords(table(), records);
        model()->Reload();
    }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    StringsGridModel* model() const { return bench.form.GridModel(); }
    StringsGrid* grid() const { return ui().dbGrid; }
    StringsTable& table() const { return *bench.form.StringTable(); }
    QString RowTip(int row) const {
        return model()->headerData(row, Qt::Vertical, Qt::ToolTipRole).toString();
    }
    /// Types a translation into a row and leaves it, as the user posts it.
    void Type(int row, const char* translation) {
        const QModelIndex cell = model()->index(row, 1);
        grid()->setCurrentIndex(cell);
        QVERIFY(model()->setData(cell, QString::fromUtf8(translation)));
        grid()->setCurrentIndex(model()->index(row == 0 ? 1 : 0, 1));
    }
    void ShowOnly(RecordStateFilter state) {
        const int entry = ui().recordFilter->findData(static_cast<int>(state));
        QVERIFY(entry >= 0);
        ui().recordFilter->setCurrentIndex(entry);
        emit ui().recordFilter->activated(entry);
    }

    Workbench bench;
};

} // namespace

class ChecksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void aPostedTranslationLosingASpecifierShowsTheWarningAtOnce() {
        WorkFolder folder;
        ChecksBench f({{"File %s not found", ""}, {"Open", ""}});
        QVERIFY(!f.RowTip(0).contains(QStringLiteral("Format")));
        f.Type(0, "Datei nicht gefunden");
        QVERIFY2(f.RowTip(0).contains(QStringLiteral("Format specifiers differ")), qPrintable(f.RowTip(0)));
        QVERIFY(!f.RowTip(1).contains(QStringLiteral("Format")));
        // The context panel tells the current record's findings.
        f.grid()->setCurrentIndex(f.model()->index(0, 1));
        QTRY_VERIFY(
            f.bench.form.Context()->Warnings()->text().contains(QStringLiteral("Format specifiers differ")));
        QVERIFY(!f.bench.form.Context()->Warnings()->isHidden());
        // Put right, the mark goes.
        f.Type(0, "Datei %s nicht gefunden");
        QVERIFY2(!f.RowTip(0).contains(QStringLiteral("Format")), qPrintable(f.RowTip(0)));
        // Undone, the lost specifier is back in the translation and so is the mark.
        f.bench.form.UndoStack()->undo();
        QCOMPARE(GridColumn(f.model(), 1).at(0), QStringLiteral("Datei nicht gefunden"));
        QVERIFY2(f.RowTip(0).contains(QStringLiteral("Format specifiers differ")), qPrintable(f.RowTip(0)));
    }

    void checkFillsTheMarksAndWithWarningsNarrowsTheGrid() {
        WorkFolder folder;
        ChecksBench f(
            {{"&Close", "Schließen"}, {"Open", "Öffnen"}, {"Save %d files", "%d Dateien speichern"}});
        QVERIFY(f.bench.form.CheckAction() != nullptr);
        f.bench.form.CheckAction()->trigger();
        QVERIFY2(f.RowTip(0).contains(QStringLiteral("&")), qPrintable(f.RowTip(0)));
        QVERIFY(f.model()->WarningsOfRow(1) == nullptr);
        f.ShowOnly(RecordStateFilter::WithWarnings);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"&Close"}));
        f.ShowOnly(RecordStateFilter::All);
        QCOMPARE(f.model()->rowCount(), 3);
    }

    void checkTellsWhatItDidNotCheck() {
        WorkFolder folder;
        ChecksBench f({{"Open", "Öffnen"}});
        f.bench.form.CheckAction()->trigger();
        const QString status = f.ui().statusBar->PanelText(f.ui().statusBar->PanelCount() - 1);
        QVERIFY2(status.startsWith(QStringLiteral("Findings: 0 in 1 texts checked")), qPrintable(status));
        // No project chosen: the forms cannot be read, and the status bar says so.
        QVERIFY2(status.contains(QStringLiteral("the project folder is not known")), qPrintable(status));
    }

    void preTranslateMarksTheTranslationsItFillsWithoutACheck() {
        WorkFolder folder;
        ChecksBench f({{"File %s not found", "Datei nicht gefunden"},
                       {"File %s not found!", ""},
                       {"Open the file", "Datei öffnen"},
                       {"Open the files", ""}});
        BoxAnswerer yes({QMessageBox::Ok, QMessageBox::Ok});
        f.bench.form.PreTranslateAction()->trigger();
        QCOMPARE(yes.seen.size(), 2);
        QCOMPARE(GridColumn(f.model(), 0).at(1), QStringLiteral("File %s not found!"));
        QCOMPARE(GridColumn(f.model(), 1).at(1), QStringLiteral("Datei nicht gefunden"));
        QVERIFY2(f.RowTip(1).contains(QStringLiteral("Format specifiers differ")), qPrintable(f.RowTip(1)));
        QCOMPARE(GridColumn(f.model(), 1).at(3), QStringLiteral("Datei öffnen"));
        QVERIFY(f.model()->WarningsOfRow(3) == nullptr); // filled and fine
        // The mark counts for the filter at once.
        f.ShowOnly(RecordStateFilter::WithWarnings);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"File %s not found!"}));
    }

    void anImportSetsTheMarksOfWhatItWrites() {
        WorkFolder folder;
        ChecksBench f({{"&Close", "Schließen"}, {"Save %d files", ""}});
        QCOMPARE(GridColumn(f.model(), 0), Texts({"&Close", "Save %d files"}));
        f.bench.form.CheckAction()->trigger();
        QVERIFY(f.RowTip(0).contains(QStringLiteral("&"))); // the lost accelerator
        QVERIFY2(!f.RowTip(1).contains(QStringLiteral("Format")), qPrintable(f.RowTip(1)));
        const QString po = QDir(QDir::currentPath()).filePath(QStringLiteral("de.po"));
        WriteBytes(po, "msgid \"\"\nmsgstr \"\"\n\"Language: de\\n\"\n"
                       "\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                       "msgid \"Save %d files\"\nmsgstr \"Dateien speichern\"\n\n"
                       "msgid \"&Close\"\nmsgstr \"&Schlie\xC3\x9F"
                       "en\"\n");
        bool seen = false;
        WhenModal<ImportDlg>([&](ImportDlg* dialog) {
            seen = true;
            dialog->FileEdit()->setText(po);
            QVERIFY(dialog->Preview());
            for (int r = 0; r < dialog->Items()->topLevelItemCount(); ++r) {
                dialog->Items()->topLevelItem(r)->setCheckState(3, Qt::Checked); // theirs
            }
            dialog->ImportButton()->click();
        });
        BoxAnswerer quiet;
        f.ui().importAction->trigger();
        QVERIFY(seen);
        QCOMPARE(GridColumn(f.model(), 1), Texts({"&Schließen", "Dateien speichern"}));
        // The lost specifier is marked, the mended accelerator is not any more.
        QVERIFY2(f.RowTip(1).contains(QStringLiteral("Format specifiers differ")), qPrintable(f.RowTip(1)));
        QVERIFY2(f.model()->WarningsOfRow(0) == nullptr, qPrintable(f.RowTip(0)));
    }

    void aDismissedWarningStaysAwayUntilTheTranslationChanges() {
        WorkFolder folder;
        ChecksBench f({{"&Close", "Schließen"}, {"Open", "Öffnen"}});
        f.bench.form.CheckAction()->trigger();
        QVERIFY(f.model()->WarningsOfRow(0) != nullptr);
        f.grid()->setCurrentIndex(f.model()->index(0, 1));
        QVERIFY(f.grid()->actions().contains(f.bench.form.DismissWarningsAction()));
        f.bench.form.DismissWarningsAction()->trigger();
        QVERIFY(f.model()->WarningsOfRow(0) == nullptr);
        // Stored: a new run leaves it out too.
        f.bench.form.CheckAction()->trigger();
        QVERIFY(f.model()->WarningsOfRow(0) == nullptr);
        // Another translation is another question.
        f.Type(0, "Zumachen");
        QVERIFY(f.model()->WarningsOfRow(0) != nullptr);
    }
    void translateAsksFirstWhenTheChecksFindErrors() {
        WorkFolder folder; // first: the window starts in it
        Workbench bench;
        bench.Show();
        QDir(folder.Path()).mkpath(QStringLiteral("demo"));
        const QString dir = folder.Path(QStringLiteral("demo"));
        WriteBytes(dir + QStringLiteral("/Demo.dpr"), "program Demo;\r\nbegin\r\nend.\r\n");
        const QByteArray form = "object Main: TForm\r\n  Caption = 'Saved %s'\r\nend\r\n";
        WriteBytes(dir + QStringLiteral("/Main.dfm"), form);
        const MainFormUi& ui = bench.form.Ui();
        ui.editProject->setText(dir + QStringLiteral("/Demo.dpr"));
        ui.includePas->setChecked(false);
        {
            BoxAnswerer quiet;
            QTest::mouseClick(ui.collectButton, Qt::LeftButton);
        }
        StringsGridModel* model = bench.form.GridModel();
        QCOMPARE(model->rowCount(), 1);
        QVERIFY(model->setData(model->index(0, 1), QStringLiteral("Gespeichert %d")));
        model->Post();

        // Cancelled at the summary: no preview, the form as it was.
        bool previewed = false;
        WhenModal<TranslatePreviewDlg>([&previewed](TranslatePreviewDlg* dialog) {
            previewed = true;
            dialog->reject();
        });
        {
            BoxAnswerer answerer({QMessageBox::Cancel});
            QTest::mouseClick(ui.translateButton, Qt::LeftButton);
            QCOMPARE(answerer.seen.size(), 1);
            QVERIFY(answerer.seen[0].text.contains(QStringLiteral("Translate anyway?")));
            QVERIFY(answerer.seen[0].text.contains(QStringLiteral("Gespeichert %d")));
        }
        QVERIFY(!previewed);
        QCOMPARE(ReadBytes(dir + QStringLiteral("/Main.dfm")), form);

        // Mended, the run goes straight on to its preview.
        QVERIFY(model->setData(model->index(0, 1), QStringLiteral("Gespeichert %s")));
        model->Post();
        {
            BoxAnswerer answerer;
            QTest::mouseClick(ui.translateButton, Qt::LeftButton);
            QVERIFY(previewed);
            QCOMPARE(answerer.seen.size(), 0);
        }
        QCOMPARE(ReadBytes(dir + QStringLiteral("/Main.dfm")), form);
    }
};

QTEST_MAIN(ChecksTest)
#include "checks_test.moc"
