// The engine's hook for texts shown to people: English unless a front end installed a translator, the
// template translated before the values go in.
#include "base/ui_text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace wordloom {
namespace {

std::string Pirate(const char* context, const char* text) {
    if (std::strcmp(context, "Collect") == 0 && std::strcmp(text, "Parsing %1 ...") == 0)
        return "Plunderin' %1 ...";
    return {}; // no translation: the source text is kept
}

class UiTextTest : public ::testing::Test {
protected:
    void TearDown() override { SetTextTranslator(nullptr); }
};

TEST_F(UiTextTest, TranslatesTheTemplateOnlyWhenATranslatorIsInstalled) {
    EXPECT_EQ(FillIn(WL_TR("Collect", "Parsing %1 ..."), {"Main.dfm"}), "Parsing Main.dfm ...");
    SetTextTranslator(&Pirate);
    EXPECT_EQ(FillIn(WL_TR("Collect", "Parsing %1 ..."), {"Main.dfm"}), "Plunderin' Main.dfm ...");
    // Another context, or a text the catalogue lacks, stays English.
    EXPECT_EQ(WL_TR("Translate", "Parsing %1 ..."), "Parsing %1 ...");
    EXPECT_EQ(WL_TR("Collect", "Finished"), "Finished");
    SetTextTranslator(nullptr);
    EXPECT_EQ(WL_TR("Collect", "Parsing %1 ..."), "Parsing %1 ...");
}

TEST_F(UiTextTest, FillInPutsEachValueInOnce) {
    EXPECT_EQ(FillIn("%2 before %1", {"a", "b"}), "b before a");
    // A path holding a place-holder is not filled in again.
    EXPECT_EQ(FillIn("%1 Line %2", {"/p/%2%1.dfm", "7"}), "/p/%2%1.dfm Line 7");
    // Place-holders without a value and a lone % stay as written.
    EXPECT_EQ(FillIn("100% of %1, %3", {"x"}), "100% of x, %3");
    EXPECT_EQ(FillIn("ends with %", {}), "ends with %");
}

std::string Catalogue(std::initializer_list<std::string_view> fields) {
    std::string data = "wordloom-catalog 1\n";
    for (std::string_view field : fields) {
        data += field;
        data.push_back('\0');
    }
    return data;
}

TEST_F(UiTextTest, CatalogueFilesServeFrontEndsWithoutQt) {
    TempDir empty;
    TempDir dir;
    dir.Write("wordloom_de.catalog", Catalogue({"Collect", "Parsing %1 ...", "Lese %1 ...", "Collect",
                                                "Line\r\nbreak", "Zeilen\r\numbruch"}));
    // The country's own catalogue first, then the language's, in each folder in turn.
    ASSERT_TRUE(InstallTextCatalogue("de_CH", {empty.Path(), dir.Path()}));
    EXPECT_EQ(WL_TR("Collect", "Parsing %1 ..."), "Lese %1 ...");
    EXPECT_EQ(WL_TR("Collect", "Line\r\nbreak"), "Zeilen\r\numbruch");
    EXPECT_EQ(WL_TR("Translate", "Parsing %1 ..."), "Parsing %1 ...");

    dir.Write("wordloom_de_CH.catalog", Catalogue({"Collect", "Parsing %1 ...", "Läse %1 ..."}));
    ASSERT_TRUE(InstallTextCatalogue("de_CH", {dir.Path()}));
    EXPECT_EQ(WL_TR("Collect", "Parsing %1 ..."), "Läse %1 ...");

    // A damaged or foreign file is not taken; the translator installed before stays.
    dir.Write("wordloom_fr.catalog", Catalogue({"Collect", "Parsing %1 ...", "Lecture"}).substr(0, 40));
    dir.Write("wordloom_it.catalog", std::string("Collect\0Parsing %1 ...\0Lettura\0", 31)); // no header
    EXPECT_FALSE(InstallTextCatalogue("fr_FR", {dir.Path()}));
    EXPECT_FALSE(InstallTextCatalogue("it", {dir.Path()}));
    EXPECT_FALSE(InstallTextCatalogue("", {dir.Path()}));
    EXPECT_EQ(WL_TR("Collect", "Parsing %1 ..."), "Läse %1 ...");
}

TEST_F(UiTextTest, UserLanguageFollowsTheLocaleVariables) {
    const auto language = [](const char* languageList, const char* all, const char* messages,
                             const char* lang) {
        const auto set = [](const char* name, const char* value) {
            value ? ::setenv(name, value, 1) : ::unsetenv(name);
        };
        set("LANGUAGE", languageList);
        set("LC_ALL", all);
        set("LC_MESSAGES", messages);
        set("LANG", lang);
        return UserLanguage();
    };
    EXPECT_EQ(language(nullptr, nullptr, nullptr, "de_DE.UTF-8"), "de_DE");
    EXPECT_EQ(language(nullptr, nullptr, "pt_BR.UTF-8@euro", "de_DE.UTF-8"), "pt_BR");
    EXPECT_EQ(language("", "fr_FR.UTF-8", "pt_BR", "de_DE"), "fr_FR");
    // LANGUAGE orders the languages of a locale that has one, as gettext does.
    EXPECT_EQ(language("de:fr", nullptr, nullptr, "fr_FR.UTF-8"), "de");
    EXPECT_EQ(language("de:fr", "C", nullptr, "fr_FR.UTF-8"), "");
    for (const char* source : {"C", "POSIX", "C.UTF-8", "en_US.UTF-8", "en"})
        EXPECT_EQ(language(nullptr, nullptr, nullptr, source), "") << source;
    EXPECT_EQ(language(nullptr, nullptr, nullptr, nullptr), "");
}

} // namespace
} // namespace wordloom
