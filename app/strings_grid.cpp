#include "app/strings_grid.h"

#include "app/failure_report.h"
#include "app/strings_grid_model.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace wordloom {

namespace {

constexpr int MinLanguageWidth = 60;

} // namespace

StringsGrid::StringsGrid(StringsGridModel* model, QWidget* parent) : QTableView(parent), m_model(model) {
    setModel(model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setShowGrid(true);
    // A million rows: fixed row heights keep scrolling and layout independent of the row count.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setFixedWidth(30); // the row indicator and the review mark beside it
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(true);
    setColumnWidth(0, 219);
    setColumnWidth(1, 220);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &StringsGrid::TitleClicked);
    // After the title click was handled: the header flips its indicator on its own.
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &StringsGrid::ShowOrder);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &StringsGrid::ColumnResized);
    connect(model, &QAbstractItemModel::modelReset, this, &StringsGrid::ShowOrder);
    connect(model, &QAbstractItemModel::headerDataChanged, this, &StringsGrid::ShowOrder);
    connect(model, &QAbstractItemModel::columnsInserted, this, &StringsGrid::FitColumns);
    connect(this, &QAbstractItemView::clicked, this, &StringsGrid::CellClicked);
    connect(model, &StringsGridModel::CurrentRowChanged, this, &StringsGrid::FollowCursor);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &StringsGrid::ViewRowChanged);
    connect(selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    m_column = current.column();
                }
            });
}

void StringsGrid::FollowCursor(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        return;
    }
    m_following = true;
    const int column =
        currentIndex().isValid() ? currentIndex().column() : std::min(m_column, m_model->columnCount() - 1);
    setCurrentIndex(m_model->index(row, column));
    scrollTo(currentIndex());
    m_following = false;
}

void StringsGrid::ViewRowChanged(const QModelIndex& current, const QModelIndex&) {
    if (m_following || !current.isValid()) {
        return;
    }
    // Leaving a row posts its edit; a failing post keeps the view on the table's record.
    if (!ReportFailures(this, [&] { m_model->MoveTo(current.row()); })) {
        FollowCursor(m_model->CurrentRow());
    }
}

QString StringsGrid::CellToolTip(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty()) {
        return {};
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    const QSize whole = itemDelegateForIndex(index)->sizeHint(option, index);
    const bool cutOff = whole.width() > option.rect.width() || text.contains(QLatin1Char('\n'));
    return cutOff ? text : QString();
}

bool StringsGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString tip = CellToolTip(index);
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
        }
        return true;
    }
    const bool handled = QTableView::viewportEvent(event);
    if (event->type() == QEvent::Resize) {
        FitColumns();
    }
    return handled;
}

int StringsGrid::SharedWidth() const {
    int others = 0;
    for (int column = 2; column < m_model->columnCount(); ++column) {
        others += columnWidth(column);
    }
    return std::max(2 * MinLanguageWidth, viewport()->width() - others);
}

void StringsGrid::SetLeftShare(double share) {
    m_leftShare = std::clamp(share, 0.0, 1.0);
    FitColumns();
}

void StringsGrid::FitColumns() {
    if (m_fitting || m_model->columnCount() < 2) {
        return;
    }
    const int shared = SharedWidth();
    const int first =
        std::clamp(static_cast<int>(shared * m_leftShare + 0.5), MinLanguageWidth, shared - MinLanguageWidth);
    m_fitting = true;
    setColumnWidth(0, first);
    setColumnWidth(1, shared - first);
    m_fitting = false;
}

void StringsGrid::ColumnResized(int column, int, int newWidth) {
    if (m_fitting || column != 0 || m_model->columnCount() < 2) {
        return;
    }
    const int shared = SharedWidth();
    m_leftShare = std::clamp(static_cast<double>(newWidth) / shared, 0.0, 1.0);
    m_fitting = true;
    setColumnWidth(1, std::max(MinLanguageWidth, shared - newWidth));
    m_fitting = false;
}

void StringsGrid::ShowOrder() {
    const int column = m_model->OrderedColumn();
    horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder); // -1: no indicator
}

bool StringsGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Only a trigger that would open an editor asks; a plain click on the cell does not.
    if (index.isValid() && index.column() == 0 && !m_sourceEditAllowed && m_sourceEditGuard &&
        (editTriggers() & trigger) != 0 && state() != QAbstractItemView::EditingState) {
        if (!m_sourceEditGuard()) {
            return false;
        }
        m_sourceEditAllowed = true;
    }
    return QTableView::edit(index, trigger, event);
}

void StringsGrid::keyPressEvent(QKeyEvent* event) {
    // Shift+Delete deletes the record when released; it must not open a cell editor first, whose
    // late commit would write the deleted record's text into the record that took its row.
    if (event->key() == Qt::Key_Delete && event->modifiers().testFlag(Qt::ShiftModifier)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void StringsGrid::keyReleaseEvent(QKeyEvent* event) {
    QTableView::keyReleaseEvent(event);
    if (!event->isAutoRepeat()) {
        emit KeyUp(event->key(), event->modifiers());
    }
}

} // namespace wordloom
