// PascalString values for tests: a narrow one from bytes, a wide one from UTF-16 units.
#pragma once

#include "forms/literal_codec.h"

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

} // namespace wordloom
