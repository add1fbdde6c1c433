// pathwright-demo [FOLDER]: the shell components' demonstration window on its own, opened on FOLDER
// (the home folder without one).
#include "i18n/ui_language.h"
#include "shell/demo/shell_form.h"
#include "shell/forms/form_reader.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pathwright Demo"));
    // The desktop matches the window to its menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.wordloom.PathwrightDemo"));
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(
            QStringLiteral(":/pathwright/icons/%1x%1/apps/org.wordloom.PathwrightDemo.png").arg(size));
    QApplication::setWindowIcon(icon);
    wordloom::InstallUiLanguage();
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments.front().startsWith(u'-'))) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(QCoreApplication::translate("pathwright-demo", "Usage: pathwright-demo [FOLDER]")));
        return 2;
    }
    QString folder;
    if (!arguments.isEmpty()) {
        folder = arguments.front();
        if (!QFileInfo(folder).isDir()) {
            std::fprintf(
                stderr, "pathwright-demo: %s\n",
                qPrintable(QCoreApplication::translate("pathwright-demo", "%1 is not a folder").arg(folder)));
            return 2;
        }
    }
    try {
        wordloom::shell::TShellForm form(nullptr, folder);
        form.show();
        return QApplication::exec();
    } catch (const wordloom::shell::ShellError& e) {
        std::fprintf(stderr, "pathwright-demo: %s\n", qPrintable(e.Message()));
        return 1;
    }
}
