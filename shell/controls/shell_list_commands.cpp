// What the user does with the shell list: commands, menus, keys, rename, drag and drop.
#include "shell/controls/shell_list.h"

#include "shell/controls/drag_operations.h"
#include "shell/core/file_clipboard.h"
#include "shell/core/shell_link.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>

namespace wordloom::shell {

namespace {} // namespace

// ---- commands ----

void TVelShellList::OpenParent() {
    if (!m_browser->SelectFolderInParent())
        return;
    Populate();
    SendFolderChanged();
}

bool TVelShellList::ExecuteCommand(const QString& verb) {
    const std::vector<int> selected = SelectedItems();
    if (selected.empty())
        return false;
    OptFileList files;
    if (VerbIs(verb, "paste"))
        files = ClipboardFiles();
    else if (VerbIs(verb, "delete"))
        files = SelectedPaths();
    bool result = false;
    if (selected.size() == 1) {
        m_browser->SetObjectIDList(m_model->Rows()[std::size_t(selected.front())].record.id);
        if (!VerbIs(verb, "default") && !VerbIs(verb, "open")) {
            result = m_browser->InvokeCommand(verb);
        } else if (m_browser->IsFolder()) {
            if (!m_browser->EnterObject())
                return false;
            SendFolderChanged();
            Populate();
            return true;
        } else if (const QString target = m_browser->LinkTargetFolder(); !target.isEmpty()) {
            try {
                m_browser->SetFolder(target + u'/');
            } catch (const EPathwrightError&) {
                return false;
            }
            Populate();
            SendFolderChanged();
            return true;
        } else {
            result = m_browser->InvokeCommand(verb);
        }
    } else {
        m_browser->MultiObjects() = SelectedNames();
        result = m_browser->InvokeCommand(verb);
    }
    if (!result)
        return false;
    if (VerbIs(verb, "delete")) {
        ReportOperation(opDelete | opRemoved, std::move(files), QString());
        Resync();
    } else if (VerbIs(verb, "paste")) {
        ReportOperation(opPaste | opClipboard, std::move(files), Path());
    } else if (VerbIs(verb, "cut")) {
        MarkSelectedAsCut();
    }
    return true;
}

bool TVelShellList::PasteIntoFolder(const QString& verb) {
    m_browser->SetOnFileChange(nullptr);
    struct Rewatch {
        TVelShellList* list;
        ~Rewatch() {
            list->m_browser->SetOnFileChange([l = list](QObject*) { l->ScheduleResync(); });
        }
    } rewatch{this};
    if (!m_browser->SelectFolderInParent())
        return false;
    OptFileList files;
    if (VerbIs(verb, "paste"))
        files = ClipboardFiles();
    const bool result = m_browser->InvokeCommand(verb);
    m_browser->EnterObject();
    // Only a paste that happened is reported.
    if (result && VerbIs(verb, "paste"))
        ReportOperation(opPaste | opClipboard, std::move(files), Path());
    ScheduleResync();
    return result;
}

void TVelShellList::SelectAll() {
    if (ItemCount() > 0)
        m_selection->select(QItemSelection(m_model->index(0, 0), m_model->index(ItemCount() - 1, 0)),
                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    View()->setFocus();
}

QStringList TVelShellList::SelectedNames() {
    if (!m_selectedNames)
        m_selectedNames = std::make_unique<QStringList>();
    if (m_selectedNames->isEmpty()) {
        const OptIDList saved = m_browser->GetObjectIDList();
        for (int item : SelectedItems()) {
            m_browser->SetObjectIDList(m_model->Rows()[std::size_t(item)].record.id);
            m_selectedNames->append(m_browser->GetObjectName());
        }
        m_browser->SetObjectIDList(saved);
    }
    return *m_selectedNames;
}

void TVelShellList::SetSelectedNames(const QStringList& names) {
    if (!m_selectedNames)
        m_selectedNames = std::make_unique<QStringList>();
    m_applying = true;
    struct Done {
        bool& applying;
        ~Done() { applying = false; }
    } done{m_applying};
    m_selection->clearSelection();
    const OptIDList folder = m_browser->GetFolderIDList();
    for (const QString& name : names) {
        bool found = true;
        try {
            m_browser->SetObjectName(name);
        } catch (const EPathwrightError&) {
            found = false; // not here: nothing to select
        }
        // A name with a path may have moved the browser to another folder: that is no item here.
        if (m_browser->GetFolderIDList() != folder) {
            m_browser->SetFolderIDList(folder);
            continue;
        }
        if (!found)
            continue;
        const int item = IndexOfIDList(m_browser->GetObjectIDList());
        if (item < 0)
            continue;
        const QModelIndex index = m_model->index(item, 0);
        m_selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        m_selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        View()->scrollTo(index);
    }
    View()->setFocus();
    *m_selectedNames = names;
}

// ---- menus ----

bool TVelShellList::ShowBackgroundMenu(const QPoint& screenPoint) {
    if (!m_backgroundPopupMenu)
        return false;
    m_hooks.ExecMenu(*m_backgroundPopupMenu, screenPoint);
    return true;
}

bool TVelShellList::ShowItemMenu(const QPoint& screenPoint, QString& verb) {
    verb.clear();
    if (!SelectedItems().empty())
        m_browser->MultiObjects().append(SelectedNames());
    if (m_readOnly)
        m_browser->OnRename = nullptr;
    else
        m_browser->OnRename = [this](QObject*) { EditSelectedCaption(); };
    OptFileList clipboard = ClipboardFiles();
    OptFileList paths = SelectedPaths();
    const int focused = FocusedSelectedItem();
    const QString caption = focused >= 0 ? ItemCaption(focused) : QString();
    m_browser->SetReadOnly(m_readOnly);
    m_browser->ShowContextMenu(screenPoint, m_popupMenu, verb);
    if (VerbIs(verb, "delete"))
        ReportOperation(opDelete | opRemoved, std::move(paths), QString());
    else if (VerbIs(verb, "paste"))
        ReportOperation(opPaste | opClipboard, std::move(clipboard), Path() + caption);
    else if (VerbIs(verb, "cut"))
        MarkSelectedAsCut();
    return true;
}

void TVelShellList::HandleContextMenuKey() {
    const int item = FocusedSelectedItem();
    QPoint point(1, 1);
    if (item >= 0)
        point = View()->viewport()->mapToGlobal(ItemRect(item).bottomRight());
    QString verb;
    if (item >= 0 && m_shellContextMenu)
        ShowItemMenu(point, verb);
    else
        ShowBackgroundMenu(point);
}

// ---- keys and mouse ----

bool TVelShellList::HandleKeyDown(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    if (modifiers == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_A:
            SelectAll();
            return true;
        case Qt::Key_C:
            ExecuteCommand(QStringLiteral("copy"));
            return true;
        case Qt::Key_V:
            if (!m_readOnly)
                PasteIntoFolder(QStringLiteral("paste"));
            return true;
        case Qt::Key_X:
            if (!m_readOnly)
                ExecuteCommand(QStringLiteral("cut"));
            return true;
        default:
            return false;
        }
    }
    if (modifiers == Qt::ShiftModifier && key == Qt::Key_F10) {
        const int item = FocusedSelectedItem();
        if (m_shellContextMenu && item >= 0) {
            QString verb;
            ShowItemMenu(View()->viewport()->mapToGlobal(ItemRect(item).bottomRight()), verb);
        }
        return true;
    }
    if (modifiers != Qt::NoModifier)
        return false;
    switch (key) {
    case Qt::Key_Delete:
        if (!m_readOnly)
            ExecuteCommand(QStringLiteral("delete"));
        return true;
    case Qt::Key_F2:
        if (FocusedSelectedItem() >= 0)
            EditSelectedCaption();
        return true;
    case Qt::Key_F5:
        Populate();
        if (m_shellLink)
            m_shellLink->RefreshLinked(this);
        return true;
    case Qt::Key_Backspace:
        OpenParent();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ExecuteCommand(QStringLiteral("default"));
        return true;
    default:
        return false;
    }
}

void TVelShellList::HandleMousePress(QMouseEvent* event) {
    m_pressPoint = event->position().toPoint();
    m_pressButton = event->button();
    m_dragStarted = false;
}

bool TVelShellList::HandleMouseMove(QMouseEvent* event) {
    if (!m_oleDragDrop || m_pressButton == Qt::NoButton || !(event->buttons() & m_pressButton))
        return false;
    if ((event->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return false;
    const int item = ItemAt(m_pressPoint);
    const int button = ButtonMaskOf(m_pressButton);
    m_pressButton = Qt::NoButton;
    if (item < 0 || !IsSelected(item) || button == MK_MBUTTON)
        return false;
    m_dragStarted = true;
    StartDrag(button);
    return true;
}

void TVelShellList::HandleMouseRelease(QMouseEvent* event) {
    const bool dragged = m_dragStarted;
    m_pressButton = Qt::NoButton;
    m_dragStarted = false;
    if (event->button() != Qt::RightButton || dragged)
        return;
    const QPoint point = event->position().toPoint();
    const int item = ItemAt(point);
    const QPoint screenPoint = View()->viewport()->mapToGlobal(point);
    QString verb;
    if (item >= 0 && m_shellContextMenu)
        ShowItemMenu(screenPoint, verb);
    else
        ShowBackgroundMenu(screenPoint);
}

void TVelShellList::HandleDoubleClick(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (OnDblClick) {
        OnDblClick(this);
        return;
    }
    ExecuteCommand(QStringLiteral("default"));
}

// ---- rename ----

bool TVelShellList::CanEditItem(int item) {
    if (m_readOnly || item < 0 || item >= ItemCount())
        return false;
    m_browser->SetObjectIDList(m_model->Rows()[std::size_t(item)].record.id);
    return m_browser->CanRename();
}

bool TVelShellList::EditSelectedCaption() {
    const int item = FocusedSelectedItem();
    if (item < 0)
        return false;
    const QModelIndex index = m_model->index(item, 0);
    m_selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    View()->edit(index);
    return View()->indexWidget(index) != nullptr;
}

bool TVelShellList::ItemEdited(int item, const QString& text) {
    if (item < 0 || item >= ItemCount())
        return false;
    TVelShellListModel::Row& row = m_model->Rows()[std::size_t(item)];
    if (text.isEmpty() || text == row.caption)
        return false;
    m_browser->SetObjectIDList(row.record.id);
    OptFileList files = QStringList{Path() + m_browser->GetObjectName()};
    QString name = text;
    m_browser->RenameObject(name);
    row.caption = name;
    row.record.id = m_browser->GetObjectIDList();
    row.texts.clear();
    row.textsKnown = 0;
    row.image = -1;
    row.overlay = -1;
    m_model->RowChanged(item);
    // The new name has its own place in the order (the selection goes along).
    m_model->Reorder(SortOrder(m_model->Rows()));
    UpdateItemLayout();
    if (m_viewStyle == vsIcon) {
        // After the editor has closed: the view is still committing its data.
        QTimer::singleShot(0, this, [this] { Populate(); });
    }
    if (m_selectedNames)
        m_selectedNames->clear();
    ReportOperation(opRename, std::move(files), name);
    return true;
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
    QMimeData* mimeData = MakeFileListMimeData(urls, false);
    const OptFileList files = FilesFromDataObject(mimeData);
    QPointer<QDrag> drag = new QDrag(this);
    drag->setMimeData(mimeData);
    if (const int first = SelectedItems().front(); first >= 0)
        drag->setPixmap(ItemPixmap(first));
    Qt::DropAction effect;
    {
        TDragButtonWatcher watcher(button);
        effect = m_hooks.ExecDrag(*drag, allowed, canMove ? Qt::MoveAction : Qt::CopyAction);
        if (watcher.Cancelled())
            effect = Qt::IgnoreAction;
    }
    if (drag)
        drag->deleteLater();
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
