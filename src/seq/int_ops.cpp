// The integer sequence exports of karpa_seq.
#include "karpa/seq.h"  // the compiler checks each export against its declaration
#include "frame/exportcall.hpp"
#include "frame/textcodec.hpp"
#include "seq/listops.hpp"
#include "seq/seenset.hpp"
#include "seq/sort.hpp"

namespace karpa {

int64_t sumImpl(const IntList& list) {
    if (list.empty()) return 0;
    int64_t s = list[0];
    for (size_t i = 1; i < list.size(); ++i) s = checkedAdd(s, list[i]);
    return s;
}

}  // namespace karpa

using namespace karpa;

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
    return textCall([&] { return printInt(sumImpl(parseInts(list))); });
}

KARPA_EXPORT const char* seq_reduce_max_int(const char* list) {
    return textCall([&] {
        const IntList xs = parseInts(list);
        if (xs.empty()) return "0";
        return printInt(pickImpl(xs, [](int64_t x, int64_t best) { return x > best; }));
    });
}

KARPA_EXPORT const char* seq_reduce_min_int(const char* list) {
    return textCall([&] {
        const IntList xs = parseInts(list);
        if (xs.empty()) return "0";
        return printInt(pickImpl(xs, [](int64_t x, int64_t best) { return x < best; }));
    });
}

KARPA_EXPORT const char* seq_sort_int(const char* list, int descending) {
    return textCall([&] {
        IntList xs = parseInts(list);
        sortDirected(xs, argInt(descending) != 0);
        return printIntList(xs);
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
