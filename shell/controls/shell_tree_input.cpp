// The shell tree's keys, mouse buttons and in-place rename.
#include "shell/controls/shell_tree.h"

#include "shell/controls/shell_keys.h"
#include "shell/core/shell_link.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>

namespace wordloom::shell {

namespace {

// Ends an in-place edit through the tree, which renames the object.
class NodeEditDelegate : public QStyledItemDelegate {
public:
    explicit NodeEditDelegate(TVelShellTree* tree) : QStyledItemDelegate(tree), m_tree(tree) {}
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line)
            return;
        TVelShellTreeNode* node = TVelShellTree::NodeOf(m_tree->itemFromIndex(index));
        const QString text = line->text();
        if (node && text != node->text(0))
            m_tree->NodeEdited(node, text);
    }

private:
    TVelShellTree* m_tree;
};

} // namespace

QAbstractItemDelegate* TVelShellTree::NewEditDelegate() {
    return new NodeEditDelegate(this);
}

// ---- keys and mouse ----

bool TVelShellTree::HandleKey(QKeyEvent* event) {
    const TShellKeyCommand command = ShellKeyCommandOf(*event);
    switch (command) {
    case TShellKeyCommand::None:
    case TShellKeyCommand::OpenParent:
    case TShellKeyCommand::Open:
        // Backspace and Enter keep the view's meaning in the tree.
        return false;
    case TShellKeyCommand::SelectAll:
        // The tree selects one node: Ctrl+A selects the linked list's items, and without a link the key
        // is not the tree's.
        if (!m_shellLink)
            return false;
        m_shellLink->SelectAllItems(this);
        return true;
    default:
        break;
    }
    if (!(m_readOnly && ChangesContents(command))) {
        switch (command) {
        case TShellKeyCommand::Copy:
        case TShellKeyCommand::Paste:
        case TShellKeyCommand::Cut:
        case TShellKeyCommand::Delete:
            ExecuteCommand(VerbOf(command));
            break;
        case TShellKeyCommand::Rename:
            if (Selected())
                EditSelectedNode();
            break;
        case TShellKeyCommand::Refresh:
            RefreshAll();
            if (m_shellLink)
                m_shellLink->RefreshLinked(this);
            break;
        case TShellKeyCommand::ContextMenu:
            if (TVelShellTreeNode* node = Selected(); m_shellContextMenu && node) {
                QString verb;
                ShowNodeMenu(viewport()->mapToGlobal(visualItemRect(node).bottomRight()), verb);
            }
            break;
        default:
            break;
        }
    }
    // Unlike the list, the tree passes Ctrl+X on after cutting: the key still reaches the view and the
    // window, as it always has for the tree's users.
    return command != TShellKeyCommand::Cut;
}

void TVelShellTree::keyPressEvent(QKeyEvent* event) {
    if (state() == QAbstractItemView::EditingState) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    const bool handled = HandleKey(event);
    m_notifyTimer->setInterval(m_delays.key);
    if (!handled)
        QTreeWidget::keyPressEvent(event);
}

void TVelShellTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_notifyTimer->setInterval(m_delays.click);
    m_pressPoint = event->position().toPoint();
    m_pressButton = event->button();
    m_dragStarted = false;
    QTreeWidget::mousePressEvent(event);
}

void TVelShellTree::mouseMoveEvent(QMouseEvent* event) {
    if (m_oleDragDrop && m_pressButton != Qt::NoButton && (event->buttons() & m_pressButton) &&
        (event->position().toPoint() - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
        TVelShellTreeNode* node = NodeOf(itemAt(m_pressPoint));
        const int button = ButtonMaskOf(m_pressButton);
        m_pressButton = Qt::NoButton;
        if (node && button != MK_MBUTTON) {
            m_dragStarted = true;
            StartDrag(node, button);
            return;
        }
    }
    if (m_pressButton == Qt::RightButton)
        return;
    QTreeWidget::mouseMoveEvent(event);
}

void TVelShellTree::mouseReleaseEvent(QMouseEvent* event) {
    m_pressButton = Qt::NoButton;
    QTreeWidget::mouseReleaseEvent(event);
}

void TVelShellTree::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (m_dragStarted) {
        m_dragStarted = false;
        return;
    }
    if (event->reason() == QContextMenuEvent::Mouse) {
        // A right click selects the node under the mouse first.
        if (TVelShellTreeNode* node = NodeOf(itemAt(viewport()->mapFromGlobal(event->globalPos()))))
            Select(node);
    }
    if (Selected() && m_shellContextMenu) {
        QString verb;
        ShowNodeMenu(event->globalPos(), verb);
    }
}

// ---- rename ----

bool TVelShellTree::CanEditNode(TVelShellTreeNode* node) {
    if (!node || m_readOnly)
        return false;
    if (!node->record)
        return true;
    return PutBrowserOn(node) && m_browser->CanRename();
}

bool TVelShellTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool wouldEdit = trigger == QAbstractItemView::AllEditTriggers || (editTriggers() & trigger);
    if (wouldEdit && index.isValid() && state() != QAbstractItemView::EditingState) {
        TVelShellTreeNode* node = NodeOf(itemFromIndex(index));
        if (!CanEditNode(node))
            return false;
        node->setFlags(node->flags() | Qt::ItemIsEditable);
    }
    return QTreeWidget::edit(index, trigger, event);
}

bool TVelShellTree::EditSelectedNode() {
    TVelShellTreeNode* node = Selected();
    if (!node)
        return false;
    editItem(node, 0);
    return state() == QAbstractItemView::EditingState;
}

bool TVelShellTree::NodeEdited(TVelShellTreeNode* node, const QString& text) {
    if (!node || text.isEmpty())
        return false;
    if (!node->record) {
        node->setText(0, text);
        return true;
    }
    OptFileList files = QStringList{NodePath(node)};
    if (!PutBrowserOn(node))
        return false;
    QString name = text;
    m_browser->RenameObject(name);
    node->setText(0, m_browser->DisplayName());
    ReportOperation(TVelShellOperation::opRename, std::move(files), name);
    node->record->relative = CopyIDList(m_browser->GetObjectIDList());
    node->record->absolute = ConcatIDLists(CopyIDList(m_browser->GetFolderIDList()), node->record->relative);
    // The children's lists still hold the old name: they are read again when the node next opens.
    const bool wasExpanded = node->isExpanded();
    while (node->childCount() > 0)
        delete node->child(0);
    if (wasExpanded)
        ExpandNode(node);
    if (indexWidget(indexFromItem(node))) {
        // The view is still committing the editor's text into the node: it moves once the editor
        // has closed.
        connect(
            itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] {
                if (TVelShellTreeNode* current = NodeOf(currentItem()))
                    MoveToSortedPlace(current);
            },
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    } else {
        MoveToSortedPlace(node);
    }
    SendFolderChanged(node);
    return true;
}

} // namespace wordloom::shell
