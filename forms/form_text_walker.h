// Walking the text form of a form file for the string values of the searched properties: the one
// reading that the collector files texts from and the rewriter replaces them in, so that what is
// filed is what is looked up.
#pragma once

#include "forms/literal_codec.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wordloom {

/// What FormTextWalker::Next stopped at.
enum class FormTextEvent {
    Line,   ///< a line outside any searched value (reported only when lines are asked for)
    Value,  ///< a string value of a searched property
    Broken, ///< a value that cannot be read: a malformed string, or a line of it missing
};

/// Where a value stands.
enum class FormValuePlace {
    PropertyLine,   ///< on its property line, behind "Name ="
    FollowingLines, ///< on the lines after a property line that ends with " ="
    ListItem,       ///< an item of a list value, between "Name = (" and the line that ends with ")"
};

/// Goes through a form text line by line (LF or CR LF, lines trimmed of characters up to code 32).
/// A line that begins with a searched property followed by " =" (exact letter case; the first
/// property in list order that matches) holds a value:
/// - ending with "(": a list, one value per item up to the line that ends with ")" or the end of
///   the text; an item whose line ends with "+" goes on over the following lines;
/// - ending right after " =": one value on the following lines, joined while a line ends with "+"
///   (unless the next line begins no string: then the property has no value and that line is read
///   on its own);
/// - otherwise the string expression on the line from its first apostrophe or "#"; a "+" at the
///   end of the line does not continue it.
/// A value is the string expressions of its lines joined (on a continuation line, from its first
/// apostrophe or "#"). A line without any string expression holds no value. An empty line or the
/// end of the text where a line of the value is due breaks the value; so does a malformed
/// expression.
/// Either way the walk goes on after the value's lines (inside a list, with the next item).
class FormTextWalker {
public:
    /// `text` must outlive the walker. With reportLines, every line outside the values is reported
    /// too (Event() == Line), so that the lines of the text are the lines of the events in order.
    FormTextWalker(std::string_view text, const std::vector<std::string>& properties, bool reportLines);
    FormTextWalker(const FormTextWalker&) = delete; // Property() points into the walker
    FormTextWalker& operator=(const FormTextWalker&) = delete;

    /// Moves to the next event; false at the end of the text.
    bool Next();

    FormTextEvent Event() const { return m_event; }
    /// The lines of the event, trimmed, as they stand in the text: for a value or a broken value on
    /// a property line, that line first; for a list item, its lines only.
    std::span<const std::string_view> Lines() const { return m_lines; }

    /// Value and Broken: the searched property, where the value stands and the number of its first
    /// line (the property line, or the item's first line).
    std::string_view Property() const { return m_property; }
    FormValuePlace Place() const { return m_place; }
    bool IsListItem() const { return m_place == FormValuePlace::ListItem; }
    int ValueLine() const { return m_valueLine; }

    /// Value: the decoded text.
    const PascalString& Value() const { return m_value; }
    /// Value: the bytes of the text the value occupies, from its first apostrophe or "#" to behind
    /// its last expression (line ends and indentation between continued lines included).
    std::string_view Source() const { return {m_sourceBegin, m_sourceEnd}; }
    /// Value: whether Source() is nothing but the value's expressions joined by "+" at line ends:
    /// every line after the one the value begins on begins with an expression (on the following
    /// lines, the first one too), and every line but the last ends with "+" right after it. Only a
    /// whole value can be replaced without losing anything.
    bool Whole() const { return m_whole; }
    /// Value: what stands on the value's first line before Source(), and on its last line behind it
    /// (for a value on the following lines, Before() is empty).
    std::string_view Before() const;
    std::string_view After() const;

    /// Broken: the number and text (trimmed) of the line found at fault; for a value cut off by the
    /// end of the text, the number after the last line and an empty text.
    int FailureLine() const { return m_failureLine; }
    std::string_view FailureText() const { return m_failureText; }

    /// The number of lines taken so far and the last of them, trimmed.
    int LineCount() const { return m_lineCount; }
    std::string_view CurrentLine() const { return m_current; }

private:
    const std::string* TakePropertyLine();
    std::string_view TakeLine();
    const std::string* MatchTest(std::string_view line) const;
    bool LineEvent(std::string_view line);
    void StartValue(FormValuePlace place);
    bool Finish();
    void Fail(std::string_view line, bool cutOff);
    bool ReadPropertyLine(std::string_view line, std::size_t start);
    bool ReadFollowingLines(std::string_view propertyLine);
    bool ReadListItem(std::string_view first);
    void ReadContinuation();
    void ReadPiece(std::string_view line, std::size_t pos, bool continued);

    std::string_view m_rest;
    std::vector<std::string> m_tests; // each property followed by " ="
    // Most lines name another property: their first character already rules every test out.
    std::array<bool, 256> m_firstChars{};
    bool m_reportLines;

    int m_lineCount = 0;
    std::string_view m_current;
    bool m_inList = false;

    FormTextEvent m_event = FormTextEvent::Line;
    std::vector<std::string_view> m_lines;
    std::string_view m_property;
    FormValuePlace m_place = FormValuePlace::PropertyLine;
    int m_valueLine = 0;
    PascalString m_value;
    PascalString m_piece;
    const char* m_sourceBegin = nullptr;
    const char* m_sourceEnd = nullptr;
    bool m_whole = false;
    bool m_broken = false;
    int m_failureLine = 0;
    std::string_view m_failureText;
};

} // namespace wordloom
