// Code generated from src/exports.def by tools/gen_bindings.py. DO NOT EDIT.

package karpa

import "strconv"

// examples holds every export's table example: export, arguments as words, result (nil: a failure).
var examples = []struct {
	export string
	args   []string
	result *string
}{
	{"seq_map_int", []string{"1, 2,3", "10"}, ptr("10,20,30")},
	{"seq_filter_int", []string{"5,1,7,3", "3"}, ptr("5,7")},
	{"seq_reduce_sum_int", []string{"1,2,3"}, ptr("6")},
	{"seq_reduce_max_int", []string{"4,-2,9"}, ptr("9")},
	{"seq_reduce_min_int", []string{"4,-2,9"}, ptr("-2")},
	{"seq_sort_int", []string{"3,1,2", "0"}, ptr("1,2,3")},
	{"seq_unique_int", []string{"3,1,3,2,1"}, ptr("3,1,2")},
	{"seq_count_int", []string{"5,1,7,3", "3"}, ptr("2")},
	{"seq_reverse_int", []string{"1,2,3"}, ptr("3,2,1")},
	{"seq_take_int", []string{"1,2,3", "2"}, ptr("1,2")},
	{"seq_skip_int", []string{"1,2,3", "-1"}, nil},
	{"seq_map_float", []string{"1.5, 2", "2"}, ptr("3,4")},
	{"seq_filter_float", []string{"0.5,1.5,nan,2", "1"}, ptr("1.5,2")},
	{"seq_reduce_sum_float", []string{"0.1,0.2"}, ptr("0.30000000000000004")},
	{"seq_reduce_max_float", []string{"1,nan,2"}, ptr("2.0")},
	{"seq_reduce_min_float", []string{""}, ptr("0.0")},
	{"seq_sort_float", []string{"3,1.5,2", "1"}, ptr("3,2,1.5")},
	{"seq_unique_float", []string{"-0.0,0.0"}, ptr("-0")},
	{"seq_count_float", []string{"0.5,1.5,nan,2", "1"}, ptr("2")},
	{"seq_reverse_float", []string{"3.14159265,1"}, ptr("1,3.14159")},
	{"seq_map_string", []string{"a, b,,c", "<", ">"}, ptr("<a>,<b>,<>,<c>")},
	{"seq_filter_string", []string{"ab, c, ,def", "2"}, ptr("ab,def")},
	{"seq_count_string", []string{",", "0"}, ptr("2")},
	{"seq_sort_string", []string{"b,a,,B", "0"}, ptr(",B,a,b")},
	{"seq_unique_string", []string{"a,b,a, a"}, ptr("a,b, a")},
	{"seq_reverse_string", []string{"a,"}, ptr(",a")},
	{"seq_take_string", []string{"a", "-1"}, nil},
	{"seq_skip_string", []string{"a,b,c", "1"}, ptr("b,c")},
	{"cur_sum_int", []string{"1, 2 ,,3"}, ptr("6")},
	{"cur_mean_int", []string{"1,2,2"}, ptr("1.66667")},
	{"cur_min_int", []string{""}, ptr("0")},
	{"cur_max_int", []string{"3,-1,2"}, ptr("3")},
	{"cur_minmax_int", []string{"3,-1,2"}, ptr("-1,3")},
	{"cur_variance_int", []string{"1,2,3,4"}, ptr("1.25")},
	{"cur_stddev_int", []string{"1,2,3,4"}, ptr("1.11803")},
	{"cur_median_int", []string{"4,1,3,2"}, ptr("2.5")},
	{"cur_dot_int", []string{"1,2,3", "4,5"}, ptr("14")},
	{"cur_l2norm_int", []string{"3,4"}, ptr("5")},
	{"cur_sum_float", []string{"0.1,0.2"}, ptr("0.30000000000000004")},
	{"cur_mean_float", []string{"0.1,0.2"}, ptr("0.15")},
	{"cur_min_float", []string{"-0.0,0.0"}, ptr("-0.0")},
	{"cur_max_float", []string{""}, ptr("0.0")},
	{"cur_minmax_float", []string{""}, ptr(",")},
	{"cur_variance_float", []string{"1,2,3,4"}, ptr("1.25")},
	{"cur_stddev_float", []string{"1,2,3,4"}, ptr("1.11803")},
	{"cur_median_float", []string{"3,1,2"}, ptr("2")},
	{"cur_dot_float", []string{"1.5,2", "2,0.25"}, ptr("3.5")},
	{"cur_l2norm_float", []string{"3,4"}, ptr("5")},
	{"cur_distinct_int", []string{"3, 1,3 ,2,1"}, ptr("3,1,2")},
	{"cur_count_int", []string{"1,2,1,1", "1"}, ptr("3")},
	{"cur_distinct_string", []string{"b,a,b, a"}, ptr("b,a, a")},
	{"cur_count_string", []string{"a,b,a", "a"}, ptr("2")},
	{"cur_union_string", []string{"a,b,a", "c,b,d"}, ptr("a,b,c,d")},
	{"cur_intersect_string", []string{"a,b,a,c", "c,a"}, ptr("a,c")},
	{"cur_diff_string", []string{"a,b,a,c", "b"}, ptr("a,a,c")},
	{"dt_is_leap_year", []string{"2000"}, ptr("1")},
	{"dt_days_in_month", []string{"2024", "2"}, ptr("29")},
	{"dt_days_in_year", []string{"1900"}, ptr("365")},
	{"dt_ts_to_ymd", []string{"951782400"}, ptr("2000-02-29")},
	{"dt_ts_to_ymdhms", []string{"1700000000"}, ptr("2023-11-14 22:13:20")},
	{"dt_ymd_to_ts", []string{"2000", "2", "29"}, ptr("951782400")},
	{"dt_days_between", []string{"2024", "1", "1", "2024", "3", "1"}, ptr("60")},
	{"dt_day_of_week", []string{"2023", "12", "31"}, ptr("7")},
	{"dt_week_of_year", []string{"2024", "1", "15"}, ptr("2")},
	{"dt_validate_date", []string{"2023", "2", "29"}, ptr("0")},
	{"dt_add_days", []string{"2024", "2", "28", "1"}, ptr("2024-02-29")},
	{"dt_add_months", []string{"2024", "1", "31", "1"}, ptr("2024-02-29")},
	{"dt_range_days", []string{"2023", "12", "30", "3"}, ptr("2023-12-30,2023-12-31,2024-01-01")},
	{"dt_range_days_between", []string{"2024", "1", "30", "2024", "2", "2"}, ptr("2024-01-30,2024-01-31,2024-02-01,2024-02-02")},
	{"dt_range_months", []string{"2024", "11", "4"}, ptr("2024-11,2024-12,2025-01,2025-02")},
	{"md5_hash", []string{"abc"}, ptr("900150983CD24FB0D6963F7D28E17F72")},
	{"sha1_hash", []string{"abc"}, ptr("A9993E364706816ABA3E25717850C26C9CD0D89D")},
	{"sha256_hash", []string{""}, ptr("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855")},
	{"hmac_md5", []string{"what do ya want for nothing?", "Jefe"}, ptr("750C783E6AB0B503EAA86E310A5DB738")},
	{"hmac_sha256", []string{"what do ya want for nothing?", "Jefe"}, ptr("5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843")},
}

func ptr(s string) *string { return &s }

func word32(w string) int32 { n, _ := strconv.ParseInt(w, 10, 32); return int32(n) }

func word64(w string) int64 { n, _ := strconv.ParseInt(w, 10, 64); return n }

func text(s string, err error) (string, error) { return s, err }

func number(n int64, err error) (string, error) { return strconv.FormatInt(n, 10), err }

func truth(b bool, err error) (string, error) {
	if b {
		return "1", err
	}
	return "0", err
}

// callByName calls an export by its C name with its arguments as words; numbers come back as text.
func callByName(name string, w []string) (string, error) {
	switch name {
	case "seq_map_int":
		return text(SeqMapInt(w[0], word32(w[1])))
	case "seq_filter_int":
		return text(SeqFilterInt(w[0], word32(w[1])))
	case "seq_reduce_sum_int":
		return text(SeqReduceSumInt(w[0]))
	case "seq_reduce_max_int":
		return text(SeqReduceMaxInt(w[0]))
	case "seq_reduce_min_int":
		return text(SeqReduceMinInt(w[0]))
	case "seq_sort_int":
		return text(SeqSortInt(w[0], word32(w[1])))
	case "seq_unique_int":
		return text(SeqUniqueInt(w[0]))
	case "seq_count_int":
		return text(SeqCountInt(w[0], word32(w[1])))
	case "seq_reverse_int":
		return text(SeqReverseInt(w[0]))
	case "seq_take_int":
		return text(SeqTakeInt(w[0], word32(w[1])))
	case "seq_skip_int":
		return text(SeqSkipInt(w[0], word32(w[1])))
	case "seq_map_float":
		return text(SeqMapFloat(w[0], w[1]))
	case "seq_filter_float":
		return text(SeqFilterFloat(w[0], w[1]))
	case "seq_reduce_sum_float":
		return text(SeqReduceSumFloat(w[0]))
	case "seq_reduce_max_float":
		return text(SeqReduceMaxFloat(w[0]))
	case "seq_reduce_min_float":
		return text(SeqReduceMinFloat(w[0]))
	case "seq_sort_float":
		return text(SeqSortFloat(w[0], word32(w[1])))
	case "seq_unique_float":
		return text(SeqUniqueFloat(w[0]))
	case "seq_count_float":
		return text(SeqCountFloat(w[0], w[1]))
	case "seq_reverse_float":
		return text(SeqReverseFloat(w[0]))
	case "seq_map_string":
		return text(SeqMapString(w[0], w[1], w[2]))
	case "seq_filter_string":
		return text(SeqFilterString(w[0], word32(w[1])))
	case "seq_count_string":
		return text(SeqCountString(w[0], word32(w[1])))
	case "seq_sort_string":
		return text(SeqSortString(w[0], word32(w[1])))
	case "seq_unique_string":
		return text(SeqUniqueString(w[0]))
	case "seq_reverse_string":
		return text(SeqReverseString(w[0]))
	case "seq_take_string":
		return text(SeqTakeString(w[0], word32(w[1])))
	case "seq_skip_string":
		return text(SeqSkipString(w[0], word32(w[1])))
	case "cur_sum_int":
		return text(CurSumInt(w[0]))
	case "cur_mean_int":
		return text(CurMeanInt(w[0]))
	case "cur_min_int":
		return text(CurMinInt(w[0]))
	case "cur_max_int":
		return text(CurMaxInt(w[0]))
	case "cur_minmax_int":
		return text(CurMinmaxInt(w[0]))
	case "cur_variance_int":
		return text(CurVarianceInt(w[0]))
	case "cur_stddev_int":
		return text(CurStddevInt(w[0]))
	case "cur_median_int":
		return text(CurMedianInt(w[0]))
	case "cur_dot_int":
		return text(CurDotInt(w[0], w[1]))
	case "cur_l2norm_int":
		return text(CurL2normInt(w[0]))
	case "cur_sum_float":
		return text(CurSumFloat(w[0]))
	case "cur_mean_float":
		return text(CurMeanFloat(w[0]))
	case "cur_min_float":
		return text(CurMinFloat(w[0]))
	case "cur_max_float":
		return text(CurMaxFloat(w[0]))
	case "cur_minmax_float":
		return text(CurMinmaxFloat(w[0]))
	case "cur_variance_float":
		return text(CurVarianceFloat(w[0]))
	case "cur_stddev_float":
		return text(CurStddevFloat(w[0]))
	case "cur_median_float":
		return text(CurMedianFloat(w[0]))
	case "cur_dot_float":
		return text(CurDotFloat(w[0], w[1]))
	case "cur_l2norm_float":
		return text(CurL2normFloat(w[0]))
	case "cur_distinct_int":
		return text(CurDistinctInt(w[0]))
	case "cur_count_int":
		return text(CurCountInt(w[0], word32(w[1])))
	case "cur_distinct_string":
		return text(CurDistinctString(w[0]))
	case "cur_count_string":
		return text(CurCountString(w[0], w[1]))
	case "cur_union_string":
		return text(CurUnionString(w[0], w[1]))
	case "cur_intersect_string":
		return text(CurIntersectString(w[0], w[1]))
	case "cur_diff_string":
		return text(CurDiffString(w[0], w[1]))
	case "dt_is_leap_year":
		return truth(DtIsLeapYear(word64(w[0])))
	case "dt_days_in_month":
		return number(DtDaysInMonth(word64(w[0]), word64(w[1])))
	case "dt_days_in_year":
		return number(DtDaysInYear(word64(w[0])))
	case "dt_ts_to_ymd":
		return text(DtTsToYmd(word64(w[0])))
	case "dt_ts_to_ymdhms":
		return text(DtTsToYmdhms(word64(w[0])))
	case "dt_ymd_to_ts":
		return number(DtYmdToTs(word64(w[0]), word64(w[1]), word64(w[2])))
	case "dt_days_between":
		return number(DtDaysBetween(word64(w[0]), word64(w[1]), word64(w[2]), word64(w[3]), word64(w[4]), word64(w[5])))
	case "dt_day_of_week":
		return number(DtDayOfWeek(word64(w[0]), word64(w[1]), word64(w[2])))
	case "dt_week_of_year":
		return number(DtWeekOfYear(word64(w[0]), word64(w[1]), word64(w[2])))
	case "dt_validate_date":
		return truth(DtValidateDate(word64(w[0]), word64(w[1]), word64(w[2])))
	case "dt_add_days":
		return text(DtAddDays(word64(w[0]), word64(w[1]), word64(w[2]), word64(w[3])))
	case "dt_add_months":
		return text(DtAddMonths(word64(w[0]), word64(w[1]), word64(w[2]), word64(w[3])))
	case "dt_range_days":
		return text(DtRangeDays(word64(w[0]), word64(w[1]), word64(w[2]), word64(w[3])))
	case "dt_range_days_between":
		return text(DtRangeDaysBetween(word64(w[0]), word64(w[1]), word64(w[2]), word64(w[3]), word64(w[4]), word64(w[5])))
	case "dt_range_months":
		return text(DtRangeMonths(word64(w[0]), word64(w[1]), word64(w[2])))
	case "md5_hash":
		return text(Md5Hash([]byte(w[0])))
	case "sha1_hash":
		return text(Sha1Hash([]byte(w[0])))
	case "sha256_hash":
		return text(Sha256Hash([]byte(w[0])))
	case "hmac_md5":
		return text(HmacMd5([]byte(w[0]), []byte(w[1])))
	case "hmac_sha256":
		return text(HmacSha256([]byte(w[0]), []byte(w[1])))
	}
	panic("no export " + name)
}
