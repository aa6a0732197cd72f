// Generated from src/exports.def by tools/gen_bindings.py; do not edit.

use super::rt::{self, Arg, IntList, FloatList, StrList, FloatArg, KarpaError};
use std::os::raw::{c_char, c_int};

/// The exports of `libkarpa_seq`, resolved once.
#[allow(non_snake_case, dead_code)]
pub(crate) struct SeqFns {
    pub seq_map_int: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_filter_int: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_reduce_sum_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_reduce_max_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_reduce_min_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_sort_int: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_unique_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_count_int: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_reverse_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_take_int: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_skip_int: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_map_float: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
    pub seq_filter_float: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
    pub seq_reduce_sum_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_reduce_max_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_reduce_min_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_sort_float: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_unique_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_count_float: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
    pub seq_reverse_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_map_string: unsafe extern "C" fn(*const c_char, *const c_char, *const c_char) -> *const c_char,
    pub seq_filter_string: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_count_string: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_sort_string: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_unique_string: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_reverse_string: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub seq_take_string: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub seq_skip_string: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
}

pub(crate) fn load_seq(h: &rt::Handle) -> Result<SeqFns, String> {
    unsafe {
        Ok(SeqFns {
            seq_map_int: std::mem::transmute(h.symbol("seq_map_int\0")?),
            seq_filter_int: std::mem::transmute(h.symbol("seq_filter_int\0")?),
            seq_reduce_sum_int: std::mem::transmute(h.symbol("seq_reduce_sum_int\0")?),
            seq_reduce_max_int: std::mem::transmute(h.symbol("seq_reduce_max_int\0")?),
            seq_reduce_min_int: std::mem::transmute(h.symbol("seq_reduce_min_int\0")?),
            seq_sort_int: std::mem::transmute(h.symbol("seq_sort_int\0")?),
            seq_unique_int: std::mem::transmute(h.symbol("seq_unique_int\0")?),
            seq_count_int: std::mem::transmute(h.symbol("seq_count_int\0")?),
            seq_reverse_int: std::mem::transmute(h.symbol("seq_reverse_int\0")?),
            seq_take_int: std::mem::transmute(h.symbol("seq_take_int\0")?),
            seq_skip_int: std::mem::transmute(h.symbol("seq_skip_int\0")?),
            seq_map_float: std::mem::transmute(h.symbol("seq_map_float\0")?),
            seq_filter_float: std::mem::transmute(h.symbol("seq_filter_float\0")?),
            seq_reduce_sum_float: std::mem::transmute(h.symbol("seq_reduce_sum_float\0")?),
            seq_reduce_max_float: std::mem::transmute(h.symbol("seq_reduce_max_float\0")?),
            seq_reduce_min_float: std::mem::transmute(h.symbol("seq_reduce_min_float\0")?),
            seq_sort_float: std::mem::transmute(h.symbol("seq_sort_float\0")?),
            seq_unique_float: std::mem::transmute(h.symbol("seq_unique_float\0")?),
            seq_count_float: std::mem::transmute(h.symbol("seq_count_float\0")?),
            seq_reverse_float: std::mem::transmute(h.symbol("seq_reverse_float\0")?),
            seq_map_string: std::mem::transmute(h.symbol("seq_map_string\0")?),
            seq_filter_string: std::mem::transmute(h.symbol("seq_filter_string\0")?),
            seq_count_string: std::mem::transmute(h.symbol("seq_count_string\0")?),
            seq_sort_string: std::mem::transmute(h.symbol("seq_sort_string\0")?),
            seq_unique_string: std::mem::transmute(h.symbol("seq_unique_string\0")?),
            seq_reverse_string: std::mem::transmute(h.symbol("seq_reverse_string\0")?),
            seq_take_string: std::mem::transmute(h.symbol("seq_take_string\0")?),
            seq_skip_string: std::mem::transmute(h.symbol("seq_skip_string\0")?),
        })
    }
}

/// The exports of `libkarpa_curried`, resolved once.
#[allow(non_snake_case, dead_code)]
pub(crate) struct CurriedFns {
    pub cur_sum_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_mean_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_min_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_max_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_minmax_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_variance_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_stddev_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_median_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_dot_int: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
    pub cur_l2norm_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_sum_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_mean_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_min_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_max_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_minmax_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_variance_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_stddev_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_median_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_dot_float: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
    pub cur_l2norm_float: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_distinct_int: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_count_int: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub cur_distinct_string: unsafe extern "C" fn(*const c_char) -> *const c_char,
    pub cur_count_string: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
    pub cur_union_string: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
    pub cur_intersect_string: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
    pub cur_diff_string: unsafe extern "C" fn(*const c_char, *const c_char) -> *const c_char,
}

pub(crate) fn load_curried(h: &rt::Handle) -> Result<CurriedFns, String> {
    unsafe {
        Ok(CurriedFns {
            cur_sum_int: std::mem::transmute(h.symbol("cur_sum_int\0")?),
            cur_mean_int: std::mem::transmute(h.symbol("cur_mean_int\0")?),
            cur_min_int: std::mem::transmute(h.symbol("cur_min_int\0")?),
            cur_max_int: std::mem::transmute(h.symbol("cur_max_int\0")?),
            cur_minmax_int: std::mem::transmute(h.symbol("cur_minmax_int\0")?),
            cur_variance_int: std::mem::transmute(h.symbol("cur_variance_int\0")?),
            cur_stddev_int: std::mem::transmute(h.symbol("cur_stddev_int\0")?),
            cur_median_int: std::mem::transmute(h.symbol("cur_median_int\0")?),
            cur_dot_int: std::mem::transmute(h.symbol("cur_dot_int\0")?),
            cur_l2norm_int: std::mem::transmute(h.symbol("cur_l2norm_int\0")?),
            cur_sum_float: std::mem::transmute(h.symbol("cur_sum_float\0")?),
            cur_mean_float: std::mem::transmute(h.symbol("cur_mean_float\0")?),
            cur_min_float: std::mem::transmute(h.symbol("cur_min_float\0")?),
            cur_max_float: std::mem::transmute(h.symbol("cur_max_float\0")?),
            cur_minmax_float: std::mem::transmute(h.symbol("cur_minmax_float\0")?),
            cur_variance_float: std::mem::transmute(h.symbol("cur_variance_float\0")?),
            cur_stddev_float: std::mem::transmute(h.symbol("cur_stddev_float\0")?),
            cur_median_float: std::mem::transmute(h.symbol("cur_median_float\0")?),
            cur_dot_float: std::mem::transmute(h.symbol("cur_dot_float\0")?),
            cur_l2norm_float: std::mem::transmute(h.symbol("cur_l2norm_float\0")?),
            cur_distinct_int: std::mem::transmute(h.symbol("cur_distinct_int\0")?),
            cur_count_int: std::mem::transmute(h.symbol("cur_count_int\0")?),
            cur_distinct_string: std::mem::transmute(h.symbol("cur_distinct_string\0")?),
            cur_count_string: std::mem::transmute(h.symbol("cur_count_string\0")?),
            cur_union_string: std::mem::transmute(h.symbol("cur_union_string\0")?),
            cur_intersect_string: std::mem::transmute(h.symbol("cur_intersect_string\0")?),
            cur_diff_string: std::mem::transmute(h.symbol("cur_diff_string\0")?),
        })
    }
}

/// The exports of `libkarpa_datetime`, resolved once.
#[allow(non_snake_case, dead_code)]
pub(crate) struct DatetimeFns {
    pub dt_is_leap_year: unsafe extern "C" fn(i64) -> i32,
    pub dt_days_in_month: unsafe extern "C" fn(i64, i64) -> i64,
    pub dt_days_in_year: unsafe extern "C" fn(i64) -> i64,
    pub dt_ts_to_ymd: unsafe extern "C" fn(i64) -> *const c_char,
    pub dt_ts_to_ymdhms: unsafe extern "C" fn(i64) -> *const c_char,
    pub dt_ymd_to_ts: unsafe extern "C" fn(i64, i64, i64) -> i64,
    pub dt_days_between: unsafe extern "C" fn(i64, i64, i64, i64, i64, i64) -> i64,
    pub dt_day_of_week: unsafe extern "C" fn(i64, i64, i64) -> i64,
    pub dt_week_of_year: unsafe extern "C" fn(i64, i64, i64) -> i64,
    pub dt_validate_date: unsafe extern "C" fn(i64, i64, i64) -> i32,
    pub dt_add_days: unsafe extern "C" fn(i64, i64, i64, i64) -> *const c_char,
    pub dt_add_months: unsafe extern "C" fn(i64, i64, i64, i64) -> *const c_char,
    pub dt_range_days: unsafe extern "C" fn(i64, i64, i64, i64) -> *const c_char,
    pub dt_range_days_between: unsafe extern "C" fn(i64, i64, i64, i64, i64, i64) -> *const c_char,
    pub dt_range_months: unsafe extern "C" fn(i64, i64, i64) -> *const c_char,
}

pub(crate) fn load_datetime(h: &rt::Handle) -> Result<DatetimeFns, String> {
    unsafe {
        Ok(DatetimeFns {
            dt_is_leap_year: std::mem::transmute(h.symbol("dt_is_leap_year\0")?),
            dt_days_in_month: std::mem::transmute(h.symbol("dt_days_in_month\0")?),
            dt_days_in_year: std::mem::transmute(h.symbol("dt_days_in_year\0")?),
            dt_ts_to_ymd: std::mem::transmute(h.symbol("dt_ts_to_ymd\0")?),
            dt_ts_to_ymdhms: std::mem::transmute(h.symbol("dt_ts_to_ymdhms\0")?),
            dt_ymd_to_ts: std::mem::transmute(h.symbol("dt_ymd_to_ts\0")?),
            dt_days_between: std::mem::transmute(h.symbol("dt_days_between\0")?),
            dt_day_of_week: std::mem::transmute(h.symbol("dt_day_of_week\0")?),
            dt_week_of_year: std::mem::transmute(h.symbol("dt_week_of_year\0")?),
            dt_validate_date: std::mem::transmute(h.symbol("dt_validate_date\0")?),
            dt_add_days: std::mem::transmute(h.symbol("dt_add_days\0")?),
            dt_add_months: std::mem::transmute(h.symbol("dt_add_months\0")?),
            dt_range_days: std::mem::transmute(h.symbol("dt_range_days\0")?),
            dt_range_days_between: std::mem::transmute(h.symbol("dt_range_days_between\0")?),
            dt_range_months: std::mem::transmute(h.symbol("dt_range_months\0")?),
        })
    }
}

/// The exports of `libkarpa_crypto`, resolved once.
#[allow(non_snake_case, dead_code)]
pub(crate) struct CryptoFns {
    pub md5_hash: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub sha1_hash: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub sha256_hash: unsafe extern "C" fn(*const c_char, c_int) -> *const c_char,
    pub hmac_md5: unsafe extern "C" fn(*const c_char, c_int, *const c_char, c_int) -> *const c_char,
    pub hmac_sha256: unsafe extern "C" fn(*const c_char, c_int, *const c_char, c_int) -> *const c_char,
}

pub(crate) fn load_crypto(h: &rt::Handle) -> Result<CryptoFns, String> {
    unsafe {
        Ok(CryptoFns {
            md5_hash: std::mem::transmute(h.symbol("md5_hash\0")?),
            sha1_hash: std::mem::transmute(h.symbol("sha1_hash\0")?),
            sha256_hash: std::mem::transmute(h.symbol("sha256_hash\0")?),
            hmac_md5: std::mem::transmute(h.symbol("hmac_md5\0")?),
            hmac_sha256: std::mem::transmute(h.symbol("hmac_sha256\0")?),
        })
    }
}

/// `libkarpa_seq`.
pub mod seq {
    use super::*;

    /// Each element times factor. "" for an empty list; fails on overflow.
    ///
    /// `seq_map_int("1, 2,3", 10) -> "10,20,30"`
    pub fn map_int(list: impl IntList, factor: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_map_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(factor)];
        let f = rt::seq()?.seq_map_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), factor as c_int) })
    }

    /// The elements strictly greater than threshold, in order; "" for an empty list.
    ///
    /// `seq_filter_int("5,1,7,3", 3) -> "5,7"`
    pub fn filter_int(list: impl IntList, threshold: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_filter_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(threshold)];
        let f = rt::seq()?.seq_filter_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), threshold as c_int) })
    }

    /// The sum; "0" for an empty list; fails when a running sum overflows.
    ///
    /// `seq_reduce_sum_int("1,2,3") -> "6"`
    pub fn reduce_sum_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reduce_sum_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reduce_sum_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The largest element; "0" for an empty list.
    ///
    /// `seq_reduce_max_int("4,-2,9") -> "9"`
    pub fn reduce_max_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reduce_max_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reduce_max_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The smallest element; "0" for an empty list.
    ///
    /// `seq_reduce_min_int("4,-2,9") -> "-2"`
    pub fn reduce_min_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reduce_min_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reduce_min_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// Stable sort, ascending when descending is 0, descending otherwise; "" for an empty list.
    ///
    /// `seq_sort_int("3,1,2", 0) -> "1,2,3"`
    pub fn sort_int(list: impl IntList, descending: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_sort_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(descending)];
        let f = rt::seq()?.seq_sort_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), descending as c_int) })
    }

    /// The first occurrence of each value, in input order; "" for an empty list.
    ///
    /// `seq_unique_int("3,1,3,2,1") -> "3,1,2"`
    pub fn unique_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_unique_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_unique_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// How many elements are strictly greater than threshold; "0" for an empty list.
    ///
    /// `seq_count_int("5,1,7,3", 3) -> "2"`
    pub fn count_int(list: impl IntList, threshold: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_count_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(threshold)];
        let f = rt::seq()?.seq_count_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), threshold as c_int) })
    }

    /// The elements in reverse order; "" for an empty list.
    ///
    /// `seq_reverse_int("1,2,3") -> "3,2,1"`
    pub fn reverse_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reverse_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reverse_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The first count elements (all when fewer); fails when count < 0, even for an empty list.
    ///
    /// `seq_take_int("1,2,3", 2) -> "1,2"`
    pub fn take_int(list: impl IntList, count: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_take_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(count)];
        let f = rt::seq()?.seq_take_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), count as c_int) })
    }

    /// The elements after the first count; fails when count < 0, even for an empty list.
    ///
    /// `seq_skip_int("1,2,3", -1) -> failure`
    pub fn skip_int(list: impl IntList, count: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_skip_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(count)];
        let f = rt::seq()?.seq_skip_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), count as c_int) })
    }

    /// Each element times factor, six significant digits each ("3", "1.5", "inf"); "" for an empty list.
    ///
    /// `seq_map_float("1.5, 2", "2") -> "3,4"`
    pub fn map_float(list: impl FloatList, factor: impl FloatArg) -> Result<String, KarpaError> {
        const NAME: &str = "seq_map_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Text(factor.float_text(NAME, "factor")?)];
        let f = rt::seq()?.seq_map_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }

    /// The elements strictly greater than threshold (never a NaN), six significant digits; "" for an empty list.
    ///
    /// `seq_filter_float("0.5,1.5,nan,2", "1") -> "1.5,2"`
    pub fn filter_float(list: impl FloatList, threshold: impl FloatArg) -> Result<String, KarpaError> {
        const NAME: &str = "seq_filter_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Text(threshold.float_text(NAME, "threshold")?)];
        let f = rt::seq()?.seq_filter_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }

    /// The left-to-right sum from +0.0, shortest exact text; "0.0" for an empty list.
    ///
    /// `seq_reduce_sum_float("0.1,0.2") -> "0.30000000000000004"`
    pub fn reduce_sum_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reduce_sum_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reduce_sum_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The largest element (a leading NaN wins), shortest exact text; "0.0" for an empty list.
    ///
    /// `seq_reduce_max_float("1,nan,2") -> "2.0"`
    pub fn reduce_max_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reduce_max_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reduce_max_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The smallest element (a leading NaN wins), shortest exact text; "0.0" for an empty list.
    ///
    /// `seq_reduce_min_float("") -> "0.0"`
    pub fn reduce_min_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reduce_min_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reduce_min_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// Stable sort; -0.0 equals 0.0; every comparison with NaN answers "greater"; "" for an empty list.
    ///
    /// `seq_sort_float("3,1.5,2", 1) -> "3,2,1.5"`
    pub fn sort_float(list: impl FloatList, descending: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_sort_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(descending)];
        let f = rt::seq()?.seq_sort_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), descending as c_int) })
    }

    /// The first of each value (-0.0 and 0.0 are one value; every NaN is kept); "" for an empty list.
    ///
    /// `seq_unique_float("-0.0,0.0") -> "-0"`
    pub fn unique_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_unique_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_unique_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// How many elements are strictly greater than threshold, as an integer; "0" for an empty list.
    ///
    /// `seq_count_float("0.5,1.5,nan,2", "1") -> "2"`
    pub fn count_float(list: impl FloatList, threshold: impl FloatArg) -> Result<String, KarpaError> {
        const NAME: &str = "seq_count_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Text(threshold.float_text(NAME, "threshold")?)];
        let f = rt::seq()?.seq_count_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }

    /// The elements in reverse order, six significant digits; "" for an empty list.
    ///
    /// `seq_reverse_float("3.14159265,1") -> "1,3.14159"`
    pub fn reverse_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reverse_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reverse_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// prefix + item stripped of blanks + suffix, for every item; "" for "". Never fails.
    ///
    /// `seq_map_string("a, b,,c", "<", ">") -> "<a>,<b>,<>,<c>"`
    pub fn map_string(list: impl StrList, prefix: &str, suffix: &str) -> Result<String, KarpaError> {
        const NAME: &str = "seq_map_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Text(rt::text(NAME, "prefix", prefix.as_bytes())?), Arg::Text(rt::text(NAME, "suffix", suffix.as_bytes())?)];
        let f = rt::seq()?.seq_map_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr(), args[2].ptr()) })
    }

    /// The items (unchanged) whose stripped length is at least min_length; "" for "". Never fails.
    ///
    /// `seq_filter_string("ab, c, ,def", 2) -> "ab,def"`
    pub fn filter_string(list: impl StrList, min_length: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_filter_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(min_length)];
        let f = rt::seq()?.seq_filter_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), min_length as c_int) })
    }

    /// How many items have a stripped length of at least min_length; "0" for "". Never fails.
    ///
    /// `seq_count_string(",", 0) -> "2"`
    pub fn count_string(list: impl StrList, min_length: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_count_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(min_length)];
        let f = rt::seq()?.seq_count_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), min_length as c_int) })
    }

    /// Stable sort by unsigned bytes, shorter first on a common prefix; "" for "". Never fails.
    ///
    /// `seq_sort_string("b,a,,B", 0) -> ",B,a,b"`
    pub fn sort_string(list: impl StrList, descending: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_sort_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(descending)];
        let f = rt::seq()?.seq_sort_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), descending as c_int) })
    }

    /// The first occurrence of each item, byte for byte; "" for "". Never fails.
    ///
    /// `seq_unique_string("a,b,a, a") -> "a,b, a"`
    pub fn unique_string(list: impl StrList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_unique_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_unique_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The items in reverse order; "" for "". Never fails.
    ///
    /// `seq_reverse_string("a,") -> ",a"`
    pub fn reverse_string(list: impl StrList) -> Result<String, KarpaError> {
        const NAME: &str = "seq_reverse_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::seq()?.seq_reverse_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The first count items; "" for ""; fails when count < 0 and the list is not empty.
    ///
    /// `seq_take_string("a", -1) -> failure`
    pub fn take_string(list: impl StrList, count: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_take_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(count)];
        let f = rt::seq()?.seq_take_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), count as c_int) })
    }

    /// The items after the first count; "" for ""; fails when count < 0 and the list is not empty.
    ///
    /// `seq_skip_string("a,b,c", 1) -> "b,c"`
    pub fn skip_string(list: impl StrList, count: i32) -> Result<String, KarpaError> {
        const NAME: &str = "seq_skip_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(count)];
        let f = rt::seq()?.seq_skip_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), count as c_int) })
    }
}

/// `libkarpa_curried`.
pub mod curried {
    use super::*;

    /// The sum; "0" for an empty list; fails when a running sum overflows.
    ///
    /// `cur_sum_int("1, 2 ,,3") -> "6"`
    pub fn sum_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_sum_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_sum_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// sum / n, general; "0" for an empty list; fails when the sum overflows.
    ///
    /// `cur_mean_int("1,2,2") -> "1.66667"`
    pub fn mean_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_mean_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_mean_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The smallest item; "0" for an empty list.
    ///
    /// `cur_min_int("") -> "0"`
    pub fn min_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_min_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_min_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The largest item; "0" for an empty list.
    ///
    /// `cur_max_int("3,-1,2") -> "3"`
    pub fn max_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_max_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_max_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// "min,max"; "," for an empty list.
    ///
    /// `cur_minmax_int("3,-1,2") -> "-1,3"`
    pub fn minmax_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_minmax_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_minmax_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// Population variance (divisor n), general; "0" for an empty list.
    ///
    /// `cur_variance_int("1,2,3,4") -> "1.25"`
    pub fn variance_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_variance_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_variance_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// Population standard deviation, general; "0" for an empty list.
    ///
    /// `cur_stddev_int("1,2,3,4") -> "1.11803"`
    pub fn stddev_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_stddev_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_stddev_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The median (mean of the two middle items for even n), general; "0" for an empty list.
    ///
    /// `cur_median_int("4,1,3,2") -> "2.5"`
    pub fn median_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_median_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_median_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// Sum of a[i]*b[i] over the shorter length; "0" when either is empty; fails on overflow or a bad item in either list (a first).
    ///
    /// `cur_dot_int("1,2,3", "4,5") -> "14"`
    pub fn dot_int(a: impl IntList, b: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_dot_int";
        let args = [Arg::Text(a.list_text(NAME, "a")?), Arg::Text(b.list_text(NAME, "b")?)];
        let f = rt::curried()?.cur_dot_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }

    /// Euclidean norm, general; "0" for an empty list.
    ///
    /// `cur_l2norm_int("3,4") -> "5"`
    pub fn l2norm_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_l2norm_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_l2norm_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The sum from +0.0, exact; "0.0" for an empty list.
    ///
    /// `cur_sum_float("0.1,0.2") -> "0.30000000000000004"`
    pub fn sum_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_sum_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_sum_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// sum / n, general; "0" for an empty list.
    ///
    /// `cur_mean_float("0.1,0.2") -> "0.15"`
    pub fn mean_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_mean_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_mean_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The smallest item (a leading NaN wins), exact; "0.0" for an empty list.
    ///
    /// `cur_min_float("-0.0,0.0") -> "-0.0"`
    pub fn min_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_min_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_min_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The largest item (a leading NaN wins), exact; "0.0" for an empty list.
    ///
    /// `cur_max_float("") -> "0.0"`
    pub fn max_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_max_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_max_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// "min,max", both exact; "," for an empty list.
    ///
    /// `cur_minmax_float("") -> ","`
    pub fn minmax_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_minmax_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_minmax_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// Population variance (two passes, divisor n), general; "0" for an empty list.
    ///
    /// `cur_variance_float("1,2,3,4") -> "1.25"`
    pub fn variance_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_variance_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_variance_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// Population standard deviation, general; "0" for an empty list.
    ///
    /// `cur_stddev_float("1,2,3,4") -> "1.11803"`
    pub fn stddev_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_stddev_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_stddev_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The median, general; "0" for an empty list.
    ///
    /// `cur_median_float("3,1,2") -> "2"`
    pub fn median_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_median_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_median_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// Sum of a[i]*b[i] over the shorter length, exact; "0.0" when either is empty; fails on a bad item in either list (a first).
    ///
    /// `cur_dot_float("1.5,2", "2,0.25") -> "3.5"`
    pub fn dot_float(a: impl FloatList, b: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_dot_float";
        let args = [Arg::Text(a.list_text(NAME, "a")?), Arg::Text(b.list_text(NAME, "b")?)];
        let f = rt::curried()?.cur_dot_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }

    /// Euclidean norm without scaling (may give "inf"), general; "0" for an empty list.
    ///
    /// `cur_l2norm_float("3,4") -> "5"`
    pub fn l2norm_float(list: impl FloatList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_l2norm_float";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_l2norm_float;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// The first occurrence of each value ("1", "+1" and "01" are one value); "" for an empty list.
    ///
    /// `cur_distinct_int("3, 1,3 ,2,1") -> "3,1,2"`
    pub fn distinct_int(list: impl IntList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_distinct_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_distinct_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// How many items equal value; "0" for an empty list.
    ///
    /// `cur_count_int("1,2,1,1", 1) -> "3"`
    pub fn count_int(list: impl IntList, value: i32) -> Result<String, KarpaError> {
        const NAME: &str = "cur_count_int";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Int(value)];
        let f = rt::curried()?.cur_count_int;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), value as c_int) })
    }

    /// The first occurrence of each item, byte for byte; "" for "". Never fails.
    ///
    /// `cur_distinct_string("b,a,b, a") -> "b,a, a"`
    pub fn distinct_string(list: impl StrList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_distinct_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?)];
        let f = rt::curried()?.cur_distinct_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr()) })
    }

    /// How many items equal item (taken whole, not split or stripped); "" is one empty item. Never fails.
    ///
    /// `cur_count_string("a,b,a", "a") -> "2"`
    pub fn count_string(list: impl StrList, item: &str) -> Result<String, KarpaError> {
        const NAME: &str = "cur_count_string";
        let args = [Arg::Text(list.list_text(NAME, "list")?), Arg::Text(rt::text(NAME, "item", item.as_bytes())?)];
        let f = rt::curried()?.cur_count_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }

    /// The distinct items of a, then those of b not seen before; "" is one empty item. Never fails.
    ///
    /// `cur_union_string("a,b,a", "c,b,d") -> "a,b,c,d"`
    pub fn union_string(a: impl StrList, b: impl StrList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_union_string";
        let args = [Arg::Text(a.list_text(NAME, "a")?), Arg::Text(b.list_text(NAME, "b")?)];
        let f = rt::curried()?.cur_union_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }

    /// The distinct items of a that occur in b, in the order of a; "" is one empty item. Never fails.
    ///
    /// `cur_intersect_string("a,b,a,c", "c,a") -> "a,c"`
    pub fn intersect_string(a: impl StrList, b: impl StrList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_intersect_string";
        let args = [Arg::Text(a.list_text(NAME, "a")?), Arg::Text(b.list_text(NAME, "b")?)];
        let f = rt::curried()?.cur_intersect_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }

    /// The items of a (repeats kept) that do not occur in b; "" is one empty item. Never fails.
    ///
    /// `cur_diff_string("a,b,a,c", "b") -> "a,a,c"`
    pub fn diff_string(a: impl StrList, b: impl StrList) -> Result<String, KarpaError> {
        const NAME: &str = "cur_diff_string";
        let args = [Arg::Text(a.list_text(NAME, "a")?), Arg::Text(b.list_text(NAME, "b")?)];
        let f = rt::curried()?.cur_diff_string;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[1].ptr()) })
    }
}

/// `libkarpa_datetime`.
pub mod datetime {
    use super::*;

    /// 1 for a leap year (0, -4 and 2000 are; 1900 is not), else 0. Never fails.
    ///
    /// `dt_is_leap_year(2000) -> 1`
    pub fn is_leap_year(year: i64) -> Result<bool, KarpaError> {
        let f = rt::datetime()?.dt_is_leap_year;
        Ok(unsafe { f(year) } != 0)
    }

    /// 28 to 31; 0 when month is outside 1..12. Never fails.
    ///
    /// `dt_days_in_month(2024, 2) -> 29`
    pub fn days_in_month(year: i64, month: i64) -> Result<i64, KarpaError> {
        let f = rt::datetime()?.dt_days_in_month;
        Ok(unsafe { f(year, month) })
    }

    /// 366 or 365. Never fails.
    ///
    /// `dt_days_in_year(1900) -> 365`
    pub fn days_in_year(year: i64) -> Result<i64, KarpaError> {
        let f = rt::datetime()?.dt_days_in_year;
        Ok(unsafe { f(year) })
    }

    /// The UTC date holding the timestamp: "1969-12-31" for -1; fails for the 55808 smallest timestamps, whose day starts before the 64-bit span.
    ///
    /// `dt_ts_to_ymd(951782400) -> "2000-02-29"`
    pub fn ts_to_ymd(timestamp: i64) -> Result<String, KarpaError> {
        const NAME: &str = "dt_ts_to_ymd";
        let args = [Arg::Int64(timestamp)];
        let f = rt::datetime()?.dt_ts_to_ymd;
        rt::text_result(NAME, &args, unsafe { f(timestamp) })
    }

    /// The UTC date and time: "2023-11-14 22:13:20" for 1700000000; fails as dt_ts_to_ymd does.
    ///
    /// `dt_ts_to_ymdhms(1700000000) -> "2023-11-14 22:13:20"`
    pub fn ts_to_ymdhms(timestamp: i64) -> Result<String, KarpaError> {
        const NAME: &str = "dt_ts_to_ymdhms";
        let args = [Arg::Int64(timestamp)];
        let f = rt::datetime()?.dt_ts_to_ymdhms;
        rt::text_result(NAME, &args, unsafe { f(timestamp) })
    }

    /// The timestamp of 00:00:00 UTC on the date; 0 on failure (checked date).
    ///
    /// `dt_ymd_to_ts(2000, 2, 29) -> 951782400`
    pub fn ymd_to_ts(year: i64, month: i64, day: i64) -> Result<i64, KarpaError> {
        const NAME: &str = "dt_ymd_to_ts";
        let args = [Arg::Int64(year), Arg::Int64(month), Arg::Int64(day)];
        let f = rt::datetime()?.dt_ymd_to_ts;
        rt::number_result(NAME, &args, unsafe { f(year, month, day) })
    }

    /// Days from the first date to the second (negative when earlier); 0 on failure (checked dates; also when the two timestamps differ by more than the 64-bit range).
    ///
    /// `dt_days_between(2024, 1, 1, 2024, 3, 1) -> 60`
    pub fn days_between(year1: i64, month1: i64, day1: i64, year2: i64, month2: i64, day2: i64) -> Result<i64, KarpaError> {
        const NAME: &str = "dt_days_between";
        let args = [Arg::Int64(year1), Arg::Int64(month1), Arg::Int64(day1), Arg::Int64(year2), Arg::Int64(month2), Arg::Int64(day2)];
        let f = rt::datetime()?.dt_days_between;
        rt::number_result(NAME, &args, unsafe { f(year1, month1, day1, year2, month2, day2) })
    }

    /// 1 = Monday ... 7 = Sunday; 0 on failure (checked date).
    ///
    /// `dt_day_of_week(2023, 12, 31) -> 7`
    pub fn day_of_week(year: i64, month: i64, day: i64) -> Result<i64, KarpaError> {
        const NAME: &str = "dt_day_of_week";
        let args = [Arg::Int64(year), Arg::Int64(month), Arg::Int64(day)];
        let f = rt::datetime()?.dt_day_of_week;
        rt::number_result(NAME, &args, unsafe { f(year, month, day) })
    }

    /// This library's own week number, 1 to 52, not ISO 8601; 0 on failure (checked date). With yd the day of the year (0 for January 1), wd the weekday (0 = Monday) and j the weekday of January 4 of the same year: a day with yd <= 7 - j is week 52; a later day is week (yd - wd - 1) / 7 + 1, the quotient truncated toward zero, and a day that would so be week 53 is week 1.
    ///
    /// `dt_week_of_year(2024, 1, 15) -> 2`
    pub fn week_of_year(year: i64, month: i64, day: i64) -> Result<i64, KarpaError> {
        const NAME: &str = "dt_week_of_year";
        let args = [Arg::Int64(year), Arg::Int64(month), Arg::Int64(day)];
        let f = rt::datetime()?.dt_week_of_year;
        rt::number_result(NAME, &args, unsafe { f(year, month, day) })
    }

    /// 1 for a real date in the years 1 to 9999, else 0. Never fails.
    ///
    /// `dt_validate_date(2023, 2, 29) -> 0`
    pub fn validate_date(year: i64, month: i64, day: i64) -> Result<bool, KarpaError> {
        let f = rt::datetime()?.dt_validate_date;
        Ok(unsafe { f(year, month, day) } != 0)
    }

    /// The date shifted by days; fails for a checked date that is bad or a result outside the span.
    ///
    /// `dt_add_days(2024, 2, 28, 1) -> "2024-02-29"`
    pub fn add_days(year: i64, month: i64, day: i64, days: i64) -> Result<String, KarpaError> {
        const NAME: &str = "dt_add_days";
        let args = [Arg::Int64(year), Arg::Int64(month), Arg::Int64(day), Arg::Int64(days)];
        let f = rt::datetime()?.dt_add_days;
        rt::text_result(NAME, &args, unsafe { f(year, month, day, days) })
    }

    /// The date shifted by months, the day clamped to the month's end; no date check; fails when month + months or the year leaves the 64-bit range.
    ///
    /// `dt_add_months(2024, 1, 31, 1) -> "2024-02-29"`
    pub fn add_months(year: i64, month: i64, day: i64, months: i64) -> Result<String, KarpaError> {
        const NAME: &str = "dt_add_months";
        let args = [Arg::Int64(year), Arg::Int64(month), Arg::Int64(day), Arg::Int64(months)];
        let f = rt::datetime()?.dt_add_months;
        rt::text_result(NAME, &args, unsafe { f(year, month, day, months) })
    }

    /// count dates from the given one, comma-joined; "" for 0; fails for a bad checked date, then for count < 0, then when the run leaves the span.
    ///
    /// `dt_range_days(2023, 12, 30, 3) -> "2023-12-30,2023-12-31,2024-01-01"`
    pub fn range_days(year: i64, month: i64, day: i64, count: i64) -> Result<String, KarpaError> {
        const NAME: &str = "dt_range_days";
        let args = [Arg::Int64(year), Arg::Int64(month), Arg::Int64(day), Arg::Int64(count)];
        let f = rt::datetime()?.dt_range_days;
        rt::text_result(NAME, &args, unsafe { f(year, month, day, count) })
    }

    /// Every date from the first to the second, both included; "" when the second is earlier; fails as dt_days_between does.
    ///
    /// `dt_range_days_between(2024, 1, 30, 2024, 2, 2) -> "2024-01-30,2024-01-31,2024-02-01,2024-02-02"`
    pub fn range_days_between(year1: i64, month1: i64, day1: i64, year2: i64, month2: i64, day2: i64) -> Result<String, KarpaError> {
        const NAME: &str = "dt_range_days_between";
        let args = [Arg::Int64(year1), Arg::Int64(month1), Arg::Int64(day1), Arg::Int64(year2), Arg::Int64(month2), Arg::Int64(day2)];
        let f = rt::datetime()?.dt_range_days_between;
        rt::text_result(NAME, &args, unsafe { f(year1, month1, day1, year2, month2, day2) })
    }

    /// count months ("2024-11,2024-12,2025-01"); "" for 0; fails for count < 0 or when the year leaves the 64-bit range.
    ///
    /// `dt_range_months(2024, 11, 4) -> "2024-11,2024-12,2025-01,2025-02"`
    pub fn range_months(year: i64, month: i64, count: i64) -> Result<String, KarpaError> {
        const NAME: &str = "dt_range_months";
        let args = [Arg::Int64(year), Arg::Int64(month), Arg::Int64(count)];
        let f = rt::datetime()?.dt_range_months;
        rt::text_result(NAME, &args, unsafe { f(year, month, count) })
    }
}

/// `libkarpa_crypto`.
pub mod crypto {
    use super::*;

    /// 32 hex characters; fails when len < 0.
    ///
    /// `md5_hash("abc", 3) -> "900150983CD24FB0D6963F7D28E17F72"`
    pub fn md5_hash(data: impl AsRef<[u8]>) -> Result<String, KarpaError> {
        const NAME: &str = "md5_hash";
        let args = [Arg::Bytes(rt::bytes(NAME, "data", data.as_ref())?)];
        let f = rt::crypto()?.md5_hash;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[0].len()) })
    }

    /// 40 hex characters; fails when len < 0.
    ///
    /// `sha1_hash("abc", 3) -> "A9993E364706816ABA3E25717850C26C9CD0D89D"`
    pub fn sha1_hash(data: impl AsRef<[u8]>) -> Result<String, KarpaError> {
        const NAME: &str = "sha1_hash";
        let args = [Arg::Bytes(rt::bytes(NAME, "data", data.as_ref())?)];
        let f = rt::crypto()?.sha1_hash;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[0].len()) })
    }

    /// 64 hex characters; fails when len < 0.
    ///
    /// `sha256_hash(null, 0) -> "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"`
    pub fn sha256_hash(data: impl AsRef<[u8]>) -> Result<String, KarpaError> {
        const NAME: &str = "sha256_hash";
        let args = [Arg::Bytes(rt::bytes(NAME, "data", data.as_ref())?)];
        let f = rt::crypto()?.sha256_hash;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[0].len()) })
    }

    /// HMAC-MD5 of message under key (message first); a negative length means empty.
    ///
    /// `hmac_md5("what do ya want for nothing?", 28, "Jefe", 4) -> "750C783E6AB0B503EAA86E310A5DB738"`
    pub fn hmac_md5(message: impl AsRef<[u8]>, key: impl AsRef<[u8]>) -> Result<String, KarpaError> {
        const NAME: &str = "hmac_md5";
        let args = [Arg::Bytes(rt::bytes(NAME, "message", message.as_ref())?), Arg::Bytes(rt::bytes(NAME, "key", key.as_ref())?)];
        let f = rt::crypto()?.hmac_md5;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[0].len(), args[1].ptr(), args[1].len()) })
    }

    /// HMAC-SHA-256 of message under key (message first); a negative length means empty.
    ///
    /// `hmac_sha256("what do ya want for nothing?", 28, "Jefe", 4) -> "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843"`
    pub fn hmac_sha256(message: impl AsRef<[u8]>, key: impl AsRef<[u8]>) -> Result<String, KarpaError> {
        const NAME: &str = "hmac_sha256";
        let args = [Arg::Bytes(rt::bytes(NAME, "message", message.as_ref())?), Arg::Bytes(rt::bytes(NAME, "key", key.as_ref())?)];
        let f = rt::crypto()?.hmac_sha256;
        rt::text_result(NAME, &args, unsafe { f(args[0].ptr(), args[0].len(), args[1].ptr(), args[1].len()) })
    }
}

/// The library of an export.
pub(crate) fn library_of(function: &str) -> &'static str {
    match function {
        "seq_map_int" | "seq_filter_int" | "seq_reduce_sum_int" | "seq_reduce_max_int" | "seq_reduce_min_int" | "seq_sort_int" | "seq_unique_int" | "seq_count_int" | "seq_reverse_int" | "seq_take_int" | "seq_skip_int" | "seq_map_float" | "seq_filter_float" | "seq_reduce_sum_float" | "seq_reduce_max_float" | "seq_reduce_min_float" | "seq_sort_float" | "seq_unique_float" | "seq_count_float" | "seq_reverse_float" | "seq_map_string" | "seq_filter_string" | "seq_count_string" | "seq_sort_string" | "seq_unique_string" | "seq_reverse_string" | "seq_take_string" | "seq_skip_string" => "seq",
        "cur_sum_int" | "cur_mean_int" | "cur_min_int" | "cur_max_int" | "cur_minmax_int" | "cur_variance_int" | "cur_stddev_int" | "cur_median_int" | "cur_dot_int" | "cur_l2norm_int" | "cur_sum_float" | "cur_mean_float" | "cur_min_float" | "cur_max_float" | "cur_minmax_float" | "cur_variance_float" | "cur_stddev_float" | "cur_median_float" | "cur_dot_float" | "cur_l2norm_float" | "cur_distinct_int" | "cur_count_int" | "cur_distinct_string" | "cur_count_string" | "cur_union_string" | "cur_intersect_string" | "cur_diff_string" => "curried",
        "dt_is_leap_year" | "dt_days_in_month" | "dt_days_in_year" | "dt_ts_to_ymd" | "dt_ts_to_ymdhms" | "dt_ymd_to_ts" | "dt_days_between" | "dt_day_of_week" | "dt_week_of_year" | "dt_validate_date" | "dt_add_days" | "dt_add_months" | "dt_range_days" | "dt_range_days_between" | "dt_range_months" => "datetime",
        "md5_hash" | "sha1_hash" | "sha256_hash" | "hmac_md5" | "hmac_sha256" => "crypto",
        _ => "",
    }
}

/// Calls an export by its C name with its arguments as command-line words; numbers come back as text.
#[doc(hidden)]
pub fn call_by_name(name: &str, words: &[&str]) -> Result<String, KarpaError> {
    match name {
        "seq_map_int" => seq::map_int(words[0], words[1].parse().expect("an integer word")),
        "seq_filter_int" => seq::filter_int(words[0], words[1].parse().expect("an integer word")),
        "seq_reduce_sum_int" => seq::reduce_sum_int(words[0]),
        "seq_reduce_max_int" => seq::reduce_max_int(words[0]),
        "seq_reduce_min_int" => seq::reduce_min_int(words[0]),
        "seq_sort_int" => seq::sort_int(words[0], words[1].parse().expect("an integer word")),
        "seq_unique_int" => seq::unique_int(words[0]),
        "seq_count_int" => seq::count_int(words[0], words[1].parse().expect("an integer word")),
        "seq_reverse_int" => seq::reverse_int(words[0]),
        "seq_take_int" => seq::take_int(words[0], words[1].parse().expect("an integer word")),
        "seq_skip_int" => seq::skip_int(words[0], words[1].parse().expect("an integer word")),
        "seq_map_float" => seq::map_float(words[0], words[1]),
        "seq_filter_float" => seq::filter_float(words[0], words[1]),
        "seq_reduce_sum_float" => seq::reduce_sum_float(words[0]),
        "seq_reduce_max_float" => seq::reduce_max_float(words[0]),
        "seq_reduce_min_float" => seq::reduce_min_float(words[0]),
        "seq_sort_float" => seq::sort_float(words[0], words[1].parse().expect("an integer word")),
        "seq_unique_float" => seq::unique_float(words[0]),
        "seq_count_float" => seq::count_float(words[0], words[1]),
        "seq_reverse_float" => seq::reverse_float(words[0]),
        "seq_map_string" => seq::map_string(words[0], words[1], words[2]),
        "seq_filter_string" => seq::filter_string(words[0], words[1].parse().expect("an integer word")),
        "seq_count_string" => seq::count_string(words[0], words[1].parse().expect("an integer word")),
        "seq_sort_string" => seq::sort_string(words[0], words[1].parse().expect("an integer word")),
        "seq_unique_string" => seq::unique_string(words[0]),
        "seq_reverse_string" => seq::reverse_string(words[0]),
        "seq_take_string" => seq::take_string(words[0], words[1].parse().expect("an integer word")),
        "seq_skip_string" => seq::skip_string(words[0], words[1].parse().expect("an integer word")),
        "cur_sum_int" => curried::sum_int(words[0]),
        "cur_mean_int" => curried::mean_int(words[0]),
        "cur_min_int" => curried::min_int(words[0]),
        "cur_max_int" => curried::max_int(words[0]),
        "cur_minmax_int" => curried::minmax_int(words[0]),
        "cur_variance_int" => curried::variance_int(words[0]),
        "cur_stddev_int" => curried::stddev_int(words[0]),
        "cur_median_int" => curried::median_int(words[0]),
        "cur_dot_int" => curried::dot_int(words[0], words[1]),
        "cur_l2norm_int" => curried::l2norm_int(words[0]),
        "cur_sum_float" => curried::sum_float(words[0]),
        "cur_mean_float" => curried::mean_float(words[0]),
        "cur_min_float" => curried::min_float(words[0]),
        "cur_max_float" => curried::max_float(words[0]),
        "cur_minmax_float" => curried::minmax_float(words[0]),
        "cur_variance_float" => curried::variance_float(words[0]),
        "cur_stddev_float" => curried::stddev_float(words[0]),
        "cur_median_float" => curried::median_float(words[0]),
        "cur_dot_float" => curried::dot_float(words[0], words[1]),
        "cur_l2norm_float" => curried::l2norm_float(words[0]),
        "cur_distinct_int" => curried::distinct_int(words[0]),
        "cur_count_int" => curried::count_int(words[0], words[1].parse().expect("an integer word")),
        "cur_distinct_string" => curried::distinct_string(words[0]),
        "cur_count_string" => curried::count_string(words[0], words[1]),
        "cur_union_string" => curried::union_string(words[0], words[1]),
        "cur_intersect_string" => curried::intersect_string(words[0], words[1]),
        "cur_diff_string" => curried::diff_string(words[0], words[1]),
        "dt_is_leap_year" => datetime::is_leap_year(words[0].parse().expect("an integer word")).map(|b| (b as i32).to_string()),
        "dt_days_in_month" => datetime::days_in_month(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word")).map(|n| n.to_string()),
        "dt_days_in_year" => datetime::days_in_year(words[0].parse().expect("an integer word")).map(|n| n.to_string()),
        "dt_ts_to_ymd" => datetime::ts_to_ymd(words[0].parse().expect("an integer word")),
        "dt_ts_to_ymdhms" => datetime::ts_to_ymdhms(words[0].parse().expect("an integer word")),
        "dt_ymd_to_ts" => datetime::ymd_to_ts(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word")).map(|n| n.to_string()),
        "dt_days_between" => datetime::days_between(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word"), words[3].parse().expect("an integer word"), words[4].parse().expect("an integer word"), words[5].parse().expect("an integer word")).map(|n| n.to_string()),
        "dt_day_of_week" => datetime::day_of_week(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word")).map(|n| n.to_string()),
        "dt_week_of_year" => datetime::week_of_year(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word")).map(|n| n.to_string()),
        "dt_validate_date" => datetime::validate_date(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word")).map(|b| (b as i32).to_string()),
        "dt_add_days" => datetime::add_days(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word"), words[3].parse().expect("an integer word")),
        "dt_add_months" => datetime::add_months(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word"), words[3].parse().expect("an integer word")),
        "dt_range_days" => datetime::range_days(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word"), words[3].parse().expect("an integer word")),
        "dt_range_days_between" => datetime::range_days_between(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word"), words[3].parse().expect("an integer word"), words[4].parse().expect("an integer word"), words[5].parse().expect("an integer word")),
        "dt_range_months" => datetime::range_months(words[0].parse().expect("an integer word"), words[1].parse().expect("an integer word"), words[2].parse().expect("an integer word")),
        "md5_hash" => crypto::md5_hash(words[0]),
        "sha1_hash" => crypto::sha1_hash(words[0]),
        "sha256_hash" => crypto::sha256_hash(words[0]),
        "hmac_md5" => crypto::hmac_md5(words[0], words[1]),
        "hmac_sha256" => crypto::hmac_sha256(words[0], words[1]),
        _ => panic!("no export {}", name),
    }
}

/// Every export's table example: library, export, arguments as command-line words, result.
#[doc(hidden)]
pub const EXAMPLES: &[(&str, &str, &[&str], Option<&str>)] = &[
    ("seq", "seq_map_int", &["1, 2,3", "10"], Some("10,20,30")),
    ("seq", "seq_filter_int", &["5,1,7,3", "3"], Some("5,7")),
    ("seq", "seq_reduce_sum_int", &["1,2,3"], Some("6")),
    ("seq", "seq_reduce_max_int", &["4,-2,9"], Some("9")),
    ("seq", "seq_reduce_min_int", &["4,-2,9"], Some("-2")),
    ("seq", "seq_sort_int", &["3,1,2", "0"], Some("1,2,3")),
    ("seq", "seq_unique_int", &["3,1,3,2,1"], Some("3,1,2")),
    ("seq", "seq_count_int", &["5,1,7,3", "3"], Some("2")),
    ("seq", "seq_reverse_int", &["1,2,3"], Some("3,2,1")),
    ("seq", "seq_take_int", &["1,2,3", "2"], Some("1,2")),
    ("seq", "seq_skip_int", &["1,2,3", "-1"], None),
    ("seq", "seq_map_float", &["1.5, 2", "2"], Some("3,4")),
    ("seq", "seq_filter_float", &["0.5,1.5,nan,2", "1"], Some("1.5,2")),
    ("seq", "seq_reduce_sum_float", &["0.1,0.2"], Some("0.30000000000000004")),
    ("seq", "seq_reduce_max_float", &["1,nan,2"], Some("2.0")),
    ("seq", "seq_reduce_min_float", &[""], Some("0.0")),
    ("seq", "seq_sort_float", &["3,1.5,2", "1"], Some("3,2,1.5")),
    ("seq", "seq_unique_float", &["-0.0,0.0"], Some("-0")),
    ("seq", "seq_count_float", &["0.5,1.5,nan,2", "1"], Some("2")),
    ("seq", "seq_reverse_float", &["3.14159265,1"], Some("1,3.14159")),
    ("seq", "seq_map_string", &["a, b,,c", "<", ">"], Some("<a>,<b>,<>,<c>")),
    ("seq", "seq_filter_string", &["ab, c, ,def", "2"], Some("ab,def")),
    ("seq", "seq_count_string", &[",", "0"], Some("2")),
    ("seq", "seq_sort_string", &["b,a,,B", "0"], Some(",B,a,b")),
    ("seq", "seq_unique_string", &["a,b,a, a"], Some("a,b, a")),
    ("seq", "seq_reverse_string", &["a,"], Some(",a")),
    ("seq", "seq_take_string", &["a", "-1"], None),
    ("seq", "seq_skip_string", &["a,b,c", "1"], Some("b,c")),
    ("curried", "cur_sum_int", &["1, 2 ,,3"], Some("6")),
    ("curried", "cur_mean_int", &["1,2,2"], Some("1.66667")),
    ("curried", "cur_min_int", &[""], Some("0")),
    ("curried", "cur_max_int", &["3,-1,2"], Some("3")),
    ("curried", "cur_minmax_int", &["3,-1,2"], Some("-1,3")),
    ("curried", "cur_variance_int", &["1,2,3,4"], Some("1.25")),
    ("curried", "cur_stddev_int", &["1,2,3,4"], Some("1.11803")),
    ("curried", "cur_median_int", &["4,1,3,2"], Some("2.5")),
    ("curried", "cur_dot_int", &["1,2,3", "4,5"], Some("14")),
    ("curried", "cur_l2norm_int", &["3,4"], Some("5")),
    ("curried", "cur_sum_float", &["0.1,0.2"], Some("0.30000000000000004")),
    ("curried", "cur_mean_float", &["0.1,0.2"], Some("0.15")),
    ("curried", "cur_min_float", &["-0.0,0.0"], Some("-0.0")),
    ("curried", "cur_max_float", &[""], Some("0.0")),
    ("curried", "cur_minmax_float", &[""], Some(",")),
    ("curried", "cur_variance_float", &["1,2,3,4"], Some("1.25")),
    ("curried", "cur_stddev_float", &["1,2,3,4"], Some("1.11803")),
    ("curried", "cur_median_float", &["3,1,2"], Some("2")),
    ("curried", "cur_dot_float", &["1.5,2", "2,0.25"], Some("3.5")),
    ("curried", "cur_l2norm_float", &["3,4"], Some("5")),
    ("curried", "cur_distinct_int", &["3, 1,3 ,2,1"], Some("3,1,2")),
    ("curried", "cur_count_int", &["1,2,1,1", "1"], Some("3")),
    ("curried", "cur_distinct_string", &["b,a,b, a"], Some("b,a, a")),
    ("curried", "cur_count_string", &["a,b,a", "a"], Some("2")),
    ("curried", "cur_union_string", &["a,b,a", "c,b,d"], Some("a,b,c,d")),
    ("curried", "cur_intersect_string", &["a,b,a,c", "c,a"], Some("a,c")),
    ("curried", "cur_diff_string", &["a,b,a,c", "b"], Some("a,a,c")),
    ("datetime", "dt_is_leap_year", &["2000"], Some("1")),
    ("datetime", "dt_days_in_month", &["2024", "2"], Some("29")),
    ("datetime", "dt_days_in_year", &["1900"], Some("365")),
    ("datetime", "dt_ts_to_ymd", &["951782400"], Some("2000-02-29")),
    ("datetime", "dt_ts_to_ymdhms", &["1700000000"], Some("2023-11-14 22:13:20")),
    ("datetime", "dt_ymd_to_ts", &["2000", "2", "29"], Some("951782400")),
    ("datetime", "dt_days_between", &["2024", "1", "1", "2024", "3", "1"], Some("60")),
    ("datetime", "dt_day_of_week", &["2023", "12", "31"], Some("7")),
    ("datetime", "dt_week_of_year", &["2024", "1", "15"], Some("2")),
    ("datetime", "dt_validate_date", &["2023", "2", "29"], Some("0")),
    ("datetime", "dt_add_days", &["2024", "2", "28", "1"], Some("2024-02-29")),
    ("datetime", "dt_add_months", &["2024", "1", "31", "1"], Some("2024-02-29")),
    ("datetime", "dt_range_days", &["2023", "12", "30", "3"], Some("2023-12-30,2023-12-31,2024-01-01")),
    ("datetime", "dt_range_days_between", &["2024", "1", "30", "2024", "2", "2"], Some("2024-01-30,2024-01-31,2024-02-01,2024-02-02")),
    ("datetime", "dt_range_months", &["2024", "11", "4"], Some("2024-11,2024-12,2025-01,2025-02")),
    ("crypto", "md5_hash", &["abc"], Some("900150983CD24FB0D6963F7D28E17F72")),
    ("crypto", "sha1_hash", &["abc"], Some("A9993E364706816ABA3E25717850C26C9CD0D89D")),
    ("crypto", "sha256_hash", &[""], Some("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855")),
    ("crypto", "hmac_md5", &["what do ya want for nothing?", "Jefe"], Some("750C783E6AB0B503EAA86E310A5DB738")),
    ("crypto", "hmac_sha256", &["what do ya want for nothing?", "Jefe"], Some("5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843")),
];
