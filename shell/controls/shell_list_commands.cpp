// The shell list's commands and menus.
#include "shell/controls/shell_list.h"

#include "shell/controls/drag_operations.h"
#include "shell/core/file_clipboard.h"
#include "shell/core/shell_link.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTimer>

namespace wordloom::shell {

// ---- commands ----

void TVelShellList::OpenParent() {
    if (!m_browser->SelectFolderInParent())
        return;
    Populate();
    SendFolderChanged();
}

bool TVelShellList::ExecuteCommand(const QString& verb) {
    const std::vector<int> selected = SelectedItems();
    if (selected.empty())
        return false;
    OptFileList files;
    if (VerbIs(verb, "paste"))
        files = ClipboardFiles();
    else if (VerbIs(verb, "delete"))
        files = SelectedPaths();
    bool result = false;
    if (selected.size() == 1) {
        m_browser->SetObjectIDList(m_model->Rows()[std::size_t(selected.front())].record.id);
        if (!VerbIs(verb, "default") && !VerbIs(verb, "open")) {
            result = m_browser->InvokeCommand(verb);
        } else if (m_browser->IsFolder()) {
            if (!m_browser->EnterObject())
                return false;
            SendFolderChanged();
            Populate();
            return true;
        } else if (const QString target = m_browser->LinkTargetFolder(); !target.isEmpty()) {
            try {
                m_browser->SetFolder(target + u'/');
            } catch (const EPathwrightError&) {
                return false;
            }
            Populate();
            SendFolderChanged();
            return true;
        } else {
            result = m_browser->InvokeCommand(verb);
        }
    } else {
        m_browser->MultiObjects() = SelectedNames();
        result = m_browser->InvokeCommand(verb);
    }
    if (!result)
        return false;
    if (VerbIs(verb, "delete")) {
        ReportOperation(TVelShellOperation::opDelete | TVelShellOperation::opRemoved, std::move(files),
                        QString());
        Resync();
    } else if (VerbIs(verb, "paste")) {
        ReportOperation(TVelShellOperation::opPaste | TVelShellOperation::opClipboard, std::move(files),
                        Path());
    } else if (VerbIs(verb, "cut")) {
        MarkSelectedAsCut();
    }
    return true;
}

bool TVelShellList::PasteIntoFolder(const QString& verb) {
    m_browser->SetOnFileChange(nullptr);
    struct Rewatch {
        TVelShellList* list;
        ~Rewatch() {
            list->m_browser->SetOnFileChange([l = list](QObject*) { l->ScheduleResync(); });
        }
    } rewatch{this};
    if (!m_browser->SelectFolderInParent())
        return false;
    OptFileList files;
    if (VerbIs(verb, "paste"))
        files = ClipboardFiles();
    const bool result = m_browser->InvokeCommand(verb);
    m_browser->EnterObject();
    // Only a paste that happened is reported.
    if (result && VerbIs(verb, "paste"))
        ReportOperation(TVelShellOperation::opPaste | TVelShellOperation::opClipboard, std::move(files),
                        Path());
    ScheduleResync();
    return result;
}

void TVelShellList::SelectAll() {
    if (ItemCount() > 0)
        m_selection->select(QItemSelection(m_model->index(0, 0), m_model->index(ItemCount() - 1, 0)),
                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    View()->setFocus();
}

QStringList TVelShellList::SelectedNames() {
    if (!m_selectedNames)
        m_selectedNames = std::make_unique<QStringList>();
    if (m_selectedNames->isEmpty()) {
        const OptIDList saved = m_browser->GetObjectIDList();
        for (int item : SelectedItems()) {
            m_browser->SetObjectIDList(m_model->Rows()[std::size_t(item)].record.id);
            m_selectedNames->append(m_browser->GetObjectName());
        }
        m_browser->SetObjectIDList(saved);
    }
    return *m_selectedNames;
}

void TVelShellList::SetSelectedNames(const QStringList& names) {
    if (!m_selectedNames)
        m_selectedNames = std::make_unique<QStringList>();
    const QScopedValueRollback<bool> applying(m_applying, true);
    m_selection->clearSelection();
    const OptIDList folder = m_browser->GetFolderIDList();
    for (const QString& name : names) {
        bool found = true;
        try {
            m_browser->SetObjectName(name);
        } catch (const EPathwrightError&) {
            found = false; // not here: nothing to select
        }
        // A name with a path may have moved the browser to another folder: that is no item here.
        if (m_browser->GetFolderIDList() != folder) {
            m_browser->SetFolderIDList(folder);
            continue;
        }
        if (!found)
            continue;
        const int item = IndexOfIDList(m_browser->GetObjectIDList());
        if (item < 0)
            continue;
        const QModelIndex index = m_model->index(item, 0);
        m_selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        m_selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        View()->scrollTo(index);
    }
    View()->setFocus();
    *m_selectedNames = names;
}

// ---- menus ----

bool TVelShellList::ShowBackgroundMenu(const QPoint& screenPoint) {
    if (!m_backgroundPopupMenu)
        return false;
    m_hooks.ExecMenu(*m_backgroundPopupMenu, screenPoint);
    return true;
}

bool TVelShellList::ShowItemMenu(const QPoint& screenPoint, QString& verb) {
    verb.clear();
    if (!SelectedItems().empty())
        m_browser->MultiObjects().append(SelectedNames());
    if (m_readOnly)
        m_browser->OnRename = nullptr;
    else
        m_browser->OnRename = [this](QObject*) { EditSelectedCaption(); };
    OptFileList clipboard = ClipboardFiles();
    OptFileList paths = SelectedPaths();
    const int focused = FocusedSelectedItem();
    const QString caption = focused >= 0 ? ItemCaption(focused) : QString();
    m_browser->SetReadOnly(m_readOnly);
    m_browser->ShowContextMenu(screenPoint, m_popupMenu, verb);
    if (VerbIs(verb, "delete"))
        ReportOperation(TVelShellOperation::opDelete | TVelShellOperation::opRemoved, std::move(paths),
                        QString());
    else if (VerbIs(verb, "paste"))
        ReportOperation(TVelShellOperation::opPaste | TVelShellOperation::opClipboard, std::move(clipboard),
                        Path() + caption);
    else if (VerbIs(verb, "cut"))
        MarkSelectedAsCut();
    return true;
}

void TVelShellList::HandleContextMenuKey() {
    const int item = FocusedSelectedItem();
    QPoint point(1, 1);
    if (item >= 0)
        point = View()->viewport()->mapToGlobal(ItemRect(item).bottomRight());
    QString verb;
    if (item >= 0 && m_shellContextMenu)
        ShowItemMenu(point, verb);
    else
        ShowBackgroundMenu(point);
}

} // namespace wordloom::shell
