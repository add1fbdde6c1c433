#include "translate/form_rewriter.h"

#include "collect/string_runs.h"
#include "translate/translate_literals.h"

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

/// Writes a value the way the form writer lays it out: on the property line when it fits in 64
/// characters, otherwise on the following lines, 64 characters to a line joined by " +".
void WriteValue(std::string& out, std::string_view propertyLine, const PascalString& value) {
    out += propertyLine;
    if (value.Length() <= kCharsPerLine) {
        out += ' ';
        out += EncodeStringExpression(value);
        return;
    }
    out += kCrLf;
    const auto breakLine = [&out] {
        out += " +";
        out += kCrLf;
    };
    if (value.IsWide()) {
        const std::u16string& units = value.Wide();
        detail::WriteStringRuns(
            out, units.size(), [&](std::size_t i) { return static_cast<std::uint32_t>(units[i]); },
            kCharsPerLine, breakLine);
    } else {
        const std::string& bytes = value.Narrow();
        detail::WriteStringRuns(
            out, bytes.size(),
            [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])); },
            kCharsPerLine, breakLine);
    }
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

    /// A string value: `firstLine` is the line it starts on as written, `first` the value's part of
    /// it. Takes the lines the value continues on ("+" at a line's end) and writes them, the value
    /// translated as one text where possible. `head` is the property name and " =" (empty for a list
    /// item); when `headOnOwnLine` it stands on a line of its own before the value and has not been
    /// written yet. Untranslated lines are written back unchanged. Returns the value's last line.
    std::string_view Value(std::string_view head, bool headOnOwnLine, std::string_view firstLine,
                           std::string_view first, bool listItem) {
        std::vector<std::string_view> lines{first};
        while (EndsWith(lines.back(), '+') && !AtEnd()) {
            const std::string_view next = TakeLine();
            lines.push_back(next);
            if (next.empty())
                break;
        }
        std::optional<PascalString> translated = Translate(lines, listItem);
        if (!translated) {
            if (headOnOwnLine)
                Write(head);
            Write(firstLine);
            for (std::size_t i = 1; i < lines.size(); ++i)
                Write(lines[i]);
            return lines.back();
        }
        if (listItem) {
            m_out += EncodeStringExpression(*translated);
            if (EndsWith(lines.back(), ')'))
                m_out += ')';
        } else {
            WriteValue(m_out, head, *translated);
        }
        m_out += kCrLf;
        if (m_replaced != nullptr)
            ++*m_replaced;
        return lines.back();
    }

    std::string Result() { return std::move(m_out); }

private:
    /// The translation of the string expression that `lines` hold, when they hold exactly one
    /// (a list item may be followed by the list's closing parenthesis) and it has one.
    std::optional<PascalString> Translate(const std::vector<std::string_view>& lines, bool listItem) {
        if (!StartsString(lines.front()))
            return std::nullopt;
        std::string joined;
        for (std::string_view line : lines) {
            if (!joined.empty())
                joined += '\n';
            joined += line;
        }
        std::size_t pos = 0;
        m_value.Clear();
        if (!ReadStringExpression(joined, pos, m_value))
            return std::nullopt;
        std::string_view after = TrimControls(std::string_view(joined).substr(pos));
        if (listItem && after == ")")
            after = {};
        if (!after.empty())
            return std::nullopt;
        return m_lookup(m_value);
    }

    std::string_view m_rest;
    const FormValueLookup& m_lookup;
    FormLinePosition& m_position;
    int* m_replaced;
    std::string m_out;
    PascalString m_value;
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
        const std::string_view value = TrimControls(line.substr(head.size()));
        if (EndsWith(line, '(')) {
            // A list: each item is a value of its own, up to the line that closes the list.
            rewriter.Write(line);
            while (!rewriter.AtEnd()) {
                const std::string_view item = rewriter.TakeLine();
                std::string_view last = item;
                if (StartsString(item))
                    last = rewriter.Value({}, false, item, item, true);
                else
                    rewriter.Write(item);
                if (EndsWith(last, ')'))
                    break;
            }
        } else if (value.empty() && !rewriter.AtEnd()) {
            // The writer puts a long value on the lines after a line that ends with " =".
            const std::string_view first = rewriter.TakeLine();
            if (StartsString(first)) {
                rewriter.Value(line, true, first, first, false);
            } else {
                rewriter.Write(line);
                rewriter.Write(first);
            }
        } else if (StartsString(value)) {
            rewriter.Value(head, false, line, value, false);
        } else {
            rewriter.Write(line);
        }
    }
    return rewriter.Result();
}

} // namespace wordloom
