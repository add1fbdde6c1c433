#include "app/review_marks.h"

#include "strings_db/strings_table.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>
#include <array>

namespace wordloom {

QIcon ReviewStateIcon(ReviewState state) {
    // New shows nothing, so the marks stand out where something was done.
    static const std::array<QIcon, 5> icons = [] {
        const std::array<QColor, 5> colors = {QColor(Qt::transparent), QColor(230, 160, 0),
                                              QColor(60, 150, 60), QColor(30, 90, 200),
                                              QColor(140, 140, 140)};
        std::array<QIcon, 5> made;
        for (std::size_t i = 1; i < colors.size(); ++i) {
            QPixmap pixmap(10, 10);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colors[i]);
            if (i == static_cast<std::size_t>(ReviewState::DontTranslate)) {
                painter.drawRect(1, 4, 8, 2); // a dash: stays as it is
            } else {
                painter.drawEllipse(1, 1, 8, 8);
            }
            painter.end();
            made[i] = QIcon(pixmap);
        }
        return made;
    }();
    return icons.at(static_cast<std::size_t>(state));
}

QString ReviewStateText(ReviewState state) {
    switch (state) {
    case ReviewState::New:
        return QCoreApplication::translate("wordloom::ReviewMarks", "New");
    case ReviewState::Suggested:
        return QCoreApplication::translate("wordloom::ReviewMarks", "Suggested (needs a look)");
    case ReviewState::Translated:
        return QCoreApplication::translate("wordloom::ReviewMarks", "Translated");
    case ReviewState::Reviewed:
        return QCoreApplication::translate("wordloom::ReviewMarks", "Reviewed");
    case ReviewState::DontTranslate:
        return QCoreApplication::translate("wordloom::ReviewMarks", "Don't translate");
    }
    return {};
}

ReviewCommand::ReviewCommand(StringsTable* table, std::optional<ReviewEntry> before,
                             std::optional<ReviewEntry> after, std::string lang, std::string text,
                             std::string target, std::function<void()> changed, const QString& title)
    : QUndoCommand(title), m_table(table), m_before(std::move(before)), m_after(std::move(after)),
      m_lang(std::move(lang)), m_text(std::move(text)), m_target(std::move(target)),
      m_changed(std::move(changed)) {}

void ReviewCommand::Store(const std::optional<ReviewEntry>& entry) {
    if (entry) {
        m_table->Side().SetReview(*entry);
    } else {
        m_table->Side().ClearReview(m_lang, m_text, m_target);
    }
    if (m_changed) {
        m_changed();
    }
}

} // namespace wordloom
