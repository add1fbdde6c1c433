// File lists on the clipboard and in drags, readable by the usual Linux file managers: text/uri-list,
// x-special/gnome-copied-files ("copy" or "cut", then the URIs, one a line, no final newline),
// application/x-kde-cutselection ("1" on cut) and the paths as plain text.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class QMimeData;

namespace wordloom::shell {

// A new mime data object (the caller owns it) carrying the local files.
QMimeData* MakeFileListMimeData(const QList<QUrl>& urls, bool cut);
// The local files a mime data object carries, from whichever of the formats it has; `cut` tells
// whether they were cut. Empty when it carries none.
QList<QUrl> FileListFromMimeData(const QMimeData* data, bool* cut);

// Copies (or, with `move`, moves) each file or folder into `targetDir`; a name already there gets
// " (copy)", " (copy 2)", ... Folders are never copied into themselves and symbolic links are copied
// as links. False when anything failed (what succeeded stays done); `error` tells what.
bool TransferFiles(const QList<QUrl>& urls, const QString& targetDir, bool move, QString* error);

} // namespace wordloom::shell
