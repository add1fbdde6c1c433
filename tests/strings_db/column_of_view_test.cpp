// The bulk read of one field over the view: the same texts, in the same order, as FieldAt gives
// record by record, under an order and a filter.
#include "strings_db/strings_table.h"
#include "support/test_table.h"

#include <gtest/gtest.h>

namespace wordloom {
namespace {

using ColumnOfViewTest = test::OnBackend;

TEST_P(ColumnOfViewTest, GivesWhatFieldAtGivesForEveryRecordOfTheView) {
    StringsTable table(file.Path());
    const std::vector<std::pair<std::string, std::string>> records = {
        {"Open", "Öffnen"}, {"Close", ""}, {"Save", "Speichern"}, {"about", "Info"}, {"Exit", ""}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        table.Insert();
        table.SetField("English", records[i].first);
        table.SetField("German", records[i].second);
        table.SetField("Project", i % 2 == 0 ? "A" : "B");
        table.Post();
    }
    // Removed and edited records must not show stale values.
    table.SetIndexFieldNames("English");
    ASSERT_TRUE(table.FindKey("Exit"));
    table.Delete();
    ASSERT_TRUE(table.FindKey("Save"));
    table.Edit();
    table.SetField("German", "Sichern");
    table.Post();

    const auto byFieldAt = [&](const std::string& field) {
        std::vector<std::string> texts;
        for (int recNo = 0; recNo < table.RecordCount(); ++recNo) {
            texts.push_back(table.FieldAt(recNo, field));
        }
        return texts;
    };
    table.SetIndexName("German2");
    EXPECT_EQ(table.ColumnOfView("German"), byFieldAt("German"));
    EXPECT_EQ(table.ColumnOfView("English"), byFieldAt("English"));
    EXPECT_EQ(table.ColumnOfView("English").size(), 4u);

    table.SetIndexName("English2");
    table.SetFilter("Project = 'A'");
    table.SetFiltered(true);
    EXPECT_EQ(table.ColumnOfView("English"), (std::vector<std::string>{"Open", "Save"}));
    EXPECT_EQ(table.ColumnOfView("German"), (std::vector<std::string>{"Öffnen", "Sichern"}));
    EXPECT_THROW(table.ColumnOfView("Nope"), DbError);
}

INSTANTIATE_TEST_SUITE_P(Backends, ColumnOfViewTest,
                         ::testing::Values(test::Backend::Sqlite, test::Backend::Postgres),
                         test::BackendName());

} // namespace
} // namespace wordloom
