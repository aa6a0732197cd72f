// The seq string exports, which walk the list text piece by piece, and the
// string sort, against a model over std::string pieces.
#include <functional>

#include "karpa/seq.h"
#include "seq/string_pieces.hpp"
#include "string_model.hpp"

using namespace string_model;

static int checkInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = drawText(in);
    const int k = in.ConsumeIntegralInRange<int>(-3, 30);
    const Strings xs = text.empty() ? Strings() : allPieces(text);  // the empty text is the empty list

    Strings up = xs;
    std::stable_sort(up.begin(), up.end());
    FUZZ_CHECK(take(seq_sort_string(text.c_str(), 0)) == join(up), text);
    Strings down = xs;
    std::stable_sort(down.begin(), down.end(), std::greater<>());
    FUZZ_CHECK(take(seq_sort_string(text.c_str(), 1)) == join(down), text);
    // Both ways of sorting, whichever the export chose: by records, and by
    // counting where the list has few enough distinct pieces.
    if (!text.empty()) {
        FUZZ_CHECK(std::string(karpa::sortPiecesAs<uint32_t>(text, false)) == join(up), text);
        FUZZ_CHECK(std::string(karpa::sortPiecesAs<uint32_t>(text, true)) == join(down), text);
        const char* counted = karpa::sortFewDistinct(text, xs.size(), false);
        FUZZ_CHECK(counted == nullptr || std::string(counted) == join(up), text);
        counted = karpa::sortFewDistinct(text, xs.size(), true);
        FUZZ_CHECK(counted == nullptr || std::string(counted) == join(down), text);
    }

    FUZZ_CHECK(take(seq_unique_string(text.c_str())) == join(firstOccurrences(xs)), text);
    FUZZ_CHECK(take(seq_reverse_string(text.c_str())) == join(Strings(xs.rbegin(), xs.rend())), text);

    Strings kept, mapped;
    for (const auto& x : xs) {
        if (static_cast<int>(stripped(x).size()) >= k) kept.push_back(x);
        mapped.push_back("<" + std::string(stripped(x)) + ">");
    }
    FUZZ_CHECK(take(seq_filter_string(text.c_str(), k)) == join(kept), text, (long long)k);
    FUZZ_CHECK(take(seq_count_string(text.c_str(), k)) == std::to_string(kept.size()), text, (long long)k);
    FUZZ_CHECK(take(seq_map_string(text.c_str(), "<", ">")) == join(mapped), text);

    // A negative count fails, unless the list is empty.
    const std::optional<std::string> failed;
    const bool refused = k < 0 && !xs.empty();
    const size_t cut = std::min<size_t>(std::max(k, 0), xs.size());
    FUZZ_CHECK(take(seq_take_string(text.c_str(), k)) == (refused ? failed : join(Strings(xs.begin(), xs.begin() + cut))),
               text, (long long)k);
    FUZZ_CHECK(take(seq_skip_string(text.c_str(), k)) == (refused ? failed : join(Strings(xs.begin() + cut, xs.end()))),
               text, (long long)k);
    return 0;
}

// Every tier the processor has reads the input against the model.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    onEveryTierRun([&] { checkInput(data, size); });
    return 0;
}
