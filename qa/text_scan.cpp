#include "qa/text_scan.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <string>

namespace wordloom::qa {

int AcceleratorCount(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            ++count;
        ++i; // the marked character, or the second "&" of "&&"
    }
    return count;
}

std::string StripAccelerators(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            if (text[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue; // the mark itself; the marked character follows
        }
        plain += text[i];
    }
    return plain;
}

} // namespace wordloom::qa

namespace wordloom::qa {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Reads digits or "*" at `pos`; returns what it read (empty when neither).
std::string_view NumberOrStar(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    if (pos < text.size() && text[pos] == '*')
        return text.substr(pos++, 1);
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

constexpr std::string_view kFormatTypes = "dDuUeEfFgGnNmMpPsSxX";

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(pos);
    int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    ++pos;
    for (; extra > 0 && pos < text.size() && (byte(pos) & 0xC0) == 0x80; --extra)
        code = (code << 6) | (byte(pos++) & 0x3F);
    return code;
}

char32_t LastCodePoint(std::string_view text, std::size_t& start) {
    start = text.size();
    do
        --start;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80);
    std::size_t pos = start;
    return NextCodePoint(text, pos);
}

bool IsQuote(char32_t c) {
    switch (c) {
    case U'"':
    case U'\'':
    case U'\u00AB': // « »
    case U'\u00BB':
    case U'\u2018': // ‘ ’ ‚
    case U'\u2019':
    case U'\u201A':
    case U'\u201C': // “ ” „
    case U'\u201D':
    case U'\u201E':
    case U'\u300C': // 「 」
    case U'\u300D':
        return true;
    default:
        return false;
    }
}

/// The class of an opening (or, with `closing`, closing) bracket or a quote; 0 for anything else.
char EnclosureClass(char32_t c, bool closing) {
    if (IsQuote(c))
        return '"';
    constexpr std::u32string_view kOpening = U"([{<\uFF08";
    constexpr std::u32string_view kClosing = U")]}>\uFF09";
    constexpr std::string_view kClasses = "([{<(";
    const std::size_t at = (closing ? kClosing : kOpening).find(c);
    return at == std::u32string_view::npos ? 0 : kClasses[at];
}

} // namespace

FormatScan ScanFormat(std::string_view text) {
    FormatScan scan;
    int next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        const std::size_t start = i;
        std::size_t pos = i + 1;
        if (pos < text.size() && text[pos] == '%') {
            scan.percentLiteral = true;
            i = pos;
            continue;
        }
        std::vector<FormatArgument> taken;
        std::size_t afterIndex = pos;
        const std::string_view index = NumberOrStar(text, afterIndex);
        if (!index.empty() && afterIndex < text.size() && text[afterIndex] == ':') {
            if (index == "*")
                taken.push_back({next++, '*'});
            else
                next = std::stoi(std::string(index.substr(0, 6)));
            pos = afterIndex + 1;
        }
        if (pos < text.size() && text[pos] == '-')
            ++pos;
        if (NumberOrStar(text, pos) == "*")
            taken.push_back({next++, '*'});
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            if (NumberOrStar(text, pos) == "*")
                taken.push_back({next++, '*'});
        }
        if (pos >= text.size() || kFormatTypes.find(text[pos]) == std::string_view::npos) {
            if (scan.invalid.empty())
                scan.invalid =
                    std::string(text.substr(start, std::min<std::size_t>(pos + 1, text.size()) - start));
            i = pos == start + 1 ? start : pos - 1;
            continue;
        }
        const char kind = static_cast<char>(text[pos] | 0x20);
        taken.push_back({next++, kind});
        scan.arguments.insert(scan.arguments.end(), taken.begin(), taken.end());
        scan.specifiers.emplace_back(text.substr(start, pos + 1 - start));
        i = pos;
    }
    return scan;
}

int LineBreakCount(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++count;
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (text[i] == '\n') {
            ++count;
        }
    }
    return count;
}

int BlanksAtLineBreaks(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ' ')
            continue;
        const bool before = i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n');
        const bool after = i > 0 && (text[i - 1] == '\r' || text[i - 1] == '\n');
        if (before || after)
            ++count;
    }
    return count;
}

int DoubleBlankCount(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == ' ' && text[i + 1] == ' ' && (i == 0 || text[i - 1] != ' '))
            ++count;
    return count;
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

Ending EndingOf(std::string_view text) {
    if (text.empty())
        return Ending::None;
    if (text.ends_with("...") || text.ends_with("\u2026"))
        return Ending::Ellipsis;
    std::size_t start = 0;
    switch (LastCodePoint(text, start)) {
    case U'.':
    case U'\u3002': // 。
        return Ending::Period;
    case U':':
    case U'\uFF1A':
        return Ending::Colon;
    case U'?':
    case U'\uFF1F':
    case U'\u037E': // Greek question mark
        return Ending::Question;
    case U'!':
    case U'\uFF01':
        return Ending::Exclamation;
    default:
        return Ending::None;
    }
}

char LeadingEnclosure(std::string_view text) {
    if (text.empty())
        return 0;
    std::size_t pos = 0;
    return EnclosureClass(NextCodePoint(text, pos), false);
}

char TrailingEnclosure(std::string_view text) {
    if (text.empty())
        return 0;
    std::size_t start = 0;
    return EnclosureClass(LastCodePoint(text, start), true);
}

namespace {

bool IsLetter(char32_t c) {
    return u_isalpha(static_cast<UChar32>(c));
}
bool IsWordJoiner(char32_t c) {
    return c == U'\'' || c == U'\u2019' || c == U'-';
}

/// Identifiers, numbers, file names and acronyms are no words of a language.
bool LooksLikeWord(std::string_view token) {
    bool partLower = false; // a lower-case letter in this part of a hyphenated word
    bool anyLower = false;
    bool innerCapital = false;
    int upper = 0;
    int letters = 0;
    for (std::size_t pos = 0; pos < token.size();) {
        const char32_t c = NextCodePoint(token, pos);
        if (!IsLetter(c) && !IsWordJoiner(c))
            return false;
        if (!IsLetter(c)) {
            partLower = false; // each part of "Datei-Menü" starts a word of its own
            continue;
        }
        ++letters;
        if (u_isupper(static_cast<UChar32>(c))) {
            ++upper;
            innerCapital = innerCapital || partLower;
        } else {
            partLower = anyLower = true;
        }
    }
    return letters > 1 && !innerCapital && !(upper > 1 && !anyLower);
}

/// Takes the Format specifiers out, so "%s" leaves no "s" behind.
std::string WithoutSpecifiers(std::string_view text) {
    const FormatScan scan = ScanFormat(text);
    if (scan.specifiers.empty())
        return std::string(text);
    // Built piece by piece: GCC 12 warns falsely about std::string::replace here.
    std::string plain;
    std::size_t from = 0;
    for (const std::string& specifier : scan.specifiers) {
        const std::size_t at = text.find(specifier, from);
        if (at == std::string_view::npos)
            break;
        plain.append(text.substr(from, at - from));
        plain += ' ';
        from = at + specifier.size();
    }
    plain.append(text.substr(from));
    return plain;
}

} // namespace

std::vector<std::string> SpellingWords(std::string_view text) {
    const std::string plain = WithoutSpecifiers(text);
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < plain.size()) {
        // A token runs to the next blank; punctuation around it is trimmed, inside it (a dot, a
        // slash, a digit) it marks a name or a number.
        std::size_t end = pos;
        while (end < plain.size() && plain[end] != ' ' && plain[end] != '\t' && plain[end] != '\r' &&
               plain[end] != '\n')
            ++end;
        std::string_view token(plain.data() + pos, end - pos);
        pos = end + 1;
        while (!token.empty()) {
            std::size_t first = 0;
            const char32_t c = NextCodePoint(token, first);
            if (IsLetter(c) || c == U'&')
                break;
            token.remove_prefix(first);
        }
        while (!token.empty()) {
            std::size_t last = 0;
            const char32_t c = LastCodePoint(token, last);
            if (IsLetter(c))
                break;
            token = token.substr(0, last);
        }
        if (token.empty())
            continue;
        std::string word = StripAccelerators(token);
        if (LooksLikeWord(word))
            words.push_back(std::move(word));
    }
    return words;
}

} // namespace wordloom::qa
