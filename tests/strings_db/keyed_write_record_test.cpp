// Keyed writes that name the record they were read from: that record while it stands as read,
// else the key search decides, on each backend; and the reads that name those records.
#include "strings_db/strings_table.h"
#include "support/test_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wordloom {
namespace {

using test::Backend;

class NamedRecordWrite : public test::OnBackend {
protected:
    std::int64_t Id(const std::string& where) const {
        return std::stoll(file.Query("SELECT min(rowid) FROM strings WHERE " + where));
    }
    std::string German(std::int64_t id) const {
        return file.Query("SELECT coalesce(German, '<null>') FROM strings WHERE rowid = " +
                          std::to_string(id));
    }
};

INSTANTIATE_TEST_SUITE_P(Backends, NamedRecordWrite, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         test::BackendName());

TEST_P(NamedRecordWrite, ReadsNameTheFirstRecordOfATextByScanAndByKeySearch) {
    file.Exec(
        "INSERT INTO strings (English, German) VALUES ('Close', NULL), ('Close', 'Zu'), ('Open', 'Offen')");
    StringsTable table(file.Path());
    table.SetIndexFieldNames("English");
    const std::int64_t close = Id("English = 'Close'");
    const std::int64_t open = Id("English = 'Open'");
    // Few records: the texts are read in one scan.
    auto found = table.ReadTranslationsOf("German", {"Open", "Close", "Gone", "Close"});
    ASSERT_TRUE(found[0] && found[1] && found[3]);
    EXPECT_FALSE(found[2]);
    EXPECT_EQ(found[0]->record, open);
    EXPECT_EQ(found[1]->record, close);
    EXPECT_EQ(found[3]->record, close);
    EXPECT_EQ(table.ReadTranslations("German").at("Open").record, open);
    // Many records: one text is searched for.
    for (int i = 0; i < 40; ++i)
        file.Exec("INSERT INTO strings (English) VALUES ('filler " + std::to_string(i) + "')");
    found = table.ReadTranslationsOf("German", {"Close"});
    ASSERT_TRUE(found[0]);
    EXPECT_EQ(found[0]->record, close);
}

TEST_P(NamedRecordWrite, WritesTheNamedRecordWhileItStandsAsReadElseWhatTheKeyFinds) {
    file.Exec("INSERT INTO strings (English, German) VALUES ('Close', NULL), ('Close', NULL), "
              "('Open', 'Offen'), ('Quit', NULL)");
    const std::int64_t first = Id("English = 'Close'");
    const std::int64_t second = Id("English = 'Close' AND rowid > " + std::to_string(first));
    const std::int64_t open = Id("English = 'Open'");
    const std::int64_t quit = Id("English = 'Quit'");
    StringsTable table(file.Path());

    EXPECT_EQ(table.WriteByKey("English", "German", {{"Close", "", "Zu", second}}).done, 1u);
    EXPECT_EQ(German(first), "<null>");
    EXPECT_EQ(German(second), "Zu");

    // Changed since it was read: neither it nor anything after it is written.
    StringsTable::KeyedWriteResult result =
        table.WriteByKey("English", "German", {{"Open", "Auf", "X", open}, {"Quit", "", "Ende", quit}});
    EXPECT_EQ(result.done, 0u);
    EXPECT_FALSE(result.missing);
    EXPECT_EQ(German(open), "Offen");
    EXPECT_EQ(German(quit), "<null>");

    // Renamed since: the key search answers, here with no record at all.
    file.Exec("UPDATE strings SET English = 'Exit' WHERE English = 'Quit'");
    result = table.WriteByKey("English", "German", {{"Quit", "", "Ende", quit}});
    EXPECT_EQ(result.done, 0u);
    EXPECT_TRUE(result.missing);
    EXPECT_EQ(German(quit), "<null>");

    // The named record left the text: the record that still has it is written, as it holds what
    // the write expects.
    file.Exec("UPDATE strings SET English = 'Shut' WHERE rowid = " + std::to_string(first));
    EXPECT_EQ(table.WriteByKey("English", "German", {{"Close", "Zu", "Schließen", first}}).done, 1u);
    EXPECT_EQ(German(first), "<null>");
    EXPECT_EQ(German(second), "Schließen");
}

} // namespace
} // namespace wordloom
