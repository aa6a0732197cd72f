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

double medianImpl(FloatList list) {
    const size_t n = list.size();
    if (n == 0) return 0.0;
    // Every comparison with a NaN answers +1; the merge steps decide the rest.
    sort(list, Ascending{});
    if (n % 2 == 1) return list[n / 2];
    return (list[n / 2 - 1] + list[n / 2]) * 0.5;
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
