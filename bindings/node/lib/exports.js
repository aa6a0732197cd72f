'use strict';
// Generated from src/exports.def by tools/gen_bindings.py; do not edit.

const rt = require('./runtime');

const SIGNATURES = {
  seq: [
    "const char *seq_map_int(const char *list, int factor)",
    "const char *seq_filter_int(const char *list, int threshold)",
    "const char *seq_reduce_sum_int(const char *list)",
    "const char *seq_reduce_max_int(const char *list)",
    "const char *seq_reduce_min_int(const char *list)",
    "const char *seq_sort_int(const char *list, int descending)",
    "const char *seq_unique_int(const char *list)",
    "const char *seq_count_int(const char *list, int threshold)",
    "const char *seq_reverse_int(const char *list)",
    "const char *seq_take_int(const char *list, int count)",
    "const char *seq_skip_int(const char *list, int count)",
    "const char *seq_map_float(const char *list, const char *factor)",
    "const char *seq_filter_float(const char *list, const char *threshold)",
    "const char *seq_reduce_sum_float(const char *list)",
    "const char *seq_reduce_max_float(const char *list)",
    "const char *seq_reduce_min_float(const char *list)",
    "const char *seq_sort_float(const char *list, int descending)",
    "const char *seq_unique_float(const char *list)",
    "const char *seq_count_float(const char *list, const char *threshold)",
    "const char *seq_reverse_float(const char *list)",
    "const char *seq_map_string(const char *list, const char *prefix, const char *suffix)",
    "const char *seq_filter_string(const char *list, int min_length)",
    "const char *seq_count_string(const char *list, int min_length)",
    "const char *seq_sort_string(const char *list, int descending)",
    "const char *seq_unique_string(const char *list)",
    "const char *seq_reverse_string(const char *list)",
    "const char *seq_take_string(const char *list, int count)",
    "const char *seq_skip_string(const char *list, int count)",
  ],
  curried: [
    "const char *cur_sum_int(const char *list)",
    "const char *cur_mean_int(const char *list)",
    "const char *cur_min_int(const char *list)",
    "const char *cur_max_int(const char *list)",
    "const char *cur_minmax_int(const char *list)",
    "const char *cur_variance_int(const char *list)",
    "const char *cur_stddev_int(const char *list)",
    "const char *cur_median_int(const char *list)",
    "const char *cur_dot_int(const char *a, const char *b)",
    "const char *cur_l2norm_int(const char *list)",
    "const char *cur_sum_float(const char *list)",
    "const char *cur_mean_float(const char *list)",
    "const char *cur_min_float(const char *list)",
    "const char *cur_max_float(const char *list)",
    "const char *cur_minmax_float(const char *list)",
    "const char *cur_variance_float(const char *list)",
    "const char *cur_stddev_float(const char *list)",
    "const char *cur_median_float(const char *list)",
    "const char *cur_dot_float(const char *a, const char *b)",
    "const char *cur_l2norm_float(const char *list)",
    "const char *cur_distinct_int(const char *list)",
    "const char *cur_count_int(const char *list, int value)",
    "const char *cur_distinct_string(const char *list)",
    "const char *cur_count_string(const char *list, const char *item)",
    "const char *cur_union_string(const char *a, const char *b)",
    "const char *cur_intersect_string(const char *a, const char *b)",
    "const char *cur_diff_string(const char *a, const char *b)",
  ],
  datetime: [
    "int32_t dt_is_leap_year(int64_t year)",
    "int64_t dt_days_in_month(int64_t year, int64_t month)",
    "int64_t dt_days_in_year(int64_t year)",
    "const char *dt_ts_to_ymd(int64_t timestamp)",
    "const char *dt_ts_to_ymdhms(int64_t timestamp)",
    "int64_t dt_ymd_to_ts(int64_t year, int64_t month, int64_t day)",
    "int64_t dt_days_between(int64_t year1, int64_t month1, int64_t day1, int64_t year2, int64_t month2, int64_t day2)",
    "int64_t dt_day_of_week(int64_t year, int64_t month, int64_t day)",
    "int64_t dt_week_of_year(int64_t year, int64_t month, int64_t day)",
    "int32_t dt_validate_date(int64_t year, int64_t month, int64_t day)",
    "const char *dt_add_days(int64_t year, int64_t month, int64_t day, int64_t days)",
    "const char *dt_add_months(int64_t year, int64_t month, int64_t day, int64_t months)",
    "const char *dt_range_days(int64_t year, int64_t month, int64_t day, int64_t count)",
    "const char *dt_range_days_between(int64_t year1, int64_t month1, int64_t day1, int64_t year2, int64_t month2, int64_t day2)",
    "const char *dt_range_months(int64_t year, int64_t month, int64_t count)",
  ],
  crypto: [
    "const char *md5_hash(const uint8_t *data, int len)",
    "const char *sha1_hash(const uint8_t *data, int len)",
    "const char *sha256_hash(const uint8_t *data, int len)",
    "const char *hmac_md5(const uint8_t *message, int message_len, const uint8_t *key, int key_len)",
    "const char *hmac_sha256(const uint8_t *message, int message_len, const uint8_t *key, int key_len)",
  ],
};

const seq = {
  /** Each element times factor. "" for an empty list; fails on overflow. */
  mapInt(list, factor) {
    return rt.call('seq', 'seq_map_int', 'text', false, [rt.intList(list, 'list'), rt.int32(factor, 'factor')]);
  },
  /** The elements strictly greater than threshold, in order; "" for an empty list. */
  filterInt(list, threshold) {
    return rt.call('seq', 'seq_filter_int', 'text', false, [rt.intList(list, 'list'), rt.int32(threshold, 'threshold')]);
  },
  /** The sum; "0" for an empty list; fails when a running sum overflows. */
  reduceSumInt(list) {
    return rt.call('seq', 'seq_reduce_sum_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** The largest element; "0" for an empty list. */
  reduceMaxInt(list) {
    return rt.call('seq', 'seq_reduce_max_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** The smallest element; "0" for an empty list. */
  reduceMinInt(list) {
    return rt.call('seq', 'seq_reduce_min_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** Stable sort, ascending when descending is 0, descending otherwise; "" for an empty list. */
  sortInt(list, descending) {
    return rt.call('seq', 'seq_sort_int', 'text', false, [rt.intList(list, 'list'), rt.int32(descending, 'descending')]);
  },
  /** The first occurrence of each value, in input order; "" for an empty list. */
  uniqueInt(list) {
    return rt.call('seq', 'seq_unique_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** How many elements are strictly greater than threshold; "0" for an empty list. */
  countInt(list, threshold) {
    return rt.call('seq', 'seq_count_int', 'text', false, [rt.intList(list, 'list'), rt.int32(threshold, 'threshold')]);
  },
  /** The elements in reverse order; "" for an empty list. */
  reverseInt(list) {
    return rt.call('seq', 'seq_reverse_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** The first count elements (all when fewer); fails when count < 0, even for an empty list. */
  takeInt(list, count) {
    return rt.call('seq', 'seq_take_int', 'text', false, [rt.intList(list, 'list'), rt.int32(count, 'count')]);
  },
  /** The elements after the first count; fails when count < 0, even for an empty list. */
  skipInt(list, count) {
    return rt.call('seq', 'seq_skip_int', 'text', false, [rt.intList(list, 'list'), rt.int32(count, 'count')]);
  },
  /** Each element times factor, six significant digits each ("3", "1.5", "inf"); "" for an empty list. */
  mapFloat(list, factor) {
    return rt.call('seq', 'seq_map_float', 'text', false, [rt.floatList(list, 'list'), rt.floatText(factor, 'factor')]);
  },
  /** The elements strictly greater than threshold (never a NaN), six significant digits; "" for an empty list. */
  filterFloat(list, threshold) {
    return rt.call('seq', 'seq_filter_float', 'text', false, [rt.floatList(list, 'list'), rt.floatText(threshold, 'threshold')]);
  },
  /** The left-to-right sum from +0.0, shortest exact text; "0.0" for an empty list. */
  reduceSumFloat(list) {
    return rt.call('seq', 'seq_reduce_sum_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** The largest element (a leading NaN wins), shortest exact text; "0.0" for an empty list. */
  reduceMaxFloat(list) {
    return rt.call('seq', 'seq_reduce_max_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** The smallest element (a leading NaN wins), shortest exact text; "0.0" for an empty list. */
  reduceMinFloat(list) {
    return rt.call('seq', 'seq_reduce_min_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** Stable sort; -0.0 equals 0.0; every comparison with NaN answers "greater"; "" for an empty list. */
  sortFloat(list, descending) {
    return rt.call('seq', 'seq_sort_float', 'text', false, [rt.floatList(list, 'list'), rt.int32(descending, 'descending')]);
  },
  /** The first of each value (-0.0 and 0.0 are one value; every NaN is kept); "" for an empty list. */
  uniqueFloat(list) {
    return rt.call('seq', 'seq_unique_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** How many elements are strictly greater than threshold, as an integer; "0" for an empty list. */
  countFloat(list, threshold) {
    return rt.call('seq', 'seq_count_float', 'text', false, [rt.floatList(list, 'list'), rt.floatText(threshold, 'threshold')]);
  },
  /** The elements in reverse order, six significant digits; "" for an empty list. */
  reverseFloat(list) {
    return rt.call('seq', 'seq_reverse_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** prefix + item stripped of blanks + suffix, for every item; "" for "". Never fails. */
  mapString(list, prefix, suffix) {
    return rt.call('seq', 'seq_map_string', 'text', false, [rt.stringList(list, 'list'), rt.text(prefix, 'prefix'), rt.text(suffix, 'suffix')]);
  },
  /** The items (unchanged) whose stripped length is at least min_length; "" for "". Never fails. */
  filterString(list, minLength) {
    return rt.call('seq', 'seq_filter_string', 'text', false, [rt.stringList(list, 'list'), rt.int32(minLength, 'minLength')]);
  },
  /** How many items have a stripped length of at least min_length; "0" for "". Never fails. */
  countString(list, minLength) {
    return rt.call('seq', 'seq_count_string', 'text', false, [rt.stringList(list, 'list'), rt.int32(minLength, 'minLength')]);
  },
  /** Stable sort by unsigned bytes, shorter first on a common prefix; "" for "". Never fails. */
  sortString(list, descending) {
    return rt.call('seq', 'seq_sort_string', 'text', false, [rt.stringList(list, 'list'), rt.int32(descending, 'descending')]);
  },
  /** The first occurrence of each item, byte for byte; "" for "". Never fails. */
  uniqueString(list) {
    return rt.call('seq', 'seq_unique_string', 'text', false, [rt.stringList(list, 'list')]);
  },
  /** The items in reverse order; "" for "". Never fails. */
  reverseString(list) {
    return rt.call('seq', 'seq_reverse_string', 'text', false, [rt.stringList(list, 'list')]);
  },
  /** The first count items; "" for ""; fails when count < 0 and the list is not empty. */
  takeString(list, count) {
    return rt.call('seq', 'seq_take_string', 'text', false, [rt.stringList(list, 'list'), rt.int32(count, 'count')]);
  },
  /** The items after the first count; "" for ""; fails when count < 0 and the list is not empty. */
  skipString(list, count) {
    return rt.call('seq', 'seq_skip_string', 'text', false, [rt.stringList(list, 'list'), rt.int32(count, 'count')]);
  },
};

const curried = {
  /** The sum; "0" for an empty list; fails when a running sum overflows. */
  sumInt(list) {
    return rt.call('curried', 'cur_sum_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** sum / n, general; "0" for an empty list; fails when the sum overflows. */
  meanInt(list) {
    return rt.call('curried', 'cur_mean_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** The smallest item; "0" for an empty list. */
  minInt(list) {
    return rt.call('curried', 'cur_min_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** The largest item; "0" for an empty list. */
  maxInt(list) {
    return rt.call('curried', 'cur_max_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** "min,max"; "," for an empty list. */
  minmaxInt(list) {
    return rt.call('curried', 'cur_minmax_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** Population variance (divisor n), general; "0" for an empty list. */
  varianceInt(list) {
    return rt.call('curried', 'cur_variance_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** Population standard deviation, general; "0" for an empty list. */
  stddevInt(list) {
    return rt.call('curried', 'cur_stddev_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** The median (mean of the two middle items for even n), general; "0" for an empty list. */
  medianInt(list) {
    return rt.call('curried', 'cur_median_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** Sum of a[i]*b[i] over the shorter length; "0" when either is empty; fails on overflow or a bad item in either list (a first). */
  dotInt(a, b) {
    return rt.call('curried', 'cur_dot_int', 'text', false, [rt.intList(a, 'a'), rt.intList(b, 'b')]);
  },
  /** Euclidean norm, general; "0" for an empty list. */
  l2normInt(list) {
    return rt.call('curried', 'cur_l2norm_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** The sum from +0.0, exact; "0.0" for an empty list. */
  sumFloat(list) {
    return rt.call('curried', 'cur_sum_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** sum / n, general; "0" for an empty list. */
  meanFloat(list) {
    return rt.call('curried', 'cur_mean_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** The smallest item (a leading NaN wins), exact; "0.0" for an empty list. */
  minFloat(list) {
    return rt.call('curried', 'cur_min_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** The largest item (a leading NaN wins), exact; "0.0" for an empty list. */
  maxFloat(list) {
    return rt.call('curried', 'cur_max_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** "min,max", both exact; "," for an empty list. */
  minmaxFloat(list) {
    return rt.call('curried', 'cur_minmax_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** Population variance (two passes, divisor n), general; "0" for an empty list. */
  varianceFloat(list) {
    return rt.call('curried', 'cur_variance_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** Population standard deviation, general; "0" for an empty list. */
  stddevFloat(list) {
    return rt.call('curried', 'cur_stddev_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** The median, general; "0" for an empty list. */
  medianFloat(list) {
    return rt.call('curried', 'cur_median_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** Sum of a[i]*b[i] over the shorter length, exact; "0.0" when either is empty; fails on a bad item in either list (a first). */
  dotFloat(a, b) {
    return rt.call('curried', 'cur_dot_float', 'text', false, [rt.floatList(a, 'a'), rt.floatList(b, 'b')]);
  },
  /** Euclidean norm without scaling (may give "inf"), general; "0" for an empty list. */
  l2normFloat(list) {
    return rt.call('curried', 'cur_l2norm_float', 'text', false, [rt.floatList(list, 'list')]);
  },
  /** The first occurrence of each value ("1", "+1" and "01" are one value); "" for an empty list. */
  distinctInt(list) {
    return rt.call('curried', 'cur_distinct_int', 'text', false, [rt.intList(list, 'list')]);
  },
  /** How many items equal value; "0" for an empty list. */
  countInt(list, value) {
    return rt.call('curried', 'cur_count_int', 'text', false, [rt.intList(list, 'list'), rt.int32(value, 'value')]);
  },
  /** The first occurrence of each item, byte for byte; "" for "". Never fails. */
  distinctString(list) {
    return rt.call('curried', 'cur_distinct_string', 'text', false, [rt.stringList(list, 'list')]);
  },
  /** How many items equal item (taken whole, not split or stripped); "" is one empty item. Never fails. */
  countString(list, item) {
    return rt.call('curried', 'cur_count_string', 'text', false, [rt.stringList(list, 'list'), rt.text(item, 'item')]);
  },
  /** The distinct items of a, then those of b not seen before; "" is one empty item. Never fails. */
  unionString(a, b) {
    return rt.call('curried', 'cur_union_string', 'text', false, [rt.stringList(a, 'a'), rt.stringList(b, 'b')]);
  },
  /** The distinct items of a that occur in b, in the order of a; "" is one empty item. Never fails. */
  intersectString(a, b) {
    return rt.call('curried', 'cur_intersect_string', 'text', false, [rt.stringList(a, 'a'), rt.stringList(b, 'b')]);
  },
  /** The items of a (repeats kept) that do not occur in b; "" is one empty item. Never fails. */
  diffString(a, b) {
    return rt.call('curried', 'cur_diff_string', 'text', false, [rt.stringList(a, 'a'), rt.stringList(b, 'b')]);
  },
};

const datetime = {
  /** 1 for a leap year (0, -4 and 2000 are; 1900 is not), else 0. Never fails. */
  isLeapYear(year) {
    return rt.call('datetime', 'dt_is_leap_year', 'bool', false, [rt.int64(year, 'year')]);
  },
  /** 28 to 31; 0 when month is outside 1..12. Never fails. */
  daysInMonth(year, month) {
    return rt.call('datetime', 'dt_days_in_month', 'int64', false, [rt.int64(year, 'year'), rt.int64(month, 'month')]);
  },
  /** 366 or 365. Never fails. */
  daysInYear(year) {
    return rt.call('datetime', 'dt_days_in_year', 'int64', false, [rt.int64(year, 'year')]);
  },
  /** The UTC date holding the timestamp: "1969-12-31" for -1; fails for the 55808 smallest timestamps, whose day starts before the 64-bit span. */
  tsToYmd(timestamp) {
    return rt.call('datetime', 'dt_ts_to_ymd', 'text', false, [rt.int64(timestamp, 'timestamp')]);
  },
  /** The UTC date and time: "2023-11-14 22:13:20" for 1700000000; fails as dt_ts_to_ymd does. */
  tsToYmdhms(timestamp) {
    return rt.call('datetime', 'dt_ts_to_ymdhms', 'text', false, [rt.int64(timestamp, 'timestamp')]);
  },
  /** The timestamp of 00:00:00 UTC on the date; 0 on failure (checked date). */
  ymdToTs(year, month, day) {
    return rt.call('datetime', 'dt_ymd_to_ts', 'int64', true, [rt.int64(year, 'year'), rt.int64(month, 'month'), rt.int64(day, 'day')]);
  },
  /** Days from the first date to the second (negative when earlier); 0 on failure (checked dates; also when the two timestamps differ by more than the 64-bit range). */
  daysBetween(year1, month1, day1, year2, month2, day2) {
    return rt.call('datetime', 'dt_days_between', 'int64', true, [rt.int64(year1, 'year1'), rt.int64(month1, 'month1'), rt.int64(day1, 'day1'), rt.int64(year2, 'year2'), rt.int64(month2, 'month2'), rt.int64(day2, 'day2')]);
  },
  /** 1 = Monday ... 7 = Sunday; 0 on failure (checked date). */
  dayOfWeek(year, month, day) {
    return rt.call('datetime', 'dt_day_of_week', 'int64', true, [rt.int64(year, 'year'), rt.int64(month, 'month'), rt.int64(day, 'day')]);
  },
  /** This library's own week number, 1 to 52, not ISO 8601; 0 on failure (checked date). With yd the day of the year (0 for January 1), wd the weekday (0 = Monday) and j the weekday of January 4 of the same year: a day with yd <= 7 - j is week 52; a later day is week (yd - wd - 1) / 7 + 1, the quotient truncated toward zero, and a day that would so be week 53 is week 1. */
  weekOfYear(year, month, day) {
    return rt.call('datetime', 'dt_week_of_year', 'int64', true, [rt.int64(year, 'year'), rt.int64(month, 'month'), rt.int64(day, 'day')]);
  },
  /** 1 for a real date in the years 1 to 9999, else 0. Never fails. */
  validateDate(year, month, day) {
    return rt.call('datetime', 'dt_validate_date', 'bool', false, [rt.int64(year, 'year'), rt.int64(month, 'month'), rt.int64(day, 'day')]);
  },
  /** The date shifted by days; fails for a checked date that is bad or a result outside the span. */
  addDays(year, month, day, days) {
    return rt.call('datetime', 'dt_add_days', 'text', false, [rt.int64(year, 'year'), rt.int64(month, 'month'), rt.int64(day, 'day'), rt.int64(days, 'days')]);
  },
  /** The date shifted by months, the day clamped to the month's end; no date check; fails when month + months or the year leaves the 64-bit range. */
  addMonths(year, month, day, months) {
    return rt.call('datetime', 'dt_add_months', 'text', false, [rt.int64(year, 'year'), rt.int64(month, 'month'), rt.int64(day, 'day'), rt.int64(months, 'months')]);
  },
  /** count dates from the given one, comma-joined; "" for 0; fails for a bad checked date, then for count < 0, then when the run leaves the span. */
  rangeDays(year, month, day, count) {
    return rt.call('datetime', 'dt_range_days', 'text', false, [rt.int64(year, 'year'), rt.int64(month, 'month'), rt.int64(day, 'day'), rt.int64(count, 'count')]);
  },
  /** Every date from the first to the second, both included; "" when the second is earlier; fails as dt_days_between does. */
  rangeDaysBetween(year1, month1, day1, year2, month2, day2) {
    return rt.call('datetime', 'dt_range_days_between', 'text', false, [rt.int64(year1, 'year1'), rt.int64(month1, 'month1'), rt.int64(day1, 'day1'), rt.int64(year2, 'year2'), rt.int64(month2, 'month2'), rt.int64(day2, 'day2')]);
  },
  /** count months ("2024-11,2024-12,2025-01"); "" for 0; fails for count < 0 or when the year leaves the 64-bit range. */
  rangeMonths(year, month, count) {
    return rt.call('datetime', 'dt_range_months', 'text', false, [rt.int64(year, 'year'), rt.int64(month, 'month'), rt.int64(count, 'count')]);
  },
};

const crypto = {
  /** 32 hex characters; fails when len < 0. */
  md5Hash(data) {
    return rt.call('crypto', 'md5_hash', 'text', false, [...rt.bytes(data, 'data')]);
  },
  /** 40 hex characters; fails when len < 0. */
  sha1Hash(data) {
    return rt.call('crypto', 'sha1_hash', 'text', false, [...rt.bytes(data, 'data')]);
  },
  /** 64 hex characters; fails when len < 0. */
  sha256Hash(data) {
    return rt.call('crypto', 'sha256_hash', 'text', false, [...rt.bytes(data, 'data')]);
  },
  /** HMAC-MD5 of message under key (message first); a negative length means empty. */
  hmacMd5(message, key) {
    return rt.call('crypto', 'hmac_md5', 'text', false, [...rt.bytes(message, 'message'), ...rt.bytes(key, 'key')]);
  },
  /** HMAC-SHA-256 of message under key (message first); a negative length means empty. */
  hmacSha256(message, key) {
    return rt.call('crypto', 'hmac_sha256', 'text', false, [...rt.bytes(message, 'message'), ...rt.bytes(key, 'key')]);
  },
};

const EXPORTS = [
  {"library": "seq", "name": "seq_map_int", "function": "mapInt", "example": ["1, 2,3", 10], "result": "10,20,30"},
  {"library": "seq", "name": "seq_filter_int", "function": "filterInt", "example": ["5,1,7,3", 3], "result": "5,7"},
  {"library": "seq", "name": "seq_reduce_sum_int", "function": "reduceSumInt", "example": ["1,2,3"], "result": "6"},
  {"library": "seq", "name": "seq_reduce_max_int", "function": "reduceMaxInt", "example": ["4,-2,9"], "result": "9"},
  {"library": "seq", "name": "seq_reduce_min_int", "function": "reduceMinInt", "example": ["4,-2,9"], "result": "-2"},
  {"library": "seq", "name": "seq_sort_int", "function": "sortInt", "example": ["3,1,2", 0], "result": "1,2,3"},
  {"library": "seq", "name": "seq_unique_int", "function": "uniqueInt", "example": ["3,1,3,2,1"], "result": "3,1,2"},
  {"library": "seq", "name": "seq_count_int", "function": "countInt", "example": ["5,1,7,3", 3], "result": "2"},
  {"library": "seq", "name": "seq_reverse_int", "function": "reverseInt", "example": ["1,2,3"], "result": "3,2,1"},
  {"library": "seq", "name": "seq_take_int", "function": "takeInt", "example": ["1,2,3", 2], "result": "1,2"},
  {"library": "seq", "name": "seq_skip_int", "function": "skipInt", "example": ["1,2,3", -1], "result": null},
  {"library": "seq", "name": "seq_map_float", "function": "mapFloat", "example": ["1.5, 2", "2"], "result": "3,4"},
  {"library": "seq", "name": "seq_filter_float", "function": "filterFloat", "example": ["0.5,1.5,nan,2", "1"], "result": "1.5,2"},
  {"library": "seq", "name": "seq_reduce_sum_float", "function": "reduceSumFloat", "example": ["0.1,0.2"], "result": "0.30000000000000004"},
  {"library": "seq", "name": "seq_reduce_max_float", "function": "reduceMaxFloat", "example": ["1,nan,2"], "result": "2.0"},
  {"library": "seq", "name": "seq_reduce_min_float", "function": "reduceMinFloat", "example": [""], "result": "0.0"},
  {"library": "seq", "name": "seq_sort_float", "function": "sortFloat", "example": ["3,1.5,2", 1], "result": "3,2,1.5"},
  {"library": "seq", "name": "seq_unique_float", "function": "uniqueFloat", "example": ["-0.0,0.0"], "result": "-0"},
  {"library": "seq", "name": "seq_count_float", "function": "countFloat", "example": ["0.5,1.5,nan,2", "1"], "result": "2"},
  {"library": "seq", "name": "seq_reverse_float", "function": "reverseFloat", "example": ["3.14159265,1"], "result": "1,3.14159"},
  {"library": "seq", "name": "seq_map_string", "function": "mapString", "example": ["a, b,,c", "<", ">"], "result": "<a>,<b>,<>,<c>"},
  {"library": "seq", "name": "seq_filter_string", "function": "filterString", "example": ["ab, c, ,def", 2], "result": "ab,def"},
  {"library": "seq", "name": "seq_count_string", "function": "countString", "example": [",", 0], "result": "2"},
  {"library": "seq", "name": "seq_sort_string", "function": "sortString", "example": ["b,a,,B", 0], "result": ",B,a,b"},
  {"library": "seq", "name": "seq_unique_string", "function": "uniqueString", "example": ["a,b,a, a"], "result": "a,b, a"},
  {"library": "seq", "name": "seq_reverse_string", "function": "reverseString", "example": ["a,"], "result": ",a"},
  {"library": "seq", "name": "seq_take_string", "function": "takeString", "example": ["a", -1], "result": null},
  {"library": "seq", "name": "seq_skip_string", "function": "skipString", "example": ["a,b,c", 1], "result": "b,c"},
  {"library": "curried", "name": "cur_sum_int", "function": "sumInt", "example": ["1, 2 ,,3"], "result": "6"},
  {"library": "curried", "name": "cur_mean_int", "function": "meanInt", "example": ["1,2,2"], "result": "1.66667"},
  {"library": "curried", "name": "cur_min_int", "function": "minInt", "example": [""], "result": "0"},
  {"library": "curried", "name": "cur_max_int", "function": "maxInt", "example": ["3,-1,2"], "result": "3"},
  {"library": "curried", "name": "cur_minmax_int", "function": "minmaxInt", "example": ["3,-1,2"], "result": "-1,3"},
  {"library": "curried", "name": "cur_variance_int", "function": "varianceInt", "example": ["1,2,3,4"], "result": "1.25"},
  {"library": "curried", "name": "cur_stddev_int", "function": "stddevInt", "example": ["1,2,3,4"], "result": "1.11803"},
  {"library": "curried", "name": "cur_median_int", "function": "medianInt", "example": ["4,1,3,2"], "result": "2.5"},
  {"library": "curried", "name": "cur_dot_int", "function": "dotInt", "example": ["1,2,3", "4,5"], "result": "14"},
  {"library": "curried", "name": "cur_l2norm_int", "function": "l2normInt", "example": ["3,4"], "result": "5"},
  {"library": "curried", "name": "cur_sum_float", "function": "sumFloat", "example": ["0.1,0.2"], "result": "0.30000000000000004"},
  {"library": "curried", "name": "cur_mean_float", "function": "meanFloat", "example": ["0.1,0.2"], "result": "0.15"},
  {"library": "curried", "name": "cur_min_float", "function": "minFloat", "example": ["-0.0,0.0"], "result": "-0.0"},
  {"library": "curried", "name": "cur_max_float", "function": "maxFloat", "example": [""], "result": "0.0"},
  {"library": "curried", "name": "cur_minmax_float", "function": "minmaxFloat", "example": [""], "result": ","},
  {"library": "curried", "name": "cur_variance_float", "function": "varianceFloat", "example": ["1,2,3,4"], "result": "1.25"},
  {"library": "curried", "name": "cur_stddev_float", "function": "stddevFloat", "example": ["1,2,3,4"], "result": "1.11803"},
  {"library": "curried", "name": "cur_median_float", "function": "medianFloat", "example": ["3,1,2"], "result": "2"},
  {"library": "curried", "name": "cur_dot_float", "function": "dotFloat", "example": ["1.5,2", "2,0.25"], "result": "3.5"},
  {"library": "curried", "name": "cur_l2norm_float", "function": "l2normFloat", "example": ["3,4"], "result": "5"},
  {"library": "curried", "name": "cur_distinct_int", "function": "distinctInt", "example": ["3, 1,3 ,2,1"], "result": "3,1,2"},
  {"library": "curried", "name": "cur_count_int", "function": "countInt", "example": ["1,2,1,1", 1], "result": "3"},
  {"library": "curried", "name": "cur_distinct_string", "function": "distinctString", "example": ["b,a,b, a"], "result": "b,a, a"},
  {"library": "curried", "name": "cur_count_string", "function": "countString", "example": ["a,b,a", "a"], "result": "2"},
  {"library": "curried", "name": "cur_union_string", "function": "unionString", "example": ["a,b,a", "c,b,d"], "result": "a,b,c,d"},
  {"library": "curried", "name": "cur_intersect_string", "function": "intersectString", "example": ["a,b,a,c", "c,a"], "result": "a,c"},
  {"library": "curried", "name": "cur_diff_string", "function": "diffString", "example": ["a,b,a,c", "b"], "result": "a,a,c"},
  {"library": "datetime", "name": "dt_is_leap_year", "function": "isLeapYear", "example": [2000], "result": 1},
  {"library": "datetime", "name": "dt_days_in_month", "function": "daysInMonth", "example": [2024, 2], "result": 29},
  {"library": "datetime", "name": "dt_days_in_year", "function": "daysInYear", "example": [1900], "result": 365},
  {"library": "datetime", "name": "dt_ts_to_ymd", "function": "tsToYmd", "example": [951782400], "result": "2000-02-29"},
  {"library": "datetime", "name": "dt_ts_to_ymdhms", "function": "tsToYmdhms", "example": [1700000000], "result": "2023-11-14 22:13:20"},
  {"library": "datetime", "name": "dt_ymd_to_ts", "function": "ymdToTs", "example": [2000, 2, 29], "result": 951782400},
  {"library": "datetime", "name": "dt_days_between", "function": "daysBetween", "example": [2024, 1, 1, 2024, 3, 1], "result": 60},
  {"library": "datetime", "name": "dt_day_of_week", "function": "dayOfWeek", "example": [2023, 12, 31], "result": 7},
  {"library": "datetime", "name": "dt_week_of_year", "function": "weekOfYear", "example": [2024, 1, 15], "result": 2},
  {"library": "datetime", "name": "dt_validate_date", "function": "validateDate", "example": [2023, 2, 29], "result": 0},
  {"library": "datetime", "name": "dt_add_days", "function": "addDays", "example": [2024, 2, 28, 1], "result": "2024-02-29"},
  {"library": "datetime", "name": "dt_add_months", "function": "addMonths", "example": [2024, 1, 31, 1], "result": "2024-02-29"},
  {"library": "datetime", "name": "dt_range_days", "function": "rangeDays", "example": [2023, 12, 30, 3], "result": "2023-12-30,2023-12-31,2024-01-01"},
  {"library": "datetime", "name": "dt_range_days_between", "function": "rangeDaysBetween", "example": [2024, 1, 30, 2024, 2, 2], "result": "2024-01-30,2024-01-31,2024-02-01,2024-02-02"},
  {"library": "datetime", "name": "dt_range_months", "function": "rangeMonths", "example": [2024, 11, 4], "result": "2024-11,2024-12,2025-01,2025-02"},
  {"library": "crypto", "name": "md5_hash", "function": "md5Hash", "example": ["abc"], "result": "900150983CD24FB0D6963F7D28E17F72"},
  {"library": "crypto", "name": "sha1_hash", "function": "sha1Hash", "example": ["abc"], "result": "A9993E364706816ABA3E25717850C26C9CD0D89D"},
  {"library": "crypto", "name": "sha256_hash", "function": "sha256Hash", "example": [""], "result": "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
  {"library": "crypto", "name": "hmac_md5", "function": "hmacMd5", "example": ["what do ya want for nothing?", "Jefe"], "result": "750C783E6AB0B503EAA86E310A5DB738"},
  {"library": "crypto", "name": "hmac_sha256", "function": "hmacSha256", "example": ["what do ya want for nothing?", "Jefe"], "result": "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843"},
];

module.exports = { SIGNATURES, EXPORTS, seq, curried, datetime, crypto };
