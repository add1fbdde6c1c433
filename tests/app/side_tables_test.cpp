// The window on the side tables: the statistics in the status bar, the filters by review state and
// by where-used, Delete unused, and the state column with its shortcuts.
#include "app/background_read.h"
#include "app/find_bar.h"
#include "app/grid_filter.h"
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid_model.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/progress_panel.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QUndoStack>
#include <atomic>
#include <map>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

using Record = TextRecord;

struct SideBench {
    explicit SideBench(std::initializer_list<Record> records) {
        bench.Show();
        StringsTable& t = table();
        AddRecords(t, records);
        model()->Reload();
        Settle();
    }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    StringsGridModel* model() const { return bench.form.GridModel(); }
    StringsTable& table() const { return *bench.form.StringTable(); }
    QString statistics() const {
        auto* label = bench.form.findChild<QLabel*>(QStringLiteral("Statistics"));
        return label == nullptr ? QStringLiteral("(no label)") : label->text();
    }
    static void Settle() { QCoreApplication::processEvents(); }

    void ChooseProject(const QString& name) {
        ui().projectCombo->showPopup(); // fills the list
        ui().projectCombo->hidePopup();
        const int at = ui().projectCombo->findText(name);
        QVERIFY(at >= 0);
        ui().projectCombo->setCurrentIndex(at);
        emit ui().projectCombo->activated(at);
        Settle();
    }
    void ChooseFilter(RecordStateFilter state) {
        const int at = ui().recordFilter->findData(static_cast<int>(state));
        QVERIFY(at >= 0);
        ui().recordFilter->setCurrentIndex(at);
        emit ui().recordFilter->activated(at);
        Settle();
    }
    void Used(const char* project, std::initializer_list<const char*> texts) {
        std::vector<Occurrence> rows;
        int line = 0;
        for (const char* text : texts) {
            rows.push_back({project, "Unit1.pas", ++line, "Unit1", "", "English", text});
        }
        table().Side().ReplaceFileOccurrences(project, "Unit1.pas", rows);
    }
    void SetState(const char* english, ReviewState state) {
        table().Side().SetReview({"English", english, "German", state, "", 0});
    }

    Workbench bench;
};

} // namespace

class SideTablesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void statusBarCountsTheShownProjectAndFollowsEdits() {
        WorkFolder folder;
        SideBench f({{"Open file", "Datei öffnen", "A"},
                     {"Close", "", "A"},
                     {"Save all now", "Alles speichern", "A;B"},
                     {"Quit", "Beenden", "B"}});
        // Every project: 3 of 4 texts, 6 of 7 words.
        QTRY_COMPARE(f.statistics(), QStringLiteral("German: 3 of 4 texts, 6 of 7 words (75%)"));
        f.ChooseProject(QStringLiteral("A"));
        QTRY_COMPARE(f.statistics(), QStringLiteral("German: 2 of 3 texts, 5 of 6 words (66%)"));
        // A suggested translation is not done yet.
        f.SetState("Open file", ReviewState::Suggested);
        f.model()->Reload();
        f.Settle();
        QTRY_COMPARE(f.statistics(), QStringLiteral("German: 1 of 3 texts, 3 of 6 words (33%)"));
        // Typing a translation into the grid counts at once; undoing it takes it back.
        const QModelIndex close = f.model()->index(0, 1);
        QCOMPARE(f.model()->index(0, 0).data().toString(), QStringLiteral("Close"));
        QVERIFY(f.model()->setData(close, QStringLiteral("Schließen")));
        f.model()->Post();
        f.Settle();
        QTRY_COMPARE(f.statistics(), QStringLiteral("German: 2 of 3 texts, 4 of 6 words (66%)"));
        f.bench.form.UndoStack()->undo();
        f.Settle();
        QTRY_COMPARE(f.statistics(), QStringLiteral("German: 1 of 3 texts, 3 of 6 words (33%)"));
    }

    void rowMarksAgreeWithTheStatesTheFiltersRead() {
        WorkFolder folder;
        SideBench f(
            {{"Close", "Schließen", "A"}, {"Open", "", "A"}, {"Quit", "Beenden", "A"}, {"Save", "", "A"}});
        f.SetState("Quit", ReviewState::Suggested);
        f.SetState("Save", ReviewState::DontTranslate);
        f.SetState("Close", ReviewState::New); // a stored "new" beside a translation shows translated
        f.model()->Reload();
        f.Settle();
        const auto marks = [&f] {
            QStringList shown;
            for (int row = 0; row < f.model()->rowCount(); ++row) {
                // The first line: a check's warning may follow it.
                shown << f.model()
                             ->headerData(row, Qt::Vertical, Qt::ToolTipRole)
                             .toString()
                             .section(u'\n', 0, 0);
            }
            return shown;
        };
        const QStringList expected{QStringLiteral("Translated"), QStringLiteral("New"),
                                   QStringLiteral("Suggested (needs a look)"),
                                   QStringLiteral("Don't translate")};
        QCOMPARE(marks(), expected);
        // A filter reads every state of the view; the marks then come from that read.
        f.ChooseFilter(RecordStateFilter::Suggested);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Quit"}));
        f.ChooseFilter(RecordStateFilter::All);
        QCOMPARE(marks(), expected);
        // Edits follow either way: with every state read, and after a reload without.
        QVERIFY(f.model()->setData(f.model()->index(1, 1), QStringLiteral("Öffnen")));
        f.model()->Post();
        QCOMPARE(marks().at(1), QStringLiteral("Translated"));
        f.model()->Reload();
        QVERIFY(f.model()->setData(f.model()->index(0, 1), QString()));
        f.model()->Post();
        QCOMPARE(marks().at(0), QStringLiteral("New"));
        f.ChooseFilter(RecordStateFilter::DontTranslate);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Save"}));
    }

    void statisticsFollowAnotherProgramsWrites() {
        WorkFolder folder;
        SideBench f({{"Open file", "", "A"}, {"Close", "", "A"}});
        QTRY_COMPARE(f.statistics(), QStringLiteral("German: 0 of 2 texts, 0 of 3 words (0%)"));
        {
            StringsTable other("strings.db"); // the current folder is the work folder
            other.SetIndexFieldNames("English");
            QVERIFY(other.FindKey("Close"));
            other.Edit();
            other.SetField("German", "Schließen");
            other.Post();
        }
        f.model()->Reload(); // as the window does when it sees the file change
        f.Settle();
        QTRY_COMPARE(f.statistics(), QStringLiteral("German: 1 of 2 texts, 1 of 3 words (50%)"));
    }

    void aNewerBackgroundReadStopsTheOlderAndTheEndStopsAll() {
        WorkFolder folder;
        const std::string path = folder.Path(QStringLiteral("strings.db")).toStdString();
        std::atomic<int> stopsSeen{0};
        // Runs until told to stop (or 10 s, so a fault fails the test instead of hanging it).
        const auto untilStopped = [&stopsSeen](StringsTable&, const std::atomic<bool>& stop) {
            for (int i = 0; i < 10'000 && !stop; ++i) {
                QThread::msleep(1);
            }
            stopsSeen += stop ? 1 : 0;
        };
        QStringList done;
        auto read = std::make_unique<BackgroundRead>();
        read->Start(path, untilStopped, [&done](const std::string&) { done << QStringLiteral("first"); });
        std::atomic<int> records{-1};
        read->Start(
            path,
            [&records](StringsTable& table, const std::atomic<bool>&) { records = table.RecordCount(); },
            [&done](const std::string& failure) { done << QString::fromStdString("second " + failure); });
        QTRY_COMPARE(done, QStringList{QStringLiteral("second ")});
        QVERIFY(records >= 0);
        QCOMPARE(stopsSeen.load(), 1);
        // A table that cannot be opened is told as a failure.
        read->Start(
            folder.Path(QStringLiteral("missing.db")).toStdString(),
            [](StringsTable&, const std::atomic<bool>&) {},
            [&done](const std::string& failure) { done << QString::fromStdString(failure); });
        QTRY_COMPARE(done.size(), 2);
        QVERIFY(done.back().contains(QStringLiteral("missing.db")));
        // The owner's end stops a running read and waits for it; its done never comes.
        read->Start(path, untilStopped, [&done](const std::string&) { done << QStringLiteral("late"); });
        QVERIFY(read->Busy());
        read.reset();
        QCOMPARE(stopsSeen.load(), 2);
        QCoreApplication::processEvents(); // its end, queued before the reset, is not delivered
        QCOMPARE(done.size(), 2);
    }

    void stateAndUnusedFiltersCombineWithProjectAndFind() {
        WorkFolder folder;
        SideBench f({{"Open file", "Datei öffnen", "A"},
                     {"Close", "", "A"},
                     {"Save all now", "Alles speichern", "A"},
                     {"Quit", "Beenden", "B"},
                     {"Copy", "Kopieren", "A"}});
        f.SetState("Open file", ReviewState::Suggested);
        f.SetState("Quit", ReviewState::Suggested);
        f.SetState("Close", ReviewState::DontTranslate);
        f.Used("A", {"Open file", "Close"});
        f.model()->Reload();
        f.ChooseFilter(RecordStateFilter::Suggested);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Open file", "Quit"}));
        QCOMPARE(f.ui().recordCount->text(), QStringLiteral("2 of 5 records"));
        f.ChooseFilter(RecordStateFilter::DontTranslate);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Close"}));
        // Without a project the unused texts cannot be told, and the window says so.
        f.ChooseFilter(RecordStateFilter::Unused);
        QCOMPARE(GridColumn(f.model(), 0), QStringList{});
        QVERIFY(!f.ui().unusedNote->isHidden());
        f.ChooseProject(QStringLiteral("A"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Copy", "Save all now"}));
        QVERIFY(f.ui().unusedNote->isHidden());
        f.ui().findAction->trigger();
        QTest::keyClicks(f.ui().findBar->Edit(), QStringLiteral("sav"));
        f.Settle();
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Save all now"}));
        QCOMPARE(f.ui().recordCount->text(), QStringLiteral("1 of 4 records"));
        f.ui().findBar->Close();
        // B was never collected with where-used: nothing looks unused, and the note says why.
        f.ChooseProject(QStringLiteral("B"));
        QCOMPARE(GridColumn(f.model(), 0), QStringList{});
        QVERIFY(!f.ui().unusedNote->isHidden());
        QVERIFY(f.ui().unusedNote->text().contains(QStringLiteral("collect")));
        // Back to every project: the state filter is read for the whole view again.
        f.ChooseProject(QStringLiteral(" (All Projects)"));
        f.ChooseFilter(RecordStateFilter::Suggested);
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Open file", "Quit"}));
    }

    void deleteUnusedAsksAndCanBeUndone() {
        WorkFolder folder;
        SideBench f({{"Open file", "Datei öffnen", "A"},
                     {"Save all now", "Alles speichern", "A;B"},
                     {"Copy", "Kopieren", "A"},
                     {"Quit", "Beenden", "B"}});
        f.Used("A", {"Open file"});
        const auto projectOf = [&f](const char* english) {
            StringsTable& t = f.table();
            const bool filtered = t.Filtered();
            t.SetFiltered(false);
            const std::string order = t.IndexName();
            t.SetIndexFieldNames("English");
            const QString project = t.FindKey(english) ? QString::fromStdString(t.FieldAsString("Project"))
                                                       : QStringLiteral("(missing)");
            t.SetIndexName(order);
            t.SetFiltered(filtered);
            f.model()->Reload();
            return project;
        };
        f.ChooseProject(QStringLiteral("A"));
        {
            BoxAnswerer no({QMessageBox::Cancel});
            f.ui().deleteUnusedButton->click();
            QCOMPARE(no.seen.size(), 1);
            QVERIFY(no.seen[0].text.contains(QStringLiteral("2 texts")));
        }
        QCOMPARE(projectOf("Copy"), QStringLiteral("A"));
        {
            BoxAnswerer yes({QMessageBox::Ok});
            f.ui().deleteUnusedButton->click();
            QCOMPARE(yes.seen.size(), 1);
        }
        QCOMPARE(projectOf("Copy"), QStringLiteral("(missing)"));
        QCOMPARE(projectOf("Save all now"), QStringLiteral("B"));
        QCOMPARE(projectOf("Open file"), QStringLiteral("A"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Open file"}));
        f.bench.form.UndoStack()->undo();
        QCOMPARE(projectOf("Copy"), QStringLiteral("A"));
        QCOMPARE(projectOf("Save all now"), QStringLiteral("A;B"));
        QCOMPARE(GridColumn(f.model(), 0), Texts({"Copy", "Open file"}));
        f.bench.form.UndoStack()->redo();
        QCOMPARE(projectOf("Copy"), QStringLiteral("(missing)"));
        QCOMPARE(projectOf("Save all now"), QStringLiteral("B"));
        // A project never collected with where-used is refused: every text would look unused.
        f.ChooseProject(QStringLiteral("B"));
        BoxAnswerer refused;
        f.ui().deleteUnusedButton->click();
        QCOMPARE(refused.seen.size(), 1);
        QVERIFY(refused.seen[0].text.contains(QStringLiteral("collect")));
        QCOMPARE(projectOf("Quit"), QStringLiteral("B"));
    }

    void deleteUnusedShowsProgressAndACancelKeepsWhatIsDone() {
        WorkFolder folder;
        SideBench f({{"Open file", "Datei öffnen", "A"}});
        constexpr int kUnused = 150; // the progress is told every 64 texts
        for (int i = 0; i < kUnused; ++i) {
            const QByteArray text = QStringLiteral("Gone %1").arg(i, 3, 10, QLatin1Char('0')).toUtf8();
            AddRecords(f.table(), {{text.constData(), "", i % 2 == 0 ? "A" : "A;B"}});
        }
        f.Used("A", {"Open file"});
        f.ChooseProject(QStringLiteral("A"));
        TProgressPanel* panel = f.ui().statusBar->ProgressPanel();
        QList<long long> steps;
        QObject::connect(panel, &TProgressPanel::Advanced, panel, [&](long long done, long long total) {
            QCOMPARE(total, kUnused);
            QVERIFY(panel->isVisible());
            QVERIFY(!f.ui().collectButton->isEnabled()); // no other command meanwhile
            steps.append(done);
            if (done == 64) {
                // The question box took the activation; a desktop gives it back when the box goes.
                f.bench.form.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&f.bench.form));
                QTest::keyClick(&f.bench.form, Qt::Key_Escape);
            }
        });
        {
            BoxAnswerer yes({QMessageBox::Ok});
            f.ui().deleteUnusedButton->click();
            QCOMPARE(yes.seen.size(), 1); // the question, nothing after it
        }
        QCOMPARE(steps, (QList<long long>{0, 64}));
        QVERIFY(!panel->isVisible());
        QVERIFY(f.ui().collectButton->isEnabled());
        QCOMPARE(f.ui().statusBar->PanelText(f.ui().statusBar->PanelCount() - 1),
                 QStringLiteral("Cancelled: 128 of 150 unused texts deleted"));
        // Each text wholly done or untouched: the first 128 gone or left to B, the rest as they were.
        const auto projects = [&f] {
            std::map<std::string, std::string> byText;
            f.table().Side().ScanRecords({"English", "Project"}, [&](const std::vector<std::string_view>& v) {
                byText.emplace(v[0], v[1]);
            });
            return byText;
        };
        std::map<std::string, std::string> now = projects();
        for (int i = 0; i < kUnused; ++i) {
            const std::string text = QStringLiteral("Gone %1").arg(i, 3, 10, QLatin1Char('0')).toStdString();
            const std::string expected =
                i < 128 ? (i % 2 == 0 ? "(missing)" : "B") : (i % 2 == 0 ? "A" : "A;B");
            const auto found = now.find(text);
            QCOMPARE(found == now.end() ? std::string("(missing)") : found->second, expected);
        }
        QCOMPARE(f.table().Side().UnusedTexts("A", "English").size(), std::size_t{kUnused - 128});
        // One undo step puts back what was done.
        f.bench.form.UndoStack()->undo();
        QCOMPARE(f.table().Side().UnusedTexts("A", "English").size(), std::size_t{kUnused});
        now = projects();
        for (int i = 0; i < kUnused; ++i) {
            const std::string text = QStringLiteral("Gone %1").arg(i, 3, 10, QLatin1Char('0')).toStdString();
            QCOMPARE(now[text], std::string(i % 2 == 0 ? "A" : "A;B"));
        }
    }

    void shortcutsMarkTheCurrentTranslationUndoably() {
        WorkFolder folder;
        SideBench f({{"Close", "Schließen", "A"}, {"Open", "", "A"}});
        const auto stored = [&f](const char* english) -> QString {
            const auto entry = f.table().Side().Review("English", english, "German");
            return entry ? QString::fromUtf8(ReviewStateName(entry->state)) : QStringLiteral("none");
        };
        const auto mark = [&f](int row) {
            return f.model()->headerData(row, Qt::Vertical, Qt::ToolTipRole).toString();
        };
        QCOMPARE(mark(0), QStringLiteral("Translated"));
        QCOMPARE(mark(1), QStringLiteral("New"));
        QVERIFY(f.model()->headerData(0, Qt::Vertical, Qt::DecorationRole).value<QIcon>().isNull() == false);
        f.model()->MoveTo(0);
        f.bench.form.activateWindow();
        QTest::keyClick(&f.bench.form, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(stored("Close"), QStringLiteral("reviewed"));
        QCOMPARE(mark(0), QStringLiteral("Reviewed"));
        QTest::keyClick(&f.bench.form, Qt::Key_R, Qt::ControlModifier); // again: the mark goes
        QCOMPARE(stored("Close"), QStringLiteral("none"));
        QCOMPARE(mark(0), QStringLiteral("Translated"));
        f.bench.form.UndoStack()->undo();
        QCOMPARE(stored("Close"), QStringLiteral("reviewed"));
        QCOMPARE(mark(0), QStringLiteral("Reviewed"));
        f.model()->MoveTo(1);
        QTest::keyClick(&f.bench.form, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(stored("Open"), QStringLiteral("dont_translate"));
        QCOMPARE(mark(1), QStringLiteral("Don't translate"));
        f.Settle();
        QTRY_COMPARE(f.statistics(), QStringLiteral("German: 2 of 2 texts, 2 of 2 words (100%)"));
        // Undone with another record current, the mark still follows.
        f.model()->MoveTo(0);
        f.bench.form.UndoStack()->undo();
        QCOMPARE(stored("Open"), QStringLiteral("none"));
        QCOMPARE(mark(1), QStringLiteral("New"));
        f.ChooseFilter(RecordStateFilter::DontTranslate);
        QCOMPARE(f.model()->rowCount(), 0);
    }
};

QTEST_MAIN(SideTablesTest)
#include "side_tables_test.moc"
