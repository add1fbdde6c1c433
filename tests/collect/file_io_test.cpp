#include "collect/errors.h"
#include "collect/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("wordloom-file-io-" + std::to_string(::getpid()) + "-" +
                                             testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    fs::path m_dir;
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

} // namespace
} // namespace wordloom
