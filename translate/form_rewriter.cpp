#include "translate/form_rewriter.h"

#include "forms/form_text.h"

#include <algorithm>

namespace wordloom {
namespace {

constexpr std::string_view kCrLf = "\r\n";
// The form writer's line width for string values: longer values start on the next line.
constexpr std::size_t kCharsPerLine = 64;

bool StartsString(std::string_view text) {
    return !text.empty() && (text.front() == '\'' || text.front() == '#');
}

bool EndsWith(std::string_view text, char c) {
    return !text.empty() && text.back() == c;
}

/// Writes a long string the way the form writer cuts it: 64 characters to a line, the lines joined
/// by " +" (the parser joins the pieces back, whatever their width).
void WritePieces(std::string& out, const PascalString& value) {
    PascalString piece;
    for (std::size_t start = 0; start < value.Length(); start += kCharsPerLine) {
        const std::size_t count = std::min(kCharsPerLine, value.Length() - start);
        piece.Clear();
        if (value.IsWide()) {
            piece.Widen();
            for (std::size_t i = start; i < start + count; ++i)
                piece.AppendUnit(value.Wide()[i]);
        } else {
            piece.AppendBytes(std::string_view(value.Narrow()).substr(start, count));
        }
        if (start != 0)
            out += " +\r\n";
        out += EncodeStringExpression(piece);
    }
}

/// Writes a value the way the form writer lays it out: on the property line when it fits in 64
/// characters, otherwise on the following lines.
void WriteValue(std::string& out, std::string_view propertyLine, const PascalString& value) {
    out += propertyLine;
    if (value.Length() <= kCharsPerLine) {
        out += ' ';
        out += EncodeStringExpression(value);
        return;
    }
    out += kCrLf;
    WritePieces(out, value);
}

class FormTextRewriter {
public:
    FormTextRewriter(std::string_view text, const FormValueLookup& lookup, FormLinePosition& position,
                     int* replaced)
        : m_rest(text), m_lookup(lookup), m_position(position), m_replaced(replaced) {
        m_out.reserve(text.size() + text.size() / 4);
    }

    bool AtEnd() const { return m_rest.empty(); }

    std::string_view TakeLine() {
        const std::string_view line = TrimControls(NextLine(m_rest, m_position.lineCount));
        m_position.currentLine.assign(line);
        return line;
    }

    void Write(std::string_view line) {
        m_out += line;
        m_out += kCrLf;
    }

    /// A value that stands on `line` itself, from its first apostrophe or "#" at or after `start`
    /// (a value on the property line, or an item of a list): the string expression there is
    /// replaced in place when translated; whatever follows it (" +", the list's ")") stays.
    void LineValue(std::string_view line, std::size_t start, std::string_view propertyHead) {
        const std::size_t begin = line.find_first_of("'#", start);
        std::size_t end = begin;
        m_value.Clear();
        std::optional<PascalString> translated;
        if (begin != std::string_view::npos && ReadStringExpression(line, end, m_value))
            translated = m_lookup(m_value);
        if (!translated) {
            Write(line);
            return;
        }
        Count();
        const std::string_view tail = line.substr(end);
        if (!propertyHead.empty() && TrimControls(tail).empty() && begin == propertyHead.size() + 1) {
            WriteValue(m_out, propertyHead, *translated);
        } else {
            m_out += line.substr(0, begin);
            m_out += EncodeStringExpression(*translated);
            m_out += tail;
        }
        m_out += kCrLf;
    }

    /// An item of a list beginning on `first`, continued on the following lines while a line ends
    /// with "+" (the writer cuts a long item like a long value). It is read as the collector reads
    /// it, the string expressions of its lines joined, so the text filed is the text looked up. A
    /// translated item replaces all its lines, cut like a long value; whatever follows the last
    /// expression (the list's ")") stays. Returns the item's last line.
    std::string_view ListItem(std::string_view first) {
        m_lines.assign(1, first);
        bool whole = true;
        while (EndsWith(m_lines.back(), '+')) {
            if (AtEnd()) {
                whole = false;
                break;
            }
            m_lines.push_back(TakeLine());
            if (m_lines.back().empty()) {
                whole = false; // the collector gives up on such an item too
                break;
            }
        }
        const std::string_view last = m_lines.back();
        const std::size_t begin = first.find_first_of("'#");
        std::size_t end = 0;
        std::optional<PascalString> translated;
        if (whole && begin != std::string_view::npos && ReadItem(begin, end))
            translated = m_lookup(m_value);
        if (!translated) {
            for (std::string_view line : m_lines)
                Write(line);
            return last;
        }
        Count();
        m_out += first.substr(0, begin);
        if (translated->Length() <= kCharsPerLine)
            m_out += EncodeStringExpression(*translated);
        else
            WritePieces(m_out, *translated);
        m_out += last.substr(end);
        m_out += kCrLf;
        return last;
    }

    /// A value on the lines after `propertyLine` (which ends with " ="), joined by "+" at their
    /// ends, beginning with `first`. Translated as one text; the lines stay as they are otherwise.
    void FollowingLinesValue(std::string_view propertyLine, std::string_view first) {
        std::vector<std::string_view> lines{first};
        while (EndsWith(lines.back(), '+') && !AtEnd()) {
            lines.push_back(TakeLine());
            if (lines.back().empty())
                break;
        }
        std::string joined;
        for (std::string_view line : lines) {
            joined += line;
            joined += '\n';
        }
        std::size_t end = 0;
        m_value.Clear();
        std::optional<PascalString> translated;
        if (ReadStringExpression(joined, end, m_value) &&
            TrimControls(std::string_view(joined).substr(end)).empty())
            translated = m_lookup(m_value);
        if (!translated) {
            Write(propertyLine);
            for (std::string_view line : lines)
                Write(line);
            return;
        }
        Count();
        WriteValue(m_out, propertyLine, *translated);
        m_out += kCrLf;
    }

    std::string Result() { return std::move(m_out); }

private:
    void Count() {
        if (m_replaced != nullptr)
            ++*m_replaced;
    }

    std::string_view m_rest;
    const FormValueLookup& m_lookup;
    FormLinePosition& m_position;
    /// Joins the expressions of the item's lines into `m_value`, the first from `begin`; `end` is
    /// left after the last one. False when a line holds anything but its expression and the "+"
    /// (nothing could be replaced there without losing it).
    bool ReadItem(std::size_t begin, std::size_t& end) {
        m_value.Clear();
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const std::string_view line = m_lines[i];
            end = i == 0 ? begin : 0;
            if (i > 0 && !StartsString(line))
                return false;
            m_piece.Clear();
            if (!ReadStringExpression(line, end, m_piece))
                return false;
            if (i + 1 < m_lines.size() && TrimControls(line.substr(end)) != "+")
                return false;
            m_value.Append(m_piece);
        }
        return true;
    }

    int* m_replaced;
    std::string m_out;
    PascalString m_value;
    PascalString m_piece;
    std::vector<std::string_view> m_lines;
};

} // namespace

std::string TranslateFormText(std::string_view text, const std::vector<std::string>& properties,
                              const FormValueLookup& lookup, FormLinePosition& position, int* replaced) {
    FormTextRewriter rewriter(text, lookup, position, replaced);
    position.lineCount = 0;
    position.currentLine.clear();
    while (!rewriter.AtEnd()) {
        const std::string_view line = rewriter.TakeLine();
        const std::string* property = nullptr;
        for (const std::string& name : properties) {
            if (line.size() >= name.size() + 2 && line.compare(0, name.size(), name) == 0 &&
                line.compare(name.size(), 2, " =") == 0) {
                property = &name;
                break;
            }
        }
        if (property == nullptr) {
            rewriter.Write(line);
            continue;
        }
        const std::string_view head = line.substr(0, property->size() + 2);
        if (EndsWith(line, '(')) {
            // A list: one value per item, up to the line that ends with ")".
            rewriter.Write(line);
            while (!rewriter.AtEnd()) {
                if (EndsWith(rewriter.ListItem(rewriter.TakeLine()), ')'))
                    break;
            }
        } else if (line.size() == head.size() && !rewriter.AtEnd()) {
            // The writer puts a long value on the lines after a line that ends with " =".
            const std::string_view first = rewriter.TakeLine();
            if (StartsString(first)) {
                rewriter.FollowingLinesValue(line, first);
            } else {
                rewriter.Write(line);
                rewriter.Write(first);
            }
        } else {
            rewriter.LineValue(line, head.size(), head);
        }
    }
    return rewriter.Result();
}

} // namespace wordloom
