// Replacing the string literals of one source line by their translations.
#pragma once

#include "forms/literal_codec.h"
#include "forms/pascal_scan.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wordloom {

/// A translation as a rewriter writes it: the text in the target's bytes and the blanks recorded
/// around the text when it was collected.
struct TranslatedText {
    std::string text;
    int spFront = 0;
    int spEnd = 0;
};

/// The translation of a literal whose trimmed, decoded text is `key` (source bytes), or nothing
/// when the literal stays as it is. May throw; the caller's file then fails.
using LiteralLookup = std::function<std::optional<TranslatedText>(std::string_view key)>;

/// Every literal of `line` that `lookup` knows is replaced by its translation with the recorded
/// blanks, apostrophes written in `form`. Scans left to right and goes on after each literal's
/// closing apostrophe in the line as changed, so a longer translation never hides the next
/// literal. An apostrophe in the last position opens no literal; a literal without a closing
/// apostrophe runs to the end of the line. `replaced`, when given, counts replacements.
std::string TranslateLiterals(std::string_view line, ApostropheForm form, const LiteralLookup& lookup,
                              int* replaced = nullptr);

/// One line of a unit source with every literal outside comments that `lookup` knows replaced
/// ("''" for apostrophes): the literals the unit collector files (FindLiterals; `comments`
/// carries a comment open at the line's end to the next line). A literal not closed on its line
/// stays as it is. `replaced`, when given, counts replacements.
std::string TranslateUnitLine(std::string_view line, CommentState& comments, const LiteralLookup& lookup,
                              int* replaced = nullptr);

} // namespace wordloom
