// Ordering by index, key search, and reading every translation at once.
#include "strings_db/strings_table.h"
#include "strings_table_test_util.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace wordloom::table_test {
namespace {

using test::TableFile;

// ---- ordering and indexes

TEST_P(StringsTableTest, OrderByFieldIsCaseSensitive) {
    table->SetIndexFieldNames("English");
    EXPECT_EQ(table->IndexName(), "English");
    EXPECT_EQ(table->IndexField(), "English");
    EXPECT_EQ(Walk(*table), (Texts{"A", "B", "a", "b", "c"}));
    EXPECT_EQ(ViewByFieldAt(*table), (Texts{"A", "B", "a", "b", "c"}));
}

TEST_P(StringsTableTest, OrderByNameIgnoresCaseAndKeepsInsertOrderForTies) {
    table->SetIndexName("English2");
    EXPECT_EQ(table->IndexField(), "English");
    EXPECT_EQ(table->IndexFieldNames(), "");
    EXPECT_EQ(Walk(*table), (Texts{"a", "A", "b", "B", "c"}));
}

TEST_P(StringsTableTest, OrderByIntegerField) {
    table->First();
    table->Edit();
    table->SetFieldInt("SpFront", 10);
    table->Post();
    table->SetRecNo(1);
    table->Edit();
    table->SetField("SpFront", "2"); // text into an integer column is stored as a number
    table->Post();
    table->SetIndexFieldNames("SpFront");
    EXPECT_EQ(Walk(*table, "SpFront"), (Texts{"", "", "", "2", "10"}));
    table->Last();
    EXPECT_EQ(table->FieldAsInteger("SpFront"), 10);
}

TEST_P(StringsTableTest, MissingIndexIsAnErrorAndKeepsTheOrder) {
    table->SetIndexFieldNames("English");
    try {
        table->SetIndexName("Klingon2");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_STREQ(e.what(), "Index not found: Klingon2");
    }
    EXPECT_EQ(table->IndexName(), "English");
    EXPECT_EQ(Walk(*table), (Texts{"A", "B", "a", "b", "c"}));
}

TEST(StringsTableIndex, FieldWithoutIndexIsAnError) {
    TableFile file("CREATE TABLE strings (English TEXT, German TEXT, Project TEXT, SpFront INTEGER, "
                   "SpEnd INTEGER); CREATE INDEX English ON strings (English);");
    StringsTable table(file.Path());
    EXPECT_NO_THROW(table.SetIndexFieldNames("English"));
    try {
        table.SetIndexFieldNames("German");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_STREQ(e.what(), "Index not found: German");
    }
    EXPECT_THROW(table.SetIndexName("English2"), DbError);
}

TEST(StringsTableIndex, IndexNamedOtherwiseAndDescendingIsFound) {
    TableFile file("CREATE TABLE strings (English TEXT, Project TEXT, SpFront INTEGER, SpEnd INTEGER);"
                   "CREATE INDEX ByEnglishDown ON strings (English DESC);");
    StringsTable table(file.Path());
    for (const char* text : {"b", "c", "a"}) {
        AddRecord(table, text);
    }
    table.SetIndexFieldNames("English");
    EXPECT_EQ(table.IndexName(), "ByEnglishDown");
    EXPECT_EQ(Walk(table), (Texts{"c", "b", "a"}));
    // Posting keeps a descending order too.
    AddRecord(table, "bb");
    EXPECT_EQ(ViewByFieldAt(table), (Texts{"c", "bb", "b", "a"}));
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_P(StringsTableTest, KeySearchFollowsTheIndexCollation) {
    table->SetIndexFieldNames("English");
    table->SetRecNo(4);
    EXPECT_FALSE(table->FindKey("C"));
    EXPECT_EQ(table->RecNo(), 4); // cursor unchanged
    EXPECT_TRUE(table->FindKey("a"));
    EXPECT_EQ(table->FieldAsString("English"), "a");
    EXPECT_EQ(table->RecNo(), 2);

    table->SetIndexName("English2");
    EXPECT_TRUE(table->FindKey("C"));
    EXPECT_EQ(table->FieldAsString("English"), "c");
    EXPECT_TRUE(table->FindKey("B")); // first of b and B in the order: b came first
    EXPECT_EQ(table->FieldAsString("English"), "b");
    EXPECT_EQ(table->RecNo(), 2);
}

TEST_P(StringsTableTest, KeySearchNeedsAnIndex) {
    EXPECT_THROW(table->FindKey("a"), DbError);
}

TEST_P(StringsTableTest, KeySearchSeesOnlyFilteredRecords) {
    AddRecord(*table, "a", "Other");
    table->SetIndexFieldNames("English");
    table->SetFilter("Project = 'Other'");
    table->SetFiltered(true);
    ASSERT_TRUE(table->FindKey("a"));
    EXPECT_EQ(table->FieldAsString("Project"), "Other");
    EXPECT_EQ(table->RecNo(), 0);
    EXPECT_FALSE(table->FindKey("b"));
}

TEST_P(StringsTableTest, ReorderingKeepsTheCurrentRecord) {
    table->SetIndexFieldNames("English");
    ASSERT_TRUE(table->FindKey("b"));
    table->SetIndexName("English2");
    EXPECT_EQ(table->FieldAsString("English"), "b");
    EXPECT_EQ(table->RecNo(), 2);
}

// ---- reading all translations at once

TEST(StringsTableTranslations, FirstRecordInTheIndexOrderWinsForEachText) {
    TableFile file;
    file.Exec("INSERT INTO strings (rowid, English, German, Project, SpFront, SpEnd) VALUES "
              "(1, 'ok', 'gut', 'P', 0, 0), (2, 'OK', 'Gut', 'P', 1, 0), (3, 'OK', 'Anders', 'P', 0, 0), "
              "(4, NULL, 'Nichts', 'P', 0, 0), (5, '', 'Leer', 'P', 0, 0), "
              "(6, 'Cancel', NULL, 'P', 'not a number', 0), (7, 'Padded', 'Gepolstert', 'Other', 2, 1)");
    StringsTable table(file.Path());
    // A filter that hides most records does not apply; neither does letter case, index or not.
    table.SetFilter("Project = 'Other'");
    table.SetFiltered(true);
    for (const std::string index : {"English", "English2"}) {
        table.SetIndexName(index);
        const auto translations = table.ReadTranslations("german");
        std::vector<std::tuple<std::string, std::string, long long, long long>> found;
        for (const auto& [key, translation] : translations)
            found.emplace_back(key, translation.text, translation.spFront, translation.spEnd);
        std::sort(found.begin(), found.end());
        // Cancel has no translation: its blank counts are not read (one is no number).
        const std::vector<std::tuple<std::string, std::string, long long, long long>> expected{
            {"Cancel", "", 0, 0}, {"OK", "Gut", 1, 0}, {"Padded", "Gepolstert", 2, 1}, {"ok", "gut", 0, 0}};
        EXPECT_EQ(found, expected) << index;
    }
}

TEST(StringsTableTranslations, FailuresAreDbErrors) {
    TableFile file;
    file.Exec("INSERT INTO strings (English, German, SpFront, SpEnd) VALUES ('Hello', 'Hallo', 'x', 0)");
    StringsTable table(file.Path());
    EXPECT_THROW(table.ReadTranslations("German"), DbError); // no index selected
    table.SetIndexFieldNames("English");
    EXPECT_THROW(table.ReadTranslations("Klingon"), DbError);
    EXPECT_THROW(table.ReadTranslations("German"), DbError); // a blank count that is no number
    file.Exec("UPDATE strings SET SpFront = 3");
    const auto translations = table.ReadTranslations("German");
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations.at("Hello").spFront, 3);
}

} // namespace
} // namespace wordloom::table_test
