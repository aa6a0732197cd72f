// Integer statistics: fixed cases, overflow boundaries of the checked sums and
// products, and a differential run against the plain model.
#include <gtest/gtest.h>

#include <cmath>

#include "karpa/curried.h"
#include "curried/stats.hpp"
#include "frame/error.hpp"
#include "models.hpp"
#include "tiers.hpp"

namespace {

using model::show;
using OneList = const char* (*)(const char*);

struct Case {
    const char* name;
    OneList fn;
    const char* list;
    const char* expected;  // nullptr: the call fails
};

#define FN(f) #f, f

const Case kCases[] = {
    {FN(cur_sum_int), "1, 2 ,,3", "6"},
    {FN(cur_sum_int), "", "0"},
    {FN(cur_sum_int), ",,", "0"},
    {FN(cur_sum_int), " \t, ", "0"},
    {FN(cur_sum_int), "9223372036854775807,1,-1", nullptr},
    {FN(cur_sum_int), "9223372036854775807,-1,1", "9223372036854775807"},
    {FN(cur_sum_int), "-9223372036854775808", "-9223372036854775808"},
    {FN(cur_sum_int), "-9223372036854775808,-1", nullptr},
    {FN(cur_sum_int), "-9223372036854775807,-1", "-9223372036854775808"},
    {FN(cur_sum_int), "1_000,+5,-0,007", "1012"},
    {FN(cur_sum_int), "1,x", nullptr},
    {FN(cur_sum_int), "9223372036854775808", nullptr},
    {FN(cur_mean_int), "1,2", "1.5"},
    {FN(cur_mean_int), "1,2,2", "1.66667"},
    {FN(cur_mean_int), "1000000", "1e+06"},
    {FN(cur_mean_int), "2,2", "2"},
    {FN(cur_mean_int), "", "0"},
    {FN(cur_mean_int), "-3", "-3"},
    {FN(cur_mean_int), "a,1", nullptr},
    {FN(cur_mean_int), "9223372036854775807,1", nullptr},
    {FN(cur_min_int), "4,-2,9", "-2"},
    {FN(cur_min_int), "", "0"},
    {FN(cur_max_int), "4,-2,9", "9"},
    {FN(cur_max_int), "", "0"},
    {FN(cur_max_int), "-9223372036854775808", "-9223372036854775808"},
    {FN(cur_minmax_int), "3,-1,2", "-1,3"},
    {FN(cur_minmax_int), "5", "5,5"},
    {FN(cur_minmax_int), "", ","},
    {FN(cur_minmax_int), " , ", ","},
    {FN(cur_minmax_int), "1,y", nullptr},
    {FN(cur_variance_int), "1,2,3,4", "1.25"},
    {FN(cur_variance_int), "", "0"},
    {FN(cur_variance_int), "7", "0"},
    {FN(cur_variance_int), "9223372036854775807,1", nullptr},
    {FN(cur_stddev_int), "1,2,3,4", "1.11803"},
    {FN(cur_stddev_int), "", "0"},
    {FN(cur_stddev_int), "2,4,4,4,5,5,7,9", "2"},
    {FN(cur_median_int), "3,1,2", "2"},
    {FN(cur_median_int), "4,1,3,2", "2.5"},
    {FN(cur_median_int), "", "0"},
    {FN(cur_median_int), "9223372036854775807,9223372036854775807", "9.22337e+18"},
    {FN(cur_median_int), "-9223372036854775808,-9223372036854775808", "-9.22337e+18"},
    {FN(cur_l2norm_int), "3,4", "5"},
    {FN(cur_l2norm_int), "", "0"},
    {FN(cur_l2norm_int), "-3,-4", "5"},
    {FN(cur_l2norm_int), "9223372036854775807,9223372036854775807", "1.30438e+19"},
    {FN(cur_distinct_int), "3, 1,3 ,2,1", "3,1,2"},
    {FN(cur_distinct_int), "1,+1,01", "1"},
    {FN(cur_distinct_int), "", ""},
    {FN(cur_distinct_int), " , ", ""},
    {FN(cur_distinct_int), "1,x", nullptr},
    {FN(cur_distinct_int), "-0,0", "0"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name << "(\"" << c.list << "\")"; }

class OneListInt : public testing::TestWithParam<Case> {};

TEST_P(OneListInt, Result) {
    const Case& c = GetParam();
    EXPECT_EQ(show(c.fn(c.list)), show(c.expected)) << c.name << "(\"" << c.list << "\")";
}

INSTANTIATE_TEST_SUITE_P(Table, OneListInt, testing::ValuesIn(kCases));

struct DotCase {
    const char* a;
    const char* b;
    const char* expected;
};

void PrintTo(const DotCase& c, std::ostream* os) { *os << '"' << c.a << "\" . \"" << c.b << '"'; }

class DotInt : public testing::TestWithParam<DotCase> {};

TEST_P(DotInt, Result) {
    const DotCase& c = GetParam();
    EXPECT_EQ(show(cur_dot_int(c.a, c.b)), show(c.expected)) << c.a << " . " << c.b;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DotInt,
    testing::Values(DotCase{"1,2,3", "4,5", "14"}, DotCase{"", "1,2", "0"}, DotCase{"1,2", "", "0"},
                    DotCase{"4,5", "1,2,3", "14"},
                    // products and running sums at the 64-bit edges
                    DotCase{"3037000499", "3037000499", "9223372030926249001"},
                    DotCase{"3037000500", "3037000500", nullptr},
                    DotCase{"-9223372036854775808", "1", "-9223372036854775808"},
                    DotCase{"-9223372036854775808", "-1", nullptr},
                    DotCase{"4611686018427387904", "2", nullptr},
                    DotCase{"4611686018427387904", "-2", "-9223372036854775808"},
                    DotCase{"9223372036854775807,1", "1,1", nullptr},
                    DotCase{"9223372036854775807,1,-1", "1,0,1", "9223372036854775806"},
                    // the running sum overflows at the second pair although the third would cancel it
                    DotCase{"9223372036854775807,1,1", "1,1,-1", nullptr},
                    // items beyond the shorter list are never multiplied
                    DotCase{"2", "3,9223372036854775807", "6"},
                    // the first list is read whole before the second
                    DotCase{"x", "1", nullptr}, DotCase{"1", "x", nullptr}, DotCase{"1,x", "", nullptr}));

TEST(IntStats, FirstListErrorIsReportedBeforeTheSecond) {
    EXPECT_EQ(cur_dot_int("1,a", "b"), nullptr);
    ASSERT_NE(karpa::currentError(), nullptr);
    EXPECT_EQ(karpa::currentError()->message, "invalid integer: a");
    EXPECT_EQ(cur_sum_int("9223372036854775807,1"), nullptr);
    EXPECT_EQ(karpa::currentError()->kind, karpa::ErrorKind::OverflowDefect);
    EXPECT_EQ(karpa::currentError()->message, "over- or underflow");
    EXPECT_EQ(cur_mean_int(" a ,1"), nullptr);
    EXPECT_EQ(karpa::currentError()->message, "invalid integer: a");
}

TEST(IntStats, CountComparesTheWidenedValue) {
    EXPECT_EQ(show(cur_count_int("1,2,1,1", 1)), "3");
    EXPECT_EQ(show(cur_count_int("", 0)), "0");
    EXPECT_EQ(show(cur_count_int("-1,4294967295,-1", -1)), "2");
    EXPECT_EQ(show(cur_count_int("2147483648,-2147483648", INT32_MIN)), "1");
    EXPECT_EQ(show(cur_count_int("+7, 07 ,7_", 7)), "3");
    EXPECT_EQ(cur_count_int("1,z", 1), nullptr);
}

TEST(IntStats, ImplsOnEmptyAndSingleLists) {
    const karpa::IntList none;
    const karpa::IntList one{-5};
    EXPECT_EQ(karpa::sumImpl(none), 0);
    EXPECT_EQ(model::bits(karpa::meanImpl(none)), model::bits(0.0));
    EXPECT_EQ(model::bits(karpa::varianceImpl(none)), model::bits(0.0));
    EXPECT_EQ(model::bits(karpa::medianImpl(none)), model::bits(0.0));
    EXPECT_EQ(model::bits(karpa::l2normImpl(none)), model::bits(0.0));
    EXPECT_EQ(karpa::dotImpl(none, one), 0);
    EXPECT_THROW(karpa::minmaxImpl(none), karpa::Unwind);
    EXPECT_EQ(karpa::minmaxImpl(one).min, -5);
    EXPECT_EQ(karpa::medianImpl(one), -5.0);
}

// The second list is read while multiplying: an overflow before a bad piece
// of it still ends in the bad piece's error, and one on a long list (read in
// blocks) is still reported.
TEST(IntStats, DotReportsTheSecondListsErrorBeforeAnOverflow) {
    EXPECT_EQ(cur_dot_int("9223372036854775807,1", "2,x"), nullptr);
    EXPECT_EQ(karpa::currentError()->message, "invalid integer: x");
    std::string a = "9223372036854775807", b = "2";
    for (int i = 0; i < 200; ++i) {
        a += ",1";
        b += ",-3";
    }
    EXPECT_EQ(cur_dot_int(a.c_str(), (b + ",1 2").c_str()), nullptr);
    EXPECT_EQ(karpa::currentError()->message, "invalid integer: 1 2");
    EXPECT_EQ(cur_dot_int(a.c_str(), b.c_str()), nullptr);
    EXPECT_EQ(karpa::currentError()->kind, karpa::ErrorKind::OverflowDefect);
}

TEST(IntStats, MedianSortsACopy) {
    const karpa::IntList xs{5, 1, 4, 2};
    EXPECT_EQ(karpa::medianImpl(xs), 3.0);
    EXPECT_EQ(xs, (karpa::IntList{5, 1, 4, 2}));
}

// Random lists, some near the 64-bit edges so that running sums overflow.
std::vector<int64_t> randomInts(std::mt19937_64& rng) {
    std::vector<int64_t> xs(rng() % 40);
    const int flavour = static_cast<int>(rng() % 4);
    for (int64_t& x : xs) {
        switch (flavour) {
            case 0: x = static_cast<int64_t>(rng() % 2001) - 1000; break;
            case 1: x = static_cast<int64_t>(rng()); break;
            case 2: x = static_cast<int64_t>(rng() >> 2) * ((rng() & 1) ? 1 : -1); break;
            default: x = static_cast<int64_t>(rng() % 6000000000ull) - 3000000000ll; break;
        }
    }
    return xs;
}

TEST(IntStats, DifferentialAgainstModel) {
    std::mt19937_64 rng(20240611);
    int overflowing = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::vector<int64_t> xs = randomInts(rng);
        const std::vector<int64_t> ys = randomInts(rng);
        const std::string text = model::listText(xs, rng, model::intText);
        const std::string other = model::listText(ys, rng, model::intText);
        SCOPED_TRACE(text);
        const std::optional<int64_t> s = model::sum(xs);
        overflowing += !s;
        EXPECT_EQ(show(cur_sum_int(text.c_str())), s ? std::to_string(*s) : "<null>");

        std::string mean = "<null>", variance = "<null>", stddev = "<null>";
        if (s) {
            const double n = static_cast<double>(xs.size());
            const double m = xs.empty() ? 0.0 : static_cast<double>(*s) / n;
            double q = 0.0;
            for (int64_t x : xs) {
                const double d = static_cast<double>(x) - m;
                q += d * d;
            }
            const double v = xs.empty() ? 0.0 : q / n;
            mean = model::general(m);
            variance = model::general(v);
            stddev = model::general(std::sqrt(v));
        }
        EXPECT_EQ(show(cur_mean_int(text.c_str())), mean);
        EXPECT_EQ(show(cur_variance_int(text.c_str())), variance);
        EXPECT_EQ(show(cur_stddev_int(text.c_str())), stddev);

        double q = 0.0;
        for (int64_t x : xs) q += static_cast<double>(x) * static_cast<double>(x);
        EXPECT_EQ(show(cur_l2norm_int(text.c_str())), model::general(std::sqrt(q)));
        EXPECT_EQ(show(cur_median_int(text.c_str())), model::general(model::median(xs)));
        if (xs.empty()) {
            EXPECT_EQ(show(cur_minmax_int(text.c_str())), ",");
        } else {
            const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
            EXPECT_EQ(show(cur_minmax_int(text.c_str())), std::to_string(*lo) + "," + std::to_string(*hi));
            EXPECT_EQ(show(cur_min_int(text.c_str())), std::to_string(*lo));
            EXPECT_EQ(show(cur_max_int(text.c_str())), std::to_string(*hi));
        }
        const std::optional<int64_t> d = model::dot(xs, ys);
        EXPECT_EQ(show(cur_dot_int(text.c_str(), other.c_str())), d ? std::to_string(*d) : "<null>");

        // the core procedures give the same binary64 values as the model
        karpa::IntList list(xs.begin(), xs.end());
        EXPECT_EQ(model::bits(karpa::medianImpl(list)), model::bits(model::median(xs)));
        EXPECT_EQ(model::bits(karpa::l2normImpl(list)), model::bits(std::sqrt(q)));
    }
    EXPECT_GT(overflowing, 100);  // the edges were really exercised
}

}  // namespace

// The median selected by bits against the merge sort's middle: lengths past
// the small-list sort, values in narrow, wide and clustered ranges, and the
// two middle places in one bucket or on each side of a bucket's edge.
namespace {
void checkMedianSelection(int rounds) {
    std::mt19937_64 rng(77);
    for (int round = 0; round < rounds; ++round) {
        std::vector<int64_t> xs(1 + rng() % (round < rounds * 2 / 3 ? 300 : 20000));
        const int shape = round % 5;
        for (size_t i = 0; i < xs.size(); ++i) {
            switch (shape) {
                case 0: xs[i] = static_cast<int64_t>(rng() % 3); break;
                case 1: xs[i] = static_cast<int64_t>(rng()); break;
                case 2: xs[i] = (rng() & 1 ? INT64_MIN : INT64_MAX - 5) + static_cast<int64_t>(rng() % 5); break;
                case 3: xs[i] = static_cast<int64_t>(i % 2 ? rng() % 100 : (rng() % 100) << 40); break;
                default: xs[i] = static_cast<int64_t>(rng() % 4096) * 2048 - 4000000; break;
            }
        }
        const karpa::IntList list(xs.begin(), xs.end());
        ASSERT_EQ(model::bits(karpa::medianImpl(list)), model::bits(model::median(xs))) << round;
    }
}

}  // namespace

TEST(IntMedian, SelectionMatchesTheMergeSortsMiddle) { checkMedianSelection(600); }

// The same on every tier: the first level's extremes come from the tier's own
// routine.
class IntMedianTiers : public TierTest {};
TEST_P(IntMedianTiers, SelectionMatchesTheMergeSortsMiddle) { checkMedianSelection(150); }
KARPA_INSTANTIATE_TIERS(IntMedianTiers);
