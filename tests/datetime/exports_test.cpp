// The dt_* exports linked in directly: failure kinds and messages through the
// thread's failure state, the week rule, month shifts and runs against
// independent formulations.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include "datetime/civil.hpp"
#include "datetime/datetext.hpp"
#include "frame/error.hpp"

extern "C" {
int32_t dt_is_leap_year(int64_t);
int64_t dt_days_in_month(int64_t, int64_t);
int64_t dt_days_in_year(int64_t);
const char* dt_ts_to_ymd(int64_t);
const char* dt_ts_to_ymdhms(int64_t);
int64_t dt_ymd_to_ts(int64_t, int64_t, int64_t);
int64_t dt_days_between(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t);
int64_t dt_day_of_week(int64_t, int64_t, int64_t);
int64_t dt_week_of_year(int64_t, int64_t, int64_t);
int32_t dt_validate_date(int64_t, int64_t, int64_t);
const char* dt_add_days(int64_t, int64_t, int64_t, int64_t);
const char* dt_add_months(int64_t, int64_t, int64_t, int64_t);
const char* dt_range_days(int64_t, int64_t, int64_t, int64_t);
const char* dt_range_days_between(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t);
const char* dt_range_months(int64_t, int64_t, int64_t);
}

namespace {

namespace chr = std::chrono;
using karpa::ErrorKind;

std::string show(const char* text) { return text == nullptr ? "<null>" : text; }

const char* kOverflow = "over- or underflow";
const std::string kMonthRange = "value out of range: 13 notin 1 .. 12";
const std::string kInvalid = "times(486, 3) `monthday <= getDaysInMonth(month, year)` ";

// A failed call: its result, and the kind and message it left behind.
struct Failure {
    std::string name;
    bool failedAsExpected;  // null pointer or 0
    ErrorKind kind;
    std::string message;
};

template <class Call>
Failure failure(const std::string& name, Call call) {
    const auto result = call();
    bool expected;
    if constexpr (std::is_pointer_v<decltype(result)>) {
        expected = result == nullptr;
    } else {
        expected = result == 0;
    }
    const karpa::ErrorRecord* error = karpa::currentError();
    EXPECT_TRUE(karpa::failureFlag()) << name;
    if (error == nullptr) return {name, false, ErrorKind::ValueError, "<no error>"};
    return {name, expected, error->kind, error->message};
}

struct Expected {
    Failure got;
    ErrorKind kind;
    std::string message;
};

TEST(ExportErrors, KindsAndMessages) {
    const int64_t M = INT64_MAX;
    const Expected cases[] = {
        {failure("ts_to_ymd below span", [] { return dt_ts_to_ymd(-9223372036854720001); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("ts_to_ymdhms min", [] { return dt_ts_to_ymdhms(INT64_MIN); }), ErrorKind::OverflowDefect, kOverflow},
        {failure("ymd_to_ts Feb 29", [] { return dt_ymd_to_ts(2023, 2, 29); }), ErrorKind::AssertionDefect,
         kInvalid + "2023-02-29 is not a valid date"},
        {failure("ymd_to_ts month 13", [] { return dt_ymd_to_ts(2024, 13, 1); }), ErrorKind::RangeDefect, kMonthRange},
        {failure("ymd_to_ts month 0", [] { return dt_ymd_to_ts(2024, 0, 1); }), ErrorKind::RangeDefect,
         "value out of range: 0 notin 1 .. 12"},
        {failure("ymd_to_ts day 32", [] { return dt_ymd_to_ts(2024, 1, 32); }), ErrorKind::RangeDefect,
         "value out of range: 32 notin 1 .. 31"},
        {failure("ymd_to_ts day 0", [] { return dt_ymd_to_ts(2024, 1, 0); }), ErrorKind::RangeDefect,
         "value out of range: 0 notin 1 .. 31"},
        {failure("ymd_to_ts after span", [] { return dt_ymd_to_ts(292277026596, 12, 5); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("ymd_to_ts before span", [] { return dt_ymd_to_ts(-292277022657, 1, 27); }),
         ErrorKind::OverflowDefect, kOverflow},
        // Month before day, the whole check before anything else.
        {failure("ymd_to_ts month and day", [] { return dt_ymd_to_ts(2024, -5, -5); }), ErrorKind::RangeDefect,
         "value out of range: -5 notin 1 .. 12"},
        {failure("ymd_to_ts day and length", [] { return dt_ymd_to_ts(M, 2, 40); }), ErrorKind::RangeDefect,
         "value out of range: 40 notin 1 .. 31"},
        {failure("days_between first month", [] { return dt_days_between(2024, 13, 1, 2024, 1, 0); }),
         ErrorKind::RangeDefect, kMonthRange},
        {failure("days_between second day", [] { return dt_days_between(2024, 1, 1, 2024, 1, 0); }),
         ErrorKind::RangeDefect, "value out of range: 0 notin 1 .. 31"},
        {failure("days_between second length", [] { return dt_days_between(2024, 1, 1, 2023, 2, 29); }),
         ErrorKind::AssertionDefect, kInvalid + "2023-02-29 is not a valid date"},
        {failure("days_between difference",
                 [] { return dt_days_between(-200000000000, 1, 1, 200000000000, 1, 1); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("day_of_week", [] { return dt_day_of_week(1900, 2, 29); }), ErrorKind::AssertionDefect,
         kInvalid + "1900-02-29 is not a valid date"},
        {failure("week_of_year", [] { return dt_week_of_year(2024, 4, 31); }), ErrorKind::AssertionDefect,
         kInvalid + "2024-04-31 is not a valid date"},
        // January 4 of the first year of the span lies before its first day.
        {failure("week_of_year January 4", [] { return dt_week_of_year(-292277022657, 1, 28); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("add_days date", [] { return dt_add_days(2024, 2, 30, 1); }), ErrorKind::AssertionDefect,
         kInvalid + "2024-02-30 is not a valid date"},
        {failure("add_days shift", [] { return dt_add_days(292277026596, 12, 4, 1); }), ErrorKind::OverflowDefect,
         kOverflow},
        {failure("add_days product", [] { return dt_add_days(2024, 1, 1, M); }), ErrorKind::OverflowDefect,
         kOverflow},
        {failure("add_days below span", [] { return dt_add_days(-292277022657, 1, 28, -1); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("add_months sum", [] { return dt_add_months(2024, 1, 1, M); }), ErrorKind::OverflowDefect,
         kOverflow},
        {failure("add_months year", [] { return dt_add_months(M, 12, 1, 1); }), ErrorKind::OverflowDefect,
         kOverflow},
        {failure("add_months day", [] { return dt_add_months(2024, 1, INT64_MIN, 0); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("range_days negative", [] { return dt_range_days(2024, 1, 1, -1); }), ErrorKind::RangeDefect,
         "value out of range: -1 notin 0 .. 9223372036854775807"},
        {failure("range_days date first", [] { return dt_range_days(2024, 2, 30, 0); }),
         ErrorKind::AssertionDefect, kInvalid + "2024-02-30 is not a valid date"},
        {failure("range_days month first", [] { return dt_range_days(2024, 13, 1, -1); }), ErrorKind::RangeDefect,
         kMonthRange},
        {failure("range_days reservation", [] { return dt_range_days(2024, 1, 1, M); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("range_days past span", [] { return dt_range_days(292277026596, 11, 30, 6); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("range_days_between second", [] { return dt_range_days_between(2024, 1, 1, 2024, 2, 30); }),
         ErrorKind::AssertionDefect, kInvalid + "2024-02-30 is not a valid date"},
        {failure("range_months negative", [] { return dt_range_months(2024, 1, -3); }), ErrorKind::RangeDefect,
         "value out of range: -3 notin 0 .. 9223372036854775807"},
        {failure("range_months advance", [] { return dt_range_months(2024, M, 1); }), ErrorKind::OverflowDefect,
         kOverflow},
        {failure("range_months year", [] { return dt_range_months(M, 12, 1); }), ErrorKind::OverflowDefect,
         kOverflow},
        {failure("range_months field", [] { return dt_range_months(2024, INT64_MIN, 1); }),
         ErrorKind::OverflowDefect, kOverflow},
        {failure("range_months reservation", [] { return dt_range_months(2024, 1, M); }),
         ErrorKind::OverflowDefect, kOverflow},
    };
    for (const Expected& c : cases) {
        EXPECT_TRUE(c.got.failedAsExpected) << c.got.name;
        EXPECT_EQ(c.got.kind, c.kind) << c.got.name;
        EXPECT_EQ(c.got.message, c.message) << c.got.name;
    }
}

TEST(ExportErrors, SuccessClearsTheFailureOfAnEarlierCall) {
    EXPECT_EQ(dt_ymd_to_ts(2023, 2, 29), 0);
    EXPECT_TRUE(karpa::failureFlag());
    EXPECT_EQ(dt_ymd_to_ts(1970, 1, 1), 0);
    EXPECT_FALSE(karpa::failureFlag());
    EXPECT_EQ(karpa::currentError(), nullptr);
}

TEST(ExportErrors, NeverFailing) {
    const int64_t extremes[] = {INT64_MIN, -1, 0, 1, INT64_MAX};
    for (const int64_t a : extremes) {
        dt_is_leap_year(a);
        dt_days_in_year(a);
        for (const int64_t b : extremes) {
            dt_days_in_month(a, b);
            EXPECT_FALSE(karpa::failureFlag());
            for (const int64_t c : extremes) {
                dt_validate_date(a, b, c);
                EXPECT_FALSE(karpa::failureFlag());
            }
        }
    }
}

TEST(ExportLimits, ARunBeyondMemoryTakesTheOutOfMemoryPath) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(dt_range_days(2024, 1, 1, 100000000000000000), testing::ExitedWithCode(1), "out of memory");
}

// ---- The week rule ----------------------------------------------------------

// The rule in calendar terms: a day up to the Friday of the week (Monday to
// Sunday) that holds January 4 is week 52. Otherwise take the Monday of the
// day's week: if it lies k >= 1 days after January 1, the week is
// floor((k - 1) / 7) + 1, else 1; a week 53 that ends the year is week 1.
int64_t weekByCalendar(chr::year_month_day ymd) {
    const chr::sys_days day{ymd};
    const chr::sys_days jan1{ymd.year() / chr::January / 1};
    const chr::sys_days jan4{ymd.year() / chr::January / 4};
    const auto sinceMonday = [](chr::sys_days d) { return (chr::weekday{d} - chr::Monday).count(); };
    const chr::sys_days fridayOfJan4 = jan4 - chr::days{sinceMonday(jan4)} + chr::days{4};
    if (day <= fridayOfJan4) return 52;
    const int64_t k = (day - chr::days{sinceMonday(day)} - jan1).count();
    const int64_t w = k >= 1 ? (k - 1) / 7 + 1 : 1;
    return w == 53 && (day - jan1).count() > 362 ? 1 : w;
}

TEST(WeekOfYear, KnownWeeks) {
    struct Case { int64_t year, month, day, week; };
    const Case cases[] = {{2024, 1, 1, 52},   {2024, 1, 2, 52},   {2024, 1, 3, 52},  {2024, 1, 4, 52},
                          {2024, 1, 5, 52},   {2024, 1, 6, 1},    {2024, 1, 8, 1},   {2024, 1, 15, 2},
                          {2024, 12, 30, 52}, {2024, 12, 31, 52}, {2026, 1, 1, 52},  {2026, 1, 2, 52},
                          {2026, 1, 3, 1},    {2012, 12, 31, 1},  {2021, 1, 11, 2}};
    for (const Case& c : cases) {
        EXPECT_EQ(dt_week_of_year(c.year, c.month, c.day), c.week) << c.year << "-" << c.month << "-" << c.day;
    }
}

// 28 consecutive years hold every kind of year: common and leap, starting on
// each weekday. Every day of them, and of the years around 0 and 2400.
TEST(WeekOfYear, EveryKindOfYearAgainstTheCalendarRule) {
    bool seenKind[2][7] = {};
    for (const int first : {-30, 1990, 2390}) {
        for (int y = first; y < first + 28; ++y) {
            const chr::year year{y};
            seenKind[year.is_leap()][chr::weekday{chr::sys_days{year / chr::January / 1}}.c_encoding()] = true;
            for (chr::sys_days d = year / chr::January / 1; d <= chr::sys_days{year / chr::December / 31};
                 d += chr::days{1}) {
                const chr::year_month_day ymd{d};
                const int64_t got = dt_week_of_year(y, static_cast<unsigned>(ymd.month()),
                                                    static_cast<unsigned>(ymd.day()));
                ASSERT_EQ(got, weekByCalendar(ymd)) << y << "-" << static_cast<unsigned>(ymd.month()) << "-"
                                                   << static_cast<unsigned>(ymd.day());
                ASSERT_GE(got, 1);
                ASSERT_LE(got, 52);
                const bool mondayDec31OfLeapYear = year.is_leap() && ymd.month() == chr::December &&
                                                   ymd.day() == chr::day{31} && chr::weekday{d} == chr::Monday;
                if (got == 1 && ymd.month() == chr::December) {
                    ASSERT_TRUE(mondayDec31OfLeapYear);
                }
                if (mondayDec31OfLeapYear) {
                    ASSERT_EQ(got, 1);
                }
            }
        }
    }
    for (const auto& kinds : seenKind) {
        for (const bool seen : kinds) EXPECT_TRUE(seen);
    }
}

TEST(WeekOfYear, EndsOfTheSpan) {
    // The last day of the span: January 4 of its year is far inside.
    EXPECT_GE(dt_week_of_year(292277026596, 12, 4), 1);
    EXPECT_FALSE(karpa::failureFlag());
    // The first year of the span starts on January 28: its January 4 is outside.
    EXPECT_EQ(dt_week_of_year(-292277022657, 12, 31), 0);
    EXPECT_EQ(karpa::currentError()->kind, ErrorKind::OverflowDefect);
    EXPECT_GE(dt_week_of_year(-292277022656, 1, 1), 1);
    EXPECT_FALSE(karpa::failureFlag());
}

// ---- Shifts and runs --------------------------------------------------------

TEST(Shifts, AddDaysAgainstChrono) {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> years(-30000, 30000);
    std::uniform_int_distribution<int> shifts(-1000000, 1000000);
    for (int i = 0; i < 100000; ++i) {
        const int y = years(rng);
        const unsigned m = std::uniform_int_distribution<unsigned>(1, 12)(rng);
        const chr::year_month_day start{chr::year{y}, chr::month{m}, chr::day{1}};
        const unsigned d = std::uniform_int_distribution<unsigned>(
            1, static_cast<unsigned>((start.year() / start.month() / chr::last).day()))(rng);
        const int n = shifts(rng);
        const chr::year_month_day want{chr::sys_days{start.year() / start.month() / chr::day{d}} + chr::days{n}};
        char buffer[karpa::kMaxDateText];
        const std::string wantText(buffer, karpa::writeDate(buffer, static_cast<int>(want.year()),
                                                            static_cast<unsigned>(want.month()),
                                                            static_cast<unsigned>(want.day())));
        ASSERT_EQ(show(dt_add_days(y, m, d, n)), wantText) << y << "-" << m << "-" << d << " + " << n;
        ASSERT_EQ(dt_days_between(y, m, d, static_cast<int>(want.year()), static_cast<unsigned>(want.month()),
                                  static_cast<unsigned>(want.day())),
                  n);
    }
}

// Month shifts: the same as stepping one month at a time, with the day
// clamped to the final month only.
TEST(Shifts, AddMonthsAgainstStepping) {
    std::mt19937_64 rng(8);
    for (int i = 0; i < 20000; ++i) {
        const int64_t y = std::uniform_int_distribution<int64_t>(-3000, 3000)(rng);
        const int64_t m = std::uniform_int_distribution<int64_t>(-30, 30)(rng);
        const int64_t d = std::uniform_int_distribution<int64_t>(-5, 35)(rng);
        const int64_t n = std::uniform_int_distribution<int64_t>(-400, 400)(rng);
        int64_t wy = y;
        int64_t wm = m;
        for (int64_t k = 0; k < (n >= 0 ? n : -n); ++k) wm += n >= 0 ? 1 : -1;
        while (wm > 12) wm -= 12, ++wy;
        while (wm < 1) wm += 12, --wy;
        const int64_t wd = std::min<int64_t>(d, karpa::getDaysInMonth(static_cast<uint8_t>(wm), wy));
        char buffer[karpa::kMaxDateText];
        const std::string want(buffer, karpa::writeDate(buffer, wy, wm, wd));
        ASSERT_EQ(show(dt_add_months(y, m, d, n)), want) << y << " " << m << " " << d << " " << n;
    }
    // Constant time for any size of shift.
    EXPECT_EQ(show(dt_add_months(2024, 1, 31, INT64_MAX - 1)), "768614336404566674-07-31");
    EXPECT_EQ(show(dt_add_months(2024, 1, 31, INT64_MIN + 1)), "-768614336404562627-06-30");
    EXPECT_EQ(show(dt_add_months(INT64_MIN, 1, 1, 0)), "-9223372036854775808-01-01");
    // The lowest month sums: the year steps fit, and so does the month.
    EXPECT_EQ(show(dt_add_months(0, INT64_MIN, 1, 1)), "-768614336404564651-05-01");
    EXPECT_EQ(show(dt_add_months(0, INT64_MIN, 1, 0)), "<null>");
}

TEST(Runs, RangeDaysItemsAreShiftsOfTheStart) {
    std::mt19937_64 rng(9);
    for (int i = 0; i < 200; ++i) {
        const int64_t y = std::uniform_int_distribution<int64_t>(-100000, 100000)(rng);
        const int64_t m = std::uniform_int_distribution<int64_t>(1, 12)(rng);
        const int64_t d = std::uniform_int_distribution<int64_t>(1, 28)(rng);
        const int64_t count = std::uniform_int_distribution<int64_t>(0, 800)(rng);
        const std::string run = show(dt_range_days(y, m, d, count));
        std::string want;
        for (int64_t k = 0; k < count; ++k) {
            if (k > 0) want += ',';
            want += show(dt_add_days(y, m, d, k));
        }
        ASSERT_EQ(run, want);
        if (count > 0) {
            const std::string last = show(dt_add_days(y, m, d, count - 1));
            const int64_t ly = std::stoll(last.substr(0, last.find('-', 1)));
            const int64_t lm = std::stoll(last.substr(last.size() - 5, 2));
            const int64_t ld = std::stoll(last.substr(last.size() - 2));
            ASSERT_EQ(show(dt_range_days_between(y, m, d, ly, lm, ld)), run);
        }
    }
}

TEST(Runs, ToTheLastDayOfTheSpan) {
    EXPECT_EQ(show(dt_range_days(292277026596, 11, 30, 5)),
              "292277026596-11-30,292277026596-12-01,292277026596-12-02,292277026596-12-03,292277026596-12-04");
    EXPECT_EQ(show(dt_range_days_between(-292277022657, 1, 28, -292277022657, 1, 30)),
              "-292277022657-01-28,-292277022657-01-29,-292277022657-01-30");
    EXPECT_EQ(show(dt_range_days(-10, 12, 30, 3)), "-10-12-30,-10-12-31,-9-01-01");
    EXPECT_EQ(show(dt_range_days(9999, 12, 31, 2)), "9999-12-31,10000-01-01");
}

TEST(Runs, RangeMonthsAgainstAddMonths) {
    for (int64_t m = 1; m <= 12; ++m) {
        const std::string run = show(dt_range_months(1999, m, 40));
        std::string want;
        for (int64_t k = 0; k < 40; ++k) {
            if (k > 0) want += ',';
            const std::string date = show(dt_add_months(1999, m, 1, k));
            want += date.substr(0, date.size() - 3);
        }
        EXPECT_EQ(run, want);
    }
    EXPECT_EQ(show(dt_range_months(INT64_MAX, 10, 2)), "9223372036854775807-10,9223372036854775807-11");
    // The advance after the last item still steps into the next year.
    EXPECT_EQ(show(dt_range_months(INT64_MAX, 11, 2)), "<null>");
    EXPECT_EQ(show(dt_range_months(-1, 100, 2)), "-1-100,0-01");
    EXPECT_EQ(show(dt_range_months(5, -1000, 1)), "5--1000");
}

}  // namespace
