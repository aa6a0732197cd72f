// List text and the integer codec.
//
// List text is comma-separated. Number lists strip every piece of the six
// whitespace bytes and skip pieces left empty; string lists keep pieces as
// they stand. Integers are read strictly (optional sign, digits, underscores
// after digits) and printed in plain decimal.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/error.hpp"

namespace karpa {

// TAB, LF, VT, FF, CR and SPACE; no other byte.
constexpr bool isListWhitespace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// How many times `byte` occurs in text (sixteen bytes a step).
size_t countByte(std::string_view text, char byte);

StringList split(std::string_view text, char separator);
std::string_view strip(std::string_view text);

// Scans an integer at the start of s[0..n): the count of bytes consumed (0 when
// there is no integer here) and the value. Raises ValueError "Parsed integer
// outside of valid range" as soon as the digits leave the 64-bit range.
size_t rawParseInt(const char* s, size_t n, int64_t& value);
[[noreturn]] void integerOutOfRangeError();

// The whole text as one integer, or ValueError "invalid integer: <text>".
int64_t parseInt(std::string_view text);

// Reads a number list: `scan(p, n, value)` scans one element at p (as
// rawParseInt does) and `invalid(piece)` raises the error for a stripped
// piece that is not a number as a whole. Equivalent to split, strip, skip
// empty pieces and parse each remaining piece whole, in one pass.
template <class T, class Scan, class Invalid>
ArenaVec<T> readList(std::string_view text, Scan scan, Invalid invalid) {
    ArenaVec<T> out;
    if (text.empty()) return out;
    // At most one element per piece.
    out.reserve(countByte(text, ',') + 1);
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        const char* const pieceStart = p;
        while (p < end && isListWhitespace(*p)) ++p;
        if (p == end) break;
        if (*p == ',') {
            ++p;
            continue;
        }
        T value;
        const size_t used = scan(p, static_cast<size_t>(end - p), value);
        const char* q = p + used;
        while (used != 0 && q < end && isListWhitespace(*q)) ++q;
        if (used == 0 || (q < end && *q != ',')) [[unlikely]] {
            const void* comma = std::memchr(pieceStart, ',', static_cast<size_t>(end - pieceStart));
            const char* pieceEnd = comma ? static_cast<const char*>(comma) : end;
            invalid(strip({pieceStart, static_cast<size_t>(pieceEnd - pieceStart)}));
        }
        out.push_back(value);
        if (q == end) break;
        p = q + 1;
    }
    return out;
}

// Integer list readers: from host text (karpa_seq) and from converted text
// (karpa_curried). Both give the same list for the same text.
IntList parseInts(const char* hostText);
IntList parseCsvInts(std::string_view text);

// Decimal printing.
constexpr size_t kMaxIntText = 20;  // "-9223372036854775808"
char* writeInt(char* out, int64_t value);  // returns the end of what it wrote
size_t decimalLength(int64_t value);      // bytes writeInt writes for value
void addInt(TextBuilder& out, int64_t value);
std::string decimalText(int64_t value);

// One decimal number as the result of an export.
const char* printInt(int64_t value);
// Integers joined with ",", reserved once.
const char* printIntList(const IntList& list);
// Texts joined with `separator`: the exact length is reserved once.
const char* join(const StringList& items, std::string_view separator);

}  // namespace karpa
