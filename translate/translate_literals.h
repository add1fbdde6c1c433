// Replacing the string literals of one source line by their translations.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wordloom {

/// Gives the new content of a literal whose trimmed, decoded text is `key` (source bytes): the
/// recorded front blanks, the translation and the end blanks, as bytes of the target code page and
/// with plain apostrophes. Nothing when the literal stays as it is. May throw; the caller's file
/// then fails.
using LiteralLookup = std::function<std::optional<std::string>(std::string_view key)>;

/// Every literal of `line` that `lookup` knows is replaced; apostrophes of the new content are
/// written as `apostropheForm` ("''" in units, "'#39'" in form lines). Scans left to right and goes
/// on after each literal's closing apostrophe in the line as changed, so a longer translation never
/// hides the next literal. An apostrophe in the last position opens no literal; a literal without
/// a closing apostrophe runs to the end of the line. `replaced`, when given, counts replacements.
std::string TranslateLiterals(std::string_view line, std::string_view apostropheForm,
                              const LiteralLookup& lookup, int* replaced = nullptr);

/// The text without leading and trailing characters of code 32 and below.
std::string_view TrimControls(std::string_view text);

} // namespace wordloom
