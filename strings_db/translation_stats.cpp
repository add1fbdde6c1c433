#include "strings_db/translation_stats.h"

#include "strings_db/side_store.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace wordloom {

int TranslationStats::Percent() const {
    return totalTexts == 0 ? 100 : static_cast<int>(doneTexts * 100 / totalTexts);
}

long long CountWords(std::string_view utf8) {
    long long words = 0;
    bool inWord = false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    int32_t i = 0;
    while (i < length) {
        if (bytes[i] < 0x80) { // the common case, with the same answer as below
            const char c = static_cast<char>(bytes[i++]);
            const bool wordChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                  (c >= '0' && c <= '9') || (inWord && c == '\'');
            words += wordChar && !inWord ? 1 : 0;
            inWord = wordChar;
            continue;
        }
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        // A letter's marks and the apostrophe inside "don't" belong to its word.
        const bool wordChar =
            c >= 0 && (u_isalnum(c) ||
                       (inWord && (u_getIntPropertyValue(c, UCHAR_GENERAL_CATEGORY) == U_NON_SPACING_MARK ||
                                   c == '\'')));
        if (wordChar && !inWord) {
            ++words;
        }
        inWord = wordChar;
    }
    return words;
}

namespace {

// Counts one record with a source text into `stats`.
void Tally(TranslationStats& stats, const std::optional<ReviewState>& stored, std::string_view text,
           std::string_view translation) {
    const long long words = CountWords(text);
    ++stats.totalTexts;
    stats.totalWords += words;
    const ReviewState state = stored ? *stored : EffectiveState(std::nullopt, translation);
    bool done = false;
    switch (state) {
    case ReviewState::Suggested:
        ++stats.suggestedTexts;
        break;
    case ReviewState::DontTranslate:
        ++stats.dontTranslateTexts;
        done = true;
        break;
    case ReviewState::Reviewed:
        done = !translation.empty();
        stats.reviewedTexts += done ? 1 : 0;
        break;
    case ReviewState::New:
    case ReviewState::Translated:
        done = !translation.empty();
        break;
    }
    if (done) {
        ++stats.doneTexts;
        stats.doneWords += words;
    }
}

std::unordered_map<std::string, ReviewState> StoredStates(SideStore& side, const std::string& source,
                                                          const std::string& target) {
    std::unordered_map<std::string, ReviewState> states;
    side.ScanReviews(source, target,
                     [&states](const ReviewEntry& entry) { states[entry.text] = entry.state; });
    return states;
}

} // namespace

TranslationStats ComputeStats(StringsTable& table, const std::string& project, const std::string& source,
                              const std::string& target, const std::atomic<bool>* stop) {
    SideStore& side = table.Side();
    const std::unordered_map<std::string, ReviewState> states = StoredStates(side, source, target);
    TranslationStats stats;
    const auto tally = [&](const std::vector<std::string_view>& values) {
        if (values[1].empty() || (!project.empty() && !ListsProject(values[0], project))) {
            return;
        }
        const auto stored = states.empty() ? states.end() : states.find(std::string(values[1]));
        Tally(stats, stored == states.end() ? std::nullopt : std::optional(stored->second), values[1],
              values[2]);
    };
    return ScanRecordsUntil(side, {"Project", source, target}, tally, stop) ? stats : TranslationStats();
}

std::map<std::string, TranslationStats> ComputeStatsByProject(StringsTable& table, const std::string& source,
                                                              const std::string& target) {
    SideStore& side = table.Side();
    const std::unordered_map<std::string, ReviewState> states = StoredStates(side, source, target);
    std::map<std::string, TranslationStats> byProject{{std::string(), TranslationStats{}}};
    TranslationStats& all = byProject.begin()->second;
    side.ScanRecords({"Project", source, target}, [&](const std::vector<std::string_view>& values) {
        if (values[1].empty()) {
            return;
        }
        const auto found = states.empty() ? states.end() : states.find(std::string(values[1]));
        const std::optional<ReviewState> stored =
            found == states.end() ? std::nullopt : std::optional(found->second);
        Tally(all, stored, values[1], values[2]);
        // Each project once, however often the list names it.
        std::vector<std::string_view> seen;
        std::string_view list = values[0];
        while (!list.empty()) {
            const std::size_t end = std::min(list.find(';'), list.size());
            const std::string_view name = list.substr(0, end);
            list.remove_prefix(std::min(end + 1, list.size()));
            if (name.empty() || std::find(seen.begin(), seen.end(), name) != seen.end()) {
                continue;
            }
            seen.push_back(name);
            Tally(byProject[std::string(name)], stored, values[1], values[2]);
        }
    });
    return byProject;
}

} // namespace wordloom
