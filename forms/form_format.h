// The binary form's layout and the text form's characters, shared by the text writer (binary to
// text), the text parser (text to binary) and the binary form reader and writer. Internal to forms/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_sink.h"
#include "base/ui_text.h"
#include "forms/form_stream.h"

namespace wordloom::detail {

inline constexpr const char* kInvalidStream = WL_TR_NOOP("Forms", "Invalid stream format");
inline constexpr const char* kInvalidValue = WL_TR_NOOP("Forms", "Invalid property value");
inline constexpr std::string_view kSignature = "TPF0";
inline constexpr std::uint16_t kResourceType = 10;
inline constexpr std::uint16_t kMemoryFlags = 0x1030;
inline constexpr std::size_t kBytesPerLine = 32;

enum class Tag : std::uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WString = 18,
    Int64 = 19,
    Utf8String = 20,
};

enum ObjectFlags : unsigned { kInherited = 1, kChildPos = 2, kInline = 4 };

inline bool IsIntegerTag(std::uint8_t tag) {
    return tag == std::uint8_t(Tag::Int8) || tag == std::uint8_t(Tag::Int16) ||
           tag == std::uint8_t(Tag::Int32) || tag == std::uint8_t(Tag::Int64);
}

inline bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
inline bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
/// ASCII letters compared without regard to case, every other byte exactly.
inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && (!IsLetter(x) || (x | 0x20) != (y | 0x20)))
            return false;
    }
    return true;
}

/// Binary form resource to text form (form_text_writer.cpp); replaces text's content.
void WriteFormText(std::string_view binary, SinkTarget text, LeadByteTest isLeadByte);
/// Text form to binary form resource (form_text_parser.cpp); replaces binary's content.
void ParseFormText(std::string_view text, SinkTarget binary);

} // namespace wordloom::detail
