#include "datetime/ranges.hpp"

#include "datetime/dates.hpp"

namespace karpa {

DayRun rangeDaysImpl(int64_t year, int64_t month, int64_t monthday, int64_t count) {
    const Time start = toTime(checkedDate(year, month, monthday));
    if (count < 0) raiseNegativeSize(count);
    return {start, year, count};
}

DayRun rangeDaysBetweenImpl(int64_t year1, int64_t month1, int64_t monthday1, int64_t year2, int64_t month2,
                            int64_t monthday2) {
    const int64_t n = daysBetweenImpl(year1, month1, monthday1, year2, month2, monthday2);
    const int64_t count = checkedAdd(n, 1);
    if (count <= 0) return {Time{}, year1, 0};
    return {toTime(checkedDate(year1, month1, monthday1)), year1, count};
}

MonthRun rangeMonthsImpl(int64_t year, int64_t month, int64_t count) {
    if (count < 0) raiseNegativeSize(count);
    return {year, month, count};
}

}  // namespace karpa
