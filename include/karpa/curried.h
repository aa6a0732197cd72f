/*
 * karpa_curried: statistics over number lists and set operations over string lists.
 * Link with -lkarpa_curried (pkg-config karpa-curried). See karpa/karpa.h for the contract.
 *
 * Number lists follow karpa_seq's rules. Integer sums and products are
 * overflow-checked (an overflow fails); float arithmetic is plain binary64 in
 * list order. Results marked "general" have six significant digits ("%g":
 * "1.66667", "2", "1e+06"); results marked "exact" are the shortest text that
 * reads back to the same double ("0.30000000000000004", "1.0", "nan").
 */
#ifndef KARPA_CURRIED_H
#define KARPA_CURRIED_H

#include "karpa/lifecycle.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Integer statistics */

/* The sum; "0" for an empty list; fails when a running sum overflows. */
const char* cur_sum_int(const char* list);
/* sum / n, general; "0" for an empty list; fails when the sum overflows. */
const char* cur_mean_int(const char* list);
/* The smallest item; "0" for an empty list. */
const char* cur_min_int(const char* list);
/* The largest item; "0" for an empty list. */
const char* cur_max_int(const char* list);
/* "min,max"; "," for an empty list. */
const char* cur_minmax_int(const char* list);
/* Population variance (divisor n), general; "0" for an empty list. */
const char* cur_variance_int(const char* list);
/* Population standard deviation, general; "0" for an empty list. */
const char* cur_stddev_int(const char* list);
/* The median (mean of the two middle items for even n), general; "0" for an empty list. */
const char* cur_median_int(const char* list);
/* Sum of a[i]*b[i] over the shorter length; "0" when either is empty; fails on overflow or a bad item in either list (a first). */
const char* cur_dot_int(const char* a, const char* b);
/* Euclidean norm, general; "0" for an empty list. */
const char* cur_l2norm_int(const char* list);

/* Float statistics */

/* The sum from +0.0, exact; "0.0" for an empty list. */
const char* cur_sum_float(const char* list);
/* sum / n, general; "0" for an empty list. */
const char* cur_mean_float(const char* list);
/* The smallest item (a leading NaN wins), exact; "0.0" for an empty list. */
const char* cur_min_float(const char* list);
/* The largest item (a leading NaN wins), exact; "0.0" for an empty list. */
const char* cur_max_float(const char* list);
/* "min,max", both exact; "," for an empty list. */
const char* cur_minmax_float(const char* list);
/* Population variance (two passes, divisor n), general; "0" for an empty list. */
const char* cur_variance_float(const char* list);
/* Population standard deviation, general; "0" for an empty list. */
const char* cur_stddev_float(const char* list);
/* The median, general; "0" for an empty list. */
const char* cur_median_float(const char* list);
/* Sum of a[i]*b[i] over the shorter length, exact; "0.0" when either is empty; fails on a bad item in either list (a first). */
const char* cur_dot_float(const char* a, const char* b);
/* Euclidean norm without scaling (may give "inf"), general; "0" for an empty list. */
const char* cur_l2norm_float(const char* list);

/* Collections. String lists keep every item exactly, so "" is one empty item
 * (except for cur_distinct_string, which answers "" for ""). */

/* The first occurrence of each value ("1", "+1" and "01" are one value); "" for an empty list. */
const char* cur_distinct_int(const char* list);
/* How many items equal value; "0" for an empty list. */
const char* cur_count_int(const char* list, int value);
/* The first occurrence of each item, byte for byte; "" for "". Never fails. */
const char* cur_distinct_string(const char* list);
/* How many items equal item (taken whole, not split or stripped); "" is one empty item. Never fails. */
const char* cur_count_string(const char* list, const char* item);
/* The distinct items of a, then those of b not seen before; "" is one empty item. Never fails. */
const char* cur_union_string(const char* a, const char* b);
/* The distinct items of a that occur in b, in the order of a; "" is one empty item. Never fails. */
const char* cur_intersect_string(const char* a, const char* b);
/* The items of a (repeats kept) that do not occur in b; "" is one empty item. Never fails. */
const char* cur_diff_string(const char* a, const char* b);

#ifdef __cplusplus
}
#endif

#endif
