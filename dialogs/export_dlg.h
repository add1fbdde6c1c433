// Export: the strings table's texts of one language written into a translation file (PO, XLIFF
// 1.2 or 2.0, CSV, TMX) for a translator, the file written when the user says Export.
#pragma once

#include <QDialog>
#include <QStringList>
#include <cstddef>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace wordloom {

class StringsTable;

class ExportDlg : public QDialog {
    Q_OBJECT
public:
    /// `sourceLanguage` is the language of the texts (the window's project language);
    /// `targetLanguage` and `project` are chosen at first (`project` empty: all projects).
    ExportDlg(StringsTable& table, const QString& sourceLanguage, const QString& targetLanguage,
              const QStringList& projects, const QString& project, QWidget* parent = nullptr);

    QComboBox* FormatCombo() const { return m_format; }
    QComboBox* LanguageCombo() const { return m_language; }
    QComboBox* ProjectCombo() const { return m_project; }
    /// 0 all texts, 1 only untranslated, 2 only suggested.
    QButtonGroup* ScopeGroup() const { return m_scope; }
    QCheckBox* MarkCheck() const { return m_mark; }
    QLineEdit* FileEdit() const { return m_file; }
    QPushButton* ExportButton() const { return m_export; }

    /// Writes the file; a failure is shown and the dialog stays open. True when written.
    bool Export();
    /// Texts written by the last export.
    std::size_t Written() const { return m_written; }

private:
    void FormatChanged();
    void ChooseFile();

    StringsTable& m_table;
    QString m_sourceLanguage;
    QComboBox* m_format;
    QComboBox* m_language;
    QComboBox* m_project;
    QButtonGroup* m_scope;
    QCheckBox* m_mark;
    QLineEdit* m_file;
    QPushButton* m_export;
    std::size_t m_written = 0;
};

} // namespace wordloom
