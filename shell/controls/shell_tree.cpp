// The shell tree itself: its placement and settings, the selection and the link, its commands.
#include "shell/controls/shell_tree.h"

#include "shell/controls/shell_list.h"
#include "shell/core/busy_cursor.h"
#include "shell/core/shell_link.h"
#include "shell/core/system_image_list.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTimer>

namespace wordloom::shell {

// Linking this control in makes the controls known to form files (see RegisterShellControls).
[[maybe_unused]] static const bool kControlsRegistered = (RegisterShellControls(), true);

TVelShellTree::TVelShellTree(QWidget* owner) : QTreeWidget(owner), TVelShellControl(this) {
    m_browser = new TPathwright(this);
    m_images = new TVelSystemImageList(this);
    m_notifyTimer = new QTimer(this);
    m_notifyTimer->setInterval(m_delays.click);
    connect(m_notifyTimer, &QTimer::timeout, this, &TVelShellTree::NotifyTimerFired);
    m_hoverTimer = new QTimer(this);
    m_hoverTimer->setSingleShot(true);
    // A drag that rests without moving gets no moves: the timer opens the folder all the same.
    connect(m_hoverTimer, &QTimer::timeout, this, [this] {
        if (m_hoverNode && m_dragData)
            ExpandNode(m_hoverNode);
    });

    setColumnCount(1);
    header()->hide();
    // Long names scroll sideways instead of being cut short.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setItemDelegate(NewEditDelegate());
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    setDragEnabled(false);
    setAutoExpandDelay(-1);
    resize(150, 200);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { SelectionChanged(current); });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (TVelShellTreeNode* node = NodeOf(item))
            FillNode(node);
        OnExpanded(this);
    });
}

TVelShellTree::~TVelShellTree() {
    m_notifyTimer->stop();
    m_hoverTimer->stop();
    m_hoverTarget.reset();
}

// ---- placement ----

void TVelShellTree::SetAlign(TAlign align) {
    m_align = align;
    RequestAlign(this);
}

void TVelShellTree::SetLeft(int value) {
    move(value, y());
}

void TVelShellTree::SetTop(int value) {
    move(x(), value);
}

void TVelShellTree::SetWidth(int value) {
    resize(value, height());
    RequestAlign(this);
}

void TVelShellTree::SetHeight(int value) {
    resize(width(), value);
    RequestAlign(this);
}

// ---- selection and the link ----

// The linked controls follow the node: the link hands each of them the folder in a TShellLinkEvent, which
// the list answers in TVelShellList::FolderChangedNotice (the combo box in its namesake).
void TVelShellTree::SendFolderChanged(const TVelShellTreeNode* node) {
    if (m_shellLink && node && node->record && node->record->absolute)
        m_shellLink->FolderChanged(this, *node->record->absolute);
}

void TVelShellTree::SelectionChanged(QTreeWidgetItem* current) {
    TVelShellTreeNode* node = NodeOf(current);
    if (m_notifyNow) {
        m_notifyNow = false;
        // The notice goes now; one still waiting would only repeat it.
        m_notifyTimer->stop();
        if (!IsLoading())
            SendFolderChanged(node);
    } else {
        m_notifyTimer->stop();
        m_notifyTimer->start();
    }
    OnChange(this);
}

void TVelShellTree::NotifyTimerFired() {
    m_notifyTimer->stop();
    SendFolderChanged(Selected());
}

bool TVelShellTree::SelectIDList(const OptIDList& idList) {
    BusyCursor busy;
    TVelShellTreeNode* current = RootNode();
    bool matchedAll = current != nullptr && idList.has_value();
    if (current && idList) {
        const QScopedValueRollback<bool> anyLevel(m_anyLevel, true);
        const std::vector<ItemView> items = idList->Items();
        IDList prefix;
        for (const ItemView& item : items) {
            prefix = prefix.Appended(item.kind, item.name);
            const IDList single = IDList::Item(item.kind, item.name);
            current->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            ExpandNode(current);
            TVelShellTreeNode* match = nullptr;
            for (int i = 0; i < current->childCount() && !match; ++i) {
                TVelShellTreeNode* child = NodeOf(current->child(i));
                if (child && child->record && FirstItemsEqual(child->record->relative, single))
                    match = child;
            }
            // Failing the bytes, the folder may still know the object under another spelling.
            const bool bound =
                !match && current->record && current->record->absolute &&
                (current->record->absolute->IsDesktop() || BindToFolder(*current->record->absolute));
            for (int i = 0; bound && i < current->childCount() && !match; ++i) {
                TVelShellTreeNode* child = NodeOf(current->child(i));
                if (child && child->record && child->record->absolute &&
                    shell::CompareIDs(*child->record->absolute, prefix) == 0)
                    match = child;
            }
            if (!match) {
                matchedAll = false;
                break;
            }
            current = match;
        }
    }
    if (current) {
        m_notifyNow = true;
        if (currentItem() == current)
            SelectionChanged(current);
        else
            Select(current);
        scrollToItem(current);
    }
    return matchedAll;
}

QString TVelShellTree::SelectedFolder() {
    TVelShellTreeNode* node = Selected();
    if (!node || !node->record)
        return QString();
    try {
        m_browser->SetFolderIDList(node->record->absolute);
    } catch (const EPathwrightError&) {
        return QString();
    }
    return m_browser->Folder();
}

void TVelShellTree::SetSelectedFolder(const QString& value) {
    QString text = value;
    try {
        OpenRootFolder();
    } catch (const EPathwrightError&) {
        if (!IsLoading())
            throw;
        return;
    }
    if (m_rootedAt == SF_FILESYSTEMFOLDER) {
        const QString rootFolder = m_browser->Folder();
        if (!rootFolder.isEmpty() && text.startsWith(rootFolder, Qt::CaseInsensitive))
            text = text.mid(rootFolder.size()).left(260);
    }
    if (text.isEmpty()) {
        if (m_rootedAt == SF_DESKTOP)
            SetSpecialFolder(SF_DRIVES);
        else if (TVelShellTreeNode* root = RootNode()) {
            m_notifyNow = true;
            Select(root);
        }
        return;
    }
    bool result = false;
    const OptIDList folder = m_browser->GetFolderIDList();
    const std::shared_ptr<ShellFolder> rootFolder = folder ? BindToFolder(*folder) : nullptr;
    OptIDList parsed = rootFolder ? IDListFromName(rootFolder.get(), text.left(260)) : std::nullopt;
    // The list is parsed below the root, so its items are walked from the root's children. The walk
    // tells the link at once; a second notice would only make the linked list read the folder again.
    if (parsed)
        result = SelectIDList(parsed);
    FreeIDList(parsed);
    if (!result && !IsLoading())
        throw EPathwrightError(QCoreApplication::translate("Pathwright", "Cannot Find Folder: %1").arg(text));
}

TVelShellFolder TVelShellTree::SpecialFolder() {
    TVelShellTreeNode* node = Selected();
    if (!node || !node->record)
        return SF_FILESYSTEMFOLDER;
    try {
        m_browser->SetFolderIDList(node->record->absolute);
    } catch (const EPathwrightError&) {
        return SF_FILESYSTEMFOLDER;
    }
    const TVelShellFolder kind = m_browser->FolderSpecialIndex();
    if (kind == SF_DRIVES && !SelectedFolder().isEmpty())
        return SF_FILESYSTEMFOLDER;
    return kind;
}

void TVelShellTree::SetSpecialFolder(TVelShellFolder kind) {
    if (kind == SF_FILESYSTEMFOLDER)
        return;
    if (!m_browser->SetSpecialFolder(kind))
        return;
    OptIDList copy = CopyIDList(m_browser->GetFolderIDList());
    SelectIDList(copy);
    FreeIDList(copy);
}

// ---- settings that rebuild ----

void TVelShellTree::Rebuild() {
    const QString selected = SelectedFolder();
    SetRootedAt(m_rootedAt);
    try {
        SetSelectedFolder(selected);
    } catch (const EPathwrightError&) {
        // The folder went meanwhile: the rebuilt tree keeps its first selection.
    }
}

void TVelShellTree::SetShowHidden(bool value) {
    if (value == m_showHidden)
        return;
    m_showHidden = value;
    if (RootNode())
        Rebuild();
}

void TVelShellTree::SetShowNetHood(bool value) {
    if (value == m_showNetHood)
        return;
    m_showNetHood = value;
    if (RootNode())
        Rebuild();
}

void TVelShellTree::SetFileSystemOnly(bool value) {
    m_browser->SetFileSystemOnly(value);
    RefreshAll();
}

void TVelShellTree::SetShowFiles(bool value) {
    if (value == m_showFiles)
        return;
    m_showFiles = value;
    RefreshAll();
}

void TVelShellTree::SetFilter(const QString& value) {
    m_browser->SetFilter(value);
    RefreshAll();
}

void TVelShellTree::SetShowButtons(bool value) {
    m_showButtons = value;
    setItemsExpandable(true);
}

void TVelShellTree::SetReadOnly(bool value) {
    m_readOnly = value;
    setEditTriggers(value ? QAbstractItemView::NoEditTriggers : QAbstractItemView::EditKeyPressed);
}

// ---- link notices and window life ----

void TVelShellTree::FolderChangedNotice(const IDList& folder) {
    if (m_rootedAt != SF_FILESYSTEMFOLDER) {
        SelectIDList(folder);
        return;
    }
    try {
        m_browser->SetFolderIDList(folder);
        SetSelectedFolder(m_browser->Folder());
    } catch (const EPathwrightError&) {
        // A folder outside the root: the selection stays.
    }
}

bool TVelShellTree::event(QEvent* event) {
    const TShellLinkEvent* notice = TShellLinkEvent::From(event);
    if (!notice)
        return QTreeWidget::event(event);
    switch (notice->Message()) {
    case TShellLinkMessage::SLM_FOLDERCHANGED:
        if (notice->Folder())
            FolderChangedNotice(*notice->Folder());
        break;
    case TShellLinkMessage::SLM_REFRESH:
        RefreshAll();
        break;
    case TShellLinkMessage::SLM_CONTENTSCHANGED:
        RefreshSelection();
        break;
    case TShellLinkMessage::SLM_SELECTALL:
        break;
    }
    return true;
}

void TVelShellTree::showEvent(QShowEvent* event) {
    QTreeWidget::showEvent(event);
    if (!FirstWindowSetup())
        return;
    m_browser->Loaded();
    setRootIsDecorated(false);
    if (IsDesigning() && topLevelItemCount() == 0)
        SetRootedAt(m_rootedAt);
}

void TVelShellTree::Loaded() {
    TVelShellControl::Loaded();
    m_notifyTimer->stop();
    SendFolderChanged(Selected());
}

// ---- commands ----

void TVelShellTree::ReportOperation(TVelShellOperations operation, OptFileList files,
                                    const QString& destination) {
    if (OnOperation && files && !files->isEmpty())
        OnOperation(this, operation, *files, destination);
}

void TVelShellTree::DeleteSelectedNode() {
    TVelShellTreeNode* node = Selected();
    if (!node)
        return;
    m_notifyNow = true;
    if (node == m_hoverNode)
        ClearHover();
    delete node;
    // Deleting the current node moves the selection without always telling about it.
    if (m_notifyNow) {
        m_notifyNow = false;
        SendFolderChanged(Selected());
    }
}

void TVelShellTree::MarkCut(TVelShellTreeNode* node) {
    if (!node)
        return;
    node->cut = true;
    node->dimmed = true;
    SetNodeImages(node);
}

bool TVelShellTree::ExecuteCommand(const QString& verb) {
    TVelShellTreeNode* node = Selected();
    if (!node)
        return false;
    OptFileList files;
    if (VerbIs(verb, "paste"))
        files = ClipboardFiles();
    else
        files = QStringList{SelectedFolder()};
    bool result = true;
    if (node->record) {
        if (!PutBrowserOn(node))
            return false;
        result = m_browser->InvokeCommand(verb);
    }
    if (!result)
        return false;
    if (VerbIs(verb, "delete")) {
        DeleteSelectedNode();
        ReportOperation(TVelShellOperation::opDelete | TVelShellOperation::opRemoved, std::move(files),
                        QString());
    } else if (VerbIs(verb, "paste")) {
        QCoreApplication::processEvents();
        RefreshSelection();
        ReportOperation(TVelShellOperation::opPaste | TVelShellOperation::opClipboard, std::move(files),
                        SelectedFolder());
    } else if (VerbIs(verb, "cut")) {
        MarkCut(node);
    }
    return true;
}

void TVelShellTree::ShowNodeMenu(const QPoint& screenPoint, QString& verb) {
    verb.clear();
    TVelShellTreeNode* node = Selected();
    if (!node || !node->record || !PutBrowserOn(node))
        return;
    if (m_readOnly)
        m_browser->OnRename = nullptr;
    else
        m_browser->OnRename = [this](QObject*) { EditSelectedNode(); };
    OptFileList files = ClipboardFiles();
    m_browser->SetReadOnly(m_readOnly);
    const QString folder = SelectedFolder();
    PutBrowserOn(node);
    m_browser->ShowContextMenu(screenPoint, m_popupMenu, verb);
    if (VerbIs(verb, "delete")) {
        m_notifyNow = true;
        files = QStringList{folder};
        DeleteSelectedNode();
        ReportOperation(TVelShellOperation::opDelete | TVelShellOperation::opRemoved, std::move(files),
                        QString());
    } else if (VerbIs(verb, "cut")) {
        MarkCut(Selected());
    } else if (VerbIs(verb, "paste")) {
        QCoreApplication::processEvents();
        RefreshSelection();
        ReportOperation(TVelShellOperation::opPaste | TVelShellOperation::opClipboard, std::move(files),
                        SelectedFolder());
    }
}

void TVelShellTree::SelectParent() {
    m_notifyTimer->setInterval(m_delays.click);
    TVelShellTreeNode* node = Selected();
    if (node && node->parent())
        Select(NodeOf(node->parent()));
}

} // namespace wordloom::shell
