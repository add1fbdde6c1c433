// Batches of new records: held, found by key, stored together in key order.
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom {
namespace {

using test::TableFile;

// English holds no "Refused" and no "Other refused"; the key index compares letter case or not.
std::string Schema(const char* keyCollation) {
    return std::string("CREATE TABLE strings (English TEXT CHECK (English NOT LIKE '%Refused'), German TEXT, "
                       "Project TEXT, SpFront INTEGER, SpEnd INTEGER); "
                       "CREATE INDEX English ON strings (English COLLATE ") +
           keyCollation + "); CREATE INDEX German ON strings (German);";
}

class Batch : public ::testing::Test {
protected:
    explicit Batch(const char* keyCollation = "BINARY") : file(Schema(keyCollation)) {
        table = std::make_unique<StringsTable>(file.Path());
        table->SetIndexFieldNames("English");
    }
    bool Add(const char* raw) { return AddString(*table, "English", std::string_view(raw), "P"); }
    /// What another connection sees, in the order stored.
    std::string Stored() const {
        return file.Query("SELECT coalesce(group_concat(English, ','), '') FROM (SELECT English FROM strings "
                          "ORDER BY rowid)");
    }
    TableFile file;
    std::unique_ptr<StringsTable> table;
};

TEST_F(Batch, HeldRecordsAreFoundAndStoredTogetherInKeyOrder) {
    table->BeginBatch();
    EXPECT_TRUE(Add("Zebra"));
    EXPECT_TRUE(Add(" Apple "));
    EXPECT_FALSE(Add("Zebra ")); // found among the held ones
    EXPECT_TRUE(table->FindKey("Apple"));
    EXPECT_EQ(table->BatchPosts(), 2u);
    EXPECT_EQ(Stored(), "");
    table->EndBatch();
    EXPECT_EQ(Stored(), "Apple,Zebra");
    EXPECT_EQ(table->FieldAsString("English"), "Zebra"); // the last one stored
    EXPECT_EQ(file.Query("SELECT SpFront || SpEnd FROM strings WHERE English = 'Apple'"), "11");
    EXPECT_TRUE(table->TakeBatchFailures().empty());
}

TEST_F(Batch, ReadingOrCommittingStoresWhatIsHeld) {
    table->BeginBatch();
    Add("One");
    EXPECT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(Stored(), "One");
    table->BeginTransaction();
    Add("Two");
    table->Commit();
    EXPECT_EQ(Stored(), "One,Two");
    EXPECT_TRUE(table->InBatch());
}

TEST_F(Batch, RecordRefusedWhenStoredIsNotedByItsPostAndTheOthersAreKept) {
    table->BeginBatch();
    Add("Good");
    EXPECT_TRUE(Add("Refused")); // held: the table has not seen it yet
    Add("Fine");
    Add("Other refused");
    table->EndBatch();
    EXPECT_EQ(Stored(), "Fine,Good");
    const std::vector<BatchFailure> failures = table->TakeBatchFailures();
    ASSERT_EQ(failures.size(), 2u);
    // Stored in key order: "Other refused" before "Refused".
    EXPECT_EQ(failures[0].post, 3u);
    EXPECT_EQ(failures[1].post, 1u);
    EXPECT_NE(failures[0].message.find("CHECK"), std::string::npos) << failures[0].message;
    EXPECT_TRUE(table->TakeBatchFailures().empty());
    EXPECT_FALSE(table->FindKey("Refused"));
}

TEST_F(Batch, RollbackDropsTheHeldRecords) {
    table->BeginTransaction();
    table->BeginBatch();
    Add("Gone");
    table->Rollback();
    EXPECT_FALSE(table->FindKey("Gone"));
    table->EndBatch();
    EXPECT_EQ(Stored(), "");
}

TEST_F(Batch, WithPostHooksEachRecordIsStoredAtItsPost) {
    std::vector<std::string> seen;
    table->SetBeforePost([&](StringsTable& t) { seen.push_back("before " + t.FieldAsString("English")); });
    table->SetAfterPost([&](StringsTable& t) {
        seen.push_back("after " + t.FieldAsString("English") + " " + std::to_string(t.RecordCount()));
    });
    table->BeginBatch();
    Add("Beta");
    EXPECT_EQ(Stored(), "Beta");
    Add("Alpha");
    table->EndBatch();
    EXPECT_EQ(seen,
              (std::vector<std::string>{"before Beta", "after Beta 1", "before Alpha", "after Alpha 2"}));
}

TEST_F(Batch, WithAFilterOnRecordsAreStoredAtOnce) {
    table->SetFilter("Project = 'P'");
    table->SetFiltered(true);
    table->BeginBatch();
    Add("Now");
    EXPECT_EQ(Stored(), "Now");
    EXPECT_FALSE(Add("Now"));
    table->EndBatch();
    EXPECT_EQ(Stored(), "Now");
}

// A batch that began on an empty table answers key searches from what it stored itself, as long
// as nothing else wrote to the table.
TEST_F(Batch, RecordsStoredByEarlierCommitsAreFoundAndBecomeCurrent) {
    table->BeginBatch();
    table->BeginTransaction();
    EXPECT_TRUE(Add("Alpha"));
    EXPECT_TRUE(Add("Beta"));
    table->Commit();
    table->BeginTransaction();
    EXPECT_FALSE(Add(" Alpha "));
    EXPECT_TRUE(table->FindKey("Beta"));
    EXPECT_EQ(table->FieldAsString("English"), "Beta");
    EXPECT_FALSE(table->FindKey("Gamma"));
    table->Commit();
    table->EndBatch();
    EXPECT_EQ(Stored(), "Alpha,Beta");
}

TEST_F(Batch, RecordsAnotherProgramStoresBetweenCommitsAreFound) {
    table->BeginBatch();
    table->BeginTransaction();
    Add("Alpha");
    table->Commit();
    file.Exec("INSERT INTO strings (English, Project) VALUES ('Foreign', 'Q')");
    table->BeginTransaction();
    EXPECT_FALSE(Add("Foreign"));
    EXPECT_FALSE(Add("Alpha"));
    EXPECT_TRUE(Add("Omega"));
    table->Commit();
    table->EndBatch();
    EXPECT_EQ(Stored(), "Alpha,Foreign,Omega");
}

TEST_F(Batch, RecordsOfATableThatWasNotEmptyAreFound) {
    file.Exec("INSERT INTO strings (English, Project) VALUES ('Old', 'Q')");
    table->BeginBatch();
    table->BeginTransaction();
    EXPECT_FALSE(Add("Old"));
    EXPECT_TRUE(Add("New"));
    table->Commit();
    table->EndBatch();
    EXPECT_EQ(Stored(), "Old,New");
}

TEST_F(Batch, ARecordDeletedOrRolledBackIsNotFoundAgain) {
    table->BeginBatch();
    table->BeginTransaction();
    Add("Alpha");
    Add("Beta");
    table->Commit();
    table->BeginTransaction();
    ASSERT_TRUE(table->FindKey("Alpha"));
    table->Delete();
    EXPECT_FALSE(table->FindKey("Alpha"));
    table->Commit();
    table->BeginTransaction();
    Add("Gamma");
    EXPECT_EQ(table->RecordCount(), 2); // stored, inside the transaction
    table->Rollback();
    table->BeginTransaction();
    EXPECT_FALSE(table->FindKey("Gamma"));
    EXPECT_TRUE(Add("Alpha"));
    table->Commit();
    table->EndBatch();
    EXPECT_EQ(Stored(), "Beta,Alpha");
}

class BatchIgnoringCase : public Batch {
protected:
    BatchIgnoringCase() : Batch("NOCASE") {}
};

TEST_F(BatchIgnoringCase, HeldKeysCompareAsTheKeyIndexDoes) {
    table->BeginBatch();
    EXPECT_TRUE(Add("Save"));
    EXPECT_FALSE(Add("SAVE"));
    EXPECT_TRUE(table->FindKey("save"));
    table->EndBatch();
    EXPECT_EQ(Stored(), "Save");
}

TEST_F(BatchIgnoringCase, StoredKeysCompareAsTheKeyIndexDoes) {
    table->BeginBatch();
    table->BeginTransaction();
    Add("Save");
    table->Commit();
    table->BeginTransaction();
    EXPECT_FALSE(Add("SAVE"));
    EXPECT_TRUE(Add("Saved"));
    table->Commit();
    table->EndBatch();
    EXPECT_EQ(Stored(), "Save,Saved");
}

} // namespace
} // namespace wordloom
