// Long commands in the window: the status bar's progress (count and file), and cancelling Collect
// and Translate with its Cancel button or Esc.
#include "app/main_form.h"
#include "app/strings_grid_model.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/progress_panel.h"
#include "dialogs/translate_preview_dlg.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <map>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

constexpr int kForms = 12;

QString FormName(int i) {
    return QStringLiteral("Form%1.dfm").arg(i, 2, 10, QLatin1Char('0'));
}

QString Caption(int i) {
    return QStringLiteral("Caption of form %1").arg(i);
}

/// The caption in the form file named `name` (FormName).
QString CaptionIn(const QString& name) {
    return Caption(name.mid(4, 2).toInt());
}

/// A shown workbench with a project of kForms text forms, one caption each.
struct ManyFormsBench {
    ManyFormsBench() {
        bench.Show();
        QDir(folder.Path()).mkpath(QStringLiteral("demo"));
        dir = folder.Path(QStringLiteral("demo"));
        WriteBytes(dir + QStringLiteral("/Demo.dpr"), "program Demo;\r\nbegin\r\nend.\r\n");
        for (int i = 0; i < kForms; ++i) {
            const QByteArray form = "object F" + QByteArray::number(i) + ": TForm\r\n  Caption = '" +
                                    Caption(i).toUtf8() + "'\r\nend\r\n";
            WriteBytes(dir + QLatin1Char('/') + FormName(i), form);
            originals[FormName(i)] = form;
        }
        ui().editProject->setText(dir + QStringLiteral("/Demo.dpr"));
        ui().includePas->setChecked(false);
        bench.form.activateWindow();
    }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    TProgressPanel* panel() const { return ui().statusBar->ProgressPanel(); }
    QStringList Shown() const {
        QStringList texts = GridColumn(bench.form.GridModel(), 0);
        texts.sort();
        return texts;
    }

    WorkFolder folder; // first: the window starts in it
    Workbench bench;
    QString dir;
    std::map<QString, QByteArray> originals;
};

/// What the panel showed at one progress step.
struct Seen {
    long long done;
    long long total;
    QString file;
    QString barText;
    QString fileLabel;
    bool visible;
};

void Record(ManyFormsBench& b, QList<Seen>& seen) {
    QObject::connect(b.panel(), &TProgressPanel::Advanced, b.panel(),
                     [&b, &seen](long long done, long long total, const QString& file) {
                         seen.append({done, total, file, b.panel()->Bar()->text(),
                                      b.panel()->CurrentLabel()->text(), b.panel()->isVisible()});
                     });
}

} // namespace

class ProgressTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void collectShowsCountAndFileAndEndsWithThePanelGone() {
        ManyFormsBench b;
        QList<Seen> seen;
        Record(b, seen);
        BoxAnswerer quiet;
        QTest::mouseClick(b.ui().collectButton, Qt::LeftButton);
        QCOMPARE(quiet.Texts(), QStringList());
        QCOMPARE(seen.size(), kForms + 1);
        QStringList files;
        for (int i = 0; i < kForms; ++i) {
            QCOMPARE(seen[i].done, i);
            QCOMPARE(seen[i].total, kForms);
            QCOMPARE(seen[i].barText, QStringLiteral("%1 of %2").arg(i).arg(kForms));
            QCOMPARE(seen[i].fileLabel, seen[i].file);
            QVERIFY(seen[i].visible);
            files << seen[i].file;
        }
        files.sort();
        QStringList all;
        for (int i = 0; i < kForms; ++i) {
            all << FormName(i);
        }
        QCOMPARE(files, all); // each once, in the folder's order
        QCOMPARE(seen.back().done, kForms);
        QCOMPARE(seen.back().barText, QStringLiteral("%1 of %2").arg(kForms).arg(kForms));
        QVERIFY(!b.panel()->isVisible());
        QCOMPARE(b.ui().statusBar->PanelText(1), QStringLiteral("Finished"));
        QCOMPARE(b.Shown().size(), kForms);
    }

    void cancellingCollectKeepsTheFilesDone() {
        ManyFormsBench b;
        constexpr int kCancelAt = 4; // four files done, the fifth at work
        QList<Seen> seen;
        Record(b, seen);
        bool armed = true;
        QObject::connect(b.panel(), &TProgressPanel::Advanced, b.panel(), [&b, &armed](long long done) {
            if (armed && done == kCancelAt) {
                QTest::mouseClick(b.panel()->CancelButton(), Qt::LeftButton);
            }
        });
        BoxAnswerer quiet;
        QTest::mouseClick(b.ui().collectButton, Qt::LeftButton);
        QCOMPARE(quiet.Texts(), QStringList());
        // The file at work when Cancel was clicked is finished; no other is started.
        QCOMPARE(seen.size(), kCancelAt + 1);
        QStringList expected;
        std::vector<std::string> files;
        for (const Seen& step : seen) {
            expected << CaptionIn(step.file);
            files.push_back(step.file.toStdString());
        }
        expected.sort();
        std::sort(files.begin(), files.end());
        QCOMPARE(b.Shown(), expected);
        QCOMPARE(b.bench.form.StringTable()->Side().OccurrenceFiles("Demo"), files);
        QCOMPARE(b.ui().statusBar->PanelText(1), QStringLiteral("Cancelled"));
        QVERIFY(!b.panel()->isVisible());
        QVERIFY(b.ui().collectButton->isEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // The request does not outlive its command: the next Collect runs to the end.
        armed = false;
        QTest::mouseClick(b.ui().collectButton, Qt::LeftButton);
        QCOMPARE(b.Shown().size(), kForms);
        QCOMPARE(b.ui().statusBar->PanelText(1), QStringLiteral("Finished"));
    }

    void deleteEmptyShowsProgressAndACancelDeletesNothing() {
        WorkFolder folder;
        Workbench bench;
        bench.Show();
        StringsTable& table = *bench.form.StringTable();
        constexpr int kRecords = 2500; // three progress steps
        table.BeginTransaction();
        for (int i = 0; i < kRecords; ++i) {
            table.Insert();
            table.SetField("English", "Text " + std::to_string(i));
            table.SetField("German", i % 2 == 0 ? std::string() : "Text " + std::to_string(i));
            table.SetField("Project", "Demo");
            table.Post();
        }
        table.Commit();
        bench.form.GridModel()->Reload();
        TProgressPanel* panel = bench.form.Ui().statusBar->ProgressPanel();
        QList<long long> steps;
        bool cancel = true;
        QObject::connect(panel, &TProgressPanel::Advanced, panel, [&](long long done, long long total) {
            QCOMPARE(total, kRecords);
            steps << done;
            if (cancel && done == 1024) {
                QTest::mouseClick(panel->CancelButton(), Qt::LeftButton);
            }
        });
        {
            BoxAnswerer answerer({QMessageBox::Ok});
            QTest::mouseClick(bench.form.Ui().deleteEmptyButton, Qt::LeftButton);
        }
        QCOMPARE(steps, (QList<long long>{0, 1024}));
        QCOMPARE(table.RecordCount(), kRecords);
        QCOMPARE(bench.form.Ui().statusBar->PanelText(1), QStringLiteral("Cancelled"));
        QVERIFY(!panel->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        cancel = false;
        steps.clear();
        {
            BoxAnswerer answerer({QMessageBox::Ok});
            QTest::mouseClick(bench.form.Ui().deleteEmptyButton, Qt::LeftButton);
        }
        QCOMPARE(steps, (QList<long long>{0, 1024, 2048}));
        QCOMPARE(table.RecordCount(), kRecords / 2);
        QVERIFY(!panel->isVisible());
    }

    void escapeDuringTranslateLeavesEveryFileAsItWas() {
        ManyFormsBench b;
        {
            BoxAnswerer quiet;
            QTest::mouseClick(b.ui().collectButton, Qt::LeftButton);
        }
        StringsGridModel* model = b.bench.form.GridModel();
        for (int row = 0; row < model->rowCount(); ++row) {
            QVERIFY(model->setData(model->index(row, 1), QStringLiteral("Titel %1").arg(row)));
            model->Post();
        }
        bool previewed = false;
        WhenModal<TranslatePreviewDlg>([&previewed](TranslatePreviewDlg* dialog) {
            previewed = true;
            dialog->accept();
        });
        constexpr int kCancelAt = 5;
        int runSteps = 0;
        QObject::connect(b.panel(), &TProgressPanel::Advanced, b.panel(), [&](long long done) {
            if (!previewed) {
                return; // the preview works the run out first
            }
            ++runSteps;
            if (done == kCancelAt) {
                // The question box took the activation; a desktop gives it back when the box goes.
                b.bench.form.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&b.bench.form));
                QTest::keyClick(&b.bench.form, Qt::Key_Escape);
            }
        });
        QVERIFY(QTest::qWaitForWindowActive(&b.bench.form));
        BoxAnswerer answerer; // the question before the run: OK
        QTest::mouseClick(b.ui().translateButton, Qt::LeftButton);
        QVERIFY(previewed);
        QCOMPARE(runSteps, kCancelAt + 1);
        QCOMPARE(answerer.seen.size(), 1); // the question, no error
        for (const auto& [name, content] : b.originals) {
            QCOMPARE(ReadBytes(b.dir + QLatin1Char('/') + name), content);
        }
        QCOMPARE(QDir(b.dir).entryList(QDir::Files).size(), kForms + 1); // no backup, no temporary file
        QCOMPARE(b.ui().statusBar->PanelText(1), QStringLiteral("Cancelled"));
        QVERIFY(!b.panel()->isVisible());
    }
};

QTEST_MAIN(ProgressTest)
#include "progress_test.moc"
