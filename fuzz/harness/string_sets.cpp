// The curried string sets, which walk both texts piece by piece, against a
// model over std::string pieces: every text is its pieces, the empty one
// included (one empty piece), except for distinct, where it is no item.
#include "karpa/curried.h"
#include "string_model.hpp"

using namespace string_model;

static int checkInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = drawText(in);
    const std::string other = drawText(in);
    const Strings a = allPieces(text);
    const Strings b = allPieces(other);

    FUZZ_CHECK(take(cur_distinct_string(text.c_str())) == (text.empty() ? "" : join(firstOccurrences(a))), text);
    Strings both = a;
    both.insert(both.end(), b.begin(), b.end());
    FUZZ_CHECK(take(cur_union_string(text.c_str(), other.c_str())) == join(firstOccurrences(both)), text, other);
    Strings common, rest;
    for (const auto& x : a) {
        if (has(b, x) && !has(common, x)) common.push_back(x);
        if (!has(b, x)) rest.push_back(x);
    }
    FUZZ_CHECK(take(cur_intersect_string(text.c_str(), other.c_str())) == join(common), text, other);
    FUZZ_CHECK(take(cur_diff_string(text.c_str(), other.c_str())) == join(rest), text, other);
    const std::string& item = b[b.size() / 2];
    FUZZ_CHECK(take(cur_count_string(text.c_str(), item.c_str())) == std::to_string(std::count(a.begin(), a.end(), item)),
               text, item);
    return 0;
}

// Every tier the processor has reads the input against the model.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    onEveryTierRun([&] { checkInput(data, size); });
    return 0;
}
