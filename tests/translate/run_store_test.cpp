// The run store keeping originals: second names of the replaced files where it can, copies
// elsewhere, and neither ever changed by the replacement that follows.
#include "base/source_file.h"
#include "support/file_read.h"
#include "support/temp_dir.h"
#include "translate/content_hash.h"
#include "translate/file_replace.h"
#include "translate/run_store.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {
namespace {

struct stat StatusOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

int CrossDeviceLink(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

class RunStoreTest : public ::testing::Test {
protected:
    void TearDown() override { SetStoreLinkForTesting(nullptr); }

    /// Keeps the original of `name` as a translation run does: read under its lock, then kept.
    std::string KeepOriginal(RunStore& store, const std::string& name, bool soleName = true) {
        SourceFile file(dir.FilePath(name), FileAccess::ReadWrite);
        const std::string content = file.ReadAll();
        return store.KeepReplaced(file.Path(), TakeSnapshot(file), soleName, content, Sha256Hex(content));
    }
    std::string ObjectPath(const std::string& relative) const { return dir.Path() + "/" + relative; }

    TempDir dir;
};

TEST_F(RunStoreTest, AnOriginalKeptAsSecondNameSurvivesItsReplacementUnchanged) {
    const std::string path = dir.Write("Main.pas", "const S = 'Open';\r\n");
    RunStore store(dir.Path() + "/");
    const std::string relative = KeepOriginal(store, "Main.pas");
    EXPECT_EQ(relative, kRunStoreFolder + Sha256Hex("const S = 'Open';\r\n").substr(0, 2) + "/" +
                            Sha256Hex("const S = 'Open';\r\n"));
    EXPECT_EQ(StatusOf(ObjectPath(relative)).st_ino, StatusOf(path).st_ino) << "nothing was copied";

    ReplaceFileContent(path, "const S = 'Offen';\r\n");
    EXPECT_EQ(ReadBytes(path), "const S = 'Offen';\r\n");
    EXPECT_EQ(store.Read(relative), "const S = 'Open';\r\n");
    EXPECT_EQ(StatusOf(ObjectPath(relative)).st_nlink, 1u);
    // The same original again is found kept.
    dir.Write("Other.pas", "const S = 'Open';\r\n");
    EXPECT_EQ(KeepOriginal(store, "Other.pas"), relative);
}

TEST_F(RunStoreTest, WhereNoSecondNameCanBeMadeTheOriginalIsCopied) {
    const std::string path = dir.Write("Main.pas", "old");
    const std::string other = dir.Write("Shared.pas", "shared");
    ASSERT_EQ(::link(other.c_str(), dir.FilePath("Linked.pas").c_str()), 0);
    const std::string linkPath = dir.FilePath("Link.pas");
    ASSERT_EQ(::symlink(path.c_str(), linkPath.c_str()), 0);
    RunStore store(dir.Path() + "/");

    SetStoreLinkForTesting(CrossDeviceLink); // the store on another file system
    const std::string copied = KeepOriginal(store, "Main.pas");
    SetStoreLinkForTesting(nullptr);
    EXPECT_NE(StatusOf(ObjectPath(copied)).st_ino, StatusOf(path).st_ino);
    ReplaceFileContent(path, "new");
    EXPECT_EQ(store.Read(copied), "old");

    // A file with another name: whoever writes through that name must not change the store.
    const std::string shared = KeepOriginal(store, "Shared.pas", StatusOf(other).st_nlink == 1);
    EXPECT_NE(StatusOf(ObjectPath(shared)).st_ino, StatusOf(other).st_ino);

    // Through a symbolic link, the file it names is kept, never the link.
    const std::string followed = KeepOriginal(store, "Link.pas");
    EXPECT_EQ(StatusOf(ObjectPath(followed)).st_ino, StatusOf(path).st_ino);
    EXPECT_EQ(store.Read(followed), "new");
}

TEST_F(RunStoreTest, AFileReplacedAfterItsReadingIsCopiedAsRead) {
    const std::string path = dir.Write("Main.pas", "as read");
    RunStore store(dir.Path() + "/");
    SourceFile file(path, FileAccess::ReadWrite);
    const std::string content = file.ReadAll();
    const FileSnapshot snapshot = TakeSnapshot(file);
    ReplaceFileContent(path, "replaced!"); // by someone else, before the original is kept
    const std::string relative = store.KeepReplaced(path, snapshot, true, content, Sha256Hex(content));
    EXPECT_EQ(store.Read(relative), "as read");
    EXPECT_NE(StatusOf(ObjectPath(relative)).st_ino, StatusOf(path).st_ino);
}

TEST_F(RunStoreTest, SecondNamesGoWithTheStoreUnlessTheReplacementWentThrough) {
    dir.Write("Linked.pas", "linked");
    dir.Write("Settled.pas", "settled");
    std::string linked;
    std::string copied;
    std::string settled;
    {
        RunStore store(dir.Path() + "/");
        linked = KeepOriginal(store, "Linked.pas");
        copied = store.Keep("copied", Sha256Hex("copied"));
        store.Sync();
    }
    EXPECT_FALSE(std::filesystem::exists(ObjectPath(linked)));
    EXPECT_EQ(ReadBytes(dir.FilePath("Linked.pas")), "linked");
    EXPECT_EQ(RunStore(dir.Path() + "/").Read(copied), "copied");
    {
        RunStore store(dir.Path() + "/");
        settled = KeepOriginal(store, "Settled.pas");
        store.KeepLinks();
    }
    EXPECT_EQ(RunStore(dir.Path() + "/").Read(settled), "settled");
}

TEST_F(RunStoreTest, AnObjectWrittenInPlaceThroughItsOtherNameIsKeptAnew) {
    const std::string path = dir.Write("Main.pas", "original");
    RunStore store(dir.Path() + "/");
    const std::string relative = KeepOriginal(store, "Main.pas");
    store.KeepLinks();
    // The file was not replaced after all, and an editor saves it in place, as long as before.
    {
        std::ofstream out(path, std::ios::binary | std::ios::in | std::ios::out);
        out << "ORIGINAL";
    }
    dir.Write("Copy.pas", "original");
    EXPECT_EQ(KeepOriginal(store, "Copy.pas"), relative);
    EXPECT_EQ(store.Read(relative), "original");
    EXPECT_EQ(ReadBytes(path), "ORIGINAL");
}

} // namespace
} // namespace wordloom
