// The workbench window's statistics: how far the shown project's translation into the target
// language has come, at the right of the status bar.
#include "app/background_read.h"
#include "app/failure_report.h"
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid_model.h"
#include "dialogs/adv_status_bar.h"
#include "strings_db/strings_table.h"
#include "strings_db/translation_stats.h"

#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <QUndoStack>
#include <memory>

namespace wordloom {

void TMainForm::WireStatistics() {
    m_statsRead = std::make_unique<BackgroundRead>();
    m_statsLabel = new QLabel(m_ui.statusBar);
    m_statsLabel->setObjectName(QStringLiteral("Statistics"));
    m_ui.statusBar->addPermanentWidget(m_statsLabel);
    // One count per burst of changes: a reload, a column change and a post often come together.
    m_statsTimer = new QTimer(this);
    m_statsTimer->setSingleShot(true);
    m_statsTimer->setInterval(0);
    connect(m_statsTimer, &QTimer::timeout, this,
            [this] { ReportFailures(this, [this] { ShowStatistics(); }); });
    const auto later = [this] { m_statsTimer->start(); };
    connect(m_model, &QAbstractItemModel::modelReset, this, later);
    // A column's language changed; the rows' header changes with every move of the cursor.
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, [later](Qt::Orientation orientation) {
        if (orientation == Qt::Horizontal) {
            later();
        }
    });
    connect(m_undoStack, &QUndoStack::indexChanged, this, later);
}

QString TMainForm::ShownProject() const {
    const QString entry = m_ui.projectCombo->currentText();
    // " (All Projects)" and the empty entry stand for every record.
    return entry.isEmpty() || entry.front() == QLatin1Char(' ') ? QString() : entry;
}

void TMainForm::ShowStatistics() {
    if (m_table == nullptr || !m_model->Attached()) {
        m_statsBasis.reset();
        m_statsRead->Stop();
        return;
    }
    const std::string source = m_model->ColumnField(0);
    const std::string target = m_model->ColumnField(1);
    if (source.empty() || target.empty() || source == target) {
        m_statsBasis.reset();
        m_statsRead->Stop();
        m_statsLabel->clear();
        return;
    }
    StatsBasis basis{ShownProject().toStdString(), source, target, m_table->WriteStamp()};
    if (basis.stamp && basis == m_statsBasis) {
        return; // shown, or being counted
    }
    m_statsBasis = basis;
    // Counted on a connection of its own: a whole-table pass would stall typing on a large table.
    // The old figures stay until the new ones come.
    auto stats = std::make_shared<TranslationStats>();
    m_statsRead->Start(
        TableAddress(),
        [stats, basis](StringsTable& table, const std::atomic<bool>& stop) {
            *stats = ComputeStats(table, basis.project, basis.source, basis.target, &stop);
        },
        [this, stats, target](const std::string& failure) {
            if (!failure.empty()) {
                m_statsBasis.reset();
                m_statsLabel->setText(tr("No statistics"));
                m_statsLabel->setToolTip(QString::fromStdString(failure));
                return;
            }
            const QLocale locale;
            m_statsLabel->setText(tr("%1: %2 of %3 texts, %4 of %5 words (%6%)")
                                      .arg(QString::fromStdString(target), locale.toString(stats->doneTexts),
                                           locale.toString(stats->totalTexts),
                                           locale.toString(stats->doneWords),
                                           locale.toString(stats->totalWords))
                                      .arg(stats->Percent()));
            m_statsLabel->setToolTip(
                tr("Translated, reviewed or don't translate: %1; suggested (needs a look): %2")
                    .arg(locale.toString(stats->doneTexts), locale.toString(stats->suggestedTexts)));
        });
}

} // namespace wordloom
