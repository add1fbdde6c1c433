// Find in the grid: texts compared with letter case and accents ignored the way Unicode folds them
// (not ASCII only), over folded copies made once so that each keystroke only searches.
#pragma once

#include "strings_db/strings_table.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wordloom {

/// `utf8` case-folded (Unicode full folding) with accents and other combining marks removed; what
/// Find compares. Invalid UTF-8 sequences are kept as U+FFFD.
std::string FoldForFind(std::string_view utf8);

/// Whether a text contains a needle, both folded.
class FindMatcher {
public:
    explicit FindMatcher(std::string_view needle);
    bool Matches(std::string_view text) const;
    /// For texts folded with FoldForFind already.
    bool MatchesFolded(std::string_view foldedText) const;
    bool Empty() const { return m_needle.empty(); }

private:
    std::string m_needle;
};

/// The records of a table, folded once; Search marks those in which any of the fields contains the
/// needle. Records are named by the text of `keyField`.
class FindIndex {
public:
    FindIndex(StringsTable& table, std::string keyField, std::vector<std::string> fields);
    FindIndex(const FindIndex&) = delete; // the key map points into the keys
    FindIndex& operator=(const FindIndex&) = delete;
    FindIndex(FindIndex&&) = default;

    /// Marks the records matching `needle` (all for an empty one); returns how many.
    std::size_t Search(std::string_view needle);
    /// Whether the record with this key text matched the last search (false for an unknown key).
    bool Matches(std::string_view key) const;
    /// The key texts of the records that matched, in record order.
    std::vector<std::string> MatchingKeys() const;
    std::size_t Size() const { return m_keys.size(); }

private:
    std::vector<std::string> m_keys;
    std::string m_folded;              // every record's fields folded, each ended by '\0'
    std::vector<std::size_t> m_starts; // where each record begins in m_folded, and its end
    std::unordered_map<std::string_view, std::size_t> m_byKey;
    std::vector<char> m_match;
};

} // namespace wordloom
