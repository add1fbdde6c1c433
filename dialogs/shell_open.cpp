#include "dialogs/shell_open.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace wordloom {

void OpenDocument(const QString& target, const QString& workingDir) {
    const QUrl url = QUrl::fromUserInput(target, workingDir.isEmpty() ? QDir::currentPath() : workingDir,
                                         QUrl::AssumeLocalFile);
    if (url.isValid()) {
        QDesktopServices::openUrl(url);
    }
}

} // namespace wordloom
