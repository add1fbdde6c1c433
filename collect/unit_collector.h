#pragma once

#include "collect/collect_context.h"

#include <string>
#include <string_view>

namespace wordloom {

/// Files every literal outside comments of one unit source. A line that fails is reported through
/// the host and reading goes on; a file that cannot be opened throws FileError to the caller. A
/// unit that begins with the UTF-8 byte-order mark is read as UTF-8 whatever the code page.
void CollectUnitFile(CollectContext& context, const std::string& path);

/// The trimmed line without its comments: a brace comment still open from an earlier line, the
/// first "//" outside literals, and the first brace comment that begins outside literals (one per
/// line; the "}" used is the first of the line). Sets `inBraceComment` when a brace comment stays
/// open and clears it when the open one closes.
std::string StripComments(std::string_view line, bool& inBraceComment);
/// The same into `result`, whose buffer is reused from line to line.
void StripComments(std::string_view line, bool& inBraceComment, std::string& result);

/// True when position `pos` of the line lies inside a literal: the number of apostrophes before it
/// is odd.
bool InsideLiteral(std::string_view line, std::size_t pos);

} // namespace wordloom
