// Writing rewritten sources back: atomic replacement and the "~" backup copies.
#pragma once

#include "collect/errors.h"

#include <string>
#include <string_view>

namespace wordloom {

/// Replaces the whole content of `path` with `content`: a temporary file in the same folder is
/// written, flushed to disk and renamed over the original, which keeps its permission bits. A
/// crash at any moment leaves the old or the new content, never a mix; on failure the original is
/// untouched and the temporary file removed. Throws FileError.
void ReplaceFileContent(const std::string& path, std::string_view content);

/// The backup name of a source file: its last three characters replaced by "~" and the first two of
/// them (Main.dfm -> Main.~df, Unit1.pas -> Unit1.~pa). A name of three characters or fewer gets
/// "~" appended instead, so the backup never overwrites the file itself.
std::string BackupPath(const std::string& path);

/// Writes `content` (the file's current content, read under its lock) to the backup of `path`,
/// silently replacing an earlier backup. Atomic like ReplaceFileContent, so a crash never leaves a
/// torn backup. Throws FileError; the caller then leaves the file alone.
void MakeBackupCopy(const std::string& path, std::string_view content);

/// Copies the file at `path` to its backup name (for callers that do not hold the content).
void MakeBackupCopy(const std::string& path);

/// Points in a replacement where tests simulate a crash (the hook ends the process) or a failure
/// (the hook throws). `HalfWritten` comes after the first half of the content reached the
/// temporary file.
enum class ReplaceStep { TempCreated, HalfWritten, Written, Renamed };
using ReplaceHook = void (*)(ReplaceStep step, const std::string& target);
/// Installs a hook for every later replacement and backup; nullptr removes it. Tests only.
void SetReplaceHookForTesting(ReplaceHook hook);

} // namespace wordloom
