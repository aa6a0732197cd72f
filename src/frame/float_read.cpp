// Reading: the scan (float_scan.hpp) and the conversion (float_convert.hpp)
// put together, and the readers built on them.
#include <string>

#include "frame/error.hpp"
#include "frame/float_convert.hpp"
#include "frame/float_scan.hpp"
#include "frame/floatcodec.hpp"
#include "frame/textcodec.hpp"

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

// The usual float piece, read without the general scan: an optional '-', one
// to seven digits, optionally '.' and one to seven more, then a comma. That is
// at most fourteen digits over a power of ten of at most 7, which Clinger's
// fast path divides in one rounding, just as the general reader does. Gives
// the comma, or null for any other piece (or fewer than seventeen bytes left),
// which the general reader then reads from its start.
[[gnu::always_inline]] inline const char* scanPlainDecimal(const char* p, const char* end, double& value) {
    if (end - p < 17) return nullptr;
    const bool negative = *p == '-';
    p += negative;
    // Both words lie inside the text: the fraction's starts at most at p + 8.
    const uint64_t integerWord = load8(p);
    const uint64_t integerOther = nonDigitBits(integerWord);
    if (integerOther == 0) return nullptr;
    const unsigned integerDigits = leadingDigits(integerOther);
    if (integerDigits == 0) return nullptr;
    uint64_t mantissa = leadingDigitsValue(integerWord, integerDigits);
    const char* q = p + integerDigits;
    unsigned fractionDigits = 0;
    if (*q == '.') {
        const uint64_t fractionWord = load8(q + 1);
        const uint64_t fractionOther = nonDigitBits(fractionWord);
        if (fractionOther == 0) return nullptr;
        fractionDigits = leadingDigits(fractionOther);
        if (fractionDigits == 0) return nullptr;
        mantissa = mantissa * kPowersOf10[fractionDigits] + leadingDigitsValue(fractionWord, fractionDigits);
        q += 1 + fractionDigits;
    }
    if (*q != ',') return nullptr;
    const double v = static_cast<double>(mantissa) / kExactPowers[fractionDigits];
    value = negative ? -v : v;
    return q;
}

}  // namespace

size_t parseBiggestFloat(const char* s, size_t n, double& value) { return scanFloat(s, n, value); }

double parseFloat(std::string_view text) {
    double value = 0.0;
    const size_t used = parseBiggestFloat(text.data(), text.size(), value);
    if (used == 0 || used != text.size()) invalidFloat(text);
    return value;
}

// Plain decimals followed by a comma are read here; any other piece (blanks,
// '+', '_', an exponent, long digit runs, specials, the last few bytes of the
// text) goes to readPiece with the general scan.
FloatList parseCsvFloats(std::string_view text) {
    FloatList out;
    if (text.empty()) return out;
    // At most one element per piece.
    out.reserve(countByte(text, ',') + 1);
    const auto scan = [](const char* s, size_t n, double& value) { return scanFloat(s, n, value); };
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        double value;
        if (const char* comma = scanPlainDecimal(p, end, value)) [[likely]] {
            out.push_back(value);
            p = comma + 1;
            continue;
        }
        p = readPiece(p, end, out, scan, invalidFloat);
        if (p == nullptr) break;
    }
    return out;
}

FloatList parseFloats(const char* hostText) {
    return parseCsvFloats(hostText == nullptr ? std::string_view("", 0) : std::string_view(hostText));
}

}  // namespace karpa
