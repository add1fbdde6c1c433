// The shell list's keys, mouse buttons and in-place rename.
#include "shell/controls/shell_list.h"

#include "shell/controls/shell_keys.h"
#include "shell/core/shell_link.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTimer>

namespace wordloom::shell {

// ---- keys and mouse ----

bool TVelShellList::HandleKeyDown(QKeyEvent* event) {
    const TShellKeyCommand command = ShellKeyCommandOf(*event);
    if (command == TShellKeyCommand::None)
        return false;
    // Every key of the table is the list's own, done or refused: nothing after the list sees it.
    if (m_readOnly && ChangesContents(command))
        return true;
    switch (command) {
    case TShellKeyCommand::SelectAll:
        SelectAll();
        break;
    case TShellKeyCommand::Paste:
        PasteIntoFolder(VerbOf(command));
        break;
    case TShellKeyCommand::Copy:
    case TShellKeyCommand::Cut:
    case TShellKeyCommand::Delete:
    case TShellKeyCommand::Open:
        ExecuteCommand(VerbOf(command));
        break;
    case TShellKeyCommand::Rename:
        if (FocusedSelectedItem() >= 0)
            EditSelectedCaption();
        break;
    case TShellKeyCommand::Refresh:
        Populate();
        if (m_shellLink)
            m_shellLink->RefreshLinked(this);
        break;
    case TShellKeyCommand::ContextMenu:
        if (const int item = FocusedSelectedItem(); m_shellContextMenu && item >= 0) {
            QString verb;
            ShowItemMenu(View()->viewport()->mapToGlobal(ItemRect(item).bottomRight()), verb);
        }
        break;
    case TShellKeyCommand::OpenParent:
        OpenParent();
        break;
    case TShellKeyCommand::None:
        break;
    }
    return true;
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
    if (m_viewStyle == TViewStyle::vsIcon) {
        // After the editor has closed: the view is still committing its data.
        QTimer::singleShot(0, this, [this] { Populate(); });
    }
    if (m_selectedNames)
        m_selectedNames->clear();
    ReportOperation(TVelShellOperation::opRename, std::move(files), name);
    return true;
}

} // namespace wordloom::shell
