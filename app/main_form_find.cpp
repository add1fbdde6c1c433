// The workbench window's find bar, record filter and record count.
#include "app/failure_report.h"
#include "app/find_bar.h"
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "strings_db/strings_table.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace wordloom {

void TMainForm::WireFind() {
    FindBar* bar = m_ui.findBar;
    connect(m_ui.findAction, &QAction::triggered, bar, &FindBar::Open);
    connect(m_ui.findNextAction, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { StepToMatch(true); }); });
    connect(m_ui.findPreviousAction, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { StepToMatch(false); }); });
    connect(bar, &FindBar::Step, this,
            [this](bool forward) { ReportFailures(this, [&] { StepToMatch(forward); }); });
    connect(bar, &FindBar::CriteriaChanged, this,
            [this] { ReportFailures(this, [this] { ApplyRecordFilter(); }); });
    connect(bar, &FindBar::Closed, m_ui.dbGrid, [this] { m_ui.dbGrid->setFocus(); });
    connect(m_ui.recordFilter, &QComboBox::activated, this,
            [this] { ReportFailures(this, [this] { ApplyRecordFilter(); }); });
    connect(m_model, &QAbstractItemModel::modelReset, this, &TMainForm::ShowRecordCount);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &TMainForm::ShowRecordCount);
    // A post may bring a record into the view or take one out without changing the rows.
    connect(m_model, &StringsGridModel::CurrentRowChanged, this, &TMainForm::ShowRecordCount);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &TMainForm::ShowRecordCount);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TMainForm::ShowFindColumns);
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &TMainForm::ShowFindColumns);
}

void TMainForm::ApplyRecordFilter() {
    FilterCriteria criteria;
    criteria.findText = m_ui.findBar->Text();
    criteria.findColumn = m_ui.findBar->Column();
    criteria.narrowToFind = m_ui.findBar->Narrows();
    criteria.state = static_cast<RecordStateFilter>(m_ui.recordFilter->currentData().toInt());
    m_gridFilter.SetProject(ShownProject().toStdString());
    if (criteria == m_gridFilter.Criteria()) {
        return;
    }
    m_gridFilter.SetCriteria(criteria);
    m_model->Refilter();
    ShowRecordCount();
}

void TMainForm::StepToMatch(bool forward) {
    if (m_ui.findBar->Text().isEmpty()) {
        m_ui.findBar->Open();
        return;
    }
    const int rows = m_model->rowCount();
    int start = m_model->CurrentRow();
    if (start < 0) {
        start = forward ? -1 : rows;
    }
    for (int step = 1; step <= rows; ++step) {
        const int row = ((start + (forward ? step : -step)) % rows + rows) % rows;
        const int recNo = m_model->RecordOfRow(row);
        if (recNo >= 0 && m_gridFilter.MatchesFind(recNo)) {
            m_model->MoveTo(row);
            return;
        }
    }
    QApplication::beep(); // nothing shown holds the text
}

void TMainForm::ShowRecordCount() {
    if (m_table == nullptr || !m_model->Attached()) {
        return;
    }
    const QLocale locale;
    const int shown = m_model->Records();
    const int all = m_table->RecordCount();
    if (shown != all) {
        m_ui.recordCount->setText(tr("%1 of %2 records").arg(locale.toString(shown), locale.toString(all)));
    } else {
        m_ui.recordCount->setText(all == 1 ? tr("1 record") : tr("%1 records").arg(locale.toString(all)));
    }
    QString note;
    if (m_gridFilter.Criteria().state == RecordStateFilter::Unused && m_gridFilter.UnusedUnknown()) {
        note = ShownProject().isEmpty()
                   ? tr("Choose a project to see the texts it no longer uses.")
                   : tr("The project was not collected since where-used is recorded: collect it to see "
                        "the texts it no longer uses.");
    }
    m_ui.recordCount->setToolTip(note);
    m_ui.unusedNote->setText(note);
    m_ui.unusedNote->setVisible(!note.isEmpty());
}

void TMainForm::ShowFindColumns() {
    m_ui.findBar->SetColumnNames(QString::fromStdString(m_model->ColumnField(0)),
                                 QString::fromStdString(m_model->ColumnField(1)));
}

} // namespace wordloom
