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

template <class Out>
void AppendCharCode(Out& out, std::uint32_t c) {
    char digits[12];
    digits[0] = '#';
    auto end = std::to_chars(digits + 1, digits + sizeof digits, c).ptr;
    out.append(digits, end);
}

/// Writes count characters (charAt(i) gives the i-th code) as quoted runs and #codes. A line holds
/// at most perLine characters, counted from the first character written on it; when it is full and
/// characters remain, breakLine() is called to end it (" +" and a new line, for the form writer).
/// appendRun(i, j) writes the characters [i, j), all of which stand between quotes as they are.
/// cutAllowed(j) says whether a line may end before character j (false inside a double-byte
/// character; it is asked with growing j). The caller writes "''" for an empty string.
template <class Out, class CharAt, class AppendRun, class BreakLine, class CutAllowed>
void WriteStringRuns(Out& out, std::size_t count, CharAt charAt, AppendRun appendRun, std::size_t perLine,
                     BreakLine breakLine, CutAllowed cutAllowed) {
    std::size_t i = 0;
    std::size_t lineStart = 0;
    while (i < count) {
        bool full = false;
        if (!NeedsCode(charAt(i))) {
            const std::size_t lineEnd = count - lineStart > perLine ? lineStart + perLine : count;
            std::size_t j = i + 1;
            while (j < lineEnd && !NeedsCode(charAt(j)))
                ++j;
            if (j == lineEnd && j < count) {
                full = true;
                if (!cutAllowed(j) && --j == i) {
                    // The run would hold only the first byte of a character: end the line before it.
                    breakLine();
                    lineStart = i;
                    continue;
                }
            }
            out.push_back('\'');
            appendRun(i, j);
            out.push_back('\'');
            i = j;
        } else {
            AppendCharCode(out, charAt(i));
            ++i;
            full = i - lineStart >= perLine;
        }
        if (full && i < count) {
            breakLine();
            lineStart = i;
        }
    }
}

/// For strings without double-byte characters.
inline bool AnyCut(std::size_t) {
    return true;
}

} // namespace wordloom::detail
