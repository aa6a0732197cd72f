// Float statistics: fixed cases (NaN, infinities, signed zeros, empty lists)
// and a differential run against the plain model, compared by text and bits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "karpa/curried.h"
#include "curried/stats.hpp"
#include "frame/error.hpp"
#include "models.hpp"

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
    {FN(cur_sum_float), "0.1,0.2", "0.30000000000000004"},
    {FN(cur_sum_float), "-0.0", "0.0"},
    {FN(cur_sum_float), "-0.0,-0.0", "0.0"},
    {FN(cur_sum_float), "", "0.0"},
    {FN(cur_sum_float), " , ,", "0.0"},
    {FN(cur_sum_float), "1e308,1e308", "inf"},
    {FN(cur_sum_float), "1e308,1e308,-inf", "nan"},  // the overflowed sum meets -inf
    {FN(cur_sum_float), "inf,-inf", "nan"},
    {FN(cur_sum_float), "1,nan", "nan"},
    {FN(cur_sum_float), "1e16,1,1", "10000000000000000.0"},  // each 1 is lost in turn
    {FN(cur_sum_float), "1,1,1e16", "10000000000000002.0"},
    {FN(cur_sum_float), "1,x", nullptr},
    {FN(cur_sum_float), "1e", nullptr},
    {FN(cur_mean_float), "0.1,0.2", "0.15"},
    {FN(cur_mean_float), "", "0"},
    {FN(cur_mean_float), "-0.0", "0"},
    {FN(cur_mean_float), "inf,1", "inf"},
    {FN(cur_mean_float), "-nan", "-nan"},  // the NaN operand passes through with its sign
    {FN(cur_min_float), "-0.0,0.0", "-0.0"},
    {FN(cur_min_float), "0.0,-0.0", "0.0"},
    {FN(cur_min_float), "nan,1", "nan"},
    {FN(cur_min_float), "1,nan", "1.0"},
    {FN(cur_min_float), "3,nan,-inf,2", "-inf"},
    {FN(cur_min_float), "", "0.0"},
    {FN(cur_min_float), "2.5", "2.5"},
    {FN(cur_max_float), "-0.0,0.0", "-0.0"},
    {FN(cur_max_float), "0.0,-0.0", "0.0"},
    {FN(cur_max_float), "nan,1", "nan"},
    {FN(cur_max_float), "1,nan,7", "7.0"},
    {FN(cur_max_float), "", "0.0"},
    {FN(cur_max_float), "1e17,3", "1e+17"},
    {FN(cur_minmax_float), "3,-1.5,2", "-1.5,3.0"},
    {FN(cur_minmax_float), "", ","},
    {FN(cur_minmax_float), "nan,1,2", "nan,nan"},
    {FN(cur_minmax_float), "1,nan,2", "1.0,2.0"},
    {FN(cur_minmax_float), "-0.0,0.0", "-0.0,-0.0"},
    {FN(cur_minmax_float), "5e-324", "5e-324,5e-324"},
    {FN(cur_minmax_float), "-2.50e3", "-2500.0,-2500.0"},
    {FN(cur_variance_float), "1,2,3,4", "1.25"},
    {FN(cur_variance_float), "", "0"},
    {FN(cur_variance_float), "1,inf", "-nan"},  // inf - inf gives the default NaN, sign set
    {FN(cur_variance_float), "1e300,-1e300", "inf"},
    {FN(cur_stddev_float), "1,2,3,4", "1.11803"},
    {FN(cur_stddev_float), "", "0"},
    {FN(cur_stddev_float), "5,5,5", "0"},
    {FN(cur_median_float), "3,1,2", "2"},
    {FN(cur_median_float), "4,1,3,2", "2.5"},
    {FN(cur_median_float), "", "0"},
    {FN(cur_median_float), "1e308,1e308", "inf"},  // the middle sum overflows before halving
    {FN(cur_median_float), "-inf,inf", "-nan"},
    {FN(cur_median_float), "nan", "nan"},
    // a NaN compares as greater than everything on either side
    {FN(cur_median_float), "nan,1,2", "2"},
    {FN(cur_median_float), "2,nan,1", "nan"},
    // equal values keep their order: the middle -0.0 stays in the middle
    {FN(cur_median_float), "0.0,-0.0,0.0", "-0"},
    {FN(cur_l2norm_float), "3,4", "5"},
    {FN(cur_l2norm_float), "", "0"},
    {FN(cur_l2norm_float), "-0.0", "0"},
    {FN(cur_l2norm_float), "1e200,1e200", "inf"},  // no scaling
    {FN(cur_l2norm_float), "nan,1", "nan"},
    {FN(cur_l2norm_float), "-inf", "inf"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name << "(\"" << c.list << "\")"; }

class OneListFloat : public testing::TestWithParam<Case> {};

TEST_P(OneListFloat, Result) {
    const Case& c = GetParam();
    EXPECT_EQ(show(c.fn(c.list)), show(c.expected)) << c.name << "(\"" << c.list << "\")";
}

INSTANTIATE_TEST_SUITE_P(Table, OneListFloat, testing::ValuesIn(kCases));

TEST(FloatStats, DotProduct) {
    EXPECT_EQ(show(cur_dot_float("1,2,3", "4,5")), "14.0");
    EXPECT_EQ(show(cur_dot_float("", "1,2")), "0.0");
    EXPECT_EQ(show(cur_dot_float("1,2", "")), "0.0");
    EXPECT_EQ(show(cur_dot_float("-0.0", "1")), "0.0");  // +0.0 + -0.0
    EXPECT_EQ(show(cur_dot_float("0.1,0.2", "1,1")), "0.30000000000000004");
    EXPECT_EQ(show(cur_dot_float("inf", "0")), "nan");
    EXPECT_EQ(show(cur_dot_float("1e200", "1e200")), "inf");
    // (1 + 2^-30)^2 rounds to 1 + 2^-29 before it is added; fused, 2^-60 would remain
    EXPECT_EQ(show(cur_dot_float("1,1.000000000931322574615478515625",
                                 "-1.00000000186264514923095703125,1.000000000931322574615478515625")),
              "0.0");
    EXPECT_EQ(show(cur_dot_float("1,x", "1")), "<null>");
    EXPECT_EQ(show(cur_dot_float("1", "x")), "<null>");
    EXPECT_EQ(karpa::currentError()->message, "invalid float: x");
    EXPECT_EQ(show(cur_dot_float("y", "x")), "<null>");
    EXPECT_EQ(karpa::currentError()->message, "invalid float: y");
}

TEST(FloatStats, ProductsAreRoundedBeforeTheyAreAdded) {
    // x = 1 + 2^-30: x*x is 1 + 2^-29 + 2^-60 exactly and 1 + 2^-29 rounded, so
    // -(1 + 2^-29) + x*x is 0; a fused multiply-add would leave 2^-60
    const double x = 1.0 + std::ldexp(1.0, -30);
    const double y = 1.0 + std::ldexp(1.0, -29);
    karpa::FloatList a{1.0, x}, b{-y, x};
    EXPECT_EQ(model::bits(karpa::dotImpl(a, b)), model::bits(0.0));
    EXPECT_EQ(model::bits(karpa::sumImpl(karpa::FloatList{-0.0})), model::bits(0.0));
}

TEST(FloatStats, ImplsKeepSignedZerosAndNaNsAsTheRulesSay) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto mm = karpa::minmaxImpl(karpa::FloatList{0.0, -0.0, 1.0, nan});
    EXPECT_EQ(model::bits(mm.min), model::bits(0.0));
    EXPECT_EQ(mm.max, 1.0);
    EXPECT_TRUE(std::isnan(karpa::minmaxImpl(karpa::FloatList{nan, 1.0}).max));
    EXPECT_EQ(model::bits(karpa::medianImpl(karpa::FloatList{-0.0})), model::bits(-0.0));
    EXPECT_EQ(model::bits(karpa::meanImpl(karpa::FloatList{})), model::bits(0.0));
}

double randomFloat(std::mt19937_64& rng, int flavour) {
    switch (rng() % 40) {
        case 0: return std::numeric_limits<double>::quiet_NaN();
        case 1: return std::numeric_limits<double>::infinity();
        case 2: return -std::numeric_limits<double>::infinity();
        case 3: return -0.0;
        case 4: return 0.0;
        default: break;
    }
    switch (flavour) {
        case 0: return static_cast<double>(static_cast<int64_t>(rng() % 201) - 100) / 8;
        case 1: return std::uniform_real_distribution<double>(-1e3, 1e3)(rng);
        case 2: return std::bit_cast<double>(rng());  // any bit pattern
        default: return std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng), static_cast<int>(rng() % 2000) - 1000);
    }
}

std::vector<double> randomFloats(std::mt19937_64& rng, bool specials) {
    std::vector<double> xs(rng() % 40);
    const int flavour = static_cast<int>(rng() % 4);
    for (double& x : xs) {
        do {
            x = randomFloat(rng, flavour);
        } while (!specials && !std::isfinite(x));
    }
    return xs;
}

void expectSameFloat(const char* text, double expected, bool roundtrip, const char* what) {
    const std::string want = roundtrip ? model::roundtrip(expected) : model::general(expected);
    if (!roundtrip && std::isnan(expected)) {
        // Which of two NaN operands an x86 instruction passes on depends on the
        // operand order the compiler picks, so the sign of a NaN computed from
        // NaNs of both signs is not fixed; the general form shows that sign.
        EXPECT_TRUE(show(text) == "nan" || show(text) == "-nan") << what << " " << show(text);
        return;
    }
    EXPECT_EQ(show(text), want) << what;
    if (roundtrip && text != nullptr) {
        // the printed text reads back to the very same bits
        EXPECT_TRUE(model::sameFloat(std::strtod(text, nullptr), expected)) << what << " " << text;
    }
}

TEST(FloatStats, DifferentialAgainstModel) {
    std::mt19937_64 rng(77001);
    for (int round = 0; round < 4000; ++round) {
        const bool specials = round % 2 == 0;
        const std::vector<double> xs = randomFloats(rng, specials);
        const std::vector<double> ys = randomFloats(rng, specials);
        const std::string text = model::listText(xs, rng, model::floatText);
        const std::string other = model::listText(ys, rng, model::floatText);
        SCOPED_TRACE(text);
        const karpa::FloatList list(xs.begin(), xs.end());
        const karpa::FloatList list2(ys.begin(), ys.end());

        const double n = static_cast<double>(xs.size());
        const double s = model::sum(xs);
        const double mean = xs.empty() ? 0.0 : s / n;
        const double var = model::variance(xs);
        double q = 0.0;
        for (double x : xs) q += x * x;
        double d = 0.0;
        for (size_t i = 0; i < std::min(xs.size(), ys.size()); ++i) d += xs[i] * ys[i];
        const double med = model::median(xs);

        // bit for bit in the core procedures
        EXPECT_TRUE(model::sameFloat(karpa::sumImpl(list), s));
        EXPECT_TRUE(model::sameFloat(karpa::meanImpl(list), mean));
        EXPECT_TRUE(model::sameFloat(karpa::varianceImpl(list), var));
        EXPECT_TRUE(model::sameFloat(karpa::stddevImpl(list), std::sqrt(var)));
        EXPECT_TRUE(model::sameFloat(karpa::l2normImpl(list), std::sqrt(q)));
        EXPECT_TRUE(model::sameFloat(karpa::dotImpl(list, list2), d));
        EXPECT_TRUE(model::sameFloat(karpa::medianImpl(list), med));

        // and as printed by the exports
        expectSameFloat(cur_sum_float(text.c_str()), s, true, "sum");
        expectSameFloat(cur_mean_float(text.c_str()), mean, false, "mean");
        expectSameFloat(cur_variance_float(text.c_str()), var, false, "variance");
        expectSameFloat(cur_stddev_float(text.c_str()), std::sqrt(var), false, "stddev");
        expectSameFloat(cur_l2norm_float(text.c_str()), std::sqrt(q), false, "l2norm");
        expectSameFloat(cur_median_float(text.c_str()), med, false, "median");
        expectSameFloat(cur_dot_float(text.c_str(), other.c_str()), d, true, "dot");
        if (xs.empty()) {
            EXPECT_EQ(show(cur_minmax_float(text.c_str())), ",");
            continue;
        }
        double lo = xs[0], hi = xs[0];
        for (double x : xs) {
            if (x < lo) lo = x;
            if (x > hi) hi = x;
        }
        expectSameFloat(cur_min_float(text.c_str()), lo, true, "min");
        expectSameFloat(cur_max_float(text.c_str()), hi, true, "max");
        EXPECT_EQ(show(cur_minmax_float(text.c_str())), model::roundtrip(lo) + "," + model::roundtrip(hi));
    }
}

}  // namespace

// The median selected from keys must be the merge sort's middle, down to
// which zero: lists of few values, both zeros, infinities, sometimes NaN.
TEST(FloatMedian, SelectionMatchesTheMergeSortsMiddle) {
    std::mt19937_64 rng(61);
    const double pool[] = {0.0, -0.0, 1.0, -1.0, 2.5, INFINITY, -INFINITY, 0.0, -0.0, 5e-324};
    for (int round = 0; round < 6000; ++round) {
        std::vector<double> xs(1 + rng() % (round < 5000 ? 40 : 3000));
        const bool withNan = rng() % 4 == 0;
        for (double& x : xs) x = withNan && rng() % 8 == 0 ? NAN : pool[rng() % (2 + rng() % 9)];
        const karpa::FloatList list(xs.begin(), xs.end());
        ASSERT_EQ(model::bits(karpa::medianImpl(list)), model::bits(model::median(xs))) << round;
    }
}
