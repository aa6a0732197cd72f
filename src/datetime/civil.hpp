// Civil day numbers of the proleptic Gregorian calendar.
//
// Years are signed 64-bit with astronomical numbering (year 0 precedes year 1);
// day numbers count days from 1970-01-01 (day 0). Every conversion is
// constant-time integer arithmetic; every step whose result can leave the
// 64-bit range is checked and raises OverflowDefect.
//
// Defined in the header so that range loops inline them.
#pragma once

#include <cstdint>

#include "frame/error.hpp"

namespace karpa {

// Monday = 0 .. Sunday = 6.
enum Weekday : uint8_t { Monday, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday };

struct CivilDate {
    int64_t monthday = 0;
    uint8_t month = 0;
    int64_t year = 0;
};

// Days before each month, common and leap years.
inline constexpr int16_t daysUntilMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
inline constexpr int16_t daysUntilMonthLeap[12] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};

// Out of line: it only runs on failure.
[[noreturn]] void invalidDateError(int64_t monthday, uint8_t month, int64_t year);

// A 64-bit value narrowed to low .. high, else RangeDefect.
inline int64_t checkedRange(int64_t value, int64_t low, int64_t high) {
    if (value < low || value > high) [[unlikely]] raiseRangeErrorI(value, low, high);
    return value;
}

constexpr bool isLeapYear(int64_t year) {
    // Three years in four are not multiples of 4, told by the low bits alone.
    // A multiple of 100 is a leap year when it is a multiple of 400, that is
    // of 16.
    return (year & 3) == 0 && (year % 100 != 0 || (year & 15) == 0);
}

// 28 .. 31; the month must be 1 .. 12.
constexpr int64_t getDaysInMonth(uint8_t month, int64_t year) {
    switch (month) {
        case 2: return isLeapYear(year) ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11: return 30;
        default: return 31;
    }
}

// The monthday must not pass the end of its month; month 1 .. 12 and
// monthday >= 1 are the caller's to guarantee.
inline void checkDate(int64_t monthday, uint8_t month, int64_t year) {
    if (monthday > getDaysInMonth(month, year)) [[unlikely]] invalidDateError(monthday, month, year);
}

// Floor of a / b for b != 0.
inline int64_t floorDiv(int64_t a, int64_t b) {
    if (b == -1) return checkedNeg(a);
    const int64_t q = a / b;
    const int64_t r = a % b;
    return (r != 0 && ((r < 0) != (b < 0))) ? q - 1 : q;
}

// Day number of a date: days-from-civil over 400-year eras counted from March.
inline int64_t toEpochDay(int64_t monthday, uint8_t month, int64_t year) {
    checkDate(monthday, month, year);
    const int64_t y = month <= 2 ? checkedSub(year, 1) : year;
    const int64_t era = (y >= 0 ? y : checkedSub(y, 399)) / 400;
    const int64_t yoe = y - era * 400;  // 0 .. 399
    const int64_t mp = month > 2 ? month - 3 : month + 9;
    const int64_t doy = checkedAdd((153 * mp + 2) / 5, checkedSub(monthday, 1));
    const int64_t doe = checkedAdd(yoe * 365 + yoe / 4 - yoe / 100, doy);
    return checkedSub(checkedAdd(checkedMul(era, 146097), doe), 719468);
}

// The date of a day number: the inverse of toEpochDay. The day is split into
// a 400-year era and a day of the era (both from March 1), which is then
// split into century, year of the century, and day of the year. The leap day
// closes each 4-year group and each 400-year era, so floor((4k + 3) / n) with
// n = 4 * (average length) counts whole centuries and whole years.
inline CivilDate fromEpochDay(int64_t day) {
    const int64_t z = checkedAdd(day, 719468);
    const int64_t era = (z >= 0 ? z : checkedSub(z, 146096)) / 146097;
    // Within an era every quantity is small and non-negative.
    const uint32_t doe = static_cast<uint32_t>(z - era * 146097);  // 0 .. 146096
    const uint32_t n1 = 4 * doe + 3;
    const uint32_t century = n1 / 146097;               // 0 .. 3
    const uint32_t doc = n1 % 146097 / 4;               // 0 .. 36524
    const uint32_t n2 = 4 * doc + 3;
    const uint32_t yoe = 100 * century + n2 / 1461;     // 0 .. 399
    const uint32_t doy = n2 % 1461 / 4;                 // 0 .. 365, from March 1
    const uint32_t mp = (5 * doy + 2) / 153;            // 0 = March .. 11 = February
    const int64_t monthday = static_cast<int64_t>(doy - (153 * mp + 2) / 5 + 1);
    const int64_t month = mp < 10 ? static_cast<int64_t>(mp) + 3 : static_cast<int64_t>(mp) - 9;
    CivilDate date;
    date.monthday = checkedRange(monthday, 1, 31);
    date.month = static_cast<uint8_t>(checkedRange(month, 1, 12));
    // |era| <= 2^63 / 146097, so era * 400 and the sums stay in range.
    date.year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
    return date;
}

// The days within kNearDays of day 0 (years -20998 to 24937) are converted in
// 32-bit arithmetic after Neri and Schneider ("Euclidean affine functions and
// their application to calendar algorithms", 2023). The day is moved forward
// by whole 400-year eras to a positive count n from a March 1; then, as in
// fromEpochDay, century and day of the century come from (4n + 3) / 146097,
// and year of the century and day of the year from one 64-bit product:
// 2939745 / 2^32 is 4 / 1461 to within what the range of the day of the
// century allows, so the high half of 2939745 * (4c + 3) is the year and the
// low half, divided by 2939745 * 4, the day of the year.
constexpr int64_t kNearDays = int64_t(1) << 23;
constexpr uint32_t kNearEras = 82;
// Day 0 is 719468 days after 0000-03-01.
constexpr uint32_t kNearShift = 719468 + 146097 * kNearEras;

// A year that starts on March 1, counted from the year -400 * kNearEras, and
// the day of that year (0 = March 1 .. 365 = February 29).
struct MarchDate {
    uint32_t year;
    uint32_t ofYear;
};
// Days from March 1 on which January and February of the next year start.
constexpr uint32_t kJanuaryFromMarch = 306;

// n is a near day plus kNearShift.
inline MarchDate marchDateNear(uint32_t n) {
    const uint32_t n1 = 4 * n + 3;
    const uint32_t century = n1 / 146097;
    const uint32_t ofCentury = n1 % 146097 / 4;
    const uint64_t p2 = uint64_t(2939745) * (4 * ofCentury + 3);
    const uint32_t yearOfCentury = static_cast<uint32_t>(p2 >> 32);
    const uint32_t ofYear = static_cast<uint32_t>(p2) / 2939745 / 4;
    return {100 * century + yearOfCentury, ofYear};
}

// The calendar year of a March-based one and its day.
inline int64_t civilYear(MarchDate date) {
    return static_cast<int64_t>(date.year) - 400 * int64_t(kNearEras) + (date.ofYear >= kJanuaryFromMarch);
}

// The date of a near day, the one fromEpochDay gives. Month and day follow
// from 2141 / 2^16 ~ 5 / 153.
inline CivilDate fromEpochDayNear(int64_t day) {
    const MarchDate march = marchDateNear(static_cast<uint32_t>(day) + kNearShift);
    const uint32_t n3 = 2141 * march.ofYear + 197913;
    const uint32_t month = n3 >> 16;  // 3 .. 14
    CivilDate date;
    date.monthday = static_cast<int64_t>((n3 & 0xFFFF) / 2141 + 1);
    date.month = static_cast<uint8_t>(march.ofYear >= kJanuaryFromMarch ? month - 12 : month);
    date.year = civilYear(march);
    return date;
}

// Weekday of a day number: day 0 was a Thursday.
inline uint8_t weekdayOfEpochDay(int64_t day) {
    const int64_t days = checkedSub(day, 3);
    const int64_t r = days - floorDiv(days, 7) * 7;  // 0 .. 6, Sunday = 0
    return static_cast<uint8_t>(r == 0 ? 6 : r - 1);
}

// Yearday of a date known to be valid: 0 .. 365.
inline int64_t yeardayOfDate(int64_t monthday, uint8_t month, int64_t year) {
    const int16_t* table = isLeapYear(year) ? daysUntilMonthLeap : daysUntilMonth;
    return table[month - 1] + monthday - 1;
}

inline uint8_t getDayOfWeek(int64_t monthday, uint8_t month, int64_t year) {
    checkDate(monthday, month, year);
    return weekdayOfEpochDay(toEpochDay(monthday, month, year));
}

inline int64_t getDayOfYear(int64_t monthday, uint8_t month, int64_t year) {
    checkDate(monthday, month, year);
    return yeardayOfDate(monthday, month, year);
}

}  // namespace karpa
