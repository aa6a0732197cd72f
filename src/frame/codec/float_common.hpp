// What the float codec's stages share: the 128-bit product type, the
// exact powers of ten, the logarithm approximations and the power-of-ten
// table's accessor.
#pragma once

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

}  // namespace karpa::floatcodec_detail
