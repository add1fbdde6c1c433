// The table's bulk paths: keyed writes (the engine's own and the default any backend inherits give
// the same answers) and the scan in an index's order (what a walk of the cursor reads).
#include "strings_db/sqlite_backend.h"
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom {
namespace {

using Writes = std::vector<StringsTable::KeyedWrite>;

// true: the default implementation of the interface, false: the SQLite one.
class KeyedWrite : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        // Only the case-blind index on English: its key search finds every spelling of a text.
        m_file.Exec("DROP INDEX English");
        m_file.Exec("INSERT INTO strings (English, German) VALUES ('Open', 'Öffnen'), ('open', NULL), "
                    "('Close', ''), ('Close', NULL), ('Quit', 'Ende')");
    }
    StringsTable::KeyedWriteResult Write(const Writes& writes) {
        SqliteBackend backend(m_file.Path(), OpenMode::ReadWrite);
        const IndexDef order = backend.IndexOnField(0);
        EXPECT_EQ(order.name, "English2");
        backend.Begin();
        const StringsTable::KeyedWriteResult result =
            GetParam() ? backend.StringsTableBackend::WriteByKey(order, 1, writes)
                       : backend.WriteByKey(order, 1, writes);
        backend.Commit();
        return result;
    }
    std::string German(int rowid) const {
        return m_file.Query("SELECT coalesce(German, '<null>') FROM strings WHERE rowid = " +
                            std::to_string(rowid));
    }

    test::TableFile m_file;
};

TEST_P(KeyedWrite, WritesTheFirstRecordOfTheExactTextWhileItHoldsWhatIsExpected) {
    StringsTable::KeyedWriteResult result = Write({{"open", "", "öffnen"}, {"Close", "", "Schließen"}});
    EXPECT_EQ(result.done, 2u);
    EXPECT_EQ(German(1), "Öffnen");
    EXPECT_EQ(German(2), "öffnen");
    EXPECT_EQ(German(3), "Schließen");
    EXPECT_EQ(German(4), "<null>");

    // Stops at a record whose field changed, and at a text no record has; what came before stays
    // for the caller's transaction to keep or undo.
    result = Write({{"Quit", "Ende", "Beenden"}, {"Open", "Offen", "Auf"}, {"Quit", "", "x"}});
    EXPECT_EQ(result.done, 1u);
    EXPECT_FALSE(result.missing);
    EXPECT_EQ(German(5), "Beenden");
    EXPECT_EQ(German(1), "Öffnen");
    result = Write({{"Open", "Öffnen", ""}, {"OPEN", "", "x"}});
    EXPECT_EQ(result.done, 1u);
    EXPECT_TRUE(result.missing);
    EXPECT_EQ(German(1), "<null>"); // "" stores NULL
    EXPECT_TRUE(Write({{"", "", "x"}}).missing);
}

INSTANTIATE_TEST_SUITE_P(Paths, KeyedWrite, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "Default" : "Sqlite";
                         });

TEST(KeyedWriteTable, RollsBackItsOwnTransactionAndLeavesTheCursorReadingTheNewValues) {
    test::TableFile file;
    file.Exec("INSERT INTO strings (English, German) VALUES ('Close', NULL), ('Open', NULL)");
    StringsTable table(file.Path());
    table.SetIndexFieldNames("English");
    ASSERT_TRUE(table.FindKey("Open"));
    EXPECT_EQ(table.FieldAsString("German"), "");

    EXPECT_EQ(table.WriteByKey("English", "German", {{"Close", "", "Schließen"}, {"Gone", "", "x"}}).done,
              1u);
    EXPECT_FALSE(table.InTransaction());
    EXPECT_EQ(file.Query("SELECT count(*) FROM strings WHERE German IS NOT NULL"), "0");

    EXPECT_EQ(
        table.WriteByKey("English", "German", {{"Close", "", "Schließen"}, {"Open", "", "Öffnen"}}).done, 2u);
    EXPECT_EQ(table.FieldAsString("English"), "Open"); // still the current record
    EXPECT_EQ(table.FieldAsString("German"), "Öffnen");
    // Written to the order's own field, the view is ordered again.
    table.SetIndexFieldNames("German");
    table.First();
    EXPECT_EQ(table.FieldAsString("German"), "Schließen");
    EXPECT_EQ(table.WriteByKey("German", "German", {{"Schließen", "Schließen", "Zumachen"}}).done, 1u);
    table.First();
    EXPECT_EQ(table.FieldAsString("German"), "Zumachen");
    EXPECT_THROW(table.WriteByKey("English", "Klingon", {}), DbError);
    EXPECT_THROW(table.WriteByKey("SpFront2", "German", {}), DbError);
}

TEST(ScanInOrder, ReadsWhatAWalkOfTheCursorReadsHeldRecordsIncluded) {
    test::TableFile file;
    file.Exec("INSERT INTO strings (English, German, SpFront) VALUES ('b', 'B', 1), ('A', NULL, 2), "
              "('a', 'x', NULL), ('B', '', 4)");
    for (const std::string round : {"binary", "case-blind"}) {
        if (round == "case-blind")
            file.Exec("DROP INDEX English");
        StringsTable table(file.Path());
        table.BeginBatch();
        ASSERT_TRUE(AddString(table, "English", "  Cancel" + round, "Demo")); // held by the batch
        std::vector<std::string> scanned;
        table.ScanInOrder("English", {"German", "English", "SpFront"},
                          [&](const StringsTable::OrderedRecord& record) {
                              scanned.push_back(record.Text(1) + "|" + record.Text(0) + "|" +
                                                std::to_string(record.Integer(2)));
                          });
        table.EndBatch();
        std::vector<std::string> walked;
        table.SetIndexFieldNames("English");
        for (table.First(); !table.Eof(); table.Next())
            walked.push_back(table.FieldAsString("English") + "|" + table.FieldAsString("German") + "|" +
                             std::to_string(table.FieldAsInteger("SpFront")));
        EXPECT_EQ(scanned, walked) << round;
        EXPECT_EQ(scanned.size(), round == "binary" ? 5u : 6u);
        EXPECT_THROW(table.ScanInOrder("English", {"Klingon"}, [](const StringsTable::OrderedRecord&) {}),
                     DbError);
    }
}

TEST(ScanInOrderSchema, OrdersByTheCaseBlindIndexWhereThatIsTheOnlyOne) {
    test::TableFile file;
    file.Exec("DROP INDEX English");
    file.Exec("INSERT INTO strings (English) VALUES ('b'), ('A'), ('a'), ('B')");
    StringsTable table(file.Path());
    std::vector<std::string> scanned;
    table.ScanInOrder("English", {"English"},
                      [&](const StringsTable::OrderedRecord& record) { scanned.push_back(record.Text(0)); });
    EXPECT_EQ(scanned, (std::vector<std::string>{"A", "a", "b", "B"}));
}

} // namespace
} // namespace wordloom
