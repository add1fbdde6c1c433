// A side panel with the whole text of the grid's current cell, for long and multi-line texts: a
// line break stored as CR LF (#13#10 in the sources) is shown as a line.
#pragma once

#include <QDockWidget>
#include <QPersistentModelIndex>

class QPlainTextEdit;
class QPushButton;

namespace wordloom {

class StringsGrid;

class FullTextPanel : public QDockWidget {
    Q_OBJECT
public:
    FullTextPanel(StringsGrid* grid, QWidget* parent = nullptr);

    QPlainTextEdit* Editor() const { return m_editor; }
    /// Writes the panel's text into the cell it shows (lines joined with CR LF).
    void Apply();

    /// A stored text as the panel shows it, and back.
    static QString ToLines(const QString& stored);
    static QString FromLines(const QString& shown);

private:
    void ShowCell(const QModelIndex& index);

    StringsGrid* m_grid;
    QPlainTextEdit* m_editor;
    QPushButton* m_apply;
    QPersistentModelIndex m_cell;
};

} // namespace wordloom
