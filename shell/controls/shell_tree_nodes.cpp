// The nodes of the shell tree: building them from the namespace, their order, paths and refreshing.
#include "shell/controls/shell_tree.h"

#include "shell/core/busy_cursor.h"
#include "shell/core/system_image_list.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace wordloom::shell {

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

} // namespace

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

} // namespace wordloom::shell
