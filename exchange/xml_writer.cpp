#include "exchange/xml_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace wordloom::exchange {

namespace {

enum : unsigned char { kInText = 1, kInAttribute = 2 };

// Which characters need escaping where. Tab and LF stand as they are in text; CR is escaped there
// too, or a reader would turn CR LF into LF.
constexpr std::array<unsigned char, 256> kSpecial = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 0x20; ++c)
        table[c] = kInText | kInAttribute;
    table['\t'] = kInAttribute;
    table['\n'] = kInAttribute;
    table['&'] = kInText | kInAttribute;
    table['<'] = kInText | kInAttribute;
    table['>'] = kInText;
    table['"'] = kInAttribute;
    return table;
}();

bool XmlCanHold(unsigned char c) {
    return c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
}

void AppendEscaped(std::string& out, std::string_view text, unsigned char where) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* run = p;
        while (p < end && (kSpecial[static_cast<unsigned char>(*p)] & where) == 0)
            ++p;
        out.append(run, p);
        if (p == end)
            break;
        const auto c = static_cast<unsigned char>(*p++);
        switch (c) {
        case '\0':
            return;
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default: // a control character, as two decimal digits
            out += "&#";
            out += static_cast<char>('0' + c / 10);
            out += static_cast<char>('0' + c % 10);
            out += ';';
            break;
        }
    }
}

} // namespace

XmlWriter::XmlWriter(std::size_t expectedSize) {
    m_out.reserve(std::max<std::size_t>(expectedSize, 1024));
    m_out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    m_breakLine = true;
}

void XmlWriter::EndStartTag() {
    if (m_inStartTag) {
        m_out += '>';
        m_inStartTag = false;
    }
}

void XmlWriter::NewLine() {
    if (!m_breakLine)
        return;
    m_out += '\n';
    m_out.append(2 * m_open.size(), ' ');
}

void XmlWriter::Open(std::string_view name) {
    EndStartTag();
    NewLine();
    m_out += '<';
    m_out += name;
    m_open.emplace_back(name);
    m_inStartTag = true;
    m_breakLine = true;
}

void XmlWriter::Attribute(std::string_view name, std::string_view value) {
    m_out += ' ';
    m_out += name;
    m_out += "=\"";
    AppendEscaped(m_out, value, kInAttribute);
    m_out += '"';
}

void XmlWriter::Attribute(std::string_view name, long long value) {
    Attribute(name, std::to_string(value));
}

void XmlWriter::Text(std::string_view text) {
    EndStartTag();
    AppendEscaped(m_out, text, kInText);
    m_breakLine = false;
}

void XmlWriter::Close() {
    if (m_inStartTag) {
        m_out += " />";
        m_inStartTag = false;
        m_open.pop_back();
    } else {
        const std::string name = std::move(m_open.back());
        m_open.pop_back();
        NewLine();
        m_out += "</";
        m_out += name;
        m_out += '>';
    }
    m_breakLine = true;
}

void XmlWriter::TextElement(std::string_view name, std::string_view text) {
    Open(name);
    Text(text);
    Close();
}

void XmlWriter::MixedText(std::string_view text, ControlWriter writeControl) {
    std::size_t start = 0;
    int index = 0;
    bool afterElement = true; // nothing written yet counts as well
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && XmlCanHold(static_cast<unsigned char>(text[i])))
            continue;
        if (i > start) {
            Text(text.substr(start, i - start));
            afterElement = false;
        }
        if (i < text.size()) {
            // A placeholder that opens the content or follows another one would start a new
            // indented line, which the reader takes for text: an empty text before it keeps it
            // inline (and one after the last keeps the closing tag there).
            if (afterElement)
                Text({});
            writeControl(*this, static_cast<unsigned char>(text[i]), ++index);
            afterElement = true;
        }
        start = i + 1;
    }
    if (index > 0 && afterElement)
        Text({});
}

std::string XmlWriter::Finish() {
    while (!m_open.empty())
        Close();
    if (m_breakLine)
        m_out += '\n';
    return std::move(m_out);
}

void WritePlaceholder(XmlWriter& writer, std::string_view indexName, std::string_view index,
                      std::string_view typeName, unsigned char code) {
    char type[16];
    std::snprintf(type, sizeof type, "x-ch-0x%02X", code);
    writer.Open("ph");
    writer.Attribute(indexName, index);
    writer.Attribute(typeName, type);
    writer.Close();
}

} // namespace wordloom::exchange
