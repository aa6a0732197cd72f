// Statistics over integer lists: the core procedures and the cur_*_int exports.
#include <algorithm>
#include <cmath>

#include "karpa/curried.h"  // the compiler checks each export against its declaration
#include "curried/stats.hpp"
#include "frame/error.hpp"
#include "frame/exportcall.hpp"
#include "frame/floatcodec.hpp"
#include "frame/textcodec.hpp"
#include "seq/listops.hpp"
#include "seq/sort.hpp"

namespace karpa {

namespace {

double real(int64_t x) { return static_cast<double>(x); }
double real(size_t n) { return static_cast<double>(n); }

}  // namespace

int64_t sumImpl(const IntList& list) {
    if (list.empty()) return 0;
    int64_t s = list[0];
    for (size_t i = 1; i < list.size(); ++i) s = checkedAdd(s, list[i]);
    return s;
}

double meanImpl(const IntList& list) {
    const int64_t s = sumImpl(list);
    if (list.empty()) return 0.0;
    return real(s) / real(list.size());
}

MinMax<int64_t> minmaxImpl(const IntList& list) {
    MinMax<int64_t> r{checkedAt(list, 0), list[0]};
    for (size_t i = 1; i < list.size(); ++i) {
        const int64_t x = list[i];
        if (x < r.min) r.min = x;
        if (x > r.max) r.max = x;
    }
    return r;
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
    sort(list, Ascending{});
    if (n % 2 == 1) return real(list[n / 2]);
    // Each middle item becomes binary64 first, so the addition cannot overflow.
    return (real(list[n / 2 - 1]) + real(list[n / 2])) * 0.5;
}

int64_t dotImpl(const IntList& a, const IntList& b) {
    const size_t k = std::min(a.size(), b.size());
    int64_t acc = 0;
    for (size_t i = 0; i < k; ++i) acc = checkedAdd(acc, checkedMul(a[i], b[i]));
    return acc;
}

double l2normImpl(const IntList& list) {
    double q = 0.0;
    for (const int64_t x : list) {
        const double v = real(x);
        q = q + v * v;
    }
    return std::sqrt(q);
}

}  // namespace karpa

using namespace karpa;

namespace {

IntList readInts(const char* list) { return parseCsvInts(argText(list)); }

}  // namespace

KARPA_EXPORT const char* cur_sum_int(const char* list) {
    return textCall([&] { return printInt(sumImpl(readInts(list))); });
}

KARPA_EXPORT const char* cur_mean_int(const char* list) {
    return textCall([&] { return printFloatGeneral(meanImpl(readInts(list))); });
}

KARPA_EXPORT const char* cur_min_int(const char* list) {
    return textCall([&] {
        const IntList xs = readInts(list);
        if (xs.empty()) return "0";
        return printInt(pickImpl(xs, Smaller{}));
    });
}

KARPA_EXPORT const char* cur_max_int(const char* list) {
    return textCall([&] {
        const IntList xs = readInts(list);
        if (xs.empty()) return "0";
        return printInt(pickImpl(xs, Greater{}));
    });
}

KARPA_EXPORT const char* cur_minmax_int(const char* list) {
    return textCall([&] {
        const IntList xs = readInts(list);
        if (xs.empty()) return ",";
        const MinMax<int64_t> r = minmaxImpl(xs);
        TextBuilder out;
        addInt(out, r.min);
        out.push(',');
        addInt(out, r.max);
        return out.finish();
    });
}

KARPA_EXPORT const char* cur_variance_int(const char* list) {
    return textCall([&] { return printFloatGeneral(varianceImpl(readInts(list))); });
}

KARPA_EXPORT const char* cur_stddev_int(const char* list) {
    return textCall([&] { return printFloatGeneral(stddevImpl(readInts(list))); });
}

KARPA_EXPORT const char* cur_median_int(const char* list) {
    return textCall([&] { return printFloatGeneral(medianImpl(readInts(list))); });
}

KARPA_EXPORT const char* cur_dot_int(const char* a, const char* b) {
    return textCall([&] {
        const IntList xs = readInts(a);  // read completely before b is looked at
        const IntList ys = readInts(b);
        return printInt(dotImpl(xs, ys));
    });
}

KARPA_EXPORT const char* cur_l2norm_int(const char* list) {
    return textCall([&] { return printFloatGeneral(l2normImpl(readInts(list))); });
}
