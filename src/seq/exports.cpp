// The seq_* exports: read the list, run the core procedure, print.
// Integer lists print in decimal; float lists in the general form, the float
// sum and extremes in the round-trip form; string lists joined as they are.
#include "karpa/seq.h"  // the compiler checks each export against its declaration

#include "frame/exportcall.hpp"
#include "frame/codec/floatcodec.hpp"
#include "frame/codec/intscan.hpp"
#include "frame/codec/textcodec.hpp"
#include "seq/int_print.hpp"
#include "seq/listops.hpp"
#include "seq/seenset.hpp"
#include "seq/sort.hpp"
#include "seq/string_pieces.hpp"

using namespace karpa;

// Integer lists

KARPA_EXPORT const char* seq_map_int(const char* list, int factor) {
    return textCall([&] {
        const int64_t f = argInt(factor);
        return printIntList(mapImpl(parseInts(list), [f](int64_t x) { return checkedMul(x, f); }));
    });
}

KARPA_EXPORT const char* seq_filter_int(const char* list, int threshold) {
    return textCall([&] {
        const int64_t t = argInt(threshold);
        return printIntList(filterImpl(parseInts(list), [t](int64_t x) { return x > t; }));
    });
}

KARPA_EXPORT const char* seq_reduce_sum_int(const char* list) {
    return textCall([&](ArenaState& arena) { return printInt(arena, readIntSum(argText(list))); });
}

KARPA_EXPORT const char* seq_reduce_max_int(const char* list) {
    return textCall([&](ArenaState& arena) {
        const auto extremes = readIntExtremes(argText(list));
        if (!extremes.any) return "0";
        return printInt(arena, extremes.max);
    });
}

KARPA_EXPORT const char* seq_reduce_min_int(const char* list) {
    return textCall([&](ArenaState& arena) {
        const auto extremes = readIntExtremes(argText(list));
        if (!extremes.any) return "0";
        return printInt(arena, extremes.min);
    });
}

KARPA_EXPORT const char* seq_sort_int(const char* list, int descending) {
    return textCall([&] {
        IntList xs = parseInts(list);
        sortDirected(xs, argInt(descending) != 0);
        return printIntListInRuns(xs);  // neighbours in a sorted list mostly share their width
    });
}

KARPA_EXPORT const char* seq_unique_int(const char* list) {
    return textCall([&] { return printIntList(uniqueImpl(parseInts(list))); });
}

KARPA_EXPORT const char* seq_count_int(const char* list, int threshold) {
    return textCall([&] {
        const int64_t t = argInt(threshold);
        return printInt(countImpl(parseInts(list), [t](int64_t x) { return x > t; }));
    });
}

KARPA_EXPORT const char* seq_reverse_int(const char* list) {
    return textCall([&] { return printIntList(reverseImpl(parseInts(list))); });
}

KARPA_EXPORT const char* seq_take_int(const char* list, int count) {
    return textCall([&] { return printIntList(takeImpl(parseInts(list), argInt(count))); });
}

KARPA_EXPORT const char* seq_skip_int(const char* list, int count) {
    return textCall([&] { return printIntList(skipImpl(parseInts(list), argInt(count))); });
}

// Float lists. The list is read before the number argument, so a bad list is
// the error reported.

KARPA_EXPORT const char* seq_map_float(const char* list, const char* factor) {
    return textCall([&] {
        const FloatList xs = parseFloats(list);
        const double f = parseFloat(argText(factor));
        return printFloatGeneralList(mapImpl(xs, [f](double x) { return x * f; }));
    });
}

KARPA_EXPORT const char* seq_filter_float(const char* list, const char* threshold) {
    return textCall([&] {
        const FloatList xs = parseFloats(list);
        const double t = parseFloat(argText(threshold));
        return printFloatGeneralList(filterImpl(xs, [t](double x) { return x > t; }));
    });
}

KARPA_EXPORT const char* seq_reduce_sum_float(const char* list) {
    return textCall([&](ArenaState& arena) { return printFloatRoundtrip(arena, readFloatSum(argText(list))); });
}

KARPA_EXPORT const char* seq_reduce_max_float(const char* list) {
    return textCall(
        [&](ArenaState& arena) { return printFloatExtreme(arena, argText(list), &Extremes<double>::max); });
}

KARPA_EXPORT const char* seq_reduce_min_float(const char* list) {
    return textCall(
        [&](ArenaState& arena) { return printFloatExtreme(arena, argText(list), &Extremes<double>::min); });
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
        const FloatList xs = parseFloats(list);
        const double t = parseFloat(argText(threshold));
        return printInt(countImpl(xs, [t](double x) { return x > t; }));
    });
}

KARPA_EXPORT const char* seq_reverse_float(const char* list) {
    return textCall([&] { return printFloatGeneralList(reverseImpl(parseFloats(list))); });
}

// String lists: the exact pieces between commas. An empty list text is
// answered before the other arguments are looked at.

KARPA_EXPORT const char* seq_map_string(const char* list, const char* prefix, const char* suffix) {
    return textCall([&] { return mapStringsImpl(argText(list), argText(prefix), argText(suffix)); });
}

KARPA_EXPORT const char* seq_filter_string(const char* list, int min_length) {
    return textCall([&] { return filterStringsImpl(argText(list), strippedLengthAtLeast(argInt(min_length))); });
}

KARPA_EXPORT const char* seq_count_string(const char* list, int min_length) {
    return textCall([&] {
        const std::string_view text = argText(list);
        if (text.empty()) return "0";
        return printInt(countPiecesImpl(text, strippedLengthAtLeast(argInt(min_length))));
    });
}

KARPA_EXPORT const char* seq_sort_string(const char* list, int descending) {
    return textCall([&] { return sortStringsImpl(argText(list), argInt(descending) != 0); });
}

KARPA_EXPORT const char* seq_unique_string(const char* list) {
    return textCall([&] { return uniqueStringsImpl(argText(list)); });
}

KARPA_EXPORT const char* seq_reverse_string(const char* list) {
    return textCall([&] { return reverseStringsImpl(argText(list)); });
}

KARPA_EXPORT const char* seq_take_string(const char* list, int count) {
    return textCall([&] { return takeStringsImpl(argText(list), argInt(count)); });
}

KARPA_EXPORT const char* seq_skip_string(const char* list, int count) {
    return textCall([&] { return skipStringsImpl(argText(list), argInt(count)); });
}
