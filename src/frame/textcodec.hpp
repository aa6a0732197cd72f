// List text and the integer codec.
//
// List text is comma-separated. Number lists strip every piece of the six
// whitespace bytes and skip pieces left empty; string lists keep pieces as
// they stand. Integers are read strictly (optional sign, digits, underscores
// after digits) and printed in plain decimal.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/error.hpp"

namespace karpa {

// TAB, LF, VT, FF, CR and SPACE; no other byte.
constexpr bool isListWhitespace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

constexpr bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// "00" .. "99": the two digits of n start at kDigitPairs + 2 * n.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline constexpr uint64_t kPowersOf10[20] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull, 100000000ull,
    1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull, 10000000000000ull,
    100000000000000ull, 1000000000000000ull, 10000000000000000ull, 100000000000000000ull,
    1000000000000000000ull, 10000000000000000000ull};

// Decimal digits of u (1 for 0). floor(bits * log10(2)) with log10(2) ~
// 1233 / 4096 is the digit count less one or that count less two; one
// comparison with the power of ten picks. `u | 1` has the digits of u (a
// power of ten is even) and at least one bit.
inline int decimalDigits(uint64_t u) {
    const uint64_t v = u | 1;
    const int t = ((64 - __builtin_clzll(v)) * 1233) >> 12;
    return t + 1 - (v < kPowersOf10[t]);
}

// ---- Digits eight at a time, as one little-endian 64-bit word ----

inline constexpr uint64_t kEveryByte = 0x0101010101010101;  // times b: b in every byte
inline constexpr uint64_t kLowNibbles = 0x0F * kEveryByte;

inline uint64_t load8(const char* p) {
    static_assert(std::endian::native == std::endian::little, "the first byte of a word is its lowest");
    uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// Nonzero bits in the bytes of w that are not ASCII digits, exact up to and
// including the first such byte. A byte is a digit when its high nibble is 3
// and adding 6 keeps it so (low nibble at most 9). The addition may carry out
// of a byte only from a byte that is not a digit, so the bytes below the
// first one flagged are never disturbed.
inline uint64_t nonDigitBits(uint64_t w) {
    const uint64_t high = (w & (0xF0 * kEveryByte)) ^ (0x30 * kEveryByte);
    const uint64_t low = ((w + 0x06 * kEveryByte) & (0xF0 * kEveryByte)) ^ (0x30 * kEveryByte);
    return high | low;
}

// The count of digits before the first other byte of a word with one.
inline unsigned leadingDigits(uint64_t otherBits) { return static_cast<unsigned>(__builtin_ctzll(otherBits)) >> 3; }

// Eight digit values d0..d7 in bytes 0..7, d0 the most significant, as one
// number. Each step joins neighbouring lanes, the lower one the leading part:
//   bytes:        10 * d(i) + d(i+1)       <= 99     in the even bytes
//   16-bit lanes: 100 * p(j) + p(j+1)      <= 9999   in the even lanes
//   32-bit lanes: 10^4 * q0 + q1           <= 10^8 - 1
// No lane passes its width, so no step carries into the next lane.
inline uint64_t eightDigits(uint64_t d) {
    d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FF;
    d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFF;
    return (d * 10000 + (d >> 32)) & 0xFFFFFFFF;
}

// The first k (1..7) digits of a word as a number: shifted to the top of
// the word, they are the last k of eight digits led by zeros.
inline uint64_t leadingDigitsValue(uint64_t w, unsigned k) { return eightDigits((w & kLowNibbles) << (64 - 8 * k)); }

// How many times `byte` occurs in text (sixteen bytes a step).
size_t countByte(std::string_view text, char byte);

// Calls f(piece) for every piece between `separator`s of `text`, in order;
// the empty text is one empty piece.
template <class F>
inline void forEachPiece(std::string_view text, F f, char separator = ',') {
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        const void* comma = std::memchr(p, separator, static_cast<size_t>(end - p));
        if (comma == nullptr) {
            f(std::string_view(p, static_cast<size_t>(end - p)));
            return;
        }
        const char* const q = static_cast<const char*>(comma);
        f(std::string_view(p, static_cast<size_t>(q - p)));
        p = q + 1;
    }
}

inline size_t pieceCount(std::string_view text) { return countByte(text, ',') + 1; }

StringList split(std::string_view text, char separator);
std::string_view strip(std::string_view text);

// Scans an integer at the start of s[0..n): the count of bytes consumed (0 when
// there is no integer here) and the value. Raises ValueError "Parsed integer
// outside of valid range" when the digits leave the 64-bit range, whatever
// follows them. Digits are read eight at a time (intscan.cpp); never reads
// outside s[0..n).
size_t rawParseInt(const char* s, size_t n, int64_t& value);
[[noreturn]] void integerOutOfRangeError();
// ValueError "invalid integer: " + text.
[[noreturn]] void invalidInteger(std::string_view text);

// The whole text as one integer, or ValueError "invalid integer: <text>".
int64_t parseInt(std::string_view text);

// One piece of a number list starting at p: blanks, then the comma of an
// empty piece, or an element that `scan(p, n, value)` scans (as rawParseInt
// does) followed by blanks and the comma or the end; the element goes to
// `put(value)`. `invalid(piece)` raises the error for a stripped piece that is
// not a number as a whole. Returns where the next piece starts, or null at the
// end of the text. Together with the readers' loops this is split, strip,
// skip empty pieces and parse each remaining piece whole, in one pass.
template <class T, class Scan, class Invalid, class Put>
[[gnu::always_inline]] inline const char* readPiece(const char* p, const char* end, Put& put, Scan& scan,
                                                   Invalid& invalid) {
    const char* const pieceStart = p;
    while (p < end && isListWhitespace(*p)) ++p;
    if (p == end) return nullptr;
    if (*p == ',') return p + 1;
    T value;
    const size_t used = scan(p, static_cast<size_t>(end - p), value);
    const char* q = p + used;
    while (used != 0 && q < end && isListWhitespace(*q)) ++q;
    if (used == 0 || (q < end && *q != ',')) [[unlikely]] {
        const void* comma = std::memchr(pieceStart, ',', static_cast<size_t>(end - pieceStart));
        const char* pieceEnd = comma ? static_cast<const char*>(comma) : end;
        invalid(strip({pieceStart, static_cast<size_t>(pieceEnd - pieceStart)}));
    }
    put(value);
    return q == end ? nullptr : q + 1;
}

// The list that `read(text, put)` reads, in a vector reserved once: one
// element per piece, or for a short text, where counting the commas costs
// more than it saves, (n + 1) / 2 (every element takes a byte and a comma
// before the next).
template <class T, class Read>
ArenaVec<T> collectList(std::string_view text, Read read) {
    ArenaVec<T> out;
    if (text.empty()) return out;
    out.reserve(text.size() < 64 ? (text.size() + 1) / 2 : countByte(text, ',') + 1);
    auto put = [&out](T x) { out.push_back(x); };
    read(text, put);
    return out;
}

// A checked running sum of integers: the first addition that overflows is
// remembered, and the reader raises it once the whole list has been read (so
// a bad piece later in the list still fails first, as it does when the list
// is read before it is summed).
struct CheckedSum {
    int64_t sum = 0;
    bool overflowed = false;
    void operator()(int64_t x) { overflowed |= __builtin_add_overflow(sum, x, &sum); }
    // The sum, or OverflowDefect when a partial sum left 64 bits.
    int64_t total() const {
        if (overflowed) [[unlikely]] raiseOverflow();
        return sum;
    }
};

// The smallest and the largest value met: the first value is both, and a
// later one replaces the minimum only when it is below it and the maximum
// only when it is above it, so the first of equal values stays and a NaN
// replaces nothing (and stays only when it comes first).
template <class T>
struct Extremes {
    T min{};
    T max{};
    bool any = false;
    void operator()(T x) {
        if (!any) [[unlikely]] {
            min = max = x;
            any = true;
            return;
        }
        if (x < min) min = x;
        if (x > max) max = x;
    }
};

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

// Decimal printing.
constexpr size_t kMaxIntText = 20;  // "-9223372036854775808"
char* writeInt(char* out, int64_t value);  // returns the end of what it wrote
size_t decimalLength(int64_t value);      // bytes writeInt writes for value, sign included
void addInt(TextBuilder& out, int64_t value);
std::string decimalText(int64_t value);

// "a,b" as the result of an export, each written by `write` in at most
// maxBytes.
template <class T>
const char* printPairWith(char* (*write)(char*, T), size_t maxBytes, T a, T b) {
    TextBuilder out;
    char* p = write(out.room(2 * maxBytes + 1), a);
    *p++ = ',';
    out.commit(write(p, b));
    return out.finish();
}

// One decimal number as the result of an export, in the call's arena or the
// calling thread's.
inline const char* printInt(ArenaState& arena, int64_t value) {
    return printInArena(arena, kMaxIntText, [value](char* p) { return writeInt(p, value); });
}
const char* printInt(int64_t value);
// "a,b".
const char* printIntPair(int64_t a, int64_t b);
// Integers joined with ",", reserved once.
const char* printIntList(const IntList& list);
// Texts joined with `separator`: the exact length is reserved once.
const char* join(const StringList& items, std::string_view separator);

}  // namespace karpa
