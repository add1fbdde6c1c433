// Moving files into the freedesktop trash: the home trash ($XDG_DATA_HOME/Trash, by default
// ~/.local/share/Trash) for files on its volume, the trash at the top of the volume for the others.
#pragma once

#include <QByteArray>
#include <QString>

namespace wordloom::shell {

// Moves a file, folder or link into the trash, with its record in the trash's "info" folder. The
// trash folders are made (mode 0700, with any missing parents) when they are missing; nothing is
// written anywhere else. On failure the object stays where it was, nothing is left behind and
// `error` (when given) says why. `trashedAs` receives the object's path inside the trash.
bool MoveToTrash(const QByteArray& path, QString* error = nullptr, QByteArray* trashedAs = nullptr);

} // namespace wordloom::shell
