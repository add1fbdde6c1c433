#include "strings_db/translation_stats.h"

#include "strings_db/side_store.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

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

TranslationStats ComputeStats(StringsTable& table, const std::string& project, const std::string& source,
                              const std::string& target) {
    SideStore& side = table.Side();
    std::unordered_map<std::string, ReviewState> states;
    side.ScanReviews(source, target,
                     [&states](const ReviewEntry& entry) { states[entry.text] = entry.state; });
    TranslationStats stats;
    side.ScanRecords({"Project", source, target}, [&](const std::vector<std::string_view>& values) {
        if (values[1].empty() || (!project.empty() && !ListsProject(values[0], project))) {
            return;
        }
        const long long words = CountWords(values[1]);
        ++stats.totalTexts;
        stats.totalWords += words;
        const auto stored = states.find(std::string(values[1]));
        const ReviewState state =
            stored == states.end() ? EffectiveState(std::nullopt, values[2]) : stored->second;
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
            done = !values[2].empty();
            stats.reviewedTexts += done ? 1 : 0;
            break;
        case ReviewState::New:
        case ReviewState::Translated:
            done = !values[2].empty();
            break;
        }
        if (done) {
            ++stats.doneTexts;
            stats.doneWords += words;
        }
    });
    return stats;
}

} // namespace wordloom
