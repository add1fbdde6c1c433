// Rewriting the text form of one form file: every searched property's string value that has a
// translation is replaced as a whole; everything else is written back as it stood.
#pragma once

#include "forms/form_stream.h"
#include "forms/literal_codec.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

/// Where the rewrite stands, for the failure message: the number of the line last taken and that
/// line, trimmed.
struct FormLinePosition {
    int lineCount = 0;
    std::string currentLine;
};

/// The new value for a decoded string value (translation and recorded blanks), or nothing when the
/// value stays. May throw; the form then fails.
using FormValueLookup = std::function<std::optional<PascalString>(const PascalString& value)>;

/// The form text with its lines trimmed and ended by CR LF, and the string value of every line that
/// begins with a searched property followed by " =" replaced where `lookup` gives a translation:
/// a value on the property line (continued with "+" or not), a value on the lines after a property
/// line that ends with " =", and each item of a list value ("(" ... ")"; an item continued with
/// "+" on the following lines is one value, as the collector files it). A value is the whole
/// string expression (quoted runs, #codes and "+" joins); it is looked up as one text and, when
/// translated, written anew (on the following lines when longer than 64 characters); a value
/// without a translation, and anything that is no string expression, keeps its lines unchanged.
/// `position` follows the lines taken; `replaced`, when given, counts replaced values. With
/// isLeadByte (the translations' code page), a long narrow translation is never cut inside a
/// double-byte character.
std::string TranslateFormText(std::string_view text, const std::vector<std::string>& properties,
                              const FormValueLookup& lookup, FormLinePosition& position,
                              int* replaced = nullptr, LeadByteTest isLeadByte = nullptr);

} // namespace wordloom
