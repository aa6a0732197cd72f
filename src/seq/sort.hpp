// The stable bottom-up merge sort of the float sorts and the medians, and
// the string sort that gives its order in place. Runs are aligned to the end
// of the list; ties take the element of the left run. Descending order comes
// from a reversed comparison, so equal elements keep their input order in
// both directions. With a comparison that is not a consistent order (floats
// with NaN) the output is exactly what these merge steps produce.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frame/arena.hpp"
#include "seq/radix_sort.hpp"

namespace karpa {

// Merges the sorted runs a[lo..m] and a[m+1..hi]; b has room for the left run.
template <class T, class Compare>
inline void mergeAlt(T* a, T* b, int64_t lo, int64_t m, int64_t hi, Compare& cmp) {
    if (cmp(a[m], a[m + 1]) <= 0) return;  // already in order
    std::copy(a + lo, a + m + 1, b);
    int64_t i = 0;
    int64_t j = m + 1;
    int64_t k = lo;
    while (k < j && j <= hi) {
        if (cmp(b[i], a[j]) <= 0) {
            a[k] = b[i];
            ++i;
        } else {
            a[k] = a[j];
            ++j;
        }
        ++k;
    }
    while (k < j) {
        a[k] = b[i];
        ++k;
        ++i;
    }
}

// `cmp(x, y)` answers -1, 0 or +1.
template <class T, class Compare>
void sort(ArenaVec<T>& list, Compare cmp) {
    const int64_t n = static_cast<int64_t>(list.size());
    if (n < 2) return;
    T* const a = list.data();
    T* const b = static_cast<T*>(arenaAllocate(sizeof(T) * static_cast<size_t>(n / 2), alignof(T)));
    // Width 1: merging two single elements moves the right one first exactly
    // when the pair is out of order, which is a swap.
    for (int64_t m = n - 2; m >= 0; m -= 2) {
        if (cmp(a[m], a[m + 1]) > 0) std::swap(a[m], a[m + 1]);
    }
    for (int64_t s = 2; s < n; s *= 2) {
        for (int64_t m = n - 1 - s; m >= 0; m -= 2 * s) {
            mergeAlt(a, b, std::max<int64_t>(m - s + 1, 0), m, m + s, cmp);
        }
    }
}

// cmp(x, y): 0 when equal, -1 when x < y, +1 otherwise (so +1 whenever a
// float NaN is involved). Strings compare by unsigned bytes, shorter first.
struct Ascending {
    template <class T>
    int operator()(const T& x, const T& y) const {
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    int operator()(std::string_view x, std::string_view y) const {
        const int c = x.compare(y);
        return (c > 0) - (c < 0);
    }
};

struct Descending {
    template <class T>
    int operator()(const T& x, const T& y) const {
        return Ascending{}(y, x);
    }
};

// Sorts ascending, or descending when `descending` is set.
template <class T>
void sortDirected(ArenaVec<T>& list, bool descending) {
    if (descending) {
        sort(list, Descending{});
    } else {
        sort(list, Ascending{});
    }
}

// Equal integers are indistinguishable, so the bitwise sort gives the merge
// sort's output.
inline void sortDirected(IntList& list, bool descending) { radixSortInt64(list.data(), list.size(), descending); }

// Floats without NaN: the comparison is then a total preorder in which only
// -0.0 and 0.0 tie with different bits, so any stable sort gives the merge
// steps' output. The values are sorted as integers whose order is the
// numeric order, both zeros as one key, and the block of zeros is then
// written again with the signs the zeros had in input order (ties keep
// input order in both directions).
namespace float_keys {

// Signed integer order equals numeric order: negative values have their
// magnitude bits flipped. Both zeros become 0.
inline int64_t keyOf(double x) {
    const int64_t bits = x == 0.0 ? 0 : std::bit_cast<int64_t>(x);
    return bits ^ static_cast<int64_t>(static_cast<uint64_t>(bits >> 63) >> 1);
}
inline double valueOf(int64_t key) {
    return std::bit_cast<double>(key ^ static_cast<int64_t>(static_cast<uint64_t>(key >> 63) >> 1));
}

// What one read of the list tells: whether a NaN is there, how many values
// are below zero, how many are zeros and how many of those are -0.0.
struct Census {
    bool nan = false;
    size_t below = 0;
    size_t zeros = 0;
    size_t negativeZeros = 0;
};

inline Census census(const double* a, size_t n) {
    Census c;
    size_t nans = 0, below = 0, zeros = 0, negativeZeros = 0;
    for (size_t i = 0; i < n; ++i) {
        const double x = a[i];
        nans += x != x;
        below += x < 0.0;
        zeros += x == 0.0;
        negativeZeros += std::bit_cast<uint64_t>(x) == 0x8000'0000'0000'0000ull;
    }
    c.nan = nans != 0;
    c.below = below;
    c.zeros = zeros;
    c.negativeZeros = negativeZeros;
    return c;
}

// The signs of the zeros, in input order, one bit each (set for -0.0).
inline uint64_t* zeroSigns(const double* a, size_t n, size_t zeros) {
    const size_t words = (zeros + 63) / 64;
    uint64_t* const signs = static_cast<uint64_t*>(arenaAllocate(words * 8, 8));
    std::memset(signs, 0, words * 8);
    size_t z = 0;
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != 0.0) continue;
        if (std::signbit(a[i])) signs[z / 64] |= uint64_t(1) << (z % 64);
        ++z;
    }
    return signs;
}

}  // namespace float_keys

// Sorts a list that holds no NaN (`census` of it given) to the merge sort's
// output, ascending or descending.
inline void sortFloatsWithoutNan(double* a, size_t n, const float_keys::Census& c, bool descending) {
    const uint64_t* const signs = c.negativeZeros != 0 ? float_keys::zeroSigns(a, n, c.zeros) : nullptr;
    // The keys take the values' place, each element rewritten whole through
    // memcpy, so no read sees one type where the other was stored.
    for (size_t i = 0; i < n; ++i) {
        const int64_t key = float_keys::keyOf(a[i]);
        std::memcpy(a + i, &key, 8);
    }
    int64_t* const keys = reinterpret_cast<int64_t*>(a);
    radixSortInt64(keys, n, descending);
    for (size_t i = 0; i < n; ++i) {
        int64_t key;
        std::memcpy(&key, a + i, 8);
        const double x = float_keys::valueOf(key);
        std::memcpy(a + i, &x, 8);
    }
    if (signs == nullptr) return;
    // The zeros sit after the values below zero (ascending) or after the
    // values above it (descending).
    const size_t first = descending ? n - c.below - c.zeros : c.below;
    for (size_t z = 0; z < c.zeros; ++z) a[first + z] = (signs[z / 64] >> (z % 64)) & 1 ? -0.0 : 0.0;
}

inline void sortDirected(FloatList& list, bool descending) {
    const float_keys::Census c = float_keys::census(list.data(), list.size());
    if (!c.nan) {
        sortFloatsWithoutNan(list.data(), list.size(), c, descending);
    } else if (descending) {
        sort(list, Descending{});
    } else {
        sort(list, Ascending{});
    }
}

// Strings are sorted as records of a 64-bit key and the item's position,
// twelve bytes an item for a text under 4 GiB, in place. The key holds the
// first seven bytes (big-endian, zero-padded) above the length capped at 7:
//  - keys that differ order their strings as the bytes do: where the padded
//    bytes agree, the shorter string is a prefix of the longer one, and its
//    smaller length byte puts it first;
//  - equal keys are equal strings, unless both have seven bytes or more; then
//    the bytes from the eighth on decide.
// Equal strings go by position, so the order is total and any correct sort
// gives exactly what the stable merge sort gives, in both directions, without
// the merge's buffer.
template <class Pos>
struct [[gnu::packed]] StringSortRecord {
    uint64_t key;
    Pos pos;
};

constexpr uint64_t kKeyBytesHeld = 7;

// `readable`: the bytes from p on that may be read (at least n).
inline uint64_t stringSortKey(const char* p, size_t n, size_t readable) {
    const size_t held = std::min<size_t>(n, kKeyBytesHeld);
    uint64_t w = 0;
    if (readable >= 8) {
        std::memcpy(&w, p, 8);
    } else {
        std::memcpy(&w, p, held);
    }
    w &= held == 0 ? 0 : ~uint64_t(0) >> (64 - 8 * held);  // the held bytes, byte 7 cleared
    return __builtin_bswap64(w) | held;
}

// `items.at(pos)` is the string at a record's position.
template <class Pos, class Items>
struct StringOrder {
    const Items& items;
    bool descending;
    bool operator()(const StringSortRecord<Pos>& x, const StringSortRecord<Pos>& y) const {
        const uint64_t kx = x.key, ky = y.key;
        if (kx != ky) return (kx < ky) != descending;
        const Pos px = x.pos, py = y.pos;
        if ((kx & 0xFF) == kKeyBytesHeld) {
            const int c = items.at(px).substr(kKeyBytesHeld).compare(items.at(py).substr(kKeyBytesHeld));
            if (c != 0) return (c < 0) != descending;
        }
        return px < py;
    }
};

template <class Pos, class Items>
void sortStringRecords(ArenaVec<StringSortRecord<Pos>>& records, const Items& items, bool descending) {
    std::sort(records.begin(), records.end(), StringOrder<Pos, Items>{items, descending});
}

inline void sortDirected(StringList& list, bool descending) {
    struct ListItems {
        const StringList& list;
        std::string_view at(size_t i) const { return list[i]; }
    };
    ArenaVec<StringSortRecord<size_t>> records;
    records.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) records.push_back({stringSortKey(list[i].data(), list[i].size(), list[i].size()), i});
    sortStringRecords(records, ListItems{list}, descending);
    StringList sorted;
    sorted.reserve(list.size());
    for (const auto& r : records) sorted.push_back(list[r.pos]);
    list = std::move(sorted);
}

}  // namespace karpa
