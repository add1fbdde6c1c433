#include "base/errors.h"
#include "base/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wordloom {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    TempDir m_temp;
    fs::path m_dir{m_temp.Path()};
};

TEST_F(FileIoTest, WriteThenReadGivesSameBytes) {
    std::string data("a\0b\r\n\xFF", 6);
    WriteFileAtomically(PathOf("x.dfm"), data);
    EXPECT_EQ(ReadFileBytes(PathOf("x.dfm")), data);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileIoTest, ReplaceKeepsPermissionBits) {
    const std::string path = PathOf("keep.pas");
    WriteFileAtomically(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    WriteFileAtomically(path, "new content");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFileBytes(path), "new content");
}

TEST_F(FileIoTest, MissingFileFailsWithMessage) {
    const std::string path = PathOf("missing.dfm");
    try {
        ReadFileBytes(path);
        FAIL() << "no failure";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
    }
    EXPECT_THROW(ReadFileBytes(m_dir.string()), FileError);
}

TEST_F(FileIoTest, UnwritableTargetFailsAndLeavesNoTemporary) {
    const std::string path = PathOf("no/such/folder/x.dfm");
    try {
        WriteFileAtomically(path, "data");
        FAIL() << "no failure";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
    }
    // A directory standing where the file should go cannot be replaced; nothing is left behind.
    fs::create_directory(PathOf("dir.dfm"));
    EXPECT_THROW(WriteFileAtomically(PathOf("dir.dfm"), "data"), FileError);
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_TRUE(fs::is_directory(PathOf("dir.dfm")));
}

TEST_F(FileIoTest, TempFileStandsBesideItsTargetAndGoesUnlessRenamedOrReleased) {
    const std::string target = PathOf("Main.dfm");
    WriteFileAtomically(target, "old");
    std::string released;
    {
        TempFile dropped(target);
        ASSERT_TRUE(dropped.IsOpen());
        EXPECT_EQ(DirectoryOf(dropped.Path()), DirectoryOf(target));
        EXPECT_TRUE(dropped.Write("never used"));
        EXPECT_EQ(EntryCount(), 2u);
    }
    EXPECT_EQ(EntryCount(), 1u);
    {
        TempFile kept(target);
        ASSERT_TRUE(kept.Write("kept"));
        released = kept.Release();
    }
    EXPECT_EQ(ReadFileBytes(released), "kept");
    {
        TempFile renamed(target);
        ASSERT_TRUE(renamed.Write("new"));
        ASSERT_TRUE(renamed.RenameOver(target));
    }
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(EntryCount(), 2u); // the target and the released file
    EXPECT_EQ(DirectoryOf("Main.dfm"), "./");
}

// The one answer to "which folder is this file in", for temporary files, syncing and the project.
TEST(DirectoryOf, EndsInOneSlashAndTakesTheCurrentFolderForABareName) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Main.dfm", "./"},           {"", "./"},
        {"/Main.dfm", "/"},           {"//Main.dfm", "/"},
        {"/work/dir/", "/work/dir/"}, {"/", "/"},
        {"/work/Main.dfm", "/work/"}, {"a//Main.dfm", "a/"},
        {"./Main.dfm", "./"},         {"sub/Main.dfm", "sub/"}};
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(DirectoryOf(path), folder) << path;
}

TEST_F(FileIoTest, AForkedChildNamesItsTemporaryFilesAfterItself) {
    const std::string parent = TempNamePrefix();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(TempNamePrefix() == ".wordloom-" + std::to_string(::getpid()) + "-" ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child used its parent's id";
    EXPECT_EQ(parent, ".wordloom-" + std::to_string(::getpid()) + "-");
}

TEST_F(FileIoTest, OrphanedTempFilesGoOthersStay) {
    // A process that has ended: its pid names nobody now.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = ".wordloom-" + std::to_string(child) + "-";
    const std::string writeRun = ".wordloom-" + std::to_string(::getpid()) + "-";
    for (const std::string& name :
         {dead + "a1B2c3", dead + "17", writeRun + "Xy9z0q", std::string("Main.dfm"),
          std::string(".wordloom-notes"), dead, dead + "x.txt", ".wordloom-" + std::to_string(child)}) {
        WriteFileAtomically(PathOf(name), "content");
    }
    fs::create_directory(PathOf(dead + "dir"));
    fs::create_symlink(PathOf("Main.dfm"), PathOf(dead + "link"));
    {
        TempFile live(PathOf("Main.dfm"));
        ASSERT_TRUE(live.IsOpen());
        EXPECT_EQ(fs::path(live.Path()).filename().string().rfind(TempNamePrefix(), 0), 0u);
        EXPECT_EQ(TempNamePrefix(), writeRun);

        EXPECT_EQ(RemoveOrphanedTempFiles(m_dir.string() + "/"), 2);
        EXPECT_TRUE(fs::exists(live.Path()));
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(m_dir))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected{writeRun + "Xy9z0q", "Main.dfm",
                                      ".wordloom-notes",   dead,
                                      dead + "x.txt",      ".wordloom-" + std::to_string(child),
                                      dead + "dir",        dead + "link"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    EXPECT_EQ(RemoveOrphanedTempFiles(PathOf("no such folder")), 0);
}

} // namespace
} // namespace wordloom
