// The workbench window's Exchange: export and import of translation files through their dialogs.
// The engine orders, filters and moves through the table while it works; the grid is kept out of
// it and finds its view, and its current record, as it was.
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/export_dlg.h"
#include "dialogs/import_dlg.h"
#include "strings_db/strings_table.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <set>

namespace wordloom {

namespace {

/// Detaches the grid and remembers the table's order, filter and current record; puts them back
/// when it goes, also after a failure.
class KeptView {
public:
    /// `grid` shows, while the view is kept, a picture of what it showed before: a modal dialog
    /// stands in front of it, and an empty grid looked like a lost table.
    KeptView(StringsTable& table, StringsGridModel* model, QWidget* grid)
        : m_table(table), m_model(model), m_picture(new QLabel(grid)) {
        m_model->PostPending();
        m_picture->setObjectName(QStringLiteral("KeptViewPicture"));
        m_picture->setPixmap(grid->grab());
        m_picture->setGeometry(grid->rect());
        m_indexFieldNames = table.IndexFieldNames();
        m_indexName = table.IndexName();
        m_filtered = table.Filtered();
        m_recNo = table.RecNo();
        if (table.RecordCount() > 0 && !table.IndexField().empty())
            m_key = table.FieldAsString(table.IndexField());
        m_model->SetAttached(false);
        m_picture->show();
    }
    ~KeptView() {
        try {
            if (!m_indexFieldNames.empty())
                m_table.SetIndexFieldNames(m_indexFieldNames);
            else if (!m_indexName.empty())
                m_table.SetIndexName(m_indexName);
            m_table.SetFiltered(m_filtered);
            m_table.Refresh();
            if (const int count = m_table.RecordCount();
                count > 0 && (m_key.empty() || !m_table.FindKey(m_key)))
                m_table.SetRecNo(std::clamp(m_recNo, 0, count - 1));
        } catch (...) {
            // The view as the table now has it; the failure that brought us here is the one reported.
        }
        m_model->SetAttached(true);
        delete m_picture;
    }
    KeptView(const KeptView&) = delete;
    KeptView& operator=(const KeptView&) = delete;

private:
    StringsTable& m_table;
    StringsGridModel* m_model;
    QLabel* m_picture; ///< owned by the grid until the view is given back
    std::string m_indexFieldNames;
    std::string m_indexName;
    bool m_filtered = false;
    int m_recNo = 0;
    std::string m_key;
};

} // namespace

QStringList TMainForm::TableProjects() {
    std::set<QString> names;
    const bool filtered = m_table->Filtered();
    m_table->SetFiltered(false);
    for (int recNo = 0, count = m_table->RecordCount(); recNo < count; ++recNo) {
        for (const QString& name :
             QString::fromStdString(m_table->FieldAt(recNo, "Project")).split(QLatin1Char(';')))
            if (!name.trimmed().isEmpty())
                names.insert(name.trimmed());
    }
    m_table->SetFiltered(filtered);
    return QStringList(names.begin(), names.end());
}

void TMainForm::ExportClick() {
    if (m_table == nullptr) {
        return;
    }
    KeptView kept(*m_table, m_model, m_ui.dbGrid);
    ExportDlg dialog(*m_table, m_ui.langCombo->currentText(), m_ui.transCombo->currentText(), TableProjects(),
                     ShownProject(), this);
    if (dialog.exec() == QDialog::Accepted) {
        m_ui.statusBar->SetLastPanelText(
            tr("%1 texts exported to %2")
                .arg(QLocale().toString(static_cast<qulonglong>(dialog.Written())),
                     dialog.FileEdit()->text()));
    }
}

void TMainForm::ImportClick() {
    if (m_table == nullptr) {
        return;
    }
    exchange::ImportPlan written;
    {
        KeptView kept(*m_table, m_model, m_ui.dbGrid);
        ImportDlg dialog(*m_table, m_ui.langCombo->currentText(), m_ui.transCombo->currentText(),
                         ShownProject(), this);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        const QLocale locale;
        m_ui.statusBar->SetLastPanelText(
            tr("Imported: %1 translations written, %2 texts added")
                .arg(locale.toString(static_cast<qulonglong>(dialog.Result().written)),
                     locale.toString(static_cast<qulonglong>(dialog.Result().added))));
        m_projectsListed = false; // added texts may name a project the list lacks
        written = dialog.Plan();
    }
    // Checked once the grid shows the table again, so that the marks land on its rows.
    std::vector<std::string> texts;
    for (const exchange::ImportItem& item : written.items) {
        if (item.take) {
            texts.push_back(item.source);
        }
    }
    RecheckTexts(written.sourceLanguage, written.targetLanguage, texts);
}

} // namespace wordloom
