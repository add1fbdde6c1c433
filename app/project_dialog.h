// The "Select Delphi Project" dialog. It usually opens on the folder that holds the strings table,
// so it must never open a file there: POSIX drops every lock a process holds on a file when any
// descriptor of that file is closed, and another program would then take the table for its own.
#pragma once

#include <QFileDialog>
#include <QFileIconProvider>
#include <QMimeDatabase>
#include <memory>

namespace wordloom {

/// Icons and types told from a file's name alone. The default providers read a file's first bytes
/// when its name is not conclusive (strings.db, its -wal and -shm files), and so open it; the
/// desktop's icon lookup does the same. The style's folder, file and drive icons stand in where
/// the theme has none.
class NameOnlyIconProvider final : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QMimeDatabase m_mimeDatabase;
};

/// Qt's own file dialog (a desktop's dialog would run in this process and look into the files),
/// titled and filtered for project files and opened on `directory`.
std::unique_ptr<QFileDialog> NewProjectDialog(QWidget* parent, const QString& directory);

} // namespace wordloom
