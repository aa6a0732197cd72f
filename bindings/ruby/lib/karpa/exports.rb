# Generated from src/exports.def by tools/gen_bindings.py; do not edit.

module Karpa
  # Export -> [library, result, argument types (P pointer, I int, L int64_t), zero fails].
  SIGNATURES = {
    'seq_map_int' => ['seq', 'text', 'PI', false],
    'seq_filter_int' => ['seq', 'text', 'PI', false],
    'seq_reduce_sum_int' => ['seq', 'text', 'P', false],
    'seq_reduce_max_int' => ['seq', 'text', 'P', false],
    'seq_reduce_min_int' => ['seq', 'text', 'P', false],
    'seq_sort_int' => ['seq', 'text', 'PI', false],
    'seq_unique_int' => ['seq', 'text', 'P', false],
    'seq_count_int' => ['seq', 'text', 'PI', false],
    'seq_reverse_int' => ['seq', 'text', 'P', false],
    'seq_take_int' => ['seq', 'text', 'PI', false],
    'seq_skip_int' => ['seq', 'text', 'PI', false],
    'seq_map_float' => ['seq', 'text', 'PP', false],
    'seq_filter_float' => ['seq', 'text', 'PP', false],
    'seq_reduce_sum_float' => ['seq', 'text', 'P', false],
    'seq_reduce_max_float' => ['seq', 'text', 'P', false],
    'seq_reduce_min_float' => ['seq', 'text', 'P', false],
    'seq_sort_float' => ['seq', 'text', 'PI', false],
    'seq_unique_float' => ['seq', 'text', 'P', false],
    'seq_count_float' => ['seq', 'text', 'PP', false],
    'seq_reverse_float' => ['seq', 'text', 'P', false],
    'seq_map_string' => ['seq', 'text', 'PPP', false],
    'seq_filter_string' => ['seq', 'text', 'PI', false],
    'seq_count_string' => ['seq', 'text', 'PI', false],
    'seq_sort_string' => ['seq', 'text', 'PI', false],
    'seq_unique_string' => ['seq', 'text', 'P', false],
    'seq_reverse_string' => ['seq', 'text', 'P', false],
    'seq_take_string' => ['seq', 'text', 'PI', false],
    'seq_skip_string' => ['seq', 'text', 'PI', false],
    'cur_sum_int' => ['curried', 'text', 'P', false],
    'cur_mean_int' => ['curried', 'text', 'P', false],
    'cur_min_int' => ['curried', 'text', 'P', false],
    'cur_max_int' => ['curried', 'text', 'P', false],
    'cur_minmax_int' => ['curried', 'text', 'P', false],
    'cur_variance_int' => ['curried', 'text', 'P', false],
    'cur_stddev_int' => ['curried', 'text', 'P', false],
    'cur_median_int' => ['curried', 'text', 'P', false],
    'cur_dot_int' => ['curried', 'text', 'PP', false],
    'cur_l2norm_int' => ['curried', 'text', 'P', false],
    'cur_sum_float' => ['curried', 'text', 'P', false],
    'cur_mean_float' => ['curried', 'text', 'P', false],
    'cur_min_float' => ['curried', 'text', 'P', false],
    'cur_max_float' => ['curried', 'text', 'P', false],
    'cur_minmax_float' => ['curried', 'text', 'P', false],
    'cur_variance_float' => ['curried', 'text', 'P', false],
    'cur_stddev_float' => ['curried', 'text', 'P', false],
    'cur_median_float' => ['curried', 'text', 'P', false],
    'cur_dot_float' => ['curried', 'text', 'PP', false],
    'cur_l2norm_float' => ['curried', 'text', 'P', false],
    'cur_distinct_int' => ['curried', 'text', 'P', false],
    'cur_count_int' => ['curried', 'text', 'PI', false],
    'cur_distinct_string' => ['curried', 'text', 'P', false],
    'cur_count_string' => ['curried', 'text', 'PP', false],
    'cur_union_string' => ['curried', 'text', 'PP', false],
    'cur_intersect_string' => ['curried', 'text', 'PP', false],
    'cur_diff_string' => ['curried', 'text', 'PP', false],
    'dt_is_leap_year' => ['datetime', 'bool', 'L', false],
    'dt_days_in_month' => ['datetime', 'int64', 'LL', false],
    'dt_days_in_year' => ['datetime', 'int64', 'L', false],
    'dt_ts_to_ymd' => ['datetime', 'text', 'L', false],
    'dt_ts_to_ymdhms' => ['datetime', 'text', 'L', false],
    'dt_ymd_to_ts' => ['datetime', 'int64', 'LLL', true],
    'dt_days_between' => ['datetime', 'int64', 'LLLLLL', true],
    'dt_day_of_week' => ['datetime', 'int64', 'LLL', true],
    'dt_week_of_year' => ['datetime', 'int64', 'LLL', true],
    'dt_validate_date' => ['datetime', 'bool', 'LLL', false],
    'dt_add_days' => ['datetime', 'text', 'LLLL', false],
    'dt_add_months' => ['datetime', 'text', 'LLLL', false],
    'dt_range_days' => ['datetime', 'text', 'LLLL', false],
    'dt_range_days_between' => ['datetime', 'text', 'LLLLLL', false],
    'dt_range_months' => ['datetime', 'text', 'LLL', false],
    'md5_hash' => ['crypto', 'text', 'PI', false],
    'sha1_hash' => ['crypto', 'text', 'PI', false],
    'sha256_hash' => ['crypto', 'text', 'PI', false],
    'hmac_md5' => ['crypto', 'text', 'PIPI', false],
    'hmac_sha256' => ['crypto', 'text', 'PIPI', false],
  }.freeze

  # Every export's table example: [module, function, arguments, result (nil: failure)].
  EXAMPLES = [
    [:Seq, :map_int, ["1, 2,3", 10], "10,20,30"],
    [:Seq, :filter_int, ["5,1,7,3", 3], "5,7"],
    [:Seq, :reduce_sum_int, ["1,2,3"], "6"],
    [:Seq, :reduce_max_int, ["4,-2,9"], "9"],
    [:Seq, :reduce_min_int, ["4,-2,9"], "-2"],
    [:Seq, :sort_int, ["3,1,2", 0], "1,2,3"],
    [:Seq, :unique_int, ["3,1,3,2,1"], "3,1,2"],
    [:Seq, :count_int, ["5,1,7,3", 3], "2"],
    [:Seq, :reverse_int, ["1,2,3"], "3,2,1"],
    [:Seq, :take_int, ["1,2,3", 2], "1,2"],
    [:Seq, :skip_int, ["1,2,3", -1], nil],
    [:Seq, :map_float, ["1.5, 2", "2"], "3,4"],
    [:Seq, :filter_float, ["0.5,1.5,nan,2", "1"], "1.5,2"],
    [:Seq, :reduce_sum_float, ["0.1,0.2"], "0.30000000000000004"],
    [:Seq, :reduce_max_float, ["1,nan,2"], "2.0"],
    [:Seq, :reduce_min_float, [""], "0.0"],
    [:Seq, :sort_float, ["3,1.5,2", 1], "3,2,1.5"],
    [:Seq, :unique_float, ["-0.0,0.0"], "-0"],
    [:Seq, :count_float, ["0.5,1.5,nan,2", "1"], "2"],
    [:Seq, :reverse_float, ["3.14159265,1"], "1,3.14159"],
    [:Seq, :map_string, ["a, b,,c", "<", ">"], "<a>,<b>,<>,<c>"],
    [:Seq, :filter_string, ["ab, c, ,def", 2], "ab,def"],
    [:Seq, :count_string, [",", 0], "2"],
    [:Seq, :sort_string, ["b,a,,B", 0], ",B,a,b"],
    [:Seq, :unique_string, ["a,b,a, a"], "a,b, a"],
    [:Seq, :reverse_string, ["a,"], ",a"],
    [:Seq, :take_string, ["a", -1], nil],
    [:Seq, :skip_string, ["a,b,c", 1], "b,c"],
    [:Curried, :sum_int, ["1, 2 ,,3"], "6"],
    [:Curried, :mean_int, ["1,2,2"], "1.66667"],
    [:Curried, :min_int, [""], "0"],
    [:Curried, :max_int, ["3,-1,2"], "3"],
    [:Curried, :minmax_int, ["3,-1,2"], "-1,3"],
    [:Curried, :variance_int, ["1,2,3,4"], "1.25"],
    [:Curried, :stddev_int, ["1,2,3,4"], "1.11803"],
    [:Curried, :median_int, ["4,1,3,2"], "2.5"],
    [:Curried, :dot_int, ["1,2,3", "4,5"], "14"],
    [:Curried, :l2norm_int, ["3,4"], "5"],
    [:Curried, :sum_float, ["0.1,0.2"], "0.30000000000000004"],
    [:Curried, :mean_float, ["0.1,0.2"], "0.15"],
    [:Curried, :min_float, ["-0.0,0.0"], "-0.0"],
    [:Curried, :max_float, [""], "0.0"],
    [:Curried, :minmax_float, [""], ","],
    [:Curried, :variance_float, ["1,2,3,4"], "1.25"],
    [:Curried, :stddev_float, ["1,2,3,4"], "1.11803"],
    [:Curried, :median_float, ["3,1,2"], "2"],
    [:Curried, :dot_float, ["1.5,2", "2,0.25"], "3.5"],
    [:Curried, :l2norm_float, ["3,4"], "5"],
    [:Curried, :distinct_int, ["3, 1,3 ,2,1"], "3,1,2"],
    [:Curried, :count_int, ["1,2,1,1", 1], "3"],
    [:Curried, :distinct_string, ["b,a,b, a"], "b,a, a"],
    [:Curried, :count_string, ["a,b,a", "a"], "2"],
    [:Curried, :union_string, ["a,b,a", "c,b,d"], "a,b,c,d"],
    [:Curried, :intersect_string, ["a,b,a,c", "c,a"], "a,c"],
    [:Curried, :diff_string, ["a,b,a,c", "b"], "a,a,c"],
    [:Datetime, :is_leap_year, [2000], true],
    [:Datetime, :days_in_month, [2024, 2], 29],
    [:Datetime, :days_in_year, [1900], 365],
    [:Datetime, :ts_to_ymd, [951782400], "2000-02-29"],
    [:Datetime, :ts_to_ymdhms, [1700000000], "2023-11-14 22:13:20"],
    [:Datetime, :ymd_to_ts, [2000, 2, 29], 951782400],
    [:Datetime, :days_between, [2024, 1, 1, 2024, 3, 1], 60],
    [:Datetime, :day_of_week, [2023, 12, 31], 7],
    [:Datetime, :week_of_year, [2024, 1, 15], 2],
    [:Datetime, :validate_date, [2023, 2, 29], false],
    [:Datetime, :add_days, [2024, 2, 28, 1], "2024-02-29"],
    [:Datetime, :add_months, [2024, 1, 31, 1], "2024-02-29"],
    [:Datetime, :range_days, [2023, 12, 30, 3], "2023-12-30,2023-12-31,2024-01-01"],
    [:Datetime, :range_days_between, [2024, 1, 30, 2024, 2, 2], "2024-01-30,2024-01-31,2024-02-01,2024-02-02"],
    [:Datetime, :range_months, [2024, 11, 4], "2024-11,2024-12,2025-01,2025-02"],
    [:Crypto, :md5_hash, ["abc"], "900150983CD24FB0D6963F7D28E17F72"],
    [:Crypto, :sha1_hash, ["abc"], "A9993E364706816ABA3E25717850C26C9CD0D89D"],
    [:Crypto, :sha256_hash, [""], "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"],
    [:Crypto, :hmac_md5, ["what do ya want for nothing?", "Jefe"], "750C783E6AB0B503EAA86E310A5DB738"],
    [:Crypto, :hmac_sha256, ["what do ya want for nothing?", "Jefe"], "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843"],
  ].freeze

  module Seq
    # Each element times factor. "" for an empty list; fails on overflow.
    #   seq_map_int("1, 2,3", 10) -> "10,20,30"
    def self.map_int(list, factor)
      Karpa.call('seq_map_int', [Karpa.int_list(list), Karpa.int32(factor, 'factor')])
    end
    # The elements strictly greater than threshold, in order; "" for an empty list.
    #   seq_filter_int("5,1,7,3", 3) -> "5,7"
    def self.filter_int(list, threshold)
      Karpa.call('seq_filter_int', [Karpa.int_list(list), Karpa.int32(threshold, 'threshold')])
    end
    # The sum; "0" for an empty list; fails when a running sum overflows.
    #   seq_reduce_sum_int("1,2,3") -> "6"
    def self.reduce_sum_int(list)
      Karpa.call('seq_reduce_sum_int', [Karpa.int_list(list)])
    end
    # The largest element; "0" for an empty list.
    #   seq_reduce_max_int("4,-2,9") -> "9"
    def self.reduce_max_int(list)
      Karpa.call('seq_reduce_max_int', [Karpa.int_list(list)])
    end
    # The smallest element; "0" for an empty list.
    #   seq_reduce_min_int("4,-2,9") -> "-2"
    def self.reduce_min_int(list)
      Karpa.call('seq_reduce_min_int', [Karpa.int_list(list)])
    end
    # Stable sort, ascending when descending is 0, descending otherwise; "" for an empty list.
    #   seq_sort_int("3,1,2", 0) -> "1,2,3"
    def self.sort_int(list, descending)
      Karpa.call('seq_sort_int', [Karpa.int_list(list), Karpa.int32(descending, 'descending')])
    end
    # The first occurrence of each value, in input order; "" for an empty list.
    #   seq_unique_int("3,1,3,2,1") -> "3,1,2"
    def self.unique_int(list)
      Karpa.call('seq_unique_int', [Karpa.int_list(list)])
    end
    # How many elements are strictly greater than threshold; "0" for an empty list.
    #   seq_count_int("5,1,7,3", 3) -> "2"
    def self.count_int(list, threshold)
      Karpa.call('seq_count_int', [Karpa.int_list(list), Karpa.int32(threshold, 'threshold')])
    end
    # The elements in reverse order; "" for an empty list.
    #   seq_reverse_int("1,2,3") -> "3,2,1"
    def self.reverse_int(list)
      Karpa.call('seq_reverse_int', [Karpa.int_list(list)])
    end
    # The first count elements (all when fewer); fails when count < 0, even for an empty list.
    #   seq_take_int("1,2,3", 2) -> "1,2"
    def self.take_int(list, count)
      Karpa.call('seq_take_int', [Karpa.int_list(list), Karpa.int32(count, 'count')])
    end
    # The elements after the first count; fails when count < 0, even for an empty list.
    #   seq_skip_int("1,2,3", -1) -> failure
    def self.skip_int(list, count)
      Karpa.call('seq_skip_int', [Karpa.int_list(list), Karpa.int32(count, 'count')])
    end
    # Each element times factor, six significant digits each ("3", "1.5", "inf"); "" for an empty list.
    #   seq_map_float("1.5, 2", "2") -> "3,4"
    def self.map_float(list, factor)
      Karpa.call('seq_map_float', [Karpa.float_list(list), Karpa.float_text(factor)])
    end
    # The elements strictly greater than threshold (never a NaN), six significant digits; "" for an empty list.
    #   seq_filter_float("0.5,1.5,nan,2", "1") -> "1.5,2"
    def self.filter_float(list, threshold)
      Karpa.call('seq_filter_float', [Karpa.float_list(list), Karpa.float_text(threshold)])
    end
    # The left-to-right sum from +0.0, shortest exact text; "0.0" for an empty list.
    #   seq_reduce_sum_float("0.1,0.2") -> "0.30000000000000004"
    def self.reduce_sum_float(list)
      Karpa.call('seq_reduce_sum_float', [Karpa.float_list(list)])
    end
    # The largest element (a leading NaN wins), shortest exact text; "0.0" for an empty list.
    #   seq_reduce_max_float("1,nan,2") -> "2.0"
    def self.reduce_max_float(list)
      Karpa.call('seq_reduce_max_float', [Karpa.float_list(list)])
    end
    # The smallest element (a leading NaN wins), shortest exact text; "0.0" for an empty list.
    #   seq_reduce_min_float("") -> "0.0"
    def self.reduce_min_float(list)
      Karpa.call('seq_reduce_min_float', [Karpa.float_list(list)])
    end
    # Stable sort; -0.0 equals 0.0; every comparison with NaN answers "greater"; "" for an empty list.
    #   seq_sort_float("3,1.5,2", 1) -> "3,2,1.5"
    def self.sort_float(list, descending)
      Karpa.call('seq_sort_float', [Karpa.float_list(list), Karpa.int32(descending, 'descending')])
    end
    # The first of each value (-0.0 and 0.0 are one value; every NaN is kept); "" for an empty list.
    #   seq_unique_float("-0.0,0.0") -> "-0"
    def self.unique_float(list)
      Karpa.call('seq_unique_float', [Karpa.float_list(list)])
    end
    # How many elements are strictly greater than threshold, as an integer; "0" for an empty list.
    #   seq_count_float("0.5,1.5,nan,2", "1") -> "2"
    def self.count_float(list, threshold)
      Karpa.call('seq_count_float', [Karpa.float_list(list), Karpa.float_text(threshold)])
    end
    # The elements in reverse order, six significant digits; "" for an empty list.
    #   seq_reverse_float("3.14159265,1") -> "1,3.14159"
    def self.reverse_float(list)
      Karpa.call('seq_reverse_float', [Karpa.float_list(list)])
    end
    # prefix + item stripped of blanks + suffix, for every item; "" for "". Never fails.
    #   seq_map_string("a, b,,c", "<", ">") -> "<a>,<b>,<>,<c>"
    def self.map_string(list, prefix, suffix)
      Karpa.call('seq_map_string', [Karpa.string_list(list), Karpa.text(prefix, 'prefix'), Karpa.text(suffix, 'suffix')])
    end
    # The items (unchanged) whose stripped length is at least min_length; "" for "". Never fails.
    #   seq_filter_string("ab, c, ,def", 2) -> "ab,def"
    def self.filter_string(list, min_length)
      Karpa.call('seq_filter_string', [Karpa.string_list(list), Karpa.int32(min_length, 'min_length')])
    end
    # How many items have a stripped length of at least min_length; "0" for "". Never fails.
    #   seq_count_string(",", 0) -> "2"
    def self.count_string(list, min_length)
      Karpa.call('seq_count_string', [Karpa.string_list(list), Karpa.int32(min_length, 'min_length')])
    end
    # Stable sort by unsigned bytes, shorter first on a common prefix; "" for "". Never fails.
    #   seq_sort_string("b,a,,B", 0) -> ",B,a,b"
    def self.sort_string(list, descending)
      Karpa.call('seq_sort_string', [Karpa.string_list(list), Karpa.int32(descending, 'descending')])
    end
    # The first occurrence of each item, byte for byte; "" for "". Never fails.
    #   seq_unique_string("a,b,a, a") -> "a,b, a"
    def self.unique_string(list)
      Karpa.call('seq_unique_string', [Karpa.string_list(list)])
    end
    # The items in reverse order; "" for "". Never fails.
    #   seq_reverse_string("a,") -> ",a"
    def self.reverse_string(list)
      Karpa.call('seq_reverse_string', [Karpa.string_list(list)])
    end
    # The first count items; "" for ""; fails when count < 0 and the list is not empty.
    #   seq_take_string("a", -1) -> failure
    def self.take_string(list, count)
      Karpa.call('seq_take_string', [Karpa.string_list(list), Karpa.int32(count, 'count')])
    end
    # The items after the first count; "" for ""; fails when count < 0 and the list is not empty.
    #   seq_skip_string("a,b,c", 1) -> "b,c"
    def self.skip_string(list, count)
      Karpa.call('seq_skip_string', [Karpa.string_list(list), Karpa.int32(count, 'count')])
    end
  end

  module Curried
    # The sum; "0" for an empty list; fails when a running sum overflows.
    #   cur_sum_int("1, 2 ,,3") -> "6"
    def self.sum_int(list)
      Karpa.call('cur_sum_int', [Karpa.int_list(list)])
    end
    # sum / n, general; "0" for an empty list; fails when the sum overflows.
    #   cur_mean_int("1,2,2") -> "1.66667"
    def self.mean_int(list)
      Karpa.call('cur_mean_int', [Karpa.int_list(list)])
    end
    # The smallest item; "0" for an empty list.
    #   cur_min_int("") -> "0"
    def self.min_int(list)
      Karpa.call('cur_min_int', [Karpa.int_list(list)])
    end
    # The largest item; "0" for an empty list.
    #   cur_max_int("3,-1,2") -> "3"
    def self.max_int(list)
      Karpa.call('cur_max_int', [Karpa.int_list(list)])
    end
    # "min,max"; "," for an empty list.
    #   cur_minmax_int("3,-1,2") -> "-1,3"
    def self.minmax_int(list)
      Karpa.call('cur_minmax_int', [Karpa.int_list(list)])
    end
    # Population variance (divisor n), general; "0" for an empty list.
    #   cur_variance_int("1,2,3,4") -> "1.25"
    def self.variance_int(list)
      Karpa.call('cur_variance_int', [Karpa.int_list(list)])
    end
    # Population standard deviation, general; "0" for an empty list.
    #   cur_stddev_int("1,2,3,4") -> "1.11803"
    def self.stddev_int(list)
      Karpa.call('cur_stddev_int', [Karpa.int_list(list)])
    end
    # The median (mean of the two middle items for even n), general; "0" for an empty list.
    #   cur_median_int("4,1,3,2") -> "2.5"
    def self.median_int(list)
      Karpa.call('cur_median_int', [Karpa.int_list(list)])
    end
    # Sum of a[i]*b[i] over the shorter length; "0" when either is empty; fails on overflow or a bad item in either list (a first).
    #   cur_dot_int("1,2,3", "4,5") -> "14"
    def self.dot_int(a, b)
      Karpa.call('cur_dot_int', [Karpa.int_list(a), Karpa.int_list(b)])
    end
    # Euclidean norm, general; "0" for an empty list.
    #   cur_l2norm_int("3,4") -> "5"
    def self.l2norm_int(list)
      Karpa.call('cur_l2norm_int', [Karpa.int_list(list)])
    end
    # The sum from +0.0, exact; "0.0" for an empty list.
    #   cur_sum_float("0.1,0.2") -> "0.30000000000000004"
    def self.sum_float(list)
      Karpa.call('cur_sum_float', [Karpa.float_list(list)])
    end
    # sum / n, general; "0" for an empty list.
    #   cur_mean_float("0.1,0.2") -> "0.15"
    def self.mean_float(list)
      Karpa.call('cur_mean_float', [Karpa.float_list(list)])
    end
    # The smallest item (a leading NaN wins), exact; "0.0" for an empty list.
    #   cur_min_float("-0.0,0.0") -> "-0.0"
    def self.min_float(list)
      Karpa.call('cur_min_float', [Karpa.float_list(list)])
    end
    # The largest item (a leading NaN wins), exact; "0.0" for an empty list.
    #   cur_max_float("") -> "0.0"
    def self.max_float(list)
      Karpa.call('cur_max_float', [Karpa.float_list(list)])
    end
    # "min,max", both exact; "," for an empty list.
    #   cur_minmax_float("") -> ","
    def self.minmax_float(list)
      Karpa.call('cur_minmax_float', [Karpa.float_list(list)])
    end
    # Population variance (two passes, divisor n), general; "0" for an empty list.
    #   cur_variance_float("1,2,3,4") -> "1.25"
    def self.variance_float(list)
      Karpa.call('cur_variance_float', [Karpa.float_list(list)])
    end
    # Population standard deviation, general; "0" for an empty list.
    #   cur_stddev_float("1,2,3,4") -> "1.11803"
    def self.stddev_float(list)
      Karpa.call('cur_stddev_float', [Karpa.float_list(list)])
    end
    # The median, general; "0" for an empty list.
    #   cur_median_float("3,1,2") -> "2"
    def self.median_float(list)
      Karpa.call('cur_median_float', [Karpa.float_list(list)])
    end
    # Sum of a[i]*b[i] over the shorter length, exact; "0.0" when either is empty; fails on a bad item in either list (a first).
    #   cur_dot_float("1.5,2", "2,0.25") -> "3.5"
    def self.dot_float(a, b)
      Karpa.call('cur_dot_float', [Karpa.float_list(a), Karpa.float_list(b)])
    end
    # Euclidean norm without scaling (may give "inf"), general; "0" for an empty list.
    #   cur_l2norm_float("3,4") -> "5"
    def self.l2norm_float(list)
      Karpa.call('cur_l2norm_float', [Karpa.float_list(list)])
    end
    # The first occurrence of each value ("1", "+1" and "01" are one value); "" for an empty list.
    #   cur_distinct_int("3, 1,3 ,2,1") -> "3,1,2"
    def self.distinct_int(list)
      Karpa.call('cur_distinct_int', [Karpa.int_list(list)])
    end
    # How many items equal value; "0" for an empty list.
    #   cur_count_int("1,2,1,1", 1) -> "3"
    def self.count_int(list, value)
      Karpa.call('cur_count_int', [Karpa.int_list(list), Karpa.int32(value, 'value')])
    end
    # The first occurrence of each item, byte for byte; "" for "". Never fails.
    #   cur_distinct_string("b,a,b, a") -> "b,a, a"
    def self.distinct_string(list)
      Karpa.call('cur_distinct_string', [Karpa.string_list(list)])
    end
    # How many items equal item (taken whole, not split or stripped); "" is one empty item. Never fails.
    #   cur_count_string("a,b,a", "a") -> "2"
    def self.count_string(list, item)
      Karpa.call('cur_count_string', [Karpa.string_list(list), Karpa.text(item, 'item')])
    end
    # The distinct items of a, then those of b not seen before; "" is one empty item. Never fails.
    #   cur_union_string("a,b,a", "c,b,d") -> "a,b,c,d"
    def self.union_string(a, b)
      Karpa.call('cur_union_string', [Karpa.string_list(a), Karpa.string_list(b)])
    end
    # The distinct items of a that occur in b, in the order of a; "" is one empty item. Never fails.
    #   cur_intersect_string("a,b,a,c", "c,a") -> "a,c"
    def self.intersect_string(a, b)
      Karpa.call('cur_intersect_string', [Karpa.string_list(a), Karpa.string_list(b)])
    end
    # The items of a (repeats kept) that do not occur in b; "" is one empty item. Never fails.
    #   cur_diff_string("a,b,a,c", "b") -> "a,a,c"
    def self.diff_string(a, b)
      Karpa.call('cur_diff_string', [Karpa.string_list(a), Karpa.string_list(b)])
    end
  end

  module Datetime
    # 1 for a leap year (0, -4 and 2000 are; 1900 is not), else 0. Never fails.
    #   dt_is_leap_year(2000) -> 1
    def self.is_leap_year(year)
      Karpa.call('dt_is_leap_year', [Karpa.int64(year, 'year')])
    end
    # 28 to 31; 0 when month is outside 1..12. Never fails.
    #   dt_days_in_month(2024, 2) -> 29
    def self.days_in_month(year, month)
      Karpa.call('dt_days_in_month', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month')])
    end
    # 366 or 365. Never fails.
    #   dt_days_in_year(1900) -> 365
    def self.days_in_year(year)
      Karpa.call('dt_days_in_year', [Karpa.int64(year, 'year')])
    end
    # The UTC date holding the timestamp: "1969-12-31" for -1; fails for the 55808 smallest timestamps, whose day starts before the 64-bit span.
    #   dt_ts_to_ymd(951782400) -> "2000-02-29"
    def self.ts_to_ymd(timestamp)
      Karpa.call('dt_ts_to_ymd', [Karpa.int64(timestamp, 'timestamp')])
    end
    # The UTC date and time: "2023-11-14 22:13:20" for 1700000000; fails as dt_ts_to_ymd does.
    #   dt_ts_to_ymdhms(1700000000) -> "2023-11-14 22:13:20"
    def self.ts_to_ymdhms(timestamp)
      Karpa.call('dt_ts_to_ymdhms', [Karpa.int64(timestamp, 'timestamp')])
    end
    # The timestamp of 00:00:00 UTC on the date; 0 on failure (checked date).
    #   dt_ymd_to_ts(2000, 2, 29) -> 951782400
    def self.ymd_to_ts(year, month, day)
      Karpa.call('dt_ymd_to_ts', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month'), Karpa.int64(day, 'day')])
    end
    # Days from the first date to the second (negative when earlier); 0 on failure (checked dates; also when the two timestamps differ by more than the 64-bit range).
    #   dt_days_between(2024, 1, 1, 2024, 3, 1) -> 60
    def self.days_between(year1, month1, day1, year2, month2, day2)
      Karpa.call('dt_days_between', [Karpa.int64(year1, 'year1'), Karpa.int64(month1, 'month1'), Karpa.int64(day1, 'day1'), Karpa.int64(year2, 'year2'), Karpa.int64(month2, 'month2'), Karpa.int64(day2, 'day2')])
    end
    # 1 = Monday ... 7 = Sunday; 0 on failure (checked date).
    #   dt_day_of_week(2023, 12, 31) -> 7
    def self.day_of_week(year, month, day)
      Karpa.call('dt_day_of_week', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month'), Karpa.int64(day, 'day')])
    end
    # This library's own week number, 1 to 52, not ISO 8601; 0 on failure (checked date). With yd the day of the year (0 for January 1), wd the weekday (0 = Monday) and j the weekday of January 4 of the same year: a day with yd <= 7 - j is week 52; a later day is week (yd - wd - 1) / 7 + 1, the quotient truncated toward zero, and a day that would so be week 53 is week 1.
    #   dt_week_of_year(2024, 1, 15) -> 2
    def self.week_of_year(year, month, day)
      Karpa.call('dt_week_of_year', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month'), Karpa.int64(day, 'day')])
    end
    # 1 for a real date in the years 1 to 9999, else 0. Never fails.
    #   dt_validate_date(2023, 2, 29) -> 0
    def self.validate_date(year, month, day)
      Karpa.call('dt_validate_date', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month'), Karpa.int64(day, 'day')])
    end
    # The date shifted by days; fails for a checked date that is bad or a result outside the span.
    #   dt_add_days(2024, 2, 28, 1) -> "2024-02-29"
    def self.add_days(year, month, day, days)
      Karpa.call('dt_add_days', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month'), Karpa.int64(day, 'day'), Karpa.int64(days, 'days')])
    end
    # The date shifted by months, the day clamped to the month's end; no date check; fails when month + months or the year leaves the 64-bit range.
    #   dt_add_months(2024, 1, 31, 1) -> "2024-02-29"
    def self.add_months(year, month, day, months)
      Karpa.call('dt_add_months', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month'), Karpa.int64(day, 'day'), Karpa.int64(months, 'months')])
    end
    # count dates from the given one, comma-joined; "" for 0; fails for a bad checked date, then for count < 0, then when the run leaves the span.
    #   dt_range_days(2023, 12, 30, 3) -> "2023-12-30,2023-12-31,2024-01-01"
    def self.range_days(year, month, day, count)
      Karpa.call('dt_range_days', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month'), Karpa.int64(day, 'day'), Karpa.int64(count, 'count')])
    end
    # Every date from the first to the second, both included; "" when the second is earlier; fails as dt_days_between does.
    #   dt_range_days_between(2024, 1, 30, 2024, 2, 2) -> "2024-01-30,2024-01-31,2024-02-01,2024-02-02"
    def self.range_days_between(year1, month1, day1, year2, month2, day2)
      Karpa.call('dt_range_days_between', [Karpa.int64(year1, 'year1'), Karpa.int64(month1, 'month1'), Karpa.int64(day1, 'day1'), Karpa.int64(year2, 'year2'), Karpa.int64(month2, 'month2'), Karpa.int64(day2, 'day2')])
    end
    # count months ("2024-11,2024-12,2025-01"); "" for 0; fails for count < 0 or when the year leaves the 64-bit range.
    #   dt_range_months(2024, 11, 4) -> "2024-11,2024-12,2025-01,2025-02"
    def self.range_months(year, month, count)
      Karpa.call('dt_range_months', [Karpa.int64(year, 'year'), Karpa.int64(month, 'month'), Karpa.int64(count, 'count')])
    end
  end

  module Crypto
    # 32 hex characters; fails when len < 0.
    #   md5_hash("abc", 3) -> "900150983CD24FB0D6963F7D28E17F72"
    def self.md5_hash(data)
      Karpa.call('md5_hash', [*Karpa.bytes(data)])
    end
    # 40 hex characters; fails when len < 0.
    #   sha1_hash("abc", 3) -> "A9993E364706816ABA3E25717850C26C9CD0D89D"
    def self.sha1_hash(data)
      Karpa.call('sha1_hash', [*Karpa.bytes(data)])
    end
    # 64 hex characters; fails when len < 0.
    #   sha256_hash(null, 0) -> "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"
    def self.sha256_hash(data)
      Karpa.call('sha256_hash', [*Karpa.bytes(data)])
    end
    # HMAC-MD5 of message under key (message first); a negative length means empty.
    #   hmac_md5("what do ya want for nothing?", 28, "Jefe", 4) -> "750C783E6AB0B503EAA86E310A5DB738"
    def self.hmac_md5(message, key)
      Karpa.call('hmac_md5', [*Karpa.bytes(message), *Karpa.bytes(key)])
    end
    # HMAC-SHA-256 of message under key (message first); a negative length means empty.
    #   hmac_sha256("what do ya want for nothing?", 28, "Jefe", 4) -> "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843"
    def self.hmac_sha256(message, key)
      Karpa.call('hmac_sha256', [*Karpa.bytes(message), *Karpa.bytes(key)])
    end
  end
end
