// Every karpa_seq export on arbitrary texts and integers: a result is the
// null pointer or readable text, the same for the same arguments, and a null
// text reads as "".
#include <bit>
#include <cmath>
#include <random>

#include "exports.hpp"
#include "karpa/seq.h"
#include "frame/codec/textcodec.hpp"
#include "seq/int_print.hpp"
#include "../../tests/support/merge_steps.hpp"

namespace {

const std::vector<NamedExport>& all() {
    static const std::vector<NamedExport> exports = {
        {"seq_map_int", textExport(seq_map_int)},
        {"seq_filter_int", textExport(seq_filter_int)},
        {"seq_reduce_sum_int", textExport(seq_reduce_sum_int)},
        {"seq_reduce_max_int", textExport(seq_reduce_max_int)},
        {"seq_reduce_min_int", textExport(seq_reduce_min_int)},
        {"seq_sort_int", textExport(seq_sort_int)},
        {"seq_unique_int", textExport(seq_unique_int)},
        {"seq_count_int", textExport(seq_count_int)},
        {"seq_reverse_int", textExport(seq_reverse_int)},
        {"seq_take_int", textExport(seq_take_int)},
        {"seq_skip_int", textExport(seq_skip_int)},
        {"seq_map_float", textExport(seq_map_float)},
        {"seq_filter_float", textExport(seq_filter_float)},
        {"seq_reduce_sum_float", textExport(seq_reduce_sum_float)},
        {"seq_reduce_max_float", textExport(seq_reduce_max_float)},
        {"seq_reduce_min_float", textExport(seq_reduce_min_float)},
        {"seq_sort_float", textExport(seq_sort_float)},
        {"seq_unique_float", textExport(seq_unique_float)},
        {"seq_count_float", textExport(seq_count_float)},
        {"seq_reverse_float", textExport(seq_reverse_float)},
        {"seq_map_string", textExport(seq_map_string)},
        {"seq_filter_string", textExport(seq_filter_string)},
        {"seq_count_string", textExport(seq_count_string)},
        {"seq_sort_string", textExport(seq_sort_string)},
        {"seq_unique_string", textExport(seq_unique_string)},
        {"seq_reverse_string", textExport(seq_reverse_string)},
        {"seq_take_string", textExport(seq_take_string)},
        {"seq_skip_string", textExport(seq_skip_string)},
    };
    return exports;
}

// Floats drawn from ties, both zeros, infinities, NaN and raw bits.
void checkFloatSort(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    static const double pool[] = {0.0, -0.0, 1.0, -1.0, INFINITY, -INFINITY, NAN, 5e-324, 2.5};
    std::vector<double> xs(in.ConsumeIntegralInRange<size_t>(0, 300));
    for (double& x : xs) {
        x = in.ConsumeBool() ? pool[in.ConsumeIntegralInRange<size_t>(0, std::size(pool) - 1)]
                             : std::bit_cast<double>(in.ConsumeIntegral<uint64_t>());
    }
    for (bool descending : {false, true}) {
        const int64_t mismatch = floatSortMismatch(xs, descending);
        FUZZ_CHECK(mismatch == -1, "float sort", (long long)mismatch, (long long)descending);
    }
}

// Integer lists long enough for the counting sort: values from a span and a
// base the input chooses (the 64-bit limits within reach), some repeated
// past a byte's count, or spread wide for the bucket sort, against the
// literal steps; the run printer against
// the one-item printer.
void checkIntSort(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    // One input in four makes a list past the counting threshold (4096).
    const bool counted = in.ConsumeIntegralInRange<unsigned>(0, 3) == 0;
    const size_t n =
        counted ? in.ConsumeIntegralInRange<size_t>(4096, 5000) : in.ConsumeIntegralInRange<size_t>(0, 300);
    const bool descending = in.ConsumeBool();
    const uint64_t span = in.ConsumeIntegralInRange<uint64_t>(1, 5 * n + 8);  // dense up to 4n
    const uint64_t base = in.ConsumeIntegral<uint64_t>();
    const unsigned repeatEvery = in.ConsumeIntegralInRange<unsigned>(0, 8);
    std::mt19937_64 rng(in.ConsumeIntegral<uint64_t>());
    // Spread apart by a shift, the values leave the counting range for the
    // bucket sort, on bucket edges and with the base as a far cluster.
    const unsigned spread = in.ConsumeIntegralInRange<unsigned>(0, 63);
    std::vector<int64_t> xs(n);
    for (size_t i = 0; i < n; ++i) {
        xs[i] = repeatEvery != 0 && i % repeatEvery == 0 ? static_cast<int64_t>(base)
                                                        : static_cast<int64_t>(base + ((rng() % span) << spread));
    }
    std::vector<int64_t> expected = xs;
    literalMergeSortDirected(expected, descending);
    karpa::IntList got(xs.begin(), xs.end());
    karpa::sortDirected(got, descending);
    FUZZ_CHECK(std::equal(got.begin(), got.end(), expected.begin()), "int sort", (long long)n, (long long)descending);
    FUZZ_CHECK(std::string(karpa::printIntListInRuns(got)) == karpa::printIntList(got), "int run printer",
               (long long)n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    onEveryTierRun([&] {
        fuzzExportTable(all(), data, size);
        checkFloatSort(data, size);
        checkIntSort(data, size);
    });
    TovDestroyGlobals();
    return 0;
}
