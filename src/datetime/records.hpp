// Time records in UTC: a point in time, a span, how a zone sees a time, and
// the broken-down date and time of day.
//
// Timestamps count seconds from 1970-01-01 00:00:00 with 86400 seconds in
// every day. Defined in the header so that range loops and the per-call
// conversions inline them.
#pragma once

#include <cstdint>
#include <string_view>

#include "datetime/civil.hpp"
#include "frame/error.hpp"

namespace karpa {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kNanosecondsPerSecond = 1000000000;

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

// Out of line: it only runs on failure. `position` leads the message.
[[noreturn]] void uninitializedDateTimeError(std::string_view position);

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

// What the text of a timestamp in UTC shows: its date and the second of its
// day, the fields of utc(fromUnix(timestamp)) without the rest of the record
// (offset, weekday, day of the year). It fails as the record does, only for a
// day that begins before the 64-bit range.
struct UtcDayTime {
    CivilDate date;
    int64_t secondOfDay;  // 0 .. 86399
};
inline UtcDayTime utcDayTime(int64_t timestamp) {
    const int64_t day = floorDiv(timestamp, kSecondsPerDay);
    if (day >= -kNearDays && day <= kNearDays) [[likely]] {
        return {fromEpochDayNear(day), timestamp - day * kSecondsPerDay};
    }
    const int64_t dayStart = checkedMul(day, kSecondsPerDay);
    return {fromEpochDay(day), timestamp - dayStart};
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

// Field readers: a record that was never filled is refused, each with its
// own fixed position in the message.
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

}  // namespace karpa
