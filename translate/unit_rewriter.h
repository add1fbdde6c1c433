// Rewriting the text of one unit source.
#pragma once

#include "translate/translate_literals.h"

#include <string>
#include <string_view>

namespace wordloom {

/// The unit text with every literal outside comments that `lookup` knows replaced ("''" for
/// apostrophes), read as the unit collector reads it (TranslateUnitLine). Lines end
/// at LF (a CR before it belongs to the line end); every line keeps its own line end, a last line
/// without one gets the file's first line end (CR LF when there is none), an empty text becomes
/// one CR LF. Everything outside replaced literals stays byte for byte. `replaced`, when given, counts
/// replaced literals.
std::string TranslateUnitText(std::string_view content, const LiteralLookup& lookup, int* replaced = nullptr);

} // namespace wordloom
