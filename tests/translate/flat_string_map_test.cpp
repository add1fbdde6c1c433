// The lookups' map: every key found with its own value through growth, pointers that stay.
#include "translate/flat_string_map.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace wordloom {
namespace {

TEST(FlatStringMap, FindsEveryKeyWithItsValueWhileGrowingAndKeepsTheValuesInPlace) {
    FlatStringMap<std::string> map;
    EXPECT_EQ(map.Find("anything"), nullptr);
    std::map<std::string, std::string> expected;
    std::map<std::string, const std::string*> places;
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) {
        // Short, long, empty and binary keys, many sharing their start.
        std::string key = "Text " + std::to_string(random() % 3000);
        if (i % 7 == 0)
            key.append(40, 'x');
        if (i % 11 == 0)
            key += std::string("\0\xff", 2);
        if (i == 100)
            key.clear();
        const auto [value, added] = map.TryEmplace(key, "value " + std::to_string(i));
        const bool isNew = expected.emplace(key, "value " + std::to_string(i)).second;
        ASSERT_EQ(added, isNew) << i;
        if (added)
            places[key] = value;
        EXPECT_EQ(*value, expected[key]) << "a key met again keeps its first value";
    }
    EXPECT_EQ(map.Size(), expected.size());
    for (const auto& [key, value] : expected) {
        const std::string* found = map.Find(key);
        ASSERT_NE(found, nullptr) << key;
        EXPECT_EQ(*found, value);
        EXPECT_EQ(found, places[key]) << "moved while the map grew";
    }
    EXPECT_EQ(map.Find("Text 3000"), nullptr);
    EXPECT_EQ(map.Find(std::string("Text 1\0", 7)), nullptr);
}

TEST(FlatStringMap, ReservingKeepsWhatIsThere) {
    FlatStringMap<int> map;
    map.TryEmplace("one", 1);
    map.Reserve(1000);
    map.TryEmplace("two", 2);
    ASSERT_NE(map.Find("one"), nullptr);
    EXPECT_EQ(*map.Find("one"), 1);
    EXPECT_EQ(*map.Find("two"), 2);
    EXPECT_EQ(map.Find("three"), nullptr);
}

} // namespace
} // namespace wordloom
