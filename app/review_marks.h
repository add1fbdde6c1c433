// How the grid shows a translation's review state (a small mark beside the row), and the undo step
// of a state change.
#pragma once

#include "strings_db/side_store.h"

#include <QIcon>
#include <QString>
#include <QUndoCommand>
#include <functional>
#include <optional>

namespace wordloom {

class StringsTable;

QIcon ReviewStateIcon(ReviewState state);
QString ReviewStateText(ReviewState state);

/// A stored review row replaced (or dropped, for nullopt); undo puts the old one back. `changed`
/// runs after each step with the record's text, so the grid can show the state.
class ReviewCommand : public QUndoCommand {
public:
    ReviewCommand(StringsTable* table, std::optional<ReviewEntry> before, std::optional<ReviewEntry> after,
                  std::string lang, std::string text, std::string target, std::function<void()> changed,
                  const QString& title);
    void undo() override { Store(m_before); }
    void redo() override { Store(m_after); }

private:
    void Store(const std::optional<ReviewEntry>& entry);

    StringsTable* m_table;
    std::optional<ReviewEntry> m_before;
    std::optional<ReviewEntry> m_after;
    std::string m_lang;
    std::string m_text;
    std::string m_target;
    std::function<void()> m_changed;
};

} // namespace wordloom
