// Reading, second stage: a ScannedDecimal becomes the nearest binary64.
// Three ways, tried in order: Clinger's fast path (one exact rounding), the
// product with the 128-bit power of ten when it is clear of a rounding
// boundary, and the slow path through strtod (float_convert.cpp).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/codec/float_common.hpp"
#include "frame/codec/float_scan.hpp"

namespace karpa::floatcodec_detail {

// Clinger's fast path: the magnitude of the value when it takes one exact
// rounding, that is when the mantissa is below 2^53 and the power of ten (or
// the part of it left after moving spare digits into the mantissa) is exact.
inline bool clingerFastPath(const char* s, const ScannedDecimal& d, double& v) {
    // 15 digits, or 16 below 9e15 < 2^53.
    if (!(d.digits <= 15 || (d.digits == 16 && s[d.firstDigitAt] <= '8'))) return false;
    const double m = static_cast<double>(static_cast<int64_t>(d.mantissa));
    const int64_t a = d.exponent;
    if (a >= 0 && a <= 22) {
        v = m * kExactPowers[a];
        return true;
    }
    if (a < 0 && a >= -22) {
        v = m / kExactPowers[-a];
        return true;
    }
    if (d.digits <= 15 && a > 22 && a <= 22 + static_cast<int64_t>(15 - d.digits)) {
        const int slop = static_cast<int>(15 - d.digits);
        v = (m * kExactPowers[slop]) * kExactPowers[a - slop];
        return true;
    }
    return false;
}

// Correctly rounded w * 10^q for w < 2^64 through the 128-bit power table;
// false when the product lies too close to a rounding boundary or outside the
// normal range.
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
    // The round bit is as likely set as not: it and the bits below are
    // combined without branching on it, so that no branch goes by it.
    const uint64_t roundSet = (hi >> (shift - 1)) & 1;
    const uint64_t sticky = (below | mid | lo) != 0;  // anything below the round bit
    // Too close to call: just below the midpoint (the truncated power may hide
    // a carry into the round bit), or at it or just above (the exact value
    // may lie below it).
    const uint64_t belowMidpoint = (roundSet ^ 1) & (below == roundBit - 1) & (mid == ~0ull);
    if (!exact && ((belowMidpoint | (roundSet & (sticky ^ 1))) != 0)) return false;
    int biased = 63 + top + floorLog2Pow10(q) - lz + 1023;
    if (biased <= 0) return false;  // subnormal range: rounds at another position
    uint64_t m = hi >> shift;
    m += roundSet & (sticky | (m & 1));  // to nearest, ties to even
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

// The slow path: the text s[0..mantissaEnd) (sign and mantissa) rebuilt for
// strtod with the exponent. Out of the scanner's way, and given the fields
// it needs one by one, so that the scanned record stays in registers.
[[gnu::noinline]] double slowPathValue(const char* s, size_t mantissaEnd, int64_t exponent, bool negative);

// A decimal exponent beyond +-999: zero or infinity, unless a long mantissa
// s[start..mantissaEnd) lifts the value back into range.
[[gnu::noinline]] double extremeExponentValue(const char* s, size_t start, size_t mantissaEnd, int64_t exponent,
                                              bool negative);

// The value of a scanned number.
[[gnu::always_inline]] inline double toBinary64(const char* s, const ScannedDecimal& d) {
    if (d.exponent > 999 || d.exponent < -999) return extremeExponentValue(s, d.start, d.mantissaEnd, d.exponent, d.negative);
    double v;
    if (clingerFastPath(s, d, v)) return d.negative ? -v : v;
    // Mantissas of up to 19 digits are exact in 64 bits.
    if (d.digits <= 19 && mulPow10Inline(d.mantissa, static_cast<int>(d.exponent), v)) {
        return d.negative ? -v : v;
    }
    return slowPathValue(s, d.mantissaEnd, d.exponent, d.negative);
}

// The slow path's text: the mantissa bytes m[0..n) without '.' and '_' (a
// leading '.' dropped, at most 494 bytes), then 'E', the sign of the adjusted
// exponent and its magnitude as three digits. Returns the length.
constexpr size_t kRebuildBuffer = 500;
size_t rebuildFloatText(char (&buffer)[kRebuildBuffer], const char* m, size_t n, int adjustedExponent);

// Correctly rounded conversion of a rebuilt (NUL-terminated) text with strtod;
// the text has no decimal point, so the locale does not matter.
double convertRebuiltText(const char* text);

// Correctly rounded w * 10^q for w < 2^64 through the 128-bit power table;
// false when the product lies too close to a rounding boundary or outside the
// normal range, so the caller must take another way.
bool mulPow10(uint64_t w, int q, double& value);

}  // namespace karpa::floatcodec_detail
