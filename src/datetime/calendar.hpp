// Proleptic Gregorian calendar arithmetic in UTC.
//
// Years are signed 64-bit with astronomical numbering (year 0 precedes year 1),
// day numbers count days from 1970-01-01 (day 0), timestamps count seconds from
// 1970-01-01 00:00:00 with 86400 seconds in every day. Every conversion is
// constant-time integer arithmetic; every step whose result can leave the
// 64-bit range is checked and raises OverflowDefect.
//
// The procedures on the conversion paths of the exports are defined here, in
// the header, so that range loops inline them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/error.hpp"
#include "frame/textcodec.hpp"

namespace karpa {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kNanosecondsPerSecond = 1000000000;

// Monday = 0 .. Sunday = 6.
enum Weekday : uint8_t { Monday, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday };

// A zone: only UTC exists here (offset 0, never daylight-saving time).
struct Timezone {
    std::string_view name;
};

// A point in time: seconds since the epoch and nanoseconds 0 .. 999999999.
struct Time {
    int64_t seconds = 0;
    int64_t nanosecond = 0;
};

// A span of time, normalised like Time.
struct Duration {
    int64_t seconds = 0;
    int64_t nanosecond = 0;
};

// A Time together with how its zone sees it.
struct ZonedTime {
    Time time;
    int64_t utcOffset = 0;  // seconds west of UTC
    bool isDst = false;
};

// The broken-down form of a Time in a zone. A record whose monthdayZero is 0
// was never filled; the field readers refuse it.
struct DateTime {
    int64_t nanosecond = 0;
    int64_t second = 0;
    int64_t minute = 0;
    int64_t hour = 0;
    int64_t monthdayZero = 0;
    uint8_t month = 0;
    int64_t year = 0;
    uint8_t weekday = 0;
    int64_t yearday = 0;
    bool isDst = false;
    const Timezone* zone = nullptr;
    int64_t utcOffset = 0;
};

struct CivilDate {
    int64_t monthday = 0;
    uint8_t month = 0;
    int64_t year = 0;
};

// Days before each month, common and leap years.
inline constexpr int16_t daysUntilMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
inline constexpr int16_t daysUntilMonthLeap[12] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};

// Raisers kept out of line: they only run on failure.
[[noreturn]] void invalidDateError(int64_t monthday, uint8_t month, int64_t year);
[[noreturn]] void uninitializedDateTimeError(std::string_view position);

// A 64-bit value narrowed to low .. high, else RangeDefect.
inline int64_t checkedRange(int64_t value, int64_t low, int64_t high) {
    if (value < low || value > high) [[unlikely]] raiseRangeErrorI(value, low, high);
    return value;
}

constexpr bool isLeapYear(int64_t year) {
    // A multiple of 100 is a leap year when it is a multiple of 400, that is of 16.
    return year % 100 == 0 ? year % 16 == 0 : year % 4 == 0;
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

// Seconds plus nanoseconds with the nanoseconds brought into 0 .. 999999999.
inline Time normalize(int64_t seconds, int64_t nanoseconds) {
    seconds = checkedAdd(seconds, nanoseconds / kNanosecondsPerSecond);
    nanoseconds %= kNanosecondsPerSecond;
    if (nanoseconds < 0) {
        seconds = checkedSub(seconds, 1);
        nanoseconds += kNanosecondsPerSecond;
    }
    return {seconds, nanoseconds};
}

inline Duration initDuration(int64_t days) { return {checkedMul(days, kSecondsPerDay), 0}; }

inline Time ntAddTime(Time time, Duration span) {
    return normalize(checkedAdd(time.seconds, span.seconds), checkedAdd(time.nanosecond, span.nanosecond));
}

inline Time fromUnix(int64_t timestamp) { return {timestamp, 0}; }
inline int64_t toUnix(Time time) { return time.seconds; }

// The calling thread's UTC zone, made on its first request.
const Timezone& utc();

// How the UTC zone sees a Time, and the Time of a local (adjusted) time.
inline ZonedTime zonedTimeFromTime(const Timezone&, Time time) { return {time, 0, false}; }
inline ZonedTime zonedTimeFromAdjTime(const Timezone&, Time adjTime) { return {adjTime, 0, false}; }

// The broken-down record of a zoned time.
inline DateTime initDateTime(const ZonedTime& zoned, const Timezone& zone) {
    const Time adj = normalize(checkedSub(zoned.time.seconds, zoned.utcOffset), zoned.time.nanosecond);
    const int64_t day = floorDiv(adj.seconds, kSecondsPerDay);
    // The start of the day must itself be a timestamp: this fails for the
    // 55808 smallest values, whose day begins before the 64-bit range.
    checkedMul(day, kSecondsPerDay);
    int64_t t = adj.seconds % kSecondsPerDay;  // seconds into the day, 0 .. 86399
    if (t < 0) t += kSecondsPerDay;
    const CivilDate date = fromEpochDay(day);
    DateTime dt;
    dt.nanosecond = adj.nanosecond;
    dt.hour = t / 3600;
    dt.minute = t % 3600 / 60;
    dt.second = t % 60;
    dt.monthdayZero = date.monthday;
    dt.month = date.month;
    dt.year = date.year;
    dt.weekday = weekdayOfEpochDay(day);
    dt.yearday = yeardayOfDate(date.monthday, date.month, date.year);
    dt.isDst = zoned.isDst;
    dt.zone = &zone;
    dt.utcOffset = zoned.utcOffset;
    return dt;
}

// The record of a Time in UTC.
inline DateTime utc(Time time) {
    const Timezone& zone = utc();
    return initDateTime(zonedTimeFromTime(zone, time), zone);
}

// The record of a local date and time of day in a zone; every field is
// recomputed from the resulting Time.
inline DateTime dateTime(int64_t year, uint8_t month, int64_t monthday, int64_t hour, int64_t minute,
                         int64_t second, int64_t nanosecond, const Timezone& zone) {
    checkDate(monthday, month, year);
    int64_t adjusted = checkedMul(toEpochDay(monthday, month, year), kSecondsPerDay);
    adjusted = checkedAdd(adjusted, checkedMul(hour, 3600));
    adjusted = checkedAdd(adjusted, checkedMul(minute, 60));
    adjusted = checkedAdd(adjusted, second);
    return initDateTime(zonedTimeFromAdjTime(zone, {adjusted, nanosecond}), zone);
}

// Field readers: a record that was never filled is refused.
inline int64_t second(const DateTime& dt) {
    if (dt.monthdayZero == 0) [[unlikely]] uninitializedDateTimeError("times(1068, 28)");
    return dt.second;
}
inline int64_t minute(const DateTime& dt) {
    if (dt.monthdayZero == 0) [[unlikely]] uninitializedDateTimeError("times(1074, 28)");
    return dt.minute;
}
inline int64_t hour(const DateTime& dt) {
    if (dt.monthdayZero == 0) [[unlikely]] uninitializedDateTimeError("times(1080, 28)");
    return dt.hour;
}
inline int64_t monthday(const DateTime& dt) {
    if (dt.monthdayZero == 0) [[unlikely]] uninitializedDateTimeError("times(1085, 28)");
    return dt.monthdayZero;
}
inline uint8_t month(const DateTime& dt) {
    if (dt.monthdayZero == 0) [[unlikely]] uninitializedDateTimeError("times(1092, 28)");
    return dt.month;
}
inline int64_t year(const DateTime& dt) {
    if (dt.monthdayZero == 0) [[unlikely]] uninitializedDateTimeError("times(1100, 28)");
    return dt.year;
}
inline uint8_t weekday(const DateTime& dt) {
    if (dt.monthdayZero == 0) [[unlikely]] uninitializedDateTimeError("times(1106, 28)");
    return dt.weekday;
}

// The Time of a record, offset included.
inline Time toTime(const DateTime& dt) {
    if (dt.monthdayZero == 0) [[unlikely]] uninitializedDateTimeError("times(1163, 3)");
    int64_t seconds = checkedMul(toEpochDay(dt.monthdayZero, dt.month, dt.year), kSecondsPerDay);
    seconds = checkedAdd(seconds, checkedMul(dt.hour, 3600));
    seconds = checkedAdd(seconds, checkedMul(dt.minute, 60));
    seconds = checkedAdd(seconds, dt.second);
    seconds = checkedAdd(seconds, dt.utcOffset);
    return {seconds, dt.nanosecond};
}

// Text forms of the calendar.
//
// Two-digit field: the magnitude's digits, padded with "0" to two, after a "-"
// for negative values; the most negative value raises OverflowDefect.
inline constexpr char kFieldPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* writeWideField(char* out, int64_t value);

// Returns the end of what it wrote (at most kMaxIntText bytes).
inline char* writeTwoDigitField(char* out, int64_t value) {
    if (static_cast<uint64_t>(value) < 100) [[likely]] {
        std::memcpy(out, kFieldPairs + 2 * value, 2);
        return out + 2;
    }
    return writeWideField(out, value);
}

// Date text: decimal year, "-", month and monthday as two-digit fields
// ("2024-03-05", "-1-12-31"). At most kMaxDateText bytes.
constexpr size_t kMaxDateText = 3 * kMaxIntText + 2;
inline char* writeDate(char* out, int64_t year, int64_t month, int64_t monthday) {
    out = writeInt(out, year);
    *out++ = '-';
    out = writeTwoDigitField(out, month);
    *out++ = '-';
    return writeTwoDigitField(out, monthday);
}

}  // namespace karpa
