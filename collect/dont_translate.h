// Rules that propose "don't translate" for texts that are plainly not prose. A rule only proposes:
// the collect stores its proposal as a suggestion the translator accepts or rejects.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

struct DontTranslateRule {
    std::string_view id;          ///< stable, stored in the proposal's note and in settings
    std::string_view description; ///< what it recognises, for the settings list (English)
    bool (*test)(std::string_view text);
};

/// Every rule, in the order they are tried: "sql", "regex", "path", "identifier", "format".
const std::vector<DontTranslateRule>& DontTranslateRules();

/// The id of the first rule not in `switchedOff` that recognises `text`; nullopt when none does.
std::optional<std::string_view> ProposeDontTranslate(std::string_view text,
                                                     const std::vector<std::string>& switchedOff);

} // namespace wordloom
