#include "datetime/ranges.hpp"

#include <algorithm>
#include <cstring>

#include "datetime/dates.hpp"
#include "frame/textcodec.hpp"

namespace karpa {
namespace {

// Bytes of the decimal text of a year between `first` and first + steps
// (steps >= 0): years only grow, so the widest is at one of the two ends.
size_t yearWidthBound(int64_t first, int64_t steps) {
    int64_t last;
    if (__builtin_add_overflow(first, steps, &last)) last = INT64_MAX;
    return std::max(decimalLength(first), decimalLength(last));
}

// Room for count items of at most itemBytes each (separators included), in
// one reservation, with `slack` more bytes for block copies. A size beyond the 64-bit range raises OverflowDefect; one
// beyond the memory available ends in the out-of-memory path.
TextBuilder reserveItems(int64_t count, size_t itemBytes, size_t slack = 0) {
    TextBuilder out;
    const int64_t bytes = checkedMul(count, static_cast<int64_t>(itemBytes));
    out.reserve(static_cast<size_t>(bytes) + slack);
    return out;
}

// The dates of count consecutive days from `start`. Item i is computed from
// the start and its own offset, so an error is never carried along; only the
// year's text is kept from one item to the next while the year stays.
const char* dayRun(Time start, int64_t startYear, int64_t count) {
    if (count == 0) return "";
    // A year has at least 365 days; no date of the span has more than 13
    // bytes of year text.
    const size_t yearBytes = std::min<size_t>(yearWidthBound(startYear, count / 365 + 1), 13);
    // The year text is copied as one 16-byte block: room for the overrun.
    TextBuilder out = reserveItems(count, yearBytes + sizeof("-MM-DD,") - 1, 16);
    const Timezone& zone = utc();
    char yearText[16] = {};
    size_t yearLen = 0;
    int64_t textYear = 0;
    char* p = out.data;
    for (int64_t i = 0; i < count; ++i) {
        const DateTime dt = initDateTime(zonedTimeFromTime(zone, ntAddTime(start, initDuration(i))), zone);
        if (year(dt) != textYear || yearLen == 0) [[unlikely]] {
            textYear = year(dt);
            yearLen = static_cast<size_t>(writeInt(yearText, textYear) - yearText);
            yearText[yearLen++] = '-';
        }
        std::memcpy(p, yearText, sizeof yearText);
        p += yearLen;
        p = writeTwoDigitField(p, month(dt));
        *p++ = '-';
        p = writeTwoDigitField(p, monthday(dt));
        *p++ = ',';
    }
    out.len = static_cast<size_t>(p - out.data) - 1;  // without the last separator
    return out.finish();
}

}  // namespace

const char* rangeDaysImpl(int64_t year, int64_t month, int64_t monthday, int64_t count) {
    const Time start = toTime(checkedDate(year, month, monthday));
    if (count < 0) raiseNegativeSize(count);
    return dayRun(start, year, count);
}

const char* rangeDaysBetweenImpl(int64_t year1, int64_t month1, int64_t monthday1, int64_t year2,
                                 int64_t month2, int64_t monthday2) {
    const int64_t n = daysBetweenImpl(year1, month1, monthday1, year2, month2, monthday2);
    const int64_t count = checkedAdd(n, 1);
    if (count <= 0) return "";
    return dayRun(toTime(checkedDate(year1, month1, monthday1)), year1, count);
}

const char* rangeMonthsImpl(int64_t year, int64_t month, int64_t count) {
    if (count < 0) raiseNegativeSize(count);
    if (count == 0) return "";
    // The year grows at most once per 12 items after the first; the month
    // text is widest at the start or at two digits.
    const size_t yearBytes = yearWidthBound(year, count / 12 + 1);
    const size_t monthBytes = std::max<size_t>(decimalLength(month) + (month < 0 ? 1 : 0), 2);
    TextBuilder out = reserveItems(count, yearBytes + monthBytes + 2);
    char* p = out.data;
    int64_t y = year;
    int64_t m = month;
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
    out.len = static_cast<size_t>(p - out.data) - 1;
    return out.finish();
}

}  // namespace karpa
