#pragma once

#include "collect/collect_context.h"

#include <string>

namespace wordloom {

/// Files the texts of the searched properties of one form file (text or binary form). A line that
/// fails is noted in context.lineFailures and reading goes on; a file that cannot be opened or
/// converted throws (FileError, FormError) to the caller, a table that cannot be used TableError. The form
/// text, as read, goes to the clipboard.
void CollectFormFile(CollectContext& context, const std::string& path);

} // namespace wordloom
