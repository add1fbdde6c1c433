#include "exchange/xml_text.h"
#include "base/ui_text.h"
#include "exchange/unit.h"

#include <charconv>
#include <cstdio>

namespace wordloom::exchange {

namespace {

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

std::uint64_t StableHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string StableId(std::uint64_t hash) {
    char id[20];
    std::snprintf(id, sizeof id, "u%016llx", static_cast<unsigned long long>(hash));
    return id;
}

std::string StableId(std::string_view text) {
    return StableId(StableHash(text));
}

} // namespace wordloom::exchange
