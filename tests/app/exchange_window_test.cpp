// Exchange in the window: the export dialog writes what the command line writes, the import dialog
// previews the file's kinds, takes theirs per conflict, adds unknown texts only when asked, and a
// broken file changes nothing; afterwards the grid shows the table with its current record kept.
#include "app/main_form.h"
#include "app/strings_grid_model.h"
#include "dialogs/export_dlg.h"
#include "dialogs/import_dlg.h"
#include "exchange/paradox_samples.h"
#include "strings_db/strings_table.h"
#include "workbench_fixture.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The revision date is the minute of writing; the rest must be the same byte for byte.
QByteArray WithoutDate(QByteArray bytes) {
    const qsizetype at = bytes.indexOf("PO-Revision-Date:");
    if (at >= 0)
        bytes.remove(at, bytes.indexOf('\n', at) - at);
    return bytes;
}

QString RunCli(const QStringList& args) {
    QProcess cli;
    cli.start(QStringLiteral(WORDLOOM_BINARY_DIR "/cli/wordloom-cli"), args);
    cli.waitForFinished(60000);
    if (cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
        return QString::fromUtf8(cli.readAllStandardError());
    return QString();
}

QString German(StringsTable& table, const char* english) {
    for (int recNo = 0; recNo < table.RecordCount(); ++recNo)
        if (table.FieldAt(recNo, "English") == english)
            return QString::fromStdString(table.FieldAt(recNo, "German"));
    return QStringLiteral("(no record)");
}

// Open stays, Close gets its first translation, Exit only another state, Save and Help conflict,
// Print is not in the table.
const QByteArray kPo = "msgid \"\"\n"
                       "msgstr \"\"\n"
                       "\"Language: de\\n\"\n"
                       "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                       "\n"
                       "msgid \"Open\"\nmsgstr \"\xC3\x96"
                       "ffnen\"\n\n"
                       "msgid \"Close\"\nmsgstr \"Schlie\xC3\x9F"
                       "en\"\n\n"
                       "#, fuzzy\nmsgid \"Exit\"\nmsgstr \"Beenden\"\n\n"
                       "msgid \"Save\"\nmsgstr \"Sichern\"\n\n"
                       "msgid \"Help\"\nmsgstr \"Hilfe\"\n\n"
                       "msgid \"Print\"\nmsgstr \"Drucken\"\n";

struct ExchangeBench {
    ExchangeBench() {
        bench.Show();
        AddRecords(table(), {{"Open", "\xC3\x96"
                                      "ffnen"},
                             {"Close", ""},
                             {"Exit", "Beenden"},
                             {"Save", "Speichern"},
                             {"Help", "Hilfestellung", "Demo;Other"},
                             {"Quit", "", "Other"}});
        model()->Reload();
        QCoreApplication::processEvents();
    }
    const MainFormUi& ui() const { return bench.form.Ui(); }
    StringsGridModel* model() const { return bench.form.GridModel(); }
    StringsTable& table() const { return *bench.form.StringTable(); }

    WorkFolder folder;
    Workbench bench;
};

} // namespace

class ExchangeWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void TheToolBarOffersExportAndImport() {
        ExchangeBench b;
        QToolButton* button = b.ui().exchangeButton;
        QVERIFY(button != nullptr && button->isVisible());
        QCOMPARE(button->menu()->actions().size(), 2);
        QCOMPARE(button->menu()->actions().at(0), b.ui().exportAction);
        QCOMPARE(button->menu()->actions().at(1), b.ui().importAction);
    }

    void ExportWritesTheFileTheCommandLineWrites_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QStringList>("cliOptions");
        QTest::addColumn<QByteArray>("holds");
        QTest::newRow("po, all") << QStringLiteral("po") << QStringLiteral("German") << 0
                                 << QStringLiteral("") << QStringList() << QByteArray("Speichern");
        QTest::newRow("xliff12, one project")
            << QStringLiteral("xliff12") << QStringLiteral("German") << 0 << QStringLiteral("Other")
            << Texts({"--project", "Other"}) << QByteArray("Hilfestellung");
        QTest::newRow("xliff20, untranslated")
            << QStringLiteral("xliff20") << QStringLiteral("German") << 1 << QStringLiteral("")
            << Texts({"--untranslated"}) << QByteArray("Quit");
        QTest::newRow("csv") << QStringLiteral("csv") << QStringLiteral("German") << 0
                             << QStringLiteral("Demo") << Texts({"--project", "Demo"})
                             << QByteArray("Speichern");
        QTest::newRow("tmx, all languages") << QStringLiteral("tmx") << QStringLiteral("") << 0
                                            << QStringLiteral("") << QStringList() << QByteArray("Speichern");
    }
    void ExportWritesTheFileTheCommandLineWrites() {
        QFETCH(QString, format);
        QFETCH(QString, language);
        QFETCH(int, scope);
        QFETCH(QString, project);
        QFETCH(QStringList, cliOptions);
        QFETCH(QByteArray, holds);
        ExchangeBench b;
        b.table().First();
        b.table().Next(); // the current record stays current through the export
        const std::string current = b.table().FieldAsString("English");
        const QString ours = b.folder.Path(QStringLiteral("window.") + format);
        const QString theirs = b.folder.Path(QStringLiteral("cli.") + format);
        BoxAnswerer boxes;
        bool seen = false;
        WhenModal<ExportDlg>([&](ExportDlg* dialog) {
            seen = true;
            const QStringList formats = Texts({"po", "xliff12", "xliff20", "csv", "tmx"});
            dialog->FormatCombo()->setCurrentIndex(static_cast<int>(formats.indexOf(format)));
            dialog->LanguageCombo()->setCurrentIndex(dialog->LanguageCombo()->findData(language));
            dialog->ProjectCombo()->setCurrentIndex(dialog->ProjectCombo()->findData(project));
            QVERIFY(dialog->LanguageCombo()->currentIndex() >= 0 &&
                    dialog->ProjectCombo()->currentIndex() >= 0);
            dialog->ScopeGroup()->button(scope)->setChecked(true);
            dialog->FileEdit()->setText(ours);
            dialog->ExportButton()->click();
        });
        b.ui().exportAction->trigger();
        QVERIFY(seen);
        QVERIFY2(boxes.seen.isEmpty(), qPrintable(boxes.Texts().join(QLatin1Char('\n'))));
        QStringList args = Texts({"export", "--format"});
        args << format << QStringLiteral("--db") << b.folder.Path(QStringLiteral("strings.db"));
        if (!language.isEmpty())
            args << QStringLiteral("--to") << language;
        args << cliOptions << theirs;
        QCOMPARE(RunCli(args), QString());
        QCOMPARE(WithoutDate(ReadAll(ours)), WithoutDate(ReadAll(theirs)));
        QVERIFY(ReadAll(ours).contains(holds));
        QCOMPARE(b.table().FieldAsString("English"), current);
        QCOMPARE(b.model()->rowCount(), 6);
    }

    void ImportPreviewListsEachKindAndTakesTheirsPerConflict() {
        ExchangeBench b;
        const QString po = b.folder.Path(QStringLiteral("de.po"));
        WriteAll(po, kPo);
        QVERIFY(b.table().FindKey("Help"));
        BoxAnswerer boxes;
        bool seen = false;
        WhenModal<ImportDlg>([&](ImportDlg* dialog) {
            seen = true;
            QVERIFY(!dialog->ImportButton()->isEnabled()); // nothing before the preview
            dialog->FileEdit()->setText(po);
            QVERIFY(dialog->Preview());
            QVERIFY2(dialog->Counts()->text().contains(
                         QStringLiteral("1 new, 1 changed, 2 conflicts, 1 unknown, 1 unchanged")),
                     qPrintable(dialog->Counts()->text()));
            QTreeWidget* items = dialog->Items();
            QCOMPARE(items->topLevelItemCount(), 5);
            QStringList conflicts;
            dialog->KindFilter()->setCurrentIndex(3);
            for (int r = 0; r < items->topLevelItemCount(); ++r) {
                QTreeWidgetItem* row = items->topLevelItem(r);
                if (row->isHidden())
                    continue;
                conflicts << row->text(1) + QLatin1Char('|') + row->text(2) + QLatin1Char('|') + row->text(3);
                QCOMPARE(row->checkState(3), Qt::Unchecked); // ours is kept unless chosen
                if (row->text(1) == QLatin1String("Save"))
                    row->setCheckState(3, Qt::Checked);
            }
            conflicts.sort();
            QCOMPARE(conflicts, Texts({"Help|Hilfestellung|Hilfe", "Save|Speichern|Sichern"}));
            dialog->KindFilter()->setCurrentIndex(4);
            int unknown = 0;
            for (int r = 0; r < items->topLevelItemCount(); ++r)
                if (!items->topLevelItem(r)->isHidden()) {
                    ++unknown;
                    QCOMPARE(items->topLevelItem(r)->text(1), QStringLiteral("Print"));
                }
            QCOMPARE(unknown, 1);
            QVERIFY(dialog->ImportButton()->isEnabled());
            dialog->ImportButton()->click();
        });
        b.ui().importAction->trigger();
        QVERIFY(seen);
        QVERIFY2(boxes.seen.isEmpty(), qPrintable(boxes.Texts().join(QLatin1Char('\n'))));
        StringsTable& t = b.table();
        QCOMPARE(German(t, "Save"), QStringLiteral("Sichern"));
        QCOMPARE(German(t, "Help"), QStringLiteral("Hilfestellung"));
        QCOMPARE(German(t, "Close"), QString::fromUtf8("Schlie\xC3\x9F"
                                                       "en"));
        QCOMPARE(German(t, "Print"), QStringLiteral("(no record)"));
        // The grid shows the new translation, on the record that was current.
        QCOMPARE(t.FieldAsString("English"), std::string("Help"));
        QVERIFY(GridColumn(b.model(), 1)
                    .contains(QString::fromUtf8("Schlie\xC3\x9F"
                                                "en")));
        QVERIFY(b.model()->Attached());
    }

    void UnknownTextsAreAddedOnlyWhenAsked() {
        ExchangeBench b;
        const QString po = b.folder.Path(QStringLiteral("de.po"));
        WriteAll(po, kPo);
        ImportDlg dialog(b.table(), QStringLiteral("English"), QStringLiteral("German"),
                         QStringLiteral("Demo"));
        dialog.FileEdit()->setText(po);
        QVERIFY(dialog.Preview());
        dialog.AddUnknownCheck()->setChecked(true);
        QVERIFY(dialog.Import());
        QCOMPARE(dialog.Result().added, std::size_t{1});
        QCOMPARE(dialog.Result().written, std::size_t{1}); // Close; both conflicts kept ours
        QCOMPARE(German(b.table(), "Print"), QStringLiteral("Drucken"));
        QCOMPARE(German(b.table(), "Save"), QStringLiteral("Speichern"));
    }

    void AParadoxTableIsReadInTheWindowsLanguage() {
        ExchangeBench b;
        // Named so that only the chosen format tells what it is.
        const QString path = b.folder.Path(QStringLiteral("legacy.tbl"));
        exchange::test::WriteParadoxTable(path.toStdString(), {{"Close",
                                                                "Schlie\xc3\x9f"
                                                                "en",
                                                                "Demo", 0, 0},
                                                               {"Save", "Sichern", "Demo", 0, 0}});
        BoxAnswerer boxes;
        ImportDlg dialog(b.table(), QStringLiteral("English"), QStringLiteral("German"), QString());
        dialog.FileEdit()->setText(path);
        QVERIFY(!dialog.Preview()); // the name tells nothing
        dialog.FormatCombo()->setCurrentIndex(dialog.FormatCombo()->count() - 1);
        QVERIFY2(dialog.Preview(), qPrintable(boxes.Texts().join(QLatin1Char('\n'))));
        QVERIFY2(
            dialog.Counts()->text().contains(QStringLiteral("Into German: 1 new, 0 changed, 1 conflicts")),
            qPrintable(dialog.Counts()->text()));
        QVERIFY(dialog.Import());
        QCOMPARE(German(b.table(), "Close"), QString::fromUtf8("Schlie\xc3\x9f"
                                                               "en"));
        QCOMPARE(German(b.table(), "Save"), QStringLiteral("Speichern"));
    }

    void ABrokenFileShowsWhereAndChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("where");
        QTest::newRow("po syntax") << QStringLiteral("broken.po")
                                   << QByteArray(kPo).replace("msgstr \"Drucken\"", "msgstr Drucken")
                                   << QStringLiteral("line 23");
        QTest::newRow("truncated xliff")
            << QStringLiteral("broken.xlf")
            << QByteArray(
                   "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\" "
                   "xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n<file source-language=\"en\" "
                   "target-language=\"de\" datatype=\"plaintext\" original=\"x\"><body>\n"
                   "<trans-unit id=\"1\"><source>Close</source><target>Zu</target></trans-unit>\n<trans-u")
            << QStringLiteral("line 5");
        QTest::newRow("csv unclosed quote")
            << "broken.csv" << QByteArray("source,target,state,places\nClose,\"Zu,translated,\n") << "line 2";
        QTest::newRow("paradox, broken header")
            << "broken.db" << QByteArray("not a table at all, just some text") << "Paradox";
    }
    void ABrokenFileShowsWhereAndChangesNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, where);
        ExchangeBench b;
        const QString path = b.folder.Path(name);
        WriteAll(path, bytes);
        const QStringList before = GridColumn(b.model(), 1);
        BoxAnswerer boxes;
        ImportDlg dialog(b.table(), QStringLiteral("English"), QStringLiteral("German"), QString());
        dialog.FileEdit()->setText(path);
        QVERIFY(!dialog.Preview());
        QCOMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen.front().icon, QMessageBox::Critical);
        QVERIFY2(boxes.seen.front().text.contains(where), qPrintable(boxes.seen.front().text));
        QVERIFY(!dialog.ImportButton()->isEnabled());
        QCOMPARE(dialog.Items()->topLevelItemCount(), 0);
        QVERIFY(!dialog.Import()); // tries the preview again, which fails again
        b.model()->Reload();
        QCOMPARE(GridColumn(b.model(), 1), before);
        QCOMPARE(German(b.table(), "Close"), QString());
    }
};

QTEST_MAIN(ExchangeWindowTest)
#include "exchange_window_test.moc"
