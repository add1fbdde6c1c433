#pragma once

#include "collect/collect_context.h"
#include "collect/parsed_file.h"

#include <string>

namespace wordloom {

/// Files the texts of the searched properties of one form file (text or binary form). A line that
/// fails is noted in context.lineFailures and reading goes on; a file that cannot be opened or
/// converted throws (FileError, FormError) to the caller, a table that cannot be used TableError. The form
/// text, as read, goes to the clipboard.
void CollectFormFile(CollectContext& context, const std::string& path);

/// The reading and parsing of CollectFormFile, into `file` (its path set), for FileParsed to file.
/// Throws what CollectFormFile would, but for TableError; what was parsed until then stays.
void ParseFormFile(const ParseInput& input, ParsedFile& file);

} // namespace wordloom
