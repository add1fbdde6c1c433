// The one rule for writing a string as quoted runs and #codes, shared by the single-line literal
// encoder and the form-text writer (which cuts lines after 64 characters). Internal to collect/.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

namespace wordloom::detail {

/// A character that must be written as a #code rather than inside quotes.
inline bool NeedsCode(std::uint32_t c) {
    return c < 32 || c == '\'' || c > 255;
}

inline void AppendCharCode(std::string& out, std::uint32_t c) {
    char digits[12];
    digits[0] = '#';
    auto end = std::to_chars(digits + 1, digits + sizeof digits, c).ptr;
    out.append(digits, end);
}

/// Writes count characters (charAt(i) gives the i-th code) as quoted runs and #codes. A line holds
/// at most perLine characters, counted from the first character written on it; when it is full and
/// characters remain, breakLine() is called to end it (" +" and a new line, for the form writer).
/// The caller writes "''" for an empty string.
template <class CharAt, class BreakLine>
void WriteStringRuns(std::string& out, std::size_t count, CharAt charAt, std::size_t perLine,
                     BreakLine breakLine) {
    std::size_t i = 0;
    std::size_t lineStart = 0;
    while (i < count) {
        std::uint32_t c = charAt(i);
        if (!NeedsCode(c)) {
            out.push_back('\'');
            do {
                out.push_back(static_cast<char>(c));
                ++i;
                if (i == count || i - lineStart >= perLine)
                    break;
                c = charAt(i);
            } while (!NeedsCode(c));
            out.push_back('\'');
        } else {
            AppendCharCode(out, c);
            ++i;
        }
        if (i - lineStart >= perLine && i < count) {
            breakLine();
            lineStart = i;
        }
    }
}

} // namespace wordloom::detail
