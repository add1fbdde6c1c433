#include "shell/controls/shell_list.h"

#include "shell/controls/shell_combo.h"
#include "shell/controls/shell_tree.h"
#include "shell/core/busy_cursor.h"
#include "shell/core/core_components.h"
#include "shell/core/file_clipboard.h"
#include "shell/core/natural_order.h"
#include "shell/core/shell_link.h"
#include "shell/core/system_image_list.h"
#include "shell/forms/form_reader.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStackedLayout>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <mutex>
#include <numeric>
#include <optional>

#include <sys/stat.h>

namespace wordloom::shell {

// Linking this control in makes the controls known to form files (see RegisterShellControls).
[[maybe_unused]] static const bool kControlsRegistered = (RegisterShellControls(), true);

namespace {

// The views of the list: they draw, select and scroll; everything the user does with the items goes
// to the list.
template <class Base>
class ShellPane : public Base {
public:
    explicit ShellPane(TVelShellList* list) : Base(list), m_list(list) {}

    // The options the view draws its items with.
    QStyleOptionViewItem ItemOption() const {
        QStyleOptionViewItem option;
        this->initViewItemOption(&option);
        return option;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (this->state() != QAbstractItemView::EditingState && m_list->HandleKeyDown(event))
            return;
        Base::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        m_list->HandleMousePress(event);
        Base::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (m_list->HandleMouseMove(event))
            return;
        Base::mouseMoveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        Base::mouseReleaseEvent(event);
        m_list->HandleMouseRelease(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        Base::mouseDoubleClickEvent(event);
        m_list->HandleDoubleClick(event);
    }
    // Mouse menus come with the button's release (so a right-button drag can start first).
    void contextMenuEvent(QContextMenuEvent* event) override {
        if (event->reason() != QContextMenuEvent::Mouse)
            m_list->HandleContextMenuKey();
        event->accept();
    }
    void dragEnterEvent(QDragEnterEvent* event) override { m_list->HandleDragEnter(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { m_list->HandleDragMove(event); }
    void dragLeaveEvent(QDragLeaveEvent*) override { m_list->HandleDragLeave(); }
    void dropEvent(QDropEvent* event) override { m_list->HandleDrop(event); }
    // The views' own drags never start: the list runs its own.
    void startDrag(Qt::DropActions) override {}
    bool edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger, QEvent* event) override {
        const bool wouldEdit =
            trigger == QAbstractItemView::AllEditTriggers || (this->editTriggers() & trigger);
        if (wouldEdit && index.isValid() && this->state() != QAbstractItemView::EditingState &&
            !m_list->CanEditItem(index.row()))
            return false;
        return Base::edit(index, trigger, event);
    }

private:
    TVelShellList* m_list;
};

// A sort key: folders first, then the column's value, then the name.
struct SortKey {
    int rank = 0;
    qint64 number = 0;
    QString text;
    std::optional<QCollatorSortKey> name; // always set: the key type has no empty state
    QByteArray bytes;
};

int CompareKeys(const SortKey& a, const SortKey& b) {
    if (a.rank != b.rank)
        return a.rank < b.rank ? -1 : 1;
    if (a.number != b.number)
        return a.number < b.number ? -1 : 1;
    if (int order = a.text.compare(b.text, Qt::CaseInsensitive); order != 0)
        return order < 0 ? -1 : 1;
    if (a.name.has_value() != b.name.has_value())
        return a.name ? 1 : -1;
    if (a.name)
        if (int order = a.name->compare(*b.name); order != 0)
            return order < 0 ? -1 : 1;
    if (a.bytes != b.bytes)
        return a.bytes < b.bytes ? -1 : 1;
    return 0;
}

Qt::Alignment AlignmentOf(TColumnAlignment alignment) {
    switch (alignment) {
    case TColumnAlignment::taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TColumnAlignment::taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TColumnAlignment::taLeftJustify:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// A column width that shows the text whole in the view's cells, with a little room to spare.
int ColumnWidthFor(const QString& text, const QWidget* view) {
    const int textMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return QFontMetrics(view->font()).horizontalAdvance(text) + 4 * textMargin;
}

// Names under large icons take at most this many lines; longer ones end in an ellipsis.
constexpr int kMaxIconLines = 8;

// The lines a caption takes at `width`: broken between words, and inside a word that is too long.
QStringList WrappedLines(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append(text.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

// Gives the icon and list styles' items the one size the list worked out for its longest name, and
// draws each caption as the list lays it out (the style alone would not break a long word).
class ShellItemDelegate : public QStyledItemDelegate {
public:
    explicit ShellItemDelegate(TVelShellList* list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize size = m_list->UniformItemSize();
        return size.isValid() ? size : QStyledItemDelegate::sizeHint(option, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == 0 && index.row() < m_list->ItemCount())
            option->text = m_list->ItemDisplayText(index.row());
    }

private:
    TVelShellList* m_list;
};

} // namespace

// ---------------------------------------------------------------------------------------------------
// The model

TVelShellListModel::TVelShellListModel(TVelShellList* list) : QAbstractTableModel(list), m_list(list) {}

int TVelShellListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TVelShellListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max<int>(1, int(m_captions.size()));
}

QVariant TVelShellListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || std::size_t(index.row()) >= m_rows.size())
        return QVariant();
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return m_list->ItemText(row, index.column());
    case Qt::EditRole:
        return m_rows[std::size_t(row)].caption;
    case Qt::DecorationRole:
        if (index.column() == 0)
            return m_list->ItemPixmap(row);
        return QVariant();
    case Qt::TextAlignmentRole:
        if (m_list->ViewStyle() != TVelShellList::vsReport)
            return m_list->ViewStyle() == TVelShellList::vsIcon
                       ? QVariant(int(Qt::AlignHCenter | Qt::AlignTop))
                       : QVariant();
        if (std::size_t(index.column()) < m_alignments.size())
            return int(m_alignments[std::size_t(index.column())]);
        return QVariant();
    case Qt::BackgroundRole:
        if (m_rows[std::size_t(row)].dropHighlighted)
            return m_list->palette().brush(QPalette::Highlight);
        return QVariant();
    case Qt::ForegroundRole:
        if (m_rows[std::size_t(row)].dropHighlighted)
            return m_list->palette().brush(QPalette::HighlightedText);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant TVelShellListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_captions.size()))
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_captions[section];
    if (role == Qt::TextAlignmentRole && std::size_t(section) < m_alignments.size())
        return int(m_alignments[std::size_t(section)]);
    return QVariant();
}

Qt::ItemFlags TVelShellListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && !m_list->ReadOnly())
        result |= Qt::ItemIsEditable;
    return result;
}

bool TVelShellListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return false;
    return m_list->ItemEdited(index.row(), value.toString());
}

void TVelShellListModel::Reset(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void TVelShellListModel::Append(Row row) {
    const int at = int(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void TVelShellListModel::RemoveRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the end, one run of neighbours at a time.
    while (!rows.empty()) {
        const int last = rows.back();
        int first = last;
        rows.pop_back();
        while (!rows.empty() && rows.back() == first - 1) {
            first = rows.back();
            rows.pop_back();
        }
        beginRemoveRows(QModelIndex(), first, last);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
    }
}

void TVelShellListModel::Reorder(const std::vector<int>& order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<int> newRowOf(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        newRowOf[std::size_t(order[i])] = int(i);
    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    for (int old : order)
        rows.push_back(std::move(m_rows[std::size_t(old)]));
    m_rows = std::move(rows);
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& index : persistent)
        moved.append(this->index(newRowOf[std::size_t(index.row())], index.column()));
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TVelShellListModel::SetColumns(const QStringList& captions,
                                    const std::vector<Qt::Alignment>& alignments) {
    beginResetModel();
    m_captions = captions;
    m_alignments = alignments;
    endResetModel();
}

void TVelShellListModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

// ---------------------------------------------------------------------------------------------------
// The list

void RegisterShellControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterShellCoreComponents();
        qRegisterMetaType<TVelShellOperations>();
        TComponentRegistry::Register<TVelShellList>();
        TComponentRegistry::Register<TVelShellTree>();
        TComponentRegistry::Register<TVelShellCombo>();
    });
}

TVelShellList::TVelShellList(QWidget* owner) : QWidget(owner), TVelShellControl(this) {
    // Handlers bound by name receive the operation set as a typed argument.
    qRegisterMetaType<TVelShellOperations>();
    m_browser = new TPathwright(this);
    m_smallImages = new TVelSystemImageList(this);
    m_largeImages = new TVelSystemImageList(this);
    m_largeImages->SetSize(TVelSystemImageList::TVelImageListSize::si_large);
    m_model = new TVelShellListModel(this);

    auto* report = new ShellPane<QTreeView>(this);
    report->setRootIsDecorated(false);
    report->setItemsExpandable(false);
    report->setUniformRowHeights(true);
    report->setSortingEnabled(false);
    report->header()->setSectionsClickable(true);
    report->header()->setSortIndicatorShown(true);
    report->header()->setStretchLastSection(false);
    connect(report->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { SortByColumn(column); });
    m_reportView = report;

    auto* icons = new ShellPane<QListView>(this);
    icons->setUniformItemSizes(true);
    icons->setMovement(QListView::Static);
    icons->setResizeMode(QListView::Adjust);
    icons->setWrapping(true);
    icons->setItemDelegate(new ShellItemDelegate(this));
    m_iconView = icons;

    m_reportView->setModel(m_model);
    m_iconView->setModel(m_model);
    m_selection = new QItemSelectionModel(m_model, this);
    for (QAbstractItemView* view : {m_reportView, m_iconView}) {
        QItemSelectionModel* own = view->selectionModel();
        view->setSelectionModel(m_selection);
        delete own;
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::SelectedClicked);
        view->setDragEnabled(false);
        view->setTextElideMode(Qt::ElideRight);
    }
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, [this] {
        // The cache is a snapshot of the selection; any change outdates it.
        if (!m_applying && m_selectedNames)
            m_selectedNames->clear();
    });

    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_reportView);
    m_stack->addWidget(m_iconView);

    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setInterval(500);
    connect(m_refreshTimer, &QTimer::timeout, this, [this] {
        m_refreshTimer->stop();
        Resync();
    });

    SetMultiSelect(true);
    ApplyViewStyle();
    SetOleDragDrop(false);
    m_browser->SetFileSystemOnly(false);
    m_browser->SetOnFileChange([this](QObject*) { ScheduleResync(); });
}

TVelShellList::~TVelShellList() {
    m_refreshTimer->stop();
    m_browser->SetOnFileChange(nullptr);
    // The views go first: closing the window still asks them to lay out, and that reads the items.
    delete m_reportView;
    delete m_iconView;
}

// ---- published ----

void TVelShellList::SetDetails(bool value) {
    if (value == m_details)
        return;
    m_details = value;
    Populate();
}

void TVelShellList::SetShowHidden(bool value) {
    m_showHidden = value;
    Populate();
}

bool TVelShellList::FileSystemOnly() const {
    return m_browser->FileSystemOnly();
}

void TVelShellList::SetFileSystemOnly(bool value) {
    m_browser->SetFileSystemOnly(value);
    Populate();
}

QString TVelShellList::Filter() const {
    return m_browser->GetFilter();
}

void TVelShellList::SetFilter(const QString& value) {
    m_browser->SetFilter(value);
    Populate();
}

QString TVelShellList::Path() const {
    return m_browser->Folder();
}

void TVelShellList::SetPath(const QString& text) {
    if (IsLoading()) {
        try {
            m_browser->SetFolder(text);
        } catch (const EPathwrightError&) {
            m_hooks.ErrorMessage(this,
                                 QCoreApplication::translate("Pathwright", "Cannot find path: %1").arg(text));
        }
    } else {
        m_browser->SetFolder(text);
    }
    SendFolderChanged();
    Populate();
}

TVelShellFolder TVelShellList::SpecialFolder() const {
    const TVelShellFolder kind = m_browser->FolderSpecialIndex();
    if (kind == SF_DRIVES && !Path().isEmpty())
        return SF_FILESYSTEMFOLDER;
    return kind;
}

void TVelShellList::SetSpecialFolder(TVelShellFolder kind) {
    if (kind != SF_FILESYSTEMFOLDER)
        m_browser->SetSpecialFolder(kind);
    Populate();
    SendFolderChanged();
}

void TVelShellList::SetShellLink(TVelShellLink* link) {
    TVelShellControl::SetShellLink(link);
}

void TVelShellList::SetOleDragDrop(bool value) {
    m_oleDragDrop = value;
    if (IsDesigning())
        return;
    for (QAbstractItemView* view : {m_reportView, m_iconView}) {
        view->setAcceptDrops(value);
        view->viewport()->setAcceptDrops(value);
    }
}

void TVelShellList::SetViewStyle(TViewStyle style) {
    if (style == m_viewStyle)
        return;
    m_viewStyle = style;
    ApplyViewStyle();
}

void TVelShellList::ApplyViewStyle() {
    auto* icons = static_cast<QListView*>(m_iconView);
    switch (m_viewStyle) {
    case vsIcon:
        icons->setViewMode(QListView::IconMode);
        icons->setFlow(QListView::LeftToRight);
        icons->setIconSize(QSize(32, 32));
        icons->setWordWrap(true);
        break;
    case vsSmallIcon:
        icons->setViewMode(QListView::ListMode);
        icons->setFlow(QListView::LeftToRight);
        icons->setIconSize(QSize(16, 16));
        icons->setWordWrap(false);
        break;
    case vsList:
        icons->setViewMode(QListView::ListMode);
        icons->setFlow(QListView::TopToBottom);
        icons->setIconSize(QSize(16, 16));
        icons->setWordWrap(false);
        break;
    case vsReport:
        break;
    }
    icons->setWrapping(true);
    icons->setMovement(QListView::Static);
    icons->setResizeMode(QListView::Adjust);
    m_stack->setCurrentWidget(m_viewStyle == vsReport ? m_reportView : m_iconView);
    m_pixmapCache.clear();
    UpdateItemLayout();
}

void TVelShellList::SetMultiSelect(bool value) {
    m_multiSelect = value;
    for (QAbstractItemView* view : {m_reportView, m_iconView})
        view->setSelectionMode(value ? QAbstractItemView::ExtendedSelection
                                     : QAbstractItemView::SingleSelection);
}

void TVelShellList::SetRowSelect(bool value) {
    m_rowSelect = value;
    static_cast<QTreeView*>(m_reportView)->setAllColumnsShowFocus(value);
}

QAbstractItemView* TVelShellList::View() const {
    return m_viewStyle == vsReport ? m_reportView : m_iconView;
}

// ---- filling ----

void TVelShellList::ClearItems() {
    m_hoveredItem = -1;
    m_model->Reset({});
}

void TVelShellList::WalkFolder(std::vector<TVelShellListModel::Row>& into,
                               const std::function<bool(const IDList&)>& listed) {
    // A fresh walk: the folder is bound again, so a folder gone meanwhile lists nothing.
    try {
        m_browser->SetFolderIDList(m_browser->GetFolderIDList());
    } catch (const EPathwrightError&) {
        return;
    }
    m_pending = &into;
    struct Done {
        std::vector<TVelShellListModel::Row>*& pending;
        ~Done() { pending = nullptr; }
    } done{m_pending};
    while (m_browser->NextObject()) {
        if (const OptIDList id = m_browser->GetObjectIDList(); !id || !listed(*id))
            AddObjectItem(m_details);
    }
}

bool TVelShellList::Populate() {
    if (IsLoading() || !isEnabled())
        return false;
    BusyCursor busy;
    ClearItems();
    BuildColumns();
    OnCreateColumns(this);
    std::vector<TVelShellListModel::Row> rows;
    rows.reserve(256);
    WalkFolder(rows, [](const IDList&) { return false; });
    std::vector<int> order = SortOrder(rows);
    std::vector<TVelShellListModel::Row> sorted;
    sorted.reserve(rows.size());
    for (int index : order)
        sorted.push_back(std::move(rows[std::size_t(index)]));
    m_model->Reset(std::move(sorted));
    ApplyColumnWidths();
    UpdateItemLayout();
    OnPopulated(this);
    return true;
}

void TVelShellList::BuildColumns() {
    if (m_widthsValid) {
        for (int i = 0; i < m_columnCount && i < int(m_savedWidths.size()); ++i)
            m_savedWidths[std::size_t(i)] = ColumnWidth(i);
    }
    m_widthsValid = !Path().isEmpty();
    // A virtual folder uses the shell's widths, and so does the next file-system folder after it.
    if (!m_widthsValid)
        m_savedWidths.fill(0);
    m_columnCount = 0;
    QStringList captions;
    std::vector<Qt::Alignment> alignments;
    m_columnWidths.clear();
    QString header = m_browser->DetailText(0, true);
    while (!header.isEmpty()) {
        int width = 0;
        const TColumnAlignment alignment = m_browser->ColumnInfo(m_columnCount, width);
        // Wide enough for the column's usual values in the font the report is drawn in.
        if (const QString sample = m_browser->ColumnSampleText(m_columnCount); !sample.isEmpty())
            width = std::max(width, ColumnWidthFor(sample, m_reportView));
        if (m_widthsValid && m_columnCount < int(m_savedWidths.size()) &&
            m_savedWidths[std::size_t(m_columnCount)] >= 1)
            width = m_savedWidths[std::size_t(m_columnCount)];
        captions.append(header);
        alignments.push_back(AlignmentOf(alignment));
        m_columnWidths.push_back(width);
        ++m_columnCount;
        if (!m_details)
            break;
        header = m_browser->DetailText(m_columnCount, true);
    }
    m_model->SetColumns(captions, alignments);
    ApplyColumnWidths();
}

void TVelShellList::ApplyColumnWidths() {
    QHeaderView* header = static_cast<QTreeView*>(m_reportView)->header();
    for (int i = 0; i < int(m_columnWidths.size()) && i < header->count(); ++i)
        header->resizeSection(i, m_columnWidths[std::size_t(i)]);
    header->setSortIndicator(m_sortColumn, m_sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TVelShellList::AddObjectItem(bool withDetails) {
    if (!m_showHidden && m_browser->IsHidden())
        return;
    TVelShellListModel::Row row;
    row.caption = m_browser->DisplayName();
    if (OnAddItem) {
        TVelListItem item;
        item.Index = int(m_pending ? m_pending->size() : m_model->Rows().size());
        item.Caption = row.caption;
        if (withDetails && m_columnCount >= 2) {
            row.texts.resize(m_columnCount);
            for (int i = 1; i < m_columnCount; ++i) {
                row.texts[i] = m_browser->DetailText(i, false);
                row.textsKnown |= 1u << i;
                item.SubItems.append(row.texts[i]);
            }
        }
        bool canAdd = true;
        OnAddItem(item, canAdd);
        if (!canAdd)
            return;
        row.caption = item.Caption;
    }
    row.record.id = m_browser->GetObjectIDList();
    row.record.present = true;
    if (m_pending)
        m_pending->push_back(std::move(row));
    else
        m_model->Append(std::move(row));
}

// ---- texts and icons on demand ----

namespace {
// Makes an object current for a lookup and puts the previous one back afterwards, so that drawing never
// changes what a command is working on.
class CurrentObject {
public:
    CurrentObject(TPathwright* browser, const OptIDList& object)
        : m_browser(browser), m_saved(browser->GetObjectIDList()) {
        m_browser->SetObjectIDList(object);
    }
    ~CurrentObject() { m_browser->SetObjectIDList(m_saved); }
    CurrentObject(const CurrentObject&) = delete;
    CurrentObject& operator=(const CurrentObject&) = delete;

private:
    TPathwright* m_browser;
    OptIDList m_saved;
};
} // namespace

QString TVelShellList::ItemText(int item, int column) {
    TVelShellListModel::Row& row = m_model->Rows()[std::size_t(item)];
    if (column == 0)
        return row.caption;
    if (!m_details || column >= m_columnCount || column >= 32 || !row.record.id)
        return QString();
    if (!(row.textsKnown & (1u << column))) {
        CurrentObject current(m_browser, row.record.id);
        if (row.texts.size() < m_columnCount)
            row.texts.resize(m_columnCount);
        row.texts[column] = m_browser->DetailText(column, false);
        row.textsKnown |= 1u << column;
    }
    return row.texts.value(column);
}

QString TVelShellList::ItemDisplayText(int item) {
    const QString& caption = ItemCaption(item);
    if (m_viewStyle != vsIcon || m_iconTextWidth <= 0 ||
        QFontMetrics(m_iconView->font()).horizontalAdvance(caption) <= m_iconTextWidth)
        return caption;
    return WrappedLines(caption, m_iconView->font(), m_iconTextWidth).join(QChar::LineSeparator);
}

void TVelShellList::UpdateItemLayout() {
    auto* icons = static_cast<ShellPane<QListView>*>(m_iconView);
    m_itemSize = QSize();
    m_iconTextWidth = 0;
    if (m_viewStyle == vsReport)
        return;
    const QFont font = icons->font();
    const QFontMetrics metrics(font);
    QStyle* style = icons->style();
    const int textMargin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, icons) + 1;
    QStyleOptionViewItem option = icons->ItemOption();
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = icons->iconSize();
    // The longest name decides: the widest one in a line, the one that takes most lines under an icon.
    QString longest = QStringLiteral("W");
    QSize grid;
    if (m_viewStyle == vsIcon) {
        const int width = std::max(96, metrics.averageCharWidth() * 14);
        m_iconTextWidth = width - 2 * textMargin;
        qsizetype most = 1;
        for (const TVelShellListModel::Row& row : m_model->Rows()) {
            if (metrics.horizontalAdvance(row.caption) <= m_iconTextWidth)
                continue;
            QStringList lines = WrappedLines(row.caption, font, m_iconTextWidth);
            if (lines.size() > most) {
                most = lines.size();
                longest = lines.mid(0, kMaxIconLines).join(QChar::LineSeparator);
            }
            if (most >= kMaxIconLines)
                break;
        }
        option.rect = QRect(0, 0, width, QWIDGETSIZE_MAX);
        option.text = longest;
        m_itemSize =
            QSize(width, style->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), icons).height());
        grid = m_itemSize + QSize(12, 8);
    } else {
        int widest = 0;
        for (const TVelShellListModel::Row& row : m_model->Rows()) {
            if (const int advance = metrics.horizontalAdvance(row.caption); advance > widest) {
                widest = advance;
                longest = row.caption;
            }
        }
        option.text = longest;
        m_itemSize = style->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), icons);
        grid = QSize(m_itemSize.width() + 12,
                     std::max(m_itemSize.height(), m_viewStyle == vsSmallIcon ? 22 : 0));
    }
    icons->setGridSize(grid);
    icons->doItemsLayout();
}

void TVelShellList::EnsureIcon(int item) {
    TVelShellListModel::Row& row = m_model->Rows()[std::size_t(item)];
    if (row.image >= 0 || !row.record.id)
        return;
    CurrentObject current(m_browser, row.record.id);
    row.image = m_browser->GetIconNumber();
    constexpr std::uint32_t shared = 0x20000;
    const std::uint32_t attributes = m_browser->ObjectAttributes(Sfgao::Link | shared | Sfgao::Hidden);
    if (attributes & Sfgao::Link)
        row.overlay = 1;
    if (attributes & shared)
        row.overlay = 0;
    row.hiddenDim = (attributes & Sfgao::Hidden) != 0;
}

int TVelShellList::ItemImage(int item) {
    EnsureIcon(item);
    return m_model->Rows()[std::size_t(item)].image;
}

int TVelShellList::ItemOverlay(int item) {
    EnsureIcon(item);
    return m_model->Rows()[std::size_t(item)].overlay;
}

bool TVelShellList::ItemDimmed(int item) {
    EnsureIcon(item);
    const TVelShellListModel::Row& row = m_model->Rows()[std::size_t(item)];
    return row.hiddenDim || row.cut;
}

QPixmap TVelShellList::ItemPixmap(int item) {
    EnsureIcon(item);
    const TVelShellListModel::Row& row = m_model->Rows()[std::size_t(item)];
    if (row.image < 0)
        return QPixmap();
    const bool large = m_viewStyle == vsIcon;
    const bool dim = row.hiddenDim || row.cut;
    const quint64 key = (quint64(quint32(row.image)) << 8) | (quint64(row.overlay + 1) << 4) |
                        (dim ? 2u : 0u) | (large ? 1u : 0u);
    if (auto found = m_pixmapCache.constFind(key); found != m_pixmapCache.cend())
        return *found;
    const QPixmap base = (large ? m_largeImages : m_smallImages)->Pixmap(row.image);
    QPixmap result = base;
    if (!base.isNull() && (row.overlay >= 0 || dim)) {
        result = QPixmap(base.size());
        result.setDevicePixelRatio(base.devicePixelRatio());
        result.fill(Qt::transparent);
        QPainter painter(&result);
        if (dim)
            painter.setOpacity(0.5);
        painter.drawPixmap(0, 0, base);
        if (row.overlay >= 0) {
            painter.setOpacity(1.0);
            // The shortcut arrow or the share hand in the lower left quarter.
            const int index = row.overlay == 1
                                  ? IconRegistry::Instance().IndexOf({QStringLiteral("emblem-symbolic-link")},
                                                                     QStyle::SP_FileLinkIcon)
                                  : IconRegistry::Instance().IndexOf({QStringLiteral("emblem-shared")},
                                                                     QStyle::SP_DriveNetIcon);
            const int size = large ? 16 : 10;
            const QPixmap overlay = IconRegistry::Instance().Pixmap(index, size);
            painter.drawPixmap(0, base.height() / int(base.devicePixelRatio()) - size, size, size, overlay);
        }
    }
    m_pixmapCache.insert(key, result);
    return result;
}

// ---- sorting ----

namespace {
struct KeyMaker {
    TPathwright* browser;
    QByteArray folderPath; // with "/" at the end; empty for virtual folders
    int column;

    SortKey Make(const IDList& id) const {
        SortKey key;
        if (id.IsDesktop()) {
            key.name = NaturalSortKey(QString());
            return key;
        }
        const ItemView last = id.LastItem();
        key.rank = ItemKindRank(last.kind);
        key.bytes = QByteArray(last.name.data(), qsizetype(last.name.size()));
        // The root volume comes first among the volumes.
        key.name = NaturalSortKey(
            last.kind == ItemKind::Volume && last.name == "/" ? QString() : QFile::decodeName(key.bytes));
        if (column == 0 || folderPath.isEmpty() || !IsFileSystemKind(last.kind))
            return key;
        if (column == 2) {
            CurrentObject current(browser, id);
            key.text = browser->DetailText(2, false);
            return key;
        }
        struct stat st;
        const QByteArray path = folderPath + key.bytes;
        if (::stat(path.constData(), &st) == 0 || ::lstat(path.constData(), &st) == 0)
            key.number =
                column == 1 ? (S_ISDIR(st.st_mode) ? 0 : qint64(st.st_size)) : qint64(st.st_mtim.tv_sec);
        return key;
    }
};
} // namespace

int TVelShellList::CompareIDs(int column, const IDList& a, const IDList& b) {
    const KeyMaker maker{m_browser, QFile::encodeName(Path()), column};
    return CompareKeys(maker.Make(a), maker.Make(b));
}

std::vector<int> TVelShellList::SortOrder(const std::vector<TVelShellListModel::Row>& rows) {
    const KeyMaker maker{m_browser, QFile::encodeName(Path()), m_sortColumn};
    std::vector<SortKey> keys;
    keys.reserve(rows.size());
    for (const TVelShellListModel::Row& row : rows)
        keys.push_back(row.record.id ? maker.Make(*row.record.id) : SortKey());
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    const bool descending = m_sortDescending;
    std::stable_sort(order.begin(), order.end(), [&keys, descending](int a, int b) {
        const int result = CompareKeys(keys[std::size_t(a)], keys[std::size_t(b)]);
        return descending ? result > 0 : result < 0;
    });
    return order;
}

void TVelShellList::SortItems() {
    m_model->Reorder(SortOrder(m_model->Rows()));
    ApplyColumnWidths();
}

void TVelShellList::SortByColumn(int column) {
    m_sortDescending = column == m_sortColumn && !m_sortDescending;
    m_sortColumn = column;
    SortItems();
}

// ---- re-reading ----

int TVelShellList::IndexOfIDList(OptIDList idList) {
    int result = -1;
    if (idList) {
        const std::vector<TVelShellListModel::Row>& rows = m_model->Rows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].record.id && shell::CompareIDs(*idList, *rows[i].record.id) == 0) {
                result = int(i);
                break;
            }
        }
    }
    FreeIDList(idList);
    return result;
}

void TVelShellList::Resync() {
    if (IsLoading() || !isEnabled())
        return;
    OptFileList files = QStringList();
    std::vector<TVelShellListModel::Row>& rows = m_model->Rows();
    // One look-up table instead of a scan per object: a folder of many files stays fast.
    QHash<QByteArray, int> rowOf;
    rowOf.reserve(qsizetype(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].record.present = false;
        if (rows[i].record.id)
            rowOf.insert(rows[i].record.id->Bytes(), int(i));
    }
    std::vector<TVelShellListModel::Row> added;
    WalkFolder(added, [&rows, &rowOf](const IDList& id) {
        const auto found = rowOf.constFind(id.Bytes());
        if (found == rowOf.cend())
            return false;
        rows[std::size_t(*found)].record.present = true;
        return true;
    });
    std::vector<int> gone;
    const QString folder = Path();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].record.present)
            continue;
        gone.push_back(int(i));
        if (rows[i].cut)
            files->append(folder + rows[i].caption);
    }
    if (!gone.empty()) {
        SetDropHighlight(m_hoveredItem, false);
        m_hoveredItem = -1; // rows have moved up
        m_itemDropTarget.reset();
        m_model->RemoveRows(std::move(gone));
        if (m_selectedNames)
            m_selectedNames->clear();
    }
    if (!added.empty()) {
        for (TVelShellListModel::Row& row : added)
            m_model->Append(std::move(row));
        // New objects take their sorted places; the rows there already are in order.
        SetDropHighlight(m_hoveredItem, false);
        m_hoveredItem = -1;
        m_itemDropTarget.reset();
        m_model->Reorder(SortOrder(m_model->Rows()));
    }
    if (!gone.empty() || !added.empty())
        UpdateItemLayout();
    ReportOperation(TVelShellOperations(opCutDone | opRemoved), std::move(files), QString());
}

void TVelShellList::ScheduleResync() {
    m_refreshTimer->stop();
    m_refreshTimer->start();
}

void TVelShellList::ReportOperation(TVelShellOperations operation, OptFileList files,
                                    const QString& destination) {
    if (operation & opDelete) {
        m_model->RemoveRows(SelectedItems());
        m_hoveredItem = -1;
    }
    if (OnOperation && files && !files->isEmpty())
        OnOperation(this, operation, *files, destination);
    files.reset();
    constexpr TVelShellOperations changing = opMove | opDelete | opRemoved | opRename;
    // A list answering another control's notice does not pass it on again.
    if ((operation & changing) && m_shellLink && !m_answeringLink)
        m_shellLink->ContentsChanged(this);
}

void TVelShellList::SendFolderChanged() {
    if (!m_shellLink)
        return;
    const OptIDList folder = CopyIDList(m_browser->GetFolderIDList());
    if (folder)
        m_shellLink->FolderChanged(this, folder->Bytes());
}

// ---- link notices and window life ----

bool TVelShellList::event(QEvent* event) {
    if (const TShellLinkEvent* notice = TShellLinkEvent::From(event)) {
        switch (notice->Message()) {
        case TShellLinkMessage::SLM_FOLDERCHANGED: {
            if (!notice->IDList())
                break;
            const OptIDList folder = IDList::FromBytes(*notice->IDList());
            try {
                if (!folder)
                    throw EPathwrightError(QString());
                m_browser->SetFolderIDList(folder);
                Populate();
            } catch (const EPathwrightError&) {
                ClearItems();
            }
            break;
        }
        case TShellLinkMessage::SLM_SELECTALL:
            SelectAll();
            break;
        case TShellLinkMessage::SLM_REFRESH:
            Populate();
            break;
        case TShellLinkMessage::SLM_CONTENTSCHANGED: {
            const bool saved = m_answeringLink;
            m_answeringLink = true;
            struct Restore {
                bool& flag;
                bool value;
                ~Restore() { flag = value; }
            } restore{m_answeringLink, saved};
            Resync();
            break;
        }
        }
        return true;
    }
    return QWidget::event(event);
}

void TVelShellList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!FirstWindowSetup())
        return;
    m_browser->Loaded();
    if (Path().isEmpty() && ItemCount() == 0) {
        SendFolderChanged();
        Populate();
    }
}

void TVelShellList::Loaded() {
    TVelShellControl::Loaded();
    if (!(m_shellLink && ItemCount() > 0))
        Populate();
}

// ---- items ----

bool TVelShellList::IsSelected(int item) const {
    return m_selection->isRowSelected(item, QModelIndex());
}

void TVelShellList::SetSelected(int item, bool selected) {
    m_selection->select(m_model->index(item, 0),
                        (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                            QItemSelectionModel::Rows);
}

std::vector<int> TVelShellList::SelectedItems() const {
    std::vector<int> items;
    for (const QModelIndex& index : m_selection->selectedRows())
        items.push_back(index.row());
    std::sort(items.begin(), items.end());
    return items;
}

QString TVelShellList::ColumnCaption(int column) const {
    return m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

int TVelShellList::ColumnWidth(int column) const {
    return static_cast<QTreeView*>(m_reportView)->header()->sectionSize(column);
}

void TVelShellList::SetColumnWidth(int column, int width) {
    static_cast<QTreeView*>(m_reportView)->header()->resizeSection(column, width);
}

int TVelShellList::ItemAt(const QPoint& viewportPoint) const {
    const QModelIndex index = View()->indexAt(viewportPoint);
    return index.isValid() ? index.row() : -1;
}

int TVelShellList::FocusedSelectedItem() const {
    const QModelIndex current = m_selection->currentIndex();
    if (current.isValid() && IsSelected(current.row()))
        return current.row();
    const std::vector<int> selected = SelectedItems();
    return selected.empty() ? -1 : selected.front();
}

QRect TVelShellList::ItemRect(int item) const {
    return View()->visualRect(m_model->index(item, 0));
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

QStringList TVelShellList::SelectedPaths() {
    QStringList paths;
    const QString folder = Path();
    for (const QString& name : SelectedNames())
        paths.append(folder + name);
    return paths;
}

void TVelShellList::MarkSelectedAsCut() {
    for (int item : SelectedItems()) {
        m_model->Rows()[std::size_t(item)].cut = true;
        m_model->RowChanged(item);
    }
}

} // namespace wordloom::shell
