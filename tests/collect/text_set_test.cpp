// The set of offered texts: exact membership whatever the texts share, across growth.
#include "collect/text_set.h"

#include <gtest/gtest.h>

#include <string>

namespace wordloom {
namespace {

TEST(TextSet, HoldsExactlyWhatWasInserted) {
    TextSet set;
    EXPECT_FALSE(set.Contains("OK"));
    EXPECT_TRUE(set.Insert("OK"));
    EXPECT_FALSE(set.Insert("OK"));
    EXPECT_TRUE(set.Contains("OK"));
    // Prefixes, extensions, letter case and embedded zero bytes are other texts.
    for (std::string_view other :
         {std::string_view("O"), std::string_view("OK "), std::string_view("ok"), std::string_view("OKAY"),
          std::string_view("OK\0", 3), std::string_view()}) {
        EXPECT_FALSE(set.Contains(other)) << other;
    }
    EXPECT_TRUE(set.Insert(""));
    EXPECT_TRUE(set.Contains(""));
    EXPECT_EQ(set.Size(), 2u);
}

TEST(TextSet, KeepsEveryTextThroughGrowth) {
    constexpr int kTexts = 20000; // many times the first table
    for (const std::string prefix : {"Text ", "x", "Item #"}) {
        TextSet set;
        for (int i = 0; i < kTexts; ++i) {
            const std::string text = prefix + std::to_string(i);
            ASSERT_TRUE(set.Insert(text)) << text;
            ASSERT_TRUE(set.Contains(text)) << text; // also the one whose insert made the table grow
        }
        EXPECT_EQ(set.Size(), static_cast<std::size_t>(kTexts));
        for (int i = 0; i < kTexts; ++i) {
            ASSERT_FALSE(set.Insert(prefix + std::to_string(i))) << prefix << i;
        }
        EXPECT_FALSE(set.Contains(prefix + std::to_string(kTexts)));
        EXPECT_FALSE(set.Contains(prefix + "-1"));
    }
}

} // namespace
} // namespace wordloom
