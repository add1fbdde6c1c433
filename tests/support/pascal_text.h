// PascalString values for tests: a narrow one from bytes, a wide one from UTF-16 units.
#pragma once

#include "forms/literal_codec.h"

#include <string>
#include <string_view>

namespace wordloom {

inline PascalString Narrow(std::string_view bytes) {
    PascalString s;
    s.AppendBytes(bytes);
    return s;
}

inline PascalString Wide(std::u16string_view units) {
    PascalString s;
    s.Widen();
    for (char16_t u : units)
        s.AppendUnit(u);
    return s;
}

/// Forty times U+3042 in CP932 (two bytes each) or in UTF-8: behind one narrow byte, the 64th byte
/// of the string, where the form writer's line is full, is a lead byte.
inline std::string FortyKana(bool utf8) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += utf8 ? "\xe3\x81\x82" : "\x82\xa0";
    return text;
}

} // namespace wordloom
