// TMX exports written as the table is read: the same documents the held catalogue and memory give,
// counted as the front ends report them.
#include "exchange/table_export.h"
#include "exchange/tmx_format.h"
#include "strings_db/strings_table.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace wordloom::exchange {
namespace {

class TmxExport : public ::testing::Test {
protected:
    void SetUp() override {
        m_file.Exec("INSERT INTO strings (English, German, French, Project, SpFront, SpEnd) VALUES "
                    "('Open', 'Öffnen', NULL, 'Demo', 0, 0), ('Close', NULL, 'Fermer', 'Demo', 0, 0), "
                    "('Quit', 'Ende', 'Quitter', 'Other', 0, 0), ('Save', NULL, NULL, 'Demo', 0, 0), "
                    "('Open', 'Zweites', NULL, 'Other', 0, 0), ('Tab' || char(9) || 'bell' || char(7), "
                    "'Glocke' || char(7), NULL, 'Demo', 0, 0)");
    }
    test::TableFile m_file;
    PlainDetails m_details;
};

TEST_F(TmxExport, WritesWhatTheHeldMemoryWrites) {
    StringsTable table(m_file.Path());
    for (const std::string project : {"", "Demo", "Other"}) {
        // Every language.
        const ExportedFile all =
            ExportTable(table, Format::Tmx, {"", "", project, ExportScope::All}, m_details);
        const Memory memory = MemoryFromTable(table, "", project);
        EXPECT_EQ(all.data, WriteTmx(memory)) << project;
        EXPECT_EQ(all.count, memory.rows.size()) << project;
        // One pair, also in the other direction.
        for (const auto& [source, target] : {std::pair{"English", "German"}, std::pair{"German", "English"},
                                             std::pair{"English", "French"}}) {
            const ExportOptions options{source, target, project, ExportScope::All};
            const ExportedFile pair = ExportTable(table, Format::Tmx, options, m_details);
            const Memory held = MemoryFromCatalog(CatalogFromTable(table, options, m_details));
            EXPECT_EQ(pair.data, WriteTmx(held)) << project << " " << source << " " << target;
            EXPECT_EQ(pair.count, held.rows.size()) << project << " " << source << " " << target;
        }
    }
    const ExportedFile pair =
        ExportTable(table, Format::Tmx, {"English", "German", "", ExportScope::All}, m_details);
    EXPECT_EQ(pair.count, 3u); // Open (its first record), Quit and the text with a bell
    EXPECT_NE(pair.data.find("Öffnen"), std::string::npos);
    EXPECT_EQ(pair.data.find("Zweites"), std::string::npos);
    const Memory read = ReadTmx(pair.data);
    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[2], (std::vector<std::string>{"Tab\tbell\x07", "Glocke\x07"}));
    // Only translated texts go into a memory: none of the untranslated ones.
    EXPECT_EQ(ExportTable(table, Format::Tmx, {"English", "German", "", ExportScope::Untranslated}, m_details)
                  .count,
              0u);
    EXPECT_THROW(ExportTable(table, Format::Tmx, {"English", "Klingon", "", ExportScope::All}, m_details),
                 DbError);
    EXPECT_THROW(ExportTable(table, Format::Tmx, {"Klingon", "", "", ExportScope::All}, m_details), DbError);
}

} // namespace
} // namespace wordloom::exchange
