// Reading the translations of some texts: by key searches or by one scan, always as the reading of
// every translation finds them.
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace wordloom {
namespace {

using Translation = StringsTable::Translation;

std::string Show(const std::optional<Translation>& translation) {
    if (!translation)
        return "none";
    return translation->text + "|" + std::to_string(translation->spFront) + "|" +
           std::to_string(translation->spEnd) + "#" + std::to_string(translation->record);
}

TEST(StringsTableTranslationsOf, KeySearchesAndTheScanAgreeWithReadingEverything) {
    test::TableFile file;
    file.Exec("INSERT INTO strings (rowid, English, German, Project, SpFront, SpEnd) VALUES "
              "(1, 'OK', 'Gut', 'P', 1, 0), (2, 'ok', 'gut', 'P', 0, 0), (3, 'OK', 'Anders', 'P', 0, 0), "
              "(4, NULL, 'Nichts', 'P', 0, 0), (5, '', 'Leer', 'P', 0, 0), "
              "(6, 'Cancel', NULL, 'P', 'not a number', 0), (7, 'Padded', 'Gepolstert', 'P', 2, 1), "
              "(8, 'Two' || char(13, 10) || 'lines', 'Zwei' || char(13, 10) || 'Zeilen', 'P', 0, 0), "
              "(9, 'ok', 'später', 'P', 0, 3)");
    // Enough records that a single key is searched for, and all of them at once are read in a scan.
    for (int i = 0; i < 40; ++i)
        file.Exec("INSERT INTO strings (English, German) VALUES ('filler " + std::to_string(i) + "', 'x')");
    StringsTable table(file.Path());
    const std::vector<std::string> texts{"OK",         "ok", "Ok",      "Cancel", "Padded",  "Two\r\nlines",
                                         "Two\nlines", "",   "missing", "OK",     "filler 7"};
    for (const std::string index : {"English", "English2"}) {
        table.SetIndexName(index);
        const auto all = table.ReadTranslations("German");
        std::vector<std::string> expected;
        for (const std::string& text : texts) {
            const auto found = all.find(text);
            expected.push_back(found == all.end() ? "none" : Show(found->second));
        }
        EXPECT_EQ(expected[0], "Gut|1|0#1");
        EXPECT_EQ(expected[1], "gut|0|0#2");
        EXPECT_EQ(expected[5], "Zwei\r\nZeilen|0|0#8");

        std::vector<std::string> searched;
        for (const std::string& text : texts)
            searched.push_back(Show(table.ReadTranslationsOf("German", {text}).at(0)));
        EXPECT_EQ(searched, expected) << index << ", by key searches";

        const std::vector<std::string_view> keys(texts.begin(), texts.end());
        std::vector<std::string> scanned;
        for (const std::optional<Translation>& found : table.ReadTranslationsOf("German", keys))
            scanned.push_back(Show(found));
        EXPECT_EQ(scanned, expected) << index << ", in one scan";
    }
    EXPECT_TRUE(table.ReadTranslationsOf("German", {}).empty());
    EXPECT_THROW(table.ReadTranslationsOf("Klingon", {"OK"}), DbError);
}

} // namespace
} // namespace wordloom
