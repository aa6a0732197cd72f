// Integer list reading: any bytes as list text, checked against an
// independent model of the list rule through several seq exports, on every
// processor tier.
#include <algorithm>
#include <set>

#include "common.hpp"
#include "karpa/seq.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = asArgument({reinterpret_cast<const char*>(data), size});
    const std::optional<std::vector<int64_t>> list = readNumberList<int64_t>(text, modelInt);

    // Every tier first gives the baseline's answers.
    const auto answers = onEveryTier(text, [&text] {
        const char* t = text.c_str();
        return std::vector<std::optional<std::string>>{
            take(seq_reverse_int(t)),      take(seq_sort_int(t, 0)),        take(seq_sort_int(t, 1)),
            take(seq_reduce_sum_int(t)),   take(seq_unique_int(t)),         take(seq_count_int(t, 0)),
            take(seq_reduce_max_int(t)),   take(seq_reduce_min_int(t))};
    });
    const auto& reversed = answers[0];
    const auto& sorted = answers[1];
    const auto& sortedDown = answers[2];
    const auto& sum = answers[3];
    const auto& unique = answers[4];
    const auto& positives = answers[5];
    const auto& largest = answers[6];
    const auto& smallest = answers[7];
    if (!list) {
        FUZZ_CHECK(!reversed && !sorted && !sortedDown && !sum && !unique && !positives && !largest && !smallest, text,
                   shown(reversed));
        return 0;
    }
    std::vector<int64_t> xs = *list;
    std::reverse(xs.begin(), xs.end());
    FUZZ_CHECK(reversed == joinInts(xs), text, shown(reversed));

    xs = *list;
    std::stable_sort(xs.begin(), xs.end());
    FUZZ_CHECK(sorted == joinInts(xs), text, shown(sorted));
    std::reverse(xs.begin(), xs.end());
    FUZZ_CHECK(sortedDown == joinInts(xs), text, shown(sortedDown));

    // The running sum fails at the first partial sum outside 64 bits.
    std::optional<std::string> expectedSum = "0";
    if (!list->empty()) {
        int64_t s = (*list)[0];
        for (size_t i = 1; i < list->size() && expectedSum; ++i) {
            if (__builtin_add_overflow(s, (*list)[i], &s)) expectedSum.reset();
        }
        if (expectedSum) expectedSum = std::to_string(s);
    }
    FUZZ_CHECK(sum == expectedSum, text, shown(sum), shown(expectedSum));

    std::vector<int64_t> firsts;
    std::set<int64_t> seen;
    for (int64_t x : *list) {
        if (seen.insert(x).second) firsts.push_back(x);
    }
    FUZZ_CHECK(unique == joinInts(firsts), text, shown(unique));

    // The extremes, taken while reading; "0" for no element.
    const bool none = list->empty();
    FUZZ_CHECK(largest == (none ? "0" : std::to_string(*std::max_element(list->begin(), list->end()))), text, shown(largest));
    FUZZ_CHECK(smallest == (none ? "0" : std::to_string(*std::min_element(list->begin(), list->end()))), text, shown(smallest));

    const auto count = std::count_if(list->begin(), list->end(), [](int64_t x) { return x > 0; });
    FUZZ_CHECK(positives == std::to_string(count), text, shown(positives));
    return 0;
}
