// Whole-file reading and atomic replacement. Source files are the user's work: a file is either
// left as it was or replaced by the complete new content, never half-written.
#pragma once

#include <string>
#include <string_view>

namespace wordloom {

/// The whole content of the file, byte for byte. Throws FileError "Cannot open file %s" when the
/// file cannot be opened or read.
std::string ReadFileBytes(const std::string& path);

/// Writes data to a temporary file in the target's folder, flushes it to disk and renames it over
/// path, keeping the permission bits of a file that already stood there. Throws FileError
/// "Cannot create file %s" on any failure; the temporary file is removed and path is untouched.
void WriteFileAtomically(const std::string& path, std::string_view data);

} // namespace wordloom
