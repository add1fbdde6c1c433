#include "exchange/po_format.h"
#include "exchange_samples.h"
#include "support/file_read.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace wordloom::exchange {
namespace {

using test::RunProgram;
using test::SampleCatalog;

PoHeader FixedHeader() {
    PoHeader header;
    header.revisionDate = "2026-12-08 10:00+0000";
    header.lastTranslator = "Anna Example <anna@example.org>";
    header.languageTeam = "German <de@example.org>";
    return header;
}

void ExpectSameTexts(const Catalog& expected, const Catalog& actual) {
    ASSERT_EQ(expected.units.size(), actual.units.size());
    for (std::size_t i = 0; i < expected.units.size(); ++i) {
        SCOPED_TRACE(expected.units[i].source.substr(0, 40));
        EXPECT_EQ(expected.units[i].source, actual.units[i].source);
        EXPECT_EQ(expected.units[i].target, actual.units[i].target);
    }
}

TEST(PoFormat, WritesAndReadsBackEveryUnit) {
    const Catalog catalog = SampleCatalog();
    const std::string po = WritePo(catalog, FixedHeader());
    EXPECT_NE(po.substr(0, 3), "\xEF\xBB\xBF");
    const Catalog back = ReadPo(po);
    EXPECT_EQ(back.sourceLanguage, "en");
    EXPECT_EQ(back.targetLanguage, "de");
    EXPECT_EQ(back.project, "Demo");
    // Everything the format carries comes back, places included (without their project).
    ASSERT_EQ(back.units.size(), catalog.units.size());
    for (std::size_t i = 0; i < catalog.units.size(); ++i) {
        Unit expected = catalog.units[i];
        for (Place& place : expected.places)
            place.project.clear();
        EXPECT_EQ(back.units[i], expected) << i;
    }
}

// "\n" stands for CR LF; a CR right before a CR LF would be read back as part of the pair.
TEST(PoFormat, ACarriageReturnBeforeALineBreakComesBack) {
    Catalog catalog;
    for (const char* text : {"a\r\r\nb", "a\r\r\r\n", "\r\r\n", "a\r\nb\r\r\nc"}) {
        Unit unit;
        unit.source = text;
        unit.target = std::string("x") + text;
        unit.state = UnitState::Translated;
        catalog.units.push_back(unit);
    }
    const Catalog back = ReadPo(WritePo(catalog, FixedHeader()));
    ExpectSameTexts(catalog, back);
    // Texts without such a CR keep the plain "\n" gettext tools expect.
    Catalog plain;
    plain.units.push_back(catalog.units[0]);
    plain.units[0].source = "a\r\nb";
    plain.units[0].target = "x\r\ny";
    EXPECT_NE(WritePo(plain, FixedHeader()).find("msgid \"\"\n\"a\\n\"\n\"b\""), std::string::npos);
}

TEST(PoFormat, LaysEntriesOutAsGettextDoes) {
    const std::string po = WritePo(SampleCatalog(), FixedHeader());
    for (const char* expected :
         {"\"Language: de\\n\"", "\"Content-Type: text/plain; charset=UTF-8\\n\"",
          "\"Last-Translator: Anna Example <anna@example.org>\\n\"",
          "#: Main.dfm:12 \xE2\x81\xA8Sub Dir/Other.dfm\xE2\x81\xA9:40\n", "#. MainForm.OpenButton.Caption\n",
          "#, fuzzy\nmsgid \"Don't save\"\n",
          "#, object-pascal-format\nmsgid \"File %s not found (%0:d of %d)\"\n",
          "msgid \"\"\n\"Line one\\n\"\n\"Line two\\n\"\n\"\\\"Quoted\\\" and back\\\\slash\"\n",
          "#. line ends: LF\n", "msgid \"Bell\x07 and escape\x1b inside\"\n"}) {
        EXPECT_NE(po.find(expected), std::string::npos) << expected;
    }
    std::size_t start = 0;
    while (start < po.size()) {
        const std::size_t end = po.find('\n', start);
        const std::string line = po.substr(start, end - start);
        // Only a line without a blank to break at may run over.
        if (line.find(' ') != std::string::npos && line.rfind("#:", 0) != 0) {
            EXPECT_LE(line.size(), 79u) << line;
        }
        start = end + 1;
    }
}

TEST(PoFormat, RecognisesFormatPlaceholders) {
    for (const char* text : {"%s", "a %d b", "%0:s", "%-8.2f", "%*.*f", "%x", "%1:-10s"})
        EXPECT_TRUE(HasFormatPlaceholder(text)) << text;
    for (const char* text : {"100%", "100%%", "%%s", "% s", "50% off", "%q"})
        EXPECT_FALSE(HasFormatPlaceholder(text)) << text;
}

struct BadPo {
    const char* text;
    std::size_t line;
};

TEST(PoFormat, NamesTheLineOfASyntaxError) {
    const BadPo cases[] = {
        {"msgid \"a\"\nmsgstr \"b\n", 2},
        {"msgid \"ab\"\nmsgstr \"cd\"\n\nmsgid \"x\"\nmsgtxt \"y\"\n", 5},
        {"msgstr \"x\"\n", 1},
        {"msgid \"ab\"\n\n\"cd\"\n", 3},
        {"msgid \"ab\"\nmsgstr \"\\q\"\n", 2},
        {"msgid \"ab\"\nmsgid \"cd\"\n", 2},
        {"msgid \"ab\"\nmsgstr \"cd\" x\n", 2},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n", 1},
        {"# only a comment\nmsgid \"ab\"\n", 2},
    };
    for (const BadPo& bad : cases) {
        try {
            ReadPo(bad.text);
            ADD_FAILURE() << "accepted: " << bad.text;
        } catch (const ExchangeError& error) {
            EXPECT_EQ(error.Line(), bad.line) << bad.text << " -> " << error.what();
            EXPECT_NE(std::string(error.what()).find("line"), std::string::npos);
        }
    }
}

TEST(PoFormat, EveryTruncatedPrefixReadsOrFailsCleanly) {
    const std::string po = WritePo(SampleCatalog(), FixedHeader());
    for (std::size_t size = 0; size < po.size(); size += 7) {
        try {
            const Catalog part = ReadPo(std::string_view(po).substr(0, size));
            EXPECT_LE(part.units.size(), SampleCatalog().units.size());
        } catch (const ExchangeError& error) {
            EXPECT_GT(error.Line(), 0u) << size;
        }
    }
}

TEST(PoFormat, ReadsWhatOtherToolsWrite) {
    const Catalog catalog =
        ReadPo("# translator note\n#, fuzzy\nmsgctxt \"ctx\"\nmsgid \"Hello\"\nmsgstr \"\"\n\"Hal\"\n"
               "\"lo\"\n\n#~ msgid \"old\"\n#~ msgstr \"alt\"\n\nmsgid \"a\\nb\"\nmsgid_plural \"as\"\n"
               "msgstr[0] \"x\\ny\"\nmsgstr[1] \"xs\"\n");
    ASSERT_EQ(catalog.units.size(), 2u);
    EXPECT_EQ(catalog.units[0].target, "Hallo");
    EXPECT_EQ(catalog.units[0].state, UnitState::Suggested);
    EXPECT_EQ(catalog.units[0].notes, std::vector<std::string>{"translator note"});
    EXPECT_EQ(catalog.units[1].source, "a\r\nb");
    EXPECT_EQ(catalog.units[1].target, "x\r\ny");
}

// Programs we did not write judge the file: gettext's own checker and concatenator, and
// Translate Toolkit's converter and checker.
class PoTools : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_dir.Write("de.po", WritePo(SampleCatalog(), FixedHeader())); }
    TempDir m_dir;
    std::string m_path;
};

TEST_F(PoTools, MsgfmtAcceptsTheFile) {
    if (!test::HaveProgram("msgfmt"))
        GTEST_SKIP() << "msgfmt is not installed (Debian package gettext)";
    std::string output;
    EXPECT_EQ(RunProgram("msgfmt --check --check-accelerators='&' -o /dev/null '" + m_path + "'", &output), 0)
        << output;
}

TEST_F(PoTools, MsgcatOutputReadsBackUnchanged) {
    if (!test::HaveProgram("msgcat"))
        GTEST_SKIP() << "msgcat is not installed (Debian package gettext)";
    const std::string out = m_dir.FilePath("cat.po");
    std::string output;
    ASSERT_EQ(RunProgram("msgcat -o '" + out + "' '" + m_path + "'", &output), 0) << output;
    const Catalog back = ReadPo(ReadBytes(out));
    ExpectSameTexts(SampleCatalog(), back);
    EXPECT_EQ(back.units[1].state, UnitState::Suggested);
}

TEST_F(PoTools, TranslateToolkitConvertsAndChecksTheFile) {
    if (!test::HaveProgram("po2xliff") || !test::HaveProgram("pofilter"))
        GTEST_SKIP() << "Translate Toolkit is not installed (Debian package translate-toolkit)";
    std::string output;
    const std::string xliff = m_dir.FilePath("out.xlf");
    ASSERT_EQ(RunProgram("po2xliff -i '" + m_path + "' -o '" + xliff + "'", &output), 0) << output;
    const std::string back = m_dir.FilePath("back.po");
    ASSERT_EQ(RunProgram("xliff2po -i '" + xliff + "' -o '" + back + "'", &output), 0) << output;
    ExpectSameTexts(SampleCatalog(), ReadPo(ReadBytes(back)));
    // pofilter reads the whole file (a parse failure is an error status) and flags no escapes of ours.
    const std::string filtered = m_dir.FilePath("filtered.po");
    ASSERT_EQ(
        RunProgram("pofilter -t escapes -t printf -t doublequoting -i '" + m_path + "' -o '" + filtered + "'",
                   &output),
        0)
        << output;
    // pofilter writes a file only when some entry failed a check.
    if (std::filesystem::exists(filtered)) {
        EXPECT_TRUE(ReadPo(ReadBytes(filtered)).units.empty()) << ReadBytes(filtered);
    }
}

} // namespace
} // namespace wordloom::exchange
