#include "exchange/csv_format.h"
#include "exchange/po_format.h"
#include "exchange/tmx_format.h"
#include "exchange_samples.h"
#include "support/file_read.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace wordloom::exchange {
namespace {

std::vector<Unit> WithoutProjectsAndBlanks(std::vector<Unit> units) {
    for (Unit& unit : units) {
        unit.spFront = unit.spEnd = 0;
        for (Place& place : unit.places)
            place.project.clear();
    }
    return units;
}

TEST(CsvFormat, ReadsBackEverythingItWritesWithOrWithoutMark) {
    for (const bool mark : {false, true}) {
        const std::string csv = WriteCsv(test::SampleCatalog(), mark);
        EXPECT_EQ(csv.substr(0, 3) == "\xEF\xBB\xBF", mark);
        EXPECT_EQ(csv.substr(mark ? 3 : 0, 34), "source,target,state,places,notes\r\n");
        EXPECT_EQ(ReadCsv(csv).units, WithoutProjectsAndBlanks(test::SampleCatalog().units));
    }
}

TEST(CsvFormat, QuotesAsRfc4180Says) {
    Catalog catalog;
    catalog.units.push_back({"Say \"hi\", then go", "Sag \"hallo\"", UnitState::Translated, 0, 0, {}, {}});
    EXPECT_EQ(WriteCsv(catalog),
              "source,target,state,places,notes\r\n\"Say \"\"hi\"\", then go\",\"Sag \"\"hallo\"\"\","
              "translated,,\r\n");
}

TEST(CsvFormat, ReadsColumnsByTheirHeaderAndPlainRows) {
    const Catalog byName = ReadCsv("target,source\nZiel,Source text\n");
    ASSERT_EQ(byName.units.size(), 1u);
    EXPECT_EQ(byName.units[0].source, "Source text");
    EXPECT_EQ(byName.units[0].target, "Ziel");
    EXPECT_EQ(byName.units[0].state, UnitState::Translated);
    const Catalog plain = ReadCsv("One,Eins,suggested\nTwo,,\n\n");
    ASSERT_EQ(plain.units.size(), 2u);
    EXPECT_EQ(plain.units[0].state, UnitState::Suggested);
    EXPECT_EQ(plain.units[1].state, UnitState::New);
}

TEST(CsvFormat, NamesTheLineOfAFault) {
    const std::pair<const char*, std::size_t> cases[] = {
        {"source,target\nok,gut\n\"open,never\nclosed\n", 3},
        {"a,b\n\"x\"y,z\n", 2},
        {"a,b,bogus\n", 1},
        {"only\n", 1},
        {"source,state\nx,new\n", 1},
    };
    for (const auto& [text, line] : cases) {
        try {
            ReadCsv(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ExchangeError& error) {
            EXPECT_EQ(error.Line(), line) << text << " -> " << error.what();
        }
    }
}

TEST(CsvFormat, PythonsCsvModuleReadsOurFileAndWritesOneWeRead) {
    if (!test::HaveProgram("python3"))
        GTEST_SKIP() << "python3 is not installed";
    TempDir dir;
    const std::string ours = dir.Write("ours.csv", WriteCsv(test::SampleCatalog(), true));
    const std::string theirs = dir.FilePath("theirs.csv");
    std::string output;
    ASSERT_EQ(
        test::RunProgram(
            "python3 -c 'import csv,sys\n"
            "rows = list(csv.reader(open(sys.argv[1], newline=\"\", encoding=\"utf-8-sig\")))\n"
            "assert all(len(r) == 5 for r in rows), rows\n"
            "csv.writer(open(sys.argv[2], \"w\", newline=\"\", encoding=\"utf-8\")).writerows(rows)' '" +
                ours + "' '" + theirs + "'",
            &output),
        0)
        << output;
    EXPECT_EQ(ReadCsv(ReadBytes(theirs)).units, WithoutProjectsAndBlanks(test::SampleCatalog().units));
}

TEST(TmxFormat, ReadsBackAPairAndAWholeTable) {
    const Catalog sample = test::SampleCatalog();
    const Memory pair = MemoryFromCatalog(sample);
    const std::string tmx = WriteTmx(pair);
    EXPECT_NE(tmx.find("<tmx version=\"1.4\">"), std::string::npos);
    EXPECT_NE(tmx.find("srclang=\"en\""), std::string::npos);
    const Catalog back = CatalogFromMemory(ReadTmx(tmx), "English", "German");
    std::size_t translated = 0;
    for (const Unit& unit : sample.units) {
        if (unit.target.empty())
            continue;
        ASSERT_LT(translated, back.units.size());
        EXPECT_EQ(back.units[translated].source, unit.source);
        EXPECT_EQ(back.units[translated].target, unit.target);
        ++translated;
    }
    EXPECT_EQ(back.units.size(), translated);

    Memory table;
    table.sourceLanguage = "English";
    table.languages = {"English", "German", "French"};
    table.rows = {{"Open", "Öffnen", "Ouvrir"}, {"Close", "", "Fermer"}, {"Alone", "", ""}};
    const Memory read = ReadTmx(WriteTmx(table));
    EXPECT_EQ(read.languages, (std::vector<std::string>{"en", "de", "fr"}));
    ASSERT_EQ(read.rows.size(), 2u); // a text without any translation is no memory
    EXPECT_EQ(read.rows[1], (std::vector<std::string>{"Close", "", "Fermer"}));
    EXPECT_EQ(CatalogFromMemory(read, "English", "French").units.size(), 2u);
    EXPECT_THROW(CatalogFromMemory(read, "English", "Italian"), ExchangeError);
}

TEST(TmxFormat, RejectsBrokenDocumentsWithTheirPosition) {
    try {
        ReadTmx("<tmx version=\"1.4\">\n<body>\n<tu><tuv xml:lang=\"en\"><seg>x</tuv>");
        ADD_FAILURE() << "accepted";
    } catch (const ExchangeError& error) {
        EXPECT_EQ(error.Line(), 3u);
    }
    EXPECT_THROW(ReadTmx("<?xml version=\"1.0\"?>\n<xliff/>"), ExchangeError);
}

TEST(TmxFormat, TranslateToolkitsMemoryReadsBack) {
    if (!test::HaveProgram("po2tmx"))
        GTEST_SKIP() << "Translate Toolkit is not installed (Debian package translate-toolkit)";
    TempDir dir;
    PoHeader header;
    header.revisionDate = "2026-12-08 10:00+0000";
    const std::string po = dir.Write("de.po", WritePo(test::SampleCatalog(), header));
    const std::string tmx = dir.FilePath("de.tmx");
    std::string output;
    ASSERT_EQ(test::RunProgram("po2tmx -l de -i '" + po + "' -o '" + tmx + "'", &output), 0) << output;
    const Catalog back = CatalogFromMemory(ReadTmx(ReadBytes(tmx)), "English", "German");
    for (const Unit& unit : test::SampleCatalog().units) {
        // po2tmx leaves out fuzzy and untranslated entries, and texts with characters XML cannot hold.
        if (unit.target.empty() || unit.state == UnitState::Suggested ||
            unit.source.find('\x07') != std::string::npos)
            continue;
        const auto found = std::find_if(back.units.begin(), back.units.end(), [&unit](const Unit& other) {
            return test::LfOnly(other.source) == test::LfOnly(unit.source);
        });
        ASSERT_NE(found, back.units.end()) << unit.source.substr(0, 40);
        EXPECT_EQ(test::LfOnly(found->target), test::LfOnly(unit.target));
    }
}

} // namespace
} // namespace wordloom::exchange
