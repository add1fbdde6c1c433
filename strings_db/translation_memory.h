// Suggestions from the translations already made: for a source text, the most similar source texts
// that have a translation, with their similarity in percent; and pre-translation from them.
#pragma once

#include "base/command_host.h"
#include "strings_db/strings_table.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wordloom {

struct Suggestion {
    std::string source;
    std::string translation;
    int percent = 0; ///< 100 only for the same text
};

/// Similarity of two texts in percent: 100 * (1 - edit distance / longer length), over characters
/// (code points); 100 only when they are equal.
int Similarity(std::string_view a, std::string_view b);

/// An in-memory index over (source, translation) pairs: trigrams find the candidates, the edit
/// distance ranks them.
class TranslationMemory {
public:
    /// The pairs of every record with a text in both `source` and `target`. Once `stop` is set the
    /// read ends early with an empty memory.
    static TranslationMemory Load(StringsTable& table, const std::string& source, const std::string& target,
                                  const std::atomic<bool>* stop = nullptr);

    /// Adds a pair (a text already held keeps its first translation).
    void Add(std::string_view source, std::string_view translation);
    std::size_t Size() const { return m_sources.size(); }

    /// Up to `limit` pairs whose source is at least `minPercent` similar to `text`, best first (ties
    /// by source text); the text itself (100%) when held.
    std::vector<Suggestion> Suggest(std::string_view text, std::size_t limit = 5, int minPercent = 50) const;

private:
    std::vector<std::unique_ptr<std::string>> m_sources;
    std::vector<std::string> m_translations;
    std::vector<std::uint32_t> m_lengths;    // in code points
    std::vector<std::uint16_t> m_gramCounts; // distinct trigrams
    std::unordered_map<std::string_view, std::uint32_t> m_exact;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> m_postings; // trigram -> entries
    mutable std::vector<std::uint16_t> m_counts;
};

struct PreTranslateSummary {
    long long exact = 0;             ///< filled from the same text
    long long fuzzy = 0;             ///< filled from a similar text
    bool cancelled = false;          ///< the host asked to stop: nothing was filled
    std::vector<std::string> filled; ///< the texts whose translation was filled
};

/// Fills every empty `target` of the records of `project` (all for an empty name) that have a
/// `source` text with the best suggestion of at least `minPercent`, marking each "suggested". Runs
/// in one transaction; the caller refreshes its cursor. With a host, progress is told over the
/// empty translations while matches are looked for, and the host may cancel until the filling
/// starts (nothing is filled then).
PreTranslateSummary PreTranslate(StringsTable& table, const std::string& project, const std::string& source,
                                 const std::string& target, int minPercent = 90, CommandHost* host = nullptr);

} // namespace wordloom
