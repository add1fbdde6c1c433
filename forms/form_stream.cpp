#include "forms/form_stream.h"

#include "base/byte_buffer.h"
#include "forms/form_format.h"

namespace wordloom {

bool IsTextForm(std::string_view data) {
    for (std::string_view word : {"object", "inherited", "inline"}) {
        if (data.size() > word.size() && detail::EqualsIgnoreCase(data.substr(0, word.size()), word) &&
            static_cast<unsigned char>(data[word.size()]) <= 32)
            return true;
    }
    return false;
}

namespace {

bool ShiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool HighHalfLead(unsigned char c) { // GBK, UHC, Big5
    return c >= 0x81 && c <= 0xFE;
}
bool JohabLead(unsigned char c) {
    return (c >= 0x84 && c <= 0xD3) || (c >= 0xD8 && c <= 0xDE) || (c >= 0xE0 && c <= 0xF9);
}

} // namespace

LeadByteTest DoubleByteLeadTest(std::string_view codePage) {
    if (detail::EqualsIgnoreCase(codePage, "CP932"))
        return ShiftJisLead;
    if (detail::EqualsIgnoreCase(codePage, "CP936") || detail::EqualsIgnoreCase(codePage, "CP949") ||
        detail::EqualsIgnoreCase(codePage, "CP950"))
        return HighHalfLead;
    if (detail::EqualsIgnoreCase(codePage, "JOHAB"))
        return JohabLead;
    return nullptr;
}

namespace {

template <typename Target>
void WriteTextInto(std::string_view binary, Target& text, LeadByteTest isLeadByte) {
    try {
        detail::WriteFormText(binary, text, isLeadByte);
    } catch (...) {
        text.clear();
        throw;
    }
}

template <typename Target>
void ParseTextInto(std::string_view text, Target& binary) {
    try {
        detail::ParseFormText(text, binary);
    } catch (...) {
        binary.clear();
        throw;
    }
}

} // namespace

void BinaryFormToText(std::string_view binary, std::string& text, LeadByteTest isLeadByte) {
    WriteTextInto(binary, text, isLeadByte);
}

void BinaryFormToText(std::string_view binary, ByteBuffer& text, LeadByteTest isLeadByte) {
    WriteTextInto(binary, text, isLeadByte);
}

std::string BinaryFormToText(std::string_view binary, LeadByteTest isLeadByte) {
    std::string text;
    detail::WriteFormText(binary, text, isLeadByte);
    return text;
}

void TextToBinaryForm(std::string_view text, std::string& binary) {
    ParseTextInto(text, binary);
}

void TextToBinaryForm(std::string_view text, ByteBuffer& binary) {
    ParseTextInto(text, binary);
}

std::string TextToBinaryForm(std::string_view text) {
    std::string binary;
    detail::ParseFormText(text, binary);
    return binary;
}

} // namespace wordloom
