// Text forms of dates: two-digit fields, dates, date and time of day, and the
// comma-joined runs of days and months.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "datetime/dates.hpp"
#include "datetime/ranges.hpp"
#include "datetime/records.hpp"
#include "frame/arena.hpp"
#include "frame/textcodec.hpp"

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

// "YYYY-MM-" of a usual date as one little-endian word.
inline uint64_t yearMonthWord(uint64_t year, uint64_t month) {
    return digitPair(year / 100) | digitPair(year % 100) << 16 | uint64_t('-') << 32 | digitPair(month) << 40 |
           uint64_t('-') << 56;
}

// Date text: decimal year, "-", month and monthday as two-digit fields
// ("2024-03-05", "-1-12-31"). At most kMaxDateText bytes.
constexpr size_t kMaxDateText = 3 * kMaxIntText + 2;
inline char* writeDate(char* out, int64_t year, int64_t month, int64_t monthday) {
    if (usualDate(year, month, monthday)) [[likely]] {
        const uint64_t yearMonth = yearMonthWord(static_cast<uint64_t>(year), static_cast<uint64_t>(month));
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

// Result text of a record or of a timestamp's date and time of day: the date,
// or the date and time of day, placed in the call's arena. A usual date is
// stored in two words ("YYYY-MM-", then "DD" and the NUL), with its time of
// day in three ("YYYY-MM-", "DD HH:MM", ":SS" and the NUL).
inline const char* printDate(ArenaState& arena, int64_t year, int64_t month, int64_t monthday) {
    if (usualDate(year, month, monthday)) [[likely]] {
        char* const p = static_cast<char*>(arenaAllocate(arena, 12, 1));
        const uint64_t yearMonth = yearMonthWord(static_cast<uint64_t>(year), static_cast<uint64_t>(month));
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
inline const char* printDate(ArenaState& arena, const UtcDayTime& t) {
    return printDate(arena, t.date.year, t.date.month, t.date.monthday);
}
inline const char* printDate(ArenaState& arena, const MonthShift& date) {
    return printDate(arena, date.year, date.month, date.monthday);
}

inline const char* printDateTime(ArenaState& arena, const UtcDayTime& t) {
    const auto s = static_cast<uint32_t>(t.secondOfDay);
    const uint32_t hour = s / 3600;
    const uint32_t minute = s % 3600 / 60;
    const uint32_t second = s % 60;
    if (usualDate(t.date.year, t.date.month, t.date.monthday)) [[likely]] {
        char* const p = static_cast<char*>(arenaAllocate(arena, 20, 1));
        const uint64_t yearMonth = yearMonthWord(static_cast<uint64_t>(t.date.year), t.date.month);
        const uint64_t dayHourMinute = digitPair(static_cast<uint64_t>(t.date.monthday)) | uint64_t(' ') << 16 |
                                       digitPair(hour) << 24 | uint64_t(':') << 40 | digitPair(minute) << 48;
        const uint32_t secondEnd = ':' | static_cast<uint32_t>(digitPair(second)) << 8;
        std::memcpy(p, &yearMonth, 8);
        std::memcpy(p + 8, &dayHourMinute, 8);
        std::memcpy(p + 16, &secondEnd, 4);
        return p;
    }
    return printInArena(arena, kMaxDateTimeText, [&](char* p) {
        p = writeDate(p, t.date.year, t.date.month, t.date.monthday);
        *p++ = ' ';
        p = writeTwoDigitField(p, hour);
        *p++ = ':';
        p = writeTwoDigitField(p, minute);
        *p++ = ':';
        return writeTwoDigitField(p, second);
    });
}

// The items of a run joined with ",", "" for none. Items are made here, so the
// checked arithmetic of a late item fails here.
const char* printDayRun(const DayRun& run);    // "year-MM-DD" each
const char* printMonthRun(const MonthRun& run);  // "year-MM" each

}  // namespace karpa
