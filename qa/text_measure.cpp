#include "qa/text_measure.h"

#include "forms/code_page.h"

namespace wordloom::qa {

namespace {

// Shares of the em, taken from the advance widths of the usual 8-point dialog fonts.
double EmShare(char32_t c) {
    if ((c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
        (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD))
        return 1.0;
    switch (c) {
    case 'i':
    case 'j':
    case 'l':
    case 'I':
    case '.':
    case ',':
    case ':':
    case ';':
    case '\'':
    case '!':
    case '|':
        return 0.25;
    case ' ':
    case 'f':
    case 't':
    case 'r':
    case '(':
    case ')':
    case '[':
    case ']':
    case '-':
        return 0.35;
    case 'm':
    case 'w':
    case 'M':
    case 'W':
    case '@':
        return 0.85;
    default:
        break;
    }
    if (c >= 'A' && c <= 'Z')
        return 0.65;
    return 0.55;
}

} // namespace

double EstimatingTextMeasure::TextWidth(std::string_view utf8, const FontDescription& font) {
    double ems = 0;
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < utf8.size()) {
        if (NextUtf8(utf8, pos, c))
            ems += EmShare(c);
        else
            ems += 0.55;
    }
    return ems * font.pixelSize * (font.bold ? 1.1 : 1.0);
}

} // namespace wordloom::qa
