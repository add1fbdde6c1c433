// The data grid: the strings table's records as rows, following the table's cursor.
#pragma once

#include <QTableView>
#include <functional>

class QEvent;

namespace wordloom {

class StringsGridModel;

class StringsGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringsGrid(StringsGridModel* model, QWidget* parent = nullptr);
    using QTableView::edit;

    StringsGridModel* GridModel() const { return m_model; }
    /// True while a cell editor is open.
    bool Editing() const { return state() == QAbstractItemView::EditingState; }
    /// The whole text of a cell the column cuts off (too long or of several lines), else empty.
    QString CellToolTip(const QModelIndex& index) const;
    /// Column 0's part of the width the two language columns share (what a resize keeps).
    double LeftShare() const { return m_leftShare; }
    void SetLeftShare(double share);
    /// Asked before the first cell editor of the session opens in column 0, the project language,
    /// whose texts are the keys other projects share; false keeps the editor closed.
    void SetSourceEditGuard(std::function<bool()> guard) { m_sourceEditGuard = std::move(guard); }

signals:
    /// A click selected the cell (DBGridCellClick).
    void CellClicked(const QModelIndex& index);
    /// A column title was clicked (DBGridTitleClick).
    void TitleClicked(int column);
    /// A key was released in the grid (DBGridKeyUp).
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    void FollowCursor(int row);
    void ViewRowChanged(const QModelIndex& current, const QModelIndex& previous);
    /// The two language columns share the width the other columns leave, in their proportion.
    void FitColumns();
    int SharedWidth() const;
    /// Column 0 resized by the user: column 1 takes the rest of the width.
    void ColumnResized(int column, int oldWidth, int newWidth);
    /// The sort indicator on the column the table is ordered by.
    void ShowOrder();

    StringsGridModel* m_model;
    std::function<bool()> m_sourceEditGuard;
    bool m_sourceEditAllowed = false;
    bool m_following = false;
    int m_column = 0; ///< the column of the current cell, kept while the model is reset
    bool m_fitting = false;
    double m_leftShare = 0.5; ///< column 0's part of the width the language columns share
};

} // namespace wordloom
