#include "collect/form_stream.h"

#include "collect/form_format.h"

namespace wordloom {

bool IsTextForm(std::string_view data) {
    for (std::string_view word : {"object", "inherited", "inline"}) {
        if (data.size() > word.size() && detail::EqualsIgnoreCase(data.substr(0, word.size()), word) &&
            static_cast<unsigned char>(data[word.size()]) <= 32)
            return true;
    }
    return false;
}

void BinaryFormToText(std::string_view binary, std::string& text) {
    detail::WriteFormText(binary, text);
}

std::string BinaryFormToText(std::string_view binary) {
    std::string text;
    detail::WriteFormText(binary, text);
    return text;
}

void TextToBinaryForm(std::string_view text, std::string& binary) {
    detail::ParseFormText(text, binary);
}

std::string TextToBinaryForm(std::string_view text) {
    std::string binary;
    detail::ParseFormText(text, binary);
    return binary;
}

} // namespace wordloom
