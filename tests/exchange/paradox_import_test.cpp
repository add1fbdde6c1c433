#include "exchange/paradox_import.h"
#include "exchange/table_exchange.h"
#include "strings_db/strings_table.h"
#include "support/file_read.h"
#include "support/table_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <cstring>
#include <iconv.h>

namespace wordloom::exchange {
namespace {

struct Row {
    const char* english;
    const char* german;
    const char* project;
    short spFront;
    short spEnd;
};

std::string Windows1252(const char* utf8) {
    iconv_t cd = iconv_open("CP1252", "UTF-8");
    std::string in(utf8);
    std::string out(in.size() + 1, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size();
    std::size_t room = out.size();
    EXPECT_NE(iconv(cd, &from, &left, &to, &room), static_cast<std::size_t>(-1)) << utf8;
    iconv_close(cd);
    out.resize(out.size() - room);
    out.push_back('\0');
    return out;
}

// A Paradox strings table made by pxlib's own writer, its texts in Windows-1252.
std::string MakeParadoxTable(const TempDir& dir, const std::vector<Row>& rows) {
    const std::string path = dir.FilePath("strings.db");
    pxdoc_t* doc = PX_new();
    struct Def {
        const char* name;
        char type;
        int length;
    };
    const Def defs[] = {{"English", pxfAlpha, 60},
                        {"German", pxfAlpha, 60},
                        {"Project", pxfAlpha, 30},
                        {"SpFront", pxfShort, 2},
                        {"SpEnd", pxfShort, 2}};
    auto* fields = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * 5, "fields"));
    for (int i = 0; i < 5; ++i) {
        fields[i].px_fname = static_cast<char*>(doc->malloc(doc, std::strlen(defs[i].name) + 1, "name"));
        std::strcpy(fields[i].px_fname, defs[i].name);
        fields[i].px_ftype = defs[i].type;
        fields[i].px_flen = defs[i].length;
        fields[i].px_fdc = 0;
    }
    EXPECT_EQ(PX_create_file(doc, fields, 5, path.c_str(), pxfFileTypNonIndexDB), 0);
    PX_set_value(doc, "codepage", 1252);
    std::vector<char> record(static_cast<std::size_t>(doc->px_head->px_recordsize));
    for (const Row& row : rows) {
        std::fill(record.begin(), record.end(), 0);
        // The writer stores the bytes it is given: they are given in the table's code page.
        PX_put_data_alpha(doc, record.data(), 60, Windows1252(row.english).data());
        PX_put_data_alpha(doc, record.data() + 60, 60, Windows1252(row.german).data());
        PX_put_data_alpha(doc, record.data() + 120, 30, Windows1252(row.project).data());
        PX_put_data_short(doc, record.data() + 150, 2, row.spFront);
        PX_put_data_short(doc, record.data() + 152, 2, row.spEnd);
        PX_put_record(doc, record.data());
    }
    PX_close(doc);
    PX_delete(doc);
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
    test::TableFile file;
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
    try {
        ReadParadox("not a table at all, just some text");
        ADD_FAILURE();
    } catch (const ExchangeError& error) {
        EXPECT_NE(std::string(error.what()).find("Paradox"), std::string::npos);
    }
}

} // namespace
} // namespace wordloom::exchange
