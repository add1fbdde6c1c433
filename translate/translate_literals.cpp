#include "translate/translate_literals.h"

#include "collect/form_text.h"

namespace wordloom {

std::string TranslateLiterals(std::string_view line, ApostropheForm form, const LiteralLookup& lookup,
                              int* replaced) {
    std::string result(line);
    size_t scan = 0;
    while (scan < result.size()) {
        const size_t open = result.find('\'', scan);
        // An apostrophe in the last position opens no literal.
        if (open == std::string::npos || open + 1 >= result.size())
            break;
        size_t close = std::string::npos;
        std::string decoded;
        for (size_t i = open + 1; i < result.size(); ++i) {
            if (result[i] != '\'') {
                decoded += result[i];
            } else if (i + 1 < result.size() && result[i + 1] == '\'') {
                decoded += '\'';
                ++i;
            } else {
                close = i;
                break;
            }
        }
        const size_t contentEnd = close == std::string::npos ? result.size() : close;
        const std::string_view key = TrimControls(decoded);
        // An empty key would match a record whose project-language field is still empty.
        std::optional<TranslatedText> content;
        if (!key.empty())
            content = lookup(key);
        if (!content) {
            scan = contentEnd + 1;
            continue;
        }
        const std::string encoded = EncodeTranslation(content->text, content->spFront, content->spEnd, form);
        result.replace(open + 1, contentEnd - open - 1, encoded);
        if (replaced != nullptr)
            ++*replaced;
        scan = open + 1 + encoded.size() + 1;
    }
    return result;
}

} // namespace wordloom
