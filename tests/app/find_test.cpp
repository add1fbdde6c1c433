// The find bar and the record filter: narrowing as one types, letter case and accents ignored, the
// state filter combined with the find text and the project, the count of records shown, stepping
// through matches, and edits and deletes on a narrowed grid landing on the records shown.
#include "app/find_bar.h"
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "strings_db/find_index.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

using Record = TextRecord;

struct FindBench {
    explicit FindBench(std::initializer_list<Record> records) {
        bench.Show();
        StringsTable& t = table();
        AddRecords(t, records);
        model()->Reload();
        tester = std::make_unique<QAbstractItemModelTester>(
            model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    StringsGridModel* model() const { return bench.form.GridModel(); }
    StringsGrid* grid() const { return ui().dbGrid; }
    StringsTable& table() const { return *bench.form.StringTable(); }
    QString count() const { return ui().recordCount->text(); }

    /// Ctrl+F, then the text typed key by key.
    void Find(const QString& text) {
        ui().findAction->trigger();
        QLineEdit* edit = ui().findBar->Edit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    void ChooseState(int entry) {
        ui().recordFilter->setCurrentIndex(entry);
        emit ui().recordFilter->activated(entry);
    }
    QString GermanOf(const char* english) const {
        StringsTable& t = table();
        const std::string order = t.IndexName();
        t.SetIndexFieldNames("English");
        const QString german = t.FindKey(english) ? QString::fromStdString(t.FieldAsString("German"))
                                                  : QStringLiteral("(missing)");
        t.SetIndexName(order);
        return german;
    }

    Workbench bench;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

const std::initializer_list<Record> Sample = {
    {"Open", "Öffnen"}, {"Close", "Schließen"}, {"Save", ""}, {"Size", "Größe"}, {"Office", ""}};

} // namespace

class FindTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void foldingIgnoresCaseAndAccentsBeyondAscii_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("found");
        QTest::newRow("ascii case") << QStringLiteral("Open File") << QStringLiteral("open f") << true;
        QTest::newRow("umlaut") << QStringLiteral("Öffnen") << QStringLiteral("OFF") << true;
        QTest::newRow("sharp s both ways") << QStringLiteral("Größe") << QStringLiteral("GROSSE") << true;
        QTest::newRow("capital sharp s") << QStringLiteral("GRÖẞE") << QStringLiteral("grosse") << true;
        QTest::newRow("accents") << QStringLiteral("Élément créé") << QStringLiteral("element cree") << true;
        QTest::newRow("greek final sigma") << QStringLiteral("ΣΊΣΥΦΟΣ") << QStringLiteral("σίσυφος") << true;
        QTest::newRow("cyrillic") << QStringLiteral("ФАЙЛ") << QStringLiteral("файл") << true;
        QTest::newRow("ligature") << QStringLiteral("ﬁle") << QStringLiteral("FILE") << true;
        QTest::newRow("different letters") << QStringLiteral("Öffnen") << QStringLiteral("offen") << false;
    }
    void foldingIgnoresCaseAndAccentsBeyondAscii() {
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(bool, found);
        const std::string haystack = FoldForFind(text.toStdString());
        QCOMPARE(haystack.find(FoldForFind(needle.toStdString())) != std::string::npos, found);
    }

    void findNarrowsAsOneTypesAndCountsWhatIsShown() {
        WorkFolder folder;
        FindBench f(Sample);
        QCOMPARE(f.count(), QStringLiteral("5 records"));
        QVERIFY(f.ui().findBar->isHidden());
        f.Find(QStringLiteral("O"));
        QVERIFY(!f.ui().findBar->isHidden());
        // "o" is in Close, Open, Office, and in Öffnen and Größe once the accents are ignored.
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close", "Office", "Open", "Size"}));
        QCOMPARE(f.count(), QStringLiteral("4 of 5 records"));
        QTest::keyClicks(f.ui().findBar->Edit(), QStringLiteral("FF"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Office", "Open"}));
        QCOMPARE(f.count(), QStringLiteral("2 of 5 records"));
        QCOMPARE(QString::fromStdString(f.table().FieldAsString("English")), QStringLiteral("Office"));
        QCOMPARE(f.model()->CurrentRow(), 0);
        // Taking letters back widens again.
        QTest::keyClick(f.ui().findBar->Edit(), Qt::Key_Backspace);
        QTest::keyClick(f.ui().findBar->Edit(), Qt::Key_Backspace);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close", "Office", "Open", "Size"}));

        // One column only: "grosse" is German, not English.
        f.Find(QStringLiteral("grosse"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Size"}));
        f.ui().findBar->Scope()->setCurrentIndex(1);
        QCOMPARE(f.model()->rowCount(), 0);
        QCOMPARE(f.count(), QStringLiteral("0 of 5 records"));
        f.ui().findBar->Scope()->setCurrentIndex(2);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Size"}));

        // Esc closes the bar and shows everything again.
        QTest::keyClick(f.ui().findBar->Edit(), Qt::Key_Escape);
        QVERIFY(f.ui().findBar->isHidden());
        QCOMPARE(f.model()->rowCount(), 5);
        QCOMPARE(f.count(), QStringLiteral("5 records"));
    }

    void stateFilterCombinesWithFindAndProject() {
        WorkFolder folder;
        FindBench f({{"Open", "Öffnen", "A"},
                     {"Close", "", "A"},
                     {"Cancel", "", "B"},
                     {"Copy", "Kopieren", "B"},
                     {"Paste", "", "A"}});
        f.ChooseState(1); // untranslated
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Cancel", "Close", "Paste"}));
        f.Find(QStringLiteral("c"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Cancel", "Close"}));
        f.ui().projectCombo->showPopup(); // fills the list
        f.ui().projectCombo->hidePopup();
        const int a = f.ui().projectCombo->findText(QStringLiteral("A"));
        QVERIFY(a > 0);
        f.ui().projectCombo->setCurrentIndex(a);
        emit f.ui().projectCombo->activated(a);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close"}));
        QCOMPARE(f.count(), QStringLiteral("1 of 3 records"));
        f.ChooseState(2); // translated
        QCOMPARE(GridColumn(f.model(), 0), QStringList{});
        f.ui().findBar->Close();
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Open"}));
        f.ChooseState(0);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close", "Open", "Paste"}));
    }

    void postedEditUnderAFilterLandsOnItsRecordAndLeavesTheView() {
        WorkFolder folder;
        FindBench f(Sample);
        f.ChooseState(1);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Office", "Save"}));
        // Typed into the row of Office, then moved down: the text goes to Office, which is no
        // longer untranslated and leaves the view; Save is then the only row.
        const QModelIndex cell = f.model()->index(0, 1);
        f.grid()->setCurrentIndex(cell);
        QVERIFY(f.model()->setData(cell, QStringLiteral("Büro")));
        QCOMPARE(f.model()->rowCount(), 2); // not posted yet: it stays
        f.grid()->setCurrentIndex(f.model()->index(1, 1));
        QCOMPARE(f.table().State(), TableState::Browse);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Save"}));
        QCOMPARE(f.count(), QStringLiteral("1 of 5 records"));
        QCOMPARE(QString::fromStdString(f.table().FieldAsString("English")), QStringLiteral("Save"));
        QCOMPARE(f.GermanOf("Office"), QStringLiteral("Büro"));
        QCOMPARE(f.GermanOf("Save"), QString());

        // An edit that keeps the record in the view keeps it on its row, with the new text found.
        f.ChooseState(0);
        f.Find(QStringLiteral("s"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close", "Save", "Size"}));
        const QModelIndex close = f.model()->index(0, 1);
        f.grid()->setCurrentIndex(close);
        QVERIFY(f.model()->setData(close, QStringLiteral("Zumachen")));
        f.model()->Post();
        QCOMPARE(GridColumn(f.model(), 1), Texts({"Zumachen", "", "Größe"}));
        f.Find(QStringLiteral("zuma"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close"}));
    }

    void deleteOnANarrowedGridDeletesTheRecordShown() {
        WorkFolder folder;
        FindBench f(Sample);
        f.Find(QStringLiteral("s"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close", "Save", "Size"}));
        f.grid()->setCurrentIndex(f.model()->index(1, 0));
        QCOMPARE(QString::fromStdString(f.table().FieldAsString("English")), QStringLiteral("Save"));
        f.model()->Delete();
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close", "Size"}));
        QCOMPARE(f.GermanOf("Save"), QStringLiteral("(missing)"));
        QCOMPARE(f.GermanOf("Office"), QString()); // still there
        QCOMPARE(f.count(), QStringLiteral("2 of 4 records"));
        f.ui().findBar->Close();
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close", "Office", "Open", "Size"}));
    }

    void insertOnANarrowedGridPostsTheNewRecord() {
        WorkFolder folder;
        FindBench f(Sample);
        f.Find(QStringLiteral("sa"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Save"}));
        f.model()->Insert();
        QVERIFY(f.model()->setData(f.model()->index(0, 0), QStringLiteral("Save as")));
        f.model()->Post();
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Save", "Save as"}));
        QCOMPARE(f.GermanOf("Save as"), QString());
        QCOMPARE(f.count(), QStringLiteral("2 of 6 records"));
    }

    void windowRemembersSizeOrderAndFilters() {
        WorkFolder folder;
        {
            FindBench f(
                {{"Open", "Öffnen", "A"}, {"Close", "", "A"}, {"Cancel", "", "B"}, {"Paste", "", "A"}});
            f.bench.form.resize(900, 640);
            f.grid()->SetLeftShare(0.25);
            f.table().SetIndexFieldNames("German");
            f.model()->Reload();
            f.ui().projectCombo->showPopup();
            f.ui().projectCombo->hidePopup();
            const int a = f.ui().projectCombo->findText(QStringLiteral("A"));
            f.ui().projectCombo->setCurrentIndex(a);
            emit f.ui().projectCombo->activated(a);
            f.ChooseState(1);
            QCOMPARE(f.model()->rowCount(), 2);
            f.bench.form.close();
        }
        Workbench again;
        again.Show();
        const MainFormUi& ui = again.form.Ui();
        QCOMPARE(again.form.size(), QSize(900, 640));
        QCOMPARE(again.form.StringTable()->IndexFieldNames(), std::string("German"));
        QCOMPARE(ui.projectCombo->currentText(), QStringLiteral("A"));
        QCOMPARE(ui.recordFilter->currentIndex(), 1);
        QCOMPARE(GridColumn(again.form.GridModel(), 0), Texts({"Close", "Paste"}));
        QCOMPARE(ui.dbGrid->LeftShare(), 0.25);
        // The restored project does not stop the list from being filled from the table.
        ui.projectCombo->showPopup();
        ui.projectCombo->hidePopup();
        QCOMPARE(ui.projectCombo->count(), 3);
    }

    void f3StepsThroughMatchesWithoutNarrowing() {
        WorkFolder folder;
        FindBench f(Sample);
        f.Find(QStringLiteral("s"));
        f.ui().findBar->NarrowBox()->setChecked(false);
        QCOMPARE(f.model()->rowCount(), 5);
        QCOMPARE(f.count(), QStringLiteral("5 records"));
        const auto current = [&] { return QString::fromStdString(f.table().FieldAsString("English")); };
        f.grid()->setCurrentIndex(f.model()->index(0, 0)); // Close
        f.ui().findNextAction->trigger();
        QCOMPARE(current(), QStringLiteral("Save")); // Office and Open hold no "s"
        f.ui().findNextAction->trigger();
        QCOMPARE(current(), QStringLiteral("Size"));
        f.ui().findNextAction->trigger();
        QCOMPARE(current(), QStringLiteral("Close")); // wraps around
        f.ui().findPreviousAction->trigger();
        QCOMPARE(current(), QStringLiteral("Size"));
        QCOMPARE(f.grid()->currentIndex().row(), 4);
        // Enter in the bar steps too, Shift+Enter back.
        QTest::keyClick(f.ui().findBar->Edit(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(current(), QStringLiteral("Save"));
    }
};

QTEST_MAIN(FindTest)
#include "find_test.moc"
