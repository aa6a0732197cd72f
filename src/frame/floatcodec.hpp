// The binary64 text codec.
//
// Reading: `parseBiggestFloat` scans one float at the start of a byte range
// (sign, "nan"/"inf", digits with underscores, fraction, exponent) and never
// raises; `parseFloat` takes a whole text or raises ValueError; the list
// readers apply the number-list rule with `parseBiggestFloat` as the scanner.
//
// Printing: the round-trip form is the shortest decimal significand that
// reads back to the same value (nearest to the exact value among those),
// laid out in fixed or scientific style and always carrying a '.', an 'e',
// "nan" or "inf". The general form is C's "%g" with '.' as the separator.
//
// The stages live apart: float_scan.hpp (text to a scanned decimal),
// float_convert.hpp/.cpp (scanned decimal to binary64), float_read.cpp (the
// readers), float_shortest.cpp (shortest digits and the round-trip form),
// float_general.cpp (the general form).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/textcodec.hpp"

namespace karpa {

// Scans a float at the start of s[0..n): the count of bytes consumed (0 when
// there is no float here) and, when non-zero, the value. Never raises.
size_t parseBiggestFloat(const char* s, size_t n, double& value);

// The whole text as one float, or ValueError "invalid float: <text>".
double parseFloat(std::string_view text);

// Float list readers: from host text (karpa_seq) and from converted text
// (karpa_curried). Both give the same list for the same text.
FloatList parseFloats(const char* hostText);
FloatList parseCsvFloats(std::string_view text);
// The sum of the list the text reads as (+0.0, then each element added in
// list order), taken while reading: the result and the failure of summing
// parseCsvFloats(text), without building the list.
double readFloatSum(std::string_view text);
// The extremes of the list the text reads as (Extremes in textcodec.hpp),
// taken while reading.
Extremes<double> readFloatExtremes(std::string_view text);

// A list text of exactly one float written as the list reader's usual piece
// (sign, digits, fraction, exponent) with at most 15 significant digits and a
// value between 10^-307 and 10^308: its round-trip form is its own digits
// (proof in float_read.cpp), so it is printed without converting it.
struct ShortFloat {
    uint64_t significand;  // no trailing zeros
    int exponent;
    bool negative;
};
bool readOneShortFloat(std::string_view text, ShortFloat& out);

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
    if (ShortFloat one; readOneShortFloat(text, one)) {
        return printInArena(arena, kMaxRoundtripText, [&one](char* p) { return writeShortFloatRoundtrip(p, one); });
    }
    const Extremes<double> extremes = readFloatExtremes(text);
    if (!extremes.any) return "0.0";
    return printFloatRoundtrip(arena, extremes.*pick);
}
// The result of the minmax export: "min,max" of the list the text reads as;
// "," for no element.
inline const char* printFloatMinMax(ArenaState& arena, std::string_view text) {
    if (ShortFloat one; readOneShortFloat(text, one)) {
        return printInArena(arena, 2 * kMaxRoundtripText + 1, [&one](char* p) {
            char* const end = writeShortFloatRoundtrip(p, one);
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

// General form: "%g" ("%f", "%e"), or "%#.*g" and so on when a precision is
// given; every '.' and ',' in the output becomes `separator`. "%g" itself is
// printed without the C library, byte for byte as glibc prints it.
constexpr size_t kMaxGeneralText = 16;  // "-1.23457e+308"
// Writes x as "%g" at `out` (room for kMaxGeneralText bytes), returns the end.
char* writeFloatGeneral(char* out, double x);
enum class FloatMode { Default, Decimal, Scientific };
size_t formatFloat(char (&buffer)[2501], double x, FloatMode mode, int precision, char separator);
void addFloatGeneral(TextBuilder& out, double x);  // Default, -1, '.'
const char* printFloatGeneral(double x);
const char* printFloatGeneralList(const FloatList& list);

// Shortest decimal form of a finite non-zero binary64 given by its fields:
// significand * 10^exponent, at most 17 digits, no trailing zeros.
struct Decimal64 {
    uint64_t significand;
    int exponent;
};
Decimal64 toDecimal64(uint64_t ieeeSignificand, uint32_t ieeeBiasedExponent);

// Writes significand * 10^exponent at buffer[pos..] in the fixed layout when
// the decimal point falls within -6..17 digits, else in the scientific layout;
// returns the new position. `forceTrailingDotZero` appends ".0" to whole
// numbers in the fixed layout. Needs room for 26 bytes.
size_t formatDigits(char* buffer, size_t pos, uint64_t significand, int exponent, bool forceTrailingDotZero);

namespace floatcodec_detail {

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

}  // namespace floatcodec_detail

}  // namespace karpa
