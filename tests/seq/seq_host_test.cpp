// karpa_seq through the dynamic loader: results byte for byte, null versus "".
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "host.hpp"

using namespace karpa_test;

namespace {

using TextFn = const char*(const char*);
using TextIntFn = const char*(const char*, int);
using MapStringFn = const char*(const char*, const char*, const char*);

const Library& seq() {
    static const Library library("seq");
    return library;
}

constexpr const char* kFails = nullptr;

struct UnaryCase {
    const char* name;
    const char* list;
    const char* expected;
};

struct IntArgCase {
    const char* name;
    const char* list;
    int arg;
    const char* expected;
};

class SeqUnary : public ::testing::TestWithParam<UnaryCase> {};
class SeqIntArg : public ::testing::TestWithParam<IntArgCase> {};

TEST_P(SeqUnary, Result) {
    const UnaryCase& c = GetParam();
    EXPECT_EQ(show(seq().fn<TextFn>(c.name)(c.list)), show(c.expected)) << c.name << "(" << show(c.list) << ")";
}

TEST_P(SeqIntArg, Result) {
    const IntArgCase& c = GetParam();
    EXPECT_EQ(show(seq().fn<TextIntFn>(c.name)(c.list, c.arg)), show(c.expected))
        << c.name << "(" << show(c.list) << ", " << c.arg << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Integers, SeqUnary,
    ::testing::Values(
        UnaryCase{"seq_reduce_sum_int", "1,2,3", "6"}, UnaryCase{"seq_reduce_sum_int", "", "0"},
        UnaryCase{"seq_reduce_sum_int", nullptr, "0"}, UnaryCase{"seq_reduce_sum_int", " , ", "0"},
        UnaryCase{"seq_reduce_sum_int", "9223372036854775807,1,-1", kFails},
        UnaryCase{"seq_reduce_sum_int", "9223372036854775807,-1,1", "9223372036854775807"},
        UnaryCase{"seq_reduce_sum_int", "-9223372036854775808", "-9223372036854775808"},
        UnaryCase{"seq_reduce_sum_int", "1,x,3", kFails}, UnaryCase{"seq_reduce_sum_int", "007,-0", "7"},
        UnaryCase{"seq_reduce_max_int", "", "0"}, UnaryCase{"seq_reduce_min_int", "", "0"},
        UnaryCase{"seq_reduce_min_int", "4,-2,9", "-2"}, UnaryCase{"seq_reduce_max_int", "4,-2,9", "9"},
        UnaryCase{"seq_reduce_max_int", "-5", "-5"}, UnaryCase{"seq_reduce_max_int", "1,x", kFails},
        UnaryCase{"seq_unique_int", "3,1,3,2,1", "3,1,2"}, UnaryCase{"seq_unique_int", "1,+1,01", "1"},
        UnaryCase{"seq_unique_int", "", ""}, UnaryCase{"seq_reverse_int", "1, 2,3", "3,2,1"},
        UnaryCase{"seq_reverse_int", ",,", ""}, UnaryCase{"seq_reverse_int", "1,2,9223372036854775808", kFails},
        UnaryCase{"seq_reverse_int", "1\0,x", "1"}));

INSTANTIATE_TEST_SUITE_P(
    IntegersWithParameter, SeqIntArg,
    ::testing::Values(
        IntArgCase{"seq_map_int", "1, 2,3", 10, "10,20,30"}, IntArgCase{"seq_map_int", "1,,2", -1, "-1,-2"},
        IntArgCase{"seq_map_int", "9223372036854775807", 2, kFails}, IntArgCase{"seq_map_int", "", 5, ""},
        IntArgCase{"seq_map_int", "-9223372036854775808", -1, kFails},
        IntArgCase{"seq_map_int", "5,x", 0, kFails},
        IntArgCase{"seq_filter_int", "5,1,7,3", 3, "5,7"}, IntArgCase{"seq_filter_int", "1,2", 9, ""},
        IntArgCase{"seq_filter_int", "-3,-1", -2, "-1"},
        IntArgCase{"seq_count_int", "5,1,7,3", 3, "2"}, IntArgCase{"seq_count_int", "3,3", 3, "0"},
        IntArgCase{"seq_count_int", "", 0, "0"}, IntArgCase{"seq_count_int", "0,-1,-2", -1, "1"},
        IntArgCase{"seq_sort_int", " 3,1, 2", 0, "1,2,3"}, IntArgCase{"seq_sort_int", "3,1,2", 1, "3,2,1"},
        IntArgCase{"seq_sort_int", "3,1,2", -1, "3,2,1"}, IntArgCase{"seq_sort_int", "3,1,2", 7, "3,2,1"},
        IntArgCase{"seq_sort_int", "3,x", 0, kFails}, IntArgCase{"seq_sort_int", "", 0, ""},
        IntArgCase{"seq_take_int", "1,2,3", 2, "1,2"}, IntArgCase{"seq_take_int", "1,2,3", 5, "1,2,3"},
        IntArgCase{"seq_take_int", "1,2,3", 0, ""}, IntArgCase{"seq_take_int", "1,2,3", -1, kFails},
        IntArgCase{"seq_take_int", "", -1, kFails}, IntArgCase{"seq_take_int", "", 3, ""},
        IntArgCase{"seq_skip_int", "1,2,3", 1, "2,3"}, IntArgCase{"seq_skip_int", "1,2,3", 3, ""},
        IntArgCase{"seq_skip_int", "1,2,3", 10, ""}, IntArgCase{"seq_skip_int", "1,2,3", -1, kFails},
        IntArgCase{"seq_skip_int", "", -1, kFails}, IntArgCase{"seq_skip_int", "1,x,3", 0, kFails},
        IntArgCase{"seq_take_int", "1,2", 2147483647, "1,2"}, IntArgCase{"seq_take_int", "1,2", -2147483647 - 1, kFails}));

INSTANTIATE_TEST_SUITE_P(
    Strings, SeqUnary,
    ::testing::Values(UnaryCase{"seq_unique_string", "a,b,a, a", "a,b, a"},
                      UnaryCase{"seq_unique_string", "x,,x,", "x,"}, UnaryCase{"seq_unique_string", "", ""},
                      UnaryCase{"seq_unique_string", nullptr, ""}, UnaryCase{"seq_unique_string", ",", ""},
                      UnaryCase{"seq_reverse_string", "a,b,c", "c,b,a"},
                      UnaryCase{"seq_reverse_string", "a,", ",a"},
                      UnaryCase{"seq_reverse_string", "1,x,\xC3\xA9", "\xC3\xA9,x,1"}));

INSTANTIATE_TEST_SUITE_P(
    StringsWithParameter, SeqIntArg,
    ::testing::Values(
        IntArgCase{"seq_filter_string", "ab, c,  ,def", 2, "ab,def"},
        IntArgCase{"seq_filter_string", " ab ,c", 2, " ab "}, IntArgCase{"seq_filter_string", ",", 0, ","},
        IntArgCase{"seq_filter_string", "a,b", 5, ""}, IntArgCase{"seq_filter_string", "a,,b", -7, "a,,b"},
        IntArgCase{"seq_count_string", "ab, c,  ,def", 2, "2"}, IntArgCase{"seq_count_string", ",", 0, "2"},
        IntArgCase{"seq_count_string", "", 0, "0"}, IntArgCase{"seq_count_string", nullptr, -1, "0"},
        IntArgCase{"seq_sort_string", "b,a,,B", 0, ",B,a,b"}, IntArgCase{"seq_sort_string", "b,a,,B", 1, "b,a,B,"},
        IntArgCase{"seq_sort_string", "b, a", 0, " a,b"}, IntArgCase{"seq_sort_string", "ab,a", 0, "a,ab"},
        IntArgCase{"seq_sort_string", "", 0, ""}, IntArgCase{"seq_sort_string", "\xff,a", 0, "a,\xff"},
        IntArgCase{"seq_take_string", "a,b,c", 2, "a,b"}, IntArgCase{"seq_take_string", "a,b,c", 0, ""},
        IntArgCase{"seq_take_string", "", -1, ""}, IntArgCase{"seq_take_string", "a", -1, kFails},
        IntArgCase{"seq_skip_string", "a,b,c", 1, "b,c"}, IntArgCase{"seq_skip_string", "a,b,c", 3, ""},
        IntArgCase{"seq_skip_string", "a,b,c", 9, ""}, IntArgCase{"seq_skip_string", "a,b", -1, kFails},
        IntArgCase{"seq_skip_string", "", -1, ""}));

TEST(SeqStrings, MapWrapsTheStrippedItem) {
    auto map = seq().fn<MapStringFn>("seq_map_string");
    EXPECT_EQ(show(map("a, b,,c", "<", ">")), "<a>,<b>,<>,<c>");
    EXPECT_EQ(show(map("x", nullptr, nullptr)), "x");
    EXPECT_EQ(show(map("", "<", ">")), "");
    EXPECT_EQ(show(map(nullptr, "<", ">")), "");
    EXPECT_EQ(show(map(",", nullptr, nullptr)), ",");
    EXPECT_EQ(show(map(" \t ", "[", "]")), "[]");
}

TEST(SeqBoundary, ExportsExactlyTheListedFunctionsAndNeedsOnlyLibc) {
    expectSelfContained("seq");
}

TEST(SeqBoundary, ValidCallAfterAFailedOneSucceeds) {
    auto sum = seq().fn<TextFn>("seq_reduce_sum_int");
    EXPECT_EQ(sum("1,x"), nullptr);
    EXPECT_EQ(show(sum("1,2")), "3");
    EXPECT_EQ(sum("9223372036854775807,1"), nullptr);
    EXPECT_EQ(show(seq().fn<TextIntFn>("seq_sort_string")("b,a", 0)), "a,b");
}

TEST(SeqBoundary, ResultStaysValidUntilTheNextCall) {
    auto sort = seq().fn<TextIntFn>("seq_sort_int");
    const char* result = sort("3,2,1", 0);
    const std::string copy = result;
    EXPECT_EQ(std::string(result), "1,2,3");
    EXPECT_EQ(copy, "1,2,3");
    seq().fn<void()>("TovDestroyGlobals")();
    EXPECT_EQ(show(sort("2,1", 1)), "2,1");
}

// Random lists against a model written with the standard library.
TEST(SeqDifferential, IntegerExportsAgainstAModel) {
    std::mt19937_64 rng(2024);
    auto join = [](const std::vector<int64_t>& xs) {
        std::string out;
        for (size_t i = 0; i < xs.size(); ++i) out += (i ? "," : "") + std::to_string(xs[i]);
        return out;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<int64_t> xs(rng() % 200);
        for (auto& x : xs) x = static_cast<int64_t>(rng() % 100) - 50;
        std::string text;
        for (size_t i = 0; i < xs.size(); ++i) text += (i ? " ," : "") + std::string(rng() % 2, ' ') + std::to_string(xs[i]);
        std::vector<int64_t> sorted = xs;
        std::stable_sort(sorted.begin(), sorted.end());
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_sort_int")(text.c_str(), 0)), join(sorted));
        std::reverse(sorted.begin(), sorted.end());
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_sort_int")(text.c_str(), 1)), join(sorted));
        std::vector<int64_t> kept;
        for (auto x : xs) {
            if (x > 10) kept.push_back(x);
        }
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_filter_int")(text.c_str(), 10)), join(kept));
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_count_int")(text.c_str(), 10)), std::to_string(kept.size()));
        int64_t sum = 0;
        for (auto x : xs) sum += x;
        EXPECT_EQ(show(seq().fn<TextFn>("seq_reduce_sum_int")(text.c_str())), std::to_string(sum));
    }
}

// The string exports walk the text piece by piece and sort twelve-byte
// records; a model over std::string pieces must agree on every byte. The
// pool shares seven- and eight-byte beginnings, where the sort's key stops.
TEST(SeqDifferential, StringExportsAgainstAModel) {
    static const char* const pool[] = {"", "a", " a", "a ", "b", "ab", "\xff", "a\x01", "\t",
                                       "abcdef", "abcdefg", "abcdefgh", "abcdefgha", "abcdefg\xff", "abcdefgA",
                                       "abcdefgh ", "zz zz zz zz"};
    using Strings = std::vector<std::string>;
    auto join = [](const Strings& xs) {
        std::string out;
        for (size_t i = 0; i < xs.size(); ++i) out += (i ? "," : "") + xs[i];
        return out;
    };
    auto stripped = [](const std::string& s) {
        const size_t first = s.find_first_not_of(" \t\n\v\f\r");
        return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(" \t\n\v\f\r") - first + 1);
    };
    std::mt19937_64 rng(77);
    for (int round = 0; round < 2000; ++round) {
        Strings xs(1 + rng() % 40);
        for (auto& x : xs) x = pool[rng() % std::size(pool)];
        const std::string text = join(xs);
        if (text.empty()) continue;  // the empty text is the empty list, tabled above
        const int k = static_cast<int>(rng() % 14) - 1;
        SCOPED_TRACE("\"" + text + "\" k=" + std::to_string(k));

        Strings up = xs;
        std::stable_sort(up.begin(), up.end());
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_sort_string")(text.c_str(), 0)), join(up));
        Strings down = xs;
        std::stable_sort(down.begin(), down.end(), std::greater<>());
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_sort_string")(text.c_str(), 1)), join(down));

        Strings firsts, kept;
        for (const auto& x : xs) {
            if (std::find(firsts.begin(), firsts.end(), x) == firsts.end()) firsts.push_back(x);
            if (static_cast<int>(stripped(x).size()) >= k) kept.push_back(x);
        }
        EXPECT_EQ(show(seq().fn<TextFn>("seq_unique_string")(text.c_str())), join(firsts));
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_filter_string")(text.c_str(), k)), join(kept));
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_count_string")(text.c_str(), k)), std::to_string(kept.size()));
        EXPECT_EQ(show(seq().fn<TextFn>("seq_reverse_string")(text.c_str())), join(Strings(xs.rbegin(), xs.rend())));

        const size_t cut = std::min<size_t>(k < 0 ? 0 : k, xs.size());
        const std::string taken = join(Strings(xs.begin(), xs.begin() + cut));
        const std::string skipped = join(Strings(xs.begin() + cut, xs.end()));
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_take_string")(text.c_str(), k)), k < 0 ? show(kFails) : taken);
        EXPECT_EQ(show(seq().fn<TextIntFn>("seq_skip_string")(text.c_str(), k)), k < 0 ? show(kFails) : skipped);

        Strings mapped;
        for (const auto& x : xs) mapped.push_back("<" + stripped(x) + "/>");
        EXPECT_EQ(show(seq().fn<MapStringFn>("seq_map_string")(text.c_str(), "<", "/>")), join(mapped));
    }
}

TEST(SeqLarge, TensOfMegabytesRoundTrip) {
    std::string text;
    std::vector<int64_t> xs(3000000);
    std::mt19937_64 rng(1);
    for (size_t i = 0; i < xs.size(); ++i) {
        xs[i] = static_cast<int64_t>(rng());
        text += (i ? "," : "") + std::to_string(xs[i]);
    }
    ASSERT_GT(text.size(), 50u << 20);
    const char* reversed = seq().fn<TextFn>("seq_reverse_int")(text.c_str());
    ASSERT_NE(reversed, nullptr);
    std::string expected;
    for (size_t i = xs.size(); i-- > 0;) expected += std::to_string(xs[i]) + (i ? "," : "");
    EXPECT_TRUE(expected == reversed);
    EXPECT_EQ(show(seq().fn<TextFn>("seq_unique_int")(text.c_str())).size(), text.size());
}

}  // namespace
