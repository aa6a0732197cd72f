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
    // The year text is copied as one 16-byte block: room for the overrun.
    TextBuilder out;
    char* p = roomForItems(out, count, yearBytes + sizeof("-MM-DD,") - 1, 16);
    ntAddTime(run.start, initDuration(count - 1));
    const CivilDate first = fromEpochDay(floorDiv(run.start.seconds, kSecondsPerDay));
    int64_t y = first.year;
    uint8_t m = first.month;
    int64_t day = first.monthday;
    int64_t monthLength = getDaysInMonth(m, y);
    // The year and its '-', copied into every item while the year stays.
    char yearText[16] = {};
    size_t yearLen = 0;
    const auto setYear = [&] {
        yearLen = static_cast<size_t>(writeInt(yearText, y) - yearText);
        yearText[yearLen++] = '-';
    };
    setYear();
    for (int64_t i = 0; i < count; ++i) {
        std::memcpy(p, yearText, sizeof yearText);
        p += yearLen;
        p = writeTwoDigitField(p, m);
        *p++ = '-';
        p = writeTwoDigitField(p, day);
        *p++ = ',';
        if (++day > monthLength) [[unlikely]] {
            day = 1;
            if (++m > 12) {
                m = 1;
                ++y;
                setYear();
            }
            monthLength = getDaysInMonth(m, y);
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
