// Where the string literals of a unit source stand, read with Pascal's own comment rules. The
// collector files what this finds and the unit rewriter replaces the same, so the two agree.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace wordloom {

/// What the start of a line is inside: code, or a comment opened on an earlier line.
enum class CommentState { Code, Brace, ParenStar };

/// One literal of a line: from its opening apostrophe to behind its closing one. An unclosed
/// literal runs to the end of the line.
struct LiteralSpan {
    std::size_t open = 0;
    std::size_t end = 0;
    bool closed = true;
};

/// The literals of `line` that stand outside comments, in order, into `spans` (cleared first).
/// Comments are "{ }", "(* *)" (either may span lines: `state` carries that from line to line)
/// and "//" to the end of the line; nothing inside a literal opens a comment, nothing inside a
/// comment opens a literal. "''" inside a literal is an apostrophe.
void FindLiterals(std::string_view line, CommentState& state, std::vector<LiteralSpan>& spans);

} // namespace wordloom
