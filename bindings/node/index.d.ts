// Generated from src/exports.def by tools/gen_bindings.py; do not edit.

/** List text as given, or the items of a list. */
export type IntList = string | ReadonlyArray<number | bigint>;
export type FloatList = string | ReadonlyArray<number>;
export type StringList = string | ReadonlyArray<string>;
/** A float as text (passed exactly) or a number. */
export type FloatArgument = string | number;
/** A 64-bit integer. */
export type Int64 = number | bigint;
/** A byte buffer; a string is taken as UTF-8. */
export type Bytes = string | Uint8Array;

/** A call the library could not answer; kind and message are the library's own. */
export class KarpaError extends Error {
  /** The export's C name, such as "seq_sort_int". */
  readonly function: string;
  /** The arguments as they reached the library. */
  readonly arguments: ReadonlyArray<unknown>;
  /** "ValueError", "OverflowDefect", "IndexDefect", "RangeDefect" or "AssertionDefect"; null when no report could be read. */
  readonly kind: string | null;
  /** The library's whole unhandled-error report. */
  readonly report: string;
}

/** A library that could not be found or loaded. */
export class KarpaLoadError extends Error {}

/** Where to look first for libkarpa_*.so (before pkg-config and the system loader path). */
export function setLibraryDir(dir: string | null): void;
/** The file a library was loaded from ('seq', 'curried', 'datetime' or 'crypto'). */
export function libraryPath(name: 'seq' | 'curried' | 'datetime' | 'crypto'): string;
/** A list result as numbers (RangeError beyond 2**53) or as bigints. */
export function ints(text: string): number[];
export function bigInts(text: string): bigint[];
export function floats(text: string): number[];
export function strings(text: string): string[];
export const version: string;

export namespace seq {
  /** Each element times factor. "" for an empty list; fails on overflow. `seq_map_int("1, 2,3", 10) -> "10,20,30"` */
  function mapInt(list: IntList, factor: number): string;
  /** The elements strictly greater than threshold, in order; "" for an empty list. `seq_filter_int("5,1,7,3", 3) -> "5,7"` */
  function filterInt(list: IntList, threshold: number): string;
  /** The sum; "0" for an empty list; fails when a running sum overflows. `seq_reduce_sum_int("1,2,3") -> "6"` */
  function reduceSumInt(list: IntList): string;
  /** The largest element; "0" for an empty list. `seq_reduce_max_int("4,-2,9") -> "9"` */
  function reduceMaxInt(list: IntList): string;
  /** The smallest element; "0" for an empty list. `seq_reduce_min_int("4,-2,9") -> "-2"` */
  function reduceMinInt(list: IntList): string;
  /** Stable sort, ascending when descending is 0, descending otherwise; "" for an empty list. `seq_sort_int("3,1,2", 0) -> "1,2,3"` */
  function sortInt(list: IntList, descending: number): string;
  /** The first occurrence of each value, in input order; "" for an empty list. `seq_unique_int("3,1,3,2,1") -> "3,1,2"` */
  function uniqueInt(list: IntList): string;
  /** How many elements are strictly greater than threshold; "0" for an empty list. `seq_count_int("5,1,7,3", 3) -> "2"` */
  function countInt(list: IntList, threshold: number): string;
  /** The elements in reverse order; "" for an empty list. `seq_reverse_int("1,2,3") -> "3,2,1"` */
  function reverseInt(list: IntList): string;
  /** The first count elements (all when fewer); fails when count < 0, even for an empty list. `seq_take_int("1,2,3", 2) -> "1,2"` */
  function takeInt(list: IntList, count: number): string;
  /** The elements after the first count; fails when count < 0, even for an empty list. `seq_skip_int("1,2,3", -1) -> failure` */
  function skipInt(list: IntList, count: number): string;
  /** Each element times factor, six significant digits each ("3", "1.5", "inf"); "" for an empty list. `seq_map_float("1.5, 2", "2") -> "3,4"` */
  function mapFloat(list: FloatList, factor: FloatArgument): string;
  /** The elements strictly greater than threshold (never a NaN), six significant digits; "" for an empty list. `seq_filter_float("0.5,1.5,nan,2", "1") -> "1.5,2"` */
  function filterFloat(list: FloatList, threshold: FloatArgument): string;
  /** The left-to-right sum from +0.0, shortest exact text; "0.0" for an empty list. `seq_reduce_sum_float("0.1,0.2") -> "0.30000000000000004"` */
  function reduceSumFloat(list: FloatList): string;
  /** The largest element (a leading NaN wins), shortest exact text; "0.0" for an empty list. `seq_reduce_max_float("1,nan,2") -> "2.0"` */
  function reduceMaxFloat(list: FloatList): string;
  /** The smallest element (a leading NaN wins), shortest exact text; "0.0" for an empty list. `seq_reduce_min_float("") -> "0.0"` */
  function reduceMinFloat(list: FloatList): string;
  /** Stable sort; -0.0 equals 0.0; every comparison with NaN answers "greater"; "" for an empty list. `seq_sort_float("3,1.5,2", 1) -> "3,2,1.5"` */
  function sortFloat(list: FloatList, descending: number): string;
  /** The first of each value (-0.0 and 0.0 are one value; every NaN is kept); "" for an empty list. `seq_unique_float("-0.0,0.0") -> "-0"` */
  function uniqueFloat(list: FloatList): string;
  /** How many elements are strictly greater than threshold, as an integer; "0" for an empty list. `seq_count_float("0.5,1.5,nan,2", "1") -> "2"` */
  function countFloat(list: FloatList, threshold: FloatArgument): string;
  /** The elements in reverse order, six significant digits; "" for an empty list. `seq_reverse_float("3.14159265,1") -> "1,3.14159"` */
  function reverseFloat(list: FloatList): string;
  /** prefix + item stripped of blanks + suffix, for every item; "" for "". Never fails. `seq_map_string("a, b,,c", "<", ">") -> "<a>,<b>,<>,<c>"` */
  function mapString(list: StringList, prefix: string, suffix: string): string;
  /** The items (unchanged) whose stripped length is at least min_length; "" for "". Never fails. `seq_filter_string("ab, c, ,def", 2) -> "ab,def"` */
  function filterString(list: StringList, minLength: number): string;
  /** How many items have a stripped length of at least min_length; "0" for "". Never fails. `seq_count_string(",", 0) -> "2"` */
  function countString(list: StringList, minLength: number): string;
  /** Stable sort by unsigned bytes, shorter first on a common prefix; "" for "". Never fails. `seq_sort_string("b,a,,B", 0) -> ",B,a,b"` */
  function sortString(list: StringList, descending: number): string;
  /** The first occurrence of each item, byte for byte; "" for "". Never fails. `seq_unique_string("a,b,a, a") -> "a,b, a"` */
  function uniqueString(list: StringList): string;
  /** The items in reverse order; "" for "". Never fails. `seq_reverse_string("a,") -> ",a"` */
  function reverseString(list: StringList): string;
  /** The first count items; "" for ""; fails when count < 0 and the list is not empty. `seq_take_string("a", -1) -> failure` */
  function takeString(list: StringList, count: number): string;
  /** The items after the first count; "" for ""; fails when count < 0 and the list is not empty. `seq_skip_string("a,b,c", 1) -> "b,c"` */
  function skipString(list: StringList, count: number): string;
}

export namespace curried {
  /** The sum; "0" for an empty list; fails when a running sum overflows. `cur_sum_int("1, 2 ,,3") -> "6"` */
  function sumInt(list: IntList): string;
  /** sum / n, general; "0" for an empty list; fails when the sum overflows. `cur_mean_int("1,2,2") -> "1.66667"` */
  function meanInt(list: IntList): string;
  /** The smallest item; "0" for an empty list. `cur_min_int("") -> "0"` */
  function minInt(list: IntList): string;
  /** The largest item; "0" for an empty list. `cur_max_int("3,-1,2") -> "3"` */
  function maxInt(list: IntList): string;
  /** "min,max"; "," for an empty list. `cur_minmax_int("3,-1,2") -> "-1,3"` */
  function minmaxInt(list: IntList): string;
  /** Population variance (divisor n), general; "0" for an empty list. `cur_variance_int("1,2,3,4") -> "1.25"` */
  function varianceInt(list: IntList): string;
  /** Population standard deviation, general; "0" for an empty list. `cur_stddev_int("1,2,3,4") -> "1.11803"` */
  function stddevInt(list: IntList): string;
  /** The median (mean of the two middle items for even n), general; "0" for an empty list. `cur_median_int("4,1,3,2") -> "2.5"` */
  function medianInt(list: IntList): string;
  /** Sum of a[i]*b[i] over the shorter length; "0" when either is empty; fails on overflow or a bad item in either list (a first). `cur_dot_int("1,2,3", "4,5") -> "14"` */
  function dotInt(a: IntList, b: IntList): string;
  /** Euclidean norm, general; "0" for an empty list. `cur_l2norm_int("3,4") -> "5"` */
  function l2normInt(list: IntList): string;
  /** The sum from +0.0, exact; "0.0" for an empty list. `cur_sum_float("0.1,0.2") -> "0.30000000000000004"` */
  function sumFloat(list: FloatList): string;
  /** sum / n, general; "0" for an empty list. `cur_mean_float("0.1,0.2") -> "0.15"` */
  function meanFloat(list: FloatList): string;
  /** The smallest item (a leading NaN wins), exact; "0.0" for an empty list. `cur_min_float("-0.0,0.0") -> "-0.0"` */
  function minFloat(list: FloatList): string;
  /** The largest item (a leading NaN wins), exact; "0.0" for an empty list. `cur_max_float("") -> "0.0"` */
  function maxFloat(list: FloatList): string;
  /** "min,max", both exact; "," for an empty list. `cur_minmax_float("") -> ","` */
  function minmaxFloat(list: FloatList): string;
  /** Population variance (two passes, divisor n), general; "0" for an empty list. `cur_variance_float("1,2,3,4") -> "1.25"` */
  function varianceFloat(list: FloatList): string;
  /** Population standard deviation, general; "0" for an empty list. `cur_stddev_float("1,2,3,4") -> "1.11803"` */
  function stddevFloat(list: FloatList): string;
  /** The median, general; "0" for an empty list. `cur_median_float("3,1,2") -> "2"` */
  function medianFloat(list: FloatList): string;
  /** Sum of a[i]*b[i] over the shorter length, exact; "0.0" when either is empty; fails on a bad item in either list (a first). `cur_dot_float("1.5,2", "2,0.25") -> "3.5"` */
  function dotFloat(a: FloatList, b: FloatList): string;
  /** Euclidean norm without scaling (may give "inf"), general; "0" for an empty list. `cur_l2norm_float("3,4") -> "5"` */
  function l2normFloat(list: FloatList): string;
  /** The first occurrence of each value ("1", "+1" and "01" are one value); "" for an empty list. `cur_distinct_int("3, 1,3 ,2,1") -> "3,1,2"` */
  function distinctInt(list: IntList): string;
  /** How many items equal value; "0" for an empty list. `cur_count_int("1,2,1,1", 1) -> "3"` */
  function countInt(list: IntList, value: number): string;
  /** The first occurrence of each item, byte for byte; "" for "". Never fails. `cur_distinct_string("b,a,b, a") -> "b,a, a"` */
  function distinctString(list: StringList): string;
  /** How many items equal item (taken whole, not split or stripped); "" is one empty item. Never fails. `cur_count_string("a,b,a", "a") -> "2"` */
  function countString(list: StringList, item: string): string;
  /** The distinct items of a, then those of b not seen before; "" is one empty item. Never fails. `cur_union_string("a,b,a", "c,b,d") -> "a,b,c,d"` */
  function unionString(a: StringList, b: StringList): string;
  /** The distinct items of a that occur in b, in the order of a; "" is one empty item. Never fails. `cur_intersect_string("a,b,a,c", "c,a") -> "a,c"` */
  function intersectString(a: StringList, b: StringList): string;
  /** The items of a (repeats kept) that do not occur in b; "" is one empty item. Never fails. `cur_diff_string("a,b,a,c", "b") -> "a,a,c"` */
  function diffString(a: StringList, b: StringList): string;
}

export namespace datetime {
  /** 1 for a leap year (0, -4 and 2000 are; 1900 is not), else 0. Never fails. `dt_is_leap_year(2000) -> 1` */
  function isLeapYear(year: Int64): boolean;
  /** 28 to 31; 0 when month is outside 1..12. Never fails. `dt_days_in_month(2024, 2) -> 29` */
  function daysInMonth(year: Int64, month: Int64): number | bigint;
  /** 366 or 365. Never fails. `dt_days_in_year(1900) -> 365` */
  function daysInYear(year: Int64): number | bigint;
  /** The UTC date holding the timestamp: "1969-12-31" for -1; fails for the 55808 smallest timestamps, whose day starts before the 64-bit span. `dt_ts_to_ymd(951782400) -> "2000-02-29"` */
  function tsToYmd(timestamp: Int64): string;
  /** The UTC date and time: "2023-11-14 22:13:20" for 1700000000; fails as dt_ts_to_ymd does. `dt_ts_to_ymdhms(1700000000) -> "2023-11-14 22:13:20"` */
  function tsToYmdhms(timestamp: Int64): string;
  /** The timestamp of 00:00:00 UTC on the date; 0 on failure (checked date). `dt_ymd_to_ts(2000, 2, 29) -> 951782400` */
  function ymdToTs(year: Int64, month: Int64, day: Int64): number | bigint;
  /** Days from the first date to the second (negative when earlier); 0 on failure (checked dates; also when the two timestamps differ by more than the 64-bit range). `dt_days_between(2024, 1, 1, 2024, 3, 1) -> 60` */
  function daysBetween(year1: Int64, month1: Int64, day1: Int64, year2: Int64, month2: Int64, day2: Int64): number | bigint;
  /** 1 = Monday ... 7 = Sunday; 0 on failure (checked date). `dt_day_of_week(2023, 12, 31) -> 7` */
  function dayOfWeek(year: Int64, month: Int64, day: Int64): number | bigint;
  /** This library's own week number, 1 to 52, not ISO 8601; 0 on failure (checked date). With yd the day of the year (0 for January 1), wd the weekday (0 = Monday) and j the weekday of January 4 of the same year: a day with yd <= 7 - j is week 52; a later day is week (yd - wd - 1) / 7 + 1, the quotient truncated toward zero, and a day that would so be week 53 is week 1. `dt_week_of_year(2024, 1, 15) -> 2` */
  function weekOfYear(year: Int64, month: Int64, day: Int64): number | bigint;
  /** 1 for a real date in the years 1 to 9999, else 0. Never fails. `dt_validate_date(2023, 2, 29) -> 0` */
  function validateDate(year: Int64, month: Int64, day: Int64): boolean;
  /** The date shifted by days; fails for a checked date that is bad or a result outside the span. `dt_add_days(2024, 2, 28, 1) -> "2024-02-29"` */
  function addDays(year: Int64, month: Int64, day: Int64, days: Int64): string;
  /** The date shifted by months, the day clamped to the month's end; no date check; fails when month + months or the year leaves the 64-bit range. `dt_add_months(2024, 1, 31, 1) -> "2024-02-29"` */
  function addMonths(year: Int64, month: Int64, day: Int64, months: Int64): string;
  /** count dates from the given one, comma-joined; "" for 0; fails for a bad checked date, then for count < 0, then when the run leaves the span. `dt_range_days(2023, 12, 30, 3) -> "2023-12-30,2023-12-31,2024-01-01"` */
  function rangeDays(year: Int64, month: Int64, day: Int64, count: Int64): string;
  /** Every date from the first to the second, both included; "" when the second is earlier; fails as dt_days_between does. `dt_range_days_between(2024, 1, 30, 2024, 2, 2) -> "2024-01-30,2024-01-31,2024-02-01,2024-02-02"` */
  function rangeDaysBetween(year1: Int64, month1: Int64, day1: Int64, year2: Int64, month2: Int64, day2: Int64): string;
  /** count months ("2024-11,2024-12,2025-01"); "" for 0; fails for count < 0 or when the year leaves the 64-bit range. `dt_range_months(2024, 11, 4) -> "2024-11,2024-12,2025-01,2025-02"` */
  function rangeMonths(year: Int64, month: Int64, count: Int64): string;
}

export namespace crypto {
  /** 32 hex characters; fails when len < 0. `md5_hash("abc", 3) -> "900150983CD24FB0D6963F7D28E17F72"` */
  function md5Hash(data: Bytes): string;
  /** 40 hex characters; fails when len < 0. `sha1_hash("abc", 3) -> "A9993E364706816ABA3E25717850C26C9CD0D89D"` */
  function sha1Hash(data: Bytes): string;
  /** 64 hex characters; fails when len < 0. `sha256_hash(null, 0) -> "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"` */
  function sha256Hash(data: Bytes): string;
  /** HMAC-MD5 of message under key (message first); a negative length means empty. `hmac_md5("what do ya want for nothing?", 28, "Jefe", 4) -> "750C783E6AB0B503EAA86E310A5DB738"` */
  function hmacMd5(message: Bytes, key: Bytes): string;
  /** HMAC-SHA-256 of message under key (message first); a negative length means empty. `hmac_sha256("what do ya want for nothing?", 28, "Jefe", 4) -> "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843"` */
  function hmacSha256(message: Bytes, key: Bytes): string;
}
