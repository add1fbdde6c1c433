#include "dialogs/shell_open.h"

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
        return QStringLiteral("Cannot open ") + shown + QStringLiteral(":\nthe file does not exist.");
    }
    const bool opened = Opener() ? Opener()(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        return QStringLiteral("Cannot open ") + shown +
               QStringLiteral(":\nno program to open it was found (is xdg-open installed?).");
    }
    return {};
}

} // namespace wordloom
