// The engine's hook for texts shown to people: English unless a front end installed a translator, the
// template translated before the values go in.
#include "base/ui_text.h"

#include <gtest/gtest.h>

#include <cstring>

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

} // namespace
} // namespace wordloom
