// Copy to all languages, delete empty strings and the project filter, driven through the window.
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

struct Record {
    std::string english;
    std::string german;
    std::string project;
};

QStringList Column(const QAbstractItemModel* model, int column) {
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts << model->index(row, column).data().toString();
    }
    return texts;
}

struct FilledBench {
    explicit FilledBench(const std::vector<Record>& records) {
        bench.Show();
        StringsTable& t = table();
        for (const Record& record : records) {
            t.Insert();
            t.SetField("English", record.english);
            t.SetField("German", record.german);
            t.SetField("Project", record.project);
            t.Post();
        }
        t.SetIndexName("English2");
        bench.form.GridModel()->Reload();
        tester = std::make_unique<QAbstractItemModelTester>(
            bench.form.GridModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    StringsTable& table() const { return *bench.form.StringTable(); }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    StringsGridModel* model() const { return bench.form.GridModel(); }
    void Select(int row, int column) const { ui().dbGrid->setCurrentIndex(model()->index(row, column)); }
    void PickProject(const QString& name) const {
        ProjectComboBox* combo = ui().projectCombo;
        emit combo->DropDown();
        const int index = combo->findText(name);
        QVERIFY2(index >= 0, qPrintable(name));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    Workbench bench;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

class RecordCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void copyTakesTheProjectLanguageWhenTheCellIsEmpty() {
        WorkFolder folder;
        FilledBench f({{"Open", "", "Demo"}});
        f.Select(0, 1);
        f.ui().copyToAllAction->trigger();
        for (const FieldDef& field : f.table().Fields()) {
            if (field.kind != FieldKind::Alpha) {
                continue;
            }
            const std::string expected = field.name == "Project" ? "Demo" : "Open";
            QCOMPARE(f.table().FieldAsString(field.name), expected);
        }
        QCOMPARE(f.table().State(), TableState::Browse);
        QCOMPARE(Column(f.model(), 1), QStringList{QStringLiteral("Open")});
    }

    void copyTakesTheSelectedCell() {
        WorkFolder folder;
        FilledBench f({{"Open", "Ouvrir", "Demo"}});
        f.Select(0, 1);
        f.ui().copyToAllAction->trigger();
        QCOMPARE(f.table().FieldAsString("English"), std::string("Ouvrir"));
        QCOMPARE(f.table().FieldAsString("French"), std::string("Ouvrir"));
        QCOMPARE(f.table().FieldAsString("Project"), std::string("Demo"));
    }

    void copyOnAnEmptyTableDoesNothing() {
        WorkFolder folder;
        FilledBench f({});
        f.ui().copyToAllAction->trigger();
        QCOMPARE(f.table().RecordCount(), 0);
        QCOMPARE(f.table().State(), TableState::Browse);
    }

    void deleteEmptyAsksAndCancelKeepsEverything() {
        WorkFolder folder;
        FilledBench f({{"Open", "", "Demo"}, {"Close", "Schließen", "Demo"}});
        BoxAnswerer answerer({QMessageBox::Cancel});
        QTest::mouseClick(f.ui().deleteEmptyButton, Qt::LeftButton);
        QCOMPARE(answerer.seen.size(), 1);
        const SeenBox& box = answerer.seen.first();
        QCOMPARE(box.title, QStringLiteral("Wordloom"));
        QCOMPARE(box.text,
                 QStringLiteral("Are you sure that you want to delete all records, which have an empty "
                                "entry for German?"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(f.table().RecordCount(), 2);
    }

    void deleteEmptyWithOkDeletesTheEmptyOnesIncludingTheLast() {
        WorkFolder folder;
        FilledBench f(
            {{"Alpha", "", "Demo"}, {"Beta", "B", "Demo"}, {"Gamma", "", "Demo"}, {"Zulu", "", "Demo"}});
        BoxAnswerer answerer({QMessageBox::Ok});
        QTest::mouseClick(f.ui().deleteEmptyButton, Qt::LeftButton);
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(Column(f.model(), 0), QStringList{QStringLiteral("Beta")});
        QCOMPARE(f.table().RecordCount(), 1);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(f.ui().deleteEmptyButton->isEnabled());
    }

    void deleteEmptyKeepsTheCurrentRecordAndTheFilledOnes() {
        WorkFolder folder;
        FilledBench f({{"Alpha", "", "Demo"},
                       {"Beta", "B", "Demo"},
                       {"Gamma", "", "Demo"},
                       {"Delta", "D", "Demo"},
                       {"Zulu", "", "Demo"}});
        f.Select(1, 1); // Beta
        BoxAnswerer answerer({QMessageBox::Ok});
        QTest::mouseClick(f.ui().deleteEmptyButton, Qt::LeftButton);
        QCOMPARE(Column(f.model(), 0), (QStringList{QStringLiteral("Beta"), QStringLiteral("Delta")}));
        QCOMPARE(Column(f.model(), 1), (QStringList{QStringLiteral("B"), QStringLiteral("D")}));
        QCOMPARE(f.table().FieldAsString("English"), std::string("Beta"));
        QCOMPARE(f.ui().dbGrid->currentIndex().row(), 0);
        QCOMPARE(f.ui().dbGrid->currentIndex().column(), 1);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        StringsTable stored("strings.db");
        QCOMPARE(stored.RecordCount(), 2);
    }

    void deleteEmptyLeavesOtherProjectsAlone() {
        WorkFolder folder;
        FilledBench f({{"Alpha", "", "P1"}, {"Beta", "", "P2"}, {"Gamma", "G", "P1"}});
        f.PickProject(QStringLiteral("P1"));
        BoxAnswerer answerer({QMessageBox::Ok});
        QTest::mouseClick(f.ui().deleteEmptyButton, Qt::LeftButton);
        QCOMPARE(Column(f.model(), 0), QStringList{QStringLiteral("Gamma")});
        f.PickProject(QStringLiteral(" (All Projects)"));
        QCOMPARE(Column(f.model(), 0), (QStringList{QStringLiteral("Beta"), QStringLiteral("Gamma")}));
    }

    void projectListIsFilledOnceWithoutDuplicates() {
        WorkFolder folder;
        FilledBench f({{"One", "", "A"}, {"Two", "", "B"}, {"Three", "", "a"}, {"Four", "", ""}});
        f.table().SetIndexFieldNames("SpFront"); // all equal: the walk meets them in insertion order
        ProjectComboBox* combo = f.ui().projectCombo;
        emit combo->DropDown();
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i) {
            entries << combo->itemText(i);
        }
        QCOMPARE(entries.first(), QStringLiteral(" (All Projects)"));
        QCOMPARE(entries.size(), 3);
        QVERIFY(entries.contains(QStringLiteral("B")));
        QVERIFY(entries.contains(QStringLiteral("A"), Qt::CaseInsensitive));
        f.table().Insert();
        f.table().SetField("English", "Five");
        f.table().SetField("Project", "C");
        f.table().Post();
        emit combo->DropDown(); // filled once per run
        QCOMPARE(combo->count(), 3);
    }

    void emptyTableLeavesOnlyAllProjectsAndIsWalkedAgain() {
        WorkFolder folder;
        FilledBench f({});
        ProjectComboBox* combo = f.ui().projectCombo;
        emit combo->DropDown();
        QCOMPARE(combo->count(), 1);
        f.table().Insert();
        f.table().SetField("English", "Late");
        f.table().SetField("Project", "Later");
        f.table().Post();
        emit combo->DropDown();
        QCOMPARE(combo->count(), 2);
    }

    void choosingAProjectShowsExactlyItsRecords() {
        WorkFolder folder;
        FilledBench f({{"One", "", "A"}, {"Two", "", "B"}, {"Three", "", "A;B"}, {"Four", "", "C"}});
        f.PickProject(QStringLiteral("B"));
        QCOMPARE(Column(f.model(), 0), QStringList{QStringLiteral("Two")});
        f.PickProject(QStringLiteral(" (All Projects)"));
        QCOMPARE(f.model()->rowCount(), 4);
    }

    void downFromARecordThatLeftTheProjectGoesToTheOneBelowIt() {
        WorkFolder folder;
        FilledBench f({{"Alpha", "", "P1"}, {"Beta", "", "P1"}, {"Gamma", "", "P1"}, {"Delta", "", "P2"}});
        f.PickProject(QStringLiteral("P1"));
        QTest::mouseClick(f.ui().adminButton, Qt::LeftButton);
        StringsGrid* grid = f.ui().dbGrid;
        grid->setFocus();
        f.Select(0, 4);
        QVERIFY(f.model()->setData(f.model()->index(0, 4), QStringLiteral("P2"))); // Alpha moves to P2
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(Column(f.model(), 0), (QStringList{QStringLiteral("Beta"), QStringLiteral("Gamma")}));
        QCOMPARE(f.table().FieldAsString("English"), std::string("Beta"));
        QCOMPARE(grid->currentIndex().row(), 0);
    }

    void projectWithAnApostropheFilters() {
        WorkFolder folder;
        FilledBench f({{"One", "", "O'Brien"}, {"Two", "", "Other"}});
        f.PickProject(QStringLiteral("O'Brien"));
        QCOMPARE(Column(f.model(), 0), QStringList{QStringLiteral("One")});
    }
};

QTEST_MAIN(RecordCommandsTest)
#include "record_commands_test.moc"
