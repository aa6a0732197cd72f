// Sorting 64-bit integers by their bits. Equal integers cannot be told apart
// in a result, so any correct ordering gives the same output as the stable
// merge sort; this one costs a few linear passes instead of log2(n) merges.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

constexpr size_t kInsertionLimit = 32;
// Ranges up to this size are left for the closing insertion pass of their
// parent: their keys already sit among the keys of their bucket.
constexpr size_t kSmallBucket = 16;
// At most 2^10 buckets a level: the counts stay in the first-level cache and
// the write streams of one scatter in the second-level one.
constexpr unsigned kMaxWidth = 10;

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

// One distribution step of the bucket sort: the keys at `from`, all within
// [low, high], are split by the highest bits of their distance from `low`
// into `to`. Counting by the distance rather than by raw key bits uses every
// bucket even when the keys share no leading bits. About two buckets a key
// (up to 2^kMaxWidth), so that most keys sit alone in theirs.
struct Split {
    uint32_t width;
    uint32_t shift;
};

inline Split splitFor(size_t n, uint64_t span) {
    const unsigned spanBits = static_cast<unsigned>(std::bit_width(span));
    unsigned width = static_cast<unsigned>(std::bit_width(n)) + 1;
    if (width > kMaxWidth) width = kMaxWidth;
    if (width > spanBits) width = spanBits;
    return {width, spanBits - width};
}

// Leaves ends[d] at the end of bucket d in `to` (bucket d starts where d - 1
// ends) and returns the size of the largest bucket.
template <class Count>
inline size_t distribute(const int64_t* from, int64_t* to, size_t n, uint64_t flip, uint64_t low, Split s,
                         Count* ends) {
    const size_t buckets = size_t(1) << s.width;
    std::fill_n(ends, buckets, Count(0));
    for (size_t i = 0; i < n; ++i) ++ends[(orderKey(from[i], flip) - low) >> s.shift];
    Count sum = 0;
    Count largest = 0;
    for (size_t d = 0; d < buckets; ++d) {
        const Count c = ends[d];
        ends[d] = sum;
        sum += c;
        largest = c > largest ? c : largest;
    }
    for (size_t i = 0; i < n; ++i) {
        const int64_t x = from[i];
        to[ends[(orderKey(x, flip) - low) >> s.shift]++] = x;
    }
    return largest;
}

struct KeyRange {
    uint64_t low;
    uint64_t high;
};

inline KeyRange keyRange(const int64_t* a, size_t n, uint64_t flip) {
    uint64_t low = ~uint64_t(0), high = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint64_t k = orderKey(a[i], flip);
        low = k < low ? k : low;
        high = k > high ? k : high;
    }
    return {low, high};
}

// Sorts the n keys at `from`, all within [low, high], into `to` (IntoTo) or
// back into `from`, the other array serving as scratch. Each level moves the
// keys across once, so the levels below alternate the direction.
template <class Count, bool IntoTo>
void bucketSort(int64_t* from, int64_t* to, size_t n, uint64_t flip, uint64_t low, uint64_t high) {
    int64_t* const result = IntoTo ? to : from;
    if (n <= kInsertionLimit) {
        insertionSortInto(from, result, n, flip);
        return;
    }
    if (low == high) {
        if (IntoTo) std::memcpy(to, from, n * sizeof(int64_t));
        return;
    }
    const Split s = splitFor(n, high - low);
    Count ends[size_t(1) << kMaxWidth];
    const size_t largest = distribute<Count>(from, to, n, flip, low, s, ends);
    if (largest <= kSmallBucket) {
        insertionSortInto(to, result, n, flip);
        return;
    }
    if (largest == n) {
        // One bucket took every key: narrowed to the keys' own extremes, the
        // next split parts them (and a run of one value ends here).
        const KeyRange r = keyRange(to, n, flip);
        if (r.low != r.high) {
            bucketSort<Count, !IntoTo>(to, from, n, flip, r.low, r.high);
        } else if (!IntoTo) {
            std::memcpy(from, to, n * sizeof(int64_t));
        }
        return;
    }
    // Large buckets are sorted further. The small ones stay where the split
    // put them (copied back in stretches when the result goes to `from`), in
    // order among the others, and are put in order by one insertion pass
    // over the whole range when any holds two keys or more (a key never
    // leaves its bucket, so the pass moves each key a few places at most).
    const uint64_t mask = (uint64_t(1) << s.shift) - 1;
    size_t at = 0, copied = 0;
    bool unsorted = false;
    for (size_t d = 0; d < (size_t(1) << s.width); ++d) {
        const size_t m = ends[d] - at;
        unsorted |= m - 2 < kSmallBucket - 1;
        if (m > kSmallBucket) {
            if (!IntoTo) std::memcpy(from + copied, to + copied, (at - copied) * sizeof(int64_t));
            const uint64_t bucketLow = low + (uint64_t(d) << s.shift);
            const uint64_t bucketHigh = high - bucketLow < mask ? high : bucketLow + mask;
            bucketSort<Count, !IntoTo>(to + at, from + at, m, flip, bucketLow, bucketHigh);
            copied = at + m;
        }
        at += m;
    }
    if (!IntoTo) std::memcpy(from + copied, to + copied, (n - copied) * sizeof(int64_t));
    if (unsorted) insertionSortInto(result, result, n, flip);
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
    const int_sort::Extremes e = int_sort::extremes(a, n);
    if (int_sort::denseSort(a, n, e.low, e.high, descending)) return;
    // The flipped order may turn the extremes round.
    const uint64_t low = std::min(radix::orderKey(e.low, flip), radix::orderKey(e.high, flip));
    const uint64_t high = std::max(radix::orderKey(e.low, flip), radix::orderKey(e.high, flip));
    int64_t* const buffer = static_cast<int64_t*>(arenaAllocate(n * sizeof(int64_t), alignof(int64_t)));
    if (n <= UINT32_MAX) {
        radix::bucketSort<uint32_t, false>(a, buffer, n, flip, low, high);
    } else {
        radix::bucketSort<size_t, false>(a, buffer, n, flip, low, high);
    }
}

}  // namespace karpa
