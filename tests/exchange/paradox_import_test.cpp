#include "exchange/paradox_import.h"
#include "exchange/table_exchange.h"
#include "paradox_samples.h"
#include "strings_db/strings_table.h"
#include "support/file_read.h"
#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
namespace wordloom::exchange {
namespace {

using Row = test::ParadoxRow;

// A Paradox strings table made by pxlib's own writer, its texts in Windows-1252.
std::string MakeParadoxTable(const TempDir& dir, const std::vector<Row>& rows) {
    const std::string path = dir.FilePath("strings.db");
    test::WriteParadoxTable(path, rows);
    return path;
}

TEST(ParadoxImport, ReadsTheLanguagesBlanksAndCodePage) {
    TempDir dir;
    const std::string path = MakeParadoxTable(dir, {{"Open", "Öffnen", "Demo", 1, 2},
                                                    {"Größe", "", "Demo;Other", 0, 0},
                                                    {"Don't", "Nicht", "Demo", 0, 0}});
    const ParadoxTable table = ReadParadox(ReadBytes(path));
    EXPECT_EQ(table.languages, (std::vector<std::string>{"English", "German"}));
    EXPECT_EQ(table.codePage, 1252);
    ASSERT_EQ(table.records.size(), 3u);
    EXPECT_EQ(table.records[0].texts[1], "Öffnen");
    EXPECT_EQ(table.records[0].spFront, 1);
    EXPECT_EQ(table.records[0].spEnd, 2);
    EXPECT_EQ(table.records[1].texts[0], "Größe");
    EXPECT_EQ(table.records[1].project, "Demo;Other");
    const Catalog catalog = CatalogFromParadox(table, "english", "GERMAN");
    ASSERT_EQ(catalog.units.size(), 3u);
    EXPECT_EQ(catalog.units[1].state, UnitState::New);
    EXPECT_THROW(CatalogFromParadox(table, "English", "French"), ExchangeError);
}

TEST(ParadoxImport, CopiesIntoOurTableWithTheSameRules) {
    TempDir dir;
    const std::string path = MakeParadoxTable(dir, {{"Open", "Aufmachen", "Demo", 0, 0},
                                                    {"Close", "Schließen", "Demo", 0, 0},
                                                    {"Unknown", "Unbekannt", "Demo", 3, 0}});
    wordloom::test::TableFile file;
    file.Exec("INSERT INTO strings (English, German) VALUES ('Open', 'Öffnen'), ('Close', NULL)");
    StringsTable table(file.Path());
    PlainDetails details;
    const ImportOptions options{"English", "German", ConflictChoice::Ours, true, "Imported"};
    const Catalog catalog = CatalogFromParadox(ReadParadox(ReadBytes(path)), "English", "German");
    const ImportPlan plan = PlanImport(table, catalog, options, details);
    EXPECT_EQ(plan.Count(ImportKind::Conflict), 1u);
    ApplyImport(table, plan, options, details);
    EXPECT_EQ(file.Query("SELECT German FROM strings WHERE English = 'Open'"), "Öffnen");
    EXPECT_EQ(file.Query("SELECT German FROM strings WHERE English = 'Close'"), "Schließen");
    EXPECT_EQ(file.Query("SELECT SpFront || Project FROM strings WHERE English = 'Unknown'"), "3Imported");
}

TEST(ParadoxImport, ABrokenFileIsRefusedWithPxlibsReason) {
    TempDir dir;
    std::string bytes = ReadBytes(MakeParadoxTable(dir, {{"Open", "Öffnen", "Demo", 0, 0}}));
    for (const std::size_t size : {std::size_t{0}, std::size_t{10}, std::size_t{60}}) {
        EXPECT_THROW(ReadParadox(bytes.substr(0, size)), ExchangeError) << size;
    }
    std::string broken = bytes;
    broken[4] = 0x7f; // the file type
    broken[0] = 0;
    broken[1] = 0; // no record size
    EXPECT_THROW(ReadParadox(broken), ExchangeError);
    // Data blocks chained in a circle, or to a block past the end, are refused before pxlib,
    // which would follow them for ever.
    const std::size_t firstBlock = 0x800; // the header's size, as pxlib's writer makes it
    ASSERT_EQ(bytes[2], 0x00);
    ASSERT_EQ(bytes[3], 0x08);
    std::string circle = bytes;
    circle[firstBlock] = 1; // block 1 follows itself
    EXPECT_THROW(ReadParadox(circle), ExchangeError);
    std::string beyond = bytes;
    beyond[firstBlock + 1] = 0x40;
    EXPECT_THROW(ReadParadox(beyond), ExchangeError);
    // So is a list of fields pxlib would read freed memory by.
    std::string manyFields = bytes;
    manyFields[0x22] = 0x08;
    EXPECT_THROW(ReadParadox(manyFields), ExchangeError);
    std::string longerField = bytes;
    longerField[0x79] = 0x3d; // English 61 characters: the fields no longer fill the record
    EXPECT_THROW(ReadParadox(longerField), ExchangeError);
    std::string longNumber = bytes;
    longNumber[0x78] = 0x06; // a number of 60 bytes
    EXPECT_THROW(ReadParadox(longNumber), ExchangeError);
    std::string noType = bytes;
    noType[0x78] = 0;
    EXPECT_THROW(ReadParadox(noType), ExchangeError);
    std::string noBlocks = bytes;
    noBlocks[5] = 0;
    EXPECT_THROW(ReadParadox(noBlocks), ExchangeError);
    try {
        ReadParadox("not a table at all, just some text");
        ADD_FAILURE();
    } catch (const ExchangeError& error) {
        EXPECT_NE(std::string(error.what()).find("Paradox"), std::string::npos);
    }
}

} // namespace
} // namespace wordloom::exchange
