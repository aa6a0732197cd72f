// The calendar core against two oracles: the std::chrono calendar over its
// whole year range, and a closed-form model in 128-bit arithmetic (leap years
// counted by ceiling divisions, months walked one by one) over the rest of
// the 64-bit span.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <thread>

#include "datetime/civil.hpp"
#include "datetime/datetext.hpp"
#include "datetime/records.hpp"
#include "frame/error.hpp"

namespace {

using namespace karpa;
using i128 = __int128;
namespace chr = std::chrono;

constexpr int64_t kMinTimestamp = -9223372036854720000;
constexpr int64_t kMinSpanYear = -292277022657;
constexpr int64_t kMaxSpanYear = 292277026596;

// Runs `body`, which must raise; gives the error it left as current.
template <class Body>
ErrorRecord raisedBy(Body body) {
    clearFailure();
    try {
        body();
    } catch (const Unwind&) {
        EXPECT_TRUE(failureFlag());
        const ErrorRecord* error = currentError();
        if (error != nullptr) {
            ErrorRecord copy = *error;
            clearFailure();
            return copy;
        }
    }
    ADD_FAILURE() << "nothing was raised";
    return {};
}

template <class Body>
void expectOverflow(Body body) {
    const ErrorRecord error = raisedBy(body);
    EXPECT_EQ(error.kind, ErrorKind::OverflowDefect);
    EXPECT_EQ(error.message, "over- or underflow");
}

// ---- The closed-form model ------------------------------------------------

i128 floorDiv128(i128 a, i128 b) { return a / b - ((a % b != 0 && ((a < 0) != (b < 0))) ? 1 : 0); }
i128 ceilDiv128(i128 a, i128 b) { return -floorDiv128(-a, b); }

bool modelLeap(i128 y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int modelMonthLength(int month, i128 y) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && modelLeap(y) ? 29 : lengths[month - 1];
}

// Days from 0000-01-01 to y-01-01: 365 a year plus the leap years in [0, y),
// counted negatively for y < 0.
i128 daysBeforeYear(i128 y) { return 365 * y + ceilDiv128(y, 4) - ceilDiv128(y, 100) + ceilDiv128(y, 400); }

constexpr i128 kDaysTo1970 = 719528;

i128 modelDayNumber(i128 y, int month, int monthday) {
    i128 days = daysBeforeYear(y);
    for (int m = 1; m < month; ++m) days += modelMonthLength(m, y);
    return days + monthday - 1 - kDaysTo1970;
}

struct ModelDate {
    i128 year;
    int month;
    int monthday;
};

ModelDate modelDate(i128 day) {
    const i128 fromYear0 = day + kDaysTo1970;
    i128 y = floorDiv128(fromYear0 * 400, 146097);
    while (daysBeforeYear(y) > fromYear0) --y;
    while (daysBeforeYear(y + 1) <= fromYear0) ++y;
    i128 left = fromYear0 - daysBeforeYear(y);
    int month = 1;
    while (left >= modelMonthLength(month, y)) left -= modelMonthLength(month++, y);
    return {y, month, static_cast<int>(left) + 1};
}

// Day 0 was a Thursday; Monday = 0.
int modelWeekday(i128 day) { return static_cast<int>(day + 3 - floorDiv128(day + 3, 7) * 7); }

std::string text(i128 v) {
    if (v == 0) return "0";
    std::string s;
    const bool negative = v < 0;
    while (v != 0) {
        const int digit = static_cast<int>(v % 10);
        s.insert(s.begin(), static_cast<char>('0' + (digit < 0 ? -digit : digit)));
        v /= 10;
    }
    return negative ? "-" + s : s;
}

void expectDate(const CivilDate& got, const ModelDate& want, const std::string& where) {
    EXPECT_EQ(text(got.year), text(want.year)) << where;
    EXPECT_EQ(got.month, want.month) << where;
    EXPECT_EQ(got.monthday, want.monthday) << where;
}

// ---- Against std::chrono over -32767 .. 32767 ------------------------------

TEST(CalendarChrono, EveryDayOfTheChronoRange) {
    const chr::sys_days first = chr::year{-32767} / chr::January / 1;
    const chr::sys_days last = chr::year{32767} / chr::December / 31;
    for (chr::sys_days d = first; d <= last; d += chr::days{1}) {
        const chr::year_month_day ymd{d};
        const int64_t y = static_cast<int>(ymd.year());
        const uint8_t m = static_cast<uint8_t>(static_cast<unsigned>(ymd.month()));
        const int64_t md = static_cast<unsigned>(ymd.day());
        const int64_t day = d.time_since_epoch().count();
        const CivilDate c = fromEpochDay(day);
        const uint8_t wd = static_cast<uint8_t>((chr::weekday{d}.c_encoding() + 6) % 7);
        const int64_t yd = (d - chr::sys_days{ymd.year() / chr::January / 1}).count();
        if (c.year != y || c.month != m || c.monthday != md || toEpochDay(md, m, y) != day ||
            getDayOfWeek(md, m, y) != wd || getDayOfYear(md, m, y) != yd) {
            FAIL() << "day " << day << ": chrono " << y << "-" << int(m) << "-" << md << " weekday " << int(wd)
                   << " yearday " << yd << "; got " << c.year << "-" << int(c.month) << "-" << c.monthday
                   << " day " << toEpochDay(md, m, y) << " weekday " << int(getDayOfWeek(md, m, y))
                   << " yearday " << getDayOfYear(md, m, y);
        }
    }
}

TEST(CalendarChrono, LeapYearsAndMonthLengths) {
    for (int y = -32767; y <= 32767; ++y) {
        ASSERT_EQ(isLeapYear(y), chr::year{y}.is_leap()) << y;
        for (unsigned m = 1; m <= 12; ++m) {
            ASSERT_EQ(getDaysInMonth(static_cast<uint8_t>(m), y),
                      static_cast<unsigned>((chr::year{y} / chr::month{m} / chr::last).day()))
                << y << "-" << m;
        }
    }
}

// ---- Against the model over the 64-bit span --------------------------------

TEST(CalendarModel, ModelAgreesWithKnownDays) {
    EXPECT_EQ(text(modelDayNumber(1970, 1, 1)), "0");
    EXPECT_EQ(text(modelDayNumber(0, 1, 1)), "-719528");
    EXPECT_EQ(text(modelDayNumber(1, 1, 1)), "-719162");
    EXPECT_EQ(modelWeekday(0), 3);
}

TEST(CalendarModel, RandomDatesOfTheTimestampSpan) {
    std::mt19937_64 rng(1);
    std::uniform_int_distribution<int64_t> years(kMinSpanYear, kMaxSpanYear);
    std::uniform_int_distribution<int> months(1, 12);
    for (int i = 0; i < 300000; ++i) {
        const int64_t y = years(rng);
        const int m = months(rng);
        const int md = std::uniform_int_distribution<int>(1, modelMonthLength(m, y))(rng);
        const i128 want = modelDayNumber(y, m, md);
        ASSERT_EQ(text(toEpochDay(md, static_cast<uint8_t>(m), y)), text(want)) << y << "-" << m << "-" << md;
        ASSERT_EQ(getDayOfWeek(md, static_cast<uint8_t>(m), y), modelWeekday(want));
        ASSERT_EQ(text(getDayOfYear(md, static_cast<uint8_t>(m), y)), text(want - modelDayNumber(y, 1, 1)));
        ASSERT_EQ(isLeapYear(y), modelLeap(y)) << y;
    }
}

// toEpochDay either agrees with the model or, when its arithmetic leaves the
// 64-bit range, raises OverflowDefect; far from the limits it always agrees.
TEST(CalendarModel, RandomYearsOfTheWholeRange) {
    std::mt19937_64 rng(2);
    int agreed = 0;
    for (int i = 0; i < 200000; ++i) {
        const int64_t y = static_cast<int64_t>(rng());
        const int m = std::uniform_int_distribution<int>(1, 12)(rng);
        const int md = std::uniform_int_distribution<int>(1, modelMonthLength(m, y))(rng);
        const i128 want = modelDayNumber(y, m, md);
        const bool fits = want >= INT64_MIN + i128(2) * 146097 && want <= INT64_MAX - 719468;
        const bool outside = want < INT64_MIN || want > INT64_MAX;
        clearFailure();
        try {
            const int64_t got = toEpochDay(md, static_cast<uint8_t>(m), y);
            ASSERT_FALSE(outside) << y;
            ASSERT_EQ(text(got), text(want)) << y << "-" << m << "-" << md;
            ++agreed;
        } catch (const Unwind&) {
            ASSERT_FALSE(fits) << y << "-" << m << "-" << md;
            ASSERT_EQ(currentError()->kind, ErrorKind::OverflowDefect);
        }
    }
    EXPECT_GT(agreed, 0);
}

TEST(CalendarModel, RandomDayNumbersOfTheWholeDomain) {
    // fromEpochDay takes every day number but the last 719468, where the shift
    // to March of year 0 leaves the range.
    const int64_t lowest = INT64_MIN;
    const int64_t highest = INT64_MAX - 719468;
    std::mt19937_64 rng(3);
    std::uniform_int_distribution<int64_t> days(lowest, highest);
    for (int i = 0; i < 300000; ++i) {
        const int64_t day = i < 1000 ? (i % 2 ? lowest + i : highest - i) : days(rng);
        const CivilDate c = fromEpochDay(day);
        expectDate(c, modelDate(day), "day " + std::to_string(day));
        ASSERT_EQ(toEpochDay(c.monthday, c.month, c.year), day);
        if (HasFailure()) return;
    }
    expectOverflow([&] { fromEpochDay(highest + 1); });
    expectOverflow([] { fromEpochDay(INT64_MAX); });
}

// fromEpochDay steps through consecutive dates and toEpochDay undoes it.
void expectConsecutiveRun(int64_t firstDay, int64_t count) {
    CivilDate previous = fromEpochDay(firstDay - 1);
    for (int64_t day = firstDay; day < firstDay + count; ++day) {
        const CivilDate c = fromEpochDay(day);
        const bool nextDay = c.year == previous.year && c.month == previous.month && c.monthday == previous.monthday + 1;
        const bool nextMonth = c.monthday == 1 && previous.monthday == getDaysInMonth(previous.month, previous.year) &&
                               ((c.year == previous.year && c.month == previous.month + 1) ||
                                (c.year == previous.year + 1 && c.month == 1 && previous.month == 12));
        if (!(nextDay || nextMonth) || toEpochDay(c.monthday, c.month, c.year) != day) {
            FAIL() << "day " << day << ": " << c.year << "-" << int(c.month) << "-" << c.monthday << " after "
                   << previous.year << "-" << int(previous.month) << "-" << previous.monthday;
        }
        previous = c;
    }
}

// The 32-bit calendar of the timestamp exports, on every day it serves,
// against the general one.
TEST(CalendarModel, NearDaysMatchTheGeneralCalendar) {
    for (int64_t day = -kNearDays; day <= kNearDays; ++day) {
        const CivilDate near = fromEpochDayNear(day);
        const CivilDate general = fromEpochDay(day);
        if (near.year != general.year || near.month != general.month || near.monthday != general.monthday) {
            FAIL() << "day " << day;
        }
    }
}

// The timestamp texts' short cut on every near day and the two beyond, a
// different second of the day each, against the general calendar: the same
// text where the year has four digits, declined everywhere else.
TEST(CalendarTimestamps, UsualStampsMatchTheGeneralCalendar) {
    const auto put2 = [](char* p, int64_t v) {
        p[0] = char('0' + v / 10);
        p[1] = char('0' + v % 10);
    };
    for (int64_t day = -kNearDays - 1; day <= kNearDays + 1; ++day) {
        const int64_t secondOfDay = (day * 7919 % 86400 + 86400) % 86400;
        const int64_t ts = day * 86400 + secondOfDay;
        UsualStamp stamp;
        const bool usual = usualStamp(ts, stamp);
        const CivilDate date = fromEpochDay(day);
        const bool wantUsual = day >= -kNearDays && day <= kNearDays && date.year >= 1000 && date.year <= 9999;
        if (usual != wantUsual) FAIL() << "timestamp " << ts << " usual " << usual;
        if (!usual) continue;
        char want[20] = "YYYY-MM-DD HH:MM:SS";
        put2(want, date.year / 100);
        put2(want + 2, date.year % 100);
        put2(want + 5, date.month);
        put2(want + 8, date.monthday);
        put2(want + 11, secondOfDay / 3600);
        put2(want + 14, secondOfDay % 3600 / 60);
        put2(want + 17, secondOfDay % 60);
        char got[20];
        const uint64_t dayHourMinute = stamp.monthday | hourMinuteBytes(stamp.secondOfDay);
        const uint32_t secondEnd = secondEndWord(stamp.secondOfDay);
        std::memcpy(got, &stamp.yearMonth, 8);
        std::memcpy(got + 8, &dayHourMinute, 8);
        std::memcpy(got + 16, &secondEnd, 4);
        if (std::memcmp(got, want, 20) != 0) FAIL() << "timestamp " << ts << ": " << got << " != " << want;
    }
    UsualStamp stamp;
    EXPECT_FALSE(usualStamp(INT64_MIN, stamp));
    EXPECT_FALSE(usualStamp(INT64_MAX, stamp));
}

TEST(CalendarModel, ConsecutiveDaysAroundTheEpoch) {
    // 300,000 years, 150,000 on each side of 1970.
    expectConsecutiveRun(-54786375, 109572750);
}

TEST(CalendarModel, ConsecutiveDaysAtTheEndsOfTheSpan) {
    const int64_t lastDay = 106751991167300;  // 292277026596-12-04
    expectConsecutiveRun(-lastDay, 5000000);
    expectConsecutiveRun(lastDay - 5000000 + 1, 5000000);
    expectConsecutiveRun(INT64_MAX - 719468 - 2000000, 2000000);
    expectConsecutiveRun(INT64_MIN + 1, 2000000);
}

// ---- Timestamps -------------------------------------------------------------

void expectBreakdown(int64_t ts) {
    const i128 day = floorDiv128(ts, 86400);
    const i128 tod = ts - day * 86400;
    const ModelDate want = modelDate(day);
    const DateTime dt = utc(fromUnix(ts));
    const std::string where = "timestamp " + std::to_string(ts);
    ASSERT_EQ(text(year(dt)), text(want.year)) << where;
    ASSERT_EQ(month(dt), want.month) << where;
    ASSERT_EQ(monthday(dt), want.monthday) << where;
    ASSERT_EQ(hour(dt), static_cast<int64_t>(tod / 3600)) << where;
    ASSERT_EQ(minute(dt), static_cast<int64_t>(tod % 3600 / 60)) << where;
    ASSERT_EQ(second(dt), static_cast<int64_t>(tod % 60)) << where;
    ASSERT_EQ(weekday(dt), modelWeekday(day)) << where;
    ASSERT_EQ(text(dt.yearday), text(day - modelDayNumber(want.year, 1, 1))) << where;
    ASSERT_EQ(dt.nanosecond, 0);
    ASSERT_FALSE(dt.isDst);
    ASSERT_EQ(dt.utcOffset, 0);
    ASSERT_EQ(dt.zone, &utc());
    // The timestamp exports' lean breakdown gives the record's printed fields.
    const UtcDayTime lean = utcDayTime(ts);
    ASSERT_EQ(text(lean.date.year), text(year(dt))) << where;
    ASSERT_EQ(lean.date.month, month(dt)) << where;
    ASSERT_EQ(lean.date.monthday, monthday(dt)) << where;
    ASSERT_EQ(lean.secondOfDay, hour(dt) * 3600 + minute(dt) * 60 + second(dt)) << where;
    // Back again, through the record and through dateTime.
    ASSERT_EQ(toUnix(toTime(dt)), ts) << where;
    const DateTime again = dateTime(year(dt), month(dt), monthday(dt), hour(dt), minute(dt), second(dt), 0, utc());
    ASSERT_EQ(toUnix(toTime(again)), ts) << where;
    ASSERT_EQ(again.weekday, dt.weekday);
    ASSERT_EQ(again.yearday, dt.yearday);
}

TEST(CalendarTimestamps, RandomTimestampsOfTheWholeRange) {
    std::mt19937_64 rng(4);
    std::uniform_int_distribution<int64_t> stamps(kMinTimestamp, INT64_MAX);
    for (int i = 0; i < 300000; ++i) {
        expectBreakdown(stamps(rng));
        if (HasFailure()) return;
    }
}

TEST(CalendarTimestamps, EdgesOfTheRange) {
    for (int64_t k = 0; k < 200000; ++k) {
        expectBreakdown(kMinTimestamp + k);
        expectBreakdown(INT64_MAX - k);
        expectBreakdown(k - 100000);
        if (HasFailure()) return;
    }
}

TEST(CalendarTimestamps, AgainstChrono) {
    std::mt19937_64 rng(5);
    const chr::sys_days lowDay = chr::year{-32767} / chr::January / 1;
    const chr::sys_days highDay = chr::year{32767} / chr::December / 31;
    const int64_t lo = chr::sys_seconds{lowDay}.time_since_epoch().count();
    const int64_t hi = chr::sys_seconds{highDay}.time_since_epoch().count() + 86399;
    std::uniform_int_distribution<int64_t> stamps(lo, hi);
    for (int i = 0; i < 300000; ++i) {
        const int64_t ts = stamps(rng);
        const chr::sys_seconds s{chr::seconds{ts}};
        const chr::sys_days d = chr::floor<chr::days>(s);
        const chr::year_month_day ymd{d};
        const chr::hh_mm_ss<chr::seconds> tod{s - d};
        const DateTime dt = utc(fromUnix(ts));
        ASSERT_EQ(year(dt), static_cast<int>(ymd.year())) << ts;
        ASSERT_EQ(month(dt), static_cast<unsigned>(ymd.month())) << ts;
        ASSERT_EQ(monthday(dt), static_cast<unsigned>(ymd.day())) << ts;
        ASSERT_EQ(hour(dt), tod.hours().count()) << ts;
        ASSERT_EQ(minute(dt), tod.minutes().count()) << ts;
        ASSERT_EQ(second(dt), tod.seconds().count()) << ts;
        ASSERT_EQ(weekday(dt), (chr::weekday{d}.c_encoding() + 6) % 7) << ts;
    }
}

struct Broken {
    int64_t timestamp, year, month, monthday, hour, minute, second;
};

TEST(CalendarTimestamps, KnownBreakdowns) {
    const Broken cases[] = {
        {0, 1970, 1, 1, 0, 0, 0},
        {-1, 1969, 12, 31, 23, 59, 59},
        {-86400, 1969, 12, 31, 0, 0, 0},
        {-86401, 1969, 12, 30, 23, 59, 59},
        {951782400, 2000, 2, 29, 0, 0, 0},
        {INT64_MAX, 292277026596, 12, 4, 15, 30, 7},
        {kMinTimestamp, -292277022657, 1, 28, 0, 0, 0},
    };
    for (const Broken& c : cases) {
        const DateTime dt = utc(fromUnix(c.timestamp));
        EXPECT_EQ(year(dt), c.year) << c.timestamp;
        EXPECT_EQ(month(dt), c.month) << c.timestamp;
        EXPECT_EQ(monthday(dt), c.monthday) << c.timestamp;
        EXPECT_EQ(hour(dt), c.hour) << c.timestamp;
        EXPECT_EQ(minute(dt), c.minute) << c.timestamp;
        EXPECT_EQ(second(dt), c.second) << c.timestamp;
    }
}

TEST(CalendarTimestamps, FirstValuesPastTheLimits) {
    expectOverflow([] { utc(fromUnix(kMinTimestamp - 1)); });
    expectOverflow([] { utc(fromUnix(INT64_MIN)); });
    expectOverflow([] { utcDayTime(kMinTimestamp - 1); });
    expectOverflow([] { utcDayTime(INT64_MIN); });
    // Exactly the 55808 smallest timestamps fail.
    EXPECT_EQ(kMinTimestamp - 1 - INT64_MIN + 1, 55808);

    const DateTime last = dateTime(kMaxSpanYear, 12, 4, 0, 0, 0, 0, utc());
    EXPECT_EQ(toUnix(toTime(last)), 9223372036854720000);
    const DateTime first = dateTime(kMinSpanYear, 1, 28, 0, 0, 0, 0, utc());
    EXPECT_EQ(toUnix(toTime(first)), kMinTimestamp);
    EXPECT_EQ(first.weekday, modelWeekday(modelDayNumber(kMinSpanYear, 1, 28)));
    expectOverflow([] { dateTime(kMaxSpanYear, 12, 5, 0, 0, 0, 0, utc()); });
    expectOverflow([] { dateTime(kMinSpanYear, 1, 27, 0, 0, 0, 0, utc()); });
    expectOverflow([] { dateTime(INT64_MAX, 12, 31, 0, 0, 0, 0, utc()); });
    expectOverflow([] { dateTime(INT64_MIN, 1, 1, 0, 0, 0, 0, utc()); });
    // The time of day of the last day still fits up to the largest timestamp.
    EXPECT_EQ(toUnix(toTime(dateTime(kMaxSpanYear, 12, 4, 15, 30, 7, 0, utc()))), INT64_MAX);
    expectOverflow([] { dateTime(kMaxSpanYear, 12, 4, 15, 30, 8, 0, utc()); });
}

// ---- Single procedures ------------------------------------------------------

struct DayCase {
    int64_t year, month, monthday, day;
    uint8_t weekday;
};

TEST(CalendarCore, KnownDays) {
    const DayCase cases[] = {
        {1970, 1, 1, 0, Thursday},         {2000, 1, 1, 10957, Saturday}, {1, 1, 1, -719162, Monday},
        {0, 2, 29, -719469, Tuesday},      {0, 3, 1, -719468, Wednesday}, {0, 1, 1, -719528, Saturday},
        {-1, 12, 31, -719529, Friday},     {2000, 2, 29, 11016, Tuesday},
    };
    for (const DayCase& c : cases) {
        const uint8_t m = static_cast<uint8_t>(c.month);
        EXPECT_EQ(toEpochDay(c.monthday, m, c.year), c.day) << c.year << "-" << c.month << "-" << c.monthday;
        EXPECT_EQ(getDayOfWeek(c.monthday, m, c.year), c.weekday) << c.year;
        const CivilDate back = fromEpochDay(c.day);
        EXPECT_EQ(back.year, c.year);
        EXPECT_EQ(back.month, c.month);
        EXPECT_EQ(back.monthday, c.monthday);
    }
    EXPECT_EQ(getDayOfYear(31, 12, 2023), 364);
    EXPECT_EQ(getDayOfYear(31, 12, 2024), 365);
    EXPECT_EQ(getDayOfYear(1, 3, 2024), 60);
}

TEST(CalendarCore, LeapYears) {
    const int64_t leap[] = {0, -4, -400, 4, 2000, 2024, 400, INT64_MIN, -9223372036854775600};
    const int64_t common[] = {-1, -100, 1900, 2023, 100, INT64_MAX, -9223372036854775700};
    for (const int64_t y : leap) EXPECT_TRUE(isLeapYear(y)) << y;
    for (const int64_t y : common) EXPECT_FALSE(isLeapYear(y)) << y;
}

TEST(CalendarCore, FloorDivision) {
    struct Case { int64_t a, b, q; };
    const Case cases[] = {{-3, 7, -1},        {-86400, 86400, -1}, {-86401, 86400, -2}, {0, 7, 0},
                          {6, 7, 0},          {7, 7, 1},           {-7, 7, -1},         {-8, 7, -2},
                          {INT64_MIN, 86400, -106751991167301},    {INT64_MAX, 86400, 106751991167300},
                          {5, -2, -3},        {-5, -2, 2},         {INT64_MAX, -1, -INT64_MAX}};
    for (const Case& c : cases) EXPECT_EQ(floorDiv(c.a, c.b), c.q) << c.a << " / " << c.b;
    expectOverflow([] { floorDiv(INT64_MIN, -1); });
}

TEST(CalendarCore, Normalize) {
    struct Case { int64_t s, ns, wantS, wantNs; };
    const Case cases[] = {{5, -1, 4, 999999999},           {0, 1500000000, 1, 500000000},
                          {0, -1500000000, -2, 500000000}, {3, 999999999, 3, 999999999},
                          {-1, -1000000000, -2, 0},        {INT64_MAX, 999999999, INT64_MAX, 999999999}};
    for (const Case& c : cases) {
        const Time t = normalize(c.s, c.ns);
        EXPECT_EQ(t.seconds, c.wantS) << c.s << " " << c.ns;
        EXPECT_EQ(t.nanosecond, c.wantNs) << c.s << " " << c.ns;
    }
    expectOverflow([] { normalize(INT64_MAX, 1000000000); });
    expectOverflow([] { normalize(INT64_MIN, -1); });
}

TEST(CalendarCore, DurationsAndShifts) {
    EXPECT_EQ(initDuration(2).seconds, 172800);
    EXPECT_EQ(initDuration(-1).seconds, -86400);
    EXPECT_EQ(initDuration(0).nanosecond, 0);
    expectOverflow([] { initDuration(106751991167301); });
    const Time t = ntAddTime({10, 600000000}, {5, 700000000});
    EXPECT_EQ(t.seconds, 16);
    EXPECT_EQ(t.nanosecond, 300000000);
    expectOverflow([] { ntAddTime({INT64_MAX, 0}, {1, 0}); });
    EXPECT_EQ(toUnix(fromUnix(-5)), -5);
    EXPECT_EQ(fromUnix(-5).nanosecond, 0);
}

TEST(CalendarCore, NanosecondsAreCarriedButNotPrinted) {
    const DateTime dt = dateTime(2024, 3, 1, 12, 0, 0, 1500000000, utc());
    EXPECT_EQ(second(dt), 1);
    EXPECT_EQ(dt.nanosecond, 500000000);
    EXPECT_EQ(toTime(dt).nanosecond, 500000000);
}

TEST(CalendarErrors, InvalidDateMessage) {
    struct Case { int64_t year; uint8_t month; int64_t monthday; const char* date; };
    const Case cases[] = {{1900, 2, 29, "1900-02-29"},
                          {2023, 2, 29, "2023-02-29"},
                          {2024, 4, 31, "2024-04-31"},
                          {-1, 2, 30, "-1-02-30"},
                          {2024, 12, 32, "2024-12-32"},
                          {INT64_MIN, 11, INT64_MAX, "-9223372036854775808-11-9223372036854775807"}};
    for (const Case& c : cases) {
        const std::string want =
            std::string("times(486, 3) `monthday <= getDaysInMonth(month, year)` ") + c.date + " is not a valid date";
        for (int which = 0; which < 4; ++which) {
            const ErrorRecord error = raisedBy([&] {
                switch (which) {
                    case 0: toEpochDay(c.monthday, c.month, c.year); break;
                    case 1: getDayOfWeek(c.monthday, c.month, c.year); break;
                    case 2: getDayOfYear(c.monthday, c.month, c.year); break;
                    default: dateTime(c.year, c.month, c.monthday, 0, 0, 0, 0, utc()); break;
                }
            });
            EXPECT_EQ(error.kind, ErrorKind::AssertionDefect);
            EXPECT_EQ(error.message, want);
        }
    }
}

TEST(CalendarErrors, UninitialisedRecord) {
    const DateTime blank;
    struct Case { const char* position; void (*read)(const DateTime&); };
    const Case cases[] = {
        {"times(1068, 28)", [](const DateTime& dt) { second(dt); }},
        {"times(1074, 28)", [](const DateTime& dt) { minute(dt); }},
        {"times(1080, 28)", [](const DateTime& dt) { hour(dt); }},
        {"times(1085, 28)", [](const DateTime& dt) { monthday(dt); }},
        {"times(1092, 28)", [](const DateTime& dt) { month(dt); }},
        {"times(1100, 28)", [](const DateTime& dt) { year(dt); }},
        {"times(1106, 28)", [](const DateTime& dt) { weekday(dt); }},
        {"times(1163, 3)", [](const DateTime& dt) { toTime(dt); }},
    };
    for (const Case& c : cases) {
        const ErrorRecord error = raisedBy([&] { c.read(blank); });
        EXPECT_EQ(error.kind, ErrorKind::AssertionDefect);
        EXPECT_EQ(error.message, std::string(c.position) + " `dt.monthdayZero != 0` Uninitialized datetime");
    }
}

TEST(CalendarText, TwoDigitField) {
    struct Case { int64_t value; const char* text; };
    const Case cases[] = {{7, "07"},   {12, "12"}, {123, "123"}, {0, "00"}, {-3, "-03"}, {-10, "-10"},
                          {-123, "-123"}, {99, "99"}, {100, "100"}, {INT64_MAX, "9223372036854775807"},
                          {INT64_MIN + 1, "-9223372036854775807"}};
    for (const Case& c : cases) {
        char buffer[kMaxIntText];
        EXPECT_EQ(std::string(buffer, writeTwoDigitField(buffer, c.value)), c.text);
    }
    expectOverflow([] {
        char buffer[kMaxIntText];
        writeTwoDigitField(buffer, INT64_MIN);
    });
}

TEST(CalendarText, DateText) {
    char buffer[kMaxDateText];
    auto date = [&](int64_t y, int64_t m, int64_t d) { return std::string(buffer, writeDate(buffer, y, m, d)); };
    EXPECT_EQ(date(2024, 3, 5), "2024-03-05");
    EXPECT_EQ(date(5, 1, 1), "5-01-01");
    EXPECT_EQ(date(0, 12, 31), "0-12-31");
    EXPECT_EQ(date(-1, 12, 31), "-1-12-31");
    EXPECT_EQ(date(292277026596, 12, 4), "292277026596-12-04");
    EXPECT_EQ(date(2024, 5, -3), "2024-05--03");
    EXPECT_EQ(date(INT64_MIN, INT64_MAX, INT64_MIN + 1),
              "-9223372036854775808-9223372036854775807--9223372036854775807");
    // The four-digit years take their own path: the same text as writeInt's.
    for (const int64_t y : {int64_t(-10000), int64_t(-1000), int64_t(999), int64_t(1000), int64_t(1009),
                            int64_t(1970), int64_t(9999), int64_t(10000), int64_t(INT64_MAX)}) {
        char year[kMaxIntText];
        EXPECT_EQ(date(y, 1, 2), std::string(year, writeInt(year, y)) + "-01-02") << y;
    }
}

TEST(CalendarZone, OnePerThreadMadeOnFirstRequest) {
    const Timezone& zone = utc();
    EXPECT_EQ(zone.name, "Etc/UTC");
    EXPECT_EQ(&utc(), &zone);
    EXPECT_EQ(utc(fromUnix(0)).zone, &zone);
    const Timezone* other = nullptr;
    std::string otherName;
    std::thread([&] {
        other = &utc();
        otherName = std::string(utc().name);
    }).join();
    EXPECT_NE(other, &zone);
    EXPECT_EQ(otherName, "Etc/UTC");
}

}  // namespace
