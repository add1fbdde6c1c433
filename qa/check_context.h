// What a check sees of one translation: the texts, the languages, where the text was collected and
// the review state of the translation.
#pragma once

#include "strings_db/side_store.h"

#include <optional>
#include <span>
#include <string_view>

namespace wordloom::qa {

/// One record's translation as a check sees it. The views stay valid only during the call.
struct CheckContext {
    std::string_view sourceLang; ///< the language field the text is filed under
    std::string_view targetLang; ///< the language field of the translation
    std::string_view source;     ///< the text (trimmed, as filed)
    std::string_view translation;
    /// Where the text was collected (of the project the run is limited to, when it is); empty when
    /// nothing was recorded.
    std::span<const Occurrence> occurrences;
    /// The stored review state of the translation; nullopt when it has none.
    std::optional<ReviewState> review;

    /// The state the translation shows (its stored one, else derived from the translation).
    ReviewState State() const { return EffectiveState(review, translation); }
};

} // namespace wordloom::qa
