#pragma once

#include "collect/collect_context.h"
#include "collect/parsed_file.h"

#include <string>

namespace wordloom {

/// Files every literal outside comments of one unit source, comments read as Pascal reads them
/// (FindLiterals); a comment left open at the end of the file ends there. A line whose literal is
/// not closed is noted in context.lineFailures and reading goes on; a file that cannot be opened
/// throws FileError and a table that cannot be used TableError to the caller. A unit that begins
/// with the UTF-8 byte-order mark is read as UTF-8 whatever the code page.
void CollectUnitFile(CollectContext& context, const std::string& path);

/// The reading and parsing of CollectUnitFile, into `file` (its path set), for FileParsed to file.
/// Throws what CollectUnitFile would, but for TableError; what was parsed until then stays.
void ParseUnitFile(const ParseInput& input, ParsedFile& file);

} // namespace wordloom
