#include "exchange/xliff_format.h"
#include "exchange_samples.h"
#include "support/file_read.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace wordloom::exchange {
namespace {

using Writer = std::string (*)(const Catalog&);

class XliffVersions : public ::testing::TestWithParam<Writer> {};

TEST_P(XliffVersions, ReadsBackEverythingItWrites) {
    Catalog catalog = test::SampleCatalog();
    catalog.units[1].places.front().project = "Other";
    const std::string xml = GetParam()(catalog);
    const Catalog back = ReadXliff(xml);
    EXPECT_EQ(back.sourceLanguage, "en");
    EXPECT_EQ(back.targetLanguage, "de");
    // One <file> per project: the unit of project "Other" stands in a file of its own.
    EXPECT_EQ(XliffFileProjects(xml), (std::vector<std::string>{"Demo", "Other"}));
    ASSERT_EQ(back.units.size(), catalog.units.size());
    std::vector<Unit> expected = catalog.units;
    std::rotate(expected.begin() + 1, expected.begin() + 2, expected.end()); // the "Other" unit last
    for (std::size_t i = 0; i < expected.size(); ++i) {
        // A place without a project of its own reads back with its file's project.
        for (Place& place : expected[i].places)
            if (place.project.empty())
                place.project = "Demo";
        EXPECT_EQ(back.units[i], expected[i]) << i << ": " << expected[i].source.substr(0, 30);
    }
}

TEST_P(XliffVersions, KeepsCarriageReturnsAndControlsThroughEscapes) {
    const std::string xml = GetParam()(test::SampleCatalog());
    EXPECT_NE(xml.find("Line one&#13;\nLine two"), std::string::npos);
    EXPECT_EQ(xml.find('\r'), std::string::npos);
    EXPECT_EQ(xml.find('\x07'), std::string::npos);
}

TEST_P(XliffVersions, IdsDependOnTheSourceTextOnlyAndAreUnique) {
    Catalog catalog = test::SampleCatalog();
    const std::string first = GetParam()(catalog);
    catalog.units.erase(catalog.units.begin());
    const std::string second = GetParam()(catalog);
    const auto idOf = [](const std::string& xml, const std::string& source) {
        const std::size_t at = xml.find(">" + source + "<");
        const std::size_t id = xml.rfind(" id=\"u", at);
        return xml.substr(id, xml.find('"', id + 5) - id);
    };
    EXPECT_EQ(idOf(first, "Untranslated text"), idOf(second, "Untranslated text"));
    EXPECT_NE(idOf(first, "Untranslated text"), idOf(first, "TButton"));
}

INSTANTIATE_TEST_SUITE_P(Xliff, XliffVersions, ::testing::Values(&WriteXliff12, &WriteXliff20));

TEST(XliffFormat, MapsStatesToEachVersionsNames) {
    const std::string v12 = WriteXliff12(test::SampleCatalog());
    EXPECT_NE(v12.find("<target state=\"needs-review-translation\">Nicht speichern"), std::string::npos);
    EXPECT_NE(v12.find("<target state=\"signed-off\">Zeile eins"), std::string::npos);
    EXPECT_NE(v12.find("translate=\"no\""), std::string::npos);
    EXPECT_NE(v12.find("resname=\"MainForm.OpenButton.Caption\""), std::string::npos);
    EXPECT_NE(v12.find("<ph id=\"ch1\" ctype=\"x-ch-0x07\" />"), std::string::npos);
    const std::string v20 = WriteXliff20(test::SampleCatalog());
    EXPECT_NE(v20.find("srcLang=\"en\" trgLang=\"de\""), std::string::npos);
    EXPECT_NE(v20.find("<segment state=\"final\">"), std::string::npos);
    EXPECT_NE(v20.find("<cp hex=\"0007\" />"), std::string::npos);
}

TEST(XliffFormat, ReportsWhereTheDocumentBreaks) {
    const std::string xml = WriteXliff12(test::SampleCatalog());
    for (std::size_t size : {xml.size() / 3, xml.size() / 2, xml.size() - 10}) {
        try {
            ReadXliff(std::string_view(xml).substr(0, size));
            ADD_FAILURE() << "a truncated document was read, size " << size;
        } catch (const ExchangeError& error) {
            EXPECT_GT(error.Line(), 1u);
            EXPECT_GT(error.Column(), 0u);
        }
    }
    try {
        ReadXliff("<?xml version=\"1.0\"?>\n<xliff version=\"1.2\"><file><body>\n  <trans-unit "
                  "id=\"a\"><target/></trans-unit>"
                  "</body></file></xliff>");
        ADD_FAILURE() << "a unit without source was read";
    } catch (const ExchangeError& error) {
        EXPECT_EQ(error.Line(), 3u);
        EXPECT_EQ(error.Column(), 3u);
    }
    EXPECT_THROW(ReadXliff("<html/>"), ExchangeError);
}

TEST(XliffFormat, LconvertReadsOurFileAndWhatItWritesComesBack) {
    const std::string lconvert = test::LconvertPath();
    if (lconvert.empty())
        GTEST_SKIP() << "lconvert is not installed (Debian package qt6-l10n-tools)";
    TempDir dir;
    const std::string ours = dir.Write("ours.xlf", WriteXliff12(test::SampleCatalog()));
    const std::string ts = dir.FilePath("ours.ts");
    const std::string theirs = dir.FilePath("theirs.xlf");
    std::string output;
    ASSERT_EQ(test::RunProgram(lconvert + " -i '" + ours + "' -o '" + ts + "'", &output), 0) << output;
    ASSERT_EQ(test::RunProgram(lconvert + " -i '" + ts + "' -o '" + theirs + "'", &output), 0) << output;
    const Catalog back = ReadXliff(ReadBytes(theirs));
    // lconvert writes CR LF as LF (the import matches such a text to the table's CR LF key), drops
    // units that are not to be translated and the placeholders that carry control characters.
    const auto lf = test::LfOnly;
    for (const Unit& unit : test::SampleCatalog().units) {
        if (unit.state == UnitState::DontTranslate || unit.source.find('\x07') != std::string::npos)
            continue;
        const auto found = std::find_if(back.units.begin(), back.units.end(),
                                        [&](const Unit& other) { return other.source == lf(unit.source); });
        ASSERT_NE(found, back.units.end()) << unit.source.substr(0, 40);
        EXPECT_EQ(found->target, lf(unit.target)) << unit.source.substr(0, 40);
    }
}

} // namespace
} // namespace wordloom::exchange
