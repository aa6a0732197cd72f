// Float reading: any bytes as a float list and as a float parameter. Which
// texts are accepted must match the model exactly; the value of a single
// accepted element (printed back exactly by seq_reduce_max_float) must equal
// the correctly rounded value that strtod gives for the same decimal text, and
// so must the sum and the extremes of an accepted list's elements. A single
// element is printed the same whether or not an empty piece follows it.
#include <cmath>

#include "float_model.hpp"
#include "karpa/seq.h"

static int checkInput(const uint8_t* data, size_t size) {
    const std::string text = asArgument({reinterpret_cast<const char*>(data), size});

    // As list text: accepted when every non-empty stripped piece is a float.
    bool listAccepted = true;
    for (std::string_view piece : pieces(text)) {
        piece = stripped(piece);
        if (!piece.empty() && !modelFloat(piece).accepted) listAccepted = false;
    }
    const auto reversed = take(seq_reverse_float(text.c_str()));
    FUZZ_CHECK(reversed.has_value() == listAccepted, text, shown(reversed));

    // The sum, taken while reading: the model's values added from +0.0 in
    // list order, printed back exactly.
    const auto sum = take(seq_reduce_sum_float(text.c_str()));
    FUZZ_CHECK(sum.has_value() == listAccepted, text, shown(sum));
    double modelSum = 0.0;
    bool sumKnown = listAccepted;
    for (std::string_view piece : pieces(text)) {
        piece = stripped(piece);
        if (piece.empty() || !sumKnown) continue;
        const FloatReading element = modelFloat(piece);
        sumKnown = element.valueKnown;
        modelSum = modelSum + (element.isNan ? std::nan("") : element.value);
    }
    if (sum && sumKnown) {
        if (std::isnan(modelSum)) {
            FUZZ_CHECK(*sum == "nan", text, shown(sum));
        } else {
            FUZZ_CHECK(bitsOf(std::strtod(sum->c_str(), nullptr)) == bitsOf(modelSum), text, shown(sum));
        }
    }

    // The extremes, taken while reading: the first value, replaced only by a
    // smaller (larger) one, so a NaN stays only when it comes first.
    const auto largest = take(seq_reduce_max_float(text.c_str()));
    const auto smallest = take(seq_reduce_min_float(text.c_str()));
    FUZZ_CHECK(largest.has_value() == listAccepted && smallest.has_value() == listAccepted, text, shown(largest));
    bool extremesKnown = listAccepted;
    bool any = false;
    double lo = 0.0, hi = 0.0;
    for (std::string_view piece : pieces(text)) {
        piece = stripped(piece);
        if (piece.empty() || !extremesKnown) continue;
        const FloatReading element = modelFloat(piece);
        extremesKnown = element.valueKnown;
        const double x = element.isNan ? std::nan("") : element.value;
        if (!any) {
            lo = hi = x;
            any = true;
        }
        if (x < lo) lo = x;
        if (x > hi) hi = x;
    }
    if (largest && smallest && extremesKnown) {
        for (const auto& [printed, expected] : {std::pair{*largest, hi}, std::pair{*smallest, lo}}) {
            if (!any) {
                FUZZ_CHECK(printed == "0.0", text, printed);
            } else if (std::isnan(expected)) {
                FUZZ_CHECK(printed == "nan", text, printed);
            } else {
                FUZZ_CHECK(bitsOf(std::strtod(printed.c_str(), nullptr)) == bitsOf(expected), text, printed);
            }
        }
    }

    // One element: its value, printed in the round-trip form.
    const std::string_view element = stripped(text);
    if (text.find(',') == std::string::npos && !element.empty()) {
        const FloatReading model = modelFloat(element);
        const auto printed = take(seq_reduce_max_float(text.c_str()));
        FUZZ_CHECK(printed.has_value() == model.accepted, text, shown(printed));
        if (printed && model.valueKnown) {
            if (model.isNan) {
                FUZZ_CHECK(*printed == "nan", text, shown(printed));
            } else {
                const double back = std::strtod(printed->c_str(), nullptr);
                FUZZ_CHECK(bitsOf(back) == bitsOf(model.value), text, shown(printed), std::to_string(model.value));
            }
        }
        if (printed) {
            // Reading the printed text again gives the same text.
            FUZZ_CHECK(take(seq_reduce_max_float(printed->c_str())) == printed, text, shown(printed));
            // A one-value list may be printed from its own digits; with an
            // empty piece after it, it takes the general way: same text.
            FUZZ_CHECK(take(seq_reduce_max_float((text + ",").c_str())) == printed, text, shown(printed));
        }
    }

    // As a parameter: read whole, nothing stripped.
    const FloatReading parameter = modelFloat(text);
    const auto count = take(seq_count_float("0", text.c_str()));
    FUZZ_CHECK(count.has_value() == parameter.accepted, text, shown(count));
    if (count && parameter.valueKnown) {
        const bool below = !parameter.isNan && 0.0 > parameter.value;
        FUZZ_CHECK(*count == (below ? "1" : "0"), text, shown(count));
    }
    return 0;
}

// Every tier the processor has reads the input against the model.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    onEveryTierRun([&] { checkInput(data, size); });
    return 0;
}
