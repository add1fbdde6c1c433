// Spelling with Hunspell: the installed dictionaries where the machine has them (skipped, saying
// so, where not), a dictionary of the test's own in a legacy 8-bit encoding, and no dictionary.
#include "qa/check.h"
#include "qa/spelling_check.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wordloom::qa {
namespace {

struct SpellingRun {
    std::vector<Finding> findings;
    std::vector<std::string> notices;
};

SpellingRun Spell(const std::string& target, const std::vector<std::pair<std::string, std::string>>& pairs,
                  std::vector<std::string> userWords = {}, std::vector<std::string> folders = {}) {
    SpellingRun run;
    const CheckInfo* info = CheckRegistry::Standard().Find("spelling");
    CheckSetup setup{"English", target, std::move(userWords), std::move(folders), &run.notices};
    const std::unique_ptr<Check> check = info->make(setup, info->severity);
    FindingSink sink(run.findings);
    for (const auto& [source, translation] : pairs)
        check->Inspect(CheckContext{"English", target, source, translation, {}, std::nullopt}, sink);
    return run;
}

TEST(SpellingCheck, FindsMisspelledGermanAndLeavesCodeAlone) {
    if (FindDictionary("German", DefaultDictionaryFolders()).empty())
        GTEST_SKIP() << "No German Hunspell dictionary installed (hunspell-de-de): skipped";
    const SpellingRun run = Spell("German", {
                                                {"The file was saved.", "Die Dattei wurde gespeichert."},
                                                {"&Open file", "&Datei ö&ffnen"},
                                                {"%d files in %s", "%d Dateien in %s"},
                                                {"Open Main.pas", "Main.pas öffnen"},
                                                {"HeidiSQL settings", "HeidiSQL-Einstellungen"},
                                            });
    EXPECT_TRUE(run.notices.empty());
    ASSERT_EQ(run.findings.size(), 1u);
    EXPECT_EQ(run.findings[0].check, "spelling");
    EXPECT_EQ(run.findings[0].text, "The file was saved.");
    EXPECT_NE(run.findings[0].message.find("Dattei"), std::string::npos);
    EXPECT_NE(run.findings[0].hint.find("Datei"), std::string::npos); // the suggestion
}

TEST(SpellingCheck, TheUserWordListIsAccepted) {
    if (FindDictionary("English", DefaultDictionaryFolders()).empty())
        GTEST_SKIP() << "No English Hunspell dictionary installed (hunspell-en-us): skipped";
    const std::vector<std::pair<std::string, std::string>> pairs{
        {"Datei speichern", "Save the Wordloomish file"}};
    EXPECT_EQ(Spell("English", pairs).findings.size(), 1u);
    EXPECT_TRUE(Spell("English", pairs, {"Wordloomish"}).findings.empty());
}

TEST(SpellingCheck, ReadsADictionaryInALegacyEncoding) {
    TempDir folder;
    // "Größe" in ISO 8859-1 bytes.
    folder.Write("xx_XX.aff", "SET ISO8859-1\n");
    folder.Write("xx_XX.dic", "2\nGr\xF6\xDF"
                              "e\nFenster\n");
    const SpellingRun run =
        Spell("xx_XX", {{"Size", "Größe"}, {"Window", "Fenster"}, {"Size 2", "Grösse"}}, {}, {folder.Path()});
    ASSERT_EQ(run.findings.size(), 1u);
    EXPECT_EQ(run.findings[0].translation, "Grösse");
}

TEST(SpellingCheck, WithoutADictionaryItSaysSoAndFindsNothing) {
    TempDir empty;
    const SpellingRun run = Spell("German", {{"File", "Dattei"}}, {}, {empty.Path()});
    EXPECT_TRUE(run.findings.empty());
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_NE(run.notices[0].find("German"), std::string::npos);
}

TEST(SpellingCheck, DictionaryNamesFollowTheLanguageField) {
    EXPECT_EQ(DictionaryNames("German").front(), "de_DE");
    EXPECT_EQ(DictionaryNames("ENGLISH").front(), "en_US");
    EXPECT_EQ(DictionaryNames("fr-FR"), std::vector<std::string>{"fr_FR"});
    EXPECT_EQ(DictionaryNames("de"), (std::vector<std::string>{"de_DE", "de"}));
    EXPECT_TRUE(DictionaryNames("Klingon").empty());
}

} // namespace
} // namespace wordloom::qa
