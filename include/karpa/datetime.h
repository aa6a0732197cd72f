/*
 * karpa_datetime: proleptic Gregorian calendar arithmetic in UTC.
 * Link with -lkarpa_datetime (pkg-config karpa-datetime). See karpa/karpa.h for the contract.
 *
 * Years are astronomical (year 0 is the year before 1) and unlimited within
 * 64-bit arithmetic: timestamps from -9223372036854720000 up, dates from
 * -292277022657-01-28 to 292277026596-12-04. Dates print as "2024-03-05",
 * "-1-12-31"; fields below 10 get a leading zero.
 *
 * Checked date arguments: a month outside 1..12, a day outside 1..31, a day
 * past the month's end, or a date outside the span fails.
 * Failure: text results are the null pointer, numeric results 0 (which a
 * successful call can also return, e.g. dt_ymd_to_ts(1970, 1, 1)).
 */
#ifndef KARPA_DATETIME_H
#define KARPA_DATETIME_H

#include <stdint.h>

#include "karpa/lifecycle.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 1 for a leap year (0, -4 and 2000 are; 1900 is not), else 0. Never fails. */
int32_t dt_is_leap_year(int64_t year);
/* 28 to 31; 0 when month is outside 1..12. Never fails. */
int64_t dt_days_in_month(int64_t year, int64_t month);
/* 366 or 365. Never fails. */
int64_t dt_days_in_year(int64_t year);
/* The UTC date holding the timestamp: "1969-12-31" for -1; fails for the 55808 smallest timestamps, whose day starts before the 64-bit span. */
const char* dt_ts_to_ymd(int64_t timestamp);
/* The UTC date and time: "2023-11-14 22:13:20" for 1700000000; fails as dt_ts_to_ymd does. */
const char* dt_ts_to_ymdhms(int64_t timestamp);
/* The timestamp of 00:00:00 UTC on the date; 0 on failure (checked date). */
int64_t dt_ymd_to_ts(int64_t year, int64_t month, int64_t day);
/* Days from the first date to the second (negative when earlier); 0 on failure (checked dates; also when the two timestamps differ by more than the 64-bit range). */
int64_t dt_days_between(int64_t year1, int64_t month1, int64_t day1, int64_t year2, int64_t month2, int64_t day2);
/* 1 = Monday ... 7 = Sunday; 0 on failure (checked date). */
int64_t dt_day_of_week(int64_t year, int64_t month, int64_t day);
/* This library's own week number, 1 to 52, not ISO 8601; 0 on failure (checked date).
 * With yd the day of the year (0 for January 1), wd the weekday (0 = Monday) and
 * j the weekday of January 4 of the same year: a day with yd <= 7 - j is week 52;
 * a later day is week (yd - wd - 1) / 7 + 1, the quotient truncated toward zero,
 * and a day that would so be week 53 is week 1. */
int64_t dt_week_of_year(int64_t year, int64_t month, int64_t day);
/* 1 for a real date in the years 1 to 9999, else 0. Never fails. */
int32_t dt_validate_date(int64_t year, int64_t month, int64_t day);
/* The date shifted by days; fails for a checked date that is bad or a result outside the span. */
const char* dt_add_days(int64_t year, int64_t month, int64_t day, int64_t days);
/* The date shifted by months, the day clamped to the month's end; no date check; fails when month + months or the year leaves the 64-bit range. */
const char* dt_add_months(int64_t year, int64_t month, int64_t day, int64_t months);
/* count dates from the given one, comma-joined; "" for 0; fails for a bad checked date, then for count < 0, then when the run leaves the span. */
const char* dt_range_days(int64_t year, int64_t month, int64_t day, int64_t count);
/* Every date from the first to the second, both included; "" when the second is earlier; fails as dt_days_between does. */
const char* dt_range_days_between(int64_t year1, int64_t month1, int64_t day1, int64_t year2, int64_t month2,
                                  int64_t day2);
/* count months ("2024-11,2024-12,2025-01"); "" for 0; fails for count < 0 or when the year leaves the 64-bit range. */
const char* dt_range_months(int64_t year, int64_t month, int64_t count);

#ifdef __cplusplus
}
#endif

#endif
