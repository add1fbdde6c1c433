#include "app/strings_grid.h"

#include "app/failure_report.h"
#include "app/strings_grid_model.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace wordloom {

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
    verticalHeader()->setFixedWidth(16);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    setColumnWidth(0, 219);
    setColumnWidth(1, 220);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &StringsGrid::TitleClicked);
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
