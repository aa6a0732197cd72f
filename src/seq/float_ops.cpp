// The float sequence exports of karpa_seq. Lists print in the general form,
// the sum and the extremes in the round-trip form, the count as an integer.
#include <utility>

#include "frame/exportcall.hpp"
#include "frame/floatcodec.hpp"
#include "frame/textcodec.hpp"
#include "seq/listops.hpp"
#include "seq/seenset.hpp"
#include "seq/sort.hpp"

namespace karpa {
namespace {

// Left to right from +0.0, one rounding per addition.
double sumImpl(const FloatList& list) {
    double s = 0.0;
    for (const double x : list) s += x;
    return s;
}

// The list is read before the parameter, so a bad list is the error reported.
struct ListAndNumber {
    FloatList list;
    double number;
};

ListAndNumber readListAndNumber(const char* list, const char* number) {
    FloatList xs = parseFloats(list);
    const double n = parseFloat(argText(number));
    return {std::move(xs), n};
}

}  // namespace
}  // namespace karpa

using namespace karpa;

KARPA_EXPORT const char* seq_map_float(const char* list, const char* factor) {
    return textCall([&] {
        const auto [xs, f] = readListAndNumber(list, factor);
        // Structured bindings are captured by init-capture, which every compiler accepts.
        return printFloatGeneralList(mapImpl(xs, [f = f](double x) { return x * f; }));
    });
}

KARPA_EXPORT const char* seq_filter_float(const char* list, const char* threshold) {
    return textCall([&] {
        const auto [xs, t] = readListAndNumber(list, threshold);
        return printFloatGeneralList(filterImpl(xs, [t = t](double x) { return x > t; }));
    });
}

KARPA_EXPORT const char* seq_reduce_sum_float(const char* list) {
    return textCall([&] { return printFloatRoundtrip(sumImpl(parseFloats(list))); });
}

KARPA_EXPORT const char* seq_reduce_max_float(const char* list) {
    return textCall([&] {
        const FloatList xs = parseFloats(list);
        if (xs.empty()) return "0.0";
        return printFloatRoundtrip(pickImpl(xs, [](double x, double best) { return x > best; }));
    });
}

KARPA_EXPORT const char* seq_reduce_min_float(const char* list) {
    return textCall([&] {
        const FloatList xs = parseFloats(list);
        if (xs.empty()) return "0.0";
        return printFloatRoundtrip(pickImpl(xs, [](double x, double best) { return x < best; }));
    });
}

KARPA_EXPORT const char* seq_sort_float(const char* list, int descending) {
    return textCall([&] {
        FloatList xs = parseFloats(list);
        sortDirected(xs, argInt(descending) != 0);
        return printFloatGeneralList(xs);
    });
}

KARPA_EXPORT const char* seq_unique_float(const char* list) {
    return textCall([&] { return printFloatGeneralList(uniqueImpl(parseFloats(list))); });
}

KARPA_EXPORT const char* seq_count_float(const char* list, const char* threshold) {
    return textCall([&] {
        const auto [xs, t] = readListAndNumber(list, threshold);
        return printInt(countImpl(xs, [t = t](double x) { return x > t; }));
    });
}

KARPA_EXPORT const char* seq_reverse_float(const char* list) {
    return textCall([&] { return printFloatGeneralList(reverseImpl(parseFloats(list))); });
}
