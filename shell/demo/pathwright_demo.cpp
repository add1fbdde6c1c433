// pathwright-demo [FOLDER]: the shell components' demonstration window on its own, opened on FOLDER
// (the home folder without one).
#include "i18n/ui_language.h"
#include "shell/demo/shell_form.h"
#include "shell/forms/form_reader.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pathwright Demo"));
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
