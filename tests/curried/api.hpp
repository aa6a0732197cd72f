// The C interface of karpa_curried, for tests that link the library's objects.
#pragma once

extern "C" {
const char* cur_sum_int(const char* list);
const char* cur_mean_int(const char* list);
const char* cur_min_int(const char* list);
const char* cur_max_int(const char* list);
const char* cur_minmax_int(const char* list);
const char* cur_variance_int(const char* list);
const char* cur_stddev_int(const char* list);
const char* cur_median_int(const char* list);
const char* cur_dot_int(const char* a, const char* b);
const char* cur_l2norm_int(const char* list);
const char* cur_sum_float(const char* list);
const char* cur_mean_float(const char* list);
const char* cur_min_float(const char* list);
const char* cur_max_float(const char* list);
const char* cur_minmax_float(const char* list);
const char* cur_variance_float(const char* list);
const char* cur_stddev_float(const char* list);
const char* cur_median_float(const char* list);
const char* cur_dot_float(const char* a, const char* b);
const char* cur_l2norm_float(const char* list);
const char* cur_distinct_int(const char* list);
const char* cur_count_int(const char* list, int value);
const char* cur_distinct_string(const char* list);
const char* cur_count_string(const char* list, const char* item);
const char* cur_union_string(const char* a, const char* b);
const char* cur_intersect_string(const char* a, const char* b);
const char* cur_diff_string(const char* a, const char* b);
}
