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

// Date text: decimal year, "-", month and monthday as two-digit fields
// ("2024-03-05", "-1-12-31"). At most kMaxDateText bytes.
constexpr size_t kMaxDateText = 3 * kMaxIntText + 2;
inline char* writeDate(char* out, int64_t year, int64_t month, int64_t monthday) {
    if (static_cast<uint64_t>(year) - 1000 < 9000) [[likely]] {  // four digits, as writeInt writes them
        std::memcpy(out, kDigitPairs + 2 * (year / 100), 2);
        std::memcpy(out + 2, kDigitPairs + 2 * (year % 100), 2);
        out += 4;
    } else {
        out = writeInt(out, year);
    }
    *out++ = '-';
    out = writeTwoDigitField(out, month);
    *out++ = '-';
    return writeTwoDigitField(out, monthday);
}

// Date, " ", then hour, minute and second as two-digit fields joined by ":".
constexpr size_t kMaxDateTimeText = kMaxDateText + 3 * (kMaxIntText + 1);

// Result text of a record or of a timestamp's date and time of day: the date,
// or the date and time of day, placed in the call's arena.
inline const char* printDate(ArenaState& arena, int64_t year, int64_t month, int64_t monthday) {
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
    return printInArena(arena, kMaxDateTimeText, [&t](char* p) {
        p = writeDate(p, t.date.year, t.date.month, t.date.monthday);
        const auto s = static_cast<uint32_t>(t.secondOfDay);
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
