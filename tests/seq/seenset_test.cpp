// The seen-set answers membership exactly, through growth and collisions.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "seq/seenset.hpp"

using namespace karpa;

namespace {

TEST(SeenSet, UniqueMatchesAnOrderedModel) {
    std::mt19937_64 rng(5);
    for (int round = 0; round < 200; ++round) {
        const size_t n = rng() % 5000;
        const uint64_t range = 1 + rng() % 3000;
        IntList list;
        for (size_t i = 0; i < n; ++i) list.push_back(static_cast<int64_t>(rng() % range) - 1500);
        std::set<int64_t> seen;
        std::vector<int64_t> model;
        for (int64_t x : list) {
            if (seen.insert(x).second) model.push_back(x);
        }
        IntList unique = uniqueImpl(list);
        ASSERT_EQ(std::vector<int64_t>(unique.begin(), unique.end()), model);
    }
}

TEST(SeenSet, GrowthRuleAndSizes) {
    SeenSet<int64_t> set = initHashSet<int64_t>();
    EXPECT_EQ(set.mask + 1, 128u);
    for (int64_t i = 0; i < 100000; ++i) {
        EXPECT_TRUE(inclNew(set, i * 7919));
        // Checked before each insertion, so it holds for the count before the last one.
        const size_t before = set.count - 1;
        EXPECT_GE(set.mask + 1, before + before / 2);
    }
    for (int64_t i = 0; i < 100000; ++i) ASSERT_TRUE(contains(set, i * 7919));
    EXPECT_FALSE(contains(set, int64_t(-1)));
    // The integer 0 marks free slots, so it is held apart.
    SeenSet<int64_t> fresh = initHashSet<int64_t>();
    EXPECT_FALSE(contains(fresh, int64_t(0)));
    EXPECT_TRUE(inclNew(fresh, int64_t(0)));
    EXPECT_FALSE(inclNew(fresh, int64_t(0)));
    EXPECT_TRUE(contains(fresh, int64_t(0)));
    EXPECT_FALSE(contains(fresh, int64_t(1)));
    StringList items{"a", "b", "a"};
    EXPECT_EQ(toHashSet(items).mask + 1, 8u);  // next power of two of 3 + 1 + 4
}

TEST(SeenSet, FloatsZeroIsOneValueNanIsNever) {
    FloatList list{-0.0, 0.0, NAN, NAN, 1.0, 1.0};
    FloatList unique = uniqueImpl(list);
    ASSERT_EQ(unique.size(), 4u);
    EXPECT_TRUE(std::signbit(unique[0]));
    EXPECT_TRUE(std::isnan(unique[1]) && std::isnan(unique[2]));
    EXPECT_EQ(unique[3], 1.0);
}

TEST(SeenSet, StringsByExactBytes) {
    std::vector<std::string> storage;
    std::mt19937_64 rng(11);
    for (int i = 0; i < 20000; ++i) storage.push_back(std::string(rng() % 20, static_cast<char>('a' + rng() % 3)));
    storage.push_back(std::string("x\0y", 3));
    storage.push_back(std::string("x\0z", 3));
    StringList items(storage.begin(), storage.end());
    std::set<std::string> seen;
    std::vector<std::string_view> model;
    for (std::string_view s : items) {
        if (seen.insert(std::string(s)).second) model.push_back(s);
    }
    StringList unique = uniqueImpl(items);
    EXPECT_EQ(std::vector<std::string_view>(unique.begin(), unique.end()), model);
}

}  // namespace
