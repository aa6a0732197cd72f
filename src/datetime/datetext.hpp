// Text forms of dates: two-digit fields, dates, date and time of day, and the
// comma-joined runs of days and months.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "datetime/dates.hpp"
#include "datetime/ranges.hpp"
#include "datetime/records.hpp"
#include "frame/arena.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {

// Two-digit field: the magnitude's digits, padded with "0" to two, after a "-"
// for negative values; the most negative value raises OverflowDefect. Both
// return the end of what they wrote (at most kMaxIntText bytes).
char* writeWideField(char* out, int64_t value);  // any value; out of line
inline char* writeTwoDigitField(char* out, int64_t value) {
    if (static_cast<uint64_t>(value) < 100) [[likely]] {
        std::memcpy(out, kDigitPairs + 2 * value, 2);
        return out + 2;
    }
    return writeWideField(out, value);
}

// The usual date: a four-digit year (as writeInt writes it) and fields of
// two digits. Its text is written a word at a time.
inline bool usualDate(int64_t year, int64_t month, int64_t monthday) {
    return static_cast<uint64_t>(year) - 1000 < 9000 && static_cast<uint64_t>(month) < 100 &&
           static_cast<uint64_t>(monthday) < 100;
}

// The two digits of v < 100 as a 16-bit word, the first digit in the low byte.
inline uint64_t digitPair(uint64_t v) {
    uint16_t w;
    std::memcpy(&w, kDigitPairs + 2 * v, 2);
    return w;
}

// "YYYY-MM-" of a usual date as one little-endian word, given the month's two
// digits as digitPair gives them.
inline uint64_t yearMonthWord(uint64_t year, uint64_t monthPair) {
    return digitPair(year / 100) | digitPair(year % 100) << 16 | uint64_t('-') << 32 | monthPair << 40 |
           uint64_t('-') << 56;
}

// Date text: decimal year, "-", month and monthday as two-digit fields
// ("2024-03-05", "-1-12-31"). At most kMaxDateText bytes.
constexpr size_t kMaxDateText = 3 * kMaxIntText + 2;
inline char* writeDate(char* out, int64_t year, int64_t month, int64_t monthday) {
    if (usualDate(year, month, monthday)) [[likely]] {
        const uint64_t yearMonth = yearMonthWord(static_cast<uint64_t>(year), digitPair(static_cast<uint64_t>(month)));
        std::memcpy(out, &yearMonth, 8);
        std::memcpy(out + 8, kDigitPairs + 2 * monthday, 2);
        return out + 10;
    }
    out = writeInt(out, year);
    *out++ = '-';
    out = writeTwoDigitField(out, month);
    *out++ = '-';
    return writeTwoDigitField(out, monthday);
}

// Date, " ", then hour, minute and second as two-digit fields joined by ":".
constexpr size_t kMaxDateTimeText = kMaxDateText + 3 * (kMaxIntText + 1);

// The text of hour, minute and second of a second of the day (0 .. 86399):
// "HH:MM" in the high five bytes of the word that starts with the day, and
// ":SS" with the NUL.
inline uint64_t hourMinuteBytes(uint32_t secondOfDay) {
    return uint64_t(' ') << 16 | digitPair(secondOfDay / 3600) << 24 | uint64_t(':') << 40 |
           digitPair(secondOfDay % 3600 / 60) << 48;
}
inline uint32_t secondEndWord(uint32_t secondOfDay) {
    return ':' | static_cast<uint32_t>(digitPair(secondOfDay % 60)) << 8;
}

// Result text of a record or of a date: the date placed in the call's arena.
// A usual date is stored in two words ("YYYY-MM-", then "DD" and the NUL).
inline const char* printDate(ArenaState& arena, int64_t year, int64_t month, int64_t monthday) {
    if (usualDate(year, month, monthday)) [[likely]] {
        char* const p = static_cast<char*>(arenaAllocate(arena, 12, 1));
        const uint64_t yearMonth = yearMonthWord(static_cast<uint64_t>(year), digitPair(static_cast<uint64_t>(month)));
        const uint32_t dayEnd = static_cast<uint32_t>(digitPair(static_cast<uint64_t>(monthday)));
        std::memcpy(p, &yearMonth, 8);
        std::memcpy(p + 8, &dayEnd, 4);
        return p;
    }
    return printInArena(arena, kMaxDateText, [&](char* p) { return writeDate(p, year, month, monthday); });
}
inline const char* printDate(ArenaState& arena, const DateTime& dt) {
    return printDate(arena, year(dt), month(dt), monthday(dt));
}
inline const char* printDate(ArenaState& arena, const MonthShift& date) {
    return printDate(arena, date.year, date.month, date.monthday);
}

// "MM" and "DD" of each day of a March-based year (0 = March 1 .. 365 =
// February 29), month in the low two bytes, counted from the months' lengths.
inline constexpr auto kMonthDayPairs = [] {
    constexpr uint32_t lengths[12] = {31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 31, 29};
    const auto pair = [](uint32_t v) { return uint32_t('0' + v / 10) | uint32_t('0' + v % 10) << 8; };
    std::array<uint32_t, 366> table{};
    size_t i = 0;
    for (uint32_t m = 0; m < 12; ++m) {
        const uint32_t month = m < 10 ? m + 3 : m - 9;
        for (uint32_t d = 1; d <= lengths[m]; ++d) table[i++] = pair(month) | pair(d) << 16;
    }
    return table;
}();

// The text of a timestamp whose day is near day 0 and whose year has four
// digits, in pieces: "YYYY-MM-", "DD" and the second of the day. Such a
// timestamp cannot fail, so it skips the record and the general writer: the
// day and the second of the day come from one unsigned division, the month
// and day from a table.
struct UsualStamp {
    uint64_t yearMonth;
    uint32_t monthday;  // "DD" in the low two bytes
    uint32_t secondOfDay;
};
inline bool usualStamp(int64_t timestamp, UsualStamp& out) {
    constexpr uint64_t kNearSeconds = uint64_t(kNearDays) * kSecondsPerDay;
    // The days -kNearDays .. kNearDays, moved to 0 .. 2 * kNearDays.
    const uint64_t moved = static_cast<uint64_t>(timestamp) + kNearSeconds;
    if (moved >= 2 * kNearSeconds + kSecondsPerDay) [[unlikely]] return false;
    const uint64_t day = moved / kSecondsPerDay;
    const MarchDate march = marchDateNear(static_cast<uint32_t>(day) + (kNearShift - uint32_t(kNearDays)));
    const uint64_t year = static_cast<uint64_t>(civilYear(march));
    if (year - 1000 >= 9000) [[unlikely]] return false;
    const uint32_t pairs = kMonthDayPairs[march.ofYear];
    out.yearMonth = yearMonthWord(year, pairs & 0xFFFF);
    out.monthday = pairs >> 16;
    out.secondOfDay = static_cast<uint32_t>(moved - day * kSecondsPerDay);
    return true;
}

// Result text of a timestamp: its date ("YYYY-MM-DD"), or its date and time
// of day ("YYYY-MM-DD HH:MM:SS"), in the call's arena. A usual timestamp is
// stored in two or three words ("YYYY-MM-", "DD HH:MM", ":SS" and the NUL);
// any other goes through utcDayTime, which raises what the record would.
inline const char* printTimestampDate(ArenaState& arena, int64_t timestamp) {
    UsualStamp stamp;
    if (usualStamp(timestamp, stamp)) [[likely]] {
        char* const p = static_cast<char*>(arenaAllocate(arena, 12, 1));
        std::memcpy(p, &stamp.yearMonth, 8);
        std::memcpy(p + 8, &stamp.monthday, 4);
        return p;
    }
    const UtcDayTime t = utcDayTime(timestamp);
    return printDate(arena, t.date.year, t.date.month, t.date.monthday);
}
inline const char* printTimestampDateTime(ArenaState& arena, int64_t timestamp) {
    UsualStamp stamp;
    if (usualStamp(timestamp, stamp)) [[likely]] {
        char* const p = static_cast<char*>(arenaAllocate(arena, 20, 1));
        const uint64_t dayHourMinute = stamp.monthday | hourMinuteBytes(stamp.secondOfDay);
        const uint32_t secondEnd = secondEndWord(stamp.secondOfDay);
        std::memcpy(p, &stamp.yearMonth, 8);
        std::memcpy(p + 8, &dayHourMinute, 8);
        std::memcpy(p + 16, &secondEnd, 4);
        return p;
    }
    const UtcDayTime t = utcDayTime(timestamp);
    return printInArena(arena, kMaxDateTimeText, [&](char* p) {
        const auto s = static_cast<uint32_t>(t.secondOfDay);
        p = writeDate(p, t.date.year, t.date.month, t.date.monthday);
        *p++ = ' ';
        p = writeTwoDigitField(p, s / 3600);
        *p++ = ':';
        p = writeTwoDigitField(p, s % 3600 / 60);
        *p++ = ':';
        return writeTwoDigitField(p, s % 60);
    });
}

// The items of a run joined with ",", "" for none. Items are made here, so the
// checked arithmetic of a late item fails here.
const char* printDayRun(const DayRun& run);    // "year-MM-DD" each
const char* printMonthRun(const MonthRun& run);  // "year-MM" each

}  // namespace karpa
