// SHA-256 of file contents: how the run journal recognises a file's state.
#pragma once

#include <string>
#include <string_view>

namespace wordloom {

/// The SHA-256 digest of `data` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view data);

} // namespace wordloom
