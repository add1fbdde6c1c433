// The workbench window's undo stack: cell edits, inserts and deletes from the grid, and the record
// commands, undone with Ctrl+Z and redone with Ctrl+Shift+Z.
#include "app/failure_report.h"
#include "app/main_form.h"
#include "app/strings_grid_model.h"

#include <QAction>
#include <QUndoStack>

namespace wordloom {

void TMainForm::WireUndo() {
    QAction* undo = m_ui.undoAction;
    QAction* redo = m_ui.redoAction;
    undo->setEnabled(false);
    redo->setEnabled(false);
    // Through the window's own actions: a record that cannot be found again is reported, not thrown
    // into the event loop.
    connect(undo, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { m_undoStack->undo(); }); });
    connect(redo, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { m_undoStack->redo(); }); });
    connect(m_undoStack, &QUndoStack::canUndoChanged, undo,
            [this, undo](bool can) { undo->setEnabled(can && !m_commandRunning); });
    connect(m_undoStack, &QUndoStack::canRedoChanged, redo,
            [this, redo](bool can) { redo->setEnabled(can && !m_commandRunning); });
    connect(m_undoStack, &QUndoStack::undoTextChanged, undo,
            [undo](const QString& text) { undo->setText(tr("Undo %1").arg(text)); });
    connect(m_undoStack, &QUndoStack::redoTextChanged, redo,
            [redo](const QString& text) { redo->setText(tr("Redo %1").arg(text)); });

    connect(m_model, &StringsGridModel::RecordPosted, this,
            [this](const RecordValues& before, const RecordValues& after, bool inserted) {
                if (inserted) {
                    m_undoStack->push(new RecordSetCommand(ForUndo(), {after}, true, tr("Insert record")));
                } else {
                    m_undoStack->push(new RecordEditCommand(ForUndo(), before, after, tr("Edit record")));
                }
            });
    connect(m_model, &StringsGridModel::RecordDeleted, this, [this](const RecordValues& record) {
        m_undoStack->push(new RecordSetCommand(ForUndo(), {record}, false, tr("Delete record")));
    });
}

} // namespace wordloom
