// Opening the strings table: files (SQLite), and the shipped schema on each backend.
#include "strings_db/strings_table.h"
#include "strings_table_test_util.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace wordloom::table_test {
namespace {

using test::TableFile;

// ---- opening

using StringsTableOpenOn = OnBackend;

TEST_P(StringsTableOpenOn, ShippedSchemaFieldsInTableOrderWithKinds) {
    StringsTable table(file.Path());
    std::vector<std::pair<std::string, FieldKind>> fields;
    for (const FieldDef& f : table.Fields()) {
        fields.emplace_back(f.name, f.kind);
    }
    std::vector<std::pair<std::string, FieldKind>> expected = {
        {"English", FieldKind::Alpha},   {"German", FieldKind::Alpha},  {"French", FieldKind::Alpha},
        {"Spanish", FieldKind::Alpha},   {"Italian", FieldKind::Alpha}, {"Project", FieldKind::Alpha},
        {"SpFront", FieldKind::Integer}, {"SpEnd", FieldKind::Integer}};
    EXPECT_EQ(fields, expected);
    EXPECT_EQ(table.Languages(), (Texts{"English", "German", "French", "Spanish", "Italian"}));
    EXPECT_TRUE(table.HasField("spfront"));
    EXPECT_FALSE(table.HasField("Klingon"));
    EXPECT_FALSE(table.ReadOnly());
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_TRUE(table.Eof());
}

TEST(StringsTableOpen, LanguagesAreTheTextFieldsInTableOrderButTheBookkeepingOnes) {
    TableFile file("CREATE TABLE strings (English TEXT, German VARCHAR(255), SpFront INTEGER, "
                   "French TEXT, SpEnd INTEGER, Project TEXT);");
    StringsTable table(file.Path());
    EXPECT_EQ(table.Languages(), (Texts{"English", "German", "French"}));
    // Project first, and the blank counts declared as text: still no languages.
    TableFile odd("CREATE TABLE strings (project TEXT, Dutch TEXT, SPFRONT TEXT, spend VARCHAR(9));");
    EXPECT_EQ(StringsTable(odd.Path()).Languages(), (Texts{"Dutch"}));
}

TEST(StringsTableOpen, MissingFileIsAnErrorAndNothingIsCreated) {
    TableFile file("");
    std::string path = (file.Folder() / "nothing.db").string();
    try {
        StringsTable table(path);
        FAIL() << "opened a missing file";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(StringsTableOpen, FileWithoutStringsTableIsAnError) {
    TableFile file("CREATE TABLE other (English TEXT);");
    EXPECT_THROW(StringsTable table(file.Path()), DbError);
    // Opening altered nothing: still only the other table.
    EXPECT_EQ(file.Query("SELECT group_concat(name) FROM sqlite_master"), "other");
}

TEST(StringsTableOpen, FolderIsAnError) {
    TableFile file("");
    EXPECT_THROW(StringsTable table(file.Folder().string()), DbError);
}

TEST(StringsTableOpen, FileThatIsNoDatabaseIsAnError) {
    TableFile file("");
    {
        std::ofstream out(file.Path());
        out << "This is a text file, long enough to fill a header of one hundred bytes or so, "
               "so that the engine reads it and finds it is no database at all.";
    }
    EXPECT_THROW(StringsTable table(file.Path()), DbError);
}

TEST_P(StringsTableOpenOn, ReadOnlyModeRefusesWritesAndKeepsTheData) {
    file.Exec("INSERT INTO strings (English, Project) VALUES ('Open', 'P')");
    StringsTable table(file.Path(), OpenMode::ReadOnly);
    EXPECT_TRUE(table.ReadOnly());
    ASSERT_EQ(table.RecordCount(), 1);
    table.Insert();
    table.SetField("English", "Close");
    EXPECT_THROW(table.Post(), DbError);
    EXPECT_EQ(table.State(), TableState::Insert); // the typed record is not lost
    table.Cancel();
    EXPECT_THROW(table.Delete(), DbError);
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings"), "1");
    EXPECT_EQ(table.FieldAsString("English"), "Open");
}

TEST(StringsTableOpen, FileWithoutWritePermissionOpensReadOnly) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions are not enforced";
    }
    TableFile file;
    file.Exec("PRAGMA journal_mode=DELETE");
    std::filesystem::permissions(file.Path(), std::filesystem::perms::owner_read);
    StringsTable table(file.Path());
    EXPECT_TRUE(table.ReadOnly());
    table.Insert();
    table.SetField("English", "Close");
    EXPECT_THROW(table.Post(), DbError);
}

TEST(StringsTableOpen, UnreadableFileIsAnError) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions are not enforced";
    }
    TableFile file;
    std::filesystem::permissions(file.Path(), std::filesystem::perms::none);
    EXPECT_THROW(StringsTable table(file.Path()), DbError);
}

// The table the build makes from data/strings.sql: every index the workbench selects is there.
TEST(StringsTableShipped, BuiltTableOffersEveryIndexTheWorkbenchSelects) {
    std::string built = std::string(WORDLOOM_BINARY_DIR) + "/data/strings.db";
    ASSERT_TRUE(std::filesystem::exists(built)) << "the build did not make " << built;
    // A copy: even a reading connection leaves its side files beside a WAL table.
    TableFile file("");
    std::filesystem::copy_file(built, file.Path());
    StringsTable table(file.Path());
    EXPECT_EQ(table.RecordCount(), 0);
    for (const std::string& language : table.Languages()) {
        table.SetIndexFieldNames(language);
        EXPECT_EQ(table.IndexName(), language);
        table.SetIndexName(language + "2");
        EXPECT_EQ(table.IndexField(), language);
    }
    for (const char* field : {"Project", "SpFront", "SpEnd"}) {
        table.SetIndexFieldNames(field);
        EXPECT_EQ(table.IndexName(), field);
    }
}

// Every suite of the strings table runs on each backend.
INSTANTIATE_TEST_SUITE_P(Backends, StringsTableOpenOn, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         test::BackendName());
INSTANTIATE_TEST_SUITE_P(Backends, StringsTableTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         test::BackendName());
INSTANTIATE_TEST_SUITE_P(Backends, StringsTableFilterTest,
                         ::testing::Values(Backend::Sqlite, Backend::Postgres), test::BackendName());

} // namespace
} // namespace wordloom::table_test
