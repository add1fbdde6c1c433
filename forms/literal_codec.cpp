#include "forms/literal_codec.h"

#include "forms/string_runs.h"

#include <cstring>
#include <limits>

namespace wordloom {

namespace {

constexpr char kQuote = '\'';

inline unsigned char AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool MatchesAt(std::string_view text, std::size_t at, std::string_view pattern) {
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (AsciiLower(static_cast<unsigned char>(text[at + k])) !=
            AsciiLower(static_cast<unsigned char>(pattern[k])))
            return false;
    }
    return true;
}

} // namespace

std::string ExtractLiteral(std::string_view text) {
    std::size_t open = text.find(kQuote);
    if (open == std::string_view::npos)
        return {};
    std::string result;
    std::size_t i = open + 1;
    while (i < text.size()) {
        std::size_t close = text.find(kQuote, i);
        if (close == std::string_view::npos)
            break;
        result.append(text.substr(i, close - i));
        if (close + 1 < text.size() && text[close + 1] == kQuote) {
            result.push_back(kQuote);
            i = close + 2;
            continue;
        }
        return result;
    }
    // Not closed: the content runs to the end of the text.
    if (i < text.size())
        result.append(text.substr(i));
    return result;
}

std::string_view NextLine(std::string_view& rest, int& lineCount, LineEnd* lineEnd) {
    ++lineCount;
    std::size_t lf = rest.find('\n');
    std::string_view line;
    LineEnd end = LineEnd::None;
    if (lf == std::string_view::npos) {
        line = rest;
        rest = rest.substr(rest.size());
    } else {
        std::size_t lineLength = lf;
        end = LineEnd::Lf;
        if (lf > 0 && rest[lf - 1] == '\r') {
            --lineLength;
            end = LineEnd::CrLf;
        }
        line = rest.substr(0, lineLength);
        rest = rest.substr(lf + 1);
    }
    if (lineEnd)
        *lineEnd = end;
    return line;
}

void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
    if (pattern.empty() || text.size() < pattern.size())
        return;
    std::string result;
    std::size_t copied = 0;
    std::size_t i = 0;
    const std::size_t last = text.size() - pattern.size();
    while (i <= last) {
        if (MatchesAt(text, i, pattern)) {
            result.append(text, copied, i - copied);
            result.append(replacement);
            i += pattern.size();
            copied = i;
        } else {
            ++i;
        }
    }
    if (copied == 0)
        return;
    result.append(text, copied, std::string::npos);
    text.swap(result);
}

std::string Blanks(int count) {
    return count > 0 ? std::string(static_cast<std::size_t>(count), ' ') : std::string();
}

std::string EncodeLiteralText(std::string_view text, ApostropheForm form) {
    const std::string_view apostrophe = form == ApostropheForm::Doubled ? "''" : "'#39'";
    std::string result;
    result.reserve(text.size() + 8);
    for (char c : text) {
        if (c == kQuote)
            result.append(apostrophe);
        else
            result.push_back(c);
    }
    return result;
}

std::string EncodeTranslation(std::string_view translation, int spFront, int spEnd, ApostropheForm form) {
    std::string text = Blanks(spFront);
    text.append(translation);
    text.append(Blanks(spEnd));
    return EncodeLiteralText(text, form);
}

void PascalString::Clear() {
    m_wide = false;
    m_narrow.clear();
    m_wideText.clear();
}

void PascalString::Widen() {
    if (m_wide)
        return;
    m_wideText.reserve(m_narrow.size() + 16);
    for (char c : m_narrow)
        m_wideText.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    m_narrow.clear();
    m_wide = true;
}

void PascalString::AppendByte(unsigned char byte) {
    if (m_wide)
        m_wideText.push_back(byte);
    else
        m_narrow.push_back(static_cast<char>(byte));
}

void PascalString::AppendBytes(std::string_view bytes) {
    if (!m_wide) {
        m_narrow.append(bytes);
        return;
    }
    for (char c : bytes)
        m_wideText.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

void PascalString::AppendUnit(char16_t unit) {
    if (unit > 255)
        Widen();
    if (m_wide)
        m_wideText.push_back(unit);
    else
        m_narrow.push_back(static_cast<char>(unit));
}

bool PascalString::AppendCode(std::uint32_t code) {
    if (code > 0x10FFFF)
        return false;
    if (code <= 0xFFFF) {
        AppendUnit(static_cast<char16_t>(code));
        return true;
    }
    Widen();
    code -= 0x10000;
    m_wideText.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    m_wideText.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    return true;
}

void PascalString::Append(const PascalString& other) {
    if (other.m_wide) {
        Widen();
        m_wideText.append(other.m_wideText);
    } else {
        AppendBytes(other.m_narrow);
    }
}

bool ReadStringToken(std::string_view text, std::size_t& pos, PascalString& out) {
    const std::size_t size = text.size();
    std::size_t i = pos;
    while (i < size) {
        const char c = text[i];
        if (c == kQuote) {
            ++i;
            for (;;) {
                std::size_t runStart = i;
                while (i < size && text[i] != kQuote && text[i] != '\n' && text[i] != '\r')
                    ++i;
                if (i == size || text[i] != kQuote) {
                    pos = i;
                    return false;
                }
                out.AppendBytes(text.substr(runStart, i - runStart));
                ++i;
                if (i < size && text[i] == kQuote) {
                    out.AppendByte(kQuote);
                    ++i;
                    continue;
                }
                break;
            }
        } else if (c == '#') {
            ++i;
            std::size_t digitsStart = i;
            std::uint32_t code = 0;
            bool tooBig = false;
            while (i < size && text[i] >= '0' && text[i] <= '9') {
                code = code * 10 + static_cast<std::uint32_t>(text[i] - '0');
                if (code > 0x10FFFF)
                    tooBig = true, code = 0x110000;
                ++i;
            }
            if (i == digitsStart || tooBig || !out.AppendCode(code)) {
                pos = i;
                return false;
            }
        } else {
            break;
        }
    }
    pos = i;
    return true;
}

bool ReadStringExpression(std::string_view text, std::size_t& pos, PascalString& out) {
    if (!ReadStringToken(text, pos, out))
        return false;
    for (;;) {
        std::size_t i = pos;
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32)
            ++i;
        if (i == text.size() || text[i] != '+')
            return true;
        ++i;
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32)
            ++i;
        if (i == text.size() || (text[i] != kQuote && text[i] != '#'))
            return true;
        pos = i;
        if (!ReadStringToken(text, pos, out))
            return false;
    }
}

namespace {

/// Writes the runs of `text`, breaking lines after perLine characters with lineBreak.
void AppendRuns(std::string& out, const PascalString& text, std::size_t perLine, std::string_view lineBreak,
                LeadByteTest isLeadByte) {
    if (text.Empty()) {
        out += "''";
        return;
    }
    const auto breakLine = [&out, lineBreak] { out += lineBreak; };
    if (text.IsWide()) {
        const std::u16string& units = text.Wide();
        detail::WriteStringRuns(
            out, units.size(), [&](std::size_t i) { return static_cast<std::uint32_t>(units[i]); },
            [&](std::size_t i, std::size_t j) {
                for (; i < j; ++i)
                    out.push_back(static_cast<char>(units[i]));
            },
            perLine, breakLine, detail::AnyCut);
        return;
    }
    const std::string& bytes = text.Narrow();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto byteAt = [p](std::size_t i) { return static_cast<std::uint32_t>(p[i]); };
    const auto appendRun = [&](std::size_t i, std::size_t j) { out.append(bytes, i, j - i); };
    if (isLeadByte == nullptr || bytes.size() <= perLine) {
        detail::WriteStringRuns(out, bytes.size(), byteAt, appendRun, perLine, breakLine, detail::AnyCut);
        return;
    }
    detail::WriteStringRuns(out, bytes.size(), byteAt, appendRun, perLine, breakLine,
                            detail::CharacterStartCuts(p, bytes.size(), isLeadByte));
}

} // namespace

std::string EncodeStringExpression(const PascalString& text) {
    std::string out;
    AppendRuns(out, text, std::numeric_limits<std::size_t>::max(), {}, nullptr);
    return out;
}

void AppendStringLines(std::string& out, const PascalString& text, std::string_view indent,
                       LeadByteTest isLeadByte) {
    std::string lineBreak = " +\r\n";
    lineBreak += indent;
    AppendRuns(out, text, kFormStringPerLine, lineBreak, isLeadByte);
}

void AppendPropertyString(std::string& out, const PascalString& text, std::string_view indent,
                          LeadByteTest isLeadByte) {
    if (text.Length() <= kFormStringPerLine) {
        out += ' ';
        AppendRuns(out, text, kFormStringPerLine, {}, nullptr);
        return;
    }
    out += "\r\n";
    out += indent;
    AppendStringLines(out, text, indent, isLeadByte);
}

} // namespace wordloom
