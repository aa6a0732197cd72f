// Shortest round-trip digits against std::to_chars, and the round-trip layout.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "frame/codec/floatcodec.hpp"

namespace {

using karpa::Decimal64;

#if defined(__SANITIZE_ADDRESS__)
constexpr uint64_t kRandomPatterns = 1000000;
#else
constexpr uint64_t kRandomPatterns = 10000000;
#endif

// The shortest digits of std::to_chars: significand without trailing zeros
// and the power of ten of its last digit.
Decimal64 oracleDigits(double x) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific);
    *r.ptr = '\0';
    uint64_t significand = 0;
    int fractionDigits = 0;
    const char* p = buffer;
    if (*p == '-') ++p;
    bool afterDot = false;
    for (; *p != 'e'; ++p) {
        if (*p == '.') {
            afterDot = true;
            continue;
        }
        significand = significand * 10 + static_cast<uint64_t>(*p - '0');
        fractionDigits += afterDot;
    }
    int exponent = std::atoi(p + 1) - fractionDigits;
    while (significand % 10 == 0) {
        significand /= 10;
        ++exponent;
    }
    return {significand, exponent};
}

Decimal64 ours(double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    return karpa::toDecimal64(bits & ((1ull << 52) - 1), static_cast<uint32_t>(bits >> 52) & 0x7FF);
}

// Checks one finite non-zero value; returns false on a mismatch (reported once).
bool sameDigits(double x) {
    const Decimal64 a = ours(x);
    const Decimal64 b = oracleDigits(x);
    if (a.significand == b.significand && a.exponent == b.exponent) return true;
    ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<uint64_t>(x) << std::dec << ": got " << a.significand
                  << "e" << a.exponent << ", expected " << b.significand << "e" << b.exponent;
    return false;
}

std::string roundtrip(double x) {
    char buffer[karpa::kMaxRoundtripText];
    return std::string(buffer, karpa::writeFloatRoundtrip(buffer, x));
}

TEST(ShortestDigits, RandomBitPatternsMatchToChars) {
    std::mt19937_64 rng(20240611);
    uint64_t mismatches = 0;
    for (uint64_t i = 0; i < kRandomPatterns && mismatches < 10; ++i) {
        const uint64_t bits = rng();
        const double x = std::bit_cast<double>(bits);
        if (!std::isfinite(x) || x == 0.0) continue;
        mismatches += !sameDigits(x);
    }
    EXPECT_EQ(mismatches, 0u);
}

// Powers of two and their neighbours, subnormals, powers of ten, integers,
// short decimals, tiny and huge values, every exponent.
std::vector<double> edgeValues() {
    std::vector<double> values;
    // Every power of two, with both neighbours.
    for (uint64_t e = 0; e < 2047; ++e) {
        const double p = std::bit_cast<double>(e << 52);
        values.push_back(p);
        values.push_back(std::nextafter(p, 0.0));
        values.push_back(std::nextafter(p, INFINITY));
    }
    // Subnormals: the smallest ones, the largest ones and powers of two among them.
    for (uint64_t f = 1; f < 5000; ++f) values.push_back(std::bit_cast<double>(f));
    for (uint64_t f = (1ull << 52) - 5000; f < (1ull << 52); ++f) values.push_back(std::bit_cast<double>(f));
    for (int b = 0; b < 52; ++b) values.push_back(std::bit_cast<double>(1ull << b));
    // Powers of ten and their neighbours, and short decimals.
    for (int k = -323; k <= 308; ++k) {
        const double p = std::strtod(("1e" + std::to_string(k)).c_str(), nullptr);
        values.push_back(p);
        values.push_back(std::nextafter(p, 0.0));
        values.push_back(std::nextafter(p, INFINITY));
    }
    for (int i = 1; i < 100000; ++i) {
        values.push_back(i);
        values.push_back(i / 1000.0);
        values.push_back(i * 1e-300);
        values.push_back(i * 1e300 / 1e5);
    }
    values.push_back(std::numeric_limits<double>::max());
    values.push_back(std::numeric_limits<double>::min());
    values.push_back(std::numeric_limits<double>::denorm_min());
    // Every exponent with small, large and middle significands.
    for (uint64_t e = 0; e < 2047; ++e) {
        for (const uint64_t f : {1ull, 2ull, 3ull, (1ull << 52) - 1, (1ull << 52) - 2, 1ull << 51, 0x5555555555555ull}) {
            values.push_back(std::bit_cast<double>((e << 52) | f));
        }
    }
    return values;
}

TEST(ShortestDigits, EdgeValuesMatchToChars) {
    const std::vector<double> values = edgeValues();
    uint64_t mismatches = 0;
    for (const double x : values) {
        if (x == 0.0 || !std::isfinite(x)) continue;
        mismatches += !sameDigits(x);
        if (mismatches >= 10) break;
    }
    EXPECT_EQ(mismatches, 0u);
}

// The printers' inline path (17 digits, the rare cases sent to the exact
// core) against the exact digits scaled to 17.
TEST(ShortestDigits, SeventeenDigitsMatchTheExactCore) {
    std::vector<double> values = edgeValues();
    std::mt19937_64 rng(20261209);
    for (int i = 0; i < 2000000; ++i) {
        values.push_back(std::bit_cast<double>(rng()));
        values.push_back(static_cast<double>(rng() % 1000000) / 1000.0);
        values.push_back(static_cast<double>(rng() >> 11) * 0x1p-53 * 1000.0);
    }
    uint64_t mismatches = 0;
    for (const double x : values) {
        const uint64_t bits = std::bit_cast<uint64_t>(x);
        const uint32_t biased = static_cast<uint32_t>(bits >> 52) & 0x7FF;
        if (biased == 0x7FF || (bits << 1) == 0) continue;
        const uint64_t fraction = bits & ((1ull << 52) - 1);
        const karpa::SeventeenDigits got = karpa::seventeenShortest(fraction, biased);
        const Decimal64 d = karpa::toDecimal64(fraction, biased);
        const int n = karpa::decimalDigits(d.significand);
        if (got.digits == d.significand * karpa::kPowersOf10[17 - n] && got.point == n + d.exponent) continue;
        ADD_FAILURE() << "bits 0x" << std::hex << bits << std::dec << ": got " << got.digits << " point " << got.point;
        if (++mismatches >= 10) break;
    }
}

// The round-trip form laid out step by step from std::to_chars's digits: the
// fixed layout for a decimal point at -6..17, else d.ddd with the exponent.
std::string literalRoundtrip(double x) {
    if (std::isnan(x)) return "nan";
    const std::string sign = std::signbit(x) ? "-" : "";
    if (std::isinf(x)) return sign + "inf";
    if (x == 0.0) return sign + "0.0";
    const Decimal64 d = oracleDigits(x);
    const std::string digits = std::to_string(d.significand);
    const int n = static_cast<int>(digits.size());
    const int p = n + d.exponent;
    if (p >= -6 && p <= 17) {
        if (p <= 0) return sign + "0." + std::string(static_cast<size_t>(-p), '0') + digits;
        if (p < n) return sign + digits.substr(0, static_cast<size_t>(p)) + "." + digits.substr(static_cast<size_t>(p));
        return sign + digits + std::string(static_cast<size_t>(p - n), '0') + ".0";
    }
    const int e = p - 1;
    return sign + digits.substr(0, 1) + (n > 1 ? "." + digits.substr(1) : "") + "e" + (e < 0 ? "-" : "+") +
           std::to_string(e < 0 ? -e : e);
}

// Every layout branch at every digit count: n random digits (no trailing
// zero) with the point at each place from -9 to 20, both signs; then random
// bit patterns and short decimals.
TEST(RoundtripForm, MatchesTheLiteralLayout) {
    std::mt19937_64 rng(79);
    std::vector<double> values;
    for (int n = 1; n <= 17; ++n) {
        for (int p = -9; p <= 20; ++p) {
            for (int i = 0; i < 40; ++i) {
                std::string digits;
                for (int j = 0; j < n; ++j) digits += static_cast<char>('0' + (j == 0 || j == n - 1 ? 1 + rng() % 9 : rng() % 10));
                values.push_back(std::strtod((digits + "e" + std::to_string(p - n)).c_str(), nullptr));
            }
        }
    }
    for (int i = 0; i < 300000; ++i) {
        values.push_back(std::bit_cast<double>(rng()));
        values.push_back(static_cast<double>(rng() % 100000000) / 1000.0);
    }
    for (const double v : values) {
        for (const double x : {v, -v}) {
            char buffer[karpa::kMaxRoundtripText + 8];
            ASSERT_EQ(std::string(buffer, karpa::writeFloatRoundtrip(buffer, x)), literalRoundtrip(x))
                << std::hex << std::bit_cast<uint64_t>(x);
        }
    }
}

// The edge values through the printer, against the literal layout.
TEST(RoundtripForm, EdgeValuesMatchTheLiteralLayout) {
    for (const double v : edgeValues()) {
        for (const double x : {v, -v}) {
            char buffer[karpa::kMaxRoundtripText + 8];
            ASSERT_EQ(std::string(buffer, karpa::writeFloatRoundtrip(buffer, x)), literalRoundtrip(x))
                << std::hex << std::bit_cast<uint64_t>(x);
        }
    }
}

struct LayoutCase {
    double value;
    const char* text;
};

TEST(RoundtripForm, Layouts) {
    const LayoutCase cases[] = {
        {1.0, "1.0"},
        {0.1, "0.1"},
        {100.0, "100.0"},
        {3.0, "3.0"},
        {-2.5, "-2.5"},
        {1e16, "10000000000000000.0"},
        {1e17, "1e+17"},
        {123456789012345678.0, "1.2345678901234568e+17"},
        {12345678901234567.0, "12345678901234568.0"},
        {1e-7, "0.0000001"},
        {1.5e-7, "0.00000015"},
        {1.5e-8, "1.5e-8"},
        {1e21, "1e+21"},
        {1e22, "1e+22"},
        {1e100, "1e+100"},
        {1.25e-100, "1.25e-100"},
        {123456789012345680000.0, "1.2345678901234568e+20"},
        {0.30000000000000004, "0.30000000000000004"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1234.5678, "1234.5678"},
        {0.001, "0.001"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {-std::numeric_limits<double>::max(), "-1.7976931348623157e+308"},
        {std::numeric_limits<double>::denorm_min(), "5e-324"},
        {std::numeric_limits<double>::min(), "2.2250738585072014e-308"},
        {0.0, "0.0"},
        {-0.0, "-0.0"},
        {INFINITY, "inf"},
        {-INFINITY, "-inf"},
        {std::bit_cast<double>(0x7FF8000000000000ull), "nan"},
        {std::bit_cast<double>(0xFFF8000000000000ull), "nan"},
        {std::bit_cast<double>(0x7FF0000000000001ull), "nan"},
    };
    for (const LayoutCase& c : cases) EXPECT_EQ(roundtrip(c.value), c.text) << c.text;
}

// Every finite value prints with a '.' or an 'e' and reads back to itself.
TEST(RoundtripForm, ReadsBackAndShowsAFloat) {
    std::mt19937_64 rng(77);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::bit_cast<double>(rng());
        if (!std::isfinite(x)) continue;
        const std::string text = roundtrip(x);
        ASSERT_NE(text.find_first_of(".e"), std::string::npos) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(std::strtod(text.c_str(), nullptr)), std::bit_cast<uint64_t>(x)) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(karpa::parseFloat(text)), std::bit_cast<uint64_t>(x)) << text;
    }
}

// The one-value short cut takes a text's own digits for the shortest digits
// of its value: checked against std::to_chars on the value strtod reads, over
// random texts of the list reader's usual shape (up to 19 digits, leading and
// trailing zeros, exponents of up to three digits) and the ends of the range.
TEST(ShortFloat, OwnDigitsAreTheShortestDigits) {
    std::mt19937_64 rng(78);
    std::vector<std::string> texts = {"999999999999999e293", "1e-307", "-1e-307", "0.000000000000001e-292",
                                      "100000000000000e-307", "9007199254740993", "123456789012345.0000",
                                      "0.1", "-0.0", "0", "1e400", "1.5,", " 1.5", "1e-308", "1e309"};
    for (int i = 0; i < 300000; ++i) {
        std::string t = rng() % 2 ? "-" : "";
        const int digits = 1 + int(rng() % 19);
        const int point = int(rng() % (digits + 1));
        for (int k = 0; k < digits; ++k) {
            if (k == point && k > 0) t += '.';
            t += char('0' + (rng() % 4 == 0 ? 0 : rng() % 10));
        }
        if (rng() % 2) t += (rng() % 2 ? "e" : "E") + std::string(rng() % 2 ? "-" : "") + std::to_string(rng() % 400);
        texts.push_back(t);
    }
    size_t taken = 0;
    for (const std::string& text : texts) {
        karpa::ShortFloat f;
        if (!karpa::readOneShortFloat(text, f)) continue;
        ++taken;
        const double x = std::strtod(text.c_str(), nullptr);
        const Decimal64 want = oracleDigits(x);
        ASSERT_TRUE(std::isnormal(x)) << text;
        ASSERT_EQ(f.negative, std::signbit(x)) << text;
        ASSERT_EQ(f.significand, want.significand) << text;
        ASSERT_EQ(f.exponent, want.exponent) << text;
        char buffer[karpa::kMaxRoundtripText];
        ASSERT_EQ(std::string(buffer, karpa::writeShortFloatRoundtrip(buffer, f)), roundtrip(x)) << text;
    }
    EXPECT_GT(taken, texts.size() / 4);
    karpa::ShortFloat f;
    for (const char* text : {"9007199254740993", "0", "-0.0", "1e400", "1.5,", " 1.5", "1e-308", "1_0", ""}) {
        EXPECT_FALSE(karpa::readOneShortFloat(text, f)) << text;
    }
}

// A one-value text that is not short (16 to 19 digits, zeros, far exponents)
// is converted once, to the bits the list reader gives it.
TEST(ShortFloat, OtherOneValueTextsReadAsTheListReaderReadsThem) {
    std::mt19937_64 rng(79);
    std::vector<std::string> texts = {"0", "-0.0", "0.000", "1e400", "-1e-400", "9007199254740993", "1e-308"};
    char b[40];
    for (int i = 0; i < 200000; ++i) {
        const double x = std::ldexp(double(rng() >> 11), int(rng() % 2100) - 1100) * (rng() % 2 ? 1 : -1);
        std::snprintf(b, sizeof b, i % 3 == 0 ? "%.17g" : i % 3 == 1 ? "%.16f" : "%.19e", x);
        texts.push_back(b);
    }
    size_t converted = 0;
    for (const std::string& text : texts) {
        karpa::ShortFloat f;
        double x = 0.0;
        const karpa::OneFloat kind = karpa::readOneFloat(text, f, x);
        if (kind != karpa::OneFloat::value) continue;
        ++converted;
        const auto want = karpa::readFloatExtremes(text);
        ASSERT_TRUE(want.any) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(x), std::bit_cast<uint64_t>(want.max)) << text;
    }
    EXPECT_GT(converted, texts.size() / 4);
}

TEST(FormatDigits, WholeNumbersWithoutForcedDotZero) {
    char buffer[64] = "xx";
    EXPECT_EQ(karpa::formatDigits(buffer, 2, 125, 1, false), 6u);
    EXPECT_EQ(std::string(buffer, 6), "xx1250");
    EXPECT_EQ(karpa::formatDigits(buffer, 0, 125, 1, true), 6u);
    EXPECT_EQ(std::string(buffer, 6), "1250.0");
    EXPECT_EQ(karpa::formatDigits(buffer, 0, 125, -1, false), 4u);
    EXPECT_EQ(std::string(buffer, 4), "12.5");
}

}  // namespace
