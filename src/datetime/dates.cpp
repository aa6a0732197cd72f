#include "datetime/dates.hpp"

#include <algorithm>

namespace karpa {

DateTime checkedDate(int64_t year, int64_t month, int64_t monthday) {
    checkedRange(month, 1, 12);
    checkedRange(monthday, 1, 31);
    return dateTime(year, static_cast<uint8_t>(month), monthday, 0, 0, 0, 0, utc());
}

int64_t daysInMonthImpl(int64_t year, int64_t month) {
    if (month < 1 || month > 12) return 0;
    return getDaysInMonth(static_cast<uint8_t>(month), year);
}

int64_t daysInYearImpl(int64_t year) { return isLeapYear(year) ? 366 : 365; }

int64_t ymdToTsImpl(int64_t year, int64_t month, int64_t monthday) {
    return toUnix(toTime(checkedDate(year, month, monthday)));
}

int64_t daysBetweenImpl(int64_t year1, int64_t month1, int64_t monthday1, int64_t year2, int64_t month2,
                        int64_t monthday2) {
    const int64_t t1 = toUnix(toTime(checkedDate(year1, month1, monthday1)));
    const int64_t t2 = toUnix(toTime(checkedDate(year2, month2, monthday2)));
    // Both are whole days, so the quotient is exact.
    return checkedSub(t2, t1) / kSecondsPerDay;
}

int64_t dayOfWeekImpl(int64_t year, int64_t month, int64_t monthday) {
    return weekday(checkedDate(year, month, monthday)) + 1;
}

// This library's own week number, not ISO 8601: the days up to the Friday of
// the week that holds January 4 are week 52; a later day takes
// trunc((yearday - weekday - 1) / 7) + 1 from its Monday-based week, and the
// one day that would make week 53 (December 31 of a leap year, a Monday) is
// week 1.
int64_t weekOfYearImpl(int64_t year, int64_t month, int64_t monthday) {
    const DateTime dt = checkedDate(year, month, monthday);
    const int64_t yd = getDayOfYear(karpa::monthday(dt), karpa::month(dt), karpa::year(dt));
    const int64_t wd = weekday(dt);
    const int64_t j = weekday(checkedDate(year, 1, 4));
    if (yd <= 7 - j) return 52;
    const int64_t w = (yd - wd - 1) / 7 + 1;  // truncated toward zero, as intended
    return (w > 52 && yd > 362) ? 1 : w;
}

bool validateDateImpl(int64_t year, int64_t month, int64_t monthday) {
    if (year < 1 || year > 9999) return false;
    if (month < 1 || month > 12) return false;
    return monthday >= 1 && monthday <= daysInMonthImpl(year, month);
}

DateTime addDaysImpl(int64_t year, int64_t month, int64_t monthday, int64_t days) {
    const Time start = toTime(checkedDate(year, month, monthday));
    return utc(ntAddTime(start, initDuration(days)));
}

MonthShift addMonthsImpl(int64_t year, int64_t month, int64_t monthday, int64_t months) {
    const int64_t m0 = checkedSub(checkedAdd(month, months), 1);  // months counted from January = 0
    const int64_t years = floorDiv(m0, 12);
    // The month is the floor remainder, taken without forming 12 * years,
    // which leaves the range for the lowest m0 although the answer exists.
    int64_t r = m0 % 12;
    if (r < 0) r += 12;
    MonthShift out;
    out.year = checkedAdd(year, years);
    out.month = r + 1;
    out.monthday = std::min(monthday, daysInMonthImpl(out.year, out.month));
    return out;
}

}  // namespace karpa
