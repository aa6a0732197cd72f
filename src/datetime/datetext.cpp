#include "datetime/datetext.hpp"

#include <algorithm>

namespace karpa {

char* writeWideField(char* out, int64_t value) {
    if (value < 0) {
        *out++ = '-';
        value = checkedNeg(value);
    }
    if (value < 10) *out++ = '0';
    return writeInt(out, value);
}


namespace {

// Bytes of the decimal text of a year between `first` and first + steps
// (steps >= 0): years only grow, so the widest is at one of the two ends.
size_t yearWidthBound(int64_t first, int64_t steps) {
    int64_t last;
    if (__builtin_add_overflow(first, steps, &last)) last = INT64_MAX;
    return std::max(decimalLength(first), decimalLength(last));
}

// Room for count items of at most itemBytes each (separators included), in
// one reservation, with `slack` more bytes for block copies. A size beyond
// the 64-bit range raises OverflowDefect; one beyond the memory available
// ends in the out-of-memory path.
char* roomForItems(TextBuilder& out, int64_t count, size_t itemBytes, size_t slack = 0) {
    const int64_t bytes = checkedMul(count, static_cast<int64_t>(itemBytes));
    return out.room(static_cast<size_t>(bytes) + slack);
}

}  // namespace

// Item i is the date of the start shifted by i days. Those times grow with
// i, so when the last one is a timestamp every one is, and when it is not,
// the error it raises is the one the first failing item would raise. After
// that check the dates come from a running year, month and day, which give
// the same dates as breaking down each shifted time.
const char* printDayRun(const DayRun& run) {
    const int64_t count = run.count;
    if (count == 0) return "";
    // A year has at least 365 days; no date of the span has more than 13
    // bytes of year text.
    const size_t yearBytes = std::min<size_t>(yearWidthBound(run.startYear, count / 365 + 1), 13);
    // Each item starts with a 24-byte block copy of its "year-MM-": room for
    // the overrun.
    TextBuilder out;
    char* p = roomForItems(out, count, yearBytes + sizeof("-MM-DD,") - 1, 24);
    ntAddTime(run.start, initDuration(count - 1));
    const CivilDate first = fromEpochDay(floorDiv(run.start.seconds, kSecondsPerDay));
    int64_t y = first.year;
    uint8_t m = first.month;
    int64_t day = first.monthday;
    for (int64_t left = count; left > 0;) {
        // "year-MM-" of this month, kept in registers as three words (stores
        // through p may alias any memory, so a buffer would be read again for
        // every item), then "DD," for each day of the month in the run.
        char prefix[24] = {};
        char* q = writeInt(prefix, y);
        *q++ = '-';
        q = writeTwoDigitField(q, m);
        *q++ = '-';
        const size_t prefixLen = static_cast<size_t>(q - prefix);
        uint64_t w0, w1, w2;
        std::memcpy(&w0, prefix, 8);
        std::memcpy(&w1, prefix + 8, 8);
        std::memcpy(&w2, prefix + 16, 8);
        const int64_t monthLength = getDaysInMonth(m, y);
        const int64_t days = std::min(monthLength - day + 1, left);
        const int64_t last = day + days;
        const auto writeDays = [&](size_t len, auto writePrefix) {
            for (; day < last; ++day) {
                const uint32_t dayComma = static_cast<uint32_t>(digitPair(static_cast<uint64_t>(day))) | ',' << 16;
                writePrefix(p);
                std::memcpy(p + len, &dayComma, 4);
                p += len + 3;
            }
        };
        if (prefixLen == 8) {  // a four-digit year: one word
            writeDays(8, [&](char* at) { std::memcpy(at, &w0, 8); });
        } else {
            writeDays(prefixLen, [&](char* at) {
                std::memcpy(at, &w0, 8);
                std::memcpy(at + 8, &w1, 8);
                std::memcpy(at + 16, &w2, 8);
            });
        }
        left -= days;
        if (day > monthLength) {
            day = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
    out.commit(p - 1);  // without the last separator
    return out.finish();
}

// The month steps after each item, so a month or year that cannot step
// fails even after the last item.
const char* printMonthRun(const MonthRun& run) {
    const int64_t count = run.count;  // a local, as in printDayRun
    if (count == 0) return "";
    // The year grows at most once per 12 items after the first; the month
    // text is widest at the start or at two digits.
    const size_t yearBytes = yearWidthBound(run.year, count / 12 + 1);
    const size_t monthBytes = std::max<size_t>(decimalLength(run.month) + (run.month < 0 ? 1 : 0), 2);
    TextBuilder out;
    char* p = roomForItems(out, count, yearBytes + monthBytes + 2);
    int64_t y = run.year;
    int64_t m = run.month;
    for (int64_t i = 0; i < count; ++i) {
        p = writeInt(p, y);
        *p++ = '-';
        p = writeTwoDigitField(p, m);
        *p++ = ',';
        m = checkedAdd(m, 1);
        if (m > 12) {
            y = checkedAdd(y, 1);
            m = 1;
        }
    }
    out.commit(p - 1);  // without the last separator
    return out.finish();
}

}  // namespace karpa
