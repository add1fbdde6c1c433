#include "support/file_read.h"
#include "support/temp_dir.h"
#include "translate/file_replace.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wordloom {
namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_ino;
}

/// Changes the file in place, as an editor that does not replace files does.
void Overwrite(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::in | std::ios::out | std::ios::trunc);
    out << content;
}

size_t EntriesIn(const TempDir& dir) {
    size_t count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++count;
    return count;
}

TEST(BackupPath, ReplacesTheExtensionByTildeAndTwoLetters) {
    EXPECT_EQ(BackupPath("/p/Main.dfm"), "/p/Main.~df");
    EXPECT_EQ(BackupPath("/p/Unit1.pas"), "/p/Unit1.~pa");
    EXPECT_EQ(BackupPath("/p/UNIT1.PAS"), "/p/UNIT1.~PA");
    EXPECT_EQ(BackupPath("Main.dfm"), "Main.~df");
    EXPECT_EQ(BackupPath("/p.x/ab"), "/p.x/ab~");
}

TEST(ReplaceFileContent, ReplacesAndKeepsPermissions) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "old content");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ReplaceFileContent(path, std::string("new\0content", 11));
    EXPECT_EQ(ReadBytes(path), std::string("new\0content", 11));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesIn(dir), 1u) << "no temporary file is left behind";
}

TEST(ReplaceFileContent, ReplacesTheTargetOfASymbolicLink) {
    TempDir dir;
    const std::string real = dir.Write("Real.pas", "old");
    const std::string link = dir.FilePath("Link.pas");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ReplaceFileContent(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "new");
}

TEST(ReplaceBatch, ReplacesThroughALinkedFolderWithTheBackupBesideTheFile) {
    // Only the file's own name is resolved; a linked folder leads to the same folder.
    TempDir dir;
    std::filesystem::create_directory(dir.FilePath("real"));
    const std::string real = dir.FilePath("real/Main.dfm");
    Overwrite(real, "old");
    ASSERT_EQ(::symlink(dir.FilePath("real").c_str(), dir.FilePath("linked").c_str()), 0);
    const std::string path = dir.FilePath("linked/Main.dfm");
    ReplaceBatch batch;
    batch.StageReplaceWithBackup(path, "old", "new");
    batch.Commit();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.FilePath("linked")));
    EXPECT_EQ(ReadBytes(real), "new");
    EXPECT_EQ(ReadBytes(dir.FilePath("real/Main.~df")), "old");
    EXPECT_EQ(EntriesIn(dir), 2u);
    size_t inReal = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.FilePath("real")))
        ++inReal;
    EXPECT_EQ(inReal, 2u) << "no temporary file is left behind";
}

TEST(ReplaceFileContent, RefusesAFileWithoutWriteBits) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "checked in");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    try {
        ReplaceFileContent(path, "changed");
        FAIL() << "a read-only file was replaced";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
    }
    EXPECT_EQ(ReadBytes(path), "checked in");
}

TEST(ReplaceFileContent, MissingFileFails) {
    TempDir dir;
    EXPECT_THROW(ReplaceFileContent(dir.FilePath("none.pas"), "x"), FileError);
    EXPECT_EQ(EntriesIn(dir), 0u);
}

class ReplaceFaultTest : public ::testing::TestWithParam<ReplaceStep> {
protected:
    void TearDown() override { SetReplaceHookForTesting(nullptr); }
    static inline ReplaceStep s_failAt = ReplaceStep::TempCreated;
};

TEST_P(ReplaceFaultTest, AFailureLeavesTheOriginalAndNoTemporaryFile) {
    if (GetParam() == ReplaceStep::Renamed)
        GTEST_SKIP() << "after the rename the new content is in place";
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "old content");
    s_failAt = GetParam();
    SetReplaceHookForTesting([](ReplaceStep step, const std::string&) {
        if (step == s_failAt)
            throw FileError("disk full");
    });
    EXPECT_THROW(ReplaceFileContent(path, "new content that is longer"), FileError);
    EXPECT_EQ(ReadBytes(path), "old content");
    EXPECT_EQ(EntriesIn(dir), 1u);
}

TEST_P(ReplaceFaultTest, ACrashLeavesOldOrNewContentNeverAMix) {
    TempDir dir;
    const std::string oldContent(100000, 'o');
    const std::string newContent(150000, 'n');
    const std::string path = dir.Write("Main.dfm", oldContent);
    s_failAt = GetParam();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetReplaceHookForTesting([](ReplaceStep step, const std::string&) {
            if (step == s_failAt)
                ::_exit(3); // dies like a killed process: no unwinding, no clean-up
        });
        ReplaceFileContent(path, newContent);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    const std::string now = ReadBytes(path);
    if (GetParam() == ReplaceStep::Renamed)
        EXPECT_EQ(now, newContent);
    else
        EXPECT_EQ(now, oldContent);
}

INSTANTIATE_TEST_SUITE_P(Steps, ReplaceFaultTest,
                         ::testing::Values(ReplaceStep::TempCreated, ReplaceStep::HalfWritten,
                                           ReplaceStep::Written, ReplaceStep::Renamed));

TEST(MakeBackupCopy, CopiesAndSilentlyOverwritesAnEarlierBackup) {
    TempDir dir;
    const std::string path = dir.Write("Unit1.pas", "second");
    dir.Write("Unit1.~pa", "first run's backup, longer than the new one");
    MakeBackupCopy(path);
    EXPECT_EQ(ReadBytes(dir.FilePath("Unit1.~pa")), "second");
    EXPECT_EQ(ReadBytes(path), "second");
}

TEST(MakeBackupCopy, TheBackupIsAFileOfItsOwn) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "original");
    MakeBackupCopy(path);
    EXPECT_NE(InodeOf(dir.FilePath("Main.~df")), InodeOf(path));
    Overwrite(path, "edited in place");
    EXPECT_EQ(ReadBytes(dir.FilePath("Main.~df")), "original");
}

TEST(ReplaceBatch, TheReplacedFileItselfBecomesTheBackup) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "on disk");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const ino_t before = InodeOf(path);
    ReplaceBatch batch;
    batch.StageReplaceWithBackup(path, "on disk", "translated");
    EXPECT_FALSE(std::filesystem::exists(dir.FilePath("Main.~df")))
        << "nothing is in place before the commit";
    batch.Commit();
    EXPECT_EQ(InodeOf(dir.FilePath("Main.~df")), before);
    EXPECT_NE(InodeOf(path), before);
    EXPECT_EQ(ReadBytes(dir.FilePath("Main.~df")), "on disk");
    EXPECT_EQ(ModeOf(dir.FilePath("Main.~df")), 0640u);
    EXPECT_EQ(ReadBytes(path), "translated");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesIn(dir), 2u);
    Overwrite(path, "edited in place");
    EXPECT_EQ(ReadBytes(dir.FilePath("Main.~df")), "on disk");
}

TEST(ReplaceBatch, AFileWithOtherNamesGetsACopyAsItsBackup) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "original");
    // Another name of the file elsewhere, and a backup name left linked to the file itself.
    const std::string elsewhere = dir.FilePath("Shared.dfm");
    ASSERT_EQ(::link(path.c_str(), elsewhere.c_str()), 0);
    ASSERT_EQ(::link(path.c_str(), dir.FilePath("Main.~df").c_str()), 0);
    ReplaceBatch batch;
    batch.StageReplaceWithBackup(path, "original", "translated");
    batch.Commit();
    EXPECT_EQ(ReadBytes(path), "translated");
    EXPECT_EQ(ReadBytes(dir.FilePath("Main.~df")), "original");
    EXPECT_EQ(std::filesystem::hard_link_count(dir.FilePath("Main.~df")), 1u);
    Overwrite(elsewhere, "edited through its other name");
    EXPECT_EQ(ReadBytes(dir.FilePath("Main.~df")), "original");
    EXPECT_EQ(EntriesIn(dir), 3u) << "no temporary file is left behind";
}

TEST(ReplaceBatch, ABackupIsStagedOnlyWithItsReplacement) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "checked in");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ReplaceBatch batch;
    EXPECT_THROW(batch.StageReplaceWithBackup(path, "checked in", "translated"), FileError);
    EXPECT_EQ(batch.StagedFiles(), 0u);
    EXPECT_EQ(batch.StagedBytes(), 0u);
    batch.Commit();
    EXPECT_EQ(EntriesIn(dir), 1u);
    // A new content that cannot be staged drops the backup staged for it.
    const std::string other = dir.Write("Unit1.pas", "old");
    SetReplaceHookForTesting([](ReplaceStep step, const std::string& target) {
        if (step == ReplaceStep::HalfWritten && target.ends_with("Unit1.pas"))
            throw FileError("disk full");
    });
    EXPECT_THROW(batch.StageReplaceWithBackup(other, "old", "new"), FileError);
    SetReplaceHookForTesting(nullptr);
    EXPECT_EQ(batch.StagedFiles(), 0u);
    batch.Commit();
    EXPECT_EQ(EntriesIn(dir), 2u);
    EXPECT_EQ(std::filesystem::hard_link_count(other), 1u);
}

TEST(MakeBackupCopy, ABackupNameLinkedToTheFileIsReplacedNotFollowed) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "original");
    ASSERT_EQ(::symlink(path.c_str(), dir.FilePath("Main.~df").c_str()), 0);
    ReplaceBatch batch;
    batch.StageReplaceWithBackup(path, "original", "translated");
    batch.Commit();
    EXPECT_FALSE(std::filesystem::is_symlink(dir.FilePath("Main.~df")));
    EXPECT_EQ(ReadBytes(dir.FilePath("Main.~df")), "original");
    EXPECT_EQ(ReadBytes(path), "translated");
}

TEST(ReplaceBatch, DiscardLeavesEverythingAsItWas) {
    TempDir dir;
    const std::string path = dir.Write("Unit1.pas", "old");
    dir.Write("Unit1.~pa", "older backup");
    {
        ReplaceBatch batch;
        batch.StageReplaceWithBackup(path, "old", "new");
    }
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(ReadBytes(dir.FilePath("Unit1.~pa")), "older backup");
    EXPECT_EQ(EntriesIn(dir), 2u);
}

TEST(MakeBackupCopy, FailsWhenTheBackupCannotBeWritten) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "content");
    std::filesystem::create_directory(dir.FilePath("Main.~df"));
    EXPECT_THROW(MakeBackupCopy(path), FileError);
    EXPECT_EQ(ReadBytes(path), "content");
    EXPECT_TRUE(std::filesystem::is_directory(dir.FilePath("Main.~df")));
}

} // namespace
} // namespace wordloom
