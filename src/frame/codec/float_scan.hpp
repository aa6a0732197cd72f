// Reading, first stage: the scan. The text of one float at the start of a
// byte range becomes a ScannedDecimal (its digits as a number modulo 2^64,
// how many there were, the decimal exponent, and where the mantissa's bytes
// lie for the slow path), or is "nan"/"inf", or is not a float. Everything
// here is inlined into the readers.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/codec/float_common.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa::floatcodec_detail {

// A scanned number: digits * 10^exponent, where `digits` counts the integer
// digits and the fraction digits after the first significant one (zeros
// right after a bare '.' are not counted) and `mantissa` holds their value
// modulo 2^64 (exact up to 19 digits).
struct ScannedDecimal {
    uint64_t mantissa = 0;
    int64_t exponent = 0;
    size_t digits = 0;
    size_t start = 0;         // first byte after the sign
    size_t firstDigitAt = 0;  // first digit counted in `digits`
    size_t mantissaEnd = 0;   // one past the mantissa's last byte
    bool negative = false;
};

// Beyond any text's digit count: a longer exponent is capped here.
constexpr int64_t kExponentCap = 1000000000000000;

constexpr bool isAsciiLetter(char c) { return static_cast<unsigned char>((c | 0x20) - 'a') < 26; }

// The byte-wise scan of the rest of a run from s[i], which follows a digit
// when `afterDigit` is set (so '_'s may come first): the count of digits.
[[gnu::noinline]] inline size_t scanDigitRunBytewise(const char* s, size_t n, size_t& i, uint64_t& mantissa,
                                                     bool afterDigit) {
    size_t digits = 0;
    if (afterDigit) {
        while (i < n && s[i] == '_') ++i;
    }
    while (i < n) {
        const unsigned d = static_cast<unsigned>(static_cast<unsigned char>(s[i])) - '0';
        if (d > 9) break;
        mantissa = mantissa * 10 + d;
        ++digits;
        ++i;
        while (i < n && s[i] == '_') ++i;
    }
    return digits;
}

// Scans a run of digits, each optionally followed by '_'s, from s[i] on:
// adds them to the mantissa (modulo 2^64) and returns how many there were.
// While eight bytes remain, a word at a time: whole blocks of digits, then
// the digits before the first other byte. A '_' there, or fewer than eight
// bytes left, hands over to the byte-wise scan.
inline size_t scanDigitRun(const char* s, size_t n, size_t& i, uint64_t& mantissa) {
    const size_t runStart = i;
    while (n - i >= 8) {
        const uint64_t w = load8(s + i);
        const uint64_t other = nonDigitBits(w);
        if (other == 0) {
            mantissa = mantissa * 100000000 + eightDigits(w & kLowNibbles);
            i += 8;
            continue;
        }
        const unsigned k = leadingDigits(other);
        if (k != 0) {
            mantissa = mantissa * kPowersOf10[k] + leadingDigitsValue(w, k);
            i += k;
        }
        if (s[i] != '_') [[likely]] return i - runStart;
        break;
    }
    return (i - runStart) + scanDigitRunBytewise(s, n, i, mantissa, i != runStart);
}

// An optional sign at s[0] (n > 0): the index after it.
inline size_t scanSign(const char* s, bool& negative) {
    negative = s[0] == '-';
    return (s[0] == '+' || s[0] == '-') ? 1 : 0;
}

// Whether the word at s[i] can only be "nan" or "inf" (or nothing). Digits
// and '.' are ruled out first: they are what the scan nearly always meets.
constexpr bool startsNanOrInf(char c) {
    return !isDigit(c) && c != '.' && ((c | 0x20) == 'n' || (c | 0x20) == 'i');
}

// "nan" or "inf" in any case at s[i] (n - i >= 3, startsNanOrInf(s[i])), not
// followed by a letter, digit or '_': the end of the word and the value, or 0.
inline size_t scanNanOrInf(const char* s, size_t n, size_t i, bool negative, double& value) {
    const bool nan = (s[i] | 0x20) == 'n';
    if ((s[i + 1] | 0x20) != (nan ? 'a' : 'n') || (s[i + 2] | 0x20) != (nan ? 'n' : 'f')) return 0;
    if (i + 3 < n && (isAsciiLetter(s[i + 3]) || isDigit(s[i + 3]) || s[i + 3] == '_')) return 0;
    if (nan) {
        value = std::bit_cast<double>(negative ? kQuietNaN | kSignBit : kQuietNaN);
    } else {
        value = negative ? -kInfinity : kInfinity;
    }
    return i + 3;
}

// The mantissa from s[i] = s[d.start]: integer digits, then '.' and fraction
// digits. Fills the mantissa fields of d and returns the count of fraction
// digits (leading zeros of a bare fraction included), the power of ten the
// digits are to be divided by.
[[gnu::always_inline]] inline int64_t scanMantissa(const char* s, size_t n, size_t& i, ScannedDecimal& d) {
    const size_t integerDigits = scanDigitRun(s, n, i, d.mantissa);
    d.digits = integerDigits;
    d.firstDigitAt = d.start;
    int64_t fractionExponent = 0;
    if (i < n && s[i] == '.') {
        ++i;
        if (integerDigits == 0) {
            while (i < n && s[i] == '0') {
                ++fractionExponent;
                ++i;
                while (i < n && s[i] == '_') ++i;
            }
            d.firstDigitAt = i;
        }
        const size_t fractionDigits = scanDigitRun(s, n, i, d.mantissa);
        d.digits += fractionDigits;
        fractionExponent += static_cast<int64_t>(fractionDigits);
    }
    d.mantissaEnd = i;
    return fractionExponent;
}

// The exponent part at s[i], when there is an 'e' or 'E' with at least one
// more byte after it: an optional sign and digits (underscores after digits),
// capped at kExponentCap. False when such a part has no digits, which makes
// the whole text no float; true with exponent 0 when there is no such part.
inline bool scanExponent(const char* s, size_t n, size_t& i, int64_t& exponent) {
    exponent = 0;
    if (n - i < 2 || (s[i] != 'e' && s[i] != 'E')) return true;
    ++i;
    bool exponentNegative = false;
    if (s[i] == '+' || s[i] == '-') {
        exponentNegative = s[i] == '-';
        ++i;
    }
    if (i >= n || !isDigit(s[i])) return false;
    while (i < n && isDigit(s[i])) {
        if (exponent < kExponentCap) exponent = exponent * 10 + (s[i] - '0');
        ++i;
        while (i < n && s[i] == '_') ++i;
    }
    if (exponentNegative) exponent = -exponent;
    return true;
}

// A number (not "nan"/"inf") from s[i], the byte after the sign: the end of
// its text, or 0 when there is none (nothing but a sign, or an exponent
// without digits).
[[gnu::always_inline]] inline size_t scanDecimal(const char* s, size_t n, size_t i, ScannedDecimal& d) {
    d.start = i;
    const int64_t fractionExponent = scanMantissa(s, n, i, d);
    if (i == d.start) return 0;
    int64_t exponent;
    if (!scanExponent(s, n, i, exponent)) return 0;
    d.exponent = exponent - fractionExponent;
    return i;
}

}  // namespace karpa::floatcodec_detail
