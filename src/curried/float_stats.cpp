// Statistics over float lists.
// NaN and the infinities flow through the arithmetic unchecked.
#include <algorithm>
#include <cmath>

#include "curried/stats.hpp"
#include "frame/error.hpp"
#include "seq/listops.hpp"
#include "seq/sort.hpp"

namespace karpa {

double meanImpl(const FloatList& list) {
    if (list.empty()) return 0.0;
    return sumImpl(list) / static_cast<double>(list.size());
}

double varianceImpl(const FloatList& list) {
    if (list.empty()) return 0.0;
    const double n = static_cast<double>(list.size());
    const double m = sumImpl(list) / n;
    double q = 0.0;
    for (const double x : list) q = q + (x - m) * (x - m);
    return q / n;
}

double stddevImpl(const FloatList& list) { return std::sqrt(varianceImpl(list)); }

namespace {

// In the stable order of a NaN-free list the zeros follow the values below
// zero, in input order: the zero at `at` (a place in that block) is the one
// that many zeros into the list.
double zeroPlacedAt(const FloatList& list, size_t at, const float_keys::Census& c) {
    size_t z = at - c.below;
    for (const double x : list) {
        if (x == 0.0 && z-- == 0) return x;
    }
    return 0.0;  // not reached: the census counted the zeros
}

}  // namespace

double medianImpl(FloatList list) {
    const size_t n = list.size();
    if (n == 0) return 0.0;
    const float_keys::Census c = float_keys::census(list.data(), n);
    if (c.nan) {
        // Every comparison with a NaN answers +1; the merge steps decide the rest.
        sort(list, Ascending{});
        if (n % 2 == 1) return list[n / 2];
        return (list[n / 2 - 1] + list[n / 2]) * 0.5;
    }
    // Without NaN the order is total but for the two zeros: a middle place in
    // the block of zeros is answered from the input order, any other by
    // selection (its value's bits are then unique).
    const auto inZeros = [&](size_t at) { return at >= c.below && at < c.below + c.zeros; };
    const size_t hi = n / 2;
    const size_t lo = n % 2 == 1 ? hi : hi - 1;
    const bool hiZero = inZeros(hi), loZero = inZeros(lo);
    double upper = hiZero ? zeroPlacedAt(list, hi, c) : 0.0;
    double lower = loZero ? zeroPlacedAt(list, lo, c) : 0.0;
    if (!hiZero || !loZero) {
        double* const middle = list.data() + hi;
        std::nth_element(list.data(), middle, list.data() + n);
        if (!hiZero) upper = *middle;
        if (!loZero) lower = lo == hi ? *middle : *std::max_element(list.data(), middle);
    }
    if (n % 2 == 1) return upper;
    return (lower + upper) * 0.5;
}

double dotImpl(const FloatList& a, const FloatList& b) {
    const size_t k = std::min(a.size(), b.size());
    double acc = 0.0;
    for (size_t i = 0; i < k; ++i) acc = acc + a[i] * b[i];
    return acc;
}

double l2normImpl(const FloatList& list) {
    double q = 0.0;
    for (const double x : list) q = q + x * x;
    return std::sqrt(q);
}

}  // namespace karpa
