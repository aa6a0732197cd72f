// Runs of days and months as one comma-joined text.
#pragma once

#include <cstdint>

#include "datetime/calendar.hpp"

namespace karpa {

// count dates from the given one, one day apart.
const char* rangeDaysImpl(int64_t year, int64_t month, int64_t monthday, int64_t count);
// Every date from the first to the second, both included; "" when the second
// lies before the first.
const char* rangeDaysBetweenImpl(int64_t year1, int64_t month1, int64_t monthday1, int64_t year2,
                                 int64_t month2, int64_t monthday2);
// count months from the given one as "year-MM"; the start is taken unchecked.
const char* rangeMonthsImpl(int64_t year, int64_t month, int64_t count);

}  // namespace karpa
