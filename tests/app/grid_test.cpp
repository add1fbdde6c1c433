// The grid over the strings table: model consistency, editing in place, ordering, the record
// commands that work in the grid itself.
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

/// The texts of one grid column, top to bottom.
QStringList Column(const QAbstractItemModel* model, int column) {
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts << model->index(row, column).data().toString();
    }
    return texts;
}

/// Adds records English/German through the table, as typing and posting would.
void AddRecords(StringsTable& table, std::initializer_list<std::pair<std::string, std::string>> records,
                const std::string& project = "Demo") {
    for (const auto& [english, german] : records) {
        table.Insert();
        table.SetField("English", english);
        table.SetField("German", german);
        table.SetField("Project", project);
        table.SetFieldInt("SpFront", 0);
        table.SetFieldInt("SpEnd", 0);
        table.Post();
    }
}

/// A shown workbench over a table with the given records, ordered by English.
struct FilledBench {
    explicit FilledBench(std::initializer_list<std::pair<std::string, std::string>> records) {
        bench.Show();
        StringsTable& table = *bench.form.StringTable();
        AddRecords(table, records);
        table.SetIndexName("English2");
        model()->Reload();
        tester = std::make_unique<QAbstractItemModelTester>(
            model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    StringsGridModel* model() const { return bench.form.GridModel(); }
    StringsGrid* grid() const { return bench.form.Ui().dbGrid; }
    StringsTable& table() const { return *bench.form.StringTable(); }

    Workbench bench;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

/// The grid's open cell editor, or null.
QLineEdit* OpenEditor(const StringsGrid* grid) {
    for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>()) {
        if (editor->isVisible()) {
            return editor;
        }
    }
    return nullptr;
}

void TypeIntoCell(StringsGrid* grid, int row, int column, const QString& text) {
    const QModelIndex index = grid->model()->index(row, column);
    grid->setCurrentIndex(index);
    grid->edit(index);
    QLineEdit* editor = OpenEditor(grid);
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits the editor's text through a queued call
}

/// Types as a keyboard does: each key goes to the widget that has the focus at that moment.
void Type(const QString& text) {
    for (const QChar c : text) {
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
}

void PressKey(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    QCoreApplication::processEvents(); // the delegate commits and closes its editor through a queued call
}

} // namespace

class GridTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void gridShowsTheTableThroughTheCursor() {
        WorkFolder folder;
        FilledBench f({{"Open", "Öffnen"}, {"Close", "Schließen"}, {"Save", ""}});
        QCOMPARE(f.model()->rowCount(), 3);
        QCOMPARE(Column(f.model(), 0),
                 (QStringList{QStringLiteral("Close"), QStringLiteral("Open"), QStringLiteral("Save")}));
        QCOMPARE(Column(f.model(), 1),
                 (QStringList{QStringLiteral("Schließen"), QStringLiteral("Öffnen"), QString()}));
        QCOMPARE(f.model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
        QVERIFY(f.model()->headerData(1, Qt::Vertical).toString().isEmpty());
    }

    void editingACellPostsOnLeavingTheRow() {
        WorkFolder folder;
        FilledBench f({{"Close", ""}, {"Open", ""}});
        f.bench.form.activateWindow();
        TypeIntoCell(f.grid(), 1, 1, QStringLiteral("Öffnen"));
        QCOMPARE(f.table().State(), TableState::Edit); // still on the row: not posted
        QCOMPARE(f.model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("I"));
        QCOMPARE(QString::fromStdString(f.table().FieldAt(1, "German")), QString()); // stored value unchanged
        f.grid()->setCurrentIndex(f.model()->index(0, 1));                           // leave the row
        QCOMPARE(f.table().State(), TableState::Browse);
        f.table().SetRecNo(1);
        QCOMPARE(QString::fromStdString(f.table().FieldAsString("German")), QStringLiteral("Öffnen"));
        QCOMPARE(Column(f.model(), 1), (QStringList{QString(), QStringLiteral("Öffnen")}));
    }

    void postKeepsTheRecordOnItsRow() {
        WorkFolder folder;
        FilledBench f({{"Alpha", ""}, {"Beta", ""}, {"Gamma", ""}});
        BoxAnswerer boxes({QMessageBox::Ok}); // the project-language column asks before its first edit
        TypeIntoCell(f.grid(), 0, 0, QStringLiteral("Zulu"));
        QCOMPARE(boxes.seen.size(), std::size_t{1});
        f.model()->Post();
        QCOMPARE(Column(f.model(), 0),
                 (QStringList{QStringLiteral("Zulu"), QStringLiteral("Beta"), QStringLiteral("Gamma")}));
        QCOMPARE(f.model()->CurrentRow(), 0);
        QCOMPARE(f.grid()->currentIndex().row(), 0);
    }

    void typedTranslationsLandOnTheRowsTheyWereTypedInto() {
        WorkFolder folder;
        // As after Collect: ordered by the translation, the untranslated records on top.
        FilledBench f(
            {{"Don't panic", ""}, {"This long caption", ""}, {"Open", ""}, {"Close", "Schliessen"}});
        f.table().SetIndexFieldNames("German");
        f.model()->Reload();
        const QStringList shown = Column(f.model(), 0);
        QCOMPARE(shown.first(), QStringLiteral("Don't panic"));
        f.bench.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.bench.form));
        f.grid()->setFocus();
        f.grid()->setCurrentIndex(f.model()->index(0, 1));
        for (const char* text : {"Keine Panik", "Beschriftung", "Offen"}) {
            Type(QString::fromLatin1(text));
            PressKey(Qt::Key_Return);
            PressKey(Qt::Key_Down);
        }
        // Each text went into the record that stood on its row when it was typed; the rows keep
        // their records until the grid is ordered again.
        QCOMPARE(Column(f.model(), 0), shown);
        QCOMPARE(Column(f.model(), 1),
                 (QStringList{QStringLiteral("Keine Panik"), QStringLiteral("Beschriftung"),
                              QStringLiteral("Offen"), QStringLiteral("Schliessen")}));
        QCOMPARE(f.grid()->currentIndex().row(), 3);
        QCOMPARE(f.model()->CurrentRow(), 3);
        QCOMPARE(f.table().State(), TableState::Browse);
        const auto germanOf = [&](const char* english) {
            StringsTable& table = f.table();
            table.SetIndexFieldNames("English");
            const bool found = table.FindKey(english);
            return found ? QString::fromStdString(table.FieldAsString("German"))
                         : QStringLiteral("(missing)");
        };
        QCOMPARE(germanOf("Don't panic"), QStringLiteral("Keine Panik"));
        QCOMPARE(germanOf("This long caption"), QStringLiteral("Beschriftung"));
        QCOMPARE(germanOf("Open"), QStringLiteral("Offen"));
        QCOMPARE(germanOf("Close"), QStringLiteral("Schliessen"));

        // Ordering by the title sorts the posted records in.
        QTest::mouseClick(f.grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(f.grid()->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(Column(f.model(), 1),
                 (QStringList{QStringLiteral("Beschriftung"), QStringLiteral("Keine Panik"),
                              QStringLiteral("Offen"), QStringLiteral("Schliessen")}));
    }

    void insertAndCancelThroughTheModel() {
        WorkFolder folder;
        FilledBench f({{"Alpha", ""}, {"Beta", ""}});
        f.grid()->setCurrentIndex(f.model()->index(1, 0));
        f.model()->Insert();
        QCOMPARE(f.model()->rowCount(), 3);
        QCOMPARE(f.model()->CurrentRow(), 1);
        QCOMPARE(f.model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("*"));
        f.model()->Cancel();
        QCOMPARE(f.model()->rowCount(), 2);
        f.model()->Insert();
        QVERIFY(f.model()->setData(f.model()->index(f.model()->CurrentRow(), 0), QStringLiteral("Middle")));
        f.model()->Post();
        QCOMPARE(f.table().RecordCount(), 3);
        QCOMPARE(Column(f.model(), 0),
                 (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Middle")}));
    }

    void leavingAnUntouchedInsertDropsIt() {
        WorkFolder folder;
        FilledBench f({{"Alpha", ""}, {"Beta", ""}});
        f.grid()->setCurrentIndex(f.model()->index(0, 0));
        f.model()->Insert();
        QCOMPARE(f.model()->rowCount(), 3);
        f.grid()->setCurrentIndex(f.model()->index(2, 0)); // leave the new row for Beta, typing nothing
        QCOMPARE(f.table().State(), TableState::Browse);
        QCOMPARE(f.table().RecordCount(), 2);
        QCOMPARE(f.model()->rowCount(), 2);
        QCOMPARE(QString::fromStdString(f.table().FieldAsString("English")), QStringLiteral("Beta"));
        QCOMPARE(f.grid()->currentIndex().row(), 1);
    }

    void clickIntoAnEmptyCellOpensTheEditor() {
        WorkFolder folder;
        FilledBench f({{"Open", ""}, {"Close", "Schließen"}});
        const QModelIndex empty = f.model()->index(1, 1);
        QCOMPARE(empty.data().toString(), QString());
        const QRect cell = f.grid()->visualRect(empty);
        QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY((OpenEditor(f.grid()) != nullptr));
        QTest::keyClick(OpenEditor(f.grid()), Qt::Key_Escape);
        QVERIFY(!(OpenEditor(f.grid()) != nullptr));
        const QModelIndex filled = f.model()->index(0, 1);
        QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, f.grid()->visualRect(filled).center());
        QVERIFY(!(OpenEditor(f.grid()) != nullptr));
    }

    void tabMovesBetweenCells() {
        WorkFolder folder;
        FilledBench f({{"Open", ""}});
        f.grid()->setFocus();
        f.grid()->setCurrentIndex(f.model()->index(0, 0));
        QTest::keyClick(f.grid(), Qt::Key_Tab);
        QCOMPARE(f.grid()->currentIndex().column(), 1);
    }

    void titleClickOrdersByTheColumnAndGoesToTheStart() {
        WorkFolder folder;
        FilledBench f({{"Apple", "Zebra"}, {"Berry", ""}, {"Cherry", "Apfel"}});
        f.grid()->setCurrentIndex(f.model()->index(2, 0));
        QTest::mouseClick(f.grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(f.grid()->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
        const QStringList german = Column(f.model(), 1);
        QCOMPARE(german.size(), 3);
        // Records without a translation lie together at one end; the others in order.
        QVERIFY(german.first().isEmpty() || german.last().isEmpty());
        QStringList filled = german;
        filled.removeAll(QString());
        QCOMPARE(filled, (QStringList{QStringLiteral("Apfel"), QStringLiteral("Zebra")}));
        QCOMPARE(f.table().RecNo(), 0);
        QCOMPARE(f.grid()->currentIndex().row(), 0);
    }

    void adminColumnsComeThreeAtATime() {
        WorkFolder folder;
        FilledBench f({{"Open", ""}});
        QToolButton* admin = f.bench.form.Ui().adminButton;
        QTest::mouseClick(admin, Qt::LeftButton);
        QCOMPARE(f.model()->columnCount(), 5);
        QTest::mouseClick(admin, Qt::LeftButton);
        QCOMPARE(f.model()->columnCount(), 8);
        QStringList titles;
        for (int c = 2; c < 8; ++c) {
            titles << f.model()->headerData(c, Qt::Horizontal).toString();
        }
        QCOMPARE(titles, (QStringList{QStringLiteral("SpFront"), QStringLiteral("SpEnd"),
                                      QStringLiteral("Project"), QStringLiteral("SpFront"),
                                      QStringLiteral("SpEnd"), QStringLiteral("Project")}));
        QCOMPARE(f.model()->index(0, 4).data().toString(), QStringLiteral("Demo"));
        QCOMPARE(f.model()->index(0, 2).data().toString(), QStringLiteral("0"));
        QVERIFY(!f.model()->setData(f.model()->index(0, 2), QStringLiteral("two"))); // not a number
        QVERIFY(f.model()->setData(f.model()->index(0, 2), QStringLiteral("2")));
        f.model()->Post();
        QCOMPARE(f.table().FieldAsInteger("SpFront"), 2);
    }

    void shiftDeleteDeletesDeleteAloneDoesNot() {
        WorkFolder folder;
        FilledBench f({{"Alpha", ""}, {"Beta", ""}, {"Gamma", ""}});
        f.grid()->setFocus();
        f.grid()->setCurrentIndex(f.model()->index(1, 0));
        QTest::keyClick(f.grid(), Qt::Key_Delete);
        QCOMPARE(f.table().RecordCount(), 3);
        QTest::keyPress(f.grid(), Qt::Key_Delete, Qt::ShiftModifier);
        QTest::keyRelease(f.grid(), Qt::Key_Delete, Qt::NoModifier); // Shift let go first
        QCOMPARE(f.table().RecordCount(), 3);
        QTest::keyClick(f.grid(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(f.table().RecordCount(), 2);
        QCOMPARE(Column(f.model(), 0), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Gamma")}));
    }

    void languageColumnsShareTheWidth() {
        WorkFolder folder;
        FilledBench f({{"Open", "Öffnen"}});
        StringsGrid* grid = f.grid();
        const auto columnsFill = [grid] {
            int sum = 0;
            for (int column = 0; column < grid->model()->columnCount(); ++column) {
                sum += grid->columnWidth(column);
            }
            return sum == grid->viewport()->width();
        };
        f.bench.form.resize(1600, 1000);
        QTRY_VERIFY(columnsFill());
        QVERIFY(grid->viewport()->width() > 1000);
        QVERIFY2(qAbs(grid->columnWidth(0) - grid->columnWidth(1)) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(grid->columnWidth(0)).arg(grid->columnWidth(1))));
        // The user widens the left column: the right one takes what is left.
        grid->horizontalHeader()->resizeSection(0, 900);
        QCOMPARE(grid->columnWidth(0), 900);
        QVERIFY(columnsFill());
        // The window shrinks: both keep their share.
        f.bench.form.resize(900, 600);
        QTRY_VERIFY(columnsFill());
        QVERIFY(grid->columnWidth(0) > grid->columnWidth(1));
        // The administrative columns keep their widths; the languages share the rest.
        QTest::mouseClick(f.bench.form.Ui().adminButton, Qt::LeftButton);
        QCOMPARE(grid->model()->columnCount(), 5);
        QTRY_VERIFY(columnsFill());
        QCOMPARE(grid->columnWidth(2), grid->horizontalHeader()->defaultSectionSize());
    }

    void cutOffCellShowsItsWholeTextAsTooltip() {
        WorkFolder folder;
        const QString longText =
            QStringLiteral("This long caption runs on far beyond what any column of the grid "
                           "shows on an ordinary screen, so it is cut off");
        FilledBench f({{"Open", "Öffnen"}, {longText.toStdString(), "Lang"}, {"Two\nlines", "Zwei"}});
        f.bench.form.resize(800, 600);
        QCoreApplication::processEvents();
        StringsGrid* grid = f.grid();
        const QModelIndex cut = f.model()->index(1, 0);
        QCOMPARE(cut.data().toString(), longText);
        QCOMPARE(grid->CellToolTip(cut), longText);
        QCOMPARE(grid->CellToolTip(f.model()->index(0, 0)), QString());
        QCOMPARE(grid->CellToolTip(f.model()->index(0, 1)), QString());
        QCOMPARE(grid->CellToolTip(f.model()->index(2, 0)), QStringLiteral("Two\nlines"));
        const QPoint at = grid->visualRect(cut).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), longText);
        QToolTip::hideText();
    }

    void orderedColumnShowsTheSortIndicator() {
        WorkFolder folder;
        FilledBench f({{"Open", "Öffnen"}, {"Close", "Schließen"}});
        QHeaderView* header = f.grid()->horizontalHeader();
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), 0); // English2, the project language's order
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(header->sortIndicatorSection(), 1);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(header->sortIndicatorSection(), 1);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder); // ordered again, not reversed
        f.table().SetIndexFieldNames("SpFront");                    // a field no column shows
        f.model()->Reload();
        QVERIFY(header->sortIndicatorSection() < 0 || header->sortIndicatorSection() >= 2);
    }

    void languageChoiceRebindsTheColumnsAndKeepsTheirCharsets() {
        WorkFolder folder;
        FilledBench f({{"Open", "Öffnen"}});
        f.model()->SetColumnCharset(1, 204);
        QComboBox* trans = f.bench.form.Ui().transCombo;
        const int french = trans->findText(QStringLiteral("French"));
        QVERIFY(french >= 0);
        trans->setCurrentIndex(french);
        emit trans->activated(french);
        QCOMPARE(f.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("French"));
        QCOMPARE(f.model()->ColumnCharset(1), 204);
        QVERIFY(f.model()->index(0, 1).data().toString().isEmpty());
    }
};

QTEST_MAIN(GridTest)
#include "grid_test.moc"
