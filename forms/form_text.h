// Small helpers for form text: a decoded value as UTF-8, and the trimming of lines.
#pragma once

#include "base/filing_rule.h"
#include "forms/code_page.h"
#include "forms/literal_codec.h"

#include <string>
#include <string_view>

namespace wordloom {

/// The decoded string as UTF-8: a narrow string's bytes in the code page, a wide string's UTF-16
/// units as they stand (an unpaired surrogate becomes U+FFFD).
std::string ToUtf8(const PascalString& text, const CodePage& codePage);

} // namespace wordloom
