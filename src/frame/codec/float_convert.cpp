// Reading, the slow path: the mantissa's text rebuilt for strtod, which rounds
// correctly. Also the entry points the tests reach into.
#include <cstdlib>

#include "frame/codec/float_convert.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa::floatcodec_detail {
namespace {

// Longest mantissa that the slow path copies; longer ones are read through
// their first kKeptDigits significant digits plus one digit standing for the
// rest, which still rounds correctly (a midpoint between two doubles has at
// most 767 significant digits).
constexpr size_t kMaxRebuiltMantissa = 494;
constexpr size_t kKeptDigits = 780;

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

bool hasNonZeroDigit(const char* s, size_t n) {
    for (size_t k = 0; k < n; ++k) {
        if (s[k] >= '1' && s[k] <= '9') return true;
    }
    return false;
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

double slowPathValue(const char* s, size_t mantissaEnd, int64_t exponent, bool negative) {
    if (rebuiltMantissaBytes(s, mantissaEnd) > kMaxRebuiltMantissa) {
        return convertLongMantissa(negative, s, mantissaEnd, exponent);
    }
    char text[kRebuildBuffer];
    rebuildFloatText(text, s, mantissaEnd, static_cast<int>(exponent));
    return convertRebuiltText(text);
}

double extremeExponentValue(const char* s, size_t start, size_t mantissaEnd, int64_t exponent, bool negative) {
    if (!hasNonZeroDigit(s + start, mantissaEnd - start)) return 0.0;
    if (exponent > 0) return negative ? -kInfinity : kInfinity;
    // Enough digits may lift the value back into range.
    if (rebuiltMantissaBytes(s, mantissaEnd) > kMaxRebuiltMantissa) {
        return slowPathValue(s, mantissaEnd, exponent, negative);
    }
    return negative ? -0.0 : 0.0;
}

}  // namespace karpa::floatcodec_detail
