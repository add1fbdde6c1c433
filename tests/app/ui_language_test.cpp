// The windows in the user's language: started under LANG=de_DE.UTF-8, the program's catalogue and the
// engine's messages come up German; for a language without a catalogue the source texts stay.
#include "app/project_combo.h"
#include "base/ui_text.h"
#include "dialogs/about_box.h"
#include "dialogs/url_label.h"
#include "i18n/ui_language.h"
#include "shell/demo/shell_form.h"
#include "translate/translate_command.h"
#include "workbench_fixture.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace wordloom;
using namespace wordloom::testing;
using namespace wordloom::shell;

namespace {

const QString CatalogueDir = QStringLiteral(WORDLOOM_BINARY_DIR);

QStringList LabelTexts(const QWidget* parent) {
    QStringList texts;
    for (const QLabel* label : parent->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

} // namespace

class UiLanguageTest : public QObject {
    Q_OBJECT
private slots:
    // Runs first: nothing is installed yet.
    void languageWithoutCatalogueKeepsTheSourceTexts() {
        QVERIFY(!InstallUiLanguage(QLocale(QLocale::French, QLocale::France), CatalogueDir));
        WorkFolder folder;
        Workbench bench;
        bench.Show();
        QCOMPARE(bench.form.Ui().collectButton->text(), QStringLiteral("&Collect Strings"));
        QCOMPARE(WL_TR("Collect", "Finished"), std::string("Finished"));
    }

    void germanLocaleShowsTheGermanWindow() {
        QCOMPARE(QLocale().name(), QStringLiteral("de_DE")); // from LANG, set before the start
        QVERIFY(InstallUiLanguage(QLocale(), CatalogueDir));
        WorkFolder folder;
        Workbench bench;
        bench.Show();
        const MainFormUi& ui = bench.form.Ui();
        QVERIFY(bench.form.windowTitle().startsWith(QStringLiteral("Wordloom für Delphi")));
        QCOMPARE(ui.collectButton->text(), QStringLiteral("Texte &sammeln"));
        QCOMPARE(ui.translateButton->text(), QStringLiteral("&Übersetzen nach:"));
        QCOMPARE(ui.deleteEmptyButton->text(), QStringLiteral("&Leere Texte löschen"));
        QCOMPARE(ui.speedButton4->toolTip(), QStringLiteral("Text in alle Sprachen kopieren"));
        QCOMPARE(ui.about1->text(), QStringLiteral("Ü&ber..."));
        // The entry for all projects keeps the leading blank the project filter tells it by.
        QCOMPARE(ui.projectCombo->itemText(0), QStringLiteral(" (Alle Projekte)"));
        QVERIFY(LabelTexts(&bench.form).contains(QStringLiteral("Projekt:")));

        bench.options->ShowNonModal();
        QCOMPARE(bench.options->findChild<QPushButton*>(QStringLiteral("OKBtn"))->text(),
                 QStringLiteral("Schließen"));
        QVERIFY(LabelTexts(bench.options).contains(QStringLiteral("Zeichensatz links:")));
        bench.options->close();
    }

    void germanAboutBoxPlacesLinksAfterLongerCaptions() {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("Info"));
        QCOMPARE(box.ComponentsLabel()->text(), QStringLiteral("Pathwright-Komponenten für Delphi"));
        const QList<QLabel*> labels = box.findChildren<QLabel*>();
        const auto caption = std::find_if(labels.begin(), labels.end(), [](QLabel* l) {
            return l->text() == QStringLiteral("Siehe auch: ");
        });
        QVERIFY(caption != labels.end());
        QVERIFY(box.ComponentsLabel()->x() >= (*caption)->geometry().right());
        QVERIFY(box.ComponentsLabel()->geometry().right() < box.width()); // not cut off
    }

    void engineMessagesComeThroughTheCatalogue() {
        QCOMPARE(WL_TR("Collect", "Finished"), std::string("Fertig"));
        ProjectSettings settings;
        settings.projectPath = "/work/P.dpr";
        settings.language = "English";
        QCOMPARE(
            QString::fromStdString(TranslateQuestion(settings)),
            QStringLiteral("Bitte stellen Sie sicher, dass das Projekt /work/P.dpr nicht in der Delphi-IDE "
                           "geladen ist und dass seine aktuelle Sprache wirklich English ist. Es wird "
                           "empfohlen, Wordloom nur auf eine Kopie der Projektdateien anzuwenden."));
    }

    void demoWindowShowsTheFormFileInGerman() {
        QTemporaryDir dir;
        TShellForm form(nullptr, dir.path());
        QCOMPARE(form.windowTitle(), QStringLiteral("Demo der Pathwright-Komponenten"));
        QStringList menus;
        for (const QAction* action : form.MenuBar()->actions())
            menus << action->text();
        QCOMPARE(menus, QStringList({QStringLiteral("&Datei"), QStringLiteral("&Hilfe")}));
        QStringList hints;
        for (const QWidget* widget : form.findChildren<QWidget*>())
            hints << widget->toolTip();
        QVERIFY(hints.contains(QStringLiteral("Übergeordneter Ordner")));
        QVERIFY(!hints.contains(QStringLiteral("Parent Folder")));
    }
};

int main(int argc, char** argv) {
    // The locale as a German desktop session sets it, before the application reads it.
    qunsetenv("LANGUAGE");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    UiLanguageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ui_language_test.moc"
