// JSON output of the commands that print data with --json.
#pragma once

#include <string>

namespace wordloom::cli {

/// `text` as a JSON string literal: quotes, backslashes and control characters escaped; UTF-8
/// passes as it is.
std::string JsonString(const std::string& text);

} // namespace wordloom::cli
