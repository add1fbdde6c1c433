#include "app/workbench.h"

#include "app/failure_report.h"
#include "app/main_form.h"
#include "dialogs/about_box.h"
#include "dialogs/options_dlg.h"
#include "i18n/ui_language.h"

#include <QPainter>
#include <QPixmap>

namespace wordloom {

QIcon WorkbenchIcon() {
    QIcon icon = QIcon::fromTheme(QStringLiteral("accessories-dictionary"));
    if (!icon.isNull()) {
        return icon;
    }
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(40, 90, 160));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(2, 2, 28, 28, 5, 5);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("W"));
    return QIcon(pixmap);
}

int RunWorkbench(int& argc, char** argv) {
    WordloomApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wordloom"));
    QApplication::setOrganizationName(QStringLiteral("VEL Software"));
    InstallUiLanguage();
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor")) {
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    }
    QApplication::setWindowIcon(WorkbenchIcon());

    TMainForm mainForm;
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
