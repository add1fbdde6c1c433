#include "translate/translate_literals.h"

#include "forms/form_text.h"

namespace wordloom {

namespace {

// What replaces the content of a literal (between its quotes, "''" already read as one
// apostrophe): the encoded translation, or nothing when it has none.
std::optional<std::string> Translated(const std::string& decoded, ApostropheForm form,
                                      const LiteralLookup& lookup) {
    const std::string_view key = TrimControls(decoded);
    // An empty key would match a record whose project-language field is still empty.
    if (key.empty())
        return std::nullopt;
    const std::optional<TranslatedText> content = lookup(key);
    if (!content)
        return std::nullopt;
    return EncodeTranslation(content->text, content->spFront, content->spEnd, form);
}

} // namespace

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
        const std::optional<std::string> encoded = Translated(decoded, form, lookup);
        if (!encoded) {
            scan = contentEnd + 1;
            continue;
        }
        result.replace(open + 1, contentEnd - open - 1, *encoded);
        if (replaced != nullptr)
            ++*replaced;
        scan = open + 1 + encoded->size() + 1;
    }
    return result;
}

std::string TranslateUnitLine(std::string_view line, CommentState& comments, const LiteralLookup& lookup,
                              int* replaced) {
    thread_local std::vector<LiteralSpan> spans;
    FindLiterals(line, comments, spans);
    std::string result;
    size_t copied = 0;
    for (const LiteralSpan& span : spans) {
        // A literal not closed on its line is broken source: left as it stands.
        if (!span.closed)
            continue;
        const std::optional<std::string> encoded = Translated(
            ExtractLiteral(line.substr(span.open, span.end - span.open)), ApostropheForm::Doubled, lookup);
        if (!encoded)
            continue;
        result.append(line.substr(copied, span.open + 1 - copied));
        result += *encoded;
        result += '\'';
        copied = span.end;
        if (replaced != nullptr)
            ++*replaced;
    }
    result.append(line.substr(copied));
    return result;
}

} // namespace wordloom
