#include "frame/floatcodec.hpp"

#include <array>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "frame/error.hpp"
#include "frame/pow10_table.hpp"
#include "frame/textcodec.hpp"

namespace karpa {
namespace {

using u128 = unsigned __int128;

// Digit texts are assembled in machine words and stored byte for byte.
static_assert(std::endian::native == std::endian::little);

constexpr bool isAsciiLetter(char c) { return static_cast<unsigned char>((c | 0x20) - 'a') < 26; }

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr uint64_t kQuietNaN = 0x7FF8000000000000ull;
constexpr uint64_t kSignBit = 0x8000000000000000ull;

// 1e0 .. 1e22: every one is exact in binary64.
constexpr double kExactPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Longest mantissa that the slow path copies; longer ones are read through
// their first kKeptDigits significant digits plus one digit standing for the
// rest, which still rounds correctly (a midpoint between two doubles has at
// most 767 significant digits).
constexpr size_t kMaxRebuiltMantissa = 494;
constexpr size_t kKeptDigits = 780;

constexpr int64_t kExponentCap = 1000000000000000;  // beyond any text's digit count

[[noreturn]] void invalidFloat(std::string_view text) {
    raise(ErrorKind::ValueError, "invalid float: " + std::string(text));
}

// floor(e * log10(2)), floor(k * log2(10)) and floor(e * log10(2) - log10(4/3))
// over the exponent ranges of binary64 (checked exactly by the table generator).
constexpr int floorLog10Pow2(int e) { return (e * 315653) >> 20; }
constexpr int floorLog2Pow10(int k) { return (k * 1741647) >> 19; }
constexpr int floorLog10Pow2MinusLog10FourThirds(int e) { return (e * 631305 - 261663) >> 21; }

inline const Pow10Significand& pow10Significand(int k) { return kPow10Significands[k - kPow10MinExponent]; }

// Reads a mantissa of more than kMaxRebuiltMantissa bytes: its digits (signs,
// '.' and '_' dropped), worth digits * 10^exponent.
[[gnu::noinline]] double convertLongMantissa(bool negative, const char* m, size_t n, int64_t exponent) {
    char text[kKeptDigits + 48];
    size_t len = 0;
    text[len++] = negative ? '-' : '+';
    size_t kept = 0;
    int64_t dropped = 0;
    bool droppedNonZero = false;
    for (size_t i = 0; i < n; ++i) {
        const char c = m[i];
        if (!isDigit(c)) continue;
        if (kept == 0 && c == '0') continue;  // leading zeros carry no value
        if (kept < kKeptDigits) {
            text[len++] = c;
            ++kept;
        } else {
            ++dropped;
            droppedNonZero |= c != '0';
        }
    }
    if (kept == 0) return negative ? -0.0 : 0.0;
    if (dropped > 0) {
        text[len++] = droppedNonZero ? '1' : '0';
        exponent += dropped - 1;
    }
    text[len++] = 'E';
    len = static_cast<size_t>(writeInt(text + len, exponent) - text);
    text[len] = '\0';
    return std::strtod(text, nullptr);
}

// Eight ASCII digits at p as one number, when all eight bytes are digits.
inline bool eightDigitsAt(const char* p, uint64_t& value) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    // Every byte must be 0x30..0x39: high nibble 3, and still 3 after adding 6.
    if (((v & 0xF0F0F0F0F0F0F0F0ull) | (((v + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) >> 4)) !=
        0x3333333333333333ull) {
        return false;
    }
    v -= 0x3030303030303030ull;
    v = v * 10 + (v >> 8);  // two-digit numbers in the even bytes
    value = (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
             (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
            32;
    return true;
}

// Scans a run of digits, each optionally followed by '_'s, from s[i] on:
// adds them to the mantissa (modulo 2^64) and returns how many there were.
inline size_t scanDigitRun(const char* s, size_t n, size_t& i, uint64_t& mantissa) {
    const size_t runStart = i;
    size_t underscores = 0;
    uint64_t chunk;
    while (n - i >= 8 && eightDigitsAt(s + i, chunk)) {
        mantissa = mantissa * 100000000 + chunk;
        i += 8;
        while (i < n && s[i] == '_') {
            ++underscores;
            ++i;
        }
    }
    while (i < n) {
        const unsigned d = static_cast<unsigned>(static_cast<unsigned char>(s[i])) - '0';
        if (d > 9) break;
        mantissa = mantissa * 10 + d;
        ++i;
        while (i < n && s[i] == '_') [[unlikely]] {
            ++underscores;
            ++i;
        }
    }
    return i - runStart - underscores;
}

bool hasNonZeroDigit(const char* s, size_t n) {
    for (size_t k = 0; k < n; ++k) {
        if (s[k] >= '1' && s[k] <= '9') return true;
    }
    return false;
}

[[gnu::always_inline]] inline bool mulPow10Inline(uint64_t w, int q, double& value) {
    if (w == 0) {
        value = 0.0;
        return true;
    }
    if (q < kPow10MinExponent || q > kPow10MaxExponent) return false;
    // The truncated significand T of 10^q: the table rounds up except where
    // exact, and a rounded-up entry's low half is never zero.
    const Pow10Significand& t = pow10Significand(q);
    const bool exact = q >= 0 && q <= kPow10ExactMax;
    const uint64_t tHigh = t.high;
    const uint64_t tLow = t.low - (exact ? 0 : 1);

    const int lz = std::countl_zero(w);
    const uint64_t wn = w << lz;
    // The 192-bit product wn * T as hi:mid:lo. The exact product lies in
    // [P, P + 2^64) when T is truncated, and is P when T is exact. The low
    // half of T adds less than 2^128, so it matters only when hi's low bits
    // could take a carry or when everything below the round bit may be zero.
    u128 upper = static_cast<u128>(wn) * tHigh;
    uint64_t lo = 0;
    if ((static_cast<uint64_t>(upper >> 64) & 0x1FF) == 0x1FF || static_cast<uint64_t>(upper) == 0 ||
        (static_cast<uint64_t>(upper >> 64) & 0x1FF) == 0) {
        const u128 low = static_cast<u128>(wn) * tLow;
        upper += low >> 64;
        lo = static_cast<uint64_t>(low);
    } else {
        // Bits below the round bit are set whatever the low half adds, and no
        // carry reaches the round bit: only "something below" matters.
        lo = 1;
    }
    const uint64_t hi = static_cast<uint64_t>(upper >> 64);
    const uint64_t mid = static_cast<uint64_t>(upper);

    const int top = static_cast<int>(hi >> 63);  // product's top bit: 191 or 190
    const int shift = 10 + top;                  // bits of hi below the 53-bit significand
    const uint64_t roundBit = 1ull << (shift - 1);
    const uint64_t below = hi & (roundBit - 1);
    const bool roundSet = (hi & roundBit) != 0;
    if (!exact) {
        if (!roundSet && below == roundBit - 1 && mid == ~0ull) return false;  // may reach the midpoint
        if (roundSet && below == 0 && mid == 0 && lo == 0) return false;       // midpoint or just above
    }
    int biased = 63 + top + floorLog2Pow10(q) - lz + 1023;
    if (biased <= 0) return false;  // subnormal range: rounds at another position
    uint64_t m = hi >> shift;
    if (roundSet && (below != 0 || mid != 0 || lo != 0 || (m & 1) != 0)) ++m;
    if (m == (1ull << 53)) {
        m >>= 1;
        ++biased;
    }
    if (biased >= 2047) {
        value = kInfinity;
        return true;
    }
    value = std::bit_cast<double>((static_cast<uint64_t>(biased) << 52) | (m & ((1ull << 52) - 1)));
    return true;
}

// Bytes of s[0..n) that the slow path copies (sign and digits), counted up
// to one past the limit.
size_t rebuiltMantissaBytes(const char* s, size_t n) {
    size_t count = 0;
    for (size_t k = (n > 0 && s[0] == '.') ? 1 : 0; k < n && count <= kMaxRebuiltMantissa; ++k) {
        if (s[k] != '.' && s[k] != '_') ++count;
    }
    return count;
}

}  // namespace

namespace floatcodec_detail {

size_t rebuildFloatText(char (&buffer)[kRebuildBuffer], const char* m, size_t n, int adjustedExponent) {
    size_t len = 0;
    size_t i = (n > 0 && m[0] == '.') ? 1 : 0;
    for (; i < n && len < kMaxRebuiltMantissa; ++i) {
        if (m[i] != '.' && m[i] != '_') buffer[len++] = m[i];
    }
    buffer[len++] = 'E';
    buffer[len++] = adjustedExponent < 0 ? '-' : '+';
    const unsigned a = static_cast<unsigned>(adjustedExponent < 0 ? -adjustedExponent : adjustedExponent);
    buffer[len++] = static_cast<char>('0' + a / 100);
    buffer[len++] = static_cast<char>('0' + a / 10 % 10);
    buffer[len++] = static_cast<char>('0' + a % 10);
    buffer[len] = '\0';
    return len;
}

double convertRebuiltText(const char* text) { return std::strtod(text, nullptr); }

bool mulPow10(uint64_t w, int q, double& value) { return mulPow10Inline(w, q, value); }

}  // namespace floatcodec_detail

namespace {

// The rebuilt text through strtod, out of the scanner's way.
[[gnu::noinline]] double slowPathValue(const char* s, size_t mantissaEnd, int64_t a, bool negative) {
    if (rebuiltMantissaBytes(s, mantissaEnd) > kMaxRebuiltMantissa) {
        return convertLongMantissa(negative, s, mantissaEnd, a);
    }
    char text[floatcodec_detail::kRebuildBuffer];
    floatcodec_detail::rebuildFloatText(text, s, mantissaEnd, static_cast<int>(a));
    return floatcodec_detail::convertRebuiltText(text);
}

// The scanner behind parseBiggestFloat, inlined into the list reader.
[[gnu::always_inline]] inline size_t scanFloat(const char* s, size_t n, double& value) {
    if (n == 0) return 0;
    size_t i = 0;
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    const size_t start = i;

    // "nan" and "inf" in any case, not followed by a letter, digit or '_'.
    if (n - i >= 3 && !isDigit(s[i]) && s[i] != '.') {
        const char c = static_cast<char>(s[i] | 0x20);
        if (c == 'n' || c == 'i') {
            const bool nan = c == 'n';
            if ((s[i + 1] | 0x20) != (nan ? 'a' : 'n') || (s[i + 2] | 0x20) != (nan ? 'n' : 'f')) return 0;
            if (i + 3 < n && (isAsciiLetter(s[i + 3]) || isDigit(s[i + 3]) || s[i + 3] == '_')) return 0;
            if (nan) {
                value = std::bit_cast<double>(negative ? kQuietNaN | kSignBit : kQuietNaN);
            } else {
                value = negative ? -kInfinity : kInfinity;
            }
            return i + 3;
        }
    }

    // Mantissa: digits counts the integer digits and the fraction digits after
    // the first significant one (zeros right after a bare '.' are not counted).
    uint64_t mantissa = 0;
    const size_t integerDigits = scanDigitRun(s, n, i, mantissa);
    size_t digits = integerDigits;
    size_t firstDigitAt = start;
    int64_t fractionExponent = 0;
    if (i < n && s[i] == '.') {
        ++i;
        if (integerDigits == 0) {
            while (i < n && s[i] == '0') {
                ++fractionExponent;
                ++i;
                while (i < n && s[i] == '_') ++i;
            }
            firstDigitAt = i;
        }
        const size_t fractionDigits = scanDigitRun(s, n, i, mantissa);
        digits += fractionDigits;
        fractionExponent += static_cast<int64_t>(fractionDigits);
    }
    if (i == start) return 0;  // nothing but a sign
    const size_t mantissaEnd = i;

    int64_t exponent = 0;
    if (n - i >= 2 && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool exponentNegative = false;
        if (s[i] == '+' || s[i] == '-') {
            exponentNegative = s[i] == '-';
            ++i;
        }
        if (i >= n || !isDigit(s[i])) return 0;
        while (i < n && isDigit(s[i])) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (s[i] - '0');
            ++i;
            while (i < n && s[i] == '_') ++i;
        }
        if (exponentNegative) exponent = -exponent;
    }
    const int64_t a = exponent - fractionExponent;

    if (a > 999 || a < -999) {
        if (!hasNonZeroDigit(s + start, mantissaEnd - start)) {
            value = 0.0;
        } else if (a > 0) {
            value = negative ? -kInfinity : kInfinity;
        } else if (rebuiltMantissaBytes(s, mantissaEnd) > kMaxRebuiltMantissa) {
            // Enough digits to lift the value back into range.
            value = slowPathValue(s, mantissaEnd, a, negative);
        } else {
            value = negative ? -0.0 : 0.0;
        }
        return i;
    }

    // Exact in one rounding: the mantissa is below 2^53 and the power is exact.
    if (digits <= 15 || (digits == 16 && s[firstDigitAt] <= '8')) {
        const double m = static_cast<double>(static_cast<int64_t>(mantissa));
        double v;
        if (a >= 0 && a <= 22) {
            v = m * kExactPowers[a];
        } else if (a < 0 && a >= -22) {
            v = m / kExactPowers[-a];
        } else if (digits <= 15 && a > 22 && a <= 22 + static_cast<int64_t>(15 - digits)) {
            const int slop = static_cast<int>(15 - digits);
            v = (m * kExactPowers[slop]) * kExactPowers[a - slop];
        } else {
            goto correctlyRounded;
        }
        value = negative ? -v : v;
        return i;
    }
correctlyRounded:

    // Correct rounding of digits * 10^a. Mantissas of up to 19 digits are
    // exact in 64 bits and go through the power table when the product is
    // clear of a rounding boundary; the rest take the rebuilt text.
    if (double v; digits <= 19 && mulPow10Inline(mantissa, static_cast<int>(a), v)) {
        value = negative ? -v : v;
        return i;
    }
    value = slowPathValue(s, mantissaEnd, a, negative);
    return i;
}

}  // namespace

size_t parseBiggestFloat(const char* s, size_t n, double& value) { return scanFloat(s, n, value); }

double parseFloat(std::string_view text) {
    double value = 0.0;
    const size_t used = parseBiggestFloat(text.data(), text.size(), value);
    if (used == 0 || used != text.size()) invalidFloat(text);
    return value;
}

FloatList parseCsvFloats(std::string_view text) {
    return readList<double>(
        text, [](const char* s, size_t n, double& value) { return scanFloat(s, n, value); }, invalidFloat);
}

FloatList parseFloats(const char* hostText) {
    return parseCsvFloats(hostText == nullptr ? std::string_view("", 0) : std::string_view(hostText));
}

// ---- Shortest round-trip digits -------------------------------------------

namespace {

constexpr int kKappa = 2;
constexpr uint32_t kBigDivisor = 1000;   // 10^(kappa + 1)
constexpr uint32_t kSmallDivisor = 100;  // 10^kappa

// floor(u * T / 2^128) for the 128-bit T, and whether the next 64 bits are zero.
inline uint64_t mulUpper(uint64_t u, const Pow10Significand& t, bool& isInteger) {
    const u128 upper = static_cast<u128>(u) * t.high + ((static_cast<u128>(u) * t.low) >> 64);
    isInteger = static_cast<uint64_t>(upper) == 0;
    return static_cast<uint64_t>(upper >> 64);
}

// For x = twoF * T * 2^(beta - 128): the lowest bit of floor(x) and whether x
// is an integer (to the precision that decides the digits).
inline void mulParity(uint64_t twoF, const Pow10Significand& t, int beta, bool& parity, bool& isInteger) {
    const u128 low = static_cast<u128>(twoF) * t.low;
    const uint64_t rHigh = twoF * t.high + static_cast<uint64_t>(low >> 64);
    const uint64_t rLow = static_cast<uint64_t>(low);
    parity = ((rHigh >> (64 - beta)) & 1) != 0;
    isInteger = ((rHigh << beta) | (rLow >> (64 - beta))) == 0;
}

constexpr uint64_t inverseMod2to64(uint64_t a) {
    uint64_t x = a;
    for (int i = 0; i < 6; ++i) x *= 2 - a * x;
    return x;
}

template <int J>
inline bool divideIfDivisible(uint64_t& n) {
    constexpr uint64_t pow5 = [] {
        uint64_t p = 1;
        for (int i = 0; i < J; ++i) p *= 5;
        return p;
    }();
    constexpr uint64_t pow10 = pow5 << J;
    constexpr uint64_t inverse = inverseMod2to64(pow5);
    const uint64_t q = std::rotr(n * inverse, J);
    if (q > ~0ull / pow10) return false;
    n = q;
    return true;
}

// Strips up to 15 trailing decimal zeros; returns how many.
inline int removeTrailingZeros(uint64_t& n) {
    int removed = 0;
    if (divideIfDivisible<8>(n)) removed += 8;
    if (divideIfDivisible<4>(n)) removed += 4;
    if (divideIfDivisible<2>(n)) removed += 2;
    if (divideIfDivisible<1>(n)) removed += 1;
    return removed;
}

// A power of two (significand field zero): the neighbour below is twice as
// close as the one above. Both interval ends belong to the interval.
Decimal64 shorterInterval(int e) {
    const int minusK = floorLog10Pow2MinusLog10FourThirds(e);
    const int k = -minusK;
    const int beta = e + floorLog2Pow10(k);
    const uint64_t h = pow10Significand(k).high;
    // The interval ends (2^54 - 1) * 2^(e-2) and (2^53 + 1) * 2^(e-1), scaled by 10^k.
    uint64_t xi = (h - (h >> 54)) >> (11 - beta);
    const uint64_t zi = (h + (h >> 53)) >> (11 - beta);
    // The lower end is an integer only when 10^k is, and its power of two is whole.
    const bool lowerIsInteger = k >= 0 && e - 2 + k >= 0;
    if (!lowerIsInteger) ++xi;

    Decimal64 r{zi / 10, minusK + 1};
    if (r.significand * 10 >= xi) {
        r.exponent += removeTrailingZeros(r.significand);
        return r;
    }
    // y = 2^(52+e) * 10^k rounded to the nearest integer; it is exactly
    // halfway only when 2y is an odd integer.
    r.significand = ((h >> (10 - beta)) + 1) / 2;
    r.exponent = minusK;
    const bool tie = k >= 0 && 53 + e + k == 0;
    if (tie) {
        r.significand -= r.significand & 1;
    } else if (r.significand < xi) {
        ++r.significand;
    }
    return r;
}

}  // namespace

Decimal64 toDecimal64(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent) {
    uint64_t fc;
    int e;
    if (ieeeBiasedExponent != 0) {
        e = static_cast<int>(ieeeBiasedExponent) - 1075;
        if (ieeeSignificand == 0 && ieeeBiasedExponent > 1) return shorterInterval(e);
        fc = ieeeSignificand | (1ull << 52);
    } else {
        e = -1074;
        fc = ieeeSignificand;
    }
    // Round-to-nearest-even reading: the interval ends belong to it when fc is even.
    const bool includeEnds = (fc & 1) == 0;
    const int minusK = floorLog10Pow2(e) - kKappa;
    const Pow10Significand& cache = pow10Significand(-minusK);
    const int beta = e + floorLog2Pow10(-minusK);
    // Width of the interval, scaled: floor(2^e * 10^k), between 100 and 1000.
    const uint32_t deltai = static_cast<uint32_t>(cache.high >> (63 - beta));
    const uint64_t twoFc = fc << 1;

    bool zIsInteger;
    const uint64_t zi = mulUpper((twoFc | 1) << beta, cache, zIsInteger);
    uint64_t s = zi / kBigDivisor;
    uint32_t r = static_cast<uint32_t>(zi - kBigDivisor * s);

    // Try the largest multiple of 1000 below the upper end.
    bool inside = false;
    if (r < deltai) {
        if (r == 0 && zIsInteger && !includeEnds) {
            --s;
            r = kBigDivisor;
        } else {
            inside = true;
        }
    } else if (r == deltai) {
        // Compare the fractional parts through the parity of the lower end.
        bool xParity, xIsInteger;
        mulParity(twoFc - 1, cache, beta, xParity, xIsInteger);
        inside = xParity || (xIsInteger && includeEnds);
    }
    if (inside) {
        Decimal64 d{s, minusK + kKappa + 1};
        d.exponent += removeTrailingZeros(d.significand);
        return d;
    }

    // Otherwise the multiple of 100 nearest to the value itself.
    Decimal64 d{s * 10, minusK + kKappa};
    uint32_t dist = r - (deltai / 2) + (kSmallDivisor / 2);
    const bool approxYParity = ((dist ^ (kSmallDivisor / 2)) & 1) != 0;
    const bool divisible = dist % kSmallDivisor == 0;
    dist /= kSmallDivisor;
    d.significand += dist;
    if (divisible) {
        // The estimate is off by at most one; the parity of floor(y) tells,
        // and an integral y means an exact tie, settled towards even.
        bool yParity, yIsInteger;
        mulParity(twoFc, cache, beta, yParity, yIsInteger);
        if (yParity != approxYParity) {
            --d.significand;
        } else if (yIsInteger) {
            d.significand -= d.significand & 1;
        }
    }
    return d;
}

// ---- Round-trip layout -----------------------------------------------------

namespace {

// "e+17" .. "e+308" and "e-324" .. "e-1" as the bytes of a word, with the
// text's length in the top byte.
constexpr int kMinExponentSuffix = -324;
constexpr int kMaxExponentSuffix = 308;
constexpr auto kExponentSuffixes = [] {
    std::array<uint64_t, kMaxExponentSuffix - kMinExponentSuffix + 1> table{};
    for (int x = kMinExponentSuffix; x <= kMaxExponentSuffix; ++x) {
        char text[8] = {'e', x < 0 ? '-' : '+'};
        int len = 2;
        const int magnitude = x < 0 ? -x : x;
        if (magnitude >= 100) text[len++] = static_cast<char>('0' + magnitude / 100);
        if (magnitude >= 10) text[len++] = static_cast<char>('0' + magnitude / 10 % 10);
        text[len++] = static_cast<char>('0' + magnitude % 10);
        uint64_t word = static_cast<uint64_t>(len) << 56;
        for (int i = 0; i < len; ++i) word |= static_cast<uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
        table[static_cast<size_t>(x - kMinExponentSuffix)] = word;
    }
    return table;
}();

// The eight digits of v < 10^8 as ASCII, most significant first in memory:
// split into halves of four, quarters of two and single digits, each lane
// divided by multiplication.
inline uint64_t eightDigitText(uint32_t v) {
    const uint64_t x = (v / 10000) | (static_cast<uint64_t>(v % 10000) << 32);
    const uint64_t hundreds = ((x * 10486) >> 20) & 0x0000007F0000007Full;
    const uint64_t pairs = hundreds | ((x - hundreds * 100) << 16);
    const uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Full;
    const uint64_t digits = tens | ((pairs - tens * 10) << 8);
    return digits + 0x3030303030303030ull;
}

// The 17 digits of 10^16 <= v < 10^17 at text[0..17).
inline void writeSeventeenDigits(char* text, uint64_t v) {
    const uint64_t high = v / 100000000;
    const uint32_t low = static_cast<uint32_t>(v - high * 100000000);
    const uint32_t top = static_cast<uint32_t>(high / 100000000);
    const uint32_t mid = static_cast<uint32_t>(high - uint64_t{top} * 100000000);
    text[0] = static_cast<char>('0' + top);
    const uint64_t midText = eightDigitText(mid);
    const uint64_t lowText = eightDigitText(low);
    std::memcpy(text + 1, &midText, 8);
    std::memcpy(text + 9, &lowText, 8);
}

}  // namespace

// The significand is scaled to exactly 17 digits, so that its digits come out
// as one block of fixed size whose tail is zeros; bytes written past the
// returned position are left over from that block.
size_t formatDigits(char* buffer, size_t pos, uint64_t significand, int exponent, bool forceTrailingDotZero) {
    char* const out = buffer + pos;
    const int n = decimalDigits(significand);
    const uint64_t scaled = significand * kPowersOf10[17 - n];
    const int p = n + exponent;  // position of the decimal point
    if (p >= -6 && p <= 17) {
        if (p <= 0) {
            std::memcpy(out, "0.000000", 8);
            writeSeventeenDigits(out + 2 - p, scaled);
            return pos + static_cast<size_t>(2 - p + n);
        }
        if (p < n) {
            writeSeventeenDigits(out + 1, scaled);
            std::memmove(out, out + 1, static_cast<size_t>(p));
            out[p] = '.';
            return pos + static_cast<size_t>(n + 1);
        }
        writeSeventeenDigits(out, scaled);  // digits, then zeros up to the point
        size_t len = static_cast<size_t>(p);
        if (forceTrailingDotZero) {
            out[len++] = '.';
            out[len++] = '0';
        }
        return pos + len;
    }
    writeSeventeenDigits(out + 1, scaled);
    out[0] = out[1];
    out[1] = '.';
    const size_t len = n > 1 ? static_cast<size_t>(n) + 1 : 1;
    const uint64_t suffix = kExponentSuffixes[p - 1 - kMinExponentSuffix];
    std::memcpy(out + len, &suffix, 8);
    return pos + len + (suffix >> 56);
}

char* writeFloatRoundtrip(char* out, double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    const uint32_t biased = static_cast<uint32_t>(bits >> 52) & 0x7FF;
    const uint64_t fraction = bits & ((1ull << 52) - 1);
    if (biased == 0x7FF && fraction != 0) {
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    // The sign without a branch: random signs would defeat prediction.
    *out = '-';
    out += bits >> 63;
    if (biased == 0x7FF) {
        std::memcpy(out, "inf", 3);
        return out + 3;
    }
    if (biased == 0 && fraction == 0) {
        std::memcpy(out, "0.0", 3);
        return out + 3;
    }
    const Decimal64 d = toDecimal64(fraction, biased);
    return out + formatDigits(out, 0, d.significand, d.exponent, true);
}

void addFloatRoundtrip(TextBuilder& out, double x) { out.commit(writeFloatRoundtrip(out.room(kMaxRoundtripText), x)); }

const char* printFloatRoundtrip(double x) {
    TextBuilder out;
    addFloatRoundtrip(out, x);
    return out.finish();
}

const char* printFloatRoundtripPair(double a, double b) {
    return printPairWith(writeFloatRoundtrip, kMaxRoundtripText, a, b);
}

// ---- General form ----------------------------------------------------------

size_t formatFloat(char (&buffer)[2501], double x, FloatMode mode, int precision, char separator) {
    int len;
    if (precision < 0) {
        switch (mode) {
            case FloatMode::Decimal: len = std::snprintf(buffer, sizeof buffer, "%f", x); break;
            case FloatMode::Scientific: len = std::snprintf(buffer, sizeof buffer, "%e", x); break;
            default: len = std::snprintf(buffer, sizeof buffer, "%g", x); break;
        }
    } else {
        switch (mode) {
            case FloatMode::Decimal: len = std::snprintf(buffer, sizeof buffer, "%#.*f", precision, x); break;
            case FloatMode::Scientific: len = std::snprintf(buffer, sizeof buffer, "%#.*e", precision, x); break;
            default: len = std::snprintf(buffer, sizeof buffer, "%#.*g", precision, x); break;
        }
    }
    if (len < 0) len = 0;
    if (static_cast<size_t>(len) >= sizeof buffer) len = static_cast<int>(sizeof buffer) - 1;  // cut by snprintf
    // The locale may print another decimal point; ours is `separator`.
    for (int i = 0; i < len; ++i) {
        if (buffer[i] == '.' || buffer[i] == ',') buffer[i] = separator;
    }
    return static_cast<size_t>(len);
}

void addFloatGeneral(TextBuilder& out, double x) {
    char buffer[2501];
    const size_t len = formatFloat(buffer, x, FloatMode::Default, -1, '.');
    out.append({buffer, len});
}

const char* printFloatGeneral(double x) {
    TextBuilder out;
    addFloatGeneral(out, x);
    return out.finish();
}

const char* printFloatGeneralList(const FloatList& list) {
    if (list.empty()) return "";
    TextBuilder out;
    out.reserve(list.size() * 14);  // "-1.23457e+308" and a separator
    char buffer[2501];
    bool first = true;
    for (const double x : list) {
        if (!first) out.push(',');
        first = false;
        const size_t len = formatFloat(buffer, x, FloatMode::Default, -1, '.');
        out.append({buffer, len});
    }
    return out.finish();
}

}  // namespace karpa
