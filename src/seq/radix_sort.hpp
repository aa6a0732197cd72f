// Sorting 64-bit integers by their bits. Equal integers cannot be told apart
// in a result, so any correct ordering gives the same output as the stable
// merge sort; this one costs a few linear passes instead of log2(n) merges.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "frame/arena.hpp"
#include "seq/int_sort.hpp"

namespace karpa {
namespace radix {

// The unsigned number whose ascending order is the wanted order: flipping the
// sign bit orders signed values ascending; flipping every other bit as well
// reverses that, which is descending.
inline uint64_t ascendingFlip(bool descending) {
    return descending ? 0x7FFF'FFFF'FFFF'FFFFull : 0x8000'0000'0000'0000ull;
}

inline uint64_t orderKey(int64_t x, uint64_t flip) { return static_cast<uint64_t>(x) ^ flip; }

// The histograms of the low `Bytes` bytes of every key, in one read; a
// constant count lets the byte loop unroll (wide keys are the common case).
template <class Count, unsigned Bytes>
inline void countKeyBytes(const int64_t* data, size_t n, uint64_t flip, Count (&counts)[8][256]) {
    for (size_t i = 0; i < n; ++i) {
        const uint64_t k = orderKey(data[i], flip);
        for (unsigned b = 0; b < Bytes; ++b) ++counts[b][(k >> (8 * b)) & 0xFF];
    }
}

// Least significant byte first over the low `bytes` bytes (the higher ones
// are the same in every key), each pass a stable counting scatter between
// `data` and `spare`. All the histograms come from one read; a byte every key
// shares needs no pass. Returns where the sorted items are.
template <class Count>
int64_t* lsdSort(int64_t* data, int64_t* spare, size_t n, uint64_t flip, unsigned bytes) {
    Count counts[8][256];
    std::memset(counts, 0, sizeof(Count) * 256 * bytes);
    if (bytes == 8) {
        countKeyBytes<Count, 8>(data, n, flip, counts);
    } else if (bytes == 7) {
        countKeyBytes<Count, 7>(data, n, flip, counts);
    } else {
        for (size_t i = 0; i < n; ++i) {
            const uint64_t k = orderKey(data[i], flip);
            for (unsigned b = 0; b < bytes; ++b) ++counts[b][(k >> (8 * b)) & 0xFF];
        }
    }
    const uint64_t first = orderKey(data[0], flip);
    int64_t* from = data;
    int64_t* to = spare;
    for (unsigned b = 0; b < bytes; ++b) {
        const unsigned shift = 8 * b;
        Count* const start = counts[b];
        if (start[(first >> shift) & 0xFF] == n) continue;
        Count sum = 0;
        for (unsigned d = 0; d < 256; ++d) {
            const Count c = start[d];
            start[d] = sum;
            sum += c;
        }
        for (size_t i = 0; i < n; ++i) {
            const int64_t x = from[i];
            to[start[(orderKey(x, flip) >> shift) & 0xFF]++] = x;
        }
        std::swap(from, to);
    }
    return from;
}

constexpr size_t kInsertionLimit = 32;
// Ranges from this size up to kCacheItems are finished by LSD passes, which
// run inside the core's caches (items and spare together within a megabyte).
constexpr size_t kLsdMin = size_t(1) << 11;
constexpr size_t kCacheItems = size_t(1) << 16;
// Keys spanning fewer values than this are sorted by counting.
constexpr uint64_t kCountingRange = 1024;
// At most 2^8 buckets a level: the counts stay in the first-level cache.
constexpr unsigned kMaxWidth = 8;

// Straight insertion of `n` keys read from `from`, written to `to` (which may
// be `from` itself: each key is read before its place is written): the
// fastest for the few items where a histogram would cost more than sorting.
inline void insertionSortInto(const int64_t* from, int64_t* to, size_t n, uint64_t flip) {
    for (size_t i = 0; i < n; ++i) {
        const int64_t x = from[i];
        const uint64_t k = orderKey(x, flip);
        size_t j = i;
        for (; j > 0 && orderKey(to[j - 1], flip) > k; --j) to[j] = to[j - 1];
        to[j] = x;
    }
}

// Few distinct keys, low..high: counts them and writes the list out again
// at `out`. Out of line, so that its table is not on every level's frame.
template <class Count>
[[gnu::noinline]] void countingSort(const int64_t* from, int64_t* out, size_t n, uint64_t flip, uint64_t low,
                                    uint64_t high) {
    const size_t range = static_cast<size_t>(high - low) + 1;
    Count counts[kCountingRange];
    std::fill_n(counts, range, Count(0));
    for (size_t i = 0; i < n; ++i) ++counts[orderKey(from[i], flip) - low];
    for (size_t d = 0; d < range; ++d) {
        const int64_t x = static_cast<int64_t>((low + d) ^ flip);
        for (Count c = counts[d]; c != 0; --c) *out++ = x;
    }
}

// Most significant digit first. The keys at `from` are split by the highest
// bits in which they differ (bits they all share are skipped) into `to`, and
// each part is sorted the same way, so parts alternate between the two
// arrays. With IntoTo the result ends in `to`, otherwise back in `from`.
template <class Count, bool IntoTo>
void msdSort(int64_t* from, int64_t* to, size_t n, uint64_t flip) {
    if (n <= kInsertionLimit) {
        insertionSortInto(from, IntoTo ? to : from, n, flip);
        return;
    }
    uint64_t low = orderKey(from[0], flip);
    uint64_t high = low;
    for (size_t i = 1; i < n; ++i) {
        const uint64_t k = orderKey(from[i], flip);
        low = k < low ? k : low;
        high = k > high ? k : high;
    }
    int64_t* const result = IntoTo ? to : from;
    if (high - low < kCountingRange && high - low < n) {
        countingSort<Count>(from, result, n, flip, low, high);
        return;
    }
    // Every key shares the bits above `top` with every other.
    const unsigned top = 64 - static_cast<unsigned>(__builtin_clzll(low ^ high));
    if (n >= kLsdMin && n <= kCacheItems) {
        int64_t* const at = lsdSort<Count>(from, to, n, flip, (top + 7) / 8);
        if (at != result) std::memcpy(result, at, n * sizeof(int64_t));
        return;
    }
    // Fewer buckets for short ranges, so that the bucket bookkeeping does
    // not outweigh the items.
    unsigned width = static_cast<unsigned>(std::bit_width(n)) - 3;
    if (width > kMaxWidth) width = kMaxWidth;
    if (width > top) width = top;
    const unsigned shift = top - width;
    const unsigned buckets = 1u << width;
    const uint64_t mask = buckets - 1;
    Count counts[1 << kMaxWidth];
    std::fill_n(counts, buckets, Count(0));
    for (size_t i = 0; i < n; ++i) ++counts[(orderKey(from[i], flip) >> shift) & mask];
    Count offsets[1 << kMaxWidth];
    Count sum = 0;
    for (unsigned d = 0; d < buckets; ++d) {
        offsets[d] = sum;
        sum += counts[d];
    }
    for (size_t i = 0; i < n; ++i) {
        const int64_t x = from[i];
        to[offsets[(orderKey(x, flip) >> shift) & mask]++] = x;
    }
    size_t at = 0;
    for (unsigned d = 0; d < buckets; ++d) {
        const size_t m = counts[d];
        if (m != 0) msdSort<Count, !IntoTo>(to + at, from + at, m, flip);
        at += m;
    }
}

// Selection by bits: the values that ascending order puts at places k and
// k + 1 (`second`: whether the second is wanted), in passes that narrow the
// list to the bucket of the highest differing bits holding the place, each
// pass reading the remaining items three times and keeping the bucket's
// items at the front. Reorders the list.
struct Selected {
    int64_t at;
    int64_t next;
};

constexpr unsigned kSelectWidth = 11;

inline Selected selectPlaces(int64_t* a, size_t n, size_t k, bool second) {
    constexpr uint64_t flip = 0x8000'0000'0000'0000ull;
    for (;;) {
        if (n <= 64) {
            std::sort(a, a + n);
            return {a[k], second ? a[k + 1] : 0};
        }
        // The widest minimum and maximum the processor has (flipping the
        // sign bit keeps the order).
        const int_sort::Extremes e = int_sort::extremes(a, n);
        const uint64_t low = orderKey(e.low, flip), high = orderKey(e.high, flip);
        if (low == high) return {a[0], a[0]};
        const unsigned top = 64 - static_cast<unsigned>(__builtin_clzll(low ^ high));
        const unsigned width = top < kSelectWidth ? top : kSelectWidth;
        const unsigned shift = top - width;
        const uint64_t mask = (uint64_t(1) << width) - 1;
        size_t counts[1u << kSelectWidth] = {};
        for (size_t i = 0; i < n; ++i) ++counts[(orderKey(a[i], flip) >> shift) & mask];
        size_t before = 0;
        unsigned b = 0;
        while (before + counts[b] <= k) before += counts[b++];
        const size_t inBucket = counts[b];
        if (second && k + 1 == before + inBucket) {
            // The second place opens the next non-empty bucket: the largest
            // of this bucket and the smallest of that one.
            unsigned c = b + 1;
            while (counts[c] == 0) ++c;
            uint64_t largest = 0, smallest = ~uint64_t(0);
            for (size_t i = 0; i < n; ++i) {
                const uint64_t key = orderKey(a[i], flip);
                const uint64_t d = (key >> shift) & mask;
                if (d == b && key > largest) largest = key;
                if (d == c && key < smallest) smallest = key;
            }
            return {static_cast<int64_t>(largest ^ flip), static_cast<int64_t>(smallest ^ flip)};
        }
        size_t kept = 0;
        for (size_t i = 0; i < n; ++i) {
            const int64_t x = a[i];
            if (((orderKey(x, flip) >> shift) & mask) == b) a[kept++] = x;
        }
        n = kept;
        k -= before;
    }
}

}  // namespace radix

// Ascending, or descending when `descending` is set. Takes a buffer of the
// list's size from the arena when there is real sorting to do.
inline void radixSortInt64(int64_t* a, size_t n, bool descending) {
    if (n < 2) return;
    const uint64_t flip = radix::ascendingFlip(descending);
    if (n <= radix::kInsertionLimit) {
        radix::insertionSortInto(a, a, n, flip);
        return;
    }
    // Lists that are already in order, or in the reverse order, are common
    // and take one pass (random lists leave these loops at once).
    size_t i = 1;
    while (i < n && radix::orderKey(a[i - 1], flip) <= radix::orderKey(a[i], flip)) ++i;
    if (i == n) return;
    i = 1;
    while (i < n && radix::orderKey(a[i - 1], flip) >= radix::orderKey(a[i], flip)) ++i;
    if (i == n) {
        std::reverse(a, a + n);
        return;
    }
    if (n >= int_sort::kDenseMinItems) {
        const int_sort::Extremes e = int_sort::extremes(a, n);
        if (int_sort::denseSort(a, n, e.low, e.high, descending)) return;
    }
    int64_t* const buffer = static_cast<int64_t*>(arenaAllocate(n * sizeof(int64_t), alignof(int64_t)));
    if (n <= UINT32_MAX) {
        radix::msdSort<uint32_t, false>(a, buffer, n, flip);
    } else {
        radix::msdSort<size_t, false>(a, buffer, n, flip);
    }
}

}  // namespace karpa
