#include "forms/pascal_scan.h"

#include <array>

namespace wordloom {
namespace {

constexpr std::array<bool, 256> kOpensSomething = [] {
    std::array<bool, 256> opens{};
    for (const char c : {'\'', '{', '(', '/'}) {
        opens[static_cast<unsigned char>(c)] = true;
    }
    return opens;
}();

} // namespace

void FindLiterals(std::string_view line, CommentState& state, std::vector<LiteralSpan>& spans) {
    spans.clear();
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (state != CommentState::Code) {
            const bool brace = state == CommentState::Brace;
            const std::size_t close = brace ? line.find('}', pos) : line.find("*)", pos);
            if (close == std::string_view::npos) {
                return;
            }
            state = CommentState::Code;
            pos = close + (brace ? 1 : 2);
            continue;
        }
        // Most of a line is code that can neither open a literal nor a comment.
        while (pos < line.size() && !kOpensSomething[static_cast<unsigned char>(line[pos])]) {
            ++pos;
        }
        if (pos == line.size()) {
            return;
        }
        const char c = line[pos];
        const char next = pos + 1 < line.size() ? line[pos + 1] : '\0';
        if (c == '\'') {
            LiteralSpan span{pos, line.size(), false};
            for (std::size_t i = line.find('\'', pos + 1); i != std::string_view::npos;
                 i = line.find('\'', i + 2)) {
                if (i + 1 < line.size() && line[i + 1] == '\'') {
                    continue;
                }
                span.end = i + 1;
                span.closed = true;
                break;
            }
            spans.push_back(span);
            pos = span.end;
        } else if (c == '{') {
            state = CommentState::Brace;
            ++pos;
        } else if (c == '(' && next == '*') {
            state = CommentState::ParenStar;
            pos += 2; // "(*)" opens a comment without closing it
        } else if (c == '/' && next == '/') {
            return;
        } else {
            ++pos;
        }
    }
}

} // namespace wordloom
