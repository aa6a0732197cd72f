/* Calls every export through the public headers, from C11, and checks one answer each. */
#include <stdio.h>
#include <string.h>

#include "karpa/karpa.h"

static int passed;
static int failed;

static void expectText(const char* what, const char* got, const char* want) {
    const int same = (got == NULL || want == NULL) ? got == want : strcmp(got, want) == 0;
    if (same) {
        ++passed;
    } else {
        ++failed;
        printf("FAIL %s: got %s, want %s\n", what, got ? got : "(null)", want ? want : "(null)");
    }
}

static void expectNumber(const char* what, long long got, long long want) {
    if (got == want) {
        ++passed;
    } else {
        ++failed;
        printf("FAIL %s: got %lld, want %lld\n", what, got, want);
    }
}

#define TEXT(call, want) expectText(#call, call, want)
#define NUMBER(call, want) expectNumber(#call, (long long)(call), want)

int main(void) {
    TEXT(seq_map_int("1, 2,3", 10), "10,20,30");
    TEXT(seq_filter_int("5,1,7,3", 3), "5,7");
    TEXT(seq_reduce_sum_int("1,2,3"), "6");
    TEXT(seq_reduce_max_int("4,-2,9"), "9");
    TEXT(seq_reduce_min_int("4,-2,9"), "-2");
    TEXT(seq_sort_int("3,1,2", 0), "1,2,3");
    TEXT(seq_unique_int("3,1,3,2,1"), "3,1,2");
    TEXT(seq_count_int("5,1,7,3", 3), "2");
    TEXT(seq_reverse_int("1,2,3"), "3,2,1");
    TEXT(seq_take_int("1,2,3", 2), "1,2");
    TEXT(seq_skip_int("1,2,3", -1), NULL);
    TEXT(seq_map_float("1.5, 2", "2"), "3,4");
    TEXT(seq_filter_float("0.5,1.5,nan,2", "1"), "1.5,2");
    TEXT(seq_reduce_sum_float("0.1,0.2"), "0.30000000000000004");
    TEXT(seq_reduce_max_float("1,nan,2"), "2.0");
    TEXT(seq_reduce_min_float(""), "0.0");
    TEXT(seq_sort_float("3,1.5,2", 1), "3,2,1.5");
    TEXT(seq_unique_float("-0.0,0.0"), "-0");
    TEXT(seq_count_float("0.5,1.5,nan,2", "1"), "2");
    TEXT(seq_reverse_float("3.14159265,1"), "1,3.14159");
    TEXT(seq_map_string("a, b,,c", "<", ">"), "<a>,<b>,<>,<c>");
    TEXT(seq_filter_string("ab, c,  ,def", 2), "ab,def");
    TEXT(seq_count_string(",", 0), "2");
    TEXT(seq_sort_string("b,a,,B", 0), ",B,a,b");
    TEXT(seq_unique_string("a,b,a, a"), "a,b, a");
    TEXT(seq_reverse_string("a,"), ",a");
    TEXT(seq_take_string("a", -1), NULL);
    TEXT(seq_skip_string("a,b,c", 1), "b,c");

    TEXT(cur_sum_int("1, 2 ,,3"), "6");
    TEXT(cur_mean_int("1,2,2"), "1.66667");
    TEXT(cur_min_int(""), "0");
    TEXT(cur_max_int("3,-1,2"), "3");
    TEXT(cur_minmax_int("3,-1,2"), "-1,3");
    TEXT(cur_variance_int("1,2,3,4"), "1.25");
    TEXT(cur_stddev_int("1,2,3,4"), "1.11803");
    TEXT(cur_median_int("4,1,3,2"), "2.5");
    TEXT(cur_dot_int("1,2,3", "4,5"), "14");
    TEXT(cur_l2norm_int("3,4"), "5");
    TEXT(cur_sum_float("0.1,0.2"), "0.30000000000000004");
    TEXT(cur_mean_float("0.1,0.2"), "0.15");
    TEXT(cur_min_float("-0.0,0.0"), "-0.0");
    TEXT(cur_max_float(""), "0.0");
    TEXT(cur_minmax_float(""), ",");
    TEXT(cur_variance_float("1,2,3,4"), "1.25");
    TEXT(cur_stddev_float("1,2,3,4"), "1.11803");
    TEXT(cur_median_float("3,1,2"), "2");
    TEXT(cur_dot_float("1.5,2", "2,0.25"), "3.5");
    TEXT(cur_l2norm_float("3,4"), "5");
    TEXT(cur_distinct_int("3, 1,3 ,2,1"), "3,1,2");
    TEXT(cur_count_int("1,2,1,1", 1), "3");
    TEXT(cur_distinct_string("b,a,b, a"), "b,a, a");
    TEXT(cur_count_string("a,b,a", "a"), "2");
    TEXT(cur_union_string("a,b,a", "c,b,d"), "a,b,c,d");
    TEXT(cur_intersect_string("a,b,a,c", "c,a"), "a,c");
    TEXT(cur_diff_string("a,b,a,c", "b"), "a,a,c");

    NUMBER(dt_is_leap_year(2000), 1);
    NUMBER(dt_days_in_month(2024, 2), 29);
    NUMBER(dt_days_in_year(1900), 365);
    TEXT(dt_ts_to_ymd(951782400), "2000-02-29");
    TEXT(dt_ts_to_ymdhms(1700000000), "2023-11-14 22:13:20");
    NUMBER(dt_ymd_to_ts(2000, 2, 29), 951782400);
    NUMBER(dt_days_between(2024, 1, 1, 2024, 3, 1), 60);
    NUMBER(dt_day_of_week(2023, 12, 31), 7);
    NUMBER(dt_week_of_year(2024, 1, 15), 2);
    NUMBER(dt_validate_date(2023, 2, 29), 0);
    TEXT(dt_add_days(2024, 2, 28, 1), "2024-02-29");
    TEXT(dt_add_months(2024, 1, 31, 1), "2024-02-29");
    TEXT(dt_range_days(2023, 12, 30, 3), "2023-12-30,2023-12-31,2024-01-01");
    TEXT(dt_range_days_between(2024, 1, 30, 2024, 2, 2), "2024-01-30,2024-01-31,2024-02-01,2024-02-02");
    TEXT(dt_range_months(2024, 11, 4), "2024-11,2024-12,2025-01,2025-02");

    TEXT(md5_hash("abc", 3), "900150983CD24FB0D6963F7D28E17F72");
    TEXT(sha1_hash("abc", 3), "A9993E364706816ABA3E25717850C26C9CD0D89D");
    TEXT(sha256_hash(NULL, 0), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    TEXT(hmac_md5("what do ya want for nothing?", 28, "Jefe", 4), "750C783E6AB0B503EAA86E310A5DB738");
    TEXT(hmac_sha256("what do ya want for nothing?", 28, "Jefe", 4),
         "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843");

    TovDestroyGlobals();
    TovMain();
    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
