// Two people posted the same record: their text and ours, field by field, and the choice of which
// one stays. Neither is lost: theirs is stored already, ours is what the grid still holds.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QPushButton;

namespace wordloom {

class TConflictDlg : public QDialog {
    Q_OBJECT
public:
    struct Field {
        QString name;
        QString theirs;
        QString mine;
    };
    enum class Choice { KeepMine, TakeTheirs };

    TConflictDlg(const std::vector<Field>& fields, QWidget* parent = nullptr);

    /// What was chosen; closing the dialog otherwise takes theirs, which is what the table holds.
    Choice Chosen() const { return m_choice; }
    QPushButton* KeepMineButton() const { return m_keepMine; }
    QPushButton* TakeTheirsButton() const { return m_takeTheirs; }

private:
    Choice m_choice = Choice::TakeTheirs;
    QPushButton* m_keepMine;
    QPushButton* m_takeTheirs;
};

} // namespace wordloom
