// The stable bottom-up merge sort shared by every sorting export and the
// medians. Runs are aligned to the end of the list; ties take the element of
// the left run. Descending order comes from a reversed comparison, so equal
// elements keep their input order in both directions. With a comparison that
// is not a consistent order (floats with NaN) the output is exactly what these
// merge steps produce.
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

// Strings are sorted with their first eight bytes beside them as a big-endian
// number (zero-padded): unequal prefixes order two strings exactly as their
// bytes do, so most comparisons are one integer compare, and only equal
// prefixes fall back to comparing the bytes. Same order, same merge steps.
struct KeyedString {
    uint64_t prefix;
    std::string_view text;
};

inline uint64_t prefixKey(std::string_view s) {
    uint64_t key = 0;
    if (s.size() >= 8) {
        std::memcpy(&key, s.data(), 8);
        return __builtin_bswap64(key);
    }
    for (size_t i = 0; i < s.size(); ++i) key |= uint64_t(static_cast<unsigned char>(s[i])) << (56 - 8 * i);
    return key;
}

struct KeyedAscending {
    int operator()(const KeyedString& x, const KeyedString& y) const {
        if (x.prefix != y.prefix) return x.prefix < y.prefix ? -1 : 1;
        return Ascending{}(x.text, y.text);
    }
};

struct KeyedDescending {
    int operator()(const KeyedString& x, const KeyedString& y) const { return KeyedAscending{}(y, x); }
};

inline void sortDirected(StringList& list, bool descending) {
    ArenaVec<KeyedString> keyed;
    keyed.reserve(list.size());
    for (const std::string_view s : list) keyed.push_back({prefixKey(s), s});
    if (descending) {
        sort(keyed, KeyedDescending{});
    } else {
        sort(keyed, KeyedAscending{});
    }
    for (size_t i = 0; i < list.size(); ++i) list[i] = keyed[i].text;
}

}  // namespace karpa
