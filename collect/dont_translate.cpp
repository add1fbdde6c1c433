#include "collect/dont_translate.h"

#include "base/ui_text.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace wordloom {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsAlpha(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool HasSpace(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsSpace);
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

bool HasWord(const std::string& upper, std::string_view word) {
    for (std::size_t at = upper.find(word); at != std::string::npos; at = upper.find(word, at + 1)) {
        const bool before = at == 0 || !IsAlpha(upper[at - 1]);
        const std::size_t end = at + word.size();
        if (before && (end == upper.size() || !IsAlpha(upper[end]))) {
            return true;
        }
    }
    return false;
}

// A statement: its verb and the keyword that must follow it, in the order SQL writes them, so that
// prose beginning with the same word ("Delete the selected rows from the list?") is left alone.
bool IsSql(std::string_view text) {
    const std::string upper = Upper(text);
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < upper.size()) {
        const std::size_t end = std::min(upper.find_first_of(" \t\r\n", start), upper.size());
        if (end > start) {
            words.push_back(std::string_view(upper).substr(start, end - start));
        }
        start = end + 1;
    }
    if (words.size() < 3) {
        return false;
    }
    const std::string_view verb = words[0];
    if (verb == "DELETE" || verb == "INSERT") {
        return words[1] == (verb == "DELETE" ? "FROM" : "INTO");
    }
    if (verb == "UPDATE") {
        return words.size() >= 4 && words[2] == "SET";
    }
    if (verb == "CREATE" || verb == "ALTER" || verb == "DROP") {
        return words[1] == "TABLE" || words[1] == "INDEX" || words[1] == "VIEW";
    }
    if (verb != "SELECT" || !HasWord(upper, "FROM")) {
        return false;
    }
    // "Select items from the list" is prose: a query lists columns, a star, or conditions.
    const bool written = text.starts_with("SELECT") && text.find("FROM") != std::string_view::npos;
    return written || upper.find('*') != std::string::npos || upper.find(',') != std::string::npos ||
           HasWord(upper, "WHERE") || HasWord(upper, "JOIN") || upper.find('=') != std::string::npos;
}

// Escapes and classes that prose does not write.
bool IsRegex(std::string_view text) {
    int signs = 0;
    for (std::string_view mark :
         {"\\d", "\\w", "\\s", "\\b", "\\.", "[^", "(?", ".*", ".+", "]+", "]*", "]{"}) {
        if (text.find(mark) != std::string_view::npos) {
            ++signs;
        }
    }
    if (text.starts_with('^')) {
        ++signs;
    }
    if (text.ends_with('$')) {
        ++signs;
    }
    return signs >= 2;
}

bool IsPath(std::string_view text) {
    if (text.starts_with("http://") || text.starts_with("https://") || text.starts_with("ftp://") ||
        text.starts_with("file://") || text.starts_with("mailto:")) {
        return !HasSpace(text);
    }
    if (text.size() >= 3 && IsAlpha(text[0]) && text[1] == ':' && (text[2] == '\\' || text[2] == '/')) {
        return true; // a drive letter
    }
    if (text.starts_with("\\\\") || text.starts_with("./") || text.starts_with("../") ||
        text.starts_with(".\\") || text.starts_with("..\\")) {
        return true;
    }
    if (HasSpace(text)) {
        return false;
    }
    // "/usr/share/x", "sub\\file.ini": separators between names, no prose around them.
    const auto separators =
        std::count_if(text.begin(), text.end(), [](char c) { return c == '/' || c == '\\'; });
    const std::size_t dot = text.rfind('.');
    const bool extension = dot != std::string_view::npos && dot + 1 < text.size() &&
                           std::all_of(text.begin() + static_cast<std::ptrdiff_t>(dot) + 1, text.end(),
                                       [](char c) { return IsAlpha(c) || IsDigit(c); });
    return (text.starts_with('/') && separators >= 2) || (separators >= 1 && extension);
}

// One word of identifier characters that is plainly a name in code: with an underscore, a dot
// between names, a lower-case letter followed by a capital ("btnOK", "TForm1") or letters followed
// by digits ("Edit1"). "OK" and "Cancel" are words.
bool IsIdentifier(std::string_view text) {
    if (!(IsAlpha(text.front()) || text.front() == '_')) {
        return false;
    }
    bool sign = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!(IsAlpha(c) || IsDigit(c) || c == '_' || c == '.') || static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
        const char previous = i ? text[i - 1] : '\0';
        if (c == '_' || (IsUpper(c) && IsLower(previous)) || (IsDigit(c) && IsAlpha(previous)) ||
            (c == '.' && i + 1 < text.size() && IsAlpha(text[i + 1]) && IsAlpha(previous))) {
            sign = true;
        }
        if (c == '.' && (i + 1 == text.size() || previous == '.')) {
            return false; // a sentence's full stop or an ellipsis
        }
    }
    return sign;
}

// Nothing but format specifiers, numbers and punctuation: "%d / %d", "{0}: {1}", "#,##0.00".
bool IsFormat(std::string_view text) {
    bool spec = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size()) {
            if (text[i + 1] == '%') {
                i += 2;
                continue;
            }
            std::size_t j = i + 1;
            while (j < text.size() && (IsDigit(text[j]) || text[j] == '-' || text[j] == '.' ||
                                       text[j] == ':' || text[j] == '*')) {
                ++j;
            }
            if (j < text.size() && IsAlpha(text[j])) {
                spec = true;
                i = j + 1;
                continue;
            }
        }
        if (c == '{') {
            const std::size_t close = text.find('}', i);
            if (close != std::string_view::npos && close > i + 1 &&
                std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                            text.begin() + static_cast<std::ptrdiff_t>(close),
                            [](char d) { return IsDigit(d) || d == ':' || d == ',' || d == '-'; })) {
                spec = true;
                i = close + 1;
                continue;
            }
        }
        if (IsAlpha(c) || static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
        i += 1;
    }
    if (spec) {
        return true;
    }
    // A number picture: "#,##0.00", "0.000".
    return text.find_first_of("#0") != std::string_view::npos &&
           std::all_of(text.begin(), text.end(), [](char c) {
               return c == '#' || c == '0' || c == ',' || c == '.' || c == ';' || c == '-';
           });
}

} // namespace

const std::vector<DontTranslateRule>& DontTranslateRules() {
    static const std::vector<DontTranslateRule> rules{
        {"sql", WL_TR_NOOP("DontTranslate", "SQL statements"), IsSql},
        {"regex", WL_TR_NOOP("DontTranslate", "Regular expressions"), IsRegex},
        {"path", WL_TR_NOOP("DontTranslate", "File paths and addresses"), IsPath},
        {"identifier", WL_TR_NOOP("DontTranslate", "Identifiers (names in code)"), IsIdentifier},
        {"format", WL_TR_NOOP("DontTranslate", "Format strings without words"), IsFormat},
    };
    return rules;
}

std::optional<std::string_view> ProposeDontTranslate(std::string_view text,
                                                     const std::vector<std::string>& switchedOff) {
    if (text.empty()) {
        return std::nullopt;
    }
    for (const DontTranslateRule& rule : DontTranslateRules()) {
        if (std::find(switchedOff.begin(), switchedOff.end(), rule.id) == switchedOff.end() &&
            rule.test(text)) {
            return rule.id;
        }
    }
    return std::nullopt;
}

} // namespace wordloom
