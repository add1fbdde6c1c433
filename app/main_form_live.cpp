// A shared table live in the window: others' posts appear without losing the place or an open
// editor, a post over someone else's newer text asks which stays, and a lost server is retried
// while the edit that could not be posted waits in the grid.
#include "app/failure_report.h"
#include "app/main_form.h"
#include "app/strings_grid.h"
#include "app/strings_grid_model.h"
#include "app/table_watch.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/conflict_dlg.h"
#include "strings_db/strings_table.h"
#include "strings_db/table_notifications.h"

namespace wordloom {

namespace {

QString Shown(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void TMainForm::WireLive() {
    TableNotifications* source = m_table->Notifications();
    if (source == nullptr) {
        return; // a file: nobody else posts while it is open for writing
    }
    m_model->SetConflictChooser([this](const std::vector<StringsGridModel::ConflictField>& fields) {
        std::vector<TConflictDlg::Field> shown;
        for (const StringsGridModel::ConflictField& field : fields) {
            shown.push_back({Shown(field.field), Shown(field.theirs), Shown(field.mine)});
        }
        TConflictDlg dialog(shown, this);
        dialog.exec();
        return dialog.Chosen() == TConflictDlg::Choice::KeepMine;
    });
    TableWatch::Hooks hooks;
    hooks.reload = [this] { return ReloadForOthers(); };
    hooks.status = [this](const QString& text) {
        m_ui.statusBar->SetLastPanelText(text);
        m_ui.statusBar->repaint(); // also while a write blocks the window
    };
    hooks.back = [this] {
        if (m_model->Unsaved()) {
            ReportFailures(this, [this] { m_model->Post(); });
        }
    };
    m_watch = new TableWatch(*source, std::move(hooks), this);
    connect(m_model, &StringsGridModel::PostLost, m_watch, &TableWatch::ConnectionFailed);
}

bool TMainForm::ReloadForOthers() {
    // Reading the table again resets the grid: not under an open editor or a typed record, nor
    // while a command has the table.
    if (m_commandRunning || !m_model->Attached() || m_table->State() != TableState::Browse ||
        m_table->InTransaction() || m_ui.dbGrid->Editing()) {
        return false;
    }
    ReportFailures(this, [this] {
        m_table->Refresh();
        m_gridFilter.ForgetStates();
        m_model->Reload();
    });
    return true;
}

} // namespace wordloom
