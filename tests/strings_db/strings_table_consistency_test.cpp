// Random edits against a fresh read, and posts whose values the column converts.
#include "strings_db/strings_table.h"
#include "strings_table_test_util.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace wordloom::table_test {
namespace {

using test::TableFile;

// ---- the incremental view matches a rebuilt one

class StringsTableConsistency : public ::testing::TestWithParam<std::tuple<int, Backend>> {
protected:
    void SetUp() override {
        if (std::get<1>(GetParam()) == Backend::Postgres && !test::NoServerReason().empty()) {
            GTEST_SKIP() << test::NoServerReason();
        }
        file.Create(std::get<1>(GetParam()));
    }
    TestTable file;
};

// Small tables keep the whole view in one block of the cursor's list; 5,000 records spread it
// over several, so moves cross block boundaries.
TEST_P(StringsTableConsistency, RandomEditsKeepTheViewEqualToAFreshRead) {
    const int initial = std::get<0>(GetParam());
    file.Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(initial) +
        ") INSERT INTO strings (English, Project, SpEnd) SELECT "
        "CASE i % 4 WHEN 0 THEN 'alpha' WHEN 1 THEN 'Beta' WHEN 2 THEN 'GAMMA' ELSE NULL END || (i % 97), "
        "CASE i % 3 WHEN 0 THEN 'p' ELSE 'Q' END, i FROM n");
    StringsTable table(file.Path());
    std::mt19937 random(20261208);
    auto word = [&] {
        static const char* words[] = {"alpha", "Alpha", "beta", "BETA", "gamma", "", "delta", "Delta", "x"};
        return std::string(words[random() % 9]) + (random() % 2 ? "" : std::to_string(random() % 5));
    };
    const char* orders[] = {"English", "English2", "Project"};
    const auto current = [&] {
        return table.FieldAsString("English") + "|" + table.FieldAsString("Project") + "|" +
               table.FieldAsString("SpEnd");
    };
    // Edited records keep their rows until the view is ordered or filtered again: they are
    // compared as a set, the others in order.
    std::vector<std::string> held;
    int serial = initial;
    const auto release = [&](const std::string& value) {
        if (auto it = std::find(held.begin(), held.end(), value); it != held.end()) {
            held.erase(it);
        }
    };
    for (int round = 0; round < 300; ++round) {
        switch (random() % 6) {
        case 0:
            table.Insert();
            table.SetField("English", word());
            table.SetField("Project", random() % 2 ? "P" : "Q");
            table.SetFieldInt("SpEnd", ++serial); // tells records with equal texts apart
            table.Post();
            break;
        case 1:
        case 2:
            if (table.RecordCount() > 0) {
                table.SetRecNo(static_cast<int>(random() % table.RecordCount()));
                release(current());
                table.Edit();
                table.SetField(random() % 2 ? "English" : "Project", random() % 3 ? word() : "P");
                const std::string project = table.FieldAsString("Project");
                table.Post();
                if (!table.Filtered() || project == "p" || project == "P") {
                    held.push_back(current());
                }
            }
            break;
        case 3:
            if (table.RecordCount() > 0) {
                table.SetRecNo(static_cast<int>(random() % table.RecordCount()));
                release(current());
                table.Delete();
            }
            break;
        case 4:
            table.SetIndexName(orders[random() % 3]);
            held.clear();
            break;
        case 5: {
            const bool wasFiltered = table.Filtered();
            const bool on = random() % 2 == 0;
            table.SetFilter("Project = 'p'");
            table.SetFilterCaseInsensitive(true);
            table.SetFiltered(on);
            if (wasFiltered || on) {
                held.clear();
            }
            break;
        }
        }
        if (initial > 1000 && round % 20 != 19) {
            continue; // a big view is compared now and then; the moves in between add up
        }
        StringsTable fresh(file.Path());
        fresh.SetIndexName(table.IndexName().empty() ? "English" : table.IndexName());
        if (table.IndexName().empty()) {
            continue;
        }
        fresh.SetFilter("Project = 'p'");
        fresh.SetFilterCaseInsensitive(true);
        fresh.SetFiltered(table.Filtered());
        std::vector<std::string> expected;
        for (int i = 0; i < fresh.RecordCount(); ++i) {
            expected.push_back(fresh.FieldAt(i, "English") + "|" + fresh.FieldAt(i, "Project") + "|" +
                               fresh.FieldAt(i, "SpEnd"));
        }
        std::vector<std::string> actual;
        for (int i = 0; i < table.RecordCount(); ++i) {
            actual.push_back(table.FieldAt(i, "English") + "|" + table.FieldAt(i, "Project") + "|" +
                             table.FieldAt(i, "SpEnd"));
        }
        if (table.RecordCount() > 0) {
            // The current record stands where its number says.
            EXPECT_EQ(current(), actual.at(static_cast<std::size_t>(table.RecNo())));
        }
        std::vector<std::string> sortedActual = actual;
        std::vector<std::string> sortedExpected = expected;
        std::sort(sortedActual.begin(), sortedActual.end());
        std::sort(sortedExpected.begin(), sortedExpected.end());
        ASSERT_EQ(sortedActual, sortedExpected) << "round " << round;
        const auto isHeld = [&](const std::string& value) {
            return std::find(held.begin(), held.end(), value) != held.end();
        };
        std::erase_if(actual, isHeld);
        std::erase_if(expected, isHeld);
        ASSERT_EQ(actual, expected) << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, StringsTableConsistency,
                         ::testing::Combine(::testing::Values(40, 5000),
                                            ::testing::Values(Backend::Sqlite, Backend::Postgres)));

// A posted record takes its place by the value the column stores, which the column's type may
// have converted: a post that kept the given value would misplace it in the open view.
using StringsTablePost = OnBackend;

TEST_P(StringsTablePost, ValueConvertedByTheColumnTypeIsPlacedAsStored) {
    StringsTable table(file.Path());
    AddRecord(table, "!!");
    AddRecord(table, "Apple");
    table.SetIndexFieldNames("English");
    ASSERT_EQ(Walk(table), (Texts{"!!", "Apple"}));
    table.Insert();
    table.SetFieldInt("English", 5); // stored as the text "5", which sorts after "!!"
    table.Post();
    EXPECT_EQ(table.RecNo(), 1);
    EXPECT_EQ(ViewByFieldAt(table), (Texts{"!!", "5", "Apple"}));

    table.SetIndexFieldNames("SpFront");
    table.First();
    table.Edit();
    table.SetFieldInt("SpFront", 10);
    table.Post();
    table.SetIndexFieldNames("SpFront"); // the edited record to its place
    table.Insert();
    table.SetField("English", "two");
    table.SetField("SpFront", "2"); // stored as the number 2: before 10, not after it as a text
    table.Post();
    EXPECT_EQ(table.FieldAsString("English"), "two");
    const Texts expected{"", "", "2", "10"};
    EXPECT_EQ(ViewByFieldAt(table, "SpFront"), expected);
    EXPECT_EQ(table.RecNo(), 2);
    StringsTable fresh(file.Path());
    fresh.SetIndexFieldNames("SpFront");
    EXPECT_EQ(ViewByFieldAt(fresh, "SpFront"), expected);
}

INSTANTIATE_TEST_SUITE_P(Backends, StringsTablePost, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         test::BackendName());

} // namespace
} // namespace wordloom::table_test
