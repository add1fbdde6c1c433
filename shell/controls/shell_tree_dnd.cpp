// Drag and drop with the shell tree: a node dragged out as a file, files dropped onto a folder node.
#include "shell/controls/shell_tree.h"

#include "shell/controls/drag_operations.h"
#include "shell/core/system_image_list.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTimer>

namespace wordloom::shell {

// ---- drag source ----

Qt::DropAction TVelShellTree::StartDrag(TVelShellTreeNode* node, int button) {
    m_dragNode = node;
    struct Clear {
        TVelShellTreeNode*& node;
        ~Clear() { node = nullptr; }
    } clear{m_dragNode};
    // The root is never dragged.
    if (!node || !node->parent() || !node->record)
        return Qt::IgnoreAction;
    const QString path = NodePath(node);
    if (path.isEmpty() || !PutBrowserOn(node))
        return Qt::IgnoreAction;
    Qt::DropActions allowed = Qt::CopyAction | Qt::LinkAction;
    if (m_browser->ObjectAttributes(Sfgao::CanDelete) & Sfgao::CanDelete)
        allowed |= Qt::MoveAction;
    TVelShellTreeNode* parent = NodeOf(node->parent());
    OptIDList parentId;
    if (parent && parent->record)
        parentId = parent->record->absolute;
    m_dragButton = button;
    struct Done {
        int& button;
        ~Done() { button = 0; }
    } done{m_dragButton};
    const auto [effect, files] = ExecFileDrag(this, {QUrl::fromLocalFile(path)}, allowed,
                                              m_images->Pixmap(node->image), button, m_hooks);
    m_dragButton = 0;
    QCoreApplication::processEvents();
    // The node may be gone by now (a drop onto this tree refreshes it): find its parent again.
    if (parentId) {
        for (QTreeWidgetItemIterator it(this); *it; ++it) {
            TVelShellTreeNode* candidate = NodeOf(*it);
            if (candidate && candidate->record && candidate->record->absolute == parentId) {
                RefreshNode(candidate, true);
                break;
            }
        }
    }
    if (effect != Qt::IgnoreAction)
        ReportOperation(DragSourceOperation(effect), files, QString());
    return effect;
}

// ---- drop target ----

void TVelShellTree::SetOleDragDrop(bool value) {
    if (value == m_oleDragDrop)
        return;
    m_oleDragDrop = value;
    if (!IsDesigning()) {
        setAcceptDrops(value);
        viewport()->setAcceptDrops(value);
    }
    m_dragMode = value ? TDragMode::dmAutomatic : TDragMode::dmManual;
}

void TVelShellTree::ClearHover() {
    if (m_hoverNode) {
        m_hoverNode->dropHighlighted = false;
        m_hoverNode->setBackground(0, QBrush());
        m_hoverNode->setForeground(0, QBrush());
    }
    m_hoverTarget.reset();
    m_hoverNode = nullptr;
    m_hoverTimer->stop();
}

void TVelShellTree::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_oleDragDrop) {
        event->ignore();
        return;
    }
    ClearHover();
    m_dragData = event->mimeData();
    m_lastEffect = Qt::IgnoreAction;
    m_scrollPacer.Start(m_hooks.TickCount());
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

void TVelShellTree::dragMoveEvent(QDragMoveEvent* event) {
    if (m_readOnly || !m_dragData) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    const int keyState = KeyStateOf(event->buttons(), event->modifiers());
    m_dragKeyButtons = keyState & MK_BUTTONS;
    TVelShellTreeNode* node = NodeOf(itemAt(point));
    if (node != m_hoverNode) {
        ClearHover();
        m_hoverNode = node;
        if (node) {
            const QString folder = NodePath(node);
            if (!folder.isEmpty())
                m_hoverTarget = std::make_unique<TVelFolderDropTarget>(folder);
            node->dropHighlighted = true;
            node->setBackground(0, palette().brush(QPalette::Highlight));
            node->setForeground(0, palette().brush(QPalette::HighlightedText));
            m_hoverTimer->start(int(autoExpandDelay));
        }
        m_hoverStart = m_hooks.TickCount();
    }
    if (m_scrollPacer.Due(m_hooks.TickCount()))
        AutoScroll(this, point);
    if (m_hoverNode && m_hooks.TickCount() - m_hoverStart > autoExpandDelay && !m_hoverNode->isExpanded())
        ExpandNode(m_hoverNode);
    const Qt::DropAction effect =
        m_hoverTarget ? m_hoverTarget->DragOver(m_dragData, keyState, event->possibleActions())
                      : Qt::IgnoreAction;
    m_lastEffect = effect;
    event->setDropAction(effect);
    if (effect == Qt::IgnoreAction)
        event->ignore();
    else
        event->accept();
}

void TVelShellTree::dragLeaveEvent(QDragLeaveEvent*) {
    ClearHover();
    m_dragData = nullptr;
    m_dragKeyButtons = 0;
}

void TVelShellTree::dropEvent(QDropEvent* event) {
    if (m_readOnly || !m_dragData || !m_hoverTarget || !m_hoverNode) {
        event->ignore();
        dragLeaveEvent(nullptr);
        return;
    }
    const int keyState = m_dragKeyButtons | KeyStateOf(Qt::NoButton, event->modifiers());
    const QPoint screenPoint = viewport()->mapToGlobal(event->position().toPoint());
    const Qt::DropAction effect =
        m_hoverTarget->Drop(m_dragData, keyState, event->possibleActions(), screenPoint, m_hooks, this);
    const OptFileList files = FilesFromDataObject(m_dragData);
    TVelShellTreeNode* hover = m_hoverNode;
    const QString destination = NodePath(hover);
    QCoreApplication::processEvents();
    if (effect != Qt::IgnoreAction) {
        event->setDropAction(effect);
        event->accept();
        ReportOperation(DropTargetOperation(effect), files, destination);
    } else {
        event->ignore();
    }
    if (m_hoverNode == hover && hover && hover->childCount() > 0)
        RefreshNode(hover, true);
    dragLeaveEvent(nullptr);
}

} // namespace wordloom::shell
