// The workbench window's Delete unused: the texts the shown project no longer uses leave the
// table (or only that project's name leaves a record other projects still use), undoably.
#include "app/gui_command_host.h"
#include "app/main_form.h"
#include "app/project_combo.h"
#include "app/strings_grid_model.h"
#include "dialogs/message_boxes.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <QComboBox>
#include <QLocale>
#include <QUndoStack>
#include <algorithm>
#include <functional>
#include <unordered_map>

namespace wordloom {

namespace {

/// Runs its parts on the whole table: a record that only lost the project's name is no longer in
/// the view narrowed to that project, yet its undo has to find it.
class WholeTableCommand : public QUndoCommand {
public:
    WholeTableCommand(UndoTarget target, const QString& text) : QUndoCommand(text), m_target(target) {}
    void undo() override {
        Unfiltered([this] { QUndoCommand::undo(); });
    }
    void redo() override {
        if (m_pushed) {
            m_pushed = false; // pushed after the change was made
            return;
        }
        Unfiltered([this] { QUndoCommand::redo(); });
    }

private:
    template <typename Step>
    void Unfiltered(Step step) {
        StringsTable& table = *m_target.table;
        const bool filtered = table.Filtered();
        table.SetFiltered(false);
        try {
            step();
        } catch (...) {
            table.SetFiltered(filtered);
            m_target.model->Reload();
            throw;
        }
        table.SetFiltered(filtered);
        m_target.model->Reload();
    }

    UndoTarget m_target;
    bool m_pushed = true;
};

} // namespace

void TMainForm::DeleteUnusedClick() {
    if (m_table == nullptr) {
        return;
    }
    const QString project = ShownProject();
    if (project.isEmpty()) {
        ShowPlainMessage(this, tr("Choose the project whose unused texts are to be deleted."));
        return;
    }
    m_model->PostPending();
    const std::string name = project.toStdString();
    const std::string lang = m_model->ColumnField(0);
    SideStore& side = m_table->Side();
    if (side.OccurrenceFiles(name).empty()) {
        ShowPlainMessage(this, tr("The project %1 was not collected since where-used is recorded: collect it "
                                  "first, or every text would look unused.")
                                   .arg(project));
        return;
    }
    const std::vector<std::string> unused = side.UnusedTexts(name, lang);
    if (unused.empty()) {
        ShowPlainMessage(this, tr("The project %1 uses every text it lists.").arg(project));
        return;
    }
    if (!AskOkCancel(this, tr("Delete the %1 texts the project %2 no longer uses? Texts other projects "
                              "still use only lose the project's name.")
                               .arg(QLocale().toString(static_cast<qlonglong>(unused.size())), project))) {
        return;
    }
    RunLongCommand(std::function<void()>([&] {
        GuiCommandHost host(this, m_ui.statusBar, m_model, [this] { ProjectComboChange(); });
        host.BusyCursor(true);
        host.SetViewAttached(false);
        const bool filtered = m_table->Filtered();
        struct RestoreFilter {
            StringsTable& table;
            bool filtered;
            ~RestoreFilter() { table.SetFiltered(filtered); }
        } restoreFilter{*m_table, filtered};
        // What changes is kept for undo, read from the whole table before the change.
        m_table->SetFiltered(false);
        std::unordered_map<std::string, RecordValues> before;
        for (int recNo = 0, count = m_table->RecordCount(); recNo < count; ++recNo) {
            std::string text = m_table->FieldAt(recNo, lang);
            if (ListsProject(m_table->FieldAt(recNo, "Project"), name) &&
                std::binary_search(unused.begin(), unused.end(), text)) {
                before.emplace(std::move(text), RecordValuesAt(*m_table, recNo));
            }
        }
        // A cancel keeps the texts done: they are what the undo step puts back.
        const std::vector<std::string> removed = side.DeleteUnused(name, lang, &host);
        std::erase_if(before, [&removed](const auto& entry) {
            return !std::binary_search(removed.begin(), removed.end(), entry.first);
        });
        m_table->Refresh();
        if (removed.size() < unused.size()) {
            host.StatusText(tr("Cancelled: %1 of %2 unused texts deleted")
                                .arg(QLocale().toString(static_cast<qlonglong>(removed.size())),
                                     QLocale().toString(static_cast<qlonglong>(unused.size())))
                                .toStdString());
        }
        if (removed.empty()) {
            return;
        }
        // A record still there only lost the project's name; one gone was the project's alone.
        auto* command = new WholeTableCommand(ForUndo(), tr("Delete Unused Texts"));
        for (int recNo = 0, count = m_table->RecordCount(); recNo < count; ++recNo) {
            const auto kept = before.find(m_table->FieldAt(recNo, lang));
            if (kept != before.end()) {
                new RecordEditCommand(ForUndo(), kept->second, RecordValuesAt(*m_table, recNo), QString(),
                                      command);
                before.erase(kept);
            }
        }
        std::vector<RecordValues> deleted;
        for (auto& [text, values] : before) {
            deleted.push_back(std::move(values));
        }
        if (!deleted.empty()) {
            new RecordSetCommand(ForUndo(), std::move(deleted), false, QString(), command);
        }
        m_table->SetFiltered(filtered);
        m_undoStack->push(command);
    }));
}

} // namespace wordloom
