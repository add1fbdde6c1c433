#include "forms/form_text.h"

namespace wordloom {

std::string ToUtf8(const PascalString& text, const CodePage& codePage) {
    if (!text.IsWide()) {
        return codePage.Decode(text.Narrow());
    }
    const std::u16string& units = text.Wide();
    std::string out;
    out.reserve(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(c, out);
    }
    return out;
}

} // namespace wordloom
