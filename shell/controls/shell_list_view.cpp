// How the shell list shows its items: the report and icon views, their styles and layout, and the
// texts and icons they ask for.
#include "shell/controls/shell_list.h"

#include "shell/controls/current_object.h"
#include "shell/core/system_image_list.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QListView>
#include <QPainter>
#include <QStackedLayout>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTreeView>

namespace wordloom::shell {

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

void TVelShellList::CreateViews() {
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
    case TViewStyle::vsIcon:
        icons->setViewMode(QListView::IconMode);
        icons->setFlow(QListView::LeftToRight);
        icons->setIconSize(QSize(32, 32));
        icons->setWordWrap(true);
        break;
    case TViewStyle::vsSmallIcon:
        icons->setViewMode(QListView::ListMode);
        icons->setFlow(QListView::LeftToRight);
        icons->setIconSize(QSize(16, 16));
        icons->setWordWrap(false);
        break;
    case TViewStyle::vsList:
        icons->setViewMode(QListView::ListMode);
        icons->setFlow(QListView::TopToBottom);
        icons->setIconSize(QSize(16, 16));
        icons->setWordWrap(false);
        break;
    case TViewStyle::vsReport:
        break;
    }
    icons->setWrapping(true);
    icons->setMovement(QListView::Static);
    icons->setResizeMode(QListView::Adjust);
    m_stack->setCurrentWidget(m_viewStyle == TViewStyle::vsReport ? m_reportView : m_iconView);
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
    return m_viewStyle == TViewStyle::vsReport ? m_reportView : m_iconView;
}

void TVelShellList::ApplyColumnWidths() {
    QHeaderView* header = static_cast<QTreeView*>(m_reportView)->header();
    for (int i = 0; i < int(m_columnWidths.size()) && i < header->count(); ++i)
        header->resizeSection(i, m_columnWidths[std::size_t(i)]);
    header->setSortIndicator(m_sortColumn, m_sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// ---- texts and icons on demand ----

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
    if (m_viewStyle != TViewStyle::vsIcon || m_iconTextWidth <= 0 ||
        QFontMetrics(m_iconView->font()).horizontalAdvance(caption) <= m_iconTextWidth)
        return caption;
    return WrappedLines(caption, m_iconView->font(), m_iconTextWidth).join(QChar::LineSeparator);
}

void TVelShellList::UpdateItemLayout() {
    auto* icons = static_cast<ShellPane<QListView>*>(m_iconView);
    m_itemSize = QSize();
    m_iconTextWidth = 0;
    if (m_viewStyle == TViewStyle::vsReport)
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
    if (m_viewStyle == TViewStyle::vsIcon) {
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
                     std::max(m_itemSize.height(), m_viewStyle == TViewStyle::vsSmallIcon ? 22 : 0));
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
    const bool large = m_viewStyle == TViewStyle::vsIcon;
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

QRect TVelShellList::ItemRect(int item) const {
    return View()->visualRect(m_model->index(item, 0));
}

} // namespace wordloom::shell
