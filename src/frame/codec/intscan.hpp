// Integer text in: the scanner behind every integer element and the integer
// list readers (intscan.cpp).
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/codec/textcodec.hpp"

namespace karpa {

// Scans an integer at the start of s[0..n): the count of bytes consumed (0 when
// there is no integer here) and the value. Raises ValueError "Parsed integer
// outside of valid range" when the digits leave the 64-bit range, whatever
// follows them. Digits are read eight at a time (intscan.cpp); never reads
// outside s[0..n).
size_t rawParseInt(const char* s, size_t n, int64_t& value);

// The whole text as one integer, or ValueError "invalid integer: <text>".
int64_t parseInt(std::string_view text);

// Integer list readers: from host text (karpa_seq) and from converted text
// (karpa_curried). Both give the same list for the same text, the list that
// readPiece gives piece by piece with rawParseInt and invalidInteger; a piece
// that is a sign, digits and then the comma or the end is read without
// readPiece's blank tests.
IntList parseInts(const char* hostText);
IntList parseCsvInts(std::string_view text);
// The checked sum of the list the text reads as, taken while reading: the
// result and the failures of summing parseCsvInts(text) in list order (a bad
// piece, then the first overflowing partial sum), without building the list.
int64_t readIntSum(std::string_view text);
// The extremes of the list the text reads as, taken while reading.
Extremes<int64_t> readIntExtremes(std::string_view text);
// The checked dot product of a[0..n) with the list the text reads as, over
// the shorter length, taken while reading: the result and the failures of
// reading the text into a list and then multiplying (a bad piece, then the
// first overflowing product or partial sum), without building that list.
int64_t readIntDot(const int64_t* a, size_t n, std::string_view text);

}  // namespace karpa
