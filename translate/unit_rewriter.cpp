#include "translate/unit_rewriter.h"

namespace wordloom {
namespace {

std::string_view FirstLineEnd(std::string_view content) {
    const size_t lf = content.find('\n');
    if (lf == std::string_view::npos)
        return "\r\n";
    return lf > 0 && content[lf - 1] == '\r' ? std::string_view("\r\n") : std::string_view("\n");
}

} // namespace

std::string TranslateUnitText(std::string_view content, const LiteralLookup& lookup, int* replaced) {
    const std::string_view fileLineEnd = FirstLineEnd(content);
    std::string result;
    result.reserve(content.size() + content.size() / 8 + 2);
    size_t pos = 0;
    do {
        const size_t lf = content.find('\n', pos);
        std::string_view line;
        std::string_view lineEnd;
        if (lf == std::string_view::npos) {
            line = content.substr(pos);
            lineEnd = fileLineEnd;
            pos = content.size();
        } else {
            const bool crlf = lf > pos && content[lf - 1] == '\r';
            line = content.substr(pos, lf - pos - (crlf ? 1 : 0));
            lineEnd = crlf ? std::string_view("\r\n") : std::string_view("\n");
            pos = lf + 1;
        }
        if (line.find('\'') != std::string_view::npos)
            result += TranslateLiterals(line, "''", lookup, replaced);
        else
            result += line;
        result += lineEnd;
    } while (pos < content.size());
    return result;
}

} // namespace wordloom
