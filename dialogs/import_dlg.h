// Import: a translator's file (PO, XLIFF, CSV, TMX) or a Paradox strings table read and compared
// with the strings table, shown as a preview (new, changed, conflicting and unknown texts, each
// conflict with both translations and a choice), and written in one transaction when the user
// says Import.
#pragma once

#include "exchange/table_exchange.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace wordloom {

class StringsTable;

namespace exchange {
class SideDetails;
}

class ImportDlg : public QDialog {
    Q_OBJECT
public:
    /// `sourceLanguage` is the language of the texts (the window's project language),
    /// `targetLanguage` the one of files that do not name theirs unless another is chosen; texts
    /// added for unknown ones get `project`.
    ImportDlg(StringsTable& table, const QString& sourceLanguage, const QString& targetLanguage,
              const QString& project, QWidget* parent = nullptr);
    ~ImportDlg() override;

    QLineEdit* FileEdit() const { return m_file; }
    /// Automatic first, then the formats.
    QComboBox* FormatCombo() const { return m_format; }
    /// "As the file says" first, then the table's languages.
    QComboBox* LanguageCombo() const { return m_language; }
    QCheckBox* AddUnknownCheck() const { return m_addUnknown; }
    QPushButton* PreviewButton() const { return m_preview; }
    QLabel* Counts() const { return m_counts; }
    /// Which kinds the list shows: all, new, changed, conflicts, unknown.
    QComboBox* KindFilter() const { return m_kindFilter; }
    /// One row per new, changed, conflicting and unknown text; a conflict's check box takes theirs.
    QTreeWidget* Items() const { return m_items; }
    QPushButton* ImportButton() const { return m_import; }

    /// Reads the file and compares it with the table, writing nothing; a failure is shown with
    /// its position in the file and leaves no preview. True when there is one.
    bool Preview();
    /// Writes the preview's choices in one transaction; a failure is shown and nothing changes.
    bool Import();
    const exchange::ImportResult& Result() const { return m_result; }
    /// The preview's items with their choices; after Import, those taken are what was written.
    const exchange::ImportPlan& Plan() const { return m_plan; }

private:
    void ChooseFile();
    void ClearPreview();
    void FillItems();
    void ShowKinds();
    static QString StateTitle(exchange::UnitState state);

    StringsTable& m_table;
    std::string m_fallbackLanguage;
    exchange::ImportOptions m_options;
    exchange::ImportPlan m_plan;
    std::unique_ptr<exchange::SideDetails> m_details;
    bool m_planned = false;
    exchange::ImportResult m_result;

    QLineEdit* m_file;
    QComboBox* m_format;
    QComboBox* m_language;
    QCheckBox* m_addUnknown;
    QPushButton* m_preview;
    QLabel* m_counts;
    QComboBox* m_kindFilter;
    QTreeWidget* m_items;
    QPushButton* m_import;
};

} // namespace wordloom
