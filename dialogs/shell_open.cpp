#include "dialogs/shell_open.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace wordloom {

namespace {

DocumentOpener& Opener() {
    static DocumentOpener opener;
    return opener;
}

} // namespace

void SetDocumentOpener(DocumentOpener opener) {
    Opener() = std::move(opener);
}

QString OpenDocument(const QString& target, const QString& workingDir) {
    const QUrl url = QUrl::fromUserInput(target, workingDir.isEmpty() ? QDir::currentPath() : workingDir,
                                         QUrl::AssumeLocalFile);
    if (target.trimmed().isEmpty() || !url.isValid()) {
        return {};
    }
    const QString shown = url.isLocalFile() ? url.toLocalFile() : url.toDisplayString();
    // The desktop's opener takes a missing file without a word; only its program would complain.
    if (url.isLocalFile() && !QFileInfo::exists(shown)) {
        return QCoreApplication::translate("OpenDocument", "Cannot open %1:\nthe file does not exist.")
            .arg(shown);
    }
    const bool opened = Opener() ? Opener()(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        return QCoreApplication::translate(
                   "OpenDocument",
                   "Cannot open %1:\nno program to open it was found (is xdg-open installed?).")
            .arg(shown);
    }
    return {};
}

} // namespace wordloom
