// karpa_curried as a host sees it: loaded with dlopen, called by name.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host.hpp"

namespace {

using karpa_test::show;
using Text1 = const char*(const char*);
using Text2 = const char*(const char*, const char*);
using TextInt = const char*(const char*, int);

const karpa_test::Library& lib() {
    static const karpa_test::Library library("curried");
    return library;
}

TEST(CurriedHost, ExportsExactlyTheListedNamesAndNeedsOnlyLibc) {
    EXPECT_EQ(karpa_test::definedDynamicSymbols("curried"), karpa_test::listedExports("curried"));
    EXPECT_EQ(karpa_test::listedExports("curried").size(), 29u);
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer builds link the C++ and sanitizer runtimes dynamically";
#endif
    EXPECT_EQ(karpa_test::neededLibraries("curried"), "libc.so.6\n");
}

struct OneCall {
    const char* name;
    const char* arg;
    const char* expected;
};

class OneArgument : public testing::TestWithParam<OneCall> {};

TEST_P(OneArgument, Result) {
    const OneCall& c = GetParam();
    EXPECT_EQ(show(lib().fn<Text1>(c.name)(c.arg)), show(c.expected)) << c.name << "(" << show(c.arg) << ")";
}

// Every one-list export once, the empty-list constants, and null read as "".
INSTANTIATE_TEST_SUITE_P(
    Table, OneArgument,
    testing::Values(OneCall{"cur_sum_int", "1, 2 ,,3", "6"}, OneCall{"cur_sum_int", nullptr, "0"},
                    OneCall{"cur_sum_int", "9223372036854775807,1,-1", nullptr},
                    OneCall{"cur_mean_int", "1,2,2", "1.66667"}, OneCall{"cur_mean_int", nullptr, "0"},
                    OneCall{"cur_min_int", "4,-2,9", "-2"}, OneCall{"cur_min_int", "", "0"},
                    OneCall{"cur_max_int", "4,-2,9", "9"}, OneCall{"cur_max_int", nullptr, "0"},
                    OneCall{"cur_minmax_int", "3,-1,2", "-1,3"}, OneCall{"cur_minmax_int", nullptr, ","},
                    OneCall{"cur_variance_int", "1,2,3,4", "1.25"}, OneCall{"cur_stddev_int", "1,2,3,4", "1.11803"},
                    OneCall{"cur_median_int", "4,1,3,2", "2.5"}, OneCall{"cur_l2norm_int", "3,4", "5"},
                    OneCall{"cur_sum_float", "0.1,0.2", "0.30000000000000004"}, OneCall{"cur_sum_float", nullptr, "0.0"},
                    OneCall{"cur_mean_float", "0.1,0.2", "0.15"}, OneCall{"cur_mean_float", "", "0"},
                    OneCall{"cur_min_float", "1,nan", "1.0"}, OneCall{"cur_min_float", "", "0.0"},
                    OneCall{"cur_max_float", "-0.0,0.0", "-0.0"}, OneCall{"cur_max_float", nullptr, "0.0"},
                    OneCall{"cur_minmax_float", "3,-1.5,2", "-1.5,3.0"}, OneCall{"cur_minmax_float", "", ","},
                    OneCall{"cur_variance_float", "1,2,3,4", "1.25"}, OneCall{"cur_stddev_float", "", "0"},
                    OneCall{"cur_median_float", "3,1,2", "2"}, OneCall{"cur_l2norm_float", "3,4", "5"},
                    OneCall{"cur_sum_float", "1,x", nullptr}, OneCall{"cur_distinct_int", "3, 1,3 ,2,1", "3,1,2"},
                    OneCall{"cur_distinct_int", "1,x", nullptr}, OneCall{"cur_distinct_string", "b,a,b, a", "b,a, a"},
                    OneCall{"cur_distinct_string", nullptr, ""}));

TEST(CurriedHost, TwoArgumentExports) {
    EXPECT_EQ(show(lib().fn<Text2>("cur_dot_int")("1,2,3", "4,5")), "14");
    EXPECT_EQ(show(lib().fn<Text2>("cur_dot_int")(nullptr, "4,5")), "0");
    EXPECT_EQ(show(lib().fn<Text2>("cur_dot_float")("1,2,3", "4,5")), "14.0");
    EXPECT_EQ(show(lib().fn<Text2>("cur_dot_float")("1", nullptr)), "0.0");
    EXPECT_EQ(show(lib().fn<Text2>("cur_union_string")("a,b,a", "c,b,d")), "a,b,c,d");
    EXPECT_EQ(show(lib().fn<Text2>("cur_union_string")("a", nullptr)), "a,");
    EXPECT_EQ(show(lib().fn<Text2>("cur_intersect_string")("a,b,a,c", "c,a")), "a,c");
    EXPECT_EQ(show(lib().fn<Text2>("cur_diff_string")("a,b,a,c", "b")), "a,a,c");
    EXPECT_EQ(show(lib().fn<Text2>("cur_count_string")("a,b,a", "a")), "2");
    EXPECT_EQ(show(lib().fn<Text2>("cur_count_string")(nullptr, nullptr)), "1");
}

TEST(CurriedHost, IntArgumentIsWidenedWithItsSign) {
    auto count = lib().fn<TextInt>("cur_count_int");
    EXPECT_EQ(show(count("-1,4294967295,-1", -1)), "2");
    EXPECT_EQ(show(count("1,2,1,1", 1)), "3");
    EXPECT_EQ(show(count("1,q", 1)), "<null>");
}

TEST(CurriedHost, ArgumentsEndAtTheirFirstNul) {
    const char text[] = "1,2\0,3";
    EXPECT_EQ(show(lib().fn<Text1>("cur_sum_int")(text)), "3");
    EXPECT_EQ(show(lib().fn<Text1>("cur_distinct_string")(text)), "1,2");
}

TEST(CurriedHost, FailureEndsOnlyThatCall) {
    auto sum = lib().fn<Text1>("cur_sum_int");
    EXPECT_EQ(sum("1,x"), nullptr);
    EXPECT_EQ(show(sum("1,2")), "3");
    EXPECT_EQ(show(lib().fn<Text1>("cur_minmax_int")("")), ",");
}

TEST(CurriedHost, LifecycleExportsLeaveCallsWorking) {
    auto tovMain = lib().fn<void()>("TovMain");
    auto destroy = lib().fn<void()>("TovDestroyGlobals");
    tovMain();
    tovMain();
    destroy();
    EXPECT_EQ(show(lib().fn<Text1>("cur_median_int")("3,1,2")), "2");
    EXPECT_EQ(show(lib().fn<Text2>("cur_union_string")("a", "b")), "a,b");
}

TEST(CurriedHost, LargeListsRoundTrip) {
    std::string ints, floats;
    for (int i = 1; i <= 200000; ++i) {
        ints += std::to_string(i) + ",";
        floats += std::to_string(i) + ".5,";
    }
    EXPECT_EQ(show(lib().fn<Text1>("cur_sum_int")(ints.c_str())), "20000100000");
    EXPECT_EQ(show(lib().fn<Text1>("cur_median_int")(ints.c_str())), "100000");
    EXPECT_EQ(show(lib().fn<Text1>("cur_sum_float")(floats.c_str())), "20000200000.0");
    EXPECT_EQ(std::strlen(lib().fn<Text1>("cur_distinct_int")(ints.c_str())), ints.size() - 1);
}

}  // namespace
