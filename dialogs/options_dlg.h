// The options dialog: the character set each grid column displays (and, through it, the code pages
// of the sources and of the translations).
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace wordloom {

/// What the dialog reads and sets: the character set of grid column 0 (left) and 1 (right).
class ColumnCharsets {
public:
    virtual ~ColumnCharsets() = default;
    virtual int ColumnCharset(int column) const = 0;
    virtual void SetColumnCharset(int column, int charset) = 0;
};

/// Created once at start; shown without blocking and kept on top; the object lives for the run.
class TOptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOptionsDlg(QWidget* parent = nullptr);

    /// The columns the lists act on; not owned, may be null (the lists then change nothing).
    void SetColumns(ColumnCharsets* columns) { m_columns = columns; }
    /// Shows the dialog, or brings it to the front when it is open already.
    void ShowNonModal();

    /// Whether translated text forms stay text forms (otherwise every form is written binary).
    bool KeepTextForms() const;
    void SetKeepTextForms(bool keep);

    QComboBox* CharSetCombo1() const { return m_charSetCombo1; }
    QCheckBox* KeepTextFormsBox() const { return m_keepTextForms; }
    QComboBox* CharSetCombo2() const { return m_charSetCombo2; }
    /// The command that opens a source file at a line ("kate --line %l %f"); empty for the
    /// desktop's program.
    QLineEdit* EditorCommandEdit() const { return m_editorCommand; }
    QPushButton* OKBtn() const { return m_okBtn; }

signals:
    /// The user ticked or cleared "Keep text forms as text".
    void KeepTextFormsChanged(bool keep);
    /// The user changed the editor command.
    void EditorCommandChanged(const QString& command);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void CharSetCombo1Change(int index);
    void CharSetCombo2Change(int index);
    void OKBtnClick();
    void PickCharset(int column, int index);

    ColumnCharsets* m_columns = nullptr;
    QComboBox* m_charSetCombo1;
    QComboBox* m_charSetCombo2;
    QCheckBox* m_keepTextForms;
    QLineEdit* m_editorCommand;
    QPushButton* m_okBtn;
};

} // namespace wordloom
