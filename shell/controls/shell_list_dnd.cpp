// Drag and drop with the shell list: its selection dragged out as files, files dropped onto its folder
// or onto a folder among its items.
#include "shell/controls/shell_list.h"

#include "shell/controls/drag_operations.h"

#include <QAbstractItemView>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>

namespace wordloom::shell {

void TVelShellList::SetOleDragDrop(bool value) {
    m_oleDragDrop = value;
    if (IsDesigning())
        return;
    for (QAbstractItemView* view : {m_reportView, m_iconView}) {
        view->setAcceptDrops(value);
        view->viewport()->setAcceptDrops(value);
    }
}

void TVelShellList::SetDropHighlight(int item, bool on) {
    if (item < 0 || item >= ItemCount())
        return;
    m_model->Rows()[std::size_t(item)].dropHighlighted = on;
    m_model->RowChanged(item);
}

QString TVelShellList::ItemDirectory(int item) {
    const TVelShellListModel::Row& row = m_model->Rows()[std::size_t(item)];
    if (!row.record.id || !m_browser->GetFolderIDList())
        return QString();
    const IDList absolute = m_browser->GetFolderIDList()->Appended(*row.record.id);
    if (!(AttributesOf(absolute, Sfgao::Folder) & Sfgao::Folder))
        return QString();
    return QFile::decodeName(PathFromIDList(absolute));
}

// ---- drag source ----

Qt::DropAction TVelShellList::StartDrag(int button) {
    std::vector<IDList> ids;
    for (int item : SelectedItems()) {
        if (const OptIDList& id = m_model->Rows()[std::size_t(item)].record.id)
            ids.push_back(*id);
        if (ids.size() >= 60000)
            break;
    }
    if (ids.empty() || !m_browser->GetFolderIDList())
        return Qt::IgnoreAction;
    // Copy and link for any file; move only when every one may leave its folder.
    QList<QUrl> urls;
    bool canMove = true;
    for (const IDList& id : ids) {
        const IDList absolute = m_browser->GetFolderIDList()->Appended(id);
        const QByteArray path = PathFromIDList(absolute);
        if (path.isEmpty())
            return Qt::IgnoreAction; // a virtual object cannot be dragged as a file
        urls.append(QUrl::fromLocalFile(QFile::decodeName(path)));
        canMove = canMove && (AttributesOf(absolute, Sfgao::CanDelete) & Sfgao::CanDelete);
    }
    Qt::DropActions allowed = Qt::CopyAction | Qt::LinkAction;
    if (canMove)
        allowed |= Qt::MoveAction;
    m_dragButton = button;
    struct Done {
        int& button;
        ~Done() { button = 0; }
    } done{m_dragButton};
    const int first = SelectedItems().front();
    const auto [effect, files] =
        ExecFileDrag(this, urls, allowed, first >= 0 ? ItemPixmap(first) : QPixmap(), button, m_hooks);
    if (effect != Qt::IgnoreAction)
        ReportOperation(DragSourceOperation(effect), files, QString());
    return effect;
}

// ---- drop target ----

void TVelShellList::HandleDragEnter(QDragEnterEvent* event) {
    if (!m_oleDragDrop) {
        event->ignore();
        return;
    }
    HandleDragLeave();
    m_dragData = event->mimeData();
    // The shown folder itself takes drops on the background.
    if (!Path().isEmpty())
        m_folderDropTarget = std::make_unique<TVelFolderDropTarget>(Path());
    m_scrollPacer.Start(m_hooks.TickCount());
    m_dragKeyButtons = KeyStateOf(event->buttons(), event->modifiers()) & MK_BUTTONS;
    // Accepted so that the moves come; each move tells the effect.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

Qt::DropAction TVelShellList::DropEffectAt(const QPoint& point, int keyState, Qt::DropActions allowed,
                                           bool forDrop) {
    const int item = ItemAt(point);
    if (!forDrop && item != m_hoveredItem) {
        SetDropHighlight(m_hoveredItem, false);
        m_itemDropTarget.reset();
        m_hoveredItem = item;
        if (item >= 0) {
            const QString folder = ItemDirectory(item);
            if (folder.isEmpty()) {
                m_hoveredItem = -1;
            } else {
                m_itemDropTarget = std::make_unique<TVelFolderDropTarget>(folder);
                SetDropHighlight(item, true);
            }
        }
        View()->viewport()->update();
    }
    if (m_itemDropTarget)
        return m_itemDropTarget->DragOver(m_dragData, keyState, allowed);
    // The objects of this folder cannot be dropped onto its own background with the left button.
    if (m_folderDropTarget && (m_dragButton == 0 || (keyState & MK_RBUTTON)))
        return m_folderDropTarget->DragOver(m_dragData, keyState, allowed);
    return Qt::IgnoreAction;
}

void TVelShellList::HandleDragMove(QDragMoveEvent* event) {
    if (m_readOnly || !m_dragData) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    const int keyState = KeyStateOf(event->buttons(), event->modifiers());
    m_dragKeyButtons = keyState & MK_BUTTONS;
    const Qt::DropAction effect = DropEffectAt(point, keyState, event->possibleActions(), false);
    if (m_scrollPacer.Due(m_hooks.TickCount()))
        AutoScroll(static_cast<QAbstractScrollArea*>(View()), point);
    event->setDropAction(effect);
    if (effect == Qt::IgnoreAction)
        event->ignore();
    else
        event->accept();
}

void TVelShellList::HandleDragLeave() {
    SetDropHighlight(m_hoveredItem, false);
    m_dragData = nullptr;
    m_folderDropTarget.reset();
    m_itemDropTarget.reset();
    m_hoveredItem = -1;
    m_dragKeyButtons = 0;
}

void TVelShellList::HandleDrop(QDropEvent* event) {
    if (m_readOnly || !m_dragData) {
        event->ignore();
        HandleDragLeave();
        return;
    }
    // The buttons are up at the drop: the ones of the last move count.
    const int keyState = m_dragKeyButtons | (KeyStateOf(Qt::NoButton, event->modifiers()));
    const bool toItem = m_itemDropTarget != nullptr;
    const QString destination = toItem ? Path() + ItemCaption(m_hoveredItem) : Path();
    Qt::DropAction effect = Qt::IgnoreAction;
    const QPoint screenPoint = View()->viewport()->mapToGlobal(event->position().toPoint());
    if (DropEffectAt(event->position().toPoint(), keyState, event->possibleActions(), true) !=
        Qt::IgnoreAction) {
        const TVelFolderDropTarget* target = toItem ? m_itemDropTarget.get() : m_folderDropTarget.get();
        effect = target->Drop(m_dragData, keyState, event->possibleActions(), screenPoint, m_hooks, this);
    }
    const OptFileList files = FilesFromDataObject(m_dragData);
    HandleDragLeave();
    if (effect == Qt::IgnoreAction) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return;
    }
    event->setDropAction(effect);
    event->accept();
    ReportOperation(DropTargetOperation(effect), files, destination);
    ScheduleResync();
}

} // namespace wordloom::shell
