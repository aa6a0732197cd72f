// Reading: the scan (float_scan.hpp) and the conversion (float_convert.hpp)
// put together, and the readers built on them.
#include <bit>
#include <string>

#include "frame/error.hpp"
#include "frame/codec/float_block.hpp"
#include "frame/codec/float_convert.hpp"
#include "frame/codec/float_scan.hpp"
#include "frame/codec/float_read.hpp"
#include "frame/codec/textcodec.hpp"
#include "frame/cpu.hpp"

namespace karpa {
namespace {

using namespace floatcodec_detail;

[[noreturn]] void invalidFloat(std::string_view text) {
    raise(ErrorKind::ValueError, "invalid float: " + std::string(text));
}

// The reader behind parseBiggestFloat, inlined into the list reader.
[[gnu::always_inline]] inline size_t scanFloat(const char* s, size_t n, double& value) {
    if (n == 0) return 0;
    ScannedDecimal d;
    const size_t i = scanSign(s, d.negative);
    if (n - i >= 3 && startsNanOrInf(s[i])) return scanNanOrInf(s, n, i, d.negative, value);
    const size_t end = scanDecimal(s, n, i, d);
    if (end != 0) value = toBinary64(s, d);
    return end;
}

// The usual float piece, scanned without the general scan's byte tests: an
// optional '-', one to seven digits, optionally '.' and one to sixteen more,
// optionally 'e' or 'E' with an optional sign and one to three digits, then a
// comma; nineteen digits at most. Such a piece gets the scanned record that
// the general scan would make of it. Reads up to kCommonFloatReach bytes from
// s (the longest such piece and its comma take 31; every word loaded ends
// before s + 26). Gives the comma, or null for any other piece, which the
// general reader then reads from its start.
constexpr size_t kCommonFloatReach = 32;

[[gnu::always_inline]] inline const char* scanCommonDecimal(const char* s, ScannedDecimal& d) {
    d.negative = *s == '-';
    d.start = d.firstDigitAt = d.negative;
    const char* p = s + d.start;
    uint64_t word = load8(p);
    uint64_t other = nonDigitBits(word);
    if (other == 0) return nullptr;
    unsigned run = leadingDigits(other);
    if (run == 0) return nullptr;
    d.mantissa = leadingDigitsValue(word, run);
    d.digits = run;
    p += run;
    unsigned fractionDigits = 0;
    if (*p == '.') {
        ++p;
        // Up to two words of digits; a third would pass nineteen digits.
        for (;;) {
            word = load8(p);
            other = nonDigitBits(word);
            if (other != 0) {
                run = leadingDigits(other);
                if (run != 0) {
                    d.mantissa = d.mantissa * kPowersOf10[run] + leadingDigitsValue(word, run);
                    fractionDigits += run;
                    p += run;
                }
                break;
            }
            d.mantissa = d.mantissa * 100000000 + eightDigits(word & kLowNibbles);
            fractionDigits += 8;
            p += 8;
            if (fractionDigits == 16) break;  // a digit after these is no comma
        }
        if (fractionDigits == 0) return nullptr;
        d.digits += fractionDigits;
        if (d.digits > 19) return nullptr;  // beyond 64 bits
    }
    d.mantissaEnd = static_cast<size_t>(p - s);
    int64_t exponent = 0;
    if ((*p | 0x20) == 'e') {
        ++p;
        const bool negativeExponent = *p == '-';
        p += *p == '-' || *p == '+';
        const char* const digits = p;
        while (p - digits < 3 && isDigit(*p)) exponent = exponent * 10 + (*p++ - '0');
        if (p == digits) return nullptr;
        if (negativeExponent) exponent = -exponent;
    }
    if (*p != ',') return nullptr;
    d.exponent = exponent - fractionDigits;
    return p;
}

// scanCommonDecimal and the conversion the general scan would apply.
[[gnu::always_inline]] inline const char* scanCommonFloat(const char* s, double& value) {
    ScannedDecimal d;
    const char* const comma = scanCommonDecimal(s, d);
    if (comma != nullptr) value = toBinary64(s, d);
    return comma;
}

}  // namespace

size_t parseBiggestFloat(const char* s, size_t n, double& value) { return scanFloat(s, n, value); }

double parseFloat(std::string_view text) {
    double value = 0.0;
    const size_t used = parseBiggestFloat(text.data(), text.size(), value);
    if (used == 0 || used != text.size()) invalidFloat(text);
    return value;
}

namespace {

// One piece at p: scanCommonFloat, or else readPiece with the general scan.
// kCommonFloatReach bytes from p must be readable. Returns where the next
// piece starts, or null at the end of the text.
template <class Put>
[[gnu::always_inline]] inline const char* readFloatPiece(const char* p, const char* end, Put& put) {
    double value;
    if (const char* comma = scanCommonFloat(p, value)) [[likely]] {
        put(value);
        return comma == end ? nullptr : comma + 1;
    }
    const auto scan = [](const char* s, size_t n, double& x) { return scanFloat(s, n, x); };
    return readPiece<double>(p, end, put, scan, invalidFloat);
}

// Reads every element of the list text into `put`: in place while
// kCommonFloatReach bytes remain, then the rest from a copy followed by a
// comma (the end of the text ends a piece as a comma does) and zeros, so
// that the last pieces and short texts take the same path.
// The block reader of the tier in use, or null for the baseline.
FloatBlockReader floatBlockReader() {
    switch (activeTier()) {
        case Tier::avx512: return readFloatBlocksAvx512;
        case Tier::avx2: return readFloatBlocksAvx2;
        case Tier::baseline: break;
    }
    return nullptr;
}

// The value of piece i of a batch, through the scanned record that
// scanCommonDecimal makes of a usual piece; without an exponent when the
// batch has none, which leaves the conversion fewer cases to test.
template <bool kExponent = true>
inline double pieceValue(const FloatBatch& b, size_t i) {
    ScannedDecimal d;
    d.negative = b.negative[i] != 0;
    d.start = d.firstDigitAt = b.negative[i];
    d.mantissa = b.mantissa[i];
    d.digits = b.digits[i];
    d.mantissaEnd = b.comma[i] - (kExponent ? b.tail[i] : 0) - b.start[i];
    d.exponent = (kExponent ? b.exponent[i] : 0) - static_cast<int64_t>(b.fractionDigits[i]);
    return toBinary64(b.base + b.start[i], d);
}

// The pieces the block reader left unconverted converted, then every value
// handed on in list order. A batch of none converted (the AVX2 tier's) is
// converted and handed on in one pass, which is faster there; measured.
template <class Put>
[[gnu::always_inline]] inline void drainFloats(FloatBatch& b, size_t k, Put& put) {
    if (!b.anyConverted) {
        if (b.anyExponent) {
            for (size_t i = 0; i < k; ++i) put(pieceValue(b, i));
        } else {
            for (size_t i = 0; i < k; ++i) put(pieceValue<false>(b, i));
        }
        return;
    }
    for (size_t w = 0; w * 64 < k; ++w) {
        uint64_t left = b.unconverted[w] & (k - w * 64 >= 64 ? ~uint64_t(0) : (uint64_t(1) << (k - w * 64)) - 1);
        for (; left != 0; left &= left - 1) {
            const size_t i = w * 64 + static_cast<size_t>(std::countr_zero(left));
            b.value[i] = pieceValue(b, i);
        }
    }
    for (size_t i = 0; i < k; ++i) put(b.value[i]);
}

// Reads every element of the list text into `put`: in blocks where the tier
// has a block reader (readListBlocks), the rest one piece at a time, the last
// pieces from a padded copy.
template <class Put>
[[gnu::always_inline]] inline void readFloats(std::string_view text, Put& put) {
    const char* p = text.data();
    const char* const end = p + text.size();
    // A short text (a single value, say) does not ask for the tier.
    const FloatBlockReader blocks = text.size() >= kIntBlockReach + kIntBlockBytes ? floatBlockReader() : nullptr;
    if (blocks != nullptr) {
        auto piece = [](const char* q, const char* e, Put& out) { return readFloatPiece(q, e, out); };
        auto drain = [](FloatBatch& b, size_t k, Put& out) { drainFloats(b, k, out); };
        p = readListBlocks<FloatBatch, kFloatBlockBatch>(p, end, blocks, piece, drain, put);
        if (p == nullptr) return;
    }
    while (static_cast<size_t>(end - p) >= kCommonFloatReach) {
        p = readFloatPiece(p, end, put);
        if (p == nullptr) return;
    }
    char tail[2 * kCommonFloatReach] = {};
    const size_t n = static_cast<size_t>(end - p);
    std::memcpy(tail, p, n);
    tail[n] = ',';
    for (const char* q = tail; q != nullptr;) q = readFloatPiece(q, tail + n, put);
}

}  // namespace

FloatList parseCsvFloats(std::string_view text) {
    return collectList<double>(text, [](std::string_view t, auto& put) { readFloats(t, put); });
}

double readFloatSum(std::string_view text) {
    double sum = 0.0;
    auto add = [&sum](double x) { sum = sum + x; };
    if (!text.empty()) readFloats(text, add);
    return sum;
}

// A decimal m * 10^e with 1 <= m < 10^15 is the only decimal of at most 15
// significant digits within the rounding interval of its nearest binary64
// x, when x is normal: such decimals near x lie at least 10^(E-14) apart,
// where 10^E <= x < 10^(E+1), and the interval is at most one unit in the
// last place of x wide, which is at most x * 2^-52 < 10^(E+1) * 2^-52 <
// 0.23 * 10^(E-14) (10^15 < 2^52). The shortest decimal of x lies in that interval and has no
// more digits than m, so it is m * 10^e itself, less its trailing zeros.
OneFloat readOneFloat(std::string_view text, ShortFloat& digits, double& value) {
    const size_t n = text.size();
    if (n == 0 || n >= kCommonFloatReach) return OneFloat::none;
    char tail[2 * kCommonFloatReach] = {};
    std::memcpy(tail, text.data(), n);
    tail[n] = ',';
    ScannedDecimal d;
    if (scanCommonDecimal(tail, d) != tail + n) return OneFloat::none;
    // Between 10^-307 and 10^308: normal and finite.
    if (d.mantissa == 0 || d.mantissa >= 1000000000000000 || d.exponent < -307 || d.exponent > 293) {
        value = toBinary64(tail, d);
        return OneFloat::value;
    }
    uint64_t m = d.mantissa;
    int e = static_cast<int>(d.exponent);
    while (m % 10 == 0) {
        m /= 10;
        ++e;
    }
    digits = {m, e, d.negative};
    return OneFloat::shortDigits;
}

Extremes<double> readFloatExtremes(std::string_view text) {
    Extremes<double> extremes;
    if (!text.empty()) readFloats(text, extremes);
    return extremes;
}

FloatList parseFloats(const char* hostText) {
    return parseCsvFloats(hostText == nullptr ? std::string_view("", 0) : std::string_view(hostText));
}

}  // namespace karpa
