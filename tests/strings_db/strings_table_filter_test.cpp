// The filter: the expression, its letter-case option and the per-record test.
#include "strings_db/strings_table.h"
#include "strings_table_test_util.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom::table_test {
namespace {

using test::TableFile;

// ---- filter

TEST_P(StringsTableFilterTest, ProjectFilterShowsExactlyThatProject) {
    FilterProject("A");
    EXPECT_EQ(Walk(*table), (Texts{"one", "six"}));
    EXPECT_EQ(table->RecordCount(), 2);
    FilterProject("B");
    EXPECT_EQ(Walk(*table), (Texts{"two"}));
    table->SetFiltered(false);
    EXPECT_EQ(table->RecordCount(), 6);
}

TEST_P(StringsTableFilterTest, CaseInsensitiveOptionAloneMatchesBothSpellings) {
    table->SetFilter("Project = 'a'");
    table->SetFiltered(true);
    EXPECT_EQ(Walk(*table), (Texts{"three"}));
    table->SetFilterCaseInsensitive(true);
    EXPECT_EQ(Walk(*table), (Texts{"one", "six", "three"}));
}

TEST_P(StringsTableFilterTest, ProjectNameWithApostrophe) {
    FilterProject("O'Neil");
    EXPECT_EQ(Walk(*table), (Texts{"five"}));
    EXPECT_EQ(Walk(*table, "Project"), (Texts{"O'Neil"}));
}

TEST_P(StringsTableFilterTest, ValueThatLooksLikeSqlIsJustAValue) {
    FilterProject("x' OR '1'='1");
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings"), "6");
}

TEST_P(StringsTableFilterTest, MalformedExpressionsAreErrors) {
    for (const char* bad :
         {"Project", "Project = A", "Project = 'A", "Klingon = 'A'", "= 'A'", "Project = '"}) {
        EXPECT_THROW(table->SetFilter(bad), DbError) << bad;
    }
    table->SetFilter("  ");
    table->SetFiltered(true);
    EXPECT_EQ(table->RecordCount(), 6);
}

TEST_P(StringsTableFilterTest, PerRecordTestAlone) {
    table->SetFilterRecord([](const StringsTable& t) { return t.FieldAsString("English").size() == 3; });
    table->SetFiltered(true);
    EXPECT_EQ(Walk(*table), (Texts{"one", "six", "two"}));
}

TEST_P(StringsTableFilterTest, PostedRecordLeavesOrJoinsTheView) {
    FilterProject("A");
    ASSERT_EQ(Walk(*table), (Texts{"one", "six"}));
    table->First();
    table->Edit();
    table->SetField("Project", "B");
    table->Post();
    EXPECT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(table->FieldAsString("English"), "six"); // the record that followed
    AddRecord(*table, "nine", "A");
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"nine", "six"}));
    EXPECT_EQ(table->FieldAsString("English"), "nine");
    AddRecord(*table, "ten", "C");
    EXPECT_EQ(table->RecordCount(), 2);
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings"), "8");
}

TEST_P(StringsTableFilterTest, FilterTestThatThrowsLeavesTheTableUsable) {
    table->SetFilterRecord([](const StringsTable&) -> bool { throw DbError("broken test"); });
    table->SetFiltered(true);
    EXPECT_THROW(table->RecordCount(), DbError);
    table->SetFiltered(false);
    EXPECT_EQ(table->RecordCount(), 6);
    EXPECT_EQ(table->FieldAsString("English"), "six"); // still the record that was current
}

TEST_P(StringsTableFilterTest, FilterTestThatMovesTheCursorIsAnErrorNotARecursion) {
    table->SetFilterRecord([](const StringsTable& t) { return t.RecNo() >= 0; });
    table->SetFiltered(true);
    EXPECT_THROW(table->RecordCount(), DbError);
}

} // namespace
} // namespace wordloom::table_test
