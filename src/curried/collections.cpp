// The collection exports of karpa_curried: distinct values and counts of
// integer and string lists, and union, intersection and difference of string
// lists. String lists are the exact pieces between commas, empty ones
// included, so the empty text is one empty item (cur_distinct_string alone
// answers it at once).
#include "karpa/curried.h"  // the compiler checks each export against its declaration
#include "curried/collections.hpp"
#include "frame/exportcall.hpp"
#include "frame/textcodec.hpp"
#include "seq/listops.hpp"

using namespace karpa;

namespace {

StringList items(const char* list) { return split(argText(list), ','); }

}  // namespace

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
    return textCall([&] {
        const std::string_view text = argText(list);
        if (text.empty()) return "";
        return join(distinctImpl(split(text, ',')), ",");
    });
}

KARPA_EXPORT const char* cur_count_string(const char* list, const char* item) {
    return textCall([&] {
        const std::string_view wanted = argText(item);
        return printInt(countImpl(items(list), [wanted](std::string_view x) { return seenSame(x, wanted); }));
    });
}

KARPA_EXPORT const char* cur_union_string(const char* a, const char* b) {
    return textCall([&] {
        const StringList xs = items(a);
        const StringList ys = items(b);
        return join(unionImpl(xs, ys), ",");
    });
}

KARPA_EXPORT const char* cur_intersect_string(const char* a, const char* b) {
    return textCall([&] {
        const StringList xs = items(a);
        const StringList ys = items(b);
        return join(intersectImpl(xs, ys), ",");
    });
}

KARPA_EXPORT const char* cur_diff_string(const char* a, const char* b) {
    return textCall([&] {
        const StringList xs = items(a);
        const StringList ys = items(b);
        return join(diffImpl(xs, ys), ",");
    });
}
