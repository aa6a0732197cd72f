// An independent model of whole-text float reading: which texts are floats,
// and their values, via strtod on a cleaned copy of the text.
#pragma once

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "common.hpp"

struct FloatReading {
    bool accepted = false;
    bool valueKnown = false;
    bool isNan = false;
    double value = 0.0;
};

inline bool letterIs(char c, char lower) { return c == lower || c == lower - 'a' + 'A'; }

inline FloatReading modelFloat(std::string_view s) {
    FloatReading r;
    const size_t n = s.size();
    size_t i = 0;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const size_t signBytes = i;
    const double sign = negative ? -1.0 : 1.0;

    if (n - i >= 3 && (letterIs(s[i], 'n') || letterIs(s[i], 'i'))) {
        const bool nan = letterIs(s[i], 'n');
        const char* word = nan ? "nan" : "inf";
        if (!letterIs(s[i + 1], word[1]) || !letterIs(s[i + 2], word[2]) || i + 3 != n) return r;
        r.accepted = r.valueKnown = true;
        r.isNan = nan;
        r.value = nan ? std::copysign(NAN, sign) : sign * INFINITY;
        return r;
    }

    std::string digits;
    size_t fractionDigits = 0;
    for (; i < n && isDigit(s[i]); ++i) {
        digits.push_back(s[i]);
        while (i + 1 < n && s[i + 1] == '_') ++i;
    }
    if (i < n && s[i] == '.') {
        ++i;
        for (; i < n && isDigit(s[i]); ++i) {
            digits.push_back(s[i]);
            ++fractionDigits;
            while (i + 1 < n && s[i + 1] == '_') ++i;
        }
    }
    if (digits.empty() && i == signBytes) return r;

    int64_t exponent = 0;
    if (n - i >= 2 && letterIs(s[i], 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) exponentNegative = s[i++] == '-';
        if (i >= n || !isDigit(s[i])) return r;
        for (; i < n && isDigit(s[i]); ++i) {
            exponent = std::min<int64_t>(exponent * 10 + (s[i] - '0'), 1'000'000'000);
            while (i + 1 < n && s[i + 1] == '_') ++i;
        }
        if (exponentNegative) exponent = -exponent;
    }
    if (i != n) return r;
    r.accepted = true;

    // A zero mantissa under an exponent beyond +-999 reads as +0.0 whatever
    // its sign; everything else is the correctly rounded decimal value, also
    // for mantissas longer than the parser's 494-byte rebuild (its own choice).
    const int64_t adjusted = exponent - int64_t(fractionDigits);
    const bool allZero = digits.find_first_not_of('0') == std::string::npos;
    r.valueKnown = true;
    if (allZero) {
        r.value = adjusted > 999 || adjusted < -999 ? 0.0 : sign * 0.0;
        return r;
    }
    const std::string clean = (negative ? "-" : "") + digits + "e" + std::to_string(adjusted);
    r.value = std::strtod(clean.c_str(), nullptr);
    return r;
}

inline uint64_t bitsOf(double v) {
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}
