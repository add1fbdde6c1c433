// The find bar under the project line: a find text, the columns it looks in, whether it narrows the
// grid, and stepping to the previous or next match. Hidden until asked for (Ctrl+F).
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;

namespace wordloom {

class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);

    QLineEdit* Edit() const { return m_edit; }
    QComboBox* Scope() const { return m_scope; }
    QCheckBox* NarrowBox() const { return m_narrow; }
    QString Text() const;
    /// -1: both language columns; 0 or 1: that column only.
    int Column() const;
    bool Narrows() const;
    /// The scope's entries name the two language columns.
    void SetColumnNames(const QString& source, const QString& target);
    /// Shows the bar with the find text selected, ready to type over.
    void Open();
    /// Hides the bar and empties the text (the grid shows every record again).
    void Close();

signals:
    /// The text, the scope or the narrowing changed.
    void CriteriaChanged();
    /// Enter, F3 (forward) or Shift+Enter, Shift+F3 (backward) in the bar or on its buttons.
    void Step(bool forward);
    /// The bar was closed (Esc or its close button).
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_edit;
    QComboBox* m_scope;
    QCheckBox* m_narrow;
    QToolButton* m_previous;
    QToolButton* m_next;
    QToolButton* m_close;
};

} // namespace wordloom
