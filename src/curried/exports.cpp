// The cur_* exports: read the lists, run the core procedure, print.
// Integer results print in decimal; "exact" float results in the round-trip
// form, the others in the general form. String lists are the exact pieces
// between commas, empty ones included, so the empty text is one empty item
// (cur_distinct_string alone answers it at once).
#include "karpa/curried.h"  // the compiler checks each export against its declaration

#include "curried/collections.hpp"
#include "curried/stats.hpp"
#include "frame/exportcall.hpp"
#include "frame/codec/floatcodec.hpp"
#include "frame/codec/intscan.hpp"
#include "frame/codec/textcodec.hpp"
#include "seq/listops.hpp"

using namespace karpa;

// Integer statistics

KARPA_EXPORT const char* cur_sum_int(const char* list) {
    return textCall([&](ArenaState& arena) { return printInt(arena, readIntSum(argText(list))); });
}

KARPA_EXPORT const char* cur_mean_int(const char* list) {
    return textCall([&] { return printFloatGeneral(meanImpl(parseCsvInts(argText(list)))); });
}

KARPA_EXPORT const char* cur_min_int(const char* list) {
    return textCall([&](ArenaState& arena) {
        const auto extremes = readIntExtremes(argText(list));
        if (!extremes.any) return "0";
        return printInt(arena, extremes.min);
    });
}

KARPA_EXPORT const char* cur_max_int(const char* list) {
    return textCall([&](ArenaState& arena) {
        const auto extremes = readIntExtremes(argText(list));
        if (!extremes.any) return "0";
        return printInt(arena, extremes.max);
    });
}

KARPA_EXPORT const char* cur_minmax_int(const char* list) {
    return textCall([&] {
        const Extremes<int64_t> extremes = readIntExtremes(argText(list));
        if (!extremes.any) return ",";
        return printIntPair(extremes.min, extremes.max);
    });
}

KARPA_EXPORT const char* cur_variance_int(const char* list) {
    return textCall([&] { return printFloatGeneral(varianceImpl(parseCsvInts(argText(list)))); });
}

KARPA_EXPORT const char* cur_stddev_int(const char* list) {
    return textCall([&] { return printFloatGeneral(stddevImpl(parseCsvInts(argText(list)))); });
}

KARPA_EXPORT const char* cur_median_int(const char* list) {
    return textCall([&] { return printFloatGeneral(medianImpl(parseCsvInts(argText(list)))); });
}

KARPA_EXPORT const char* cur_dot_int(const char* a, const char* b) {
    return textCall([&] {
        const IntList xs = parseCsvInts(argText(a));  // read completely before b is looked at
        return printInt(dotImpl(xs, argText(b)));
    });
}

KARPA_EXPORT const char* cur_l2norm_int(const char* list) {
    return textCall([&] { return printFloatGeneral(l2normImpl(parseCsvInts(argText(list)))); });
}

// Float statistics

KARPA_EXPORT const char* cur_sum_float(const char* list) {
    return textCall([&](ArenaState& arena) { return printFloatRoundtrip(arena, readFloatSum(argText(list))); });
}

KARPA_EXPORT const char* cur_mean_float(const char* list) {
    return textCall([&] { return printFloatGeneral(meanImpl(parseCsvFloats(argText(list)))); });
}

KARPA_EXPORT const char* cur_min_float(const char* list) {
    return textCall(
        [&](ArenaState& arena) { return printFloatExtreme(arena, argText(list), &Extremes<double>::min); });
}

KARPA_EXPORT const char* cur_max_float(const char* list) {
    return textCall(
        [&](ArenaState& arena) { return printFloatExtreme(arena, argText(list), &Extremes<double>::max); });
}

KARPA_EXPORT const char* cur_minmax_float(const char* list) {
    return textCall([&](ArenaState& arena) { return printFloatMinMax(arena, argText(list)); });
}

KARPA_EXPORT const char* cur_variance_float(const char* list) {
    return textCall([&] { return printFloatGeneral(varianceImpl(parseCsvFloats(argText(list)))); });
}

KARPA_EXPORT const char* cur_stddev_float(const char* list) {
    return textCall([&] { return printFloatGeneral(stddevImpl(parseCsvFloats(argText(list)))); });
}

KARPA_EXPORT const char* cur_median_float(const char* list) {
    return textCall([&] { return printFloatGeneral(medianImpl(parseCsvFloats(argText(list)))); });
}

KARPA_EXPORT const char* cur_dot_float(const char* a, const char* b) {
    return textCall([&] {
        const FloatList xs = parseCsvFloats(argText(a));  // read completely before b is looked at
        const FloatList ys = parseCsvFloats(argText(b));
        return printFloatRoundtrip(dotImpl(xs, ys));
    });
}

KARPA_EXPORT const char* cur_l2norm_float(const char* list) {
    return textCall([&] { return printFloatGeneral(l2normImpl(parseCsvFloats(argText(list)))); });
}

// Collections

KARPA_EXPORT const char* cur_distinct_int(const char* list) {
    return textCall([&] { return printIntList(distinctImpl(parseCsvInts(argText(list)))); });
}

KARPA_EXPORT const char* cur_count_int(const char* list, int value) {
    return textCall([&] {
        const int64_t v = argInt(value);
        return printInt(countImpl(parseCsvInts(argText(list)), [v](int64_t x) { return x == v; }));
    });
}

KARPA_EXPORT const char* cur_distinct_string(const char* list) {
    return textCall([&] { return uniqueStringsImpl(argText(list)); });
}

KARPA_EXPORT const char* cur_count_string(const char* list, const char* item) {
    return textCall([&] {
        const std::string_view wanted = argText(item);
        return printInt(countPiecesImpl(argText(list), [wanted](std::string_view x) { return seenSame(x, wanted); }));
    });
}

KARPA_EXPORT const char* cur_union_string(const char* a, const char* b) {
    return textCall([&] { return unionStringsImpl(argText(a), argText(b)); });
}

KARPA_EXPORT const char* cur_intersect_string(const char* a, const char* b) {
    return textCall([&] { return intersectStringsImpl(argText(a), argText(b)); });
}

KARPA_EXPORT const char* cur_diff_string(const char* a, const char* b) {
    return textCall([&] { return diffStringsImpl(argText(a), argText(b)); });
}
