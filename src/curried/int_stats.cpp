// Statistics over integer lists.
#include <algorithm>
#include <cmath>

#include "curried/stats.hpp"
#include "frame/codec/intscan.hpp"
#include "frame/error.hpp"
#include "seq/listops.hpp"
#include "seq/radix_sort.hpp"

namespace karpa {

namespace {

double real(int64_t x) { return static_cast<double>(x); }
double real(size_t n) { return static_cast<double>(n); }

}  // namespace

double meanImpl(const IntList& list) {
    const int64_t s = sumImpl(list);
    if (list.empty()) return 0.0;
    return real(s) / real(list.size());
}

double varianceImpl(const IntList& list) {
    const int64_t s = sumImpl(list);
    if (list.empty()) return 0.0;
    const double n = real(list.size());
    const double m = real(s) / n;
    double q = 0.0;
    for (const int64_t x : list) {
        const double d = real(x) - m;
        q = q + d * d;
    }
    return q / n;
}

double stddevImpl(const IntList& list) { return std::sqrt(varianceImpl(list)); }

double medianImpl(IntList list) {
    const size_t n = list.size();
    if (n == 0) return 0.0;
    // Integers are totally ordered, so selecting the middle items finds the
    // items a sort would put there, in linear time.
    const radix::Selected middle = radix::selectPlaces(list.data(), n, (n - 1) / 2, n % 2 == 0);
    if (n % 2 == 1) return real(middle.at);
    // Each middle item becomes binary64 first, so the addition cannot overflow.
    return (real(middle.at) + real(middle.next)) * 0.5;
}

int64_t dotImpl(const IntList& a, const IntList& b) {
    const size_t k = std::min(a.size(), b.size());
    int64_t acc = 0;
    for (size_t i = 0; i < k; ++i) acc = checkedAdd(acc, checkedMul(a[i], b[i]));
    return acc;
}

int64_t dotImpl(const IntList& a, std::string_view b) { return readIntDot(a.data(), a.size(), b); }

double l2normImpl(const IntList& list) {
    double q = 0.0;
    for (const int64_t x : list) {
        const double v = real(x);
        q = q + v * v;
    }
    return std::sqrt(q);
}

}  // namespace karpa
