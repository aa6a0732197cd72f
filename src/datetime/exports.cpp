// The dt_* exports: run the core procedure, print its result. Every argument
// is a signed 64-bit integer; numeric exports return 0 and text exports the
// null pointer when the call fails.
#include "karpa/datetime.h"  // the compiler checks each export against its declaration

#include "datetime/civil.hpp"
#include "datetime/dates.hpp"
#include "datetime/datetext.hpp"
#include "datetime/ranges.hpp"
#include "datetime/records.hpp"
#include "frame/exportcall.hpp"

using namespace karpa;

KARPA_EXPORT int32_t dt_is_leap_year(int64_t year) {
    return pureCall<int32_t>([&] { return isLeapYear(year) ? 1 : 0; });
}

KARPA_EXPORT int64_t dt_days_in_month(int64_t year, int64_t month) {
    return pureCall<int64_t>([&] { return daysInMonthImpl(year, month); });
}

KARPA_EXPORT int64_t dt_days_in_year(int64_t year) {
    return pureCall<int64_t>([&] { return daysInYearImpl(year); });
}

KARPA_EXPORT const char* dt_ts_to_ymd(int64_t timestamp) {
    return textCall([&](ArenaState& arena) { return printTimestampDate(arena, timestamp); });
}

KARPA_EXPORT const char* dt_ts_to_ymdhms(int64_t timestamp) {
    return textCall([&](ArenaState& arena) { return printTimestampDateTime(arena, timestamp); });
}

KARPA_EXPORT int64_t dt_ymd_to_ts(int64_t year, int64_t month, int64_t day) {
    return numberCall<int64_t>([&] { return ymdToTsImpl(year, month, day); });
}

KARPA_EXPORT int64_t dt_days_between(int64_t year1, int64_t month1, int64_t day1, int64_t year2, int64_t month2,
                                     int64_t day2) {
    return numberCall<int64_t>([&] { return daysBetweenImpl(year1, month1, day1, year2, month2, day2); });
}

KARPA_EXPORT int64_t dt_day_of_week(int64_t year, int64_t month, int64_t day) {
    return numberCall<int64_t>([&] { return dayOfWeekImpl(year, month, day); });
}

KARPA_EXPORT int64_t dt_week_of_year(int64_t year, int64_t month, int64_t day) {
    return numberCall<int64_t>([&] { return weekOfYearImpl(year, month, day); });
}

KARPA_EXPORT int32_t dt_validate_date(int64_t year, int64_t month, int64_t day) {
    return pureCall<int32_t>([&] { return validateDateImpl(year, month, day) ? 1 : 0; });
}

KARPA_EXPORT const char* dt_add_days(int64_t year, int64_t month, int64_t day, int64_t days) {
    return textCall([&](ArenaState& arena) { return printDate(arena, addDaysImpl(year, month, day, days)); });
}

KARPA_EXPORT const char* dt_add_months(int64_t year, int64_t month, int64_t day, int64_t months) {
    return textCall([&](ArenaState& arena) { return printDate(arena, addMonthsImpl(year, month, day, months)); });
}

KARPA_EXPORT const char* dt_range_days(int64_t year, int64_t month, int64_t day, int64_t count) {
    return textCall([&] { return printDayRun(rangeDaysImpl(year, month, day, count)); });
}

KARPA_EXPORT const char* dt_range_days_between(int64_t year1, int64_t month1, int64_t day1, int64_t year2,
                                               int64_t month2, int64_t day2) {
    return textCall(
        [&] { return printDayRun(rangeDaysBetweenImpl(year1, month1, day1, year2, month2, day2)); });
}

KARPA_EXPORT const char* dt_range_months(int64_t year, int64_t month, int64_t count) {
    return textCall([&] { return printMonthRun(rangeMonthsImpl(year, month, count)); });
}
