/*
 * karpa_seq: list operations over 64-bit integers, binary64 floats and strings.
 * Link with -lkarpa_seq (pkg-config karpa-seq). See karpa/karpa.h for the contract.
 *
 * Integer lists fail on an item that is not a whole 64-bit integer
 * ("1_000" and "+5" are integers; "1.5", "0x10", "1 2" are not).
 * Float lists fail on an item that is not a float ("1e3", ".5", "nan", "-inf"
 * are floats). Integer arithmetic is overflow-checked: an overflow fails.
 * List results print floats with six significant digits ("%g"); the float
 * sum, max and min print the shortest text that reads back exactly ("0.1", "3.0").
 */
#ifndef KARPA_SEQ_H
#define KARPA_SEQ_H

#include "karpa/lifecycle.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Integer lists */

/* Each element times factor. "" for an empty list; fails on overflow. */
const char* seq_map_int(const char* list, int factor);
/* The elements strictly greater than threshold, in order; "" for an empty list. */
const char* seq_filter_int(const char* list, int threshold);
/* The sum; "0" for an empty list; fails when a running sum overflows. */
const char* seq_reduce_sum_int(const char* list);
/* The largest element; "0" for an empty list. */
const char* seq_reduce_max_int(const char* list);
/* The smallest element; "0" for an empty list. */
const char* seq_reduce_min_int(const char* list);
/* Stable sort, ascending when descending is 0, descending otherwise; "" for an empty list. */
const char* seq_sort_int(const char* list, int descending);
/* The first occurrence of each value, in input order; "" for an empty list. */
const char* seq_unique_int(const char* list);
/* How many elements are strictly greater than threshold; "0" for an empty list. */
const char* seq_count_int(const char* list, int threshold);
/* The elements in reverse order; "" for an empty list. */
const char* seq_reverse_int(const char* list);
/* The first count elements (all when fewer); fails when count < 0, even for an empty list. */
const char* seq_take_int(const char* list, int count);
/* The elements after the first count; fails when count < 0, even for an empty list. */
const char* seq_skip_int(const char* list, int count);

/* Float lists. factor and threshold are one float text each, read whole and
 * not stripped: "2" works, " 2" and "" fail. The list's error is reported first. */

/* Each element times factor, six significant digits each ("3", "1.5", "inf"); "" for an empty list. */
const char* seq_map_float(const char* list, const char* factor);
/* The elements strictly greater than threshold (never a NaN), six significant digits; "" for an empty list. */
const char* seq_filter_float(const char* list, const char* threshold);
/* The left-to-right sum from +0.0, shortest exact text; "0.0" for an empty list. */
const char* seq_reduce_sum_float(const char* list);
/* The largest element (a leading NaN wins), shortest exact text; "0.0" for an empty list. */
const char* seq_reduce_max_float(const char* list);
/* The smallest element (a leading NaN wins), shortest exact text; "0.0" for an empty list. */
const char* seq_reduce_min_float(const char* list);
/* Stable sort; -0.0 equals 0.0; every comparison with NaN answers "greater"; "" for an empty list. */
const char* seq_sort_float(const char* list, int descending);
/* The first of each value (-0.0 and 0.0 are one value; every NaN is kept); "" for an empty list. */
const char* seq_unique_float(const char* list);
/* How many elements are strictly greater than threshold, as an integer; "0" for an empty list. */
const char* seq_count_float(const char* list, const char* threshold);
/* The elements in reverse order, six significant digits; "" for an empty list. */
const char* seq_reverse_float(const char* list);

/* String lists: items are the exact pieces between commas, empty ones included.
 * An empty list text gives "" ("0" for the count) before the other arguments are looked at. */

/* prefix + item stripped of blanks + suffix, for every item; "" for "". Never fails. */
const char* seq_map_string(const char* list, const char* prefix, const char* suffix);
/* The items (unchanged) whose stripped length is at least min_length; "" for "". Never fails. */
const char* seq_filter_string(const char* list, int min_length);
/* How many items have a stripped length of at least min_length; "0" for "". Never fails. */
const char* seq_count_string(const char* list, int min_length);
/* Stable sort by unsigned bytes, shorter first on a common prefix; "" for "". Never fails. */
const char* seq_sort_string(const char* list, int descending);
/* The first occurrence of each item, byte for byte; "" for "". Never fails. */
const char* seq_unique_string(const char* list);
/* The items in reverse order; "" for "". Never fails. */
const char* seq_reverse_string(const char* list);
/* The first count items; "" for ""; fails when count < 0 and the list is not empty. */
const char* seq_take_string(const char* list, int count);
/* The items after the first count; "" for ""; fails when count < 0 and the list is not empty. */
const char* seq_skip_string(const char* list, int count);

#ifdef __cplusplus
}
#endif

#endif
