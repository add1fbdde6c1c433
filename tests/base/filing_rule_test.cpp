// The filing rule: what of a collected text is filed, and with which blank counts.
#include "base/filing_rule.h"

#include <gtest/gtest.h>

namespace wordloom {
namespace {

struct RuleCase {
    const char* raw;
    const char* filed; ///< nullptr: nothing is filed
    long long spFront;
    long long spEnd;
};

TEST(FilingRule, TrimsControlsCountsOnlyBlanksAndDropsShortTexts) {
    const RuleCase cases[] = {
        {"  Save as  ", "Save as", 2, 2},
        {"Name: ", "Name:", 0, 1},
        {"\tName", "Name", 0, 0},         // a tab is trimmed, not counted
        {" \tCity\t ", "City", 1, 1},     // counting stops at the tab
        {"\r\nLine\r\n", "Line", 0, 0},   // any code up to 32 goes
        {"\xC3\x96l", "\xC3\x96l", 0, 0}, // two characters in three bytes
        {"", nullptr, 0, 0},
        {" A ", nullptr, 0, 0},
        {"   ", nullptr, 0, 0},
        {"\x01:\x1F", nullptr, 0, 0},
        {"  \xC3\x96  ", nullptr, 0, 0}, // one character in two bytes
    };
    for (const RuleCase& c : cases) {
        const std::optional<PreparedText> text = PrepareText(c.raw);
        if (c.filed == nullptr) {
            EXPECT_FALSE(text.has_value()) << c.raw;
            continue;
        }
        ASSERT_TRUE(text.has_value()) << c.raw;
        EXPECT_EQ(text->text, c.filed);
        EXPECT_EQ(text->spFront, c.spFront) << c.raw;
        EXPECT_EQ(text->spEnd, c.spEnd) << c.raw;
    }
}

TEST(FilingRule, TrimControlsKeepsInnerControls) {
    EXPECT_EQ(TrimControls("\t a\tb \r\n"), "a\tb");
    EXPECT_EQ(TrimControls(" \x7F "), "\x7F"); // DEL is above 32
    EXPECT_EQ(TrimControls("\x01\x02"), "");
}

} // namespace
} // namespace wordloom
