// Shortest printing: the shortest decimal significand that reads back to the
// same binary64 (Dragonbox-style, through the 128-bit power table), and its
// layout as the round-trip form.
#include <emmintrin.h>

#include <bit>
#include <cstring>

#include "frame/codec/float_common.hpp"
#include "frame/codec/float_shortest.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {

using namespace floatcodec_detail;

// ---- Shortest round-trip digits -------------------------------------------

namespace {

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
template <bool Strip>
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
        if constexpr (Strip) r.exponent += removeTrailingZeros(r.significand);
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

// For a value fc * 2^e not on a power of two (or subnormal), in units of
// 10^exponent: `shorter`, a count of tens of units, the largest multiple of
// ten below the upper end of the interval that reads back, and whether it
// lies inside the interval; `nearest`, the unit count nearest to the value
// (ties to even), the answer when `shorter` is outside.
struct ShortestCandidates {
    uint64_t shorter;
    uint64_t nearest;
    int exponent;
    bool inside;
};
ShortestCandidates shortestCandidates(uint64_t fc, int e) {
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
    bool inside;
    if (r == deltai) [[unlikely]] {
        // Compare the fractional parts through the parity of the lower end.
        bool xParity, xIsInteger;
        mulParity(twoFc - 1, cache, beta, xParity, xIsInteger);
        inside = xParity || (xIsInteger && includeEnds);
    } else {
        if (r == 0 && zIsInteger && !includeEnds) [[unlikely]] {
            --s;
            r = kBigDivisor;  // the upper end itself is out: not inside
        }
        inside = r < deltai;
    }
    // Otherwise the multiple of 100 nearest to the value itself. Both
    // candidates are computed and one is picked without a branch: which one
    // is as good as random on many inputs.
    uint32_t dist = r - (deltai / 2) + (kSmallDivisor / 2);
    const bool approxYParity = ((dist ^ (kSmallDivisor / 2)) & 1) != 0;
    const bool divisible = dist % kSmallDivisor == 0;
    dist /= kSmallDivisor;
    uint64_t nearest = s * 10 + dist;
    if (divisible && !inside) [[unlikely]] {
        // The estimate is off by at most one; the parity of floor(y) tells,
        // and an integral y means an exact tie, settled towards even.
        bool yParity, yIsInteger;
        mulParity(twoFc, cache, beta, yParity, yIsInteger);
        if (yParity != approxYParity) {
            --nearest;
        } else if (yIsInteger) {
            nearest -= nearest & 1;
        }
    }
    return {s, nearest, minusK + kKappa, inside};
}



// The shortest digits; with Strip false the significand may keep trailing
// zeros (the printers find them in the digit text more cheaply).
template <bool Strip>
[[gnu::always_inline]] inline Decimal64 shortestDigits(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent) {
    uint64_t fc;
    int e;
    if (ieeeBiasedExponent != 0) {
        e = static_cast<int>(ieeeBiasedExponent) - 1075;
        if (ieeeSignificand == 0 && ieeeBiasedExponent > 1) [[unlikely]] return shorterInterval<Strip>(e);
        fc = ieeeSignificand | (1ull << 52);
    } else {
        e = -1074;
        fc = ieeeSignificand;
    }
    const ShortestCandidates c = shortestCandidates(fc, e);
    Decimal64 d;
    d.significand = c.inside ? c.shorter : c.nearest;
    d.exponent = c.exponent + c.inside;
    if constexpr (Strip) {
        // The nearest candidate never ends in a zero: it would be a shorter one.
        if (c.inside) d.exponent += removeTrailingZeros(d.significand);
    }
    return d;
}

}  // namespace

Decimal64 toDecimal64(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent) {
    return shortestDigits<true>(ieeeSignificand, ieeeBiasedExponent);
}

Decimal64 toDecimal64Unstripped(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent) {
    return shortestDigits<false>(ieeeSignificand, ieeeBiasedExponent);
}

SeventeenDigits seventeenFromAny(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent) {
    const Decimal64 d = shortestDigits<false>(ieeeSignificand, ieeeBiasedExponent);
    const int n = decimalDigits(d.significand);
    return {d.significand * kPowersOf10[17 - n], d.exponent + n};
}

// ---- Round-trip layout -----------------------------------------------------

namespace {

// The 17 digits of 10^16 <= v < 10^17 as text: the leading digit, the other
// sixteen in one vector, and how many digits are left without the trailing
// zeros.
struct DigitText {
    uint64_t lead;  // the leading digit's byte
    __m128i rest;   // digits 2..17
    int length;     // 1..17
};

// The digit values of hi * 10^8 + lo (both below 10^8), one per byte, the
// most significant first: each 64-bit lane split into halves of four digits,
// each half into pairs, each pair into digits, every quotient by a multiply
// and a shift that are exact in its range.
inline __m128i sixteenDigitValues(uint32_t hi, uint32_t lo) {
    const __m128i x = _mm_set_epi64x(lo, hi);
    const __m128i q4 = _mm_srli_epi64(_mm_mul_epu32(x, _mm_set1_epi64x(0xD1B71759)), 45);  // / 10^4
    const __m128i r4 = _mm_sub_epi32(x, _mm_mul_epu32(q4, _mm_set1_epi64x(10000)));
    const __m128i v4 = _mm_or_si128(q4, _mm_slli_epi64(r4, 32));  // 32-bit lanes below 10^4
    const __m128i q2 = _mm_srli_epi16(_mm_mulhi_epu16(v4, _mm_set1_epi32(5243)), 3);  // / 100
    const __m128i r2 = _mm_sub_epi16(v4, _mm_mullo_epi16(q2, _mm_set1_epi32(100)));
    const __m128i v2 = _mm_or_si128(q2, _mm_slli_epi32(r2, 16));  // 16-bit lanes below 100
    const __m128i q1 = _mm_mulhi_epu16(v2, _mm_set1_epi16(6554));  // / 10
    const __m128i r1 = _mm_sub_epi16(v2, _mm_mullo_epi16(q1, _mm_set1_epi16(10)));
    return _mm_or_si128(q1, _mm_slli_epi16(r1, 8));
}

// The digits head * 10 + last (16 or 17 of them, see `ShortestParts`) scaled
// to 17, as two halves of eight and the 17th; a head of 15 digits takes the
// last digit in (16 digits, the 17th a zero).
struct DigitHalves {
    uint32_t high;
    uint32_t low;
    uint32_t last;
};
inline DigitHalves digitHalves(uint64_t head, uint32_t last) {
    // By masks, not a branch: 15 or 16 digits is as good as random.
    const uint64_t short15 = 0 - static_cast<uint64_t>(head < kSixteenDigitHead);
    const uint64_t head16 = head + ((head * 9 + last) & short15);
    const uint64_t high = head16 / 100000000;
    return {static_cast<uint32_t>(high), static_cast<uint32_t>(head16 - high * 100000000),
            last & ~static_cast<uint32_t>(short15)};
}

inline DigitText digitText(const DigitHalves& h) {
    const __m128i values16 = sixteenDigitValues(h.high, h.low);
    const __m128i values = _mm_or_si128(_mm_srli_si128(values16, 1), _mm_slli_si128(_mm_cvtsi32_si128(static_cast<int>(h.last)), 15));
    // Trailing zeros: the top bytes that are zero.
    const unsigned nonzero = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(values, _mm_setzero_si128()))) ^ 0xFFFF;
    const __m128i text = _mm_add_epi8(values, _mm_set1_epi8('0'));
    return {'0' + h.high / 10000000, text, (31 ^ __builtin_clz((nonzero << 1) | 1)) + 1};
}

// The digit values of 10^7 <= v < 10^8 in bytes 0..7, the most significant
// first: halves of four digits, then pairs, then digits, each quotient by a
// multiply and a shift that are exact in its range, the lanes side by side
// in one word.
inline uint64_t eightDigitValues(uint32_t v) {
    const uint64_t top = (static_cast<uint64_t>(v) * 0xD1B71759) >> 45;  // v / 10^4
    const uint64_t halves = top | (static_cast<uint64_t>(v - static_cast<uint32_t>(top) * 10000) << 32);
    const uint64_t hundreds = ((halves * 5243) >> 19) & 0x0000007F0000007Full;  // each half / 100
    const uint64_t pairs = hundreds | ((halves - hundreds * 100) << 16);
    const uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Full;  // each pair / 10
    return tens | ((pairs - tens * 10) << 8);
}

// Sliding windows: 16 bytes read at kPointMasks + 16 - at have 0xFF in the
// bytes before `at`; read at kPointMasks + 48 - at, '.' in byte `at` alone.
alignas(64) constexpr char kPointMasks[64] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  '.', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

inline __m128i load16(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store16(char* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The 17 digits of v, 10^16 <= v < 10^17, with the decimal point at p (the
// value is 0.v * 10^p), written as one block of fixed size; trailing zeros
// are counted in the text, and bytes past the returned position are left
// over from the block.
[[gnu::always_inline]] inline char* layoutText(char* out, const DigitText& d, int p, bool forceTrailingDotZero) {
    const int n = d.length;
    if (static_cast<unsigned>(p + 6) <= 23) [[likely]] {
        if (p <= 0) {
            std::memcpy(out, "0.000000", 8);
            char* const digits = out + 2 - p;
            digits[0] = static_cast<char>(d.lead);
            store16(digits + 1, d.rest);
            return out + static_cast<size_t>(2 - p + n);
        }
        if (p < n) {
            // The point after the lead and p - 1 digits of the 16 that
            // follow: the digits before it kept, those after it moved up by
            // one byte, both by masks read from a sliding window.
            const int at = p - 1;
            const __m128i keep = load16(kPointMasks + 16 - at);     // bytes before the point
            const __m128i through = load16(kPointMasks + 15 - at);  // and the point's
            const __m128i dot = load16(kPointMasks + 48 - at);
            const __m128i moved = _mm_slli_si128(d.rest, 1);
            out[0] = static_cast<char>(d.lead);
            store16(out + 2, d.rest);  // the last digit at out[17]
            store16(out + 1, _mm_or_si128(_mm_or_si128(_mm_and_si128(keep, d.rest), _mm_andnot_si128(through, moved)), dot));
            return out + static_cast<size_t>(n + 1);
        }
        // The digits, then zeros up to the point.
        out[0] = static_cast<char>(d.lead);
        store16(out + 1, d.rest);
        std::memcpy(out + p, ".0", 2);
        return out + static_cast<size_t>(p) + (forceTrailingDotZero ? 2 : 0);
    }
    out[0] = static_cast<char>(d.lead);
    out[1] = '.';
    store16(out + 2, d.rest);
    const size_t len = static_cast<size_t>(n) + (n > 1);
    const uint64_t suffix = kExponentWords<1>[p - 1 - kMinExponentWord];
    store8(out + len, suffix);
    return out + len + (suffix >> 56);
}

[[gnu::always_inline]] inline char* layoutDigits(char* out, uint64_t head, uint32_t last, int p,
                                                 bool forceTrailingDotZero) {
    return layoutText(out, digitText(digitHalves(head, last)), p, forceTrailingDotZero);
}

// The same layout of the digits high * 10^9 (the last nine of the 17
// zeros: short decimals, small integers), in machine words.
[[gnu::always_inline]] inline char* layoutEight(char* out, uint32_t high, int p) {
    const uint64_t values = eightDigitValues(high);
    const uint64_t text = values + 0x3030303030303030;
    const int n = 8 - static_cast<int>(__builtin_clzll(values) >> 3);
    if (static_cast<unsigned>(p + 6) <= 23) [[likely]] {
        if (p <= 0) {
            std::memcpy(out, "0.000000", 8);
            store8(out + 2 - p, text);
            return out + 2 - p + n;
        }
        if (p < n) {
            const int shift = 8 * p;
            const uint64_t below = text & ((1ull << shift) - 1);
            store8(out, below | (uint64_t{'.'} << shift) | ((text - below) << 8));
            out[8] = static_cast<char>(text >> 56);
            return out + n + 1;
        }
        // The digits' own zeros, more zeros, then ".0" at the point.
        store8(out, text);
        std::memcpy(out + 8, "0000000000000000", 16);
        std::memcpy(out + p, ".0", 2);
        return out + p + 2;
    }
    out[0] = static_cast<char>(text);
    store8(out + 1, (text >> 8 << 8) | '.');
    const int len = n + (n > 1);
    const uint64_t suffix = kExponentWords<1>[p - 1 - kMinExponentWord];
    store8(out + len, suffix);
    return out + len + (suffix >> 56);
}

// NaN, infinities, zeros, subnormals, powers of two, and the values that
// the usual case leaves to the exact core.
[[gnu::noinline]] char* writeRoundtripRare(char* out, uint64_t bits) {
    const uint32_t biased = static_cast<uint32_t>(bits >> 52) & 0x7FF;
    const uint64_t fraction = bits & ((1ull << 52) - 1);
    if (biased == 0x7FF && fraction != 0) {
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
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
    const SeventeenDigits d = seventeenFromAny(fraction, biased);
    return layoutDigits(out, d.digits / 10, static_cast<uint32_t>(d.digits % 10), d.point, true);
}

}  // namespace

size_t formatDigits(char* buffer, size_t pos, uint64_t significand, int exponent, bool forceTrailingDotZero) {
    char* const out = buffer + pos;
    const int n0 = decimalDigits(significand);
    const uint64_t v = significand * kPowersOf10[17 - n0];
    return static_cast<size_t>(
        layoutDigits(out, v / 10, static_cast<uint32_t>(v % 10), n0 + exponent, forceTrailingDotZero) - buffer);
}

char* writeFloatRoundtrip(char* out, double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    const uint32_t biased = static_cast<uint32_t>(bits >> 52) & 0x7FF;
    if (biased - 1 >= 0x7FE) [[unlikely]] return writeRoundtripRare(out, bits);
    const uint64_t fraction = bits & ((1ull << 52) - 1);
    ShortestParts d;
    // The rare cases leave by a jump that keeps nothing of this frame.
    if (fraction == 0 || !usualShortestParts(fraction, biased, d)) [[unlikely]] return writeRoundtripRare(out, bits);
    // The sign without a branch: random signs would defeat prediction.
    *out = '-';
    out += bits >> 63;
    const DigitHalves halves = digitHalves(d.head, d.last);
    if ((halves.low | halves.last) == 0) return layoutEight(out, halves.high, d.point);
    return layoutText(out, digitText(halves), d.point, true);
}

char* writeShortFloatRoundtrip(char* out, const ShortFloat& f) {
    *out = '-';
    out += f.negative;
    return out + formatDigits(out, 0, f.significand, f.exponent, true);
}

void addFloatRoundtrip(TextBuilder& out, double x) { out.commit(writeFloatRoundtrip(out.room(kMaxRoundtripText), x)); }

const char* printFloatRoundtrip(double x) { return printFloatRoundtrip(tlsCall.arena, x); }

const char* printFloatRoundtripPair(double a, double b) {
    return printPairWith(writeFloatRoundtrip, kMaxRoundtripText, a, b);
}

}  // namespace karpa
