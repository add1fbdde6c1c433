// The workbench window's state between runs: size, panels, the share of the language columns, the
// order and the filters.
#include "app/failure_report.h"
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "app/workbench_settings.h"
#include "strings_db/strings_table.h"

#include <QComboBox>

namespace wordloom {

void TMainForm::RestoreWindowState() {
    const WindowState state = m_settings->ReadWindow();
    if (!state.geometry.isEmpty()) {
        restoreGeometry(state.geometry);
    }
    if (!state.docks.isEmpty()) {
        restoreState(state.docks);
    }
    m_ui.dbGrid->SetLeftShare(state.leftShare);
    // An order or a project that the table no longer has leaves the start-up's choice standing.
    ReportFailures(this, [&] {
        const std::string name = state.order.mid(6).toStdString();
        if (name.empty()) {
            return;
        }
        if (state.order.startsWith(QLatin1String("index:"))) {
            m_table->SetIndexName(name);
        } else if (state.order.startsWith(QLatin1String("field:"))) {
            m_table->SetIndexFieldNames(name);
        }
    });
    if (!state.projectFilter.isEmpty()) {
        m_ui.projectCombo->addItem(state.projectFilter);
        m_ui.projectCombo->setCurrentIndex(m_ui.projectCombo->count() - 1);
        ReportFailures(this, [this] { ProjectComboChange(); });
    }
    if (state.recordFilter > 0 && state.recordFilter < m_ui.recordFilter->count()) {
        m_ui.recordFilter->setCurrentIndex(state.recordFilter);
        ReportFailures(this, [this] { ApplyRecordFilter(); });
    }
    m_model->Reload();
}

void TMainForm::SaveWindowState() {
    WindowState state;
    state.geometry = saveGeometry();
    state.docks = saveState();
    state.leftShare = m_ui.dbGrid->LeftShare();
    if (m_table != nullptr) {
        const std::string& fields = m_table->IndexFieldNames();
        state.order = fields.empty() ? QStringLiteral("index:") + QString::fromStdString(m_table->IndexName())
                                     : QStringLiteral("field:") + QString::fromStdString(fields);
    }
    const QString project = m_ui.projectCombo->currentText();
    if (!project.isEmpty() && project.front() != QLatin1Char(' ')) {
        state.projectFilter = project;
    }
    state.recordFilter = m_ui.recordFilter->currentIndex();
    m_settings->WriteWindow(state);
}

} // namespace wordloom
