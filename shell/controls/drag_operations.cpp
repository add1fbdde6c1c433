#include "shell/controls/drag_operations.h"

#include "shell/core/file_clipboard.h"

#include <QDrag>
#include <QMimeData>
#include <QPointer>

namespace wordloom::shell {

FileDragEnd ExecFileDrag(QObject* source, const QList<QUrl>& urls, Qt::DropActions allowed,
                         const QPixmap& pixmap, int button, const TVelShellControlHooks& hooks) {
    FileDragEnd end;
    QMimeData* mimeData = MakeFileListMimeData(urls, false);
    end.files = FilesFromDataObject(mimeData);
    // A drop onto the source itself can destroy the drag while it runs.
    QPointer<QDrag> drag = new QDrag(source);
    drag->setMimeData(mimeData);
    if (!pixmap.isNull())
        drag->setPixmap(pixmap);
    {
        TDragButtonWatcher watcher(button);
        end.effect =
            hooks.ExecDrag(*drag, allowed, (allowed & Qt::MoveAction) ? Qt::MoveAction : Qt::CopyAction);
        if (watcher.Cancelled())
            end.effect = Qt::IgnoreAction;
    }
    if (drag)
        drag->deleteLater();
    return end;
}

} // namespace wordloom::shell
