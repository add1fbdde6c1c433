#include "qa/text_scan.h"

namespace wordloom::qa {

int AcceleratorCount(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            ++count;
        ++i; // the marked character, or the second "&" of "&&"
    }
    return count;
}

std::string StripAccelerators(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            if (text[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue; // the mark itself; the marked character follows
        }
        plain += text[i];
    }
    return plain;
}

} // namespace wordloom::qa
