// The merge sort's steps written out literally (runs aligned to the end of
// the list, ties to the left run): the reference that every faster sort must
// match, NaN orders included. Shared by the unit tests and the fuzz harnesses.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "seq/sort.hpp"

template <class T, class Compare>
void literalMergeSort(std::vector<T>& a, Compare c) {
    const int64_t n = static_cast<int64_t>(a.size());
    std::vector<T> b(static_cast<size_t>(n / 2 + 1));
    for (int64_t s = 1; s < n; s *= 2) {
        for (int64_t m = n - 1 - s; m >= 0; m -= 2 * s) {
            const int64_t lo = std::max<int64_t>(m - s + 1, 0), hi = m + s;
            if (c(a[m], a[m + 1]) <= 0) continue;
            std::copy(a.begin() + lo, a.begin() + m + 1, b.begin());
            int64_t i = 0, j = m + 1, k = lo;
            while (k < j && j <= hi) a[k++] = c(b[i], a[j]) <= 0 ? b[i++] : a[j++];
            while (k < j) a[k++] = b[i++];
        }
    }
}

// The literal steps under the export's comparison for one direction.
template <class T>
void literalMergeSortDirected(std::vector<T>& a, bool descending) {
    if (descending) {
        literalMergeSort(a, karpa::Descending{});
    } else {
        literalMergeSort(a, karpa::Ascending{});
    }
}

// Where the float sort's bits first differ from the literal steps' in one
// direction, or -1 when they agree everywhere.
inline int64_t floatSortMismatch(const std::vector<double>& values, bool descending) {
    std::vector<double> expected = values;
    literalMergeSortDirected(expected, descending);
    karpa::FloatList got(values.begin(), values.end());
    karpa::sortDirected(got, descending);
    for (size_t i = 0; i < values.size(); ++i) {
        if (std::bit_cast<uint64_t>(got[i]) != std::bit_cast<uint64_t>(expected[i])) return static_cast<int64_t>(i);
    }
    return -1;
}
