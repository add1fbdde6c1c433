// Reading the parts of a text that the checks compare: accelerator keys, Format specifiers, line
// breaks. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wordloom::qa {

/// The accelerator marks of a caption: each "&" followed by a character other than "&" ("&&" shows
/// one ampersand). A "&" at the very end marks nothing.
int AcceleratorCount(std::string_view text);
/// The text without its accelerator marks, "&&" read as "&".
std::string StripAccelerators(std::string_view text);

} // namespace wordloom::qa
