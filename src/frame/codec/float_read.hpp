// Float text in: the scanner of one float, the whole-text reader and the
// float list readers built on the two reading stages (float_read.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/codec/textcodec.hpp"

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
// What a list text of exactly one usual piece holds: nothing of that kind
// (read it as a list), a short float (`digits`), or any other value of the
// usual form (`value`, converted as the list reader converts it).
enum class OneFloat : uint8_t { none, shortDigits, value };
OneFloat readOneFloat(std::string_view text, ShortFloat& digits, double& value);
inline bool readOneShortFloat(std::string_view text, ShortFloat& out) {
    double value;
    return readOneFloat(text, out, value) == OneFloat::shortDigits;
}

}  // namespace karpa
