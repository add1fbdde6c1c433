// TVelShellList: the objects of one shell folder in four view styles (large icons, small icons, list,
// report), with the folder's detail columns, sorting, commands, context menus, in-place rename, drag
// and drop both ways and re-reading when the folder changes on disk.
#pragma once

#include "shell/controls/control_layout.h"
#include "shell/controls/shell_control_common.h"
#include "shell/core/pathwright.h"
#include "shell/core/shell_namespace.h"

#include "shell/core/shell_link.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAbstractItemView;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QItemSelectionModel;
class QKeyEvent;
class QMouseEvent;
class QStackedLayout;
class QTimer;

namespace wordloom::shell {

class TVelShellList;
class TVelSystemImageList;

// The per-item record: the object's relative list and the flag Resync uses.
struct TVelShellListItem {
    OptIDList id;
    bool present = true;
};

// A list item as the OnAddItem handler sees it: its caption and detail texts.
struct TVelListItem {
    int Index = -1;
    QString Caption;
    QStringList SubItems;
};

// Makes the controls (and the core's classes) known to the form reader by class name; later calls
// do nothing. Each control's own source calls it while the program starts.
void RegisterShellControls();

// (Item, var CanAdd).
using TOnAddItem = TEvent<TVelListItem&, bool&>;

// The list's rows and columns for the views. Texts and icons are asked of the list only for rows the
// views show, and kept.
class TVelShellListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        QString caption;
        TVelShellListItem record;
        QStringList texts;      // detail texts by column, filled on demand
        quint32 textsKnown = 0; // bit per column whose text is in `texts`
        int image = -1;         // icon index; -1 until first drawn
        qint8 overlay = -1;     // 1 link, 0 shared
        bool hiddenDim = false; // hidden objects are drawn dimmed
        bool cut = false;       // marked as cut
        bool dropHighlighted = false;
    };

    explicit TVelShellListModel(TVelShellList* list);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    std::vector<Row>& Rows() { return m_rows; }
    const std::vector<Row>& Rows() const { return m_rows; }

    void Reset(std::vector<Row> rows);
    void Append(Row row);
    // Removes the rows whose indexes are given (any order).
    void RemoveRows(std::vector<int> rows);
    // Reorders the rows: new row i is old row order[i]; selections follow their rows.
    void Reorder(const std::vector<int>& order);
    void SetColumns(const QStringList& captions, const std::vector<Qt::Alignment>& alignments);
    void RowChanged(int row);

private:
    TVelShellList* m_list;
    std::vector<Row> m_rows;
    QStringList m_captions;
    std::vector<Qt::Alignment> m_alignments;
};

class TVelShellList : public QWidget, public TVelShellControl {
    Q_OBJECT
public:
    enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
    Q_ENUM(TViewStyle)

private:
    Q_PROPERTY(bool Details READ Details WRITE SetDetails)
    Q_CLASSINFO("Default:Details", "True")
    Q_PROPERTY(bool ShowHidden READ ShowHidden WRITE SetShowHidden)
    Q_PROPERTY(bool FileSystemOnly READ FileSystemOnly WRITE SetFileSystemOnly)
    Q_CLASSINFO("Default:FileSystemOnly", "False")
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(QString Path READ Path WRITE SetPath)
    Q_PROPERTY(wordloom::shell::ShellFolderKinds::TVelShellFolder SpecialFolder READ SpecialFolder WRITE
                   SetSpecialFolder)
    Q_PROPERTY(TVelShellLink* ShellLink READ ShellLink WRITE SetShellLink)
    Q_PROPERTY(bool OleDragDrop READ OleDragDrop WRITE SetOleDragDrop)
    Q_PROPERTY(bool ShellContextMenu READ ShellContextMenu WRITE SetShellContextMenu)
    Q_PROPERTY(QMenu* BackgroundPopupMenu READ BackgroundPopupMenu WRITE SetBackgroundPopupMenu)
    Q_PROPERTY(wordloom::shell::TVelShellList::TViewStyle ViewStyle READ ViewStyle WRITE SetViewStyle)
    Q_CLASSINFO("Default:ViewStyle", "vsReport")
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool RowSelect READ RowSelect WRITE SetRowSelect)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(TMethod OnAddItem READ OnAddItemMethod WRITE SetOnAddItemMethod)
    Q_PROPERTY(TMethod OnPopulated READ OnPopulatedMethod WRITE SetOnPopulatedMethod)
    Q_PROPERTY(TMethod OnCreateColumns READ OnCreateColumnsMethod WRITE SetOnCreateColumnsMethod)
    Q_PROPERTY(TMethod OnOperation READ OnOperationMethod WRITE SetOnOperationMethod)
    Q_PROPERTY(TMethod OnContextMenuSelect READ OnContextMenuSelectMethod WRITE SetOnContextMenuSelectMethod)
    Q_PROPERTY(TMethod OnDblClick READ OnDblClickMethod WRITE SetOnDblClickMethod)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
    Q_PROPERTY(wordloom::shell::ControlLayout::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)

public:
    explicit TVelShellList(QWidget* owner = nullptr);
    ~TVelShellList() override;

    // ---- published ----
    bool Details() const { return m_details; }
    void SetDetails(bool value);
    bool ShowHidden() const { return m_showHidden; }
    void SetShowHidden(bool value);
    bool FileSystemOnly() const;
    void SetFileSystemOnly(bool value);
    QString Filter() const;
    void SetFilter(const QString& value);
    // The browser's folder text ("/" at the end); empty for virtual folders.
    QString Path() const;
    // While loading a missing folder is reported ("Cannot find path: ") and skipped; otherwise the
    // browser's "Cannot Find Folder: " reaches the caller and nothing changes.
    void SetPath(const QString& text);
    TVelShellFolder SpecialFolder() const;
    void SetSpecialFolder(TVelShellFolder kind);
    void SetShellLink(TVelShellLink* link);
    bool OleDragDrop() const { return m_oleDragDrop; }
    void SetOleDragDrop(bool value);
    bool ShellContextMenu() const { return m_shellContextMenu; }
    void SetShellContextMenu(bool value) { m_shellContextMenu = value; }
    QMenu* BackgroundPopupMenu() const { return m_backgroundPopupMenu; }
    void SetBackgroundPopupMenu(QMenu* menu) { m_backgroundPopupMenu = menu; }
    TViewStyle ViewStyle() const { return m_viewStyle; }
    void SetViewStyle(TViewStyle style);
    bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool value);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value) { m_readOnly = value; }
    bool RowSelect() const { return m_rowSelect; }
    void SetRowSelect(bool value);
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool value) { m_hideSelection = value; }
    QMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu* menu) { m_popupMenu = menu; }
    QString Version() const { return ComponentVersion(this); }
    void SetVersion(const QString&) {}
    // Placement in a form (control_layout.h).
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align) {
        m_align = align;
        RequestAlign(this);
    }
    int TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int value) { m_tabOrder = value; }

    // ---- events ----
    TOnAddItem OnAddItem;
    TNotifyEvent OnPopulated;
    TNotifyEvent OnCreateColumns;
    TOnOperation OnOperation;
    TNotifyEvent OnDblClick;
    // The browser's own event: the list keeps no copy.
    TEvent<const QString&, bool&>& OnContextMenuSelect() { return m_browser->OnContextMenuSelect; }

    TMethod OnAddItemMethod() const { return OnAddItem.Method(); }
    void SetOnAddItemMethod(const TMethod& m) { OnAddItem.SetMethod(m); }
    TMethod OnPopulatedMethod() const { return OnPopulated.Method(); }
    void SetOnPopulatedMethod(const TMethod& m) { OnPopulated.SetMethod(m); }
    TMethod OnCreateColumnsMethod() const { return OnCreateColumns.Method(); }
    void SetOnCreateColumnsMethod(const TMethod& m) { OnCreateColumns.SetMethod(m); }
    TMethod OnOperationMethod() const { return OnOperation.Method(); }
    void SetOnOperationMethod(const TMethod& m) { OnOperation.SetMethod(m); }
    TMethod OnContextMenuSelectMethod() const { return m_browser->OnContextMenuSelectMethod(); }
    void SetOnContextMenuSelectMethod(const TMethod& m) { m_browser->SetOnContextMenuSelectMethod(m); }
    TMethod OnDblClickMethod() const { return OnDblClick.Method(); }
    void SetOnDblClickMethod(const TMethod& m) { OnDblClick.SetMethod(m); }

    // ---- operations ----
    // Clears and refills the list; false while loading or disabled.
    bool Populate();
    // Brings the items in line with the folder, keeping items and selection; new ones at the end.
    void Resync();
    void BuildColumns();
    // Lists the browser's current object (unless hidden ones are off), asking OnAddItem.
    void AddObjectItem(bool withDetails);
    void SortByColumn(int column);
    // Orders two relative lists of the shown folder by a column: folders first, then the column's
    // value, then the names. Negative, 0 or positive.
    int CompareIDs(int column, const IDList& a, const IDList& b);
    // The item whose object is `idList`, or -1; the list is given back in both cases.
    int IndexOfIDList(OptIDList idList);
    void ReportOperation(TVelShellOperations operation, OptFileList files, const QString& destination);

    bool ExecuteCommand(const QString& verb);
    bool PasteIntoFolder(const QString& verb);
    void OpenParent();
    void SelectAll();
    // The names of the selected items, kept until the selection changes.
    QStringList SelectedNames();
    // Selects exactly the named items.
    void SetSelectedNames(const QStringList& names);
    bool ShowItemMenu(const QPoint& screenPoint, QString& verb);
    bool ShowBackgroundMenu(const QPoint& screenPoint);
    // Starts the in-place edit of the selected item's caption; false when it may not be renamed.
    bool EditSelectedCaption();

    // ---- items ----
    int ItemCount() const { return int(m_model->Rows().size()); }
    QString ItemCaption(int item) const { return m_model->Rows()[std::size_t(item)].caption; }
    // The text of a column as the view shows it (computed on demand).
    QString ItemText(int item, int column);
    // The caption as the current view style draws it: under large icons broken into lines (joined by
    // QChar::LineSeparator) that fit the item's width, elsewhere the caption itself.
    QString ItemDisplayText(int item);
    // The size of every item in the icon and list styles, made for the longest name; invalid in report
    // style.
    QSize UniformItemSize() const { return m_itemSize; }
    int ItemImage(int item);
    int ItemOverlay(int item);
    bool ItemDimmed(int item);
    bool ItemCut(int item) const { return m_model->Rows()[std::size_t(item)].cut; }
    bool ItemDropHighlighted(int item) const { return m_model->Rows()[std::size_t(item)].dropHighlighted; }
    const TVelShellListItem& ItemRecord(int item) const { return m_model->Rows()[std::size_t(item)].record; }
    bool IsSelected(int item) const;
    void SetSelected(int item, bool selected);
    std::vector<int> SelectedItems() const;
    // The pixmap drawn for an item: icon with overlay, dimmed when hidden or cut.
    QPixmap ItemPixmap(int item);
    // Whether the item's caption may be edited (the browser's CanRename).
    bool CanEditItem(int item);
    // Ends an in-place edit with a new text: renames and reports.
    bool ItemEdited(int item, const QString& text);

    int ColumnCount() const { return m_columnCount; }
    QString ColumnCaption(int column) const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    int SortColumn() const { return m_sortColumn; }
    bool SortDescending() const { return m_sortDescending; }

    TPathwright* Browser() const { return m_browser; }
    const TVelShellListModel* Model() const { return m_model; }
    TVelSystemImageList* SmallImages() const { return m_smallImages; }
    TVelSystemImageList* LargeImages() const { return m_largeImages; }
    QTimer* RefreshTimer() const { return m_refreshTimer; }
    // The view showing the current style (the report view or the icon/list view).
    QAbstractItemView* View() const;
    QItemSelectionModel* SelectionModel() const { return m_selection; }
    void ScheduleResync();

    void Loaded() override;

    // ---- the views' input, routed here ----
    bool HandleKeyDown(QKeyEvent* event);
    void HandleMousePress(QMouseEvent* event);
    bool HandleMouseMove(QMouseEvent* event);
    void HandleMouseRelease(QMouseEvent* event);
    void HandleDoubleClick(QMouseEvent* event);
    void HandleContextMenuKey();
    void HandleDragEnter(QDragEnterEvent* event);
    void HandleDragMove(QDragMoveEvent* event);
    void HandleDragLeave();
    void HandleDrop(QDropEvent* event);

    // Starts an OLE-style drag of the selection with a mouse button (MK_ mask); the effect.
    Qt::DropAction StartDrag(int button);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TVelShellListModel;
    // The report view and the icon/list view over the model, sharing one selection.
    void CreateViews();
    void ClearItems();
    // Walks the folder, adding into `into` every object that `listed` does not claim.
    void WalkFolder(std::vector<TVelShellListModel::Row>& into,
                    const std::function<bool(const IDList&)>& listed);
    void SortItems();
    std::vector<int> SortOrder(const std::vector<TVelShellListModel::Row>& rows);
    void ApplyColumnWidths();
    void ApplyViewStyle();
    // Works out the items' size and grid for the names listed now (icon and list styles).
    void UpdateItemLayout();
    int ItemAt(const QPoint& viewportPoint) const;
    int FocusedSelectedItem() const;
    QRect ItemRect(int item) const;
    void SetDropHighlight(int item, bool on);
    // The effect of a drop at a point; outside a drop it also moves the hover highlight.
    Qt::DropAction DropEffectAt(const QPoint& point, int keyState, Qt::DropActions allowed, bool forDrop);
    void MarkSelectedAsCut();
    void EnsureIcon(int item);
    void SendFolderChanged();
    // A linked control (the tree, the combo box) moved to `folder` through TVelShellLink::FolderChanged:
    // the list shows it, or nothing when it cannot be opened.
    void FolderChangedNotice(const IDList& folder);
    QStringList SelectedPaths();
    QString ItemDirectory(int item);

    TPathwright* m_browser;
    TVelSystemImageList* m_smallImages;
    TVelSystemImageList* m_largeImages;
    TVelShellListModel* m_model;
    QItemSelectionModel* m_selection;
    QStackedLayout* m_stack;
    QAbstractItemView* m_reportView;
    QAbstractItemView* m_iconView;
    QTimer* m_refreshTimer;
    QPointer<QMenu> m_backgroundPopupMenu;
    QPointer<QMenu> m_popupMenu;

    int m_columnCount = 0;
    std::vector<int> m_columnWidths;
    // Where AddObjectItem puts new items while a fill or re-read collects them; null: into the view.
    std::vector<TVelShellListModel::Row>* m_pending = nullptr;
    bool m_details = true;
    bool m_showHidden = true;
    int m_sortColumn = 0;
    bool m_sortDescending = false;
    std::array<int, 16> m_savedWidths{};
    bool m_widthsValid = false;
    bool m_shellContextMenu = true;
    bool m_oleDragDrop = false;
    bool m_applying = false;
    std::unique_ptr<QStringList> m_selectedNames;
    bool m_answeringLink = false;
    TViewStyle m_viewStyle = TViewStyle::vsReport;
    QSize m_itemSize;
    int m_iconTextWidth = 0; // width the names wrap at under large icons
    bool m_multiSelect = true;
    bool m_readOnly = false;
    bool m_rowSelect = false;
    bool m_hideSelection = true;
    TAlign m_align = TAlign::alNone;
    int m_tabOrder = -1;

    // drag and drop
    QPointer<const QMimeData> m_dragData;
    std::unique_ptr<TVelFolderDropTarget> m_folderDropTarget;
    std::unique_ptr<TVelFolderDropTarget> m_itemDropTarget;
    int m_hoveredItem = -1;
    int m_dragKeyButtons = 0;
    TAutoScrollPacer m_scrollPacer;
    QPoint m_pressPoint;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    bool m_dragStarted = false;

    mutable QHash<quint64, QPixmap> m_pixmapCache;
};

} // namespace wordloom::shell
