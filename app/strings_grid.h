// The data grid: the strings table's records as rows, following the table's cursor.
#pragma once

#include <QTableView>

namespace wordloom {

class StringsGridModel;

class StringsGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringsGrid(StringsGridModel* model, QWidget* parent = nullptr);

    StringsGridModel* GridModel() const { return m_model; }

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

private:
    void FollowCursor(int row);
    void ViewRowChanged(const QModelIndex& current, const QModelIndex& previous);

    StringsGridModel* m_model;
    bool m_following = false;
    int m_column = 0; ///< the column of the current cell, kept while the model is reset
};

} // namespace wordloom
