// Reading and writing whole files in tests, byte for byte, independent of the engine's own file code
// (which is what the tests check).
#pragma once

#include <filesystem>
#include <string>

namespace wordloom {

/// The bytes of a file. Throws std::runtime_error naming the path when it cannot be read, so a
/// missing file never passes for an empty one.
std::string ReadBytes(const std::filesystem::path& path);

/// Writes `content` to `path` (its folders created), replacing what was there. Throws
/// std::runtime_error naming the path on failure.
void WriteBytes(const std::filesystem::path& path, const std::string& content);

} // namespace wordloom
