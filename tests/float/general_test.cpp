// The general form: C's "%g" with a fixed decimal separator.
#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "frame/codec/floatcodec.hpp"

namespace {

std::string general(double x, karpa::FloatMode mode = karpa::FloatMode::Default, int precision = -1,
                    char separator = '.') {
    char buffer[2501];
    const size_t len = karpa::formatFloat(buffer, x, mode, precision, separator);
    return std::string(buffer, len);
}

TEST(GeneralForm, MatchesPercentG) {
    std::mt19937_64 rng(9);
    for (int i = 0; i < 100000; ++i) {
        const double x = (i % 2) ? std::bit_cast<double>(rng()) : static_cast<double>(rng() % 2000000) / 7.0;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%g", x);
        ASSERT_EQ(general(x), expected);
    }
}

// The hard classes of six-digit rounding, each value with its neighbours one
// and two ulps away and its negation: seventh digits of exactly 5 (ties, to
// even) and 5 followed by more digits, carries into a new digit
// (9.999995 -> 10, 999999.5 -> 1e+06), the fixed/scientific boundary
// (9.99999e-05 and 0.0001, 999999 and 1e+06), every power of two and of ten,
// subnormals and the extremes.
TEST(GeneralForm, HardRoundingClassesMatchPercentG) {
    const auto read = [](const std::string& text) { return std::strtod(text.c_str(), nullptr); };
    std::vector<double> seeds = {0.0, 5e-324, 2.2250738585072009e-308, 2.2250738585072014e-308,
                                 1.7976931348623157e308, 9.999995, 999999.5, 9.99999e-05, 9.999995e-05,
                                 0.0001, 999999.0, 999999.4999999999, 1e6, 0.00009999995};
    for (int e = -1074; e <= 1023; ++e) seeds.push_back(std::ldexp(1.0, e));
    for (int e = -323; e <= 308; ++e) seeds.push_back(read("1e" + std::to_string(e)));
    std::mt19937_64 rng(5);
    for (int i = 0; i < 20000; ++i) {
        // d.ddddd5 and d.ddddd5ddd... times a power of ten, and d.dddd95 carries.
        const std::string six = std::to_string(100000 + rng() % 900000);
        const std::string exponent = "e" + std::to_string(static_cast<int>(rng() % 640) - 320);
        seeds.push_back(read(six.substr(0, 1) + "." + six.substr(1) + "5" + exponent));
        seeds.push_back(read(six.substr(0, 1) + "." + six.substr(1) + "5" + std::to_string(rng() % 1000) +
                                  exponent));
        seeds.push_back(read(six.substr(0, 1) + "." + six.substr(1, 4) + "995" + exponent));
        // Exact ties: seven-digit integers ending in 5 and halves above six digits.
        seeds.push_back(static_cast<double>(std::stoll(six) * 10 + 5));
        seeds.push_back(static_cast<double>(std::stoll(six)) + 0.5);
    }
    for (const double seed : seeds) {
        const uint64_t bits = std::bit_cast<uint64_t>(seed);
        for (uint64_t nearby = bits - 2; nearby != bits + 3; ++nearby) {
            for (const uint64_t sign : {0ull, 1ull << 63}) {
                const double x = std::bit_cast<double>((nearby & ~(1ull << 63)) | sign);
                char expected[64];
                std::snprintf(expected, sizeof expected, "%g", x);
                ASSERT_EQ(general(x), expected) << std::bit_cast<uint64_t>(x);
            }
        }
    }
}

TEST(GeneralForm, Examples) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {3.0, "3"},           {1234567.0, "1.23457e+06"}, {0.00001, "1e-05"},  {-0.0, "-0"},
        {123456.0, "123456"}, {0.1 + 0.2, "0.3"},         {3.14159265, "3.14159"}, {1e308 * 10, "inf"},
        {-INFINITY, "-inf"},  {std::bit_cast<double>(0x7FF8000000000000ull), "nan"},
        {std::bit_cast<double>(0xFFF8000000000000ull), "-nan"}, {0.0001, "0.0001"}, {1e100, "1e+100"},
    };
    for (const Case& c : cases) EXPECT_EQ(general(c.value), c.text);
}

TEST(GeneralForm, ModesPrecisionAndSeparator) {
    EXPECT_EQ(general(2.5, karpa::FloatMode::Decimal), "2.500000");
    EXPECT_EQ(general(2.5, karpa::FloatMode::Scientific), "2.500000e+00");
    EXPECT_EQ(general(2.0, karpa::FloatMode::Default, 3), "2.00");
    EXPECT_EQ(general(2.0, karpa::FloatMode::Decimal, 0), "2.");
    EXPECT_EQ(general(1234.5, karpa::FloatMode::Scientific, 2, ','), "1,23e+03");
    EXPECT_EQ(general(0.5, karpa::FloatMode::Default, -1, ','), "0,5");
    // The widest output is cut to the buffer, never past it.
    EXPECT_EQ(general(1e308, karpa::FloatMode::Decimal, 2400).size(), 2500u);
}

// A locale with a decimal comma changes nothing.
TEST(GeneralForm, IndependentOfLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"};
    for (const char* name : names) {
        if (std::setlocale(LC_NUMERIC, name) == nullptr) continue;
        EXPECT_EQ(general(1.5), "1.5") << name;
        EXPECT_EQ(karpa::parseFloat("1234567890.12345678e-3"), 1234567890.12345678e-3) << name;
    }
    std::setlocale(LC_NUMERIC, "C");
}

TEST(GeneralForm, ListsJoinWithCommas) {
    karpa::FloatList list;
    EXPECT_STREQ(karpa::printFloatGeneralList(list), "");
    list.push_back(1.0);
    list.push_back(-2.5);
    list.push_back(1e-7);
    EXPECT_STREQ(karpa::printFloatGeneralList(list), "1,-2.5,1e-07");
    EXPECT_STREQ(karpa::printFloatGeneral(2.0), "2");
    EXPECT_STREQ(karpa::printFloatRoundtrip(2.0), "2.0");
    karpa::TextBuilder out;
    karpa::addFloatGeneral(out, 0.25);
    out.push(';');
    karpa::addFloatRoundtrip(out, 0.25);
    EXPECT_STREQ(out.finish(), "0.25;0.25");
    karpa::arenaReset();
}

}  // namespace
