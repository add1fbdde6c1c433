// Reading the parts of a text that the checks compare: accelerator keys, Format specifiers, line
// breaks. Texts are UTF-8.
#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom::qa {

/// The accelerator marks of a caption: each "&" followed by a character other than "&" ("&&" shows
/// one ampersand). A "&" at the very end marks nothing.
int AcceleratorCount(std::string_view text);
/// The text without its accelerator marks, "&&" read as "&".
std::string StripAccelerators(std::string_view text);

/// One Format specifier: the argument it takes and its kind, as Delphi's Format reads it. A "*"
/// width or precision takes an argument of its own, listed as kind '*'.
struct FormatArgument {
    int index = 0; ///< the argument, from 0
    char kind = 0; ///< the type letter, lower case ('s', 'd', ...), or '*'
    bool operator==(const FormatArgument&) const = default;
    auto operator<=>(const FormatArgument&) const = default;
};

/// The specifiers of a text read as a Format string.
struct FormatScan {
    std::vector<FormatArgument> arguments; ///< in the order of the text
    std::vector<std::string> specifiers;   ///< their spelling ("%-10.2f", "%0:s"), same order
    bool percentLiteral = false;           ///< "%%" seen
    std::string invalid;                   ///< the first "%" that is no specifier (with what follows it)
    /// True when the text reads as a Format string: it has a specifier or "%%" and nothing invalid.
    bool IsFormat() const { return invalid.empty() && (!arguments.empty() || percentLiteral); }
};
FormatScan ScanFormat(std::string_view text);

/// Line breaks: CR LF, a lone LF or a lone CR each count once.
int LineBreakCount(std::string_view text);
/// Blanks that stand right before or after a line break.
int BlanksAtLineBreaks(std::string_view text);
/// Places where two or more blanks follow each other (each run counted once).
int DoubleBlankCount(std::string_view text);
/// The length in characters (code points) of UTF-8 text.
std::size_t CharacterCount(std::string_view text);

/// The class of a text's ending punctuation.
enum class Ending { None, Period, Colon, Question, Exclamation, Ellipsis };
/// How the text ends ("..." and "…" are an ellipsis; full-width forms count as their ASCII ones).
Ending EndingOf(std::string_view text);

/// The class of bracket or quote a text starts or ends with: 0 for none, else '(', '[', '{', '<' or
/// '"' (every kind of quotation mark, since languages write them differently).
char LeadingEnclosure(std::string_view text);
char TrailingEnclosure(std::string_view text);

/// The words of a text worth a spelling check: accelerator marks taken out, Format specifiers,
/// numbers and identifiers (digits, "_", inner capitals, dots, all capitals) left out.
std::vector<std::string> SpellingWords(std::string_view text);

} // namespace wordloom::qa
