#include "shell/controls/shell_tree.h"

#include "shell/controls/drag_operations.h"
#include "shell/controls/shell_list.h"
#include "shell/core/busy_cursor.h"
#include "shell/core/file_clipboard.h"
#include "shell/core/system_image_list.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace wordloom::shell {

// Linking this control in makes the controls known to form files (see RegisterShellControls).
[[maybe_unused]] static const bool kControlsRegistered = (RegisterShellControls(), true);

namespace {

// Hourglass and no repainting while nodes are added or removed in bulk.
class UpdateBracket {
public:
    explicit UpdateBracket(QWidget* widget) : m_widget(widget), m_was(widget->updatesEnabled()) {
        m_widget->setUpdatesEnabled(false);
    }
    ~UpdateBracket() { m_widget->setUpdatesEnabled(m_was); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    QWidget* m_widget;
    bool m_was;
};

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
    setItemDelegate(new NodeEditDelegate(this));
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

// ---- nodes ----

TVelShellTreeNode* TVelShellTree::NodeOf(QTreeWidgetItem* item) {
    return item && item->type() == QTreeWidgetItem::UserType ? static_cast<TVelShellTreeNode*>(item)
                                                             : nullptr;
}

TVelShellTreeNode* TVelShellTree::RootNode() const {
    return NodeOf(topLevelItem(0));
}

TVelShellTreeNode* TVelShellTree::Selected() const {
    return NodeOf(currentItem());
}

void TVelShellTree::Select(TVelShellTreeNode* node) {
    setCurrentItem(node);
}

TVelShellTreeNode* TVelShellTree::ChildByText(QTreeWidgetItem* parent, const QString& text) {
    if (!parent)
        return nullptr;
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text)
            return NodeOf(parent->child(i));
    }
    return nullptr;
}

void TVelShellTree::SetNodeImages(TVelShellTreeNode* node) {
    const auto pixmap = [this, node](int index) {
        QPixmap base = m_images->Pixmap(index);
        if (base.isNull() || !node->dimmed)
            return base;
        QPixmap dim(base.size());
        dim.setDevicePixelRatio(base.devicePixelRatio());
        dim.fill(Qt::transparent);
        QPainter painter(&dim);
        painter.setOpacity(0.5);
        painter.drawPixmap(0, 0, base);
        return dim;
    };
    QIcon icon;
    icon.addPixmap(pixmap(node->image), QIcon::Normal);
    icon.addPixmap(pixmap(node->selectedImage >= 0 ? node->selectedImage : node->image), QIcon::Selected);
    node->setIcon(0, icon);
}

bool TVelShellTree::PutBrowserOn(TVelShellTreeNode* node) {
    if (!node || !node->record)
        return false;
    TVelShellTreeNode* parent = NodeOf(node->parent());
    try {
        if (parent && parent->record) {
            m_browser->SetFolderIDList(parent->record->absolute);
            m_browser->SetObjectIDList(node->record->relative);
        } else {
            m_browser->SetFolderIDList(node->record->absolute);
            m_browser->SelectFolderInParent();
        }
    } catch (const EPathwrightError&) {
        return false;
    }
    return true;
}

// ---- building ----

void TVelShellTree::OpenRootFolder() {
    if (m_rootedAt == SF_FILESYSTEMFOLDER)
        m_browser->SetFolder(m_rootedAtFileSystemFolder);
    else
        m_browser->SetSpecialFolder(m_rootedAt);
}

void TVelShellTree::SetRootedAt(TVelShellFolder kind) {
    m_rootedAt = kind;
    BusyCursor busy;
    UpdateBracket bracket(this);
    m_notifyTimer->stop();
    setCurrentItem(nullptr);
    clear();
    auto* root = new TVelShellTreeNode;
    root->record = TVelShellTreeItem();
    addTopLevelItem(root);
    if (kind == SF_DESKTOP) {
        root->record->relative = IDList();
        root->record->absolute = IDList();
        root->image = root->selectedImage = m_browser->DesktopIconNumber();
        root->setText(0, m_browser->DesktopName());
        root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    } else {
        // A directory that is not there: the error leaves a root without text.
        OpenRootFolder();
        root->record->relative = CopyIDList(m_browser->GetFolderIDList());
        root->record->absolute = CopyIDList(m_browser->GetFolderIDList());
        m_browser->SelectFolderInParent();
        root->image = m_browser->GetIconNumber();
        root->selectedImage = m_browser->GetSelectedIconNumber();
        root->setText(0, m_browser->DisplayName());
        root->setChildIndicatorPolicy(m_browser->HasSubFolders() ? QTreeWidgetItem::ShowIndicator
                                                                 : QTreeWidgetItem::DontShowIndicator);
    }
    SetNodeImages(root);
    ExpandNode(root);
    const int wanted = kind == SF_DRIVES ? 1 : 0;
    if (root->childCount() > wanted)
        Select(NodeOf(root->child(wanted)));
    if (kind != SF_FILESYSTEMFOLDER)
        m_rootedAtFileSystemFolder.clear();
}

void TVelShellTree::SetRootedAtFileSystemFolder(const QString& text) {
    m_rootedAtFileSystemFolder = text;
    const QFileInfo info(text);
    if (!text.isEmpty() && info.isDir())
        SetRootedAt(SF_FILESYSTEMFOLDER);
}

void TVelShellTree::FillNode(TVelShellTreeNode* node) {
    if (!node || node->childCount() > 0 || !node->record)
        return;
    BusyCursor busy;
    UpdateBracket bracket(this);
    try {
        m_browser->SetFolderIDList(node->record->absolute);
    } catch (const EPathwrightError&) {
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
        return;
    }
    while (m_browser->NextObject()) {
        if (m_showFiles || m_browser->IsFolder())
            AddFolderNode(node);
    }
    SortChildren(node);
    node->setChildIndicatorPolicy(node->childCount() > 0 ? QTreeWidgetItem::ShowIndicator
                                                         : QTreeWidgetItem::DontShowIndicator);
}

void TVelShellTree::ExpandNode(TVelShellTreeNode* node) {
    if (!node)
        return;
    if (!m_anyLevel && node->parent())
        return;
    FillNode(node);
    node->setExpanded(true);
}

TVelShellTreeNode* TVelShellTree::AddFolderNode(TVelShellTreeNode* parent) {
    if (!m_showHidden && m_browser->IsHidden())
        return nullptr;
    if (!m_showNetHood) {
        const TVelShellFolder special = m_browser->ObjectSpecialIndex();
        const OptIDList& absolute = m_browser->AbsoluteObjectIDList();
        const bool network =
            special == SF_NETHOOD || special == SF_NETWORK ||
            (absolute && !absolute->IsDesktop() && absolute->LastItem().kind == ItemKind::Network);
        if (network)
            return nullptr;
    }
    auto* node = new TVelShellTreeNode;
    node->setText(0, m_browser->DisplayName());
    node->image = m_browser->GetIconNumber();
    node->selectedImage = m_browser->GetSelectedIconNumber();
    const bool hasChildren = m_showFiles ? m_browser->IsFolder() : m_browser->HasSubFolders();
    node->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                              : QTreeWidgetItem::DontShowIndicator);
    node->record = TVelShellTreeItem();
    node->record->relative = CopyIDList(m_browser->GetObjectIDList());
    node->record->absolute = ConcatIDLists(CopyIDList(m_browser->GetFolderIDList()), node->record->relative);
    node->record->present = true;
    constexpr std::uint32_t shared = 0x20000;
    const std::uint32_t attributes = m_browser->ObjectAttributes(0xB0000);
    if (attributes & shared)
        node->overlay = 0;
    // Hidden objects are drawn dimmed, as cut ones are; only a cut makes RefreshSelection look again.
    if (attributes & Sfgao::Hidden)
        node->dimmed = true;
    SetNodeImages(node);
    if (parent)
        parent->addChild(node);
    else
        addTopLevelItem(node);
    return node;
}

void TVelShellTree::SortChildren(TVelShellTreeNode* node) {
    if (!node || node->childCount() < 2)
        return;
    QList<QTreeWidgetItem*> children = node->takeChildren();
    std::stable_sort(children.begin(), children.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        const TVelShellTreeNode* left = NodeOf(a);
        const TVelShellTreeNode* right = NodeOf(b);
        if (!left || !right || !left->record || !right->record || !left->record->relative ||
            !right->record->relative)
            return false; // equal on failure
        return shell::CompareIDs(*left->record->relative, *right->record->relative) < 0;
    });
    node->addChildren(children);
}

// ---- selection and the link ----

void TVelShellTree::SendFolderChanged(const TVelShellTreeNode* node) {
    if (m_shellLink && node && node->record && node->record->absolute)
        m_shellLink->FolderChanged(this, node->record->absolute->Bytes());
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
    const bool savedAnyLevel = m_anyLevel;
    m_anyLevel = true;
    TVelShellTreeNode* current = RootNode();
    bool matchedAll = current != nullptr && idList.has_value();
    if (current && idList) {
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
    m_anyLevel = savedAnyLevel;
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

QString TVelShellTree::NodePath(const TVelShellTreeNode* node) {
    if (!node || !node->record || !node->record->absolute)
        return QString();
    const QString path = QFile::decodeName(PathFromIDList(*node->record->absolute)).left(260);
    if (path.isEmpty()) {
        try {
            m_browser->SetFolderIDList(node->record->absolute);
        } catch (const EPathwrightError&) {
        }
    }
    return path;
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

// ---- refreshing ----

void TVelShellTree::RefreshNode(TVelShellTreeNode* node, bool recursive) {
    if (!node || !node->record)
        return;
    for (int i = 0; i < node->childCount(); ++i) {
        if (TVelShellTreeNode* child = NodeOf(node->child(i)); child && child->record)
            child->record->present = false;
    }
    try {
        m_browser->SetFolderIDList(node->record->absolute);
    } catch (const EPathwrightError&) {
        // The folder itself is gone: none of its children is present any more.
        while (node->childCount() > 0)
            delete node->child(0);
        return;
    }
    bool added = false;
    while (m_browser->NextObject()) {
        if (!m_showFiles && !m_browser->IsFolder())
            continue;
        TVelShellTreeNode* child = ChildByText(node, m_browser->DisplayName());
        if (!child) {
            if (AddFolderNode(node))
                added = true;
        } else if (child->record) {
            child->record->present = true;
            // The same rule as for a new node, so that switching ShowFiles on gives every folder a button.
            const bool hasChildren = m_showFiles ? m_browser->IsFolder() : m_browser->HasSubFolders();
            child->setChildIndicatorPolicy(hasChildren || child->childCount() > 0
                                               ? QTreeWidgetItem::ShowIndicator
                                               : QTreeWidgetItem::DontShowIndicator);
        }
    }
    for (int i = node->childCount() - 1; i >= 0; --i) {
        TVelShellTreeNode* child = NodeOf(node->child(i));
        if (!child || !child->record)
            continue;
        if (!child->record->present) {
            if (child == m_hoverNode)
                ClearHover();
            delete child;
        }
    }
    if (recursive) {
        for (int i = 0; i < node->childCount(); ++i) {
            TVelShellTreeNode* child = NodeOf(node->child(i));
            if (child && child->isExpanded())
                RefreshNode(child, true);
        }
    }
    if (added)
        SortChildren(node);
}

void TVelShellTree::RefreshAll() {
    if (!RootNode())
        return;
    BusyCursor busy;
    QCoreApplication::processEvents();
    UpdateBracket bracket(this);
    RefreshNode(RootNode(), true);
}

void TVelShellTree::RefreshSelection() {
    TVelShellTreeNode* node = Selected();
    if (!node || (!node->isExpanded() && node->childCount() == 0))
        return;
    QCoreApplication::processEvents();
    node = Selected();
    if (!node)
        return;
    UpdateBracket bracket(this);
    RefreshNode(node->text(0).isEmpty() ? NodeOf(node->parent()) : node, true);
    // Folders cut here and pasted elsewhere leave their old place.
    std::vector<TVelShellTreeNode*> cutParents;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        TVelShellTreeNode* cut = NodeOf(*it);
        if (cut && cut->cut && cut->parent())
            cutParents.push_back(NodeOf(cut->parent()));
    }
    for (TVelShellTreeNode* parent : cutParents)
        RefreshNode(parent, true);
}

// ---- link notices and window life ----

bool TVelShellTree::event(QEvent* event) {
    if (const TShellLinkEvent* notice = TShellLinkEvent::From(event)) {
        switch (notice->Message()) {
        case TShellLinkMessage::SLM_FOLDERCHANGED: {
            if (!notice->IDList())
                break;
            const OptIDList folder = IDList::FromBytes(*notice->IDList());
            if (!folder)
                break;
            if (m_rootedAt != SF_FILESYSTEMFOLDER) {
                SelectIDList(folder);
            } else {
                try {
                    m_browser->SetFolderIDList(folder);
                    SetSelectedFolder(m_browser->Folder());
                } catch (const EPathwrightError&) {
                    // A folder outside the root: the selection stays.
                }
            }
            break;
        }
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
    return QTreeWidget::event(event);
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
        ReportOperation(opDelete | opRemoved, std::move(files), QString());
    } else if (VerbIs(verb, "paste")) {
        QCoreApplication::processEvents();
        RefreshSelection();
        ReportOperation(opPaste | opClipboard, std::move(files), SelectedFolder());
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
        ReportOperation(opDelete | opRemoved, std::move(files), QString());
    } else if (VerbIs(verb, "cut")) {
        MarkCut(Selected());
    } else if (VerbIs(verb, "paste")) {
        QCoreApplication::processEvents();
        RefreshSelection();
        ReportOperation(opPaste | opClipboard, std::move(files), SelectedFolder());
    }
}

void TVelShellTree::SelectParent() {
    m_notifyTimer->setInterval(m_delays.click);
    TVelShellTreeNode* node = Selected();
    if (node && node->parent())
        Select(NodeOf(node->parent()));
}

// ---- keys and mouse ----

bool TVelShellTree::HandleKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    if (modifiers == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_A:
            if (m_shellLink) {
                m_shellLink->SelectAllItems(this);
                return true;
            }
            return false;
        case Qt::Key_C:
            ExecuteCommand(QStringLiteral("copy"));
            return true;
        case Qt::Key_V:
            if (!m_readOnly)
                ExecuteCommand(QStringLiteral("paste"));
            return true;
        case Qt::Key_X:
            if (!m_readOnly)
                ExecuteCommand(QStringLiteral("cut"));
            return false;
        default:
            return false;
        }
    }
    if (modifiers == Qt::ShiftModifier && key == Qt::Key_F10) {
        TVelShellTreeNode* node = Selected();
        if (m_shellContextMenu && node) {
            QString verb;
            ShowNodeMenu(viewport()->mapToGlobal(visualItemRect(node).bottomRight()), verb);
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
        if (Selected())
            EditSelectedNode();
        return true;
    case Qt::Key_F5:
        RefreshAll();
        if (m_shellLink)
            m_shellLink->RefreshLinked(this);
        return true;
    default:
        return false;
    }
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
    ReportOperation(opRename, std::move(files), name);
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

void TVelShellTree::MoveToSortedPlace(TVelShellTreeNode* node) {
    QTreeWidgetItem* parent = node->parent();
    if (!parent || !node->record || !node->record->relative)
        return;
    const int from = parent->indexOfChild(node);
    int to = 0;
    for (int i = 0; i < parent->childCount(); ++i) {
        const TVelShellTreeNode* sibling = NodeOf(parent->child(i));
        if (i != from && sibling && sibling->record && sibling->record->relative &&
            shell::CompareIDs(*sibling->record->relative, *node->record->relative) < 0)
            ++to;
    }
    if (to == from)
        return;
    const bool wasCurrent = currentItem() == node;
    const bool wasSelected = node->isSelected();
    const bool wasExpanded = node->isExpanded();
    // Taking the node out moves the current item for a moment: nobody is to follow that.
    const QSignalBlocker blocker(this);
    parent->insertChild(to, parent->takeChild(from));
    if (wasCurrent)
        setCurrentItem(node);
    node->setSelected(wasSelected);
    node->setExpanded(wasExpanded);
}

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
    const OptIDList parentId = parent && parent->record ? parent->record->absolute : std::nullopt;
    m_dragButton = button;
    struct Done {
        int& button;
        ~Done() { button = 0; }
    } done{m_dragButton};
    QMimeData* mimeData = MakeFileListMimeData({QUrl::fromLocalFile(path)}, false);
    const OptFileList files = FilesFromDataObject(mimeData);
    QPointer<QDrag> drag = new QDrag(this);
    drag->setMimeData(mimeData);
    drag->setPixmap(m_images->Pixmap(node->image));
    Qt::DropAction effect;
    {
        TDragButtonWatcher watcher(button);
        effect =
            m_hooks.ExecDrag(*drag, allowed, (allowed & Qt::MoveAction) ? Qt::MoveAction : Qt::CopyAction);
        if (watcher.Cancelled())
            effect = Qt::IgnoreAction;
    }
    if (drag)
        drag->deleteLater();
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
    m_dragMode = value ? dmAutomatic : dmManual;
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
