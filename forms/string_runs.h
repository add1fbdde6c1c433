// The one rule for writing a string as quoted runs and #codes, shared by the single-line literal
// encoder, the form-text writer and the layout of a value written anew (both of which cut lines
// after 64 characters). Internal to forms/.
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

/// The cut rule for a narrow string in a double-byte code page: a line may end only where a
/// character starts. Character starts are found walking forward, so it must be asked with growing
/// j, as WriteStringRuns asks; a lead byte in the last position stands alone.
template <class IsLeadByte>
class CharacterStartCuts {
public:
    CharacterStartCuts(const unsigned char* bytes, std::size_t count, IsLeadByte isLeadByte)
        : m_bytes(bytes), m_count(count), m_isLeadByte(isLeadByte) {}

    bool operator()(std::size_t j) {
        while (m_nextStart < j)
            m_nextStart += m_isLeadByte(m_bytes[m_nextStart]) && m_nextStart + 1 < m_count ? 2 : 1;
        return m_nextStart == j;
    }

private:
    const unsigned char* m_bytes;
    std::size_t m_count;
    IsLeadByte m_isLeadByte;
    std::size_t m_nextStart = 0;
};

} // namespace wordloom::detail
