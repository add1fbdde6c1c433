// The operation reports of drag and drop, by the effect the drag ended with; the list and the tree
// report the same values.
#pragma once

#include "shell/controls/shell_control_common.h"

namespace wordloom::shell {

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
