// The calendar exports against std::chrono's proleptic Gregorian calendar,
// over the years that std::chrono::year holds (-32767 to 32767).
#include <chrono>

#include "common.hpp"
#include "karpa/datetime.h"

namespace chr = std::chrono;

namespace {

std::string twoDigits(int64_t v) {
    std::string digits = std::to_string(v < 0 ? -v : v);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    return (v < 0 ? "-" : "") + digits;
}

std::string dateText(int64_t y, int64_t m, int64_t d) { return std::to_string(y) + "-" + twoDigits(m) + "-" + twoDigits(d); }

std::string dateText(chr::year_month_day ymd) {
    return dateText(int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()));
}

// Whether std::chrono::year_month_day can hold the day (outside, its year wraps).
bool inChronoRange(chr::sys_days day) {
    return day >= chr::sys_days(chr::year(-32766) / 1 / 1) && day <= chr::sys_days(chr::year(32766) / 12 / 31);
}

struct Date {
    int64_t y, m, d;
    std::optional<chr::sys_days> day;  // set for a valid date
};

Date drawDate(FuzzedDataProvider& in) {
    Date date;
    date.y = in.ConsumeIntegralInRange<int64_t>(-32766, 32766);
    const bool plain = in.ConsumeIntegralInRange<int>(0, 7) != 0;
    date.m = plain ? in.ConsumeIntegralInRange<int64_t>(1, 12) : in.ConsumeIntegralInRange<int64_t>(-30, 30);
    date.d = plain ? in.ConsumeIntegralInRange<int64_t>(1, 31) : in.ConsumeIntegralInRange<int64_t>(-3, 34);
    if (date.m >= 1 && date.m <= 12 && date.d >= 1 && date.d <= 31) {
        const chr::year_month_day ymd{chr::year(int(date.y)), chr::month(unsigned(date.m)), chr::day(unsigned(date.d))};
        if (ymd.ok()) date.day = chr::sys_days(ymd);
    }
    return date;
}

int64_t weekOfYear(chr::sys_days day) {
    const chr::year_month_day ymd(day);
    const int64_t yd = (day - chr::sys_days(ymd.year() / chr::January / 1)).count();
    const int64_t wd = chr::weekday(day).iso_encoding() - 1;
    const int64_t j = chr::weekday(chr::sys_days(ymd.year() / chr::January / 4)).iso_encoding() - 1;
    if (yd <= 7 - j) return 52;
    const int64_t w = (yd - wd - 1) / 7 + 1;
    return w > 52 && yd > 362 ? 1 : w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    while (in.remaining_bytes() > 0) {
        const Date a = drawDate(in);
        const chr::year year(int(a.y));
        FUZZ_CHECK(dt_is_leap_year(a.y) == int(year.is_leap()), (long long)a.y);
        FUZZ_CHECK(dt_days_in_year(a.y) == (year.is_leap() ? 366 : 365), (long long)a.y);
        const int64_t monthLength =
            a.m >= 1 && a.m <= 12 ? unsigned((year / chr::month(unsigned(a.m)) / chr::last).day()) : 0;
        FUZZ_CHECK(dt_days_in_month(a.y, a.m) == monthLength, (long long)a.y, (long long)a.m);
        FUZZ_CHECK(dt_validate_date(a.y, a.m, a.d) == int(a.day.has_value() && a.y >= 1 && a.y <= 9999),
                   dateText(a.y, a.m, a.d));

        const std::string at = dateText(a.y, a.m, a.d);
        const int64_t epochDay = a.day ? a.day->time_since_epoch().count() : 0;
        FUZZ_CHECK(dt_ymd_to_ts(a.y, a.m, a.d) == epochDay * 86400, at);
        FUZZ_CHECK(dt_day_of_week(a.y, a.m, a.d) == (a.day ? int64_t(chr::weekday(*a.day).iso_encoding()) : 0), at);
        FUZZ_CHECK(dt_week_of_year(a.y, a.m, a.d) == (a.day ? weekOfYear(*a.day) : 0), at);

        const Date b = drawDate(in);
        const int64_t between = a.day && b.day ? (*b.day - *a.day).count() : 0;
        FUZZ_CHECK(dt_days_between(a.y, a.m, a.d, b.y, b.m, b.d) == between, at, dateText(b.y, b.m, b.d));

        // A shift by days.
        const int64_t shift = in.ConsumeIntegralInRange<int64_t>(-5'000'000, 5'000'000);
        const auto shifted = take(dt_add_days(a.y, a.m, a.d, shift));
        if (!a.day) {
            FUZZ_CHECK(!shifted, at, shown(shifted));
        } else if (inChronoRange(*a.day + chr::days(shift))) {
            FUZZ_CHECK(shifted == dateText(chr::year_month_day(*a.day + chr::days(shift))), at, (long long)shift,
                       shown(shifted));
        }

        // A shift by months: any month and day, the day clamped to the new month's length.
        const int64_t months = in.ConsumeIntegralInRange<int64_t>(-200'000, 200'000);
        const int64_t monthIndex = a.y * 12 + (a.m - 1) + months;  // stays where std::chrono::year can follow
        if (monthIndex > -32766 * 12 && monthIndex < 32766 * 12) {
            const chr::year_month target = year / chr::January + chr::months(a.m - 1 + months);
            const int64_t last = unsigned((target / chr::last).day());
            const auto moved = take(dt_add_months(a.y, a.m, a.d, months));
            FUZZ_CHECK(moved == dateText(int(target.year()), unsigned(target.month()), std::min(a.d, last)), at,
                       (long long)months, shown(moved));
        }

        // A timestamp anywhere in the years std::chrono holds.
        const int64_t ts = in.ConsumeIntegralInRange<int64_t>(-950'000'000'000LL, 950'000'000'000LL);
        const chr::sys_days tsDay = chr::floor<chr::days>(chr::sys_seconds(chr::seconds(ts)));
        const int64_t second = ts - tsDay.time_since_epoch().count() * 86400;
        const std::string date = dateText(chr::year_month_day(tsDay));
        FUZZ_CHECK(take(dt_ts_to_ymd(ts)) == date, (long long)ts);
        FUZZ_CHECK(take(dt_ts_to_ymdhms(ts)) == date + " " + twoDigits(second / 3600) + ":" +
                                                    twoDigits(second / 60 % 60) + ":" + twoDigits(second % 60),
                   (long long)ts, shown(take(dt_ts_to_ymdhms(ts))));

        // Runs of days and of months.
        const int64_t count = in.ConsumeIntegralInRange<int64_t>(-1, 40);
        std::optional<std::string> days;
        if (a.day && count >= 0) {
            days = "";
            for (int64_t i = 0; i < count; ++i) *days += (i ? "," : "") + dateText(chr::year_month_day(*a.day + chr::days(i)));
        }
        FUZZ_CHECK(take(dt_range_days(a.y, a.m, a.d, count)) == days, at, (long long)count);
        if (a.day && b.day && between < 400) {
            std::string run;
            for (int64_t i = 0; i <= between; ++i) run += (i ? "," : "") + dateText(chr::year_month_day(*a.day + chr::days(i)));
            FUZZ_CHECK(take(dt_range_days_between(a.y, a.m, a.d, b.y, b.m, b.d)) == run, at, dateText(b.y, b.m, b.d));
        }
        if (a.m >= 1 && a.m <= 12 && count >= 0 && a.y < 32760) {  // the run stays where std::chrono::year can follow
            std::string run;
            for (int64_t i = 0; i < count; ++i) {
                const chr::year_month ym = year / chr::month(unsigned(a.m)) + chr::months(i);
                run += (i ? "," : "") + std::to_string(int(ym.year())) + "-" + twoDigits(unsigned(ym.month()));
            }
            FUZZ_CHECK(take(dt_range_months(a.y, a.m, count)) == run, at, (long long)count);
        }
    }
    return 0;
}
