// The lines around a place in a project's source file, read and decoded the way Collect reads
// them, so that the line numbers of the where-used rows point at the lines shown.
#pragma once

#include "forms/code_page.h"

#include <string>
#include <vector>

namespace wordloom {

struct SourceLine {
    int number = 0;   ///< from 1
    std::string text; ///< UTF-8, without its line end
};

/// Lines `line - around` to `line + around` (those that exist) of a source file. A form (".dfm",
/// text or binary) is read as the lines of its text form; a unit in `codePage`, or in UTF-8 after a
/// byte-order mark. Throws FileError when the file cannot be read and FormError for a binary form
/// that does not convert.
std::vector<SourceLine> ReadSourceLines(const std::string& path, const CodePage& codePage, int line,
                                        int around);

} // namespace wordloom
