// Writing rewritten sources back: atomic replacement and the "~" backup copies.
#pragma once

#include "base/errors.h"
#include "base/source_file.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace wordloom {

/// The snapshot of an open file (its whole status in `status`, when given); throws FileError
/// naming `path` when it cannot be taken.
FileSnapshot TakeSnapshot(const SourceFile& file, struct stat* status = nullptr);

/// Replaces files and writes backups in groups. Each staged content goes to a temporary file beside
/// its target; Commit() flushes all of them to disk with one sync and then renames them over their
/// targets in staging order, so a crash (or power loss) at any moment leaves every target with its
/// old or its new content, never a mix, and a backup staged before its file is in place before the
/// file is replaced. Replaced files keep their permission bits; symbolic links are followed.
/// Whatever is not committed is removed when the batch is destroyed. Throws FileError.
class ReplaceBatch {
public:
    ReplaceBatch();
    ~ReplaceBatch();
    ReplaceBatch(const ReplaceBatch&) = delete;
    ReplaceBatch& operator=(const ReplaceBatch&) = delete;

    /// Stages the new content of `path` together with its backup (BackupPath), which silently
    /// replaces an earlier backup. The backup is put in place just before the file is replaced and
    /// never without it, and it is a file of its own: the replaced file itself (a second name for
    /// it, renamed over the backup name, so nothing is copied) when that file has no other name,
    /// otherwise a written copy of `original` (the file's content, read under its lock). Fails at
    /// once, staging nothing, when the backup name is taken by something that is not a file or the
    /// file cannot be replaced (see StageReplace).
    void StageReplaceWithBackup(const std::string& path, std::string_view original, std::string_view content);
    /// Stages a written copy of `content` as the backup of `path`, replacing an earlier backup.
    void StageBackupCopy(const std::string& path, std::string_view content);
    /// Stages the new content of `path`. A file without any write permission bit is checked in
    /// read-only: it fails with "Cannot open file %s" even where the folder would allow the rename.
    void StageReplace(const std::string& path, std::string_view content);
    /// Keeps the file open (and locked) until the batch is committed or dropped.
    void Hold(std::unique_ptr<SourceFile> file);

    /// Syncs and renames everything staged, then releases the held files. A failing rename stops
    /// there: what was renamed stays, the rest is dropped, and FileError names the target.
    void Commit();
    /// Has the commit check, just before `path` is replaced, that the file can still be opened and
    /// locked for writing and still has the snapshot it had when it was read.
    void ExpectUnchanged(const std::string& path, const FileSnapshot& snapshot);
    /// Like Commit, but all or nothing: when anything fails on the way (a file changed meanwhile,
    /// a failing rename, a failing sync), `restore` is called, newest first, with the path of every
    /// file whose new content was already put in place and must put its old content back; the rest
    /// is dropped and the FileError rethrown. A failure of `restore` itself is added to the
    /// error's text. Backups already in place stay: each holds its file's content before the run.
    void CommitAllOrRestore(const std::function<void(const std::string& path)>& restore);
    /// Drops everything staged and releases the held files.
    void Discard();

    std::size_t StagedFiles() const { return m_entries.size(); }
    std::size_t StagedBytes() const { return m_bytes; }

private:
    struct Entry {
        std::string target;
        std::string temp;      ///< empty once renamed into place
        std::size_t bytes = 0; ///< what was written for it (nothing for a second name)
        std::string path;      ///< the file as it was named, for a replacement (not a backup)
        bool checked = false;  ///< `snapshot` is to be verified before the rename
        FileSnapshot snapshot;
    };
    void VerifyUnchanged(const Entry& entry) const;
    /// Flushes every staged file to disk at once.
    void SyncStaged();
    /// `owner`: the status of the file replaced, whose owner the new content keeps (nullptr: ours).
    void Stage(const std::string& target, std::string_view content, unsigned mode, const struct stat* owner);
    bool LinkAside(const std::string& source, const std::string& target);
    void DropFrom(std::size_t first);

    std::vector<Entry> m_entries;
    std::vector<std::unique_ptr<SourceFile>> m_held;
    std::size_t m_bytes = 0;
};

/// Replaces the whole content of `path` at once (a batch of one).
void ReplaceFileContent(const std::string& path, std::string_view content);

/// The backup name of a source file: its last three characters replaced by "~" and the first two of
/// them (Main.dfm -> Main.~df, Unit1.pas -> Unit1.~pa). A name of three characters or fewer gets
/// "~" appended instead, so the backup never overwrites the file itself.
std::string BackupPath(const std::string& path);

/// Writes `content` as the backup of `path` at once (see ReplaceBatch::StageBackupCopy).
void MakeBackupCopy(const std::string& path, std::string_view content);
/// Copies the file at `path` to its backup name.
void MakeBackupCopy(const std::string& path);

/// Points in a replacement where tests simulate a crash (the hook ends the process) or a failure
/// (the hook throws): a temporary file created, half of its content written, all staged files
/// synced (target empty), one target renamed into place.
enum class ReplaceStep { TempCreated, HalfWritten, Written, Renamed };
using ReplaceHook = void (*)(ReplaceStep step, const std::string& target);
/// Installs a hook for every later replacement and backup; nullptr removes it. Tests only.
void SetReplaceHookForTesting(ReplaceHook hook);

} // namespace wordloom
