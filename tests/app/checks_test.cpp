// The quality checks in the window: a posted translation is checked at once and its findings show
// as the row's mark tooltip, the Check button checks the whole table and narrows the grid with
// "With warnings", and a dismissed finding stays away until the translation changes.
#include "app/context_panel.h"
#include "app/grid_filter.h"
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTest>

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
};

QTEST_MAIN(ChecksTest)
#include "checks_test.moc"
