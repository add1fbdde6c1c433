// A panel beside the grid with the translations already made for texts like the current one: up to
// five, most similar first, with the similarity in percent. A click or Ctrl+1..5 takes one. The
// memory behind it is built off the UI thread and learns every translation posted meanwhile.
#pragma once

#include "app/background_read.h"
#include "strings_db/translation_memory.h"

#include <QDockWidget>
#include <QList>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QAction;
class QLabel;
class QTreeWidget;

namespace wordloom {

class SuggestionsPanel : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kShown = 5;

    explicit SuggestionsPanel(QWidget* parent = nullptr);
    ~SuggestionsPanel() override;

    /// Builds the memory of the pairs (source, target) of the table file anew, in a thread of its
    /// own; the suggestions shown meanwhile come from nothing. A change of languages forgets what
    /// was learned.
    void Rebuild(const QString& tablePath, const std::string& source, const std::string& target);
    /// A translation posted (or emptied) since the memory was read: it wins over the one read.
    void Learn(const std::string& source, const std::string& translation);
    /// The current record's source text; the same text again computes nothing.
    void ShowText(const std::string& text);

    /// True once the memory for the current languages has been built.
    bool Ready() const { return m_memory != nullptr; }
    const std::vector<Suggestion>& Shown() const { return m_shown; }
    QTreeWidget* List() const { return m_list; }
    /// Ctrl+1 .. Ctrl+5, for the window to hold (they work wherever its focus is).
    const QList<QAction*>& TakeActions() const { return m_takeActions; }

signals:
    /// The user chose the suggestion at `place` (0-based) of Shown().
    void Take(int place);
    /// The memory was built (or failed to be: Ready() tells).
    void MemoryBuilt();

private:
    void Adopt(std::shared_ptr<TranslationMemory> memory, const std::string& failure);
    void Present();

    QTreeWidget* m_list;
    QLabel* m_note;
    QList<QAction*> m_takeActions;
    BackgroundRead m_read;
    std::shared_ptr<TranslationMemory> m_memory;
    std::string m_failure; ///< why the last build brought no memory
    std::string m_source;
    std::string m_target;
    std::unordered_map<std::string, std::string> m_learned;
    std::string m_text;
    bool m_textShown = false;
    std::vector<Suggestion> m_shown;
};

} // namespace wordloom
