// The string sequence exports of karpa_seq. Items are the exact pieces between
// commas; only map, filter and count look at a stripped copy of an item.
#include "karpa/seq.h"  // the compiler checks each export against its declaration
#include "frame/exportcall.hpp"
#include "frame/textcodec.hpp"
#include "seq/listops.hpp"
#include "seq/seenset.hpp"
#include "seq/sort.hpp"

namespace karpa {

// prefix + strip(item) + suffix for every item, written straight into the
// joined result, which is reserved once.
const char* mapStringsImpl(const StringList& items, std::string_view prefix, std::string_view suffix) {
    size_t total = items.size() - 1 + items.size() * (prefix.size() + suffix.size());
    for (const std::string_view item : items) total += strip(item).size();
    if (total == 0) return "";
    TextBuilder out;
    out.reserve(total);
    for (size_t i = 0; i < items.size(); ++i) {
        if (i != 0) out.push(',');
        out.append(prefix);
        out.append(strip(items[i]));
        out.append(suffix);
    }
    return out.finish();
}

}  // namespace karpa

using namespace karpa;

namespace {

// An empty list text is answered at once, before anything else is looked at.
template <class Body>
const char* stringListCall(const char* list, const char* emptyAnswer, Body&& body) {
    return textCall([&]() -> const char* {
        const std::string_view text = argText(list);
        if (text.empty()) return emptyAnswer;
        return body(split(text, ','));
    });
}

auto longEnough(int64_t minLength) {
    return [minLength](std::string_view item) { return static_cast<int64_t>(strip(item).size()) >= minLength; };
}

}  // namespace

KARPA_EXPORT const char* seq_map_string(const char* list, const char* prefix, const char* suffix) {
    return stringListCall(list, "", [&](const StringList& items) {
        return mapStringsImpl(items, argText(prefix), argText(suffix));
    });
}

KARPA_EXPORT const char* seq_filter_string(const char* list, int min_length) {
    return stringListCall(list, "", [&](const StringList& items) {
        return join(filterImpl(items, longEnough(argInt(min_length))), ",");
    });
}

KARPA_EXPORT const char* seq_count_string(const char* list, int min_length) {
    return stringListCall(list, "0", [&](const StringList& items) {
        return printInt(countImpl(items, longEnough(argInt(min_length))));
    });
}

KARPA_EXPORT const char* seq_sort_string(const char* list, int descending) {
    return textCall([&] {
        StringList items = split(argText(list), ',');
        sortDirected(items, argInt(descending) != 0);
        return join(items, ",");
    });
}

KARPA_EXPORT const char* seq_unique_string(const char* list) {
    return stringListCall(list, "", [&](const StringList& items) { return join(uniqueImpl(items), ","); });
}

KARPA_EXPORT const char* seq_reverse_string(const char* list) {
    return stringListCall(list, "", [&](const StringList& items) { return join(reverseImpl(items), ","); });
}

KARPA_EXPORT const char* seq_take_string(const char* list, int count) {
    return stringListCall(list, "", [&](const StringList& items) { return join(takeImpl(items, argInt(count)), ","); });
}

KARPA_EXPORT const char* seq_skip_string(const char* list, int count) {
    return stringListCall(list, "", [&](const StringList& items) { return join(skipImpl(items, argInt(count)), ","); });
}
