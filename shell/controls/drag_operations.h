// Drags out of the list and the tree, and the operation reports of drag and drop by the effect the
// drag ended with; the list and the tree report the same values.
#pragma once

#include "shell/controls/shell_control_common.h"

#include <QList>
#include <QPixmap>
#include <QUrl>

namespace wordloom::shell {

// How a drag out of a control ended: the effect the target chose (IgnoreAction when cancelled) and
// the files the drag carried, for the report.
struct FileDragEnd {
    Qt::DropAction effect = Qt::IgnoreAction;
    OptFileList files;
};

// Drags `urls` out of `source` as a file list through hooks.ExecDrag, offering a move first when
// `allowed` holds one, else a copy; a null pixmap leaves the default drag image. Another mouse button
// than `button` or Escape cancels the drag.
FileDragEnd ExecFileDrag(QObject* source, const QList<QUrl>& urls, Qt::DropActions allowed,
                         const QPixmap& pixmap, int button, const TVelShellControlHooks& hooks);

// A drag out of a control ended: copy 0x005, move 0x086, any other effect 0x004.
inline TVelShellOperations DragSourceOperation(Qt::DropAction effect) {
    switch (effect) {
    case Qt::CopyAction:
        return TVelShellOperation::opCopy | TVelShellOperation::opDragSource;
    case Qt::MoveAction:
        return TVelShellOperation::opMove | TVelShellOperation::opDragSource | TVelShellOperation::opRemoved;
    default:
        return TVelShellOperation::opDragSource;
    }
}

// A drop onto a control: copy 0x009, move 0x00A, any other effect 0x008.
inline TVelShellOperations DropTargetOperation(Qt::DropAction effect) {
    switch (effect) {
    case Qt::CopyAction:
        return TVelShellOperation::opCopy | TVelShellOperation::opDropTarget;
    case Qt::MoveAction:
        return TVelShellOperation::opMove | TVelShellOperation::opDropTarget;
    default:
        return TVelShellOperation::opDropTarget;
    }
}

} // namespace wordloom::shell
