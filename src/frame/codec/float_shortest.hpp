// The round-trip form: shortest digits (`toDecimal64`) and their layout
// (float_shortest.cpp), and the one-value results built on them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/codec/float_common.hpp"
#include "frame/codec/textcodec.hpp"
#include "frame/codec/float_read.hpp"

namespace karpa {

// Shortest decimal form of a finite non-zero binary64 given by its fields:
// significand * 10^exponent, at most 17 digits, no trailing zeros.
struct Decimal64 {
    uint64_t significand;
    int exponent;
};
Decimal64 toDecimal64(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent);
// The same value, its significand perhaps with trailing zeros (at most 17
// digits all the same), for printers that find the zeros in the digit text.
Decimal64 toDecimal64Unstripped(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent);
// The shortest digits of a finite non-zero binary64 scaled to exactly 17
// digits (10^16 <= digits < 10^17, the trailing ones perhaps zeros) and the
// decimal point's position: the value is 0.d1d2..d17 * 10^point. The usual
// normal value takes the inline path of `seventeenShortest`.
struct SeventeenDigits {
    uint64_t digits;
    int point;
};
SeventeenDigits seventeenFromAny(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent);
inline SeventeenDigits seventeenShortest(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent);
// The same digits split where the usual case finds them: head * 10 + last
// (the head below 10^16, last 0..9) is the significand of 16 or 17 digits,
// the former when head < 10^15, with the point as `SeventeenDigits` has it.
// The round-trip printer turns the head into text while the last digit is
// still being decided.
struct ShortestParts {
    uint64_t head;
    uint32_t last;
    int point;
};
inline ShortestParts shortestParts(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent);
// The usual case alone, for a normal value not on a power of two: false,
// with `parts` unset, where `seventeenFromAny` has to decide.
inline bool usualShortestParts(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent, ShortestParts& parts);
constexpr uint64_t kSixteenDigitHead = 1000000000000000;  // 10^15
// The digit count of a significand below 10^17. The shortest digits of a
// normal value not on a power of two have 15 to 17 before their trailing
// zeros are taken off (the interval's width in units of the last digit is
// 100..999, the significand field has 53 bits): two comparisons that do not
// wait on each other tell them apart.
inline int shortestLength(uint64_t significand) {
    if (significand < 100000000000000) [[unlikely]] return decimalDigits(significand);
    return 15 + (significand >= 1000000000000000) + (significand >= 10000000000000000);
}

// "e" with the sign and at least MinDigits digits of every decimal exponent
// of a double ("e+17", "e-05", "e+308"), as the bytes of a word with the
// text's length in the top byte: index x - kMinExponentWord.
constexpr int kMinExponentWord = -324;
constexpr int kMaxExponentWord = 308;
template <int MinDigits>
inline constexpr auto kExponentWords = [] {
    std::array<uint64_t, kMaxExponentWord - kMinExponentWord + 1> table{};
    for (int x = kMinExponentWord; x <= kMaxExponentWord; ++x) {
        char text[8] = {'e', x < 0 ? '-' : '+'};
        int len = 2;
        const int magnitude = x < 0 ? -x : x;
        if (magnitude >= 100) text[len++] = static_cast<char>('0' + magnitude / 100);
        if (magnitude >= 10 || MinDigits >= 2) text[len++] = static_cast<char>('0' + magnitude / 10 % 10);
        text[len++] = static_cast<char>('0' + magnitude % 10);
        uint64_t word = static_cast<uint64_t>(len) << 56;
        for (int i = 0; i < len; ++i) word |= static_cast<uint64_t>(static_cast<unsigned char>(text[i])) << (8 * i);
        table[static_cast<size_t>(x - kMinExponentWord)] = word;
    }
    return table;
}();

// Writes significand * 10^exponent at buffer[pos..] in the fixed layout when
// the decimal point falls within -6..17 digits, else in the scientific layout;
// returns the new position. `forceTrailingDotZero` appends ".0" to whole
// numbers in the fixed layout. Trailing zeros of the significand are not
// printed. Needs room for 26 bytes; bytes after the text may be written.
size_t formatDigits(char* buffer, size_t pos, uint64_t significand, int exponent, bool forceTrailingDotZero);

// Round-trip form.
constexpr size_t kMaxRoundtripText = 32;
void addFloatRoundtrip(TextBuilder& out, double x);
const char* printFloatRoundtripPair(double a, double b);  // "a,b"
// Writes the round-trip form at `out` (room for kMaxRoundtripText bytes) and
// returns its end.
char* writeFloatRoundtrip(char* out, double x);
// One value as the result of an export, in the call's arena or the calling
// thread's.
inline const char* printFloatRoundtrip(ArenaState& arena, double x) {
    return printInArena(arena, kMaxRoundtripText, [x](char* p) { return writeFloatRoundtrip(p, x); });
}
const char* printFloatRoundtrip(double x);
// The round-trip form of a short float's value.
char* writeShortFloatRoundtrip(char* out, const ShortFloat& f);

// The result of the min and max exports: the round-trip form of the extreme
// that `pick` names, of the list the text reads as; "0.0" for no element.
inline const char* printFloatExtreme(ArenaState& arena, std::string_view text, double Extremes<double>::*pick) {
    ShortFloat one;
    double x;
    switch (readOneFloat(text, one, x)) {
        case OneFloat::shortDigits:
            return printInArena(arena, kMaxRoundtripText, [&one](char* p) { return writeShortFloatRoundtrip(p, one); });
        case OneFloat::value: return printFloatRoundtrip(arena, x);
        case OneFloat::none: break;
    }
    const Extremes<double> extremes = readFloatExtremes(text);
    if (!extremes.any) return "0.0";
    return printFloatRoundtrip(arena, extremes.*pick);
}
// The result of the minmax export: "min,max" of the list the text reads as;
// "," for no element.
inline const char* printFloatMinMax(ArenaState& arena, std::string_view text) {
    ShortFloat one;
    double x;
    const OneFloat kind = readOneFloat(text, one, x);
    if (kind != OneFloat::none) {
        return printInArena(arena, 2 * kMaxRoundtripText + 1, [&](char* p) {
            char* const end = kind == OneFloat::shortDigits ? writeShortFloatRoundtrip(p, one) : writeFloatRoundtrip(p, x);
            const size_t n = static_cast<size_t>(end - p);
            *end = ',';
            std::memcpy(end + 1, p, n);
            return end + 1 + n;
        });
    }
    const Extremes<double> extremes = readFloatExtremes(text);
    if (!extremes.any) return ",";
    return printFloatRoundtripPair(extremes.min, extremes.max);
}

// ---- The shortest digits' usual case, inline for both printers -----------

// A normal value not on a power of two, where the estimates below decide;
// every other case goes to `seventeenFromAny`. In units of 10^(exponent)
// with exponent = -k + kappa, the interval of values that read back is
// 100..1000 units wide: the largest multiple of 1000 below its upper end is
// the shorter candidate when inside; else the unit count nearest to the
// value is the answer. Both are 16 or 17 digits at this scale (fc is at least
// 2^52, so the value is at least 4.5e17 units), and one multiplication by
// ten at most scales them to 17.
inline bool usualShortestParts(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent, ShortestParts& parts) {
    using namespace floatcodec_detail;
    const uint64_t fc = ieeeSignificand | (1ull << 52);
    const ExponentScale& scale = kExponentScales[ieeeBiasedExponent];
    const Pow10Significand& cache = pow10ForPoint(scale.point);
    const int beta = scale.beta;
    // Width of the interval, scaled: floor(2^e * 10^k).
    const uint32_t deltai = scale.width;
    // zi from the high half of the power alone: the true upper end's
    // floor(u * T / 2^128) is zi or zi + 1, so r is r or r + 1 in truth
    // (r = 999 and 0 sent away), and the tests below leave out every r and
    // dist that the one more would decide differently.
    const uint64_t zi = static_cast<uint64_t>((static_cast<u128>(((fc << 1) | 1) << beta) * cache.high) >> 64);
    const uint64_t s = zi / kBigDivisor;
    const uint32_t r = static_cast<uint32_t>(zi - kBigDivisor * s);
    const bool inside = r < deltai;
    // dist < 1100: dist / 100 and whether it is 99 or 0 modulo 100 from one
    // product with 19 fraction bits (exact for dividends below 2^12).
    const uint32_t dist = r - (deltai / 2) + (kSmallDivisor / 2);
    const uint32_t scaled = dist * 5243;  // ceil(2^19 / 100)
    const bool nearDivisible = ((scaled + 5243) & ((1u << 19) - 1)) < 2 * 5243;
    // Rare: the lower end on the multiple of 1000 (its fraction decides), the
    // upper end on it (it may be excluded), the value's estimate on a
    // multiple of 100 (off by one, or a tie); each with the one more.
    const bool rare = (r - deltai + 1 < 2) | (r - 1 >= kBigDivisor - 2) | (nearDivisible & !inside);
    if (rare) [[unlikely]] return false;
    // Picked by arithmetic: both choices are as good as random on many inputs.
    parts = {s, (scaled >> 19) & (0 - static_cast<uint32_t>(!inside)), scale.point - (s < kSixteenDigitHead)};
    return true;
}

inline ShortestParts shortestParts(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent) {
    ShortestParts parts;
    if (ieeeSignificand == 0 || ieeeBiasedExponent == 0 || !usualShortestParts(ieeeSignificand, ieeeBiasedExponent, parts))
        [[unlikely]] {
        const SeventeenDigits d = seventeenFromAny(ieeeSignificand, ieeeBiasedExponent);
        return {d.digits / 10, static_cast<uint32_t>(d.digits % 10), d.point};
    }
    return parts;
}

inline SeventeenDigits seventeenShortest(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent) {
    const ShortestParts d = shortestParts(ieeeSignificand, ieeeBiasedExponent);
    const uint64_t digits = d.head * 10 + d.last;
    return {digits * (d.head < kSixteenDigitHead ? 10 : 1), d.point};
}

}  // namespace karpa
