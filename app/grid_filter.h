// What the grid narrows its rows to: a find text over the language columns (letter case and
// accents ignored) and the state of the translation. Answers from folded copies of the two
// language columns, read once per view and kept up to date record by record, so a keystroke costs
// one pass over memory and no table read.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace wordloom {

class StringsTable;

/// Which records the state filter lets through. Further states (from the review and occurrence
/// tables) are added as further entries.
enum class RecordStateFilter {
    All,           ///< every record
    Untranslated,  ///< the translation column is empty
    Translated,    ///< the translation column holds a text
    Suggested,     ///< the translation waits as "suggested" (needs a look)
    DontTranslate, ///< the text is marked to stay as it is
    Unused,        ///< the shown project no longer uses the text (where-used)
    WithWarnings   ///< the checks found something in the translation
};

struct FilterCriteria {
    QString findText;         ///< empty: no find
    int findColumn = -1;      ///< 0 or 1: that language column only; -1: both
    bool narrowToFind = true; ///< false: the find text only marks matches for stepping
    RecordStateFilter state = RecordStateFilter::All;

    bool operator==(const FilterCriteria&) const = default;
};

class GridFilter {
public:
    /// The table whose view is searched (not owned; null: nothing), and the fields of the two
    /// language columns (project language, translation language).
    void SetSource(StringsTable* table, const std::string& sourceField, const std::string& targetField);
    /// The project whose unused texts the Unused entry shows; empty: none is chosen.
    void SetProject(const std::string& project);
    /// True when the Unused entry cannot tell: no project is chosen, or the project has no
    /// where-used rows (it was not collected since they are recorded).
    bool UnusedUnknown();
    /// The review state the record's translation shows (read once per view).
    int StateOf(int recNo);
    /// Stored review states changed for records not known by number: read again when next asked.
    void ForgetStates() {
        m_storedRead = false;
        m_statesRead = false;
        ForgetLastResult();
    }
    /// Whether the checks found something in a record's translation (for WithWarnings).
    void SetWarned(std::function<bool(int recNo)> warned) {
        m_warned = std::move(warned);
        ForgetLastResult();
    }
    /// The warnings changed: the view is chosen again when next asked.
    void WarningsChanged() { ForgetLastResult(); }
    void SetCriteria(const FilterCriteria& criteria);
    const FilterCriteria& Criteria() const { return m_criteria; }

    /// True when the criteria leave records out of the view.
    bool Narrows() const;
    /// The record numbers of the view that pass, ascending.
    std::vector<int> Passing();
    /// True when the record's language columns hold the find text (false without one).
    bool MatchesFind(int recNo);

    /// The view was ordered, filtered or rewritten: read it again when next asked.
    void Invalidate();
    /// One record of the view changed its texts, staying at its record number.
    void RecordChanged(int recNo);
    /// A record left the view at `recNo`; the ones after it moved up.
    void RecordRemoved(int recNo);
    /// A record came into the view at `recNo`.
    void RecordInserted(int recNo);

private:
    void EnsureIndex();
    void DropIndex(); ///< what is read per view; the stored review states stay
    void EnsureStored();
    void EnsureStates();
    char StateFrom(const std::string& source, bool translated) const;
    void EnsureUnused();
    char ReadState(int recNo);
    void ReadRecord(int recNo, std::string& source, std::string& target, bool& translated) const;
    bool PassesState(std::size_t recNo) const;
    bool HoldsFind(std::size_t recNo, const std::string& needle) const;
    void ForgetLastResult() { m_lastValid = false; }

    StringsTable* m_table = nullptr;
    std::string m_project;
    std::function<bool(int)> m_warned;
    std::string m_fields[2];
    FilterCriteria m_criteria;
    std::string m_needle; ///< the find text, folded

    bool m_indexed = false;
    std::vector<std::string> m_folded[2]; ///< per record number, the folded text of each column
    std::vector<char> m_translated;       ///< per record number, whether the translation is filled
    bool m_storedRead = false;
    std::unordered_map<std::string, char> m_stored; ///< the stored review states, by source text
    bool m_statesRead = false;
    std::vector<char> m_states; ///< per record number, its ReviewState (read when a filter needs all)
    bool m_unusedRead = false;
    bool m_unusedUnknown = true;
    std::vector<char> m_unused; ///< per record number, whether the project no longer uses it

    // The last answer, which a longer find text can only narrow further.
    bool m_lastValid = false;
    FilterCriteria m_lastCriteria;
    std::vector<int> m_lastPassing;
};

} // namespace wordloom
