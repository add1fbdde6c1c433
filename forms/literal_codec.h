// Pascal string literals and the line-by-line view of Delphi source text. Everything here works on
// bytes as they stand in the file (the sources' code page); nothing converts code pages.
//
// A decoded string expression (quoted runs and #codes) is a PascalString: narrow (bytes) unless a
// code above 255 occurs, then wide, held as UTF-16 code units (char16_t), the unit of a wide string
// in the binary form. In a wide string the bytes between quotes are the characters U+0000-U+00FF.
#pragma once

#include "forms/form_stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wordloom {

/// The decoded content of the first literal of the text; "''" inside it stands for one apostrophe.
/// Empty when the text has no apostrophe. A literal that is not closed runs to the end of the text:
/// its content up to there is the result.
std::string ExtractLiteral(std::string_view text);

/// How a line taken by NextLine ended.
enum class LineEnd { None, Lf, CrLf };

/// Takes the next line off the front of rest and adds one to lineCount (also when rest is empty). A
/// line ends at LF; a CR directly before the LF belongs to the line end, a lone CR is an ordinary
/// character. The returned line excludes the line end and points into rest's buffer. When lineEnd
/// is given it receives the line end taken (None for a last line without one).
std::string_view NextLine(std::string_view& rest, int& lineCount, LineEnd* lineEnd = nullptr);

/// Replaces every occurrence of pattern in text, ASCII letters compared without regard to case.
/// The search goes on after each occurrence in the original text, so replacements are never
/// searched again. An empty pattern changes nothing.
void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement);

/// A text of count blanks; empty when count is 0 or below.
std::string Blanks(int count);

/// How an apostrophe is written inside a literal.
enum class ApostropheForm {
    Doubled, ///< '' as in unit sources
    Coded    ///< '#39' as in form files
};

/// The text with every apostrophe written in the given form, to stand between a literal's quotes.
std::string EncodeLiteralText(std::string_view text, ApostropheForm form);

/// What a rewriter puts between a literal's quotes for a translation: Blanks(spFront), the
/// translation and Blanks(spEnd), the apostrophes in the given form.
std::string EncodeTranslation(std::string_view translation, int spFront, int spEnd, ApostropheForm form);

/// A decoded Pascal string expression. Clear() keeps the buffers, so one object can be reused
/// without allocating per string.
class PascalString {
public:
    bool IsWide() const { return m_wide; }
    /// The bytes of a narrow string (empty while IsWide()).
    const std::string& Narrow() const { return m_narrow; }
    /// The UTF-16 code units of a wide string (empty while !IsWide()).
    const std::u16string& Wide() const { return m_wideText; }
    /// Characters: bytes of a narrow string, code units of a wide one.
    std::size_t Length() const { return m_wide ? m_wideText.size() : m_narrow.size(); }
    bool Empty() const { return Length() == 0; }

    void Clear();
    /// Turns the string wide, each byte becoming the character of the same number.
    void Widen();
    void AppendByte(unsigned char byte);
    void AppendBytes(std::string_view bytes);
    /// Appends one UTF-16 code unit; a unit above 255 turns the string wide.
    void AppendUnit(char16_t unit);
    /// Appends a character code from a #code: above 255 the string turns wide, above U+FFFF it is
    /// stored as a surrogate pair. Returns false (appending nothing) for codes above U+10FFFF.
    bool AppendCode(std::uint32_t code);
    /// Appends another string, widening this one when either is wide.
    void Append(const PascalString& other);

    friend bool operator==(const PascalString& a, const PascalString& b) {
        return a.m_wide == b.m_wide && a.m_narrow == b.m_narrow && a.m_wideText == b.m_wideText;
    }

private:
    bool m_wide = false;
    std::string m_narrow;
    std::u16string m_wideText;
};

/// Reads one string token starting at text[pos] (an apostrophe or "#"): quoted runs, with "''"
/// for an apostrophe, and #codes in decimal, written next to each other with nothing between. The
/// decoded characters are appended to out and pos moves behind the token. Returns false when the
/// token is invalid: a line break (CR or LF) or the end of the text inside quotes, a "#" without
/// digits, or a code above U+10FFFF; pos then stands where the fault was found. A pos that does not
/// stand on an apostrophe or "#" reads nothing and returns true.
bool ReadStringToken(std::string_view text, std::size_t& pos, PascalString& out);

/// Reads a string expression at text[pos]: a string token followed by any number of "+" and
/// string token, with characters up to code 32 (line breaks included) allowed around the "+",
/// joined into out (wide when any piece is wide). pos moves behind the last token read; a "+" that
/// is not followed by a string token is left unread. Returns false for an invalid token.
bool ReadStringExpression(std::string_view text, std::size_t& pos, PascalString& out);

/// The string as a Pascal string expression on one line, as the form writer writes it: "''" when
/// empty, else quoted runs with characters below 32, the apostrophe and (in a wide string)
/// characters above 255 written as #codes ('It'#39's', 'a'#13#10'b', #25171#24320).
std::string EncodeStringExpression(const PascalString& text);

/// How many characters of a string value the form writer puts on one line.
inline constexpr std::size_t kFormStringPerLine = 64;

/// Appends the string as EncodeStringExpression writes it, cut as the form writer cuts a long
/// value: kFormStringPerLine characters to a line, each line but the last followed by " +", CR LF
/// and `indent`. With isLeadByte, a narrow string is never cut inside a double-byte character (that
/// line ends one byte earlier).
void AppendStringLines(std::string& out, const PascalString& text, std::string_view indent,
                       LeadByteTest isLeadByte);

/// Appends a property's string value as the form writer lays it out behind "Name =": a blank and
/// the value when it holds at most kFormStringPerLine characters, otherwise CR LF, `indent` and the
/// value cut by AppendStringLines.
void AppendPropertyString(std::string& out, const PascalString& text, std::string_view indent,
                          LeadByteTest isLeadByte);

} // namespace wordloom
