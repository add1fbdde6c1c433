// The panels beside the grid: memory suggestions ranked and taken (Ctrl+1..5, undoable), learning
// posts; Pre-translate; the where-used panel on a collected project, opening the editor at the
// line; the statistics window's numbers.
#include "app/context_panel.h"
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "app/suggestions_panel.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/options_dlg.h"
#include "dialogs/progress_panel.h"
#include "dialogs/statistics_dlg.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"
#include "strings_db/translation_memory.h"
#include "workbench_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>
#include <QUndoStack>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

/// A workbench on a table that holds `records` before the window opens it.
struct PanelBench {
    explicit PanelBench(std::initializer_list<TextRecord> records) {
        {
            StringsTable t(folder.Path(QStringLiteral("strings.db")).toStdString());
            t.SetIndexName("English2");
            AddRecords(t, records);
        }
        bench.Show();
    }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    StringsGridModel* model() const { return bench.form.GridModel(); }
    StringsTable& table() const { return *bench.form.StringTable(); }
    SuggestionsPanel* suggestions() const { return bench.form.Suggestions(); }
    ContextPanel* context() const { return bench.form.Context(); }
    /// Makes the record with that English text current, as a click on it would.
    void Select(const char* english) {
        const int row = GridColumn(model(), 0).indexOf(QString::fromUtf8(english));
        QVERIFY2(row >= 0, english);
        ui().dbGrid->setCurrentIndex(model()->index(row, 1));
        QCoreApplication::processEvents();
    }
    QString German(const char* english) const {
        const int row = GridColumn(model(), 0).indexOf(QString::fromUtf8(english));
        return row < 0 ? QStringLiteral("(no row)") : model()->index(row, 1).data().toString();
    }
    std::optional<ReviewState> State(const char* english) {
        const std::optional<ReviewEntry> entry = table().Side().Review("English", english, "German");
        return entry ? std::optional(entry->state) : std::nullopt;
    }
    void Key(QKeySequence keys) {
        bench.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&bench.form));
        ui().dbGrid->setFocus();
        QTest::keySequence(ui().dbGrid, keys);
        QCoreApplication::processEvents();
    }

    WorkFolder folder; // first: the window starts in it
    Workbench bench;
};

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList Sources(const std::vector<Suggestion>& shown) {
    QStringList sources;
    for (const Suggestion& suggestion : shown) {
        sources << QString::fromStdString(suggestion.source);
    }
    return sources;
}

} // namespace

class PanelsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void suggestionsAreRankedAndCtrl2TakesTheSecondUndoably() {
        PanelBench f({{"Open the file now", ""},
                      {"Open the file", "Datei öffnen"},
                      {"Open the files", "Dateien öffnen"},
                      {"Close the file now", "Datei jetzt schließen"},
                      {"Open a file now", "Jetzt eine Datei öffnen"},
                      {"Print", "Drucken"},
                      {"Open the fil now", ""}}); // similar, but untranslated: no suggestion
        QTRY_VERIFY(f.suggestions()->Ready());
        f.Select("Open the file now");
        const std::vector<Suggestion>& shown = f.suggestions()->Shown();
        // Best first, by the similarity the engine measures; the record's own text is no suggestion.
        QCOMPARE(Sources(shown),
                 Texts({"Open a file now", "Open the file", "Open the files", "Close the file now"}));
        for (const Suggestion& suggestion : shown) {
            QCOMPARE(suggestion.percent, Similarity("Open the file now", suggestion.source));
        }
        QCOMPARE(shown[0].percent, 82); // ties (76%) by their text
        QCOMPARE(f.suggestions()->List()->topLevelItemCount(), 4);
        QCOMPARE(f.suggestions()->List()->topLevelItem(1)->text(1), QStringLiteral("76%"));

        f.Key(QKeySequence(Qt::CTRL | Qt::Key_5)); // beyond the four shown: nothing
        QCOMPARE(f.bench.form.UndoStack()->count(), 0);
        f.Key(QKeySequence(Qt::CTRL | Qt::Key_2));
        QCOMPARE(f.German("Open the file now"), QStringLiteral("Datei öffnen"));
        QCOMPARE(f.State("Open the file now"), std::optional(ReviewState::Suggested));
        QCOMPARE(f.bench.form.UndoStack()->count(), 1); // the text and its state: one step
        f.Key(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(f.German("Open the file now"), QString());
        QCOMPARE(f.State("Open the file now"), std::nullopt);
        f.Key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(f.German("Open the file now"), QStringLiteral("Datei öffnen"));
        QCOMPARE(f.State("Open the file now"), std::optional(ReviewState::Suggested));

        // A click takes one too.
        f.Select("Open the fil now");
        QCOMPARE(Sources(f.suggestions()->Shown()).front(), QStringLiteral("Open the file now"));
        QTreeWidget* list = f.suggestions()->List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(0)).center());
        QCOMPARE(f.German("Open the fil now"), QStringLiteral("Datei öffnen"));
        QCOMPARE(f.State("Open the fil now"), std::optional(ReviewState::Suggested));
    }

    void postedTranslationsAreSuggestedWithoutReadingTheTableAgain() {
        PanelBench f({{"Save the document", ""}, {"Save the documents", ""}, {"Keep", "Behalten"}});
        QTRY_VERIFY(f.suggestions()->Ready());
        f.Select("Save the documents");
        QVERIFY(f.suggestions()->Shown().empty());
        QVERIFY(f.model()->setData(f.model()->index(f.model()->CurrentRow() - 1, 1),
                                   QStringLiteral("Dokument sichern")));
        f.Select("Save the documents"); // leaving the row posts
        QCOMPARE(Sources(f.suggestions()->Shown()), Texts({"Save the document"}));
        QCOMPARE(f.suggestions()->Shown()[0].translation, std::string("Dokument sichern"));
        // A changed translation replaces the one learned; an emptied one is no suggestion any more.
        f.Select("Save the document");
        QVERIFY(f.model()->setData(f.model()->index(f.model()->CurrentRow(), 1),
                                   QStringLiteral("Dokument speichern")));
        f.Select("Save the documents");
        QCOMPARE(f.suggestions()->Shown()[0].translation, std::string("Dokument speichern"));
        f.Select("Save the document");
        QVERIFY(f.model()->setData(f.model()->index(f.model()->CurrentRow(), 1), QString()));
        f.Select("Save the documents");
        QVERIFY(f.suggestions()->Shown().empty());
    }

    void preTranslateFillsGoodMatchesAfterAQuestionAndKeepsThePlace() {
        PanelBench f({{"Open the file", "Datei öffnen"},
                      {"Open the files", ""},    // 92%
                      {"Open another file", ""}, // too far
                      {"Zoom in", ""}});
        f.Select("Zoom in");
        {
            BoxAnswerer cancel({QMessageBox::Cancel});
            f.bench.form.PreTranslateAction()->trigger();
            QCOMPARE(cancel.seen.size(), 1);
            QVERIFY(cancel.seen[0].text.contains(QStringLiteral("Ctrl+Z")));
        }
        QCOMPARE(f.German("Open the files"), QString());
        BoxAnswerer yes({QMessageBox::Ok, QMessageBox::Ok});
        f.bench.form.PreTranslateAction()->trigger();
        QCOMPARE(yes.seen.size(), 2);
        QVERIFY2(yes.seen[1].text.contains(QStringLiteral("0 translations from the same text and 1 from")),
                 qPrintable(yes.seen[1].text));
        QCOMPARE(f.German("Open the files"), QStringLiteral("Datei öffnen"));
        QCOMPARE(f.German("Open another file"), QString());
        QCOMPARE(f.State("Open the files"), std::optional(ReviewState::Suggested));
        QCOMPARE(f.model()->index(f.model()->CurrentRow(), 0).data().toString(), QStringLiteral("Zoom in"));
        QVERIFY(f.ui().collectButton->isEnabled());
    }

    void preTranslateShowsProgressAndCanBeCancelled() {
        PanelBench f({{"Open the file", "Datei öffnen"}, {"Open the files", ""}, {"Zoom in", ""}});
        f.Select("Zoom in");
        TProgressPanel* panel = f.ui().statusBar->ProgressPanel();
        QList<long long> steps;
        QObject::connect(panel, &TProgressPanel::Advanced, panel, [&](long long done, long long total) {
            QCOMPARE(total, 2); // the empty translations
            QVERIFY(panel->isVisible());
            QVERIFY(!f.ui().dbGrid->isEnabled()); // nothing typed meanwhile
            steps.append(done);
            QTest::mouseClick(panel->CancelButton(), Qt::LeftButton);
        });
        {
            BoxAnswerer yes({QMessageBox::Ok});
            f.bench.form.PreTranslateAction()->trigger();
            QCOMPARE(yes.seen.size(), 1); // the question; a cancelled run tells the status bar
        }
        QCOMPARE(steps, QList<long long>{0});
        QVERIFY(!panel->isVisible());
        QCOMPARE(f.ui().statusBar->PanelText(f.ui().statusBar->PanelCount() - 1),
                 QStringLiteral("Cancelled: nothing was filled in"));
        QCOMPARE(f.German("Open the files"), QString());
        QCOMPARE(f.State("Open the files"), std::nullopt);
        QCOMPARE(f.model()->index(f.model()->CurrentRow(), 0).data().toString(), QStringLiteral("Zoom in"));
        QVERIFY(f.ui().dbGrid->isEnabled());
        // Asked again, it runs to its end.
        QObject::disconnect(panel, &TProgressPanel::Advanced, panel, nullptr);
        BoxAnswerer yes({QMessageBox::Ok, QMessageBox::Ok});
        f.bench.form.PreTranslateAction()->trigger();
        QCOMPARE(yes.seen.size(), 2);
        QCOMPARE(f.German("Open the files"), QStringLiteral("Datei öffnen"));
        QCOMPARE(f.model()->index(f.model()->CurrentRow(), 0).data().toString(), QStringLiteral("Zoom in"));
    }

    void contextPanelShowsThePlacesAndLinesOfACollectedText() {
        WorkFolder folder;
        Workbench bench;
        bench.Show();
        const MainFormUi& ui = bench.form.Ui();
        QDir(folder.Path()).mkpath(QStringLiteral("demo"));
        WriteBytes(folder.Path(QStringLiteral("demo/Demo.dpr")), "program Demo;\r\nbegin\r\nend.\r\n");
        WriteBytes(folder.Path(QStringLiteral("demo/Main.dfm")), "object MainWindow: TMainWindow\r\n"
                                                                 "  Caption = 'Open file'\r\n"
                                                                 "  object Button1: TButton\r\n"
                                                                 "    Caption = 'Close'\r\n"
                                                                 "    Hint = 'Close the window'\r\n"
                                                                 "  end\r\n"
                                                                 "end\r\n");
        WriteBytes(folder.Path(QStringLiteral("demo/Unit1.pas")),
                   "unit Unit1;\r\ninterface\r\nconst Greeting = 'Gr\xFC\xDF"
                   "e';\r\nimplementation\r\nend.\r\n");
        ui.editProject->setText(folder.Path(QStringLiteral("demo/Demo.dpr")));
        {
            BoxAnswerer quiet;
            QTest::mouseClick(ui.collectButton, Qt::LeftButton);
        }
        StringsGridModel* model = bench.form.GridModel();
        const auto select = [&](const QString& english) {
            const int row = GridColumn(model, 0).indexOf(english);
            QVERIFY2(row >= 0, qPrintable(english));
            ui.dbGrid->setCurrentIndex(model->index(row, 0));
            QCoreApplication::processEvents();
        };
        ContextPanel* context = bench.form.Context();
        select(QStringLiteral("Close the window"));
        QTreeWidget* places = context->Places();
        QCOMPARE(places->topLevelItemCount(), 1);
        const QTreeWidgetItem* place = places->topLevelItem(0);
        QCOMPARE(place->text(0), QStringLiteral("Demo"));
        QCOMPARE(place->text(1), QStringLiteral("Main.dfm"));
        QCOMPARE(place->text(2), QStringLiteral("5"));
        QCOMPARE(place->text(3), QStringLiteral("MainWindow.Button1"));
        QCOMPARE(place->text(4), QStringLiteral("Hint"));
        const QStringList lines = context->Lines()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 6); // three above, and the two below that the form has
        QCOMPARE(lines[0], QStringLiteral("2    Caption = 'Open file'"));
        QCOMPARE(lines[3], QStringLiteral("5      Hint = 'Close the window'"));
        QCOMPARE(context->Lines()->extraSelections().size(), 1);
        QCOMPARE(context->Lines()->extraSelections()[0].cursor.block().blockNumber(), 3);
        // A unit's line in the sources' code page (Windows-1252 by default).
        select(QString::fromUtf8("Grüße"));
        QCOMPARE(places->topLevelItem(0)->text(3), QStringLiteral("Unit1"));
        QVERIFY2(context->Lines()->toPlainText().contains(QString::fromUtf8("3  const Greeting = 'Grüße';")),
                 qPrintable(context->Lines()->toPlainText()));

        // A double-click runs the editor command of the options at the place's line.
        const QString script = folder.Path(QStringLiteral("editor.sh"));
        WriteBytes(script, "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/opened.txt\"\n");
        QFile(script).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        bench.options->EditorCommandEdit()->setText(QStringLiteral("\"%1\" --line %l %f").arg(script));
        emit bench.options->EditorCommandEdit()->editingFinished();
        select(QStringLiteral("Close the window"));
        QSignalSpy started(context, &ContextPanel::EditorStarted);

        // As the desktop delivers a double-click: a click, then the second press as a double-click.
        const QPoint onPlace(8, places->visualItemRect(places->topLevelItem(0)).center().y());
        BoxAnswerer failures;
        QTest::mouseClick(places->viewport(), Qt::LeftButton, {}, onPlace);
        QTest::mouseDClick(places->viewport(), Qt::LeftButton, {}, onPlace);
        QCOMPARE(failures.Texts().join(QLatin1Char('|')), QString());
        QCOMPARE(started.count(), 1);
        const QString opened = folder.Path(QStringLiteral("opened.txt"));
        QTRY_VERIFY(QFile::exists(opened) && QFile(opened).size() > 0);
        QCOMPARE(ReadText(opened).trimmed(),
                 QStringLiteral("--line 5 ") + folder.Path(QStringLiteral("demo/Main.dfm")));
        // Kept for the next run.
        QCOMPARE(QSettings(QStringLiteral("VEL Software"), QStringLiteral("Wordloom"))
                     .value(QStringLiteral("EditorCommand"))
                     .toString(),
                 QStringLiteral("\"%1\" --line %l %f").arg(script));

        // Another project's places name no folder that is known: nothing is guessed.
        ui.editProject->setText(folder.Path(QStringLiteral("other/Other.dpr")));
        context->ShowRecord(bench.form.StringTable(), "English", "Close the window", true);
        QVERIFY(context->PlaceFile(0).isEmpty());
        QVERIFY(context->Lines()->toPlainText().contains(QStringLiteral("Demo")));
    }

    void thePanelsAreRememberedAsTheWindowWasLeft() {
        WorkFolder folder;
        QList<int> split;
        {
            Workbench bench;
            bench.form.resize(900, 700);
            bench.Show();
            QVERIFY(bench.form.Context()->isVisible());
            QVERIFY(bench.form.Suggestions()->isVisible());
            bench.form.Suggestions()->close();
            QSplitter* splitter = bench.form.Context()->Splitter();
            splitter->setSizes({100, 300});
            split = splitter->sizes();
            emit splitter->splitterMoved(100, 1);
            bench.form.close();
        }
        Workbench again;
        again.Show();
        QVERIFY(again.form.Context()->isVisible());
        QVERIFY(!again.form.Suggestions()->isVisible());
        // The panel is wider now that it stands alone: the share of the places is what is kept.
        const QList<int> sizes = again.form.Context()->Splitter()->sizes();
        QCOMPARE(sizes.size(), 2);
        const double share = double(sizes[0]) / (sizes[0] + sizes[1]);
        QVERIFY2(qAbs(share - double(split[0]) / (split[0] + split[1])) < 0.02,
                 qPrintable(QString::number(share)));
    }

    void editorCommandsTakeTheirPlaceholders() {
        QCOMPARE(EditorInvocation(QStringLiteral("kate --line %l %f"), QStringLiteral("/p/a b.pas"), 12),
                 Texts({"kate", "--line", "12", "/p/a b.pas"}));
        QCOMPARE(EditorInvocation(QStringLiteral("vim +%l"), QStringLiteral("/p/%l.pas"), 3),
                 Texts({"vim", "+3", "/p/%l.pas"})); // no %f: appended, and never expanded
        QCOMPARE(EditorInvocation(QStringLiteral("ed \"%f:%l\" 100%% %x"), QStringLiteral("/f"), 7),
                 Texts({"ed", "/f:7", "100%", "%x"}));
        QVERIFY(EditorInvocation(QStringLiteral("  "), QStringLiteral("/f"), 1).isEmpty());
    }

    void statisticsWindowShowsEveryProjectAndLanguage() {
        PanelBench f({{"Open the file", "Datei öffnen", "Demo"},
                      {"Save", "", "Demo;Tools"},
                      {"Close all windows", "Alles schließen", "Tools"},
                      {"Print", "", "Tools"}});
        f.table().Side().SetReview({"English", "Save", "German", ReviewState::DontTranslate, {}, 0});
        f.table().Side().SetReview({"English", "Print", "French", ReviewState::Suggested, {}, 0});
        f.bench.form.StatisticsAction()->trigger();
        TStatisticsDlg* dialog = f.bench.form.StatisticsWindow();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QStringList seen;
        for (const StatisticsBar& bar : dialog->Chart()->Bars()) {
            seen << QStringLiteral("%1/%2: %3 of %4, %5 suggested, %6%")
                        .arg(bar.project, bar.language)
                        .arg(bar.doneTexts)
                        .arg(bar.totalTexts)
                        .arg(bar.suggestedTexts)
                        .arg(bar.percent);
        }
        QCOMPARE(seen,
                 Texts({"/German: 3 of 4, 0 suggested, 75%", "/French: 0 of 4, 1 suggested, 0%",
                        "/Spanish: 0 of 4, 0 suggested, 0%", "/Italian: 0 of 4, 0 suggested, 0%",
                        "Demo/German: 2 of 2, 0 suggested, 100%", "Demo/French: 0 of 2, 0 suggested, 0%",
                        "Demo/Spanish: 0 of 2, 0 suggested, 0%", "Demo/Italian: 0 of 2, 0 suggested, 0%",
                        "Tools/German: 2 of 3, 0 suggested, 66%", "Tools/French: 0 of 3, 1 suggested, 0%",
                        "Tools/Spanish: 0 of 3, 0 suggested, 0%", "Tools/Italian: 0 of 3, 0 suggested, 0%"}));
        // A change shows after counting again.
        f.Select("Print");
        QVERIFY(f.model()->setData(f.model()->index(f.model()->CurrentRow(), 1), QStringLiteral("Drucken")));
        f.model()->Post();
        QTest::mouseClick(dialog->RefreshButton(), Qt::LeftButton);
        QCOMPARE(dialog->Chart()->Bars()[0].doneTexts, 4);
        QCOMPARE(dialog->Chart()->Bars()[0].percent, 100);
        // Each bar tells its numbers where it is pointed at.
        StatisticsChart* chart = dialog->Chart();
        QCOMPARE(chart->BarAt(QPoint(chart->width() / 2, 2)), -1);
        int found = -1;
        for (int y = 0; y < chart->height() && found < 0; ++y) {
            found = chart->BarAt(QPoint(chart->width() / 2, y));
        }
        QCOMPARE(found, 0);
    }
};

QTEST_MAIN(PanelsTest)
#include "panels_test.moc"
