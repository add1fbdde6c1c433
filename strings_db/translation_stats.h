// How far the translation of a project into one language has come: texts and words, as the status
// bar and `wordloom-cli stats` show them.
#pragma once

#include "strings_db/strings_table.h"

#include <atomic>
#include <map>
#include <string>

namespace wordloom {

/// Counts over the records of one project (all records for an empty project name) that have a
/// source text. A text is done when it is translated (a translation not waiting as "suggested") or
/// marked "don't translate"; suggested ones are counted apart and are not done.
struct TranslationStats {
    long long totalTexts = 0;
    long long totalWords = 0;
    long long doneTexts = 0; ///< translated, reviewed or don't translate
    long long doneWords = 0;
    long long suggestedTexts = 0;
    long long dontTranslateTexts = 0;
    long long reviewedTexts = 0;

    /// doneTexts of totalTexts in percent, rounded down (so 99.6 is never shown as done); 100 for
    /// a project without texts.
    int Percent() const;
};

/// The words of a text: runs of letters or digits (any script), as a translator counts them.
long long CountWords(std::string_view utf8);

/// The statistics of `project` from `source` into `target` (language fields); throws DbError for an
/// unknown field. Once `stop` is set the count ends early with no figures.
TranslationStats ComputeStats(StringsTable& table, const std::string& project, const std::string& source,
                              const std::string& target, const std::atomic<bool>* stop = nullptr);

/// The statistics of every project at once, in one pass: keyed by each name `Project` lists (a
/// record listing several counts for each), with the empty name for all records. For each project
/// what ComputeStats gives for it.
std::map<std::string, TranslationStats> ComputeStatsByProject(StringsTable& table, const std::string& source,
                                                              const std::string& target);

} // namespace wordloom
