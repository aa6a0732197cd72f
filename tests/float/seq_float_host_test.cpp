// The float exports of karpa_seq, called through the loaded library.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "host.hpp"

namespace {

using karpa_test::show;

using ListNumberFn = const char*(const char*, const char*);
using ListFn = const char*(const char*);
using SortFn = const char*(const char*, int);

struct SeqFloat : ::testing::Test {
    static karpa_test::Library& lib() {
        static karpa_test::Library library("seq");
        return library;
    }
    ListNumberFn* map = lib().fn<ListNumberFn>("seq_map_float");
    ListNumberFn* filter = lib().fn<ListNumberFn>("seq_filter_float");
    ListNumberFn* count = lib().fn<ListNumberFn>("seq_count_float");
    ListFn* sum = lib().fn<ListFn>("seq_reduce_sum_float");
    ListFn* max = lib().fn<ListFn>("seq_reduce_max_float");
    ListFn* min = lib().fn<ListFn>("seq_reduce_min_float");
    SortFn* sort = lib().fn<SortFn>("seq_sort_float");
    ListFn* unique = lib().fn<ListFn>("seq_unique_float");
    ListFn* reverse = lib().fn<ListFn>("seq_reverse_float");
};

struct Call {
    const char* list;
    const char* parameter;
    const char* expected;  // nullptr: the call fails
};

void expectCalls(ListNumberFn* fn, std::initializer_list<Call> calls) {
    for (const Call& c : calls) {
        EXPECT_EQ(show(fn(c.list, c.parameter)), show(c.expected))
            << "list [" << show(c.list) << "] parameter [" << show(c.parameter) << "]";
    }
}

TEST_F(SeqFloat, Map) {
    expectCalls(map, {{"1.5, 2", "2", "3,4"},
                      {"1", " 2", nullptr},
                      {"1", "2 ", nullptr},
                      {"", "x", nullptr},
                      {"", "2", ""},
                      {nullptr, "2", ""},
                      {"1", nullptr, nullptr},
                      {"1", "", nullptr},
                      {"1e308", "10", "inf"},
                      {"3.14159265,1", "1", "3.14159,1"},
                      {"1,x", "2", nullptr},
                      {"-0.0", "1", "-0"},
                      {"1,2", "-nan", "-nan,-nan"},
                      {"1_000,.5", "1e1_0", "1e+13,5e+09"}});
}

TEST_F(SeqFloat, FilterAndCount) {
    expectCalls(filter, {{"0.5,1.5,nan,2", "1", "1.5,2"},
                         {"1,2", "nan", ""},
                         {"1,2", "9", ""},
                         {"", "1", ""},
                         {"", "", nullptr},
                         {"inf,-inf,0", "-inf", "inf,0"}});
    expectCalls(count, {{"0.5,1.5,nan,2", "1", "2"},
                        {"", "1", "0"},
                        {"1,2", "nan", "0"},
                        {"3,3", "3", "0"},
                        {"", "1e", nullptr},
                        {nullptr, nullptr, nullptr},
                        {"1,2", "infinity", nullptr}});
}

TEST_F(SeqFloat, Reductions) {
    struct Case {
        ListFn* fn;
        const char* list;
        const char* expected;
    };
    const Case cases[] = {
        {sum, "0.1,0.2", "0.30000000000000004"}, {sum, "", "0.0"}, {sum, nullptr, "0.0"}, {sum, "-0.0", "0.0"},
        {sum, "inf,-inf", "nan"},   {sum, "1,2,3", "6.0"},      {sum, "1e100", "1e+100"}, {sum, "1,x", nullptr},
        {sum, "-nan", "nan"},       {sum, "1e308,1e308", "inf"}, {sum, "-1e308,-1e308", "-inf"},
        {max, "nan,1,2", "nan"},    {max, "1,nan,2", "2.0"},    {max, "", "0.0"},        {max, "-0.0,0.0", "-0.0"},
        {max, "0.1", "0.1"},        {max, "1e-7,2e-8", "0.0000001"}, {max, "3,x", nullptr},
        {min, "", "0.0"},           {min, "4,-2,9", "-2.0"},    {min, "0.0,-0.0", "0.0"}, {min, "nan,1", "nan"},
        {min, "1,nan,-1.5e-8", "-1.5e-8"},
    };
    for (const Case& c : cases) EXPECT_EQ(show(c.fn(c.list)), show(c.expected)) << show(c.list);
}

TEST_F(SeqFloat, Sort) {
    struct Case {
        const char* list;
        int descending;
        const char* expected;
    };
    const Case cases[] = {
        {"3,1.5,2", 0, "1.5,2,3"}, {"3,1.5,2", 1, "3,2,1.5"}, {"3,1.5,2", -1, "3,2,1.5"},
        {"0.0,-0.0", 0, "0,-0"},   {"0.0,-0.0", 1, "0,-0"},   {"nan,1", 0, "1,nan"},
        {"1,nan", 0, "nan,1"},     {"", 0, ""},               {"x", 0, nullptr},
        {"2,nan,1", 0, "1,nan,2"}, {"inf,-inf,1", 0, "-inf,1,inf"},
    };
    for (const Case& c : cases) EXPECT_EQ(show(sort(c.list, c.descending)), show(c.expected)) << c.list;
}

TEST_F(SeqFloat, UniqueAndReverse) {
    EXPECT_EQ(show(unique("1,1.0,2")), "1,2");
    EXPECT_EQ(show(unique("nan,nan")), "nan,nan");
    EXPECT_EQ(show(unique("-0.0,0.0")), "-0");
    EXPECT_EQ(show(unique("0.0,-0.0,1,0")), "0,1");
    EXPECT_EQ(show(unique("")), "");
    EXPECT_EQ(show(unique("1,,")), "1");
    EXPECT_EQ(show(unique("1,_")), "<null>");
    EXPECT_EQ(show(reverse("3.14159265,1")), "1,3.14159");
    EXPECT_EQ(show(reverse(" , ")), "");
    EXPECT_EQ(show(reverse("1,2,3")), "3,2,1");
    EXPECT_EQ(show(reverse("1,.")), "0,1");
    EXPECT_EQ(show(reverse("1.")), "1");
}

// A failing call does not disturb a later one, nor calls on other threads.
TEST_F(SeqFloat, FailuresStayWithTheirCall) {
    EXPECT_EQ(show(sum("1,x")), "<null>");
    EXPECT_EQ(show(sum("1,2")), "3.0");
    std::vector<std::thread> threads;
    std::vector<std::string> results(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                const char* r = (t % 2) ? sum("0.1,0.2") : map("1,x", "2");
                results[t] = show(r);
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(results[0], "<null>");
    EXPECT_EQ(results[1], "0.30000000000000004");
}

// Long lists print every element, in order, with the separators.
TEST_F(SeqFloat, LongListsPrintEveryElement) {
    std::string list;
    std::string expected;
    for (int i = 0; i < 10000; ++i) {
        if (i) {
            list += ',';
            expected += ',';
        }
        list += std::to_string(i) + ".5";
        expected += std::to_string(10000 - 1 - i) + ".5";
    }
    // Up to five significant digits each, so the general form keeps them whole.
    EXPECT_EQ(show(reverse(list.c_str())), expected);
    EXPECT_EQ(show(sum(list.c_str())), "50000000.0");
}

TEST(SeqFloatLibrary, ExportsExactlyTheListedNamesAndNeedsOnlyLibc) {
    EXPECT_EQ(karpa_test::definedDynamicSymbols("seq"), karpa_test::listedExports("seq"));
    // Sanitizer builds link their runtimes and the shared C++ runtime.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    EXPECT_EQ(karpa_test::neededLibraries("seq"), "libc.so.6\n");
#endif
}

}  // namespace
