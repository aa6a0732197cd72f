// The stable bottom-up merge sort of the float sorts and the medians, and
// the string sort that gives its order in place. Runs are aligned to the end
// of the list; ties take the element of the left run. Descending order comes
// from a reversed comparison, so equal elements keep their input order in
// both directions. With a comparison that is not a consistent order (floats
// with NaN) the output is exactly what these merge steps produce.
#pragma once

#include <algorithm>
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
