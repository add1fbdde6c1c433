#include "app/workbench.h"

#include "app/failure_report.h"
#include "app/main_form.h"
#include "app/table_location.h"
#include "dialogs/about_box.h"
#include "dialogs/options_dlg.h"
#include "i18n/ui_language.h"
#include "wordloom_build_info.h"

#include <cstdio>

namespace wordloom {

QIcon WorkbenchIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/wordloom/icons/%1x%1/apps/org.wordloom.Wordloom.png").arg(size));
    }
    return icon;
}

int RunWorkbench(int& argc, char** argv) {
    // --help and --version answer before a display is needed; Qt's own options are taken out by
    // the application, so the full check comes after it.
    QStringList raw;
    for (int i = 0; i < argc; ++i) {
        raw << QString::fromLocal8Bit(argv[i]);
    }
    if (const WorkbenchArguments early = ParseWorkbenchArguments(raw); early.help || early.version) {
        std::fputs(early.help ? WorkbenchUsage().toLocal8Bit().constData()
                              : "Wordloom " WORDLOOM_VERSION "\n",
                   stdout);
        return 0;
    }
    WordloomApplication application(argc, argv);
    InstallUiLanguage();
    const WorkbenchArguments arguments = ParseWorkbenchArguments(QApplication::arguments());
    if (!arguments.error.isEmpty()) {
        const QString text =
            QStringLiteral("wordloom: ") + arguments.error + QStringLiteral("\n\n") + WorkbenchUsage();
        std::fputs(text.toLocal8Bit().constData(), stderr);
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Wordloom"));
    QApplication::setOrganizationName(QStringLiteral("VEL Software"));
    QApplication::setApplicationVersion(QStringLiteral(WORDLOOM_VERSION));
    // Lets desktop shells match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.wordloom.Wordloom"));
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor")) {
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    }
    QApplication::setWindowIcon(WorkbenchIcon());

    TMainForm mainForm;
    const TableLocation table = LocateStringsTable(CurrentTableSources(arguments.database));
    mainForm.SetTablePath(table.path, table.error);
    new TAboutBox(&mainForm); // the start-up's about box; the menu shows a fresh one each time
    auto* optionsDlg = new TOptionsDlg(&mainForm);
    mainForm.SetOptionsDlg(optionsDlg);
    mainForm.show(); // runs FormShow
    if (mainForm.StartupFailed()) {
        return 1;
    }
    return QApplication::exec();
}

} // namespace wordloom
