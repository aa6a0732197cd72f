// Integer lists whose values lie close together (the span from the smallest
// to the largest at most a few times the length): sorted by counting every
// value in one byte per possible value, then walking the counts in order and
// writing each value as often as it was counted. Two linear passes, no
// comparisons, and at most half the memory of a scratch list.
//
// A count passes 255 only for a value met that often; each time it wraps, the
// value is noted once more in a side list (at most n / 256 notes), which the
// walk adds back as 256 each.
//
// The walk has one function per tier (int_sort.cpp, int_sort_avx2.cpp,
// int_sort_avx512.cpp): eight counts of zero or one, the common case, are
// written as one compressed vector on AVX-512, two permuted ones on AVX2, and
// eight unconditional stores on the baseline; counts up to three as three
// compressed vectors on AVX-512 and three stores a key elsewhere.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/arena.hpp"

namespace karpa {
namespace int_sort {

// Below this length the general sort is as quick.
constexpr size_t kDenseMinItems = size_t(1) << 12;
// The span may be up to this many values per item.
constexpr uint64_t kDenseSpanPerItem = 4;

constexpr uint64_t kEveryByte = 0x0101010101010101ull;
constexpr uint64_t kNoWrap = ~uint64_t(0);

// What the walk reads. Key k stands for the value origin + step * k (step 1
// ascending from the smallest, step -1 descending from the largest).
struct DenseCounts {
    const uint8_t* counts;  // one byte per key, the count modulo 256; `keys` is a multiple of 8
    size_t keys;
    const uint64_t* wraps;  // keys whose count wrapped, once per wrap, ascending, ended by kNoWrap
    uint64_t origin;
    uint64_t step;
};

inline int64_t valueAt(const DenseCounts& d, uint64_t key) { return static_cast<int64_t>(d.origin + d.step * key); }

// The eight counts at `key`, with any wraps among them, written one value at
// a time.
inline int64_t* writeWordSlowly(const DenseCounts& d, size_t key, const uint64_t*& wrap, int64_t* out) {
    for (size_t k = key; k < key + 8; ++k) {
        size_t m = d.counts[k];
        for (; *wrap == k; ++wrap) m += 256;
        const int64_t v = valueAt(d, k);
        for (; m != 0; --m) *out++ = v;
    }
    return out;
}

// Counts up to three, with at least 24 items of room: three stores a key and
// the cursor moved by the count, again with no branch on the data.
inline int64_t* writeFewCounts(const DenseCounts& d, int64_t* out, uint64_t w, size_t key) {
    for (unsigned j = 0; j < 8; ++j) {
        const int64_t v = valueAt(d, key + j);
        out[0] = v;
        out[1] = v;
        out[2] = v;
        out += (w >> (8 * j)) & 3;
    }
    return out;
}

// The walk over all keys into out[0..n). `ones(out, end, word, key)` writes
// the values of eight counts of zero or one (`word` holds them, the first in
// its lowest byte) and returns where it stopped; it is never asked for the
// last word, so it may write one item past what it keeps as long as that
// stays before `end`. `few(out, word, key)` does the same for counts up to
// three with at least 24 items of room.
template <class Ones, class Few>
inline void walkCounts(const DenseCounts& d, int64_t* out, int64_t* end, Ones ones, Few few) {
    const uint64_t* wrap = d.wraps;
    const size_t last = d.keys - 8;
    for (size_t key = 0; key < last; key += 8) {
        uint64_t w;
        std::memcpy(&w, d.counts + key, 8);
        if (*wrap < key + 8) [[unlikely]] {
            out = writeWordSlowly(d, key, wrap, out);
        } else if ((w & (0xFE * kEveryByte)) == 0) {
            out = ones(out, end, w, key);
        } else if ((w & (0xFC * kEveryByte)) == 0 && end - out >= 24) {
            out = few(out, w, key);
        } else {
            out = writeWordSlowly(d, key, wrap, out);
        }
    }
    writeWordSlowly(d, last, wrap, out);
}

using WalkFn = void (*)(const DenseCounts&, int64_t* out, int64_t* end);
void walkCountsBaseline(const DenseCounts& d, int64_t* out, int64_t* end);
void walkCountsAvx2(const DenseCounts& d, int64_t* out, int64_t* end);
void walkCountsAvx512(const DenseCounts& d, int64_t* out, int64_t* end);
WalkFn walkFunction();

struct Extremes {
    int64_t low;
    int64_t high;
};

// The smallest and largest of a[0..n), n > 0: a loop each tier's compiler
// turns into its widest minimum and maximum (SSE2 has no 64-bit compare).
inline Extremes findExtremes(const int64_t* a, size_t n) {
    int64_t low = a[0], high = a[0];
    for (size_t i = 1; i < n; ++i) {
        low = a[i] < low ? a[i] : low;
        high = a[i] > high ? a[i] : high;
    }
    return {low, high};
}
Extremes extremesBaseline(const int64_t* a, size_t n);
Extremes extremesAvx2(const int64_t* a, size_t n);
Extremes extremesAvx512(const int64_t* a, size_t n);
Extremes extremes(const int64_t* a, size_t n);

// Sorts a[0..n) by counting when its values lie close enough together (the
// extremes given); false, having changed nothing, when they do not.
inline bool denseSort(int64_t* a, size_t n, int64_t low, int64_t high, bool descending) {
    const uint64_t span = static_cast<uint64_t>(high) - static_cast<uint64_t>(low);
    if (n < kDenseMinItems || span / kDenseSpanPerItem >= n) return false;
    const size_t keys = (static_cast<size_t>(span) + 8) & ~size_t(7);
    uint8_t* const counts = static_cast<uint8_t*>(arenaAllocate(keys, 64));
    std::memset(counts, 0, keys);
    uint64_t* const wraps = static_cast<uint64_t*>(arenaAllocate((n / 256 + 1) * sizeof(uint64_t), alignof(uint64_t)));
    size_t wrapped = 0;
    const uint64_t origin = static_cast<uint64_t>(descending ? high : low);
    const uint64_t step = descending ? ~uint64_t(0) : 1;
    // key = (x - origin) * step, that is x - low ascending and high - x descending.
    for (size_t i = 0; i < n; ++i) {
        const uint64_t key = (static_cast<uint64_t>(a[i]) - origin) * step;
        if (++counts[key] == 0) [[unlikely]] wraps[wrapped++] = key;
    }
    std::sort(wraps, wraps + wrapped);
    wraps[wrapped] = kNoWrap;
    walkFunction()(DenseCounts{counts, keys, wraps, origin, step}, a, a + n);
    return true;
}

}  // namespace int_sort
}  // namespace karpa
