// The module as wordloom-cli uses it: no Qt application runs, so the module starts one offscreen.
#include "cli/text_measure_loader.h"

#include <gtest/gtest.h>

namespace wordloom::cli {
namespace {

TEST(TextMeasureModuleTest, MeasuresWithoutAnApplicationOfTheProgram) {
    LoadedTextMeasure loaded = LoadTextMeasure({WORDLOOM_BINARY_DIR "/cli"});
    ASSERT_TRUE(loaded.FromFonts());
    qa::FontDescription font;
    font.family = "Tahoma";
    font.pixelSize = 11;
    const double go = loaded.Measure().TextWidth("Go", font);
    EXPECT_GT(go, 5);
    EXPECT_GT(loaded.Measure().TextWidth("Weitergehen", font), 3 * go);
    EXPECT_FALSE(loaded.Measure().UsedFamily(font).empty());
    EXPECT_FALSE(loaded.Measure().Estimated());
}

} // namespace
} // namespace wordloom::cli
