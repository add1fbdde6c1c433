// Walking, posting, hooks, deleting and transactions.
#include "strings_db/strings_table.h"
#include "strings_table_test_util.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom::table_test {
namespace {

using test::TableFile;

// ---- walking and record numbers

TEST_P(StringsTableTest, WalkingFlagsAndRecordNumbers) {
    table->SetIndexFieldNames("English");
    table->First();
    EXPECT_TRUE(table->Bof());
    EXPECT_FALSE(table->Eof());
    table->Prior();
    EXPECT_TRUE(table->Bof());
    EXPECT_EQ(table->RecNo(), 0);
    table->Last();
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(table->FieldAsString("English"), "c");
    EXPECT_EQ(table->RecNo(), 4);
    table->Next();
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(table->FieldAsString("English"), "c"); // stays on the last record
    table->SetRecNo(99);
    EXPECT_EQ(table->RecNo(), 4);
    table->SetRecNo(1);
    EXPECT_EQ(table->FieldAsString("English"), "B");
    EXPECT_FALSE(table->Eof());
    EXPECT_THROW(table->FieldAt(5, "English"), DbError);
    EXPECT_THROW(table->FieldAt(-1, "English"), DbError);
    EXPECT_THROW(table->FieldAsString("Klingon"), DbError);
}

TEST_P(StringsTableTest, PostedRecordKeepsItsRowUntilTheViewIsOrderedAgain) {
    table->SetIndexFieldNames("English");
    table->SetRecNo(0); // A
    table->Edit();
    table->SetField("English", "bb");
    table->Post();
    EXPECT_EQ(table->FieldAsString("English"), "bb");
    EXPECT_EQ(table->RecNo(), 0);
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"bb", "B", "a", "b", "c"}));
    EXPECT_EQ(table->RecordCount(), 5);
    // New records still find their place among the others, key searches their records.
    AddRecord(*table, "ab");
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"bb", "B", "a", "ab", "b", "c"}));
    EXPECT_FALSE(table->FindKey("A"));
    ASSERT_TRUE(table->FindKey("bb"));
    EXPECT_EQ(table->RecNo(), 0);
    ASSERT_TRUE(table->FindKey("b"));
    EXPECT_EQ(table->RecNo(), 4);
    // Edited again: still on its row.
    table->SetRecNo(0);
    table->Edit();
    table->SetField("English", "0");
    table->Post();
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"0", "B", "a", "ab", "b", "c"}));
    // Ordering again, even by the same index, puts it in its place; it stays current.
    table->SetIndexFieldNames("English");
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"0", "B", "a", "ab", "b", "c"}));
    table->SetRecNo(3);
    table->Edit();
    table->SetField("English", "zz");
    table->Post();
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"0", "B", "a", "zz", "b", "c"}));
    table->SetIndexFieldNames("English");
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"0", "B", "a", "b", "c", "zz"}));
    EXPECT_EQ(table->FieldAsString("English"), "zz");
    EXPECT_EQ(table->RecNo(), 5);
    EXPECT_EQ(file.Query("SELECT group_concat(English) FROM (SELECT English FROM strings ORDER BY English)"),
              "0,B,a,b,c,zz");
}

TEST_P(StringsTableTest, HooksKeepTheRowNumberAcrossAPost) {
    // What the workbench does around every post: remember the row number, go back to it.
    int saved = -1;
    std::vector<std::string> calls;
    table->SetBeforePost([&](StringsTable& t) {
        calls.push_back("before:" + t.FieldAsString("English"));
        saved = t.RecNo();
    });
    table->SetAfterPost([&](StringsTable& t) {
        calls.push_back("after:" + t.FieldAsString("English"));
        t.SetRecNo(saved);
    });
    table->SetIndexFieldNames("English");
    table->SetRecNo(1); // B
    table->Edit();
    table->SetField("English", "z");
    table->Post();
    EXPECT_EQ(calls, (Texts{"before:z", "after:z"}));
    EXPECT_EQ(table->RecNo(), 1);
    EXPECT_EQ(table->FieldAsString("English"), "z"); // still on its row
}

TEST_P(StringsTableTest, BeforePostHookCanStopTheWrite) {
    table->SetBeforePost([](StringsTable&) { throw DbError("stopped"); });
    table->Insert();
    table->SetField("English", "never");
    EXPECT_THROW(table->Post(), DbError);
    EXPECT_EQ(table->State(), TableState::Insert);
    table->Cancel();
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings WHERE English = 'never'"), "0");
    EXPECT_EQ(table->RecordCount(), 5);
}

TEST_P(StringsTableTest, BeforePostHookThatCancelsStopsThePostQuietly) {
    bool after = false;
    table->SetBeforePost([](StringsTable& t) { t.Cancel(); });
    table->SetAfterPost([&](StringsTable&) { after = true; });
    table->Insert();
    table->SetField("English", "never");
    table->Post();
    EXPECT_FALSE(after);
    EXPECT_EQ(table->State(), TableState::Browse);
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings"), "5");
}

TEST_P(StringsTableTest, MovingPostsAModifiedRecordAndDropsAnUntouchedOne) {
    table->Insert();
    table->First();
    EXPECT_EQ(table->RecordCount(), 5);
    table->Insert();
    table->SetField("English", "d");
    table->First();
    EXPECT_EQ(table->State(), TableState::Browse);
    EXPECT_EQ(table->RecordCount(), 6);
}

TEST_P(StringsTableTest, SetFieldOutsideEditIsAnError) {
    EXPECT_THROW(table->SetField("English", "x"), DbError);
    table->Edit();
    EXPECT_THROW(table->SetField("Klingon", "x"), DbError);
    table->SetField("German", "");
    table->SetField("SpFront", "");
    table->Post();
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings WHERE German IS NULL AND SpFront IS NULL"), "5");
}

TEST_P(StringsTableTest, EditOfARecordDeletedBehindTheTablesBackFails) {
    table->SetIndexFieldNames("English");
    table->First();
    table->Edit();
    table->SetField("German", "Ja");
    file.Exec("DELETE FROM strings WHERE English = 'A'");
    EXPECT_THROW(table->Post(), DbError);
    EXPECT_EQ(table->State(), TableState::Edit);
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings"), "4");
}

TEST_P(StringsTableTest, RefreshShowsWhatAnotherProgramWrote) {
    table->SetIndexFieldNames("English");
    ASSERT_EQ(Walk(*table, "German"), (Texts{"", "", "", "", ""})); // view built, rows cached
    ASSERT_TRUE(table->FindKey("b"));
    file.Exec(
        "INSERT INTO strings (English) VALUES ('aa'); UPDATE strings SET German = 'Ja' WHERE English = 'b'");
    table->Refresh();
    EXPECT_EQ(Walk(*table), (Texts{"A", "B", "a", "aa", "b", "c"}));
    ASSERT_TRUE(table->FindKey("b"));
    EXPECT_EQ(table->FieldAsString("German"), "Ja");
    EXPECT_EQ(table->RecNo(), 4);
}

TEST_P(StringsTableTest, IntegerReadOfATextIsAnError) {
    table->SetIndexFieldNames("English");
    table->First();
    EXPECT_EQ(table->FieldAsInteger("SpFront"), 0); // NULL reads as 0
    EXPECT_THROW(table->FieldAsInteger("English"), DbError);
}

TEST_P(StringsTableTest, DeleteMovesToTheFollowingRecord) {
    table->SetIndexFieldNames("English");
    table->SetRecNo(1); // B
    table->Delete();
    EXPECT_EQ(table->FieldAsString("English"), "a");
    EXPECT_EQ(table->RecNo(), 1);
    EXPECT_FALSE(table->Eof());
    table->Last();
    table->Delete();
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(table->FieldAsString("English"), "b");
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(file.Query("SELECT group_concat(English) FROM (SELECT English FROM strings ORDER BY English)"),
              "A,a,b");
}

TEST_P(StringsTableTest, DeleteEmptyLoopEndsAfterDeletingTheLastRecord) {
    // The delete-empty-strings walk: the last record is empty in German and deleted.
    table->SetIndexFieldNames("English");
    table->SetRecNo(0);
    table->Edit();
    table->SetField("German", "Ja");
    table->Post();
    int steps = 0;
    table->First();
    while (!table->Eof() && ++steps < 100) {
        if (table->FieldAsString("German").empty()) {
            table->Delete();
        } else {
            table->Next();
        }
    }
    EXPECT_LT(steps, 100);
    EXPECT_EQ(Walk(*table), (Texts{"A"}));
}

TEST_P(StringsTableTest, DeleteOnEmptyViewIsAnError) {
    table->SetFilter("Project = 'none'");
    table->SetFiltered(true);
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_THROW(table->Delete(), DbError);
}

// ---- transactions

TEST_P(StringsTableTest, RollbackForgetsThePostedRecords) {
    table->SetIndexFieldNames("English");
    {
        StringsTable::Transaction transaction(*table);
        EXPECT_TRUE(table->InTransaction());
        AddRecord(*table, "d");
        AddRecord(*table, "e");
        EXPECT_EQ(table->RecordCount(), 7);
        EXPECT_THROW(table->BeginTransaction(), DbError);
    }
    EXPECT_FALSE(table->InTransaction());
    EXPECT_EQ(table->RecordCount(), 5);
    EXPECT_EQ(Walk(*table), (Texts{"A", "B", "a", "b", "c"}));
    {
        StringsTable::Transaction transaction(*table);
        AddRecord(*table, "d");
        transaction.Commit();
    }
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings"), "6");
}

TEST_P(StringsTableTest, DeleteEmptyTakesExactlyTheEmptyRecordsAndKeepsTheCurrentOne) {
    table->SetIndexFieldNames("English");
    // German: A, a filled; b holds an empty text (not NULL), the others nothing.
    file.Exec("UPDATE strings SET German = 'x' WHERE English IN ('A', 'a'); "
              "UPDATE strings SET German = '' WHERE English = 'b'; "
              "UPDATE strings SET French = 'f' WHERE English = 'B'");
    table->Refresh();
    table->SetRecNo(2); // a, kept
    EXPECT_EQ(table->DeleteEmpty("German"), 3);
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"A", "a"}));
    EXPECT_EQ(table->FieldAsString("English"), "a");
    EXPECT_EQ(table->RecNo(), 1);
    EXPECT_EQ(file.Query("SELECT group_concat(English) FROM (SELECT English FROM strings ORDER BY English)"),
              "A,a");
    EXPECT_EQ(table->DeleteEmpty("German"), 0);
    EXPECT_THROW(table->DeleteEmpty("Klingon"), DbError);
}

TEST_P(StringsTableTest, DeleteEmptyMovesOnFromADeletedCurrentRecordAndPostsAPendingEdit) {
    table->SetIndexFieldNames("English");
    file.Exec("UPDATE strings SET German = 'x' WHERE English IN ('A', 'c')");
    table->Refresh();
    table->SetRecNo(1); // B, deleted: a and b go too, c follows
    table->Edit();
    table->SetField("French", "pending");
    EXPECT_EQ(table->DeleteEmpty("German"), 3);
    EXPECT_EQ(table->State(), TableState::Browse);
    EXPECT_EQ(table->FieldAsString("English"), "c");
    EXPECT_FALSE(table->Eof());
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings WHERE French = 'pending'"), "0"); // B itself went
    table->SetRecNo(1);
    table->Edit();
    table->SetField("German", ""); // c emptied: the last record goes, the view ends on A
    table->Post();
    EXPECT_EQ(table->DeleteEmpty("German"), 1);
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"A"}));
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(table->FieldAsString("English"), "A");
}

TEST_P(StringsTableFilterTest, DeleteEmptyLeavesRecordsOutsideTheViewAlone) {
    FilterProject("A");
    ASSERT_EQ(Walk(*table), (Texts{"one", "six"}));
    EXPECT_EQ(table->DeleteEmpty("German"), 2);
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_TRUE(table->Eof());
    table->SetFiltered(false);
    EXPECT_EQ(Walk(*table), (Texts{"five", "four", "three", "two"}));
}

TEST(StringsTableDefaults, InsertStartsWithTheColumnDefaults) {
    TableFile file("CREATE TABLE strings (English TEXT, Project TEXT DEFAULT 'Base', SpFront INTEGER "
                   "DEFAULT 0, SpEnd INTEGER);");
    StringsTable table(file.Path());
    table.Insert();
    EXPECT_EQ(table.FieldAsString("Project"), "Base");
    EXPECT_EQ(table.FieldAsString("SpFront"), "0");
    EXPECT_EQ(table.FieldAsString("SpEnd"), "");
}

} // namespace
} // namespace wordloom::table_test
