#include "exchange/po_format.h"
#include "base/ui_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ctime>

namespace wordloom::exchange {

namespace {

constexpr std::size_t kWrapWidth = 79;
constexpr std::string_view kLfMarker = "line ends: LF";
constexpr std::string_view kBlanksMarker = "blanks: ";
constexpr std::string_view kStateMarker = "state: ";
// gettext puts file names holding blanks between these isolation marks.
constexpr std::string_view kIsolateStart = "\xE2\x81\xA8";
constexpr std::string_view kIsolateEnd = "\xE2\x81\xA9";

// Whether "\n" cannot stand for CR LF in `text`: it has a lone LF, or a CR before a CR LF (a reader
// of "\r\n" cannot tell which CR the pair owns).
bool NeedsLfMode(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r' || (i >= 2 && text[i - 2] == '\r')))
            return true;
    return false;
}

// The PO escape form of `text`; with `crlfAsNewline` a CR LF pair becomes a single "\n".
std::string Escape(std::string_view text, bool crlfAsNewline) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            if (crlfAsNewline && i + 1 < text.size() && text[i + 1] == '\n') {
                out += "\\n";
                ++i;
            } else {
                out += "\\r";
            }
            break;
        default:
            // Other control characters stand as they are (readers of PO files differ in the
            // escapes they know); only NUL cannot.
            if (c == '\0') {
                out += "\\000";
            } else {
                out += c;
            }
        }
    }
    return out;
}

// Writes `keyword "escaped"` wrapped as gettext does: a line break after every "\n" and at blanks
// before the width; a long text starts with an empty string.
void WriteString(std::string& out, std::string_view keyword, const std::string& escaped) {
    const std::size_t newline = escaped.find("\\n");
    const bool multiLine = newline != std::string::npos && newline + 2 < escaped.size();
    if (!multiLine && keyword.size() + escaped.size() + 3 <= kWrapWidth) {
        out.append(keyword).append(" \"").append(escaped).append("\"\n");
        return;
    }
    out.append(keyword).append(" \"\"\n");
    std::size_t start = 0;
    while (start < escaped.size()) {
        std::size_t end = escaped.size();
        const std::size_t nl = escaped.find("\\n", start);
        if (nl != std::string::npos)
            end = nl + 2;
        if (end - start + 2 > kWrapWidth) {
            // Break after the last blank that keeps the line within the width.
            const std::size_t limit = start + kWrapWidth - 2;
            const std::size_t blank = escaped.rfind(' ', limit - 1);
            if (blank != std::string::npos && blank >= start)
                end = blank + 1;
        }
        out.append("\"").append(escaped, start, end - start).append("\"\n");
        start = end;
    }
}

std::string PlaceReference(const Place& place) {
    std::string file = place.file;
    if (file.find(' ') != std::string::npos)
        file = std::string(kIsolateStart) + file + std::string(kIsolateEnd);
    if (place.line > 0) {
        file += ':';
        file += std::to_string(place.line);
    }
    return file;
}

std::string PlaceComponent(const Place& place) {
    if (place.property.empty())
        return place.path;
    return place.path.empty() ? place.property : place.path + "." + place.property;
}

std::string Now() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M+0000", &utc);
    return text;
}

void WriteUnit(std::string& out, const Unit& unit) {
    out += "\n";
    for (const std::string& note : unit.notes) {
        std::size_t start = 0;
        while (start <= note.size()) {
            const std::size_t end = std::min(note.find('\n', start), note.size());
            out.append("# ").append(note, start, end - start).append("\n");
            start = end + 1;
        }
    }
    for (const Place& place : unit.places) {
        const std::string component = PlaceComponent(place);
        if (!component.empty())
            out.append("#. ").append(component).append("\n");
    }
    const bool lfMode = NeedsLfMode(unit.source) || NeedsLfMode(unit.target);
    if (lfMode)
        out.append("#. ").append(kLfMarker).append("\n");
    if (unit.spFront != 0 || unit.spEnd != 0) {
        out.append("#. ").append(kBlanksMarker).append(std::to_string(unit.spFront)).append(" ");
        out.append(std::to_string(unit.spEnd)).append("\n");
    }
    if (unit.state == UnitState::Reviewed || unit.state == UnitState::DontTranslate)
        out.append("#. ").append(kStateMarker).append(StateName(unit.state)).append("\n");
    std::string references;
    for (const Place& place : unit.places) {
        if (place.file.empty())
            continue;
        const std::string reference = PlaceReference(place);
        if (!references.empty() && references.size() + reference.size() + 1 > kWrapWidth) {
            out.append(references).append("\n");
            references.clear();
        }
        references.append(references.empty() ? "#: " : " ").append(reference);
    }
    if (!references.empty())
        out.append(references).append("\n");
    const bool fuzzy = unit.state == UnitState::Suggested && !unit.target.empty();
    const bool format = HasFormatPlaceholder(unit.source);
    if (fuzzy || format) {
        out += "#,";
        if (fuzzy)
            out += " fuzzy";
        if (format)
            out += fuzzy ? ", object-pascal-format" : " object-pascal-format";
        out += "\n";
    }
    WriteString(out, "msgid", Escape(unit.source, !lfMode));
    WriteString(out, "msgstr", Escape(unit.target, !lfMode));
}

// ---- reading ----

struct PoEntry {
    std::vector<std::string> translatorComments;
    std::vector<std::string> extracted;
    std::vector<std::string> references;
    std::vector<std::string> flags;
    std::optional<std::string> msgctxt;
    std::optional<std::string> msgid;
    std::optional<std::string> msgstr;
    bool plural = false;
    std::size_t line = 0;
};

[[noreturn]] void Fail(const std::string& what, std::size_t line, std::size_t column = 0) {
    throw ExchangeError(what, line, column);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Appends the string literal starting at `pos` (on the opening quote) of `line`.
void ReadQuoted(std::string_view line, std::size_t pos, std::size_t lineNo, std::string& out) {
    if (pos >= line.size() || line[pos] != '"')
        Fail(WL_TR("exchange", "A quoted string was expected"), lineNo, pos + 1);
    std::size_t i = pos + 1;
    for (;;) {
        if (i >= line.size())
            Fail(WL_TR("exchange", "The string has no closing quote"), lineNo, pos + 1);
        const char c = line[i];
        if (c == '"')
            break;
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (++i >= line.size())
            Fail(WL_TR("exchange", "The string has no closing quote"), lineNo, pos + 1);
        const char e = line[i];
        switch (e) {
        case 'n':
            out += '\n';
            ++i;
            break;
        case 't':
            out += '\t';
            ++i;
            break;
        case 'r':
            out += '\r';
            ++i;
            break;
        case 'a':
            out += '\a';
            ++i;
            break;
        case 'b':
            out += '\b';
            ++i;
            break;
        case 'f':
            out += '\f';
            ++i;
            break;
        case 'v':
            out += '\v';
            ++i;
            break;
        case '\\':
        case '"':
        case '\'':
        case '?':
            out += e;
            ++i;
            break;
        case 'x': {
            ++i;
            int value = 0;
            int digits = 0;
            while (i < line.size() && HexValue(line[i]) >= 0 && digits < 2) {
                value = value * 16 + HexValue(line[i++]);
                ++digits;
            }
            if (digits == 0)
                Fail(WL_TR("exchange", "Invalid escape sequence in a string"), lineNo, i);
            out += static_cast<char>(value);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = 0;
                int digits = 0;
                while (i < line.size() && line[i] >= '0' && line[i] <= '7' && digits < 3) {
                    value = value * 8 + (line[i++] - '0');
                    ++digits;
                }
                out += static_cast<char>(value & 0xff);
            } else {
                Fail(WL_TR("exchange", "Invalid escape sequence in a string"), lineNo, i);
            }
        }
    }
    for (std::size_t rest = i + 1; rest < line.size(); ++rest)
        if (line[rest] != ' ' && line[rest] != '\t')
            Fail(WL_TR("exchange", "Unexpected text after the string"), lineNo, rest + 1);
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string CrLfFromLf(std::string&& text) {
    if (text.find('\n') == std::string::npos)
        return std::move(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

std::vector<Place> PlacesOf(const PoEntry& entry, const std::vector<std::string>& components) {
    std::vector<Place> places;
    for (const std::string& group : entry.references) {
        std::size_t i = 0;
        while (i < group.size()) {
            while (i < group.size() && group[i] == ' ')
                ++i;
            if (i >= group.size())
                break;
            std::size_t end;
            std::string token;
            if (group.compare(i, kIsolateStart.size(), kIsolateStart) == 0) {
                const std::size_t close = group.find(kIsolateEnd, i);
                const std::size_t nameEnd = close == std::string::npos ? group.size() : close;
                token = group.substr(i + kIsolateStart.size(), nameEnd - i - kIsolateStart.size());
                end = close == std::string::npos ? group.size() : close + kIsolateEnd.size();
                const std::size_t blank = group.find(' ', end);
                const std::size_t stop = blank == std::string::npos ? group.size() : blank;
                token += group.substr(end, stop - end);
                end = stop;
            } else {
                end = std::min(group.find(' ', i), group.size());
                token = group.substr(i, end - i);
            }
            Place place;
            const std::size_t colon = token.rfind(':');
            int line = 0;
            if (colon != std::string::npos && colon + 1 < token.size() &&
                std::from_chars(token.data() + colon + 1, token.data() + token.size(), line).ec ==
                    std::errc() &&
                std::all_of(token.begin() + static_cast<std::ptrdiff_t>(colon) + 1, token.end(),
                            [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
                place.file = token.substr(0, colon);
                place.line = line;
            } else {
                place.file = token;
            }
            places.push_back(std::move(place));
            i = end;
        }
    }
    for (std::size_t k = 0; k < components.size(); ++k) {
        if (k >= places.size())
            places.emplace_back();
        const std::string& component = components[k];
        const std::size_t dot = component.rfind('.');
        if (dot == std::string::npos) {
            places[k].path = component;
        } else {
            places[k].path = component.substr(0, dot);
            places[k].property = component.substr(dot + 1);
        }
    }
    return places;
}

std::string HeaderField(const std::string& header, std::string_view name) {
    std::size_t start = 0;
    while (start < header.size()) {
        const std::size_t end = std::min(header.find('\n', start), header.size());
        const std::string_view line(header.data() + start, end - start);
        if (line.size() > name.size() && line.compare(0, name.size(), name) == 0 && line[name.size()] == ':')
            return std::string(TrimBlanks(line.substr(name.size() + 1)));
        start = end + 1;
    }
    return {};
}

void FinishEntry(PoEntry& entry, Catalog& catalog, bool& sawHeader) {
    if (!entry.msgid) {
        if (entry.msgstr || entry.msgctxt)
            Fail(WL_TR("exchange", "An entry has no msgid"), entry.line);
        entry = PoEntry{};
        return;
    }
    if (!entry.msgstr)
        Fail(WL_TR("exchange", "An entry has no msgstr"), entry.line);
    if (entry.msgid->empty() && !entry.msgctxt && !sawHeader) {
        sawHeader = true;
        const std::string contentType = HeaderField(*entry.msgstr, "Content-Type");
        const std::size_t charset = contentType.find("charset=");
        if (charset != std::string::npos) {
            std::string name = contentType.substr(charset + 8);
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            if (name != "UTF-8" && name != "CHARSET" && name != "ASCII" && name != "US-ASCII")
                Fail(FillIn(WL_TR("exchange", "Only UTF-8 PO files are read; this one is %1"), {name}),
                     entry.line);
        }
        catalog.targetLanguage = HeaderField(*entry.msgstr, "Language");
        catalog.sourceLanguage = HeaderField(*entry.msgstr, "X-Source-Language");
        catalog.project = HeaderField(*entry.msgstr, "X-Project");
        entry = PoEntry{};
        return;
    }
    Unit unit;
    bool lfMode = false;
    std::vector<std::string> components;
    for (const std::string& comment : entry.extracted) {
        const std::string_view text = comment;
        if (text == kLfMarker) {
            lfMode = true;
        } else if (text.substr(0, kBlanksMarker.size()) == kBlanksMarker) {
            std::string_view rest = text.substr(kBlanksMarker.size());
            const auto first = std::from_chars(rest.data(), rest.data() + rest.size(), unit.spFront);
            if (first.ec == std::errc() && first.ptr < rest.data() + rest.size())
                std::from_chars(first.ptr + 1, rest.data() + rest.size(), unit.spEnd);
        } else if (text.substr(0, kStateMarker.size()) == kStateMarker) {
            if (const auto state = StateFromName(text.substr(kStateMarker.size())))
                unit.state = *state;
        } else {
            components.push_back(comment);
        }
    }
    unit.source = lfMode ? std::move(*entry.msgid) : CrLfFromLf(std::move(*entry.msgid));
    unit.target = lfMode ? std::move(*entry.msgstr) : CrLfFromLf(std::move(*entry.msgstr));
    const bool fuzzy = std::find(entry.flags.begin(), entry.flags.end(), "fuzzy") != entry.flags.end();
    if (unit.target.empty())
        unit.state = unit.state == UnitState::DontTranslate ? UnitState::DontTranslate : UnitState::New;
    else if (fuzzy)
        unit.state = UnitState::Suggested;
    else if (unit.state != UnitState::Reviewed)
        unit.state = UnitState::Translated;
    unit.places = PlacesOf(entry, components);
    unit.notes = std::move(entry.translatorComments);
    catalog.units.push_back(std::move(unit));
    entry = PoEntry{};
}

} // namespace

bool HasFormatPlaceholder(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        std::size_t j = i + 1;
        if (text[j] == '%') {
            i = j;
            continue;
        }
        // [index:] [-] [width] [.precision] type
        std::size_t k = j;
        while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])))
            ++k;
        if (k < text.size() && text[k] == ':' && k > j)
            j = k + 1;
        if (j < text.size() && text[j] == '-')
            ++j;
        if (j < text.size() && text[j] == '*')
            ++j;
        else
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
                ++j;
        if (j < text.size() && text[j] == '.') {
            ++j;
            if (j < text.size() && text[j] == '*')
                ++j;
            else
                while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
                    ++j;
        }
        if (j < text.size() &&
            std::string_view("dusefgnmpxDUSEFGNMPX").find(text[j]) != std::string_view::npos)
            return true;
    }
    return false;
}

std::string WritePo(const Catalog& catalog, const PoHeader& header) {
    std::string out;
    out.reserve(catalog.units.size() * 96 + 512);
    const std::string project = catalog.project.empty() ? std::string("Wordloom") : catalog.project;
    out += "# " + project + "\n";
    out += "msgid \"\"\nmsgstr \"\"\n";
    const auto field = [&out](std::string_view name, const std::string& value) {
        out.append("\"").append(name).append(": ").append(Escape(value, false)).append("\\n\"\n");
    };
    field("Project-Id-Version", project);
    field("Language", LanguageTag(catalog.targetLanguage));
    field("MIME-Version", "1.0");
    field("Content-Type", "text/plain; charset=UTF-8");
    field("Content-Transfer-Encoding", "8bit");
    field("PO-Revision-Date", header.revisionDate.empty() ? Now() : header.revisionDate);
    field("Last-Translator", header.lastTranslator);
    field("Language-Team", header.languageTeam);
    field("X-Generator", header.generator);
    field("X-Source-Language", LanguageTag(catalog.sourceLanguage));
    if (!catalog.project.empty())
        field("X-Project", catalog.project);
    for (const Unit& unit : catalog.units)
        WriteUnit(out, unit);
    return out;
}

Catalog ReadPo(std::string_view data) {
    CheckExchangeSize(data);
    if (data.substr(0, 3) == "\xEF\xBB\xBF")
        data.remove_prefix(3);
    Catalog catalog;
    // Room for every entry up front: growing a vector of a million units moves each several times.
    std::size_t entries = 0;
    for (std::size_t at = data.find("\nmsgid "); at != std::string_view::npos;
         at = data.find("\nmsgid ", at + 7))
        ++entries;
    catalog.units.reserve(entries);
    PoEntry entry;
    bool sawHeader = false;
    std::string* current = nullptr; // the string a continuation line extends
    std::string ignored;            // plural texts, read and dropped
    std::size_t lineNo = 0;
    std::size_t start = 0;
    while (start < data.size()) {
        ++lineNo;
        const std::size_t end = std::min(data.find('\n', start), data.size());
        std::string_view line = data.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty()) {
            current = nullptr;
            continue;
        }
        const std::size_t indent = static_cast<std::size_t>(trimmed.data() - line.data());
        if (trimmed.front() == '#') {
            // A comment after a complete entry starts the next one.
            if (entry.msgstr)
                FinishEntry(entry, catalog, sawHeader);
            current = nullptr;
            const std::string_view rest = trimmed.substr(1);
            const auto text = [](std::string_view after) { return std::string(TrimBlanks(after)); };
            if (rest.empty() || rest.front() == ' ') {
                entry.translatorComments.push_back(rest.empty() ? std::string()
                                                                : std::string(rest.substr(1)));
            } else if (rest.front() == '.') {
                entry.extracted.push_back(text(rest.substr(1)));
            } else if (rest.front() == ':') {
                entry.references.push_back(text(rest.substr(1)));
            } else if (rest.front() == ',') {
                std::string_view flags = rest.substr(1);
                while (!flags.empty()) {
                    const std::size_t comma = std::min(flags.find(','), flags.size());
                    const std::string flag(TrimBlanks(flags.substr(0, comma)));
                    if (!flag.empty())
                        entry.flags.push_back(flag);
                    flags.remove_prefix(std::min(comma + 1, flags.size()));
                }
            }
            // "#|" (previous texts), "#~" (obsolete entries) and others are left out.
            continue;
        }
        if (trimmed.front() == '"') {
            if (current == nullptr)
                Fail(WL_TR("exchange", "A string continues nothing"), lineNo, indent + 1);
            ReadQuoted(line, indent, lineNo, *current);
            continue;
        }
        const std::size_t keywordEnd = std::min(trimmed.find_first_of(" \t"), trimmed.size());
        const std::string_view keyword = trimmed.substr(0, keywordEnd);
        std::size_t quote = indent + keywordEnd;
        while (quote < line.size() && (line[quote] == ' ' || line[quote] == '\t'))
            ++quote;
        std::optional<std::string>* target = nullptr;
        if (keyword == "msgctxt") {
            if (entry.msgstr || entry.msgid)
                FinishEntry(entry, catalog, sawHeader);
            target = &entry.msgctxt;
        } else if (keyword == "msgid") {
            if (entry.msgstr)
                FinishEntry(entry, catalog, sawHeader);
            if (entry.msgid)
                Fail(WL_TR("exchange", "A msgid follows a msgid"), lineNo, indent + 1);
            target = &entry.msgid;
        } else if (keyword == "msgid_plural") {
            if (!entry.msgid || entry.msgstr)
                Fail(WL_TR("exchange", "msgid_plural without a msgid"), lineNo, indent + 1);
            entry.plural = true;
            ignored.clear();
            ReadQuoted(line, quote, lineNo, ignored);
            current = &ignored;
            continue;
        } else if (keyword == "msgstr" || keyword.substr(0, 7) == "msgstr[") {
            if (!entry.msgid)
                Fail(WL_TR("exchange", "A msgstr without a msgid"), lineNo, indent + 1);
            if (keyword != "msgstr" && !entry.plural)
                Fail(WL_TR("exchange", "A plural form without msgid_plural"), lineNo, indent + 1);
            if (keyword == "msgstr" && entry.plural)
                Fail(WL_TR("exchange", "A plural entry needs msgstr[0]"), lineNo, indent + 1);
            if (keyword == "msgstr" || keyword == "msgstr[0]") {
                if (entry.msgstr)
                    Fail(WL_TR("exchange", "A second msgstr for one msgid"), lineNo, indent + 1);
                target = &entry.msgstr;
            } else {
                // Further plural forms: our texts have none; read and drop them.
                ignored.clear();
                ReadQuoted(line, quote, lineNo, ignored);
                current = &ignored;
                continue;
            }
        } else {
            Fail(FillIn(WL_TR("exchange", "Unknown keyword \"%1\""), {std::string(keyword)}), lineNo,
                 indent + 1);
        }
        if (entry.line == 0)
            entry.line = lineNo;
        target->emplace();
        ReadQuoted(line, quote, lineNo, **target);
        current = &**target;
    }
    FinishEntry(entry, catalog, sawHeader);
    return catalog;
}

} // namespace wordloom::exchange
