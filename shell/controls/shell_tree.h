// TVelShellTree: the folder hierarchy of the shell namespace below a chosen root (the desktop, another
// special folder or a directory). Nodes are filled the first time they open, carry the system icons and
// follow changes through the refresh operations; the selected node is told to the linked controls after a
// short pause. Commands, the context menu, keys, in-place rename and drag and drop both ways.
#pragma once

#include "shell/controls/control_layout.h"
#include "shell/controls/shell_control_common.h"
#include "shell/core/pathwright.h"
#include "shell/core/shell_link.h"
#include "shell/core/shell_namespace.h"

#include <QMenu>
#include <QPointer>
#include <QTreeWidget>

#include <memory>
#include <optional>

class QTimer;

namespace wordloom::shell {

class TVelSystemImageList;

// The record of a node: the object relative to its parent's folder, the same object absolute, and the
// flag RefreshNode uses.
struct TVelShellTreeItem {
    OptIDList relative;
    OptIDList absolute;
    bool present = true;
};

// A node of the tree. Nodes made by programs through the plain tree interface have no record.
class TVelShellTreeNode : public QTreeWidgetItem {
public:
    TVelShellTreeNode() : QTreeWidgetItem(UserType) {}
    std::optional<TVelShellTreeItem> record;
    int image = -1;
    int selectedImage = -1;
    int overlay = -1;    // 0: the share overlay
    bool dimmed = false; // hidden or cut: drawn dimmed
    bool cut = false;
    bool dropHighlighted = false;
};

class TVelShellTree : public QTreeWidget, public TVelShellControl {
    Q_OBJECT
    Q_PROPERTY(wordloom::shell::ControlLayout::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Left READ x WRITE SetLeft)
    Q_PROPERTY(int Top READ y WRITE SetTop)
    Q_PROPERTY(int Width READ width WRITE SetWidth)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(TVelShellLink* ShellLink READ ShellLink WRITE SetShellLink)
    Q_PROPERTY(wordloom::shell::ShellFolderKinds::TVelShellFolder RootedAt READ RootedAt WRITE SetRootedAt)
    Q_PROPERTY(
        QString RootedAtFileSystemFolder READ RootedAtFileSystemFolder WRITE SetRootedAtFileSystemFolder)
    Q_PROPERTY(QString SelectedFolder READ SelectedFolder WRITE SetSelectedFolder)
    Q_PROPERTY(wordloom::shell::ShellFolderKinds::TVelShellFolder SpecialFolder READ SpecialFolder WRITE
                   SetSpecialFolder)
    Q_PROPERTY(bool OleDragDrop READ OleDragDrop WRITE SetOleDragDrop)
    Q_PROPERTY(bool ShellContextMenu READ ShellContextMenu WRITE SetShellContextMenu)
    Q_PROPERTY(bool ShowHidden READ ShowHidden WRITE SetShowHidden)
    Q_CLASSINFO("Default:ShowHidden", "True")
    Q_PROPERTY(bool ShowNetHood READ ShowNetHood WRITE SetShowNetHood)
    Q_CLASSINFO("Default:ShowNetHood", "True")
    Q_PROPERTY(bool FileSystemOnly READ FileSystemOnly WRITE SetFileSystemOnly)
    Q_CLASSINFO("Default:FileSystemOnly", "False")
    Q_PROPERTY(bool ShowFiles READ ShowFiles WRITE SetShowFiles)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
    Q_PROPERTY(TMethod OnOperation READ OnOperationMethod WRITE SetOnOperationMethod)
    Q_PROPERTY(TMethod OnContextMenuSelect READ OnContextMenuSelectMethod WRITE SetOnContextMenuSelectMethod)
    Q_PROPERTY(bool ShowButtons READ ShowButtons WRITE SetShowButtons)
    Q_PROPERTY(bool ShowLines READ ShowLines WRITE SetShowLines)
    Q_PROPERTY(bool ShowRoot READ ShowRoot WRITE SetShowRoot)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(wordloom::shell::ControlLayout::TDragMode DragMode READ DragMode WRITE SetDragMode)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(int Indent READ indentation WRITE setIndentation)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(TMethod OnChange READ OnChangeMethod WRITE SetOnChangeMethod)
    Q_PROPERTY(TMethod OnExpanded READ OnExpandedMethod WRITE SetOnExpandedMethod)

public:
    // Empty until RootedAt is set; 150 x 200.
    explicit TVelShellTree(QWidget* owner = nullptr);
    ~TVelShellTree() override;

    // ---- placement ----
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    void SetLeft(int value);
    void SetTop(int value);
    void SetWidth(int value);
    void SetHeight(int value);
    int TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int value) { m_tabOrder = value; }

    // ---- published ----
    void SetShellLink(TVelShellLink* link) { TVelShellControl::SetShellLink(link); }
    TVelShellFolder RootedAt() const { return m_rootedAt; }
    // Rebuilds the tree with a new root; the root is expanded and its first child (for Computer its
    // second) selected.
    void SetRootedAt(TVelShellFolder kind);
    QString RootedAtFileSystemFolder() const { return m_rootedAtFileSystemFolder; }
    // Stores the text; an existing directory also roots the tree there.
    void SetRootedAtFileSystemFolder(const QString& text);
    // The selected node's folder ("/" at the end); empty without one and for virtual folders.
    QString SelectedFolder();
    // Selects the node of a path, opening the way down. Outside loading a path that cannot be reached
    // throws EPathwrightError "Cannot Find Folder: ..."; the empty text selects Computer (desktop root)
    // or the root.
    void SetSelectedFolder(const QString& text);
    TVelShellFolder SpecialFolder();
    void SetSpecialFolder(TVelShellFolder kind);
    bool OleDragDrop() const { return m_oleDragDrop; }
    void SetOleDragDrop(bool value);
    bool ShellContextMenu() const { return m_shellContextMenu; }
    void SetShellContextMenu(bool value) { m_shellContextMenu = value; }
    bool ShowHidden() const { return m_showHidden; }
    void SetShowHidden(bool value);
    bool ShowNetHood() const { return m_showNetHood; }
    void SetShowNetHood(bool value);
    bool FileSystemOnly() const { return m_browser->FileSystemOnly(); }
    void SetFileSystemOnly(bool value);
    bool ShowFiles() const { return m_showFiles; }
    void SetShowFiles(bool value);
    QString Filter() const { return m_browser->GetFilter(); }
    void SetFilter(const QString& value);
    QString Version() const { return ComponentVersion(this); }
    void SetVersion(const QString&) {}
    bool ShowButtons() const { return m_showButtons; }
    void SetShowButtons(bool value);
    bool ShowLines() const { return m_showLines; }
    void SetShowLines(bool value) { m_showLines = value; }
    bool ShowRoot() const { return rootIsDecorated(); }
    void SetShowRoot(bool value) { setRootIsDecorated(value); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value);
    TDragMode DragMode() const { return m_dragMode; }
    void SetDragMode(TDragMode mode) { m_dragMode = mode; }
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool value) { m_hideSelection = value; }
    QMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu* menu) { m_popupMenu = menu; }

    // ---- events ----
    TOnOperation OnOperation;
    TNotifyEvent OnChange;
    TNotifyEvent OnExpanded;
    // The browser's own event: the tree keeps no copy.
    TEvent<const QString&, bool&>& OnContextMenuSelect() { return m_browser->OnContextMenuSelect; }
    TMethod OnOperationMethod() const { return OnOperation.Method(); }
    void SetOnOperationMethod(const TMethod& m) { OnOperation.SetMethod(m); }
    TMethod OnContextMenuSelectMethod() const { return m_browser->OnContextMenuSelectMethod(); }
    void SetOnContextMenuSelectMethod(const TMethod& m) { m_browser->SetOnContextMenuSelectMethod(m); }
    TMethod OnChangeMethod() const { return OnChange.Method(); }
    void SetOnChangeMethod(const TMethod& m) { OnChange.SetMethod(m); }
    TMethod OnExpandedMethod() const { return OnExpanded.Method(); }
    void SetOnExpandedMethod(const TMethod& m) { OnExpanded.SetMethod(m); }

    // ---- operations ----
    // Selects the node of an absolute list, opening the way; true when every item was matched (else the
    // deepest node reached is selected). The linked controls are told at once.
    bool SelectIDList(const OptIDList& idList);
    // Adds the browser's current object as a child of `parent` (unless hidden ones or the network are
    // left out); the new node or null.
    TVelShellTreeNode* AddFolderNode(TVelShellTreeNode* parent);
    // Fills a node that has no children yet.
    void FillNode(TVelShellTreeNode* node);
    // Fills the node and opens it one level.
    void ExpandNode(TVelShellTreeNode* node);
    // Orders the children of a node as the namespace orders its objects.
    void SortChildren(TVelShellTreeNode* node);
    // Moves a renamed node to where its new name belongs among its siblings; selection, focus and
    // expansion stay as they were and the link hears nothing of the move.
    void MoveToSortedPlace(TVelShellTreeNode* node);
    // The file-system path of a node (no "/" at the end but for "/"); empty for virtual folders.
    QString NodePath(const TVelShellTreeNode* node);
    bool ExecuteCommand(const QString& verb);
    void ShowNodeMenu(const QPoint& screenPoint, QString& verb);
    // Selects the parent of the selected node; the link hears of it after the click delay.
    void SelectParent();
    void RefreshNode(TVelShellTreeNode* node, bool recursive);
    void RefreshAll();
    void RefreshSelection();
    // Starts the in-place edit of the selected node's text; false when it may not be renamed.
    bool EditSelectedNode();
    // Whether a node's text may be edited.
    bool CanEditNode(TVelShellTreeNode* node);
    // Ends an in-place edit with a new text: renames, reports and tells the link.
    bool NodeEdited(TVelShellTreeNode* node, const QString& text);
    // Starts a drag of a node (not the root) with a mouse button (MK_ mask); the effect.
    Qt::DropAction StartDrag(TVelShellTreeNode* node, int button);
    void ReportOperation(TVelShellOperations operation, OptFileList files, const QString& destination);

    // ---- nodes ----
    TVelShellTreeNode* RootNode() const;
    TVelShellTreeNode* Selected() const;
    void Select(TVelShellTreeNode* node);
    static TVelShellTreeNode* NodeOf(QTreeWidgetItem* item);
    // The child of `parent` with this text, or null.
    static TVelShellTreeNode* ChildByText(QTreeWidgetItem* parent, const QString& text);
    TVelShellTreeNode* HoverNode() const { return m_hoverNode; }
    TPathwright* Browser() const { return m_browser; }
    QTimer* NotifyTimer() const { return m_notifyTimer; }

    // The link-notice delays in milliseconds; tests shorten them.
    struct TNotifyDelays {
        int click = 100;
        int key = 800;
    };
    TNotifyDelays& NotifyDelays() { return m_delays; }
    // A drag resting this long on a folder node opens it.
    qint64 autoExpandDelay = 2000;

    void Loaded() override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void startDrag(Qt::DropActions) override {}
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void SelectionChanged(QTreeWidgetItem* current);
    void NotifyTimerFired();
    // Puts the browser on the node's object: the parent's folder open, the node current.
    bool PutBrowserOn(TVelShellTreeNode* node);
    void SetNodeImages(TVelShellTreeNode* node);
    void OpenRootFolder();
    void Rebuild();
    void DeleteSelectedNode();
    void MarkCut(TVelShellTreeNode* node);
    void ClearHover();
    bool HandleKey(QKeyEvent* event);
    // The delegate that ends an in-place edit through NodeEdited.
    QAbstractItemDelegate* NewEditDelegate();
    void SendFolderChanged(const TVelShellTreeNode* node);
    // A linked control moved to `folder`: the tree selects its node where the root reaches it.
    void FolderChangedNotice(const IDList& folder);

    TPathwright* m_browser;
    TVelSystemImageList* m_images;
    QTimer* m_notifyTimer;
    TNotifyDelays m_delays;
    TVelShellFolder m_rootedAt = SF_DESKTOP;
    QString m_rootedAtFileSystemFolder;
    bool m_notifyNow = true;
    bool m_anyLevel = true;
    bool m_oleDragDrop = false;
    bool m_shellContextMenu = true;
    bool m_showHidden = true;
    bool m_showFiles = false;
    bool m_showNetHood = true;
    bool m_showButtons = true;
    bool m_showLines = true;
    bool m_readOnly = false;
    bool m_hideSelection = false;
    TDragMode m_dragMode = TDragMode::dmManual;
    TAlign m_align = TAlign::alNone;
    int m_tabOrder = -1;
    QPointer<QMenu> m_popupMenu;

    // drag and drop
    QPointer<const QMimeData> m_dragData;
    std::unique_ptr<TVelFolderDropTarget> m_hoverTarget;
    TVelShellTreeNode* m_hoverNode = nullptr;
    TVelShellTreeNode* m_dragNode = nullptr;
    int m_dragKeyButtons = 0;
    Qt::DropAction m_lastEffect = Qt::IgnoreAction;
    TAutoScrollPacer m_scrollPacer;
    qint64 m_hoverStart = 0;
    QTimer* m_hoverTimer;
    QPoint m_pressPoint;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    bool m_dragStarted = false;
};

} // namespace wordloom::shell
