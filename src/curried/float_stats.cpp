// Statistics over float lists: the core procedures and the cur_*_float exports.
// NaN and the infinities flow through the arithmetic unchecked.
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

double sumImpl(const FloatList& list) {
    // From +0.0, so a list of -0.0 alone sums to +0.0.
    double s = 0.0;
    for (const double x : list) s = s + x;
    return s;
}

double meanImpl(const FloatList& list) {
    if (list.empty()) return 0.0;
    return sumImpl(list) / static_cast<double>(list.size());
}

MinMax<double> minmaxImpl(const FloatList& list) {
    MinMax<double> r{checkedAt(list, 0), list[0]};
    for (size_t i = 1; i < list.size(); ++i) {
        const double x = list[i];
        if (x < r.min) r.min = x;
        if (x > r.max) r.max = x;
    }
    return r;
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

using namespace karpa;

namespace {

FloatList readFloats(const char* list) { return parseCsvFloats(argText(list)); }

}  // namespace

KARPA_EXPORT const char* cur_sum_float(const char* list) {
    return textCall([&] { return printFloatRoundtrip(sumImpl(readFloats(list))); });
}

KARPA_EXPORT const char* cur_mean_float(const char* list) {
    return textCall([&] { return printFloatGeneral(meanImpl(readFloats(list))); });
}

KARPA_EXPORT const char* cur_min_float(const char* list) {
    return textCall([&] {
        const FloatList xs = readFloats(list);
        if (xs.empty()) return "0.0";
        return printFloatRoundtrip(pickImpl(xs, Smaller{}));
    });
}

KARPA_EXPORT const char* cur_max_float(const char* list) {
    return textCall([&] {
        const FloatList xs = readFloats(list);
        if (xs.empty()) return "0.0";
        return printFloatRoundtrip(pickImpl(xs, Greater{}));
    });
}

KARPA_EXPORT const char* cur_minmax_float(const char* list) {
    return textCall([&] {
        const FloatList xs = readFloats(list);
        if (xs.empty()) return ",";
        const MinMax<double> r = minmaxImpl(xs);
        TextBuilder out;
        addFloatRoundtrip(out, r.min);
        out.push(',');
        addFloatRoundtrip(out, r.max);
        return out.finish();
    });
}

KARPA_EXPORT const char* cur_variance_float(const char* list) {
    return textCall([&] { return printFloatGeneral(varianceImpl(readFloats(list))); });
}

KARPA_EXPORT const char* cur_stddev_float(const char* list) {
    return textCall([&] { return printFloatGeneral(stddevImpl(readFloats(list))); });
}

KARPA_EXPORT const char* cur_median_float(const char* list) {
    return textCall([&] { return printFloatGeneral(medianImpl(readFloats(list))); });
}

KARPA_EXPORT const char* cur_dot_float(const char* a, const char* b) {
    return textCall([&] {
        const FloatList xs = readFloats(a);  // read completely before b is looked at
        const FloatList ys = readFloats(b);
        return printFloatRoundtrip(dotImpl(xs, ys));
    });
}

KARPA_EXPORT const char* cur_l2norm_float(const char* list) {
    return textCall([&] { return printFloatGeneral(l2normImpl(readFloats(list))); });
}
