// Core procedures over lists, shared by the sequence exports and the
// statistics library. The generic ones take the per-element function or
// predicate as a closure that holds the export's parameter.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/error.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {

template <class T, class Fn>
ArenaVec<T> mapImpl(const ArenaVec<T>& list, Fn fn) {
    ArenaVec<T> out;
    out.reserve(list.size());
    for (const T& x : list) out.push_back(fn(x));
    return out;
}

template <class T, class Keep>
ArenaVec<T> filterImpl(const ArenaVec<T>& list, Keep keep) {
    ArenaVec<T> out;
    out.reserve(list.size());
    for (const T& x : list) {
        if (keep(x)) out.push_back(x);
    }
    return out;
}

template <class T, class Keep>
int64_t countImpl(const ArenaVec<T>& list, Keep keep) {
    int64_t count = 0;
    for (const T& x : list) {
        if (keep(x)) count = checkedAdd(count, 1);
    }
    return count;
}

// Integer sums run from the first item, each addition checked (0 plus the
// first item never overflows); 0 for no items.
inline int64_t sumImpl(const IntList& list) {
    CheckedSum sum;
    for (const int64_t x : list) sum(x);
    return sum.total();
}

// Float sums run left to right from +0.0 (so -0.0 alone sums to +0.0), one
// rounding per addition.
inline double sumImpl(const FloatList& list) {
    double s = 0.0;
    for (const double x : list) s = s + x;
    return s;
}

template <class T>
struct MinMax {
    T min;
    T max;
};

// The extremes of a list (the readers take them while reading); needs an item.
template <class T>
MinMax<T> minmaxImpl(const ArenaVec<T>& list) {
    checkedAt(list, 0);
    Extremes<T> extremes;
    for (const T x : list) extremes(x);
    return {extremes.min, extremes.max};
}

// Strings whose stripped length is at least minLength.
inline auto strippedLengthAtLeast(int64_t minLength) {
    return [minLength](std::string_view item) { return static_cast<int64_t>(strip(item).size()) >= minLength; };
}

// In place: the list read for the call is moved in and handed back reversed.
template <class T>
ArenaVec<T> reverseImpl(ArenaVec<T> list) {
    std::reverse(list.begin(), list.end());
    return list;
}

// The first min(count, length) elements; a negative count raises RangeDefect.
template <class T>
ArenaVec<T> takeImpl(const ArenaVec<T>& list, int64_t count) {
    const int64_t n = std::min<int64_t>(count, static_cast<int64_t>(list.size()));
    return ArenaVec<T>(list.begin(), list.begin() + static_cast<ptrdiff_t>(checkedSize(n)));
}

// The elements from index min(count, length) on; a negative index raises IndexDefect.
template <class T>
ArenaVec<T> skipImpl(const ArenaVec<T>& list, int64_t count) {
    const int64_t length = static_cast<int64_t>(list.size());
    const int64_t i = std::min(count, length);
    if (i < 0) raiseIndexError2(i, length - 1);
    return ArenaVec<T>(list.begin() + i, list.end());
}

}  // namespace karpa
