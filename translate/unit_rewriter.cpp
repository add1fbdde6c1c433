#include "translate/unit_rewriter.h"

namespace wordloom {
namespace {

std::string_view LineEndText(LineEnd end) {
    switch (end) {
    case LineEnd::Lf:
        return "\n";
    case LineEnd::CrLf:
    case LineEnd::None:
        break;
    }
    return "\r\n";
}

/// The line end a last line without one receives: the file's first, CR LF when it has none.
std::string_view FileLineEnd(std::string_view content) {
    const size_t lf = content.find('\n');
    if (lf == std::string_view::npos || (lf > 0 && content[lf - 1] == '\r'))
        return "\r\n";
    return "\n";
}

} // namespace

std::string TranslateUnitText(std::string_view content, const LiteralLookup& lookup, int* replaced) {
    const std::string_view fileLineEnd = FileLineEnd(content);
    std::string result;
    result.reserve(content.size() + content.size() / 8 + 2);
    std::string_view rest = content;
    int lineCount = 0;
    CommentState comments = CommentState::Code;
    do {
        LineEnd end = LineEnd::None;
        const std::string_view line = NextLine(rest, lineCount, &end);
        result += TranslateUnitLine(line, comments, lookup, replaced);
        result += end == LineEnd::None ? fileLineEnd : LineEndText(end);
    } while (!rest.empty());
    return result;
}

} // namespace wordloom
