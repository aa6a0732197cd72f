// Every karpa_curried export on arbitrary texts and integers: a result is the
// null pointer or readable text, the same for the same arguments, and a null
// text reads as "".
#include "exports.hpp"
#include "karpa/curried.h"

namespace {

#define KARPA_EXPORT_ENTRY(f) {#f, textExport(f)}

const std::vector<NamedExport>& all() {
    static const std::vector<NamedExport> exports = {
        KARPA_EXPORT_ENTRY(cur_sum_int),          KARPA_EXPORT_ENTRY(cur_mean_int),
        KARPA_EXPORT_ENTRY(cur_min_int),          KARPA_EXPORT_ENTRY(cur_max_int),
        KARPA_EXPORT_ENTRY(cur_minmax_int),       KARPA_EXPORT_ENTRY(cur_variance_int),
        KARPA_EXPORT_ENTRY(cur_stddev_int),       KARPA_EXPORT_ENTRY(cur_median_int),
        KARPA_EXPORT_ENTRY(cur_dot_int),          KARPA_EXPORT_ENTRY(cur_l2norm_int),
        KARPA_EXPORT_ENTRY(cur_sum_float),        KARPA_EXPORT_ENTRY(cur_mean_float),
        KARPA_EXPORT_ENTRY(cur_min_float),        KARPA_EXPORT_ENTRY(cur_max_float),
        KARPA_EXPORT_ENTRY(cur_minmax_float),     KARPA_EXPORT_ENTRY(cur_variance_float),
        KARPA_EXPORT_ENTRY(cur_stddev_float),     KARPA_EXPORT_ENTRY(cur_median_float),
        KARPA_EXPORT_ENTRY(cur_dot_float),        KARPA_EXPORT_ENTRY(cur_l2norm_float),
        KARPA_EXPORT_ENTRY(cur_distinct_int),     KARPA_EXPORT_ENTRY(cur_count_int),
        KARPA_EXPORT_ENTRY(cur_distinct_string),  KARPA_EXPORT_ENTRY(cur_count_string),
        KARPA_EXPORT_ENTRY(cur_union_string),     KARPA_EXPORT_ENTRY(cur_intersect_string),
        KARPA_EXPORT_ENTRY(cur_diff_string),
    };
    return exports;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    onEveryTierRun([&] { fuzzExportTable(all(), data, size); });
    TovDestroyGlobals();
    return 0;
}
