// A unified diff of two texts, line by line, as a preview of what a run changes in a file.
#pragma once

#include <string>
#include <string_view>

namespace wordloom {

/// The unified diff ("---"/"+++" header, "@@" hunks with `context` unchanged lines around each
/// change) that turns `before` into `after`; empty when they are equal. Lines end at LF; a CR
/// before it belongs to the line and is kept, so that applying the diff gives `after` byte for
/// byte. A last line without a line end is marked "\ No newline at end of file".
std::string UnifiedDiff(std::string_view before, std::string_view after, const std::string& beforeName,
                        const std::string& afterName, int context = 3);

} // namespace wordloom
