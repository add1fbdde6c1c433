// Reading form text the way both the collector and the rewriter must agree on: where a property's
// value stands on a line, and the value as UTF-8.
#pragma once

#include "base/filing_rule.h"
#include "forms/code_page.h"
#include "forms/literal_codec.h"

#include <string>
#include <string_view>

namespace wordloom {

/// Appends the string expression (quoted runs, #codes, "+" between pieces) that begins at the first
/// apostrophe or "#" of `line` at or after `start`; a line without one appends nothing. Returns
/// false when the expression is malformed (an unclosed quote, a "#" without digits).
bool ReadLineValue(std::string_view line, std::size_t start, PascalString& value);

/// The decoded string as UTF-8: a narrow string's bytes in the code page, a wide string's UTF-16
/// units as they stand (an unpaired surrogate becomes U+FFFD).
std::string ToUtf8(const PascalString& text, const CodePage& codePage);

} // namespace wordloom
