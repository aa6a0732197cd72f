// Distinct values, counts and string sets: fixed cases and random lists
// (repeated, empty and blank-padded items) against an ordered model built
// from std::vector and linear search.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "karpa/curried.h"
#include "curried/collections.hpp"
#include "models.hpp"

namespace {

using model::show;
using Strings = std::vector<std::string>;

struct PairCase {
    const char* (*fn)(const char*, const char*);
    const char* a;
    const char* b;
    const char* expected;
};

void PrintTo(const PairCase& c, std::ostream* os) {
    *os << '"' << (c.a ? c.a : "<null>") << "\", \"" << (c.b ? c.b : "<null>") << '"';
}

class StringPairs : public testing::TestWithParam<PairCase> {};

TEST_P(StringPairs, Result) {
    const PairCase& c = GetParam();
    EXPECT_EQ(show(c.fn(c.a, c.b)), show(c.expected)) << '"' << c.a << "\" \"" << c.b << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, StringPairs,
    testing::Values(PairCase{cur_union_string, "a,b,a", "c,b,d", "a,b,c,d"},
                    PairCase{cur_union_string, "a", "", "a,"},
                    PairCase{cur_union_string, "", "a", ",a"},
                    PairCase{cur_union_string, "", "", ""},
                    PairCase{cur_union_string, nullptr, nullptr, ""},
                    PairCase{cur_union_string, ",", "", ""},
                    PairCase{cur_union_string, "a, a,a ", "A,a", "a, a,a ,A"},
                    PairCase{cur_intersect_string, "a,b,a,c", "c,a", "a,c"},
                    PairCase{cur_intersect_string, "a", "", ""},
                    PairCase{cur_intersect_string, "a,,b,", "", ""},
                    PairCase{cur_intersect_string, "a,,b,", ",", ""},
                    PairCase{cur_intersect_string, ",,a", "a,", ",a"},
                    PairCase{cur_intersect_string, "", "x,", ""},
                    PairCase{cur_intersect_string, "a, a", " a", " a"},
                    PairCase{cur_diff_string, "a,b,a,c", "b", "a,a,c"},
                    PairCase{cur_diff_string, "a,b", "", "a,b"},
                    PairCase{cur_diff_string, "a,,b,,", "a", ",b,,"},
                    PairCase{cur_diff_string, "a,,b", ",", "a,b"},
                    PairCase{cur_diff_string, "", "a", ""},
                    PairCase{cur_diff_string, "x,x", "y", "x,x"},
                    PairCase{cur_count_string, "a,b,a", "a", "2"},
                    PairCase{cur_count_string, "a, a", "a", "1"},
                    PairCase{cur_count_string, "", "", "1"},
                    PairCase{cur_count_string, nullptr, nullptr, "1"},
                    PairCase{cur_count_string, "a,,b", "", "1"},
                    PairCase{cur_count_string, ",,", "", "3"},
                    PairCase{cur_count_string, "a,b", "a,b", "0"},  // the item is never split
                    PairCase{cur_count_string, "ab,a,abc", "ab", "1"}));

struct DistinctCase {
    const char* list;
    const char* expected;
};

void PrintTo(const DistinctCase& c, std::ostream* os) { *os << '"' << (c.list ? c.list : "<null>") << '"'; }

class DistinctStrings : public testing::TestWithParam<DistinctCase> {};

TEST_P(DistinctStrings, Result) {
    EXPECT_EQ(show(cur_distinct_string(GetParam().list)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DistinctStrings,
                         testing::Values(DistinctCase{"b,a,b, a", "b,a, a"}, DistinctCase{"a,,b,,", "a,,b"},
                                         DistinctCase{"", ""}, DistinctCase{nullptr, ""}, DistinctCase{",", ""},
                                         DistinctCase{",a", ",a"}, DistinctCase{"A,a,A", "A,a"},
                                         DistinctCase{"\xc3\xa9,e\xcc\x81,\xc3\xa9", "\xc3\xa9,e\xcc\x81"}));

TEST(Collections, NulEndsTheArgument) {
    const char text[] = "a,b\0,c";
    EXPECT_EQ(show(cur_distinct_string(text)), "a,b");
    EXPECT_EQ(show(cur_count_string("a,b", "b\0c")), "1");
}

TEST(Collections, DistinctImplKeepsFirstOccurrences) {
    const karpa::IntList xs{5, -1, 5, INT64_MIN, -1, INT64_MAX, INT64_MIN, 0};
    EXPECT_EQ(karpa::distinctImpl(xs), (karpa::IntList{5, -1, INT64_MIN, INT64_MAX, 0}));
    EXPECT_TRUE(karpa::distinctImpl(karpa::IntList{}).empty());
}

TEST(Collections, DistinctIntAcrossManyValues) {
    // far more values than the set starts with, so it grows many times
    std::string text;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        text += std::to_string(i * 7919 % 10007) + ",";
        if (i < 10007) expected += std::to_string(i * 7919 % 10007) + ",";
    }
    expected.pop_back();
    EXPECT_EQ(show(cur_distinct_int(text.c_str())), expected);
}

// The ordered model: first occurrences found by linear search.
bool has(const Strings& xs, const std::string& x) { return std::find(xs.begin(), xs.end(), x) != xs.end(); }

Strings splitModel(const std::string& text) {
    Strings out(1);
    for (char c : text) {
        if (c == ',') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

std::string joinModel(const Strings& xs) {
    std::string out;
    for (size_t i = 0; i < xs.size(); ++i) out += (i ? "," : "") + xs[i];
    return out;
}

Strings distinctModel(const Strings& xs) {
    Strings out;
    for (const auto& x : xs) {
        if (!has(out, x)) out.push_back(x);
    }
    return out;
}

std::string randomListText(std::mt19937_64& rng) {
    static const char* const pool[] = {"", "a", " a", "a ", "b", "ab", "ba", "abc", "x y", "\t", "  ", "a\n", "long item 17", "\xff"};
    const size_t n = rng() % 12;
    std::string text;
    for (size_t i = 0; i < n; ++i) {
        if (i) text += ',';
        text += pool[rng() % std::size(pool)];
    }
    return text;
}

TEST(Collections, StringExportsAgainstOrderedModel) {
    std::mt19937_64 rng(4242);
    for (int round = 0; round < 5000; ++round) {
        const std::string ta = randomListText(rng);
        const std::string tb = randomListText(rng);
        const Strings a = splitModel(ta);
        const Strings b = splitModel(tb);
        SCOPED_TRACE("a=\"" + ta + "\" b=\"" + tb + "\"");

        EXPECT_EQ(show(cur_distinct_string(ta.c_str())), ta.empty() ? "" : joinModel(distinctModel(a)));

        Strings both = a;
        both.insert(both.end(), b.begin(), b.end());
        EXPECT_EQ(show(cur_union_string(ta.c_str(), tb.c_str())), joinModel(distinctModel(both)));

        Strings common, rest;
        for (const auto& x : a) {
            if (has(b, x) && !has(common, x)) common.push_back(x);
            if (!has(b, x)) rest.push_back(x);
        }
        EXPECT_EQ(show(cur_intersect_string(ta.c_str(), tb.c_str())), joinModel(common));
        EXPECT_EQ(show(cur_diff_string(ta.c_str(), tb.c_str())), joinModel(rest));

        const std::string item = b[rng() % b.size()];
        EXPECT_EQ(show(cur_count_string(ta.c_str(), item.c_str())), std::to_string(std::count(a.begin(), a.end(), item)));
    }
}

// Long lists, so the sets grow (distinct pieces first then repeats, and the
// other way round), of pieces that meet the sets' corners: empty, up to eight
// bytes (kept as a word) next to nine and more sharing their first eight,
// pieces that differ in their last byte only, long ones, and a short last
// piece at the very end of the text.
std::string cornerPiece(std::mt19937_64& rng, size_t i, bool fresh) {
    static const char* const fixed[] = {"", "a", "abcdefg", "abcdefgh", "abcdefghi", "abcdefgh ", "abcdefgi",
                                        "abcdefghabcdefgh", "abcdefghabcdefgi", "\x80\xff", " "};
    if (!fresh) return fixed[rng() % std::size(fixed)];
    std::string piece = "abcdefgh";
    piece.resize(rng() % 20, 'q');
    piece += std::to_string(i % 50000);
    if (rng() % 8 == 0) piece.append(40 + rng() % 200, 'z');
    return piece;
}

TEST(Collections, StringSetsOnLongListsAgainstAHashModel) {
    std::mt19937_64 rng(777);
    for (int round = 0; round < 12; ++round) {
        const size_t n = 1000 + rng() % 60000;
        std::string ta, tb;
        Strings a, b;
        for (size_t i = 0; i < n; ++i) {
            // Rounds alternate: fresh pieces mostly early, or mostly late.
            const bool early = i < n / 2;
            const bool fresh = (round % 2 == 0) == early ? rng() % 4 != 0 : rng() % 16 == 0;
            a.push_back(cornerPiece(rng, i, fresh));
            if (i % 2 == 0) b.push_back(cornerPiece(rng, i + round * 7, rng() % 2 == 0));
        }
        a.push_back(round % 3 == 0 ? "ab" : "");  // a short piece that ends the text
        for (size_t i = 0; i < a.size(); ++i) ta += (i ? "," : "") + a[i];
        for (size_t i = 0; i < b.size(); ++i) tb += (i ? "," : "") + b[i];
        SCOPED_TRACE("round " + std::to_string(round));

        const std::unordered_set<std::string> inB(b.begin(), b.end());
        std::unordered_set<std::string> seen, seenCommon;
        Strings first, both, common, rest;
        for (const auto& x : a) {
            if (seen.insert(x).second) first.push_back(x);
            if (inB.count(x) && seenCommon.insert(x).second) common.push_back(x);
            if (!inB.count(x)) rest.push_back(x);
        }
        both = first;
        for (const auto& x : b) {
            if (seen.insert(x).second) both.push_back(x);
        }
        EXPECT_EQ(show(cur_distinct_string(ta.c_str())), joinModel(first));
        EXPECT_EQ(show(cur_union_string(ta.c_str(), tb.c_str())), joinModel(both));
        EXPECT_EQ(show(cur_intersect_string(ta.c_str(), tb.c_str())), joinModel(common));
        EXPECT_EQ(show(cur_diff_string(ta.c_str(), tb.c_str())), joinModel(rest));
    }
}

TEST(Collections, IntExportsAgainstOrderedModel) {
    std::mt19937_64 rng(99);
    for (int round = 0; round < 3000; ++round) {
        std::vector<int64_t> xs(rng() % 30);
        for (auto& x : xs) x = static_cast<int64_t>(rng() % 9) - 4 + ((rng() % 5 == 0) ? INT64_MIN / 2 : 0);
        const std::string text = model::listText(xs, rng, [&](int64_t x) {
            // equal values spelled differently are still one value
            switch (rng() % 4) {
                case 0: return (x >= 0 ? "+" : "") + std::to_string(x);
                case 1: return x >= 0 ? "0" + std::to_string(x) : std::to_string(x);
                default: return std::to_string(x);
            }
        });
        SCOPED_TRACE(text);
        std::vector<int64_t> firsts;
        for (int64_t x : xs) {
            if (std::find(firsts.begin(), firsts.end(), x) == firsts.end()) firsts.push_back(x);
        }
        std::string expected;
        for (size_t i = 0; i < firsts.size(); ++i) expected += (i ? "," : "") + std::to_string(firsts[i]);
        EXPECT_EQ(show(cur_distinct_int(text.c_str())), expected);
        const int value = static_cast<int>(rng() % 9) - 4;
        EXPECT_EQ(show(cur_count_int(text.c_str(), value)), std::to_string(std::count(xs.begin(), xs.end(), value)));
    }
}

}  // namespace
