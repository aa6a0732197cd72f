// Float scanning: the grammar's corner cases, and values against strtod.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "frame/error.hpp"
#include "frame/codec/float_convert.hpp"
#include "frame/codec/floatcodec.hpp"
#include "frame/codec/textcodec.hpp"
#include "tiers.hpp"

namespace {

namespace detail = karpa::floatcodec_detail;

#if defined(__SANITIZE_ADDRESS__)
constexpr int kScale = 1;
#else
constexpr int kScale = 10;
#endif

uint64_t bitsOf(double x) { return std::bit_cast<uint64_t>(x); }

// The value of a whole text, or the error message when it is not a float.
struct Parsed {
    bool ok;
    double value;
    std::string message;
};

Parsed parseWhole(const std::string& text) {
    try {
        const double v = karpa::parseFloat(text);
        return {true, v, ""};
    } catch (const karpa::Unwind&) {
        const std::string message = karpa::currentError()->message;
        karpa::clearFailure();
        return {false, 0.0, message};
    }
}

struct ValueCase {
    const char* text;
    double value;
};

TEST(FloatGrammar, ValidTexts) {
    const ValueCase cases[] = {
        {"1.5", 1.5},     {"+1.5", 1.5},       {"-1.5", -1.5},     {"1.", 1.0},         {".5", 0.5},
        {"1_000.25", 1000.25}, {"1e3", 1000.0}, {"1E+3", 1000.0},   {"2.5e-3", 0.0025},  {"1e1_0", 1e10},
        {"1__2", 12.0},   {"7_", 7.0},          {"0.0_0_1", 0.001}, {"1_2.3_4e0_1", 123.4}, {".e5", 0.0},
        {"1e400", INFINITY}, {"-1e400", -INFINITY}, {"1e-400", 0.0}, {"0.1", 0.1},      {"007", 7.0},
        {"1e0000000000000000000000005", 1e5}, {"1e-0000000000000000000000000400", 0.0},
        {"1e99999999999999999999999999", INFINITY}, {"5e-99999999999999999999999999", 0.0},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"9007199254740993", 9007199254740992.0}, {"9007199254740995", 9007199254740996.0},
        {"4.9406564584124654e-324", 4.9406564584124654e-324}, {"2.4703282292062328e-324", 4.9406564584124654e-324},
        {"2.4703282292062327e-324", 0.0}, {"1.7976931348623157e308", 1.7976931348623157e308},
        {"1.7976931348623158e308", 1.7976931348623157e308}, {"1.7976931348623159e308", INFINITY},
        {"123456789012345e10", 123456789012345e10}, {"1e37", 1e37}, {"12e36", 12e36}, {"1_e5", 1e5},
    };
    for (const ValueCase& c : cases) {
        const Parsed p = parseWhole(c.text);
        ASSERT_TRUE(p.ok) << c.text;
        EXPECT_EQ(bitsOf(p.value), bitsOf(c.value)) << c.text;
    }
}

TEST(FloatGrammar, SignedZerosAndSpecials) {
    struct BitsCase {
        const char* text;
        uint64_t bits;
    };
    const BitsCase cases[] = {
        {".", 0},
        {"+.", 0},
        {"-.", 0x8000000000000000ull},
        {"-0.0", 0x8000000000000000ull},
        {"-0e10", 0x8000000000000000ull},
        {"-0e1000", 0},
        {"0e-5000", 0},
        {"-1e-1000", 0x8000000000000000ull},
        {"-1e-400", 0x8000000000000000ull},
        {"nan", 0x7FF8000000000000ull},
        {"NaN", 0x7FF8000000000000ull},
        {"+nAn", 0x7FF8000000000000ull},
        {"-NAN", 0xFFF8000000000000ull},
        {"-nan", 0xFFF8000000000000ull},
        {"inf", 0x7FF0000000000000ull},
        {"+Inf", 0x7FF0000000000000ull},
        {"-INF", 0xFFF0000000000000ull},
    };
    for (const BitsCase& c : cases) {
        const Parsed p = parseWhole(c.text);
        ASSERT_TRUE(p.ok) << c.text;
        EXPECT_EQ(bitsOf(p.value), c.bits) << c.text;
    }
}

TEST(FloatGrammar, InvalidTexts) {
    const char* cases[] = {"",     "+",     "-",    "e5",   "_1",     "1._5", "1e",    "1e+",    "1ex",  "1.5e",
                           "infinity", "nanx", "inf1", "nan_", "in",   "na",   "-in",   " 1.5",   "1.5 ",  "1 2",
                           "0x10", "1.5.3", "1e5.5", "..",   "+-1",   "e",    "._5",   "1e_5",   "ninf", "Infinite",
                           "1,5",  "\xc2\xa0" "1", "1e-",  "-e5",   "+.e",  ".e",   };
    for (const char* text : cases) {
        const Parsed p = parseWhole(text);
        EXPECT_FALSE(p.ok) << text;
        EXPECT_EQ(p.message, std::string("invalid float: ") + text);
    }
}

// What parseBiggestFloat consumes when the text goes on.
TEST(FloatGrammar, ConsumedCounts) {
    struct CountCase {
        const char* text;
        size_t used;
    };
    const CountCase cases[] = {
        {"1e", 1},    {"1ex", 0},  {"1.5x", 3},  {"nan,", 3}, {"nanx", 0},  {"in", 0},   {"1.5.3", 3},
        {"-.", 2},    {"12 ", 2},  {"1e5_,", 4}, {"+inf ", 4}, {"1_,", 2},  {"-", 0},    {"..", 1},
    };
    for (const CountCase& c : cases) {
        double v = 0;
        EXPECT_EQ(karpa::parseBiggestFloat(c.text, std::strlen(c.text), v), c.used) << c.text;
    }
}

// ---- Values against strtod -------------------------------------------------

std::string withoutUnderscores(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c != '_') out += c;
    }
    return out;
}

void expectAgreesWithStrtod(const std::string& text, int& failures) {
    const Parsed p = parseWhole(text);
    const double expected = std::strtod(withoutUnderscores(text).c_str(), nullptr);
    if (p.ok && bitsOf(p.value) == bitsOf(expected)) return;
    if (++failures <= 10) {
        ADD_FAILURE() << text << ": got " << (p.ok ? std::to_string(p.value) : p.message) << " bits " << std::hex
                      << bitsOf(p.value) << ", strtod " << bitsOf(expected);
    }
}

// Random digits with a '.', optional underscores, an exponent with optional
// leading zeros and a sign.
std::string randomFloatText(std::mt19937_64& rng, int digits, int exponentLow, int exponentHigh) {
    std::string text;
    switch (rng() % 3) {
        case 0: text += '-'; break;
        case 1: text += '+'; break;
        default: break;
    }
    const int dot = static_cast<int>(rng() % static_cast<uint64_t>(digits + 1));
    const bool underscores = rng() % 4 == 0;
    for (int i = 0; i < digits; ++i) {
        if (i == dot) text += '.';
        const char d = static_cast<char>('0' + (i == 0 ? 1 + rng() % 9 : rng() % 10));
        text += d;
        if (underscores && rng() % 3 == 0) text += '_';
    }
    if (dot == digits) text += '.';
    const int exponent = exponentLow + static_cast<int>(rng() % static_cast<uint64_t>(exponentHigh - exponentLow + 1));
    text += (rng() & 1) ? 'e' : 'E';
    if (exponent < 0) {
        text += '-';
    } else if (rng() & 1) {
        text += '+';
    }
    if (rng() % 5 == 0) text += "000";
    text += std::to_string(std::abs(exponent));
    return text;
}

TEST(FloatValues, SixteenToNineteenDigitsAgreeWithStrtod) {
    std::mt19937_64 rng(1);
    int failures = 0;
    for (int i = 0; i < 20000 * kScale; ++i) {
        const int digits = 16 + static_cast<int>(rng() % 4);
        expectAgreesWithStrtod(randomFloatText(rng, digits, -345, 325), failures);
    }
    EXPECT_EQ(failures, 0);
}

TEST(FloatValues, ShortDigitsAgreeWithStrtod) {
    std::mt19937_64 rng(2);
    int failures = 0;
    for (int i = 0; i < 20000 * kScale; ++i) {
        const int digits = 1 + static_cast<int>(rng() % 16);
        const bool nearFastPath = rng() & 1;
        expectAgreesWithStrtod(randomFloatText(rng, digits, nearFastPath ? -25 : -340, nearFastPath ? 40 : 320),
                               failures);
    }
    EXPECT_EQ(failures, 0);
}

TEST(FloatValues, HundredsOfDigitsAgreeWithStrtod) {
    std::mt19937_64 rng(3);
    int failures = 0;
    for (int i = 0; i < 2000 * kScale; ++i) {
        const int digits = 20 + static_cast<int>(rng() % 700);
        expectAgreesWithStrtod(randomFloatText(rng, digits, -800, 300), failures);
    }
    EXPECT_EQ(failures, 0);
}

// The exact decimal midpoint between two neighbouring doubles, as printed by
// the C library from an 80-bit long double (which holds it exactly).
std::string midpointText(double low) {
    const double high = std::nextafter(low, INFINITY);
    const long double mid = (static_cast<long double>(low) + static_cast<long double>(high)) / 2;
    static char buffer[1200];
    std::snprintf(buffer, sizeof buffer, "%.800Le", mid);
    std::string text = buffer;
    const size_t e = text.find('e');
    size_t last = e;
    while (text[last - 1] == '0') --last;
    if (text[last - 1] == '.') --last;
    return text.substr(0, last) + text.substr(e);
}

// Variants just below (cut short) and just above (a digit added) a midpoint.
void checkAroundMidpoint(double low, int& failures) {
    const std::string mid = midpointText(low);
    expectAgreesWithStrtod(mid, failures);
    const size_t e = mid.find('e');
    const std::string mantissa = mid.substr(0, e);
    const std::string exponent = mid.substr(e);
    if (mantissa.size() > 20) expectAgreesWithStrtod(mantissa.substr(0, 19) + exponent, failures);
    if (mantissa.size() > 40) expectAgreesWithStrtod(mantissa.substr(0, 40) + exponent, failures);
    expectAgreesWithStrtod(mantissa + (mantissa.find('.') == std::string::npos ? ".0001" : "0001") + exponent,
                           failures);
    expectAgreesWithStrtod("-" + mid, failures);
}

TEST(FloatValues, HalfwayCasesAgreeWithStrtod) {
    std::mt19937_64 rng(4);
    int failures = 0;
    for (int i = 0; i < 1000 * kScale; ++i) {
        double x;
        do {
            x = std::bit_cast<double>(rng() >> 1);
        } while (!std::isfinite(x) || x == std::numeric_limits<double>::max());
        checkAroundMidpoint(x, failures);
    }
    // Midpoints that are short: integers just above 2^53, small powers.
    for (uint64_t m = (1ull << 53); m < (1ull << 53) + 200; ++m) checkAroundMidpoint(static_cast<double>(m), failures);
    for (int k = 1; k < 60; ++k) checkAroundMidpoint(std::ldexp(1.0, 53 + k) + std::ldexp(1.0, k + 1), failures);
    EXPECT_EQ(failures, 0);
}

TEST(FloatValues, SubnormalsAndOverflowThresholdAgreeWithStrtod) {
    std::mt19937_64 rng(5);
    int failures = 0;
    for (int i = 0; i < 300 * kScale; ++i) {
        const double sub = std::bit_cast<double>(rng() % (1ull << 52));
        checkAroundMidpoint(sub, failures);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.17g", sub);
        expectAgreesWithStrtod(buffer, failures);
    }
    const double max = std::numeric_limits<double>::max();
    for (const double x : {0.0, std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                           std::nextafter(std::numeric_limits<double>::min(), 0.0), std::nextafter(max, 0.0)}) {
        checkAroundMidpoint(x, failures);
    }
    // The midpoint between the largest double and 2^1024 rounds to infinity.
    const long double overflowMid = static_cast<long double>(max) + std::ldexp(1.0L, 970);
    char buffer[1200];
    std::snprintf(buffer, sizeof buffer, "%.400Le", overflowMid);
    std::string text = buffer;
    expectAgreesWithStrtod(text, failures);
    expectAgreesWithStrtod(text.substr(0, 30) + text.substr(text.find('e')), failures);
    for (const char* t : {"1.7976931348623158079e308", "1.7976931348623158078e308", "179769313486231580793728971405301e276",
                          "1.797693134862315708145274237317043567981e+308", "2.4703282292062327208828439643411068618e-324",
                          "2.4703282292062327208828439643411068619e-324", "2.2250738585072011e-308",
                          "2.2250738585072012e-308", "4.9406564584124654417656879286822137236505980e-324"}) {
        expectAgreesWithStrtod(t, failures);
    }
    EXPECT_EQ(failures, 0);
}

// ---- The slow path's pieces ------------------------------------------------

TEST(SlowPath, RebuiltTextKeepsSignAndDigits) {
    char buffer[detail::kRebuildBuffer];
    const std::string m = "-1_234.5_6";
    const size_t len = detail::rebuildFloatText(buffer, m.data(), m.size(), -7);
    EXPECT_EQ(std::string(buffer, len), "-123456E-007");
    const std::string dot = ".0_5";
    EXPECT_EQ(std::string(buffer, detail::rebuildFloatText(buffer, dot.data(), dot.size(), 999)), "05E+999");
    const std::string longDigits(600, '7');
    const size_t cut = detail::rebuildFloatText(buffer, longDigits.data(), longDigits.size(), 12);
    EXPECT_EQ(cut, 494u + 5);
    EXPECT_EQ(std::string(buffer + 494, 5), "E+012");
}

TEST(SlowPath, StrtodAndFromCharsAgreeOnRebuiltTexts) {
    std::mt19937_64 rng(6);
    int failures = 0;
    char buffer[detail::kRebuildBuffer];
    for (int i = 0; i < 20000 * kScale; ++i) {
        std::string m;
        const int sign = static_cast<int>(rng() % 3);
        if (sign == 1) m += '-';
        if (sign == 2) m += '+';
        const int digits = 1 + static_cast<int>(rng() % (rng() % 8 == 0 ? 494 : 24));
        for (int d = 0; d < digits; ++d) m += static_cast<char>('0' + rng() % 10);
        const int a = static_cast<int>(rng() % 1999) - 999;
        const size_t len = detail::rebuildFloatText(buffer, m.data(), m.size(), a);
        const double viaStrtod = detail::convertRebuiltText(buffer);
        // std::from_chars takes no '+' and leaves out-of-range results to the caller.
        const char* first = buffer[0] == '+' ? buffer + 1 : buffer;
        double viaFromChars = 0.0;
        const auto r = std::from_chars(first, buffer + len, viaFromChars);
        if (r.ec == std::errc::result_out_of_range) continue;
        ASSERT_EQ(r.ptr, buffer + len);
        if (bitsOf(viaFromChars) != bitsOf(viaStrtod) && ++failures <= 10) ADD_FAILURE() << buffer;
    }
    EXPECT_EQ(failures, 0);
}

TEST(SlowPath, PowerTableProductsAgreeWithStrtod) {
    std::mt19937_64 rng(7);
    int failures = 0;
    int decided = 0;
    for (int i = 0; i < 50000 * kScale; ++i) {
        const uint64_t w = rng() >> (rng() % 64);
        const int q = static_cast<int>(rng() % 700) - 360;
        double v;
        if (!detail::mulPow10(w, q, v)) continue;
        ++decided;
        const std::string text = std::to_string(w) + "e" + std::to_string(q);
        const double expected = std::strtod(text.c_str(), nullptr);
        if (bitsOf(v) != bitsOf(expected) && ++failures <= 10) ADD_FAILURE() << text;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(decided, 40000 * kScale);
}

// ---- List reading ----------------------------------------------------------

// The plain reading of a float list: split, strip, skip empty, parse whole.
struct ListResult {
    bool ok;
    std::vector<uint64_t> bits;
    std::string message;
    bool operator==(const ListResult&) const = default;
};

ListResult referenceRead(const std::string& text) {
    ListResult r{true, {}, ""};
    if (text.empty()) return r;
    for (const std::string_view piece : karpa::split(text, ',')) {
        const std::string_view stripped = karpa::strip(piece);
        if (stripped.empty()) continue;
        const Parsed p = parseWhole(std::string(stripped));
        if (!p.ok) return {false, {}, p.message};
        r.bits.push_back(bitsOf(p.value));
    }
    return r;
}

ListResult onePassRead(const std::string& text) {
    try {
        ListResult r{true, {}, ""};
        for (const double x : karpa::parseCsvFloats(text)) r.bits.push_back(bitsOf(x));
        return r;
    } catch (const karpa::Unwind&) {
        const std::string message = karpa::currentError()->message;
        karpa::clearFailure();
        return {false, {}, message};
    }
}

// What read(...) gives, or the error it raises.
template <class Read>
ListResult caught(Read read) {
    try {
        return read();
    } catch (const karpa::Unwind&) {
        const std::string message = karpa::currentError()->message;
        karpa::clearFailure();
        return {false, {}, message};
    }
}

// The sum taken while reading against the reference list summed from +0.0 in
// list order: the same bits, or the same error.
ListResult summedWhileReading(const std::string& text) {
    return caught([&] { return ListResult{true, {bitsOf(karpa::readFloatSum(text))}, ""}; });
}

ListResult summedReference(const std::string& text) {
    ListResult r = referenceRead(text);
    if (!r.ok) return r;
    double sum = 0.0;
    for (const uint64_t bits : r.bits) sum = sum + std::bit_cast<double>(bits);
    return {true, {bitsOf(sum)}, ""};
}

// The extremes taken while reading against the reference list walked with the
// rule written out: the first value, replaced only by a smaller (larger) one.
ListResult extremesWhileReading(const std::string& text) {
    return caught([&] {
        const karpa::Extremes<double> e = karpa::readFloatExtremes(text);
        return e.any ? ListResult{true, {bitsOf(e.min), bitsOf(e.max)}, ""} : ListResult{true, {}, ""};
    });
}

ListResult extremesReference(const std::string& text) {
    ListResult r = referenceRead(text);
    if (!r.ok || r.bits.empty()) return r;
    double lo = std::bit_cast<double>(r.bits[0]), hi = lo;
    for (const uint64_t bits : r.bits) {
        const double x = std::bit_cast<double>(bits);
        if (x < lo) lo = x;
        if (x > hi) hi = x;
    }
    return {true, {bitsOf(lo), bitsOf(hi)}, ""};
}

TEST(FloatList, OnePassReaderMatchesSplitStripParse) {
    const char* tokens[] = {"1",   "-2.5", " ",    "\t",   "",     "nan",  "inf",   "-inf", "1e",    "1e5",  ".",
                            "+.",  "-.",   "x",    "1_0",  "_1",   "na",   "n",     "e",    "1.5e",  "infinity",
                            "\v",  "0x10", "1 2",  "+",    "-",    "1e+",  "1._5",  "12345678901234567890", "E",
                            "in",  "\r\n", "1e-",  "nan_", "i",    "5_",   ".e5",   "1.",   "-0",    "2.5e-3",
                            "\xa0", "NaN", "1e1_0", "9007199254740993", "0.1", "f", "1e400"};
    constexpr size_t kTokens = sizeof tokens / sizeof tokens[0];
    const char* separators[] = {",", ", ", " ,", ",,", " , ", "\t,"};
    std::mt19937_64 rng(8);
    int failures = 0;
    for (int i = 0; i < 5000 * kScale; ++i) {
        std::string text;
        const int pieces = static_cast<int>(rng() % 5);
        for (int k = 0; k < pieces; ++k) {
            if (k > 0) text += separators[rng() % 6];
            text += tokens[rng() % kTokens];
            if (rng() % 4 == 0) text += tokens[rng() % kTokens];  // glued tokens
        }
        if (onePassRead(text) != referenceRead(text) && ++failures <= 10) ADD_FAILURE() << "list [" << text << "]";
        if (summedWhileReading(text) != summedReference(text) && ++failures <= 10) ADD_FAILURE() << "sum [" << text << "]";
        if (extremesWhileReading(text) != extremesReference(text) && ++failures <= 10) ADD_FAILURE() << "extremes [" << text << "]";
        if (i % 1000 == 0) karpa::arenaReset();
    }
    karpa::arenaReset();
    EXPECT_EQ(failures, 0);
}

// Long lists of decimals near the shape the list reader takes without the
// general scan (sign, up to seven digits, '.', up to sixteen more, an exponent
// of up to three digits, a comma): digit runs of zero to nine before the
// point and zero to nineteen after it, exponents of zero to four digits,
// other signs, and '_', blanks or letters after them, against the
// piece-by-piece reading with the general scan.
TEST(FloatList, PlainDecimalShapesMatchSplitStripParse) {
    const char* signs[] = {"", "", "-", "+"};
    const char* tails[] = {"_", " ", "x", ".", "e", "e+", "E-_1", "e1_", "e_1"};
    const char* separators[] = {",", ",", ",", ", ", " ,", ",,"};
    std::mt19937_64 rng(9);
    const auto digits = [&rng](size_t n) {
        std::string d;
        for (size_t i = 0; i < n; ++i) d += static_cast<char>('0' + rng() % 10);
        return d;
    };
    // Sixteen digits led by a 9 lie above 2^53: the fast path's one rounding
    // does not hold there (-9999999.999999999 is not -1e7).
    int failures = 0;
    for (const std::string text : {"-9999999.999999999,9999999.999999999,1,2,3,4,5,6,7,8,9",
                                   "1.9999999999999999e-300,-1.0000000000000001e+300,1,2,3,4,5,6,7,8"}) {
        EXPECT_EQ(onePassRead(text), referenceRead(text)) << text;
    }
    for (int i = 0; i < 2000 * kScale; ++i) {
        std::string text;
        const int pieces = 1 + static_cast<int>(rng() % 12);
        for (int k = 0; k < pieces; ++k) {
            if (k > 0) text += separators[rng() % 6];
            text += signs[rng() % 4] + digits(rng() % 10);
            if (rng() % 4 != 0) text += "." + digits(rng() % (rng() % 2 ? 10 : 20));
            if (rng() % 3 == 0) text += std::string(rng() % 2 ? "e" : "E") + signs[rng() % 4] + digits(rng() % 5);
            if (rng() % 8 == 0) text += tails[rng() % 9];
        }
        if (onePassRead(text) != referenceRead(text) && ++failures <= 10) ADD_FAILURE() << "list [" << text << "]";
        if (summedWhileReading(text) != summedReference(text) && ++failures <= 10) ADD_FAILURE() << "sum [" << text << "]";
        if (extremesWhileReading(text) != extremesReference(text) && ++failures <= 10) ADD_FAILURE() << "extremes [" << text << "]";
        if (i % 1000 == 0) karpa::arenaReset();
    }
    karpa::arenaReset();
    EXPECT_EQ(failures, 0);
}

TEST(FloatList, HostAndConvertedTextReadTheSame) {
    EXPECT_TRUE(karpa::parseFloats(nullptr).empty());
    EXPECT_TRUE(karpa::parseFloats("  ,\t, ").empty());
    const karpa::FloatList a = karpa::parseFloats(" 1.5, 2 ,,-3e2 ");
    const karpa::FloatList b = karpa::parseCsvFloats(" 1.5, 2 ,,-3e2 ");
    ASSERT_EQ(a.size(), 3u);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()));
    EXPECT_EQ(a[2], -300.0);
    EXPECT_EQ(onePassRead("3,x,4").message, "invalid float: x");
    EXPECT_EQ(onePassRead("1, 1e ,2").message, "invalid float: 1e");
    karpa::arenaReset();
}

// ---- Every tier: long lists, so that the block readers run ------------------

class FloatListTiers : public TierTest {};

// A usual decimal (what the block readers take: '-', one to seven digits,
// '.' and one to sixteen more, nineteen at most) or, one time in `odd`, a
// piece of another shape: more digits on either side, a lone or leading
// point, two points, an exponent, a sign or blank in the wrong place.
std::string randomFloatPiece(std::mt19937_64& rng, unsigned odd) {
    const auto digits = [&rng](size_t n) {
        std::string d;
        for (size_t i = 0; i < n; ++i) d += static_cast<char>('0' + rng() % 10);
        return d;
    };
    const std::string sign = rng() % 3 == 0 ? "-" : "";
    if (rng() % odd != 0) {
        const size_t whole = 1 + rng() % 7;
        if (rng() % 5 == 0) return sign + digits(whole);
        return sign + digits(whole) + "." + digits(1 + rng() % std::min<size_t>(16, 19 - whole));
    }
    static const char* const kOdd[] = {"1.", ".5", "-.5", ".", "1.2.3", "1e5", "2.5E-3", "+1.5", " 1.5", "1.5 ", "1-5",
                                       "nan", "-inf", "", "-", "1_0.5", "x", "12345678.5", "1.12345678901234567",
                                       "1234567.123456789012", "9007199254740993", "0.30000000000000004"};
    switch (rng() % 3) {
        case 0: return sign + digits(8 + rng() % 12) + "." + digits(rng() % 20);
        default: return kOdd[rng() % (sizeof kOdd / sizeof kOdd[0])];
    }
}

::testing::AssertionResult listAgrees(const std::string& text) {
    if (onePassRead(text) != referenceRead(text)) return ::testing::AssertionFailure() << "list [" << text << "]";
    if (summedWhileReading(text) != summedReference(text)) return ::testing::AssertionFailure() << "sum [" << text << "]";
    if (extremesWhileReading(text) != extremesReference(text)) {
        return ::testing::AssertionFailure() << "extremes [" << text << "]";
    }
    return ::testing::AssertionSuccess();
}

TEST_P(FloatListTiers, RandomLongListsMatchSplitStripParse) {
    std::mt19937_64 rng(77);
    for (int round = 0; round < 1500 * kScale; ++round) {
        const unsigned odd = round % 3 == 0 ? 1000000 : 4 + static_cast<unsigned>(rng() % 60);
        std::string text;
        const size_t pieces = 1 + rng() % 100;
        for (size_t i = 0; i < pieces; ++i) text += (i ? "," : "") + randomFloatPiece(rng, odd);
        ASSERT_TRUE(listAgrees(text));
        if (round % 200 == 0) karpa::arenaReset();
    }
    karpa::arenaReset();
}

TEST_P(FloatListTiers, EveryDistanceFromTheEnd) {
    std::mt19937_64 rng(78);
    std::string usual;
    for (size_t i = 0; i < 40; ++i) usual += (i ? "," : "") + randomFloatPiece(rng, 1000000);
    for (const char* odd : {"x", "1.2.3", "1e5", ".5", "", "12345678.5"}) {
        for (size_t cut = 0; cut <= 120; ++cut) {
            const std::string tail = usual.substr(usual.size() - cut);
            ASSERT_TRUE(listAgrees(usual + "," + odd + "," + tail));
            ASSERT_TRUE(listAgrees(usual.substr(0, usual.size() - cut)));
        }
        karpa::arenaReset();
    }
}

// Mantissas on both sides of 2^53, where the block reader's own conversion
// gives way to the reader's, the point anywhere in the first eight digits, in
// lists long enough for several batches.
TEST_P(FloatListTiers, MantissasAroundTwoToThe53) {
    std::mt19937_64 rng(79);
    for (int round = 0; round < 20; ++round) {
        std::string text;
        for (size_t i = 0; i < 700; ++i) {
            std::string digits = std::to_string((uint64_t(1) << 53) - 50 + rng() % 100);
            digits.insert(1 + rng() % 7, ".");
            if (rng() % 7 == 0) digits = "0.000" + std::string(rng() % 12, '0');
            text += (i ? "," : "") + std::string(rng() % 2 ? "-" : "") + digits;
        }
        ASSERT_TRUE(listAgrees(text));
        karpa::arenaReset();
    }
}

// Exponent forms in long lists, as "%.16e" writes them and others: random
// mantissas and exponents of one to three digits (the extremes of binary64
// among them) against strtod, and malformed exponents among them, which the
// blocks must leave to the per-piece reader.
TEST_P(FloatListTiers, ExponentFormsMatchStrtodAndSplitStripParse) {
    std::mt19937_64 rng(80);
    const auto digits = [&rng](size_t n) {
        std::string d;
        for (size_t i = 0; i < n; ++i) d += static_cast<char>('0' + rng() % 10);
        return d;
    };
    static const char* const kEdge[] = {"308", "-308", "-324", "-323", "999", "-999", "22", "-22", "23", "-23",
                                        "000", "-0", "+0", "16", "-16", "309", "-330", "+022", "5", "-5"};
    static const char* const kOdd[] = {"1.5e",   "1.5e+",  "1.5e+1234", "1.5e1_0", "1.5e-+3", "1.5ee3", "1.5e3.5",
                                       "1e3e3",  "-e5",    "1.e5",      ".5e5",    "1.5E+-3", "1.5e 3", "e5",
                                       "1.5e+0005", "1.5e-", "1.5e3-",  "1-5e3",   "12345678.5e3", "1.5e3x"};
    for (int round = 0; round < 300 * kScale; ++round) {
        const bool withOdd = round % 2 == 1;
        std::string text;
        std::vector<std::string> pieces;
        const size_t count = 20 + rng() % 300;
        for (size_t i = 0; i < count; ++i) {
            std::string piece;
            if (withOdd && rng() % 40 == 0) {
                piece = kOdd[rng() % (sizeof kOdd / sizeof kOdd[0])];
            } else {
                piece = std::string(rng() % 3 == 0 ? "-" : "") + digits(1 + rng() % 7);
                if (rng() % 6 != 0) piece += "." + digits(1 + rng() % (rng() % 2 ? 16 : 4));
                if (rng() % 10 != 0) {
                    piece += rng() % 4 == 0 ? "E" : "e";
                    if (rng() % 4 == 0) {
                        piece += kEdge[rng() % (sizeof kEdge / sizeof kEdge[0])];
                    } else {
                        piece += std::string(rng() % 3 == 0 ? "" : rng() % 2 ? "-" : "+") + digits(1 + rng() % 3);
                    }
                }
            }
            text += (i ? "," : "") + piece;
            pieces.push_back(piece);
        }
        ASSERT_TRUE(listAgrees(text));
        if (!withOdd) {
            const ListResult r = onePassRead(text);
            ASSERT_TRUE(r.ok) << text;
            ASSERT_EQ(r.bits.size(), pieces.size());
            for (size_t i = 0; i < pieces.size(); ++i) {
                const std::string& piece = pieces[i];
                // A zero mantissa with an exponent past 999 reads as +0.0, strtod keeps the sign.
                if (piece.find_first_of("123456789") >= piece.find_first_of("eE")) continue;
                ASSERT_EQ(r.bits[i], bitsOf(std::strtod(piece.c_str(), nullptr))) << piece;
            }
        }
        if (round % 50 == 0) karpa::arenaReset();
    }
    karpa::arenaReset();
}

// The 128-bit product on whole blocks of pieces: 17 to 19 digits of values
// at and next to powers of two (where rounding carries into the exponent),
// near the ends of the normal range, and of random bit patterns, in decimal
// and exponent form, against strtod.
TEST_P(FloatListTiers, LongMantissasAgreeWithStrtod) {
    std::mt19937_64 rng(81);
    std::vector<double> values;
    for (int k = -1022; k <= 1023; k += 1 + static_cast<int>(rng() % 7)) {
        const double x = std::ldexp(1.0, k);
        values.insert(values.end(), {x, std::nextafter(x, 0.0), std::nextafter(x, INFINITY)});
    }
    for (const double x : {DBL_MAX, DBL_MIN, std::nextafter(DBL_MIN, 1.0), std::nextafter(DBL_MIN, 0.0), 9007199254740992.0}) {
        values.push_back(x);
    }
    while (values.size() < 40000) {
        const double x = values.size() % 2 ? std::bit_cast<double>(rng() >> 1) : std::ldexp(1.0 + static_cast<double>(rng() >> 11) * 0x1p-53, static_cast<int>(rng() % 40));
        if (std::isfinite(x)) values.push_back(x);
    }
    std::string text;
    std::vector<std::string> pieces;
    char buffer[64];
    // Runs of one form, as the blocks take them eight at a time: seventeen
    // digits in exponent form, or as decimals of one to six whole digits;
    // some runs of eighteen or nineteen digits, which the blocks leave.
    int form = 0;
    for (const double x : values) {
        if (pieces.size() % 16 == 0) form = static_cast<int>(rng() % 5);
        if (form == 1 && std::fabs(x) >= 1 && std::fabs(x) < 1e6) {
            std::snprintf(buffer, sizeof buffer, "%.17g", rng() % 3 == 0 ? -x : x);
        } else {
            std::snprintf(buffer, sizeof buffer, "%.*e", form == 4 ? 17 + static_cast<int>(rng() % 2) : 16, rng() % 3 == 0 ? -x : x);
        }
        text += (pieces.empty() ? "" : ",") + std::string(buffer);
        pieces.emplace_back(buffer);
    }
    const ListResult r = onePassRead(text);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.bits.size(), pieces.size());
    int failures = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (r.bits[i] != bitsOf(std::strtod(pieces[i].c_str(), nullptr)) && ++failures <= 10) ADD_FAILURE() << pieces[i];
    }
    EXPECT_TRUE(listAgrees(text));
    karpa::arenaReset();
}

KARPA_INSTANTIATE_TIERS(FloatListTiers);

}  // namespace
