#include "base/errors.h"
#include "base/project.h"
#include "base/source_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {
namespace {

TEST(SourceFile, ReadsTheWholeFileByteForByte) {
    TempDir dir;
    std::string content("line\r\n\0\xFF", 8);
    content += std::string(200000, 'x');
    const std::string path = dir.Write("Main.dfm", content);
    EXPECT_EQ(ReadSourceFile(path), content);
}

TEST(SourceFile, ReadsFromTheStartWhateverTheFileDidSinceOpening) {
    TempDir dir;
    const std::string path = dir.Write("Unit1.pas", "unit Unit1;");
    SourceFile file(path, FileAccess::ReadWrite);
    EXPECT_EQ(file.ReadAll(), "unit Unit1;");
    // Grown beyond the size seen at opening, and the descriptor's offset moved.
    const std::string longer = "unit Unit1;\r\n" + std::string(100000, 'y');
    ASSERT_EQ(::pwrite(file.Descriptor(), longer.data(), longer.size(), 0),
              static_cast<ssize_t>(longer.size()));
    ASSERT_EQ(::lseek(file.Descriptor(), 5, SEEK_SET), 5);
    EXPECT_EQ(file.ReadAll(), longer);
    ASSERT_EQ(::ftruncate(file.Descriptor(), 4), 0);
    EXPECT_EQ(file.ReadAll(), "unit");
    EXPECT_EQ(file.OpenedSnapshot().size, 11);
}

TEST(SourceFile, MissingFileFailsWithItsName) {
    TempDir dir;
    const std::string path = dir.Path() + "/None.pas";
    try {
        ReadSourceFile(path);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
    }
}

TEST(SourceFile, FileLockedElsewhereCannotBeOpened) {
    TempDir dir;
    const std::string path = dir.Write("Unit1.pas", "unit Unit1;");
    const int other = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);
    EXPECT_THROW(SourceFile(path, FileAccess::Read), FileError);
    EXPECT_THROW(SourceFile(path, FileAccess::ReadWrite), FileError);
    ::close(other);
    EXPECT_NO_THROW(SourceFile(path, FileAccess::Read));
}

TEST(SourceFile, OneOpenFileLocksOutTheNext) {
    TempDir dir;
    const std::string path = dir.Write("Unit1.pas", "unit Unit1;");
    {
        SourceFile first(path, FileAccess::Read);
        EXPECT_THROW(SourceFile(path, FileAccess::Read), FileError);
    }
    EXPECT_NO_THROW(SourceFile(path, FileAccess::ReadWrite));
}

TEST(SourceFile, ReadOnlyFileCannotBeOpenedForWriting) {
    TempDir dir;
    const std::string path = dir.Write("Main.dfm", "object Form1: TForm1\r\nend\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_THROW(SourceFile(path, FileAccess::ReadWrite), FileError);
    EXPECT_EQ(ReadSourceFile(path), "object Form1: TForm1\r\nend\r\n");
}

TEST(SourceFile, DirectoryIsNoSourceFile) {
    TempDir dir;
    EXPECT_THROW(SourceFile(dir.Path(), FileAccess::Read), FileError);
}

TEST(Wildcard, MatchesLikeTheDirectorySearch) {
    EXPECT_TRUE(WildcardMatch("*.dfm", "Main.dfm"));
    EXPECT_TRUE(WildcardMatch("*.dfm", "MAIN.DFM"));
    EXPECT_TRUE(WildcardMatch("*.dfm", ".dfm"));
    EXPECT_TRUE(WildcardMatch("*.dfm", "a.b.dfm"));
    EXPECT_FALSE(WildcardMatch("*.dfm", "Main.dfm~"));
    EXPECT_FALSE(WildcardMatch("*.dfm", "Main.~df"));
    EXPECT_FALSE(WildcardMatch("*.pas", "Main.dfm"));
    EXPECT_TRUE(WildcardMatch("Unit?.pas", "unit1.PAS"));
    EXPECT_FALSE(WildcardMatch("Unit?.pas", "Unit12.pas"));
    EXPECT_TRUE(WildcardMatch("*a*b*", "xxaxxbxx"));
}

TEST(ListFiles, ListsMatchingRegularFilesOfOneFolderOnly) {
    TempDir dir;
    dir.Write("Main.dfm", "");
    dir.Write("ABOUT.DFM", "");
    dir.Write("Main.pas", "");
    dir.Write("Sub/Inner.dfm", "");
    ASSERT_EQ(::mkdir((dir.Path() + "/Folder.dfm").c_str(), 0755), 0);
    std::vector<std::string> forms = ListFiles(dir.Path(), "*.dfm");
    std::sort(forms.begin(), forms.end());
    EXPECT_EQ(forms, (std::vector<std::string>{"ABOUT.DFM", "Main.dfm"}));
    EXPECT_TRUE(ListFiles(dir.Path() + "/missing", "*.dfm").empty());
}

TEST(Project, DirectoryAndNameFromThePath) {
    EXPECT_EQ(ProjectDirectory("/work/Demo.dpr"), "/work/");
    EXPECT_EQ(ProjectNameFromPath("/work/Demo.dpr"), "Demo");
    EXPECT_EQ(ProjectNameFromPath("/work/My.App.dpr"), "My");
    EXPECT_EQ(ProjectNameFromPath("/work/dir/"), "");
    EXPECT_EQ(ProjectDirectory("/work/dir/"), "/work/dir/");
    EXPECT_EQ(ProjectDirectory(""), "/");
    EXPECT_EQ(ProjectNameFromPath(""), "");
    EXPECT_EQ(ProjectDirectory("Demo.dpr"), "/");
    EXPECT_EQ(ProjectDirectory("/Demo.dpr"), "/");
    EXPECT_EQ(ProjectDirectory("a//Demo.dpr"), "a/");
    EXPECT_EQ(ProjectNameFromPath("/w.x/Demo"), "Demo");
}

} // namespace
} // namespace wordloom
