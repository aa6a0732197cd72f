// karpa_datetime as a host sees it: loaded from build/lib, every export
// called through the C interface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "host.hpp"

namespace {

using karpa_test::show;

using YearFn = int64_t(int64_t);
using YearMonthFn = int64_t(int64_t, int64_t);
using DateFn = int64_t(int64_t, int64_t, int64_t);
using AnswerFn = int32_t(int64_t, int64_t, int64_t);
using TwoDatesFn = int64_t(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t);
using TsTextFn = const char*(int64_t);
using ShiftFn = const char*(int64_t, int64_t, int64_t, int64_t);
using RangeBetweenFn = const char*(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t);
using RangeMonthsFn = const char*(int64_t, int64_t, int64_t);

struct Datetime {
    karpa_test::Library lib{"datetime"};
    int32_t (*isLeapYear)(int64_t) = lib.fn<int32_t(int64_t)>("dt_is_leap_year");
    YearMonthFn* daysInMonth = lib.fn<YearMonthFn>("dt_days_in_month");
    YearFn* daysInYear = lib.fn<YearFn>("dt_days_in_year");
    TsTextFn* tsToYmd = lib.fn<TsTextFn>("dt_ts_to_ymd");
    TsTextFn* tsToYmdhms = lib.fn<TsTextFn>("dt_ts_to_ymdhms");
    DateFn* ymdToTs = lib.fn<DateFn>("dt_ymd_to_ts");
    TwoDatesFn* daysBetween = lib.fn<TwoDatesFn>("dt_days_between");
    DateFn* dayOfWeek = lib.fn<DateFn>("dt_day_of_week");
    DateFn* weekOfYear = lib.fn<DateFn>("dt_week_of_year");
    AnswerFn* validateDate = lib.fn<AnswerFn>("dt_validate_date");
    ShiftFn* addDays = lib.fn<ShiftFn>("dt_add_days");
    ShiftFn* addMonths = lib.fn<ShiftFn>("dt_add_months");
    ShiftFn* rangeDays = lib.fn<ShiftFn>("dt_range_days");
    RangeBetweenFn* rangeDaysBetween = lib.fn<RangeBetweenFn>("dt_range_days_between");
    RangeMonthsFn* rangeMonths = lib.fn<RangeMonthsFn>("dt_range_months");
};

const Datetime& dt() {
    static const Datetime loaded;
    return loaded;
}

TEST(DatetimeLibrary, ExportsExactlyTheListedNamesAndNeedsOnlyLibc) {
    EXPECT_EQ(karpa_test::definedDynamicSymbols("datetime"), karpa_test::listedExports("datetime"));
    EXPECT_EQ(karpa_test::listedExports("datetime").size(), 17u);
#if defined(KARPA_INSTRUMENTED_BUILD)
    GTEST_SKIP() << "sanitizer builds link the C++ and sanitizer runtimes dynamically";
#endif
    EXPECT_EQ(karpa_test::neededLibraries("datetime"), "libc.so.6\n");
}

TEST(DatetimeLibrary, LifecycleExports) {
    auto* destroy = dt().lib.fn<void()>("TovDestroyGlobals");
    auto* init = dt().lib.fn<void()>("TovMain");
    destroy();
    init();
    init();
    EXPECT_EQ(show(dt().tsToYmd(0)), "1970-01-01");
}

TEST(DatetimeExports, LeapYearsAndLengths) {
    struct Case { int64_t year; int32_t leap; };
    for (const Case c : {Case{2024, 1}, {2023, 0}, {1900, 0}, {2000, 1}, {0, 1}, {-4, 1}, {-100, 0}, {-400, 1},
                         {INT64_MIN, 1}, {INT64_MAX, 0}}) {
        EXPECT_EQ(dt().isLeapYear(c.year), c.leap) << c.year;
        EXPECT_EQ(dt().daysInYear(c.year), c.leap ? 366 : 365) << c.year;
    }
    struct Month { int64_t year, month, days; };
    for (const Month c : {Month{2024, 2, 29}, {2023, 2, 28}, {1900, 2, 28}, {2024, 4, 30}, {2024, 1, 31},
                          {2024, 13, 0}, {2024, 0, 0}, {2024, -1, 0}, {INT64_MIN, 2, 29}, {2024, INT64_MIN, 0}}) {
        EXPECT_EQ(dt().daysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
    }
}

TEST(DatetimeExports, TimestampsToText) {
    struct Case { int64_t ts; const char* date; const char* dateTime; };
    const Case cases[] = {
        {0, "1970-01-01", "1970-01-01 00:00:00"},
        {-1, "1969-12-31", "1969-12-31 23:59:59"},
        {951782400, "2000-02-29", "2000-02-29 00:00:00"},
        {-62135596800, "1-01-01", "1-01-01 00:00:00"},
        {-62135596801, "0-12-31", "0-12-31 23:59:59"},
        {1700000000, "2023-11-14", "2023-11-14 22:13:20"},
        {INT64_MAX, "292277026596-12-04", "292277026596-12-04 15:30:07"},
        {-9223372036854720000, "-292277022657-01-28", "-292277022657-01-28 00:00:00"},
        {-9223372036854720001, nullptr, nullptr},
        {INT64_MIN, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(show(dt().tsToYmd(c.ts)), show(c.date)) << c.ts;
        EXPECT_EQ(show(dt().tsToYmdhms(c.ts)), show(c.dateTime)) << c.ts;
    }
}

TEST(DatetimeExports, DatesToTimestampsAndWeekdays) {
    struct Case { int64_t year, month, day, ts, weekday; };
    const Case cases[] = {
        {1970, 1, 1, 0, 4},
        {2000, 2, 29, 951782400, 2},
        {2024, 1, 1, 1704067200, 1},
        {2000, 1, 1, 946684800, 6},
        {2023, 12, 31, 1703980800, 7},
        {292277026596, 12, 4, 9223372036854720000, 7},
        {-292277022657, 1, 28, -9223372036854720000, 1},
        // Failures: 0 from both.
        {2023, 2, 29, 0, 0},
        {2024, 13, 1, 0, 0},
        {2024, 0, 1, 0, 0},
        {2024, 1, 32, 0, 0},
        {292277026596, 12, 5, 0, 0},
        {-292277022657, 1, 27, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dt().ymdToTs(c.year, c.month, c.day), c.ts) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(dt().dayOfWeek(c.year, c.month, c.day), c.weekday) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(DatetimeExports, DaysBetween) {
    EXPECT_EQ(dt().daysBetween(2024, 1, 1, 2024, 3, 1), 60);
    EXPECT_EQ(dt().daysBetween(2024, 3, 1, 2024, 1, 1), -60);
    EXPECT_EQ(dt().daysBetween(2024, 3, 1, 2024, 3, 1), 0);
    EXPECT_EQ(dt().daysBetween(1, 1, 1, 1970, 1, 1), 719162);
    EXPECT_EQ(dt().daysBetween(-292277022657, 1, 28, 0, 1, 1), 106751991167300 - 719528);
    EXPECT_EQ(dt().daysBetween(2024, 13, 1, 2024, 1, 0), 0);
    EXPECT_EQ(dt().daysBetween(-292277022657, 1, 28, 292277026596, 12, 4), 0);  // difference leaves the range
}

TEST(DatetimeExports, WeekOfYear) {
    struct Case { int64_t year, month, day, week; };
    const Case cases[] = {{2024, 1, 1, 52},   {2024, 1, 5, 52},  {2024, 1, 6, 1},  {2024, 1, 8, 1},
                          {2024, 1, 15, 2},   {2024, 12, 30, 52}, {2024, 12, 31, 52}, {2026, 1, 1, 52},
                          {2026, 1, 2, 52},   {2026, 1, 3, 1},   {2012, 12, 31, 1}, {2021, 1, 11, 2},
                          {2024, 2, 30, 0},   {2024, 13, 1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(dt().weekOfYear(c.year, c.month, c.day), c.week) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(DatetimeExports, ValidateDate) {
    struct Case { int64_t year, month, day; int32_t valid; };
    const Case cases[] = {{2024, 2, 29, 1}, {2023, 2, 29, 0}, {9999, 12, 31, 1}, {1, 1, 1, 1},
                          {0, 1, 1, 0},     {10000, 1, 1, 0}, {2024, 4, 31, 0},  {2024, 1, 0, 0},
                          {2024, 13, 1, 0}, {2024, 0, 1, 0},  {-1, 1, 1, 0},     {INT64_MAX, INT64_MAX, INT64_MAX, 0},
                          {INT64_MIN, INT64_MIN, INT64_MIN, 0}, {1900, 2, 29, 0}, {2000, 2, 29, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(dt().validateDate(c.year, c.month, c.day), c.valid) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(DatetimeExports, AddDays) {
    struct Case { int64_t year, month, day, days; const char* text; };
    const Case cases[] = {
        {2024, 2, 28, 1, "2024-02-29"},   {2023, 2, 28, 1, "2023-03-01"},   {2024, 1, 1, -1, "2023-12-31"},
        {2024, 12, 31, 1, "2025-01-01"},  {2000, 1, 1, 366, "2001-01-01"},  {2024, 1, 31, 0, "2024-01-31"},
        {1, 1, 1, -1, "0-12-31"},         {0, 1, 1, -1, "-1-12-31"},
        {1970, 1, 1, 106751991167300, "292277026596-12-04"},
        {1970, 1, 1, -106751991167300, "-292277022657-01-28"},
        {1970, 1, 1, 106751991167301, nullptr},
        {2024, 2, 30, 0, nullptr},        {2024, 1, 1, INT64_MIN, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(show(dt().addDays(c.year, c.month, c.day, c.days)), show(c.text))
            << c.year << "-" << c.month << "-" << c.day << " + " << c.days;
    }
}

TEST(DatetimeExports, AddMonths) {
    struct Case { int64_t year, month, day, months; const char* text; };
    const Case cases[] = {
        {2024, 1, 31, 1, "2024-02-29"},  {2023, 1, 31, 1, "2023-02-28"},  {2024, 3, 31, -1, "2024-02-29"},
        {2024, 12, 15, 1, "2025-01-15"}, {2024, 1, 15, -13, "2022-12-15"}, {2024, 1, 31, 25, "2026-02-28"},
        {2024, 14, 10, 0, "2025-02-10"}, {2024, 0, 10, 0, "2023-12-10"},   {2024, 2, 30, 0, "2024-02-29"},
        {2024, 5, 0, 0, "2024-05-00"},   {2024, 5, -3, 0, "2024-05--03"},  {2024, -12, 1, 0, "2022-12-01"},
        {1, 1, 1, -1, "0-12-01"},        {0, 1, 5, -1, "-1-12-05"},
        {2024, 1, 1, INT64_MAX, nullptr}, {INT64_MAX, 12, 1, 1, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(show(dt().addMonths(c.year, c.month, c.day, c.months)), show(c.text))
            << c.year << "-" << c.month << "-" << c.day << " + " << c.months;
    }
}

TEST(DatetimeRanges, Days) {
    EXPECT_EQ(show(dt().rangeDays(2024, 2, 27, 4)), "2024-02-27,2024-02-28,2024-02-29,2024-03-01");
    EXPECT_EQ(show(dt().rangeDays(2023, 12, 30, 3)), "2023-12-30,2023-12-31,2024-01-01");
    EXPECT_EQ(show(dt().rangeDays(2024, 1, 1, 1)), "2024-01-01");
    EXPECT_EQ(show(dt().rangeDays(2024, 1, 1, 0)), "");
    EXPECT_EQ(show(dt().rangeDays(2024, 1, 1, -1)), "<null>");
    EXPECT_EQ(show(dt().rangeDays(2024, 2, 30, 0)), "<null>");
    EXPECT_EQ(show(dt().rangeDays(2024, 13, 1, -1)), "<null>");
    EXPECT_EQ(show(dt().rangeDays(2024, 1, 1, INT64_MAX)), "<null>");
    EXPECT_EQ(show(dt().rangeDays(0, 12, 31, 2)), "0-12-31,1-01-01");
    EXPECT_EQ(show(dt().rangeDays(-1, 12, 31, 2)), "-1-12-31,0-01-01");
}

TEST(DatetimeRanges, DaysBetween) {
    EXPECT_EQ(show(dt().rangeDaysBetween(2024, 1, 30, 2024, 2, 2)), "2024-01-30,2024-01-31,2024-02-01,2024-02-02");
    EXPECT_EQ(show(dt().rangeDaysBetween(2024, 1, 30, 2024, 1, 30)), "2024-01-30");
    EXPECT_EQ(show(dt().rangeDaysBetween(2024, 1, 30, 2024, 1, 29)), "");
    EXPECT_EQ(show(dt().rangeDaysBetween(2024, 1, 30, 2023, 1, 29)), "");
    EXPECT_EQ(show(dt().rangeDaysBetween(2024, 1, 30, 2024, 2, 30)), "<null>");
    EXPECT_EQ(show(dt().rangeDaysBetween(2024, 0, 30, 2024, 2, 30)), "<null>");
}

TEST(DatetimeRanges, LongRunsAreWholeAndOrdered) {
    const std::string run = show(dt().rangeDays(1999, 12, 31, 100000));
    EXPECT_EQ(run.size(), 100000u * 11 - 1);
    EXPECT_EQ(run.substr(0, 21), "1999-12-31,2000-01-01");
    EXPECT_EQ(run.substr(run.size() - 10), show(dt().addDays(1999, 12, 31, 99999)));
    const std::string between = show(dt().rangeDaysBetween(-5, 3, 1, 5, 3, 1));
    EXPECT_EQ(between.substr(0, 21), "-5-03-01,-5-03-02,-5-");
    EXPECT_EQ(between.substr(between.size() - 8), ",5-03-01");
    EXPECT_EQ(static_cast<int64_t>(std::count(between.begin(), between.end(), ',')) + 1,
              dt().daysBetween(-5, 3, 1, 5, 3, 1) + 1);
}

TEST(DatetimeRanges, Months) {
    EXPECT_EQ(show(dt().rangeMonths(2024, 11, 4)), "2024-11,2024-12,2025-01,2025-02");
    EXPECT_EQ(show(dt().rangeMonths(2024, 13, 2)), "2024-13,2025-01");
    EXPECT_EQ(show(dt().rangeMonths(2024, 0, 3)), "2024-00,2024-01,2024-02");
    EXPECT_EQ(show(dt().rangeMonths(2024, -1, 3)), "2024--01,2024-00,2024-01");
    EXPECT_EQ(show(dt().rangeMonths(2024, 1, 0)), "");
    EXPECT_EQ(show(dt().rangeMonths(2024, 1, -1)), "<null>");
    EXPECT_EQ(show(dt().rangeMonths(2024, INT64_MAX, 1)), "<null>");
    EXPECT_EQ(show(dt().rangeMonths(-1, 12, 2)), "-1-12,0-01");
    EXPECT_EQ(show(dt().rangeMonths(5, 1, 1)), "5-01");
    const std::string many = show(dt().rangeMonths(1, 1, 12 * 10000));
    EXPECT_NE(many.find("9999-12,10000-01,10000-02"), std::string::npos);
    EXPECT_EQ(many.substr(many.size() - 17), "10000-11,10000-12");
}

TEST(DatetimeRanges, AResultStaysReadableUntilTheNextCall) {
    const char* first = dt().rangeDays(2024, 1, 1, 3);
    const std::string copy = show(first);
    EXPECT_EQ(show(first), copy);
    EXPECT_EQ(copy, "2024-01-01,2024-01-02,2024-01-03");
}

}  // namespace
