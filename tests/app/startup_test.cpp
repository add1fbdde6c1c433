// Start-up, settings and shutdown of the workbench window, as a user meets them.
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid_model.h"
#include "dialogs/about_box.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/shell_open.h"
#include "workbench_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace wordloom;
using namespace wordloom::testing;

namespace {

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

void WriteSettings(const WorkFolder& folder, const QString& key, const QString& value) {
    QSettings settings(QStringLiteral("VEL Software"), QStringLiteral("Wordloom"));
    settings.setValue(key, value);
    settings.sync();
    QVERIFY(QFile::exists(folder.SettingsFile()));
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QApplication::setApplicationName(QStringLiteral("Wordloom"));
        if (!QFile::exists(ShippedTable())) {
            QFAIL("the build did not put strings.db beside the programs");
        }
    }

    void firstStartWithoutSettings() {
        WorkFolder folder;
        Workbench bench;
        bench.Show();
        const MainFormUi& ui = bench.form.Ui();
        QVERIFY(!bench.form.StartupFailed());
        QCOMPARE(bench.form.windowTitle(), QStringLiteral("Wordloom for Delphi  V1.0"));
        QVERIFY(Items(ui.langCombo).size() >= 2);
        QCOMPARE(Items(ui.langCombo), Items(ui.transCombo));
        // Project, SpFront and SpEnd belong to the records: translating to Project replaced every
        // text by the project's name.
        for (const QString& field :
             {QStringLiteral("Project"), QStringLiteral("SpFront"), QStringLiteral("SpEnd")}) {
            QVERIFY2(!Items(ui.langCombo).contains(field), qPrintable(field));
        }
        QCOMPARE(Items(ui.langCombo),
                 (QStringList{QStringLiteral("English"), QStringLiteral("German"), QStringLiteral("French"),
                              QStringLiteral("Spanish"), QStringLiteral("Italian")}));
        QCOMPARE(ui.langCombo->currentIndex(), 0);
        QCOMPARE(ui.transCombo->currentIndex(), 1);
        QVERIFY(ui.includePas->isChecked());
        QVERIFY(ui.editProject->text().isEmpty());
        QVERIFY(bench.form.ProjectName().isEmpty());
        QCOMPARE(ui.projectCombo->currentText(), QStringLiteral(" (All Projects)"));
        for (int i = 0; i < ui.properties->count(); ++i) {
            QCOMPARE(ui.properties->item(i)->checkState(), Qt::Checked);
        }
        const StringsGridModel* model = bench.form.GridModel();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), ui.langCombo->itemText(0));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), ui.transCombo->itemText(1));
    }

    void controlsCarryTheirCaptionsAndHints() {
        WorkFolder folder;
        Workbench bench;
        bench.Show();
        const MainFormUi& ui = bench.form.Ui();
        QCOMPARE(ui.collectButton->text(), QStringLiteral("&Collect Strings"));
        QCOMPARE(ui.translateButton->toolTip(),
                 QStringLiteral("Translate all .DFM and .PAS files to the languauge below"));
        QCOMPARE(ui.includePas->text(), QStringLiteral("Inlcude .PAS files"));
        QCOMPARE(ui.editProject->toolTip(), QStringLiteral("PAth of the project"));
        QCOMPARE(ui.chooseProjectButton->text(), QStringLiteral("..."));
        QCOMPARE(ui.copyToAllAction->toolTip(), QStringLiteral("Copy string to all languages"));
        QCOMPARE(ui.optionsAction->toolTip(), QStringLiteral("Options"));
        QCOMPARE(ui.aboutButton->toolTip(), QStringLiteral("About ..."));
        QVERIFY(ui.adminButton->text().isEmpty() && ui.adminButton->icon().isNull());
        QCOMPARE(ui.deleteEmptyButton->text(), QStringLiteral("&Delete Empty Strings"));
        QStringList properties;
        for (int i = 0; i < ui.properties->count(); ++i) {
            properties << ui.properties->item(i)->text();
        }
        QCOMPARE(properties, (QStringList{QStringLiteral("Caption"), QStringLiteral("Text"),
                                          QStringLiteral("Hint"), QStringLiteral("Title"),
                                          QStringLiteral("DisplayLabel"), QStringLiteral("Items.Strings"),
                                          QStringLiteral("Lines.Strings"), QStringLiteral("Hints.String")}));
        QCOMPARE(ui.transCombo->parentWidget()->width(), 128);
        QCOMPARE(ui.statusBar->PanelCount(), 2);
        QCOMPARE(ui.statusBar->Panel(0)->minimumWidth(), 100);
        QCOMPARE(ui.statusBar->Panel(1)->minimumWidth(), 50);
        QStringList menu;
        for (const QAction* action : ui.aboutPopup->actions()) {
            menu << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        QCOMPARE(menu, (QStringList{QStringLiteral("&Readme.txt"), QStringLiteral("&About..."),
                                    QStringLiteral("-"), QStringLiteral("Demo of Pathwright Components")}));
    }

    void settingsRestoredOnTheNextStart() {
        WorkFolder folder;
        {
            Workbench bench;
            bench.Show();
            const MainFormUi& ui = bench.form.Ui();
            ui.editProject->setText(QStringLiteral("/src/Tool.App.dpr"));
            QCOMPARE(bench.form.ProjectName(), QStringLiteral("Tool"));
            ui.transCombo->setCurrentIndex(2);
            emit ui.transCombo->activated(2);
            ui.includePas->setChecked(false);
            bench.form.close();
        }
        QSettings stored(folder.SettingsFile(), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("LastProject")).toString(), QStringLiteral("/src/Tool.App.dpr"));
        QCOMPARE(stored.value(QStringLiteral("Language")).toString(), QStringLiteral("0"));
        QCOMPARE(stored.value(QStringLiteral("Translation")).toString(), QStringLiteral("2"));
        QCOMPARE(stored.value(QStringLiteral("IncludePas")).toString(), QStringLiteral("0"));
        QCOMPARE(stored.value(QStringLiteral("LeftCharset")).toString(), QStringLiteral("1"));

        Workbench again;
        again.Show();
        const MainFormUi& ui = again.form.Ui();
        QCOMPARE(ui.editProject->text(), QStringLiteral("/src/Tool.App.dpr"));
        QCOMPARE(again.form.ProjectName(), QStringLiteral("Tool"));
        QCOMPARE(ui.transCombo->currentIndex(), 2);
        QVERIFY(!ui.includePas->isChecked());
        QCOMPARE(again.form.GridModel()->headerData(1, Qt::Horizontal).toString(),
                 ui.transCombo->itemText(2));
    }

    void outOfRangeAndUnreadableValuesFallBack() {
        WorkFolder folder;
        WriteSettings(folder, QStringLiteral("Language"), QStringLiteral("99"));
        WriteSettings(folder, QStringLiteral("Translation"), QStringLiteral("-1"));
        WriteSettings(folder, QStringLiteral("IncludePas"), QStringLiteral("yes"));
        Workbench bench;
        bench.Show();
        const MainFormUi& ui = bench.form.Ui();
        QCOMPARE(ui.langCombo->currentIndex(), 0);
        QCOMPARE(ui.transCombo->currentIndex(), 0);
        QVERIFY(ui.includePas->isChecked()); // not a number: the default
        QCOMPARE(bench.form.GridModel()->headerData(0, Qt::Horizontal).toString(), ui.langCombo->itemText(0));
    }

    void unusableTableEndsTheProgramSayingWhy_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << false << QByteArray() << QStringLiteral(": the file does not exist");
        QTest::newRow("empty file") << true << QByteArray() << QStringLiteral(" holds no strings table");
        QTest::newRow("garbage") << true << QByteArray("PK\x03\x04 this is no database at all, just bytes")
                                 << QStringLiteral(": file is not a database");
        QFile shipped(ShippedTable());
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QByteArray corrupted = shipped.readAll();
        // The header stays a database's; the schema page behind it is overwritten.
        corrupted.replace(100, 3996, QByteArray(3996, '\xA5'));
        QTest::newRow("corrupted") << true << corrupted << QStringLiteral("malformed");
    }

    void unusableTableEndsTheProgramSayingWhy() {
        QFETCH(bool, present);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        WorkFolder folder(false);
        const QString path = folder.Path(QStringLiteral("strings.db"));
        if (present) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        BoxAnswerer answerer;
        Workbench bench;
        bench.Show();
        QTRY_COMPARE(answerer.seen.size(), 1);
        const SeenBox& box = answerer.seen.first();
        const QString first =
            QStringLiteral("Database for Strings could not be found. Wordloom will be \r\nstopped.\n");
        QVERIFY2(box.text.startsWith(first), qPrintable(box.text));
        const QString second = box.text.mid(first.size());
        QVERIFY2(second.contains(path), qPrintable(second));
        QVERIFY2(second.contains(reason), qPrintable(second));
        QVERIFY(!second.contains(QLatin1Char('\n')));
        QCOMPARE(box.title, QStringLiteral("Wordloom"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(bench.form.StartupFailed());
        QVERIFY(bench.form.StringTable() == nullptr);
        QCOMPARE(QFile::exists(path), present); // never created
        QFile file(path);
        QVERIFY(!present || (file.open(QIODevice::ReadOnly) && file.readAll() == content));
        bench.form.close();
        QVERIFY(!QFile::exists(folder.SettingsFile())); // the store was never opened
    }

    void aboutMenuReadmeAndIdeLaunchOpenTheirDocuments() {
        WorkFolder folder;
        Workbench bench;
        bench.Show();
        const MainFormUi& ui = bench.form.Ui();
        QList<QUrl> opened;
        bool programFound = true;
        SetDocumentOpener([&](const QUrl& url) {
            opened << url;
            return programFound;
        });
        const auto restore = qScopeGuard([] { SetDocumentOpener({}); });
        // The readme lies beside the program when shipped; a test program has none of its own.
        const QString readme = QApplication::applicationDirPath() + QStringLiteral("/Readme.txt");
        QVERIFY(!QFile::exists(readme));
        const QString project = folder.Path(QStringLiteral("Tool.dpr"));
        {
            BoxAnswerer answerer;
            ui.readmeAction->trigger();
            ui.editProject->setText(project);
            QTest::mouseClick(ui.openInIdeButton, Qt::LeftButton);
            QCOMPARE(answerer.Texts(), (QStringList{QStringLiteral("Cannot open ") + readme +
                                                        QStringLiteral(":\nthe file does not exist."),
                                                    QStringLiteral("Cannot open ") + project +
                                                        QStringLiteral(":\nthe file does not exist.")}));
            QCOMPARE(answerer.seen.first().icon, QMessageBox::Critical);
            QVERIFY(opened.isEmpty());
        }
        QFile(project).open(QIODevice::WriteOnly);
        {
            QFile file(readme);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const auto removeReadme = qScopeGuard([&] { QFile::remove(readme); });
        BoxAnswerer answerer;
        ui.readmeAction->trigger();
        QTest::mouseClick(ui.openInIdeButton, Qt::LeftButton);
        QCOMPARE(opened, (QList<QUrl>{QUrl::fromLocalFile(readme), QUrl::fromLocalFile(project)}));
        QVERIFY(answerer.seen.isEmpty());
        // No program to open them: the click must not look ignored.
        programFound = false;
        ui.readmeAction->trigger();
        QTest::mouseClick(ui.openInIdeButton, Qt::LeftButton);
        const QString noProgram =
            QStringLiteral(":\nno program to open it was found (is xdg-open installed?).");
        QCOMPARE(answerer.Texts(), (QStringList{QStringLiteral("Cannot open ") + readme + noProgram,
                                                QStringLiteral("Cannot open ") + project + noProgram}));
        ui.editProject->clear();
        QTest::mouseClick(ui.openInIdeButton, Qt::LeftButton); // an empty path opens nothing, silently
        QCOMPARE(opened.size(), 4);
        QCOMPARE(answerer.seen.size(), 2);

        QString version;
        WhenModal<TAboutBox>([&](TAboutBox* box) {
            version = box->Version()->text();
            box->accept();
        });
        ui.aboutAction->trigger();
        QCOMPARE(version, QStringLiteral("Version 1.0"));
    }

    void fileDialogPicksTheProject() {
        WorkFolder folder;
        QDir(folder.Path()).mkpath(QStringLiteral("src"));
        QFile project(folder.Path(QStringLiteral("src/Demo.dpr")));
        QVERIFY(project.open(QIODevice::WriteOnly));
        project.close();
        Workbench bench;
        bench.Show();
        const MainFormUi& ui = bench.form.Ui();
        ui.editProject->setText(folder.Path(QStringLiteral("src/Old.dpr")));
        QString title, filter, suffix, directory;
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            filter = dialog->nameFilters().join(QLatin1Char('|'));
            suffix = dialog->defaultSuffix();
            directory = dialog->directory().path();
            dialog->selectFile(folder.Path(QStringLiteral("src/Demo.dpr")));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(ui.chooseProjectButton, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Select Delphi Project"));
        QCOMPARE(filter, QStringLiteral("Delphi Projects (*.dpr)"));
        QCOMPARE(suffix, QStringLiteral("dpr"));
        QCOMPARE(directory, folder.Path(QStringLiteral("src")));
        QCOMPARE(ui.editProject->text(), folder.Path(QStringLiteral("src/Demo.dpr")));
        QCOMPARE(bench.form.ProjectName(), QStringLiteral("Demo"));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
