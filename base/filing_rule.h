// The one rule by which a collected text is filed: what is trimmed, which blanks are remembered and
// how short a text may be. The collectors apply it once per text; the table files what it gives.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace wordloom {

/// Texts with fewer characters than this, once trimmed, are never filed.
inline constexpr std::size_t kMinFiledLength = 2;

/// `text` without the leading and trailing characters of code 32 and below.
std::string_view TrimControls(std::string_view text);

/// A text ready for the table: trimmed, with the blanks (code 32 only) that stood around it.
/// `text` views the raw text it was prepared from.
struct PreparedText {
    std::string_view text;
    long long spFront = 0;
    long long spEnd = 0;
};

/// `rawText` (UTF-8, blanks included) as it is filed, or nothing when under kMinFiledLength
/// characters remain. Only true blanks are counted: a tab at the edge is trimmed but not counted.
std::optional<PreparedText> PrepareText(std::string_view rawText);

} // namespace wordloom
