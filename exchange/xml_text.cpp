#include "exchange/xml_text.h"
#include "base/ui_text.h"
#include "exchange/unit.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <sstream>

namespace wordloom::exchange {

namespace {

bool XmlCanHold(unsigned char c) {
    return c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
}

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : m_out(out) {}
    void write(const void* data, size_t size) override {
        const auto* bytes = static_cast<const char*>(data);
        for (size_t i = 0; i < size; ++i) {
            if (bytes[i] == '\r')
                m_out += "&#13;";
            else
                m_out += bytes[i];
        }
    }

private:
    std::string& m_out;
};

// The character an inline element stands for; -1 for an element with text of its own, -2 for a
// placeholder of another tool.
int ControlCode(pugi::xml_node element) {
    const std::string_view name = element.name();
    std::string_view hex;
    if (name == "ph" || name == "x") {
        std::string_view type = element.attribute("ctype").value();
        if (type.empty())
            type = element.attribute("type").value();
        if (type.size() <= 7 || type.substr(0, 7) != "x-ch-0x")
            return -2;
        hex = type.substr(7);
    } else if (name == "cp") {
        hex = element.attribute("hex").value();
    } else {
        return -1;
    }
    int code = 0;
    if (std::from_chars(hex.data(), hex.data() + hex.size(), code, 16).ec == std::errc() && code >= 0 &&
        code < 0x20)
        return code;
    return -2;
}

} // namespace

std::string InlineText(pugi::xml_node element) {
    std::string text;
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            text += child.value();
        } else if (child.type() == pugi::node_element) {
            const int code = ControlCode(child);
            if (code >= 0)
                text += static_cast<char>(code);
            else if (code == -1)
                text += InlineText(child);
        }
    }
    return text;
}

void AppendXmlText(pugi::xml_node parent, std::string_view text, ControlWriter writeControl) {
    std::size_t start = 0;
    int index = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && XmlCanHold(static_cast<unsigned char>(text[i])))
            continue;
        if (i > start)
            parent.append_child(pugi::node_pcdata)
                .set_value(std::string(text.substr(start, i - start)).c_str());
        if (i < text.size()) {
            // Indented output breaks the line before an element that follows an element or opens
            // mixed content, and after one that closes it; the reader would take those blanks for
            // text. An empty text node beside each element keeps them inline.
            if (!parent.last_child() || parent.last_child().type() == pugi::node_element)
                parent.append_child(pugi::node_pcdata);
            writeControl(parent, static_cast<unsigned char>(text[i]), ++index);
        }
        start = i + 1;
    }
    if (index > 0 && parent.last_child().type() == pugi::node_element)
        parent.append_child(pugi::node_pcdata);
}

void ParseXml(pugi::xml_document& document, std::string_view data) {
    CheckExchangeSize(data);
    const pugi::xml_parse_result result = document.load_buffer(
        data.data(), data.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto);
    if (!result) {
        const auto [line, column] = LineAndColumn(data, static_cast<std::size_t>(result.offset));
        throw ExchangeError(
            FillIn(WL_TR("exchange", "The XML is not well-formed: %1"), {result.description()}), line,
            column);
    }
}

std::string SaveXml(const pugi::xml_document& document) {
    std::string out;
    StringWriter writer(out);
    document.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    return out;
}

std::string StableId(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char id[20];
    std::snprintf(id, sizeof id, "u%016llx", static_cast<unsigned long long>(hash));
    return id;
}

} // namespace wordloom::exchange
