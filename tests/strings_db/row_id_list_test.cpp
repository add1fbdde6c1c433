// The cursor's block list against a plain vector doing the same edits.
#include "strings_db/row_id_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace wordloom {
namespace {

void ExpectSame(const RowIdList& list, const std::vector<RowId>& model) {
    ASSERT_EQ(list.Size(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(list.At(i), model[i]) << "index " << i;
    }
}

TEST(RowIdList, RandomInsertsAndErasesAcrossBlocks) {
    std::mt19937 random(7);
    std::vector<RowId> model;
    for (RowId id = 0; id < 3000; ++id) {
        model.push_back(id * 2);
    }
    RowIdList list;
    list.Assign(model);
    ExpectSame(list, model);
    RowId next = 100000;
    // Enough inserts at one end to split blocks, enough erases to empty some.
    for (int step = 0; step < 6000; ++step) {
        bool insert = step < 3000 ? random() % 4 != 0 : random() % 4 == 0;
        if (insert || model.empty()) {
            std::size_t at = step % 5 == 0 ? 10 : random() % (model.size() + 1);
            list.InsertAt(at, next);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), next++);
        } else {
            std::size_t at = random() % model.size();
            list.EraseAt(at);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        }
        if (step % 500 == 0) {
            ExpectSame(list, model);
        }
    }
    ExpectSame(list, model);
    ASSERT_FALSE(model.empty());
    EXPECT_EQ(list.Find(model.back()), model.size() - 1);
    EXPECT_FALSE(list.Find(-5).has_value());
}

TEST(RowIdList, LowerBoundOverSeveralBlocks) {
    std::vector<RowId> ids;
    for (RowId id = 0; id < 5000; ++id) {
        ids.push_back(id * 3);
    }
    RowIdList list;
    list.Assign(ids);
    for (RowId target : {RowId{-1}, RowId{0}, RowId{1}, RowId{3071}, RowId{3072}, RowId{3073}, RowId{14997},
                         RowId{14998}, RowId{20000}}) {
        auto expected = std::lower_bound(ids.begin(), ids.end(), target) - ids.begin();
        EXPECT_EQ(list.LowerBound([&](RowId id) { return id < target; }), static_cast<std::size_t>(expected))
            << target;
    }
}

TEST(RowIdList, EmptyListAndRangeErrors) {
    RowIdList list;
    EXPECT_EQ(list.LowerBound([](RowId) { return true; }), 0u);
    EXPECT_THROW(list.At(0), std::out_of_range);
    EXPECT_THROW(list.EraseAt(0), std::out_of_range);
    list.InsertAt(0, 42);
    EXPECT_EQ(list.At(0), 42);
    list.EraseAt(0);
    EXPECT_EQ(list.Size(), 0u);
    list.InsertAt(0, 7);
    EXPECT_EQ(list.Size(), 1u);
}

} // namespace
} // namespace wordloom
