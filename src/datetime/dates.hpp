// The single-value calendar operations behind the dt_* exports.
#pragma once

#include <cstdint>

#include "datetime/records.hpp"

namespace karpa {

// A date given as three 64-bit arguments, checked in this order: month 1 .. 12
// (RangeDefect), monthday 1 .. 31 (RangeDefect), monthday within its month
// (AssertionDefect), date within the timestamp span (OverflowDefect). Gives
// the record of its midnight in UTC.
DateTime checkedDate(int64_t year, int64_t month, int64_t monthday);

int64_t daysInMonthImpl(int64_t year, int64_t month);  // 0 for a month outside 1 .. 12
int64_t daysInYearImpl(int64_t year);
int64_t ymdToTsImpl(int64_t year, int64_t month, int64_t monthday);
int64_t daysBetweenImpl(int64_t year1, int64_t month1, int64_t monthday1, int64_t year2, int64_t month2,
                        int64_t monthday2);
int64_t dayOfWeekImpl(int64_t year, int64_t month, int64_t monthday);  // Monday = 1 .. Sunday = 7
int64_t weekOfYearImpl(int64_t year, int64_t month, int64_t monthday);
bool validateDateImpl(int64_t year, int64_t month, int64_t monthday);
DateTime addDaysImpl(int64_t year, int64_t month, int64_t monthday, int64_t days);

// A date moved by whole months, day clamped to the new month's length; the
// input is taken unchecked, so the day may be 0 or negative.
struct MonthShift {
    int64_t year = 0;
    int64_t month = 0;
    int64_t monthday = 0;
};
MonthShift addMonthsImpl(int64_t year, int64_t month, int64_t monthday, int64_t months);

}  // namespace karpa
