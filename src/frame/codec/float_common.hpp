// What the float codec's stages share: the 128-bit product type, the
// exact powers of ten, the logarithm approximations and the power-of-ten
// table's accessor.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

#include "frame/codec/pow10_table.hpp"

namespace karpa::floatcodec_detail {

using u128 = unsigned __int128;

// Digit texts are assembled in machine words and stored byte for byte.
static_assert(std::endian::native == std::endian::little);

// 1e0 .. 1e22: every one is exact in binary64.
constexpr double kExactPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr uint64_t kQuietNaN = 0x7FF8000000000000ull;
constexpr uint64_t kSignBit = 0x8000000000000000ull;

// floor(e * log10(2)), floor(k * log2(10)) and floor(e * log10(2) - log10(4/3))
// over the exponent ranges of binary64 (checked exactly by the table generator).
constexpr int floorLog10Pow2(int e) { return (e * 315653) >> 20; }
constexpr int floorLog2Pow10(int k) { return (k * 1741647) >> 19; }
constexpr int floorLog10Pow2MinusLog10FourThirds(int e) { return (e * 631305 - 261663) >> 21; }

inline const Pow10Significand& pow10Significand(int k) { return kPow10Significands[k - kPow10MinExponent]; }

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

// The shortest digits work at 10^kappa times the scale where the interval of
// values that read back is 10^kappa..10^(kappa+1) units wide.
constexpr int kKappa = 2;
constexpr uint32_t kBigDivisor = 1000;   // 10^(kappa + 1)
constexpr uint32_t kSmallDivisor = 100;  // 10^kappa

// What the printers' usual cases need of a normal value's binary exponent,
// read from one entry instead of computed from the logarithm estimates.
// Shortest digits: the value's 17 digits (`seventeenShortest`) have their
// point at `point` or one less, with 10^(19 - point) as the scale and
// `width` = floor(2^e * 10^(19 - point)) as the scaled interval width (100..1000
// units), `beta` as the scale's binary shift. General form: the leading
// digit is at 10^`lead` or 10^(lead + 1), and x * 10^(5 - lead) is the
// product by the table's 10^(5 - lead) shifted right by 64 + `shift`.
struct ExponentScale {
    int16_t point;
    uint16_t width;
    int16_t lead;
    uint8_t beta;
    uint8_t shift;
};
constexpr int kScalePointBase = kKappa + 17;
inline constexpr std::array<ExponentScale, 2047> kExponentScales = [] {
    std::array<ExponentScale, 2047> table{};
    for (int biased = 1; biased < 2047; ++biased) {
        const int e = biased - 1075;
        const int minusK = floorLog10Pow2(e) - kKappa;
        const int beta = e + floorLog2Pow10(-minusK);
        const int lead = floorLog10Pow2(e + 52);
        const int k = 5 - lead;
        table[biased] = {static_cast<int16_t>(minusK + kScalePointBase),
                         static_cast<uint16_t>(kPow10Significands[-minusK - kPow10MinExponent].high >> (63 - beta)),
                         static_cast<int16_t>(lead), static_cast<uint8_t>(beta),
                         static_cast<uint8_t>(k < kPow10MinExponent ? 0 : 10 - e - floorLog2Pow10(k))};
    }
    return table;
}();
// The table entry of the scale of a value whose point is at `point`.
inline const Pow10Significand& pow10ForPoint(int point) {
    return kPow10Significands[kScalePointBase - point - kPow10MinExponent];
}

}  // namespace karpa::floatcodec_detail
