#include "forms/form_text_walker.h"

#include "forms/form_text.h"

#include <cstring>

namespace wordloom {

namespace {

constexpr std::string_view kStringStart = "'#";

bool EndsWith(std::string_view text, char c) {
    return !text.empty() && text.back() == c;
}

} // namespace

FormTextWalker::FormTextWalker(std::string_view text, const std::vector<std::string>& properties,
                               bool reportLines)
    : m_rest(text), m_reportLines(reportLines) {
    m_tests.reserve(properties.size());
    for (const std::string& property : properties) {
        m_tests.push_back(property + " =");
        m_firstChars[static_cast<unsigned char>(property.empty() ? ' ' : property[0])] = true;
    }
}

bool FormTextWalker::Next() {
    for (;;) {
        const std::string* test = nullptr;
        if (!m_reportLines && !m_inList) {
            test = TakePropertyLine();
            if (test == nullptr)
                return false;
        } else if (m_rest.empty()) {
            return false;
        } else {
            TakeLine();
            test = m_inList ? nullptr : MatchTest(m_current);
        }
        const std::string_view line = m_current;
        if (m_inList) {
            if (ReadListItem(line))
                return true;
        } else if (test != nullptr) {
            const std::size_t head = test->size();
            m_property = std::string_view(*test).substr(0, head - 2);
            if (line.back() == '(') {
                m_inList = true; // the list's own line is a line like any other
            } else if (line.size() == head ? ReadFollowingLines(line) : ReadPropertyLine(line, head)) {
                return true;
            }
        }
        if (LineEvent(line))
            return true;
    }
}

std::string_view FormTextWalker::Before() const {
    const std::string_view first = m_lines.front();
    if (m_sourceBegin == nullptr || m_sourceBegin < first.data() ||
        m_sourceBegin > first.data() + first.size())
        return {};
    return {first.data(), m_sourceBegin};
}

std::string_view FormTextWalker::After() const {
    const std::string_view last = m_lines.back();
    if (m_sourceEnd == nullptr || m_sourceEnd < last.data() || m_sourceEnd > last.data() + last.size())
        return {};
    return {m_sourceEnd, last.data() + last.size()};
}

const std::string* FormTextWalker::TakePropertyLine() {
    // Most lines name no searched property; they are passed over here, on local copies.
    std::string_view rest = m_rest;
    int lineCount = m_lineCount;
    std::string_view line = m_current;
    const std::string* test = nullptr;
    while (test == nullptr && !rest.empty()) {
        line = TrimControls(NextLine(rest, lineCount));
        test = MatchTest(line);
    }
    m_rest = rest;
    m_lineCount = lineCount;
    m_current = line;
    return test;
}

std::string_view FormTextWalker::TakeLine() {
    m_current = TrimControls(NextLine(m_rest, m_lineCount));
    return m_current;
}

const std::string* FormTextWalker::MatchTest(std::string_view line) const {
    if (line.empty() || !m_firstChars[static_cast<unsigned char>(line[0])])
        return nullptr;
    for (const std::string& test : m_tests) {
        if (test[0] == line[0] && line.size() >= test.size() &&
            std::memcmp(line.data(), test.data(), test.size()) == 0)
            return &test;
    }
    return nullptr;
}

bool FormTextWalker::LineEvent(std::string_view line) {
    if (!m_reportLines)
        return false;
    m_event = FormTextEvent::Line;
    m_lines.assign(1, line);
    return true;
}

void FormTextWalker::StartValue(FormValuePlace place) {
    m_place = place;
    m_valueLine = m_lineCount;
    m_lines.clear();
    m_value.Clear();
    m_sourceBegin = m_sourceEnd = nullptr;
    m_whole = true;
    m_broken = false;
}

bool FormTextWalker::Finish() {
    m_event = m_broken ? FormTextEvent::Broken : FormTextEvent::Value;
    return true;
}

void FormTextWalker::Fail(std::string_view line, bool cutOff) {
    if (m_broken)
        return; // the first fault is the one reported
    m_broken = true;
    m_failureLine = cutOff ? m_lineCount + 1 : m_lineCount;
    m_failureText = line;
}

bool FormTextWalker::ReadPropertyLine(std::string_view line, std::size_t start) {
    const std::size_t pos = line.find_first_of(kStringStart, start);
    if (pos == std::string_view::npos)
        return false;
    StartValue(FormValuePlace::PropertyLine);
    m_lines.push_back(line);
    // A "+" at its end does not continue a value that stands on its property line.
    ReadPiece(line, pos, false);
    return Finish();
}

bool FormTextWalker::ReadFollowingLines(std::string_view propertyLine) {
    // A line that begins no string (another property, an "end") is no part of the value: the
    // property has none and that line is read on its own.
    const std::string_view rest = m_rest;
    const int lineCount = m_lineCount;
    if (!rest.empty()) {
        const std::string_view next = TakeLine();
        m_rest = rest;
        m_lineCount = lineCount;
        m_current = propertyLine;
        if (!next.empty() && next.front() != '\'' && next.front() != '#')
            return false;
    }
    StartValue(FormValuePlace::FollowingLines);
    m_lines.push_back(propertyLine);
    ReadContinuation();
    return Finish();
}

bool FormTextWalker::ReadListItem(std::string_view first) {
    const std::size_t pos = first.find_first_of(kStringStart);
    if (pos == std::string_view::npos && !EndsWith(first, '+')) {
        m_inList = !EndsWith(first, ')');
        return false;
    }
    StartValue(FormValuePlace::ListItem);
    m_lines.push_back(first);
    ReadPiece(first, pos, EndsWith(first, '+'));
    if (EndsWith(first, '+'))
        ReadContinuation();
    m_inList = !EndsWith(m_lines.back(), ')');
    return Finish();
}

void FormTextWalker::ReadContinuation() {
    // The writer always continues on the next line; an empty line or the end of the text there
    // means the value was cut off.
    do {
        if (m_rest.empty()) {
            Fail({}, true);
            return;
        }
        const std::string_view line = TakeLine();
        m_lines.push_back(line);
        if (line.empty()) {
            Fail(line, false);
            return;
        }
        const std::size_t pos = line.find_first_of(kStringStart);
        if (pos != 0)
            m_whole = false;
        ReadPiece(line, pos, line.back() == '+');
    } while (m_lines.back().back() == '+');
}

void FormTextWalker::ReadPiece(std::string_view line, std::size_t pos, bool continued) {
    if (pos == std::string_view::npos) {
        m_whole = false;
        return;
    }
    if (m_broken)
        return;
    std::size_t end = pos;
    const bool first = m_sourceBegin == nullptr;
    if (!first)
        m_piece.Clear();
    if (!ReadStringExpression(line, end, first ? m_value : m_piece)) {
        Fail(line, false);
        return;
    }
    if (first)
        m_sourceBegin = line.data() + pos;
    else
        m_value.Append(m_piece);
    m_sourceEnd = line.data() + end;
    if (continued && TrimControls(line.substr(end)) != "+")
        m_whole = false;
}

} // namespace wordloom
