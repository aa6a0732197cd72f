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
#include "frame/codec/digits.hpp"
#include "frame/error.hpp"

namespace karpa {

// TAB, LF, VT, FF, CR and SPACE; no other byte.
constexpr bool isListWhitespace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// How many times `byte` occurs in text (sixteen bytes a step).
size_t countByte(std::string_view text, char byte);

// The positions of `separator` from p on, found in 64-byte blocks while a
// whole block lies before end: writes them (as offsets from p, ascending)
// to at[0..] and returns how many, stopping once kSeparatorBatch are written
// (at holds kSeparatorBatch + 64). Every separator before the block after
// the last one looked at is written. One function per tier; null for the
// baseline, which uses memchr.
using SeparatorIndexer = size_t (*)(const char* p, const char* end, char separator, uint32_t* at);
constexpr size_t kSeparatorBatch = 256;
size_t indexSeparatorsAvx2(const char* p, const char* end, char separator, uint32_t* at);
size_t indexSeparatorsAvx512(const char* p, const char* end, char separator, uint32_t* at);
SeparatorIndexer separatorIndexer();

// Calls f(piece) for every piece between `separator`s of `text`, in order;
// the empty text is one empty piece. Long texts are indexed a batch of
// separators at a time where the tier has an indexer, the rest found by
// memchr.
template <class F>
inline void forEachPiece(std::string_view text, F f, char separator = ',') {
    const char* p = text.data();
    const char* const end = p + text.size();
    if (text.size() >= 4 * 64) {
        if (const SeparatorIndexer index = separatorIndexer()) {
            uint32_t at[kSeparatorBatch + 64];
            size_t found;
            do {
                const char* const from = p;
                found = index(from, end, separator, at);
                for (size_t i = 0; i < found; ++i) {
                    const char* const q = from + at[i];
                    f(std::string_view(p, static_cast<size_t>(q - p)));
                    p = q + 1;
                }
            } while (found >= kSeparatorBatch);
        }
    }
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

// ValueError "Parsed integer outside of valid range".
[[noreturn]] void integerOutOfRangeError();
// ValueError "invalid integer: " + text.
[[noreturn]] void invalidInteger(std::string_view text);

StringList split(std::string_view text, char separator);
std::string_view strip(std::string_view text);

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
