// The checks on texts alone, on the cases that break translated programs: each case names a check,
// a text, a translation and whether the check must speak up.
#include "qa/check.h"
#include "qa/text_scan.h"
#include "support/corpus.h"
#include "support/file_read.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace wordloom::qa {
namespace {

std::vector<Finding> RunOne(const std::string& id, const std::string& source, const std::string& translation,
                            std::optional<ReviewState> review = std::nullopt,
                            const std::string& target = "German") {
    const CheckInfo* info = CheckRegistry::Standard().Find(id);
    if (!info)
        throw std::runtime_error("no check " + id);
    CheckSetup setup{"English", target, {}, {}, nullptr};
    const std::unique_ptr<Check> check = info->make(setup, info->severity);
    std::vector<Finding> found;
    FindingSink sink(found);
    check->Inspect(CheckContext{"English", target, source, translation, {}, review}, sink);
    check->Finish(sink);
    return found;
}

struct Case {
    std::string check;
    std::string source;
    std::string translation;
    bool found;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << c.check << ": \"" << c.source << "\" -> \"" << c.translation << "\"";
}

class StringCheckCase : public testing::TestWithParam<Case> {};

TEST_P(StringCheckCase, SpeaksUpExactlyWhenTheTranslationBreaksTheText) {
    const Case& c = GetParam();
    const std::vector<Finding> found = RunOne(c.check, c.source, c.translation);
    ASSERT_EQ(!found.empty(), c.found);
    for (const Finding& finding : found) {
        EXPECT_EQ(finding.check, c.check);
        EXPECT_FALSE(finding.message.empty());
        EXPECT_EQ(finding.text, c.source);
        EXPECT_EQ(finding.translation, c.translation);
        EXPECT_EQ(finding.target, "German");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Accelerators, StringCheckCase,
    testing::Values(Case{"accelerator-missing", "&Open...", "Öffnen...", true},
                    Case{"accelerator-missing", "&Open...", "Ö&ffnen...", false},
                    // "&&" shows an ampersand: it is no key.
                    Case{"accelerator-missing", "&Save && Close", "Speichern && Schließen", true},
                    Case{"accelerator-missing", "Save && Close", "Speichern && Schließen", false},
                    Case{"accelerator-missing", "&Open", "", false}, // untranslated: another check
                    Case{"accelerator-count", "&File", "&Da&tei", true},
                    Case{"accelerator-count", "Tom && Jerry", "Tom & Jerry", true},
                    Case{"accelerator-count", "E&xit", "&Beenden", false},
                    Case{"accelerator-count", "&Open", "Öffnen", false})); // the other check's finding

INSTANTIATE_TEST_SUITE_P(
    FormatSpecifiers, StringCheckCase,
    testing::Values(
        Case{"format-specifiers", "Keyword \"%s\" already in list", "Schlüssel \"%d\" gibt es schon", true},
        Case{"format-specifiers", "Keyword \"%s\" already in list", "Schlüssel gibt es schon", true},
        Case{"format-specifiers", "%d files in %s", "In %1:s sind %0:d Dateien", false},
        Case{"format-specifiers", "%d files in %s", "In %s sind %d Dateien", true},
        Case{"format-specifiers", "%-10.2f EUR", "%10.3f EUR", false},
        Case{"format-specifiers", "%*d items", "%d Stück", true},
        Case{"format-specifiers", "%*d items", "%*d Stück", false},
        Case{"format-specifiers", "%d%% done", "%d% fertig", true}, // Format fails on "% f"
        Case{"format-specifiers", "%d%% done", "%d %% fertig", false},
        Case{"format-specifiers", "padding-left: %dpx; padding-right: %0:dpx;",
             "Abstand links: %dpx; rechts: %0:dpx;", false},
        Case{"format-specifiers", "Unknown datatype \"%0:s\". Fall back to %1:s.",
             "Auf %1:s ausgewichen: Typ \"%0:s\" unbekannt.", false},
        Case{"format-specifiers", "Unknown datatype \"%0:s\". Fall back to %1:s.",
             "Auf %1:s ausgewichen: Typ \"%1:s\" unbekannt.", true},
        Case{"format-specifiers", "Files", "%d Dateien", true},
        Case{"format-specifiers", "100% sure", "100% sicher", false}, // no Format string
        Case{"format-specifiers", "Size: %u KB", "Größe: %U KB", false}));

INSTANTIATE_TEST_SUITE_P(
    Layout, StringCheckCase,
    testing::Values(Case{"line-breaks", "First\r\nSecond", "Erste Zweite", true},
                    Case{"line-breaks", "First\r\nSecond", "Erste\r\nZweite", false},
                    Case{"line-breaks", "First\r\nSecond", "Erste\nZweite", false},
                    Case{"hint-separator", "Cut|Cuts the selection", "Ausschneiden - schneidet aus", true},
                    Case{"hint-separator", "Cut|Cuts the selection", "Ausschneiden|Schneidet aus", false},
                    Case{"hint-separator", "|Only the long hint", "Nur der lange|", true},
                    Case{"hint-separator", "Exit", "Beenden|Ende", true},
                    Case{"enclosure", "(none)", "(keine)", false}, Case{"enclosure", "(none)", "keine", true},
                    Case{"enclosure", "\"%s\" not found", "„%s“ nicht gefunden", false},
                    Case{"enclosure", "[Default]", "(Standard)", true},
                    Case{"end-punctuation", "Open...", "Öffnen…", false},
                    Case{"end-punctuation", "Open...", "Öffnen", true},
                    Case{"end-punctuation", "Name:", "Name :", false},
                    Case{"end-punctuation", "Delete the file?", "Datei löschen.", true},
                    Case{"end-punctuation", "Start!", "Los！", false},
                    Case{"end-punctuation", "Done", "Fertig.", true},
                    Case{"double-blank", "Save file", "Datei  speichern", true},
                    Case{"double-blank", "A  B", "A  B", false},
                    Case{"line-break-blank", "One\r\nTwo", "Eins \r\nZwei", true},
                    Case{"line-break-blank", "One\r\nTwo", "Eins\r\n Zwei", true},
                    Case{"line-break-blank", "One\r\nTwo", "Eins\r\nZwei", false}));

INSTANTIATE_TEST_SUITE_P(
    Completeness, StringCheckCase,
    testing::Values(Case{"identical", "Options", "Options", true},
                    Case{"identical", "Options", "Optionen", false},
                    Case{"identical", "42", "42", false}, // nothing to translate in it
                    Case{"untranslated", "Options", "", true},
                    Case{"untranslated", "Options", "Optionen", false},
                    Case{"too-long", "OK", "Ja, so ist es in Ordnung", true}, // 24 > 2 * 1.6 + 10
                    Case{"too-long", "Cancel", "Abbrechen", false},
                    Case{"too-long", "Save the changes", "Die Änderungen speichern", false},
                    Case{"too-long", "Save the changes",
                         "Sollen die vorgenommenen Änderungen jetzt dauerhaft gespeichert werden", true}));

TEST(StringChecks, DontTranslateSilencesIdenticalAndUntranslated) {
    EXPECT_TRUE(RunOne("identical", "HeidiSQL", "HeidiSQL", ReviewState::DontTranslate).empty());
    EXPECT_TRUE(RunOne("untranslated", "HeidiSQL", "", ReviewState::DontTranslate).empty());
    EXPECT_EQ(RunOne("identical", "HeidiSQL", "HeidiSQL", ReviewState::Reviewed).size(), 1u);
}

TEST(StringChecks, TheLengthAllowanceFollowsTheLanguage) {
    // 30 characters against 10: too long for English (10 * 1.5 + 10 = 25), not yet for Finnish (27).
    const std::string source = "Abcdefghij";
    const std::string translation(26, 'x');
    EXPECT_EQ(RunOne("too-long", source, translation, std::nullopt, "English").size(), 1u);
    EXPECT_TRUE(RunOne("too-long", source, translation, std::nullopt, "Finnish").empty());
}

TEST(StringChecks, FindingsCarryTheRegistrySeverityAndAHint) {
    const std::vector<Finding> found = RunOne("format-specifiers", "%s", "%d");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].severity, Severity::Error);
    EXPECT_NE(found[0].message.find("%s"), std::string::npos);
    EXPECT_NE(found[0].message.find("%d"), std::string::npos);
    EXPECT_FALSE(found[0].hint.empty());
}

TEST(CheckRegistry, SelectsByIdAndRefusesUnknownOnes) {
    const CheckRegistry& registry = CheckRegistry::Standard();
    EXPECT_EQ(registry.Select({}).size(), registry.Checks().size());
    const std::vector<const CheckInfo*> chosen = registry.Select({"too-long", "accelerator-missing"});
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0]->id, "accelerator-missing"); // registry order
    EXPECT_THROW(registry.Select({"accelerator-missing", "no-such-check"}), std::invalid_argument);
    CheckRegistry mine;
    mine.Add(CheckInfo{"a", Severity::Info, "A", nullptr});
    EXPECT_THROW(mine.Add(CheckInfo{"a", Severity::Info, "A again", nullptr}), std::invalid_argument);
    EXPECT_EQ(ParseSeverity(SeverityName(Severity::Error)), Severity::Error);
    EXPECT_FALSE(ParseSeverity("fatal"));
}

TEST(TextScan, FormatArgumentsFollowDelphisNumbering) {
    // After "%1:s" the next plain specifier takes argument 2; "*" takes one of its own.
    const FormatScan scan = ScanFormat("%1:s %s %*.*f %0:d");
    const std::vector<FormatArgument> expected{{1, 's'}, {2, 's'}, {3, '*'}, {4, '*'}, {5, 'f'}, {0, 'd'}};
    EXPECT_EQ(scan.arguments, expected);
    EXPECT_TRUE(scan.IsFormat());
    EXPECT_EQ(ScanFormat("50 %").invalid, "%");
    EXPECT_EQ(ScanFormat("50 % off").invalid, "% ");
    EXPECT_FALSE(ScanFormat("100%").IsFormat());
}

TEST(TextScan, SpellingWordsLeaveOutNamesNumbersAndSpecifiers) {
    EXPECT_EQ(SpellingWords("&Open the %s file, (please)!"),
              (std::vector<std::string>{"Open", "the", "file", "please"}));
    EXPECT_EQ(SpellingWords("Sa&ve OpenButton main.pas ID3 phpbb_\\d URL 2026"),
              (std::vector<std::string>{"Save"}));
    EXPECT_EQ(SpellingWords("Datei-Menü „Größe“ don't"),
              (std::vector<std::string>{"Datei-Menü", "Größe", "don't"}));
    EXPECT_EQ(StripAccelerators("Tom && &Jerry&"), "Tom & Jerry&");
}

// Real texts of the corpus, broken as translations break them.
TEST(StringChecksOnCorpus, RealTextsBrokenTheUsualWays) {
    if (const std::string missing = test::CorpusMissing("HeidiSQL"); !missing.empty())
        GTEST_SKIP() << missing;
    const std::string mainForm = ReadBytes(test::CorpusRoot() / "HeidiSQL/source/main.dfm");
    const std::string hashUnit =
        ReadBytes(test::CorpusRoot() / "HeidiSQL/components/synedit/Source/SynHighlighterHashEntries.pas");
    struct Real {
        std::string quoted; // as the file spells it
        std::string text;
        std::string broken;
        std::string check;
    };
    const std::vector<Real> cases{
        {"'Cut|Cuts the selection and puts it on the Clipboard'",
         "Cut|Cuts the selection and puts it on the Clipboard", "Ausschneiden: schneidet die Auswahl aus",
         "hint-separator"},
        {"'E&xit'", "E&xit", "Beenden", "accelerator-missing"},
        {"'Keyword \"%s\" already in list'", "Keyword \"%s\" already in list",
         "Schlüsselwort \"%d\" schon da", "format-specifiers"},
    };
    for (const Real& real : cases) {
        SCOPED_TRACE(real.text);
        ASSERT_TRUE(mainForm.find(real.quoted) != std::string::npos ||
                    hashUnit.find(real.quoted) != std::string::npos);
        EXPECT_EQ(RunOne(real.check, real.text, real.broken).size(), 1u);
    }
}

} // namespace
} // namespace wordloom::qa

namespace wordloom::qa {
namespace {

// The single-literal captions, hints and texts of the HeidiSQL forms ('' read as ').
std::vector<std::string> CorpusFormTexts() {
    std::vector<std::string> texts;
    for (const std::filesystem::path& form : test::CorpusFiles({".dfm"}, "HeidiSQL")) {
        std::istringstream lines(ReadBytes(form));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const std::size_t equals = line.find(" = '");
            if (equals == std::string::npos || line.back() != '\'' || line.find('#') != std::string::npos)
                continue;
            const std::string name =
                line.substr(line.find_first_not_of(' '), equals - line.find_first_not_of(' '));
            if (name != "Caption" && name != "Hint" && name != "Text")
                continue;
            std::string text;
            const std::string quoted = line.substr(equals + 4, line.size() - equals - 5);
            for (std::size_t i = 0; i < quoted.size(); ++i) {
                text += quoted[i];
                if (quoted[i] == '\'')
                    ++i;
            }
            if (!text.empty())
                texts.push_back(text);
        }
    }
    return texts;
}

TEST(StringChecksOnCorpus, AnUnchangedTextRaisesNoAlarmAndALostKeyAlways) {
    if (const std::string missing = test::CorpusMissing("HeidiSQL"); !missing.empty())
        GTEST_SKIP() << missing;
    const std::vector<std::string> texts = CorpusFormTexts();
    ASSERT_GT(texts.size(), 500u);
    const std::vector<std::string> silent{"accelerator-missing", "accelerator-count", "format-specifiers",
                                          "line-breaks",         "hint-separator",    "enclosure",
                                          "end-punctuation",     "double-blank",      "line-break-blank",
                                          "untranslated",        "too-long"};
    int keys = 0;
    for (const std::string& text : texts) {
        for (const std::string& id : silent)
            EXPECT_TRUE(RunOne(id, text, text).empty()) << id << ": " << text;
        if (AcceleratorCount(text) > 0) {
            ++keys;
            EXPECT_EQ(RunOne("accelerator-missing", text, StripAccelerators(text)).size(), 1u) << text;
        }
    }
    EXPECT_GT(keys, 50);
}

} // namespace
} // namespace wordloom::qa
