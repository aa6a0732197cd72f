// Runs of days and months: the checked start and the number of items. The
// items themselves are made as they are printed (printDayRun, printMonthRun).
#pragma once

#include <cstdint>

#include "datetime/records.hpp"

namespace karpa {

// count consecutive days from the midnight `start`, whose year is startYear.
struct DayRun {
    Time start;
    int64_t startYear = 0;
    int64_t count = 0;
};

// count consecutive months from year-month; the month is taken unchecked.
struct MonthRun {
    int64_t year = 0;
    int64_t month = 0;
    int64_t count = 0;
};

// count dates from the given one, one day apart.
DayRun rangeDaysImpl(int64_t year, int64_t month, int64_t monthday, int64_t count);
// Every date from the first to the second, both included; none when the
// second lies before the first.
DayRun rangeDaysBetweenImpl(int64_t year1, int64_t month1, int64_t monthday1, int64_t year2, int64_t month2,
                            int64_t monthday2);
// count months from the given one; the start is taken unchecked.
MonthRun rangeMonthsImpl(int64_t year, int64_t month, int64_t count);

}  // namespace karpa
