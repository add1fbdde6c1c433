// The workbench window's review marks: the current translation marked reviewed or don't
// translate, by shortcut, undoably.
#include "app/failure_report.h"
#include "app/main_form.h"
#include "app/review_marks.h"
#include "app/strings_grid_model.h"
#include "strings_db/strings_table.h"

#include <QAction>
#include <QUndoStack>

namespace wordloom {

void TMainForm::WireReview() {
    connect(m_ui.markReviewedAction, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { MarkCurrent(ReviewState::Reviewed); }); });
    connect(m_ui.markDontTranslateAction, &QAction::triggered, this,
            [this] { ReportFailures(this, [this] { MarkCurrent(ReviewState::DontTranslate); }); });
}

void TMainForm::MarkCurrent(ReviewState state) {
    if (m_table == nullptr || m_model->CurrentRow() < 0 || m_table->ReadOnly()) {
        return;
    }
    m_model->PostPending();
    const int recNo = m_model->RecordOfRow(m_model->CurrentRow());
    if (recNo < 0) {
        return;
    }
    const std::string lang = m_model->ColumnField(0);
    const std::string target = m_model->ColumnField(1);
    const std::string text = m_table->FieldAt(recNo, lang);
    if (text.empty() || lang == target) {
        return;
    }
    std::optional<ReviewEntry> before = m_table->Side().Review(lang, text, target);
    std::optional<ReviewEntry> after;
    // Marking again what is marked takes the mark back.
    if (!before || before->state != state) {
        after = ReviewEntry{lang, text, target, state, before ? before->note : std::string(), 0};
    }
    const QString title = state == ReviewState::Reviewed ? tr("Mark Reviewed") : tr("Mark Don't Translate");
    m_undoStack->push(new ReviewCommand(m_table.get(), std::move(before), std::move(after), lang, text,
                                        target, StateShownAgain(lang, text), title));
}

std::function<void()> TMainForm::StateShownAgain(const std::string& lang, const std::string& text) {
    return [this, lang, text] {
        // Usually the record is still the current one: only its state is read again.
        const int row = m_model->CurrentRow();
        const int current = row >= 0 ? m_model->RecordOfRow(row) : -1;
        if (current >= 0 && m_table->FieldAt(current, lang) == text) {
            m_gridFilter.RecordChanged(current);
        } else {
            m_gridFilter.ForgetStates();
        }
        m_model->StatesChanged();
    };
}

} // namespace wordloom
