// karpa_datetime exports, called through the loaded library, against the
// same work done in-process with std::chrono and std::to_chars.
//
//   BM_RangeDays_Karpa      dt_range_days over 1,000,000 days
//   BM_RangeDays_Chrono     year_month_day from sys_days, printed and joined
//   BM_TsToYmdhms_Karpa     dt_ts_to_ymdhms over 1,000,000 timestamps
//   BM_TsToYmdhms_Chrono    the same texts from year_month_day and hh_mm_ss
//
// and the strongest peers, checked once against the export's text: the
// same calendar from std::chrono or Howard Hinnant's date library, the
// digits written from a two-digit table.
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "check.hpp"
#include "loader.hpp"
#include "peers.hpp"

#if KARPA_PEER_DATE
#include <date/date.h>
#endif

namespace {

using namespace std::chrono;

constexpr int64_t kDays = 1000000;
constexpr size_t kTimestamps = 1000000;

using RangeDaysFn = const char*(int64_t, int64_t, int64_t, int64_t);
using TsTextFn = const char*(int64_t);

void* library() {
    static void* handle = karpa_bench::openLibrary("datetime");
    return handle;
}

const std::vector<int64_t>& timestamps() {
    // Years 1900 .. 2100, fixed seed.
    static const std::vector<int64_t> values = [] {
        std::mt19937_64 rng(20240229);
        std::uniform_int_distribution<int64_t> pick(-2208988800, 4133980799);
        std::vector<int64_t> v(kTimestamps);
        for (auto& x : v) x = pick(rng);
        return v;
    }();
    return values;
}

char* twoDigits(char* p, unsigned v) {
    if (v < 10) *p++ = '0';
    return std::to_chars(p, p + 2, v).ptr;
}

char* chronoDate(char* p, const year_month_day& ymd) {
    p = std::to_chars(p, p + 12, static_cast<int>(ymd.year())).ptr;
    *p++ = '-';
    p = twoDigits(p, static_cast<unsigned>(ymd.month()));
    *p++ = '-';
    return twoDigits(p, static_cast<unsigned>(ymd.day()));
}

void BM_RangeDays_Karpa(benchmark::State& state) {
    auto* rangeDays = karpa_bench::symbol<RangeDaysFn>(library(), "dt_range_days");
    for (auto _ : state) {
        const char* text = rangeDays(1990, 3, 15, kDays);
        benchmark::DoNotOptimize(text);
        if (text == nullptr) state.SkipWithError("dt_range_days failed");
    }
    state.SetItemsProcessed(state.iterations() * kDays);
}

void BM_RangeDays_Chrono(benchmark::State& state) {
    std::string out;
    for (auto _ : state) {
        out.clear();
        out.resize(static_cast<size_t>(kDays) * 11);
        const sys_days start = year_month_day{year{1990}, month{3}, day{15}};
        char* p = out.data();
        for (int64_t i = 0; i < kDays; ++i) {
            p = chronoDate(p, year_month_day{start + days{i}});
            *p++ = ',';
        }
        out.resize(static_cast<size_t>(p - out.data()) - 1);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kDays);
}

void BM_TsToYmdhms_Karpa(benchmark::State& state) {
    auto* toText = karpa_bench::symbol<TsTextFn>(library(), "dt_ts_to_ymdhms");
    const std::vector<int64_t>& ts = timestamps();
    for (auto _ : state) {
        for (const int64_t t : ts) {
            const char* text = toText(t);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * ts.size()));
}

void BM_TsToYmdhms_Chrono(benchmark::State& state) {
    const std::vector<int64_t>& ts = timestamps();
    char buffer[48];
    for (auto _ : state) {
        for (const int64_t t : ts) {
            const sys_seconds s{seconds{t}};
            const sys_days d = floor<days>(s);
            const hh_mm_ss<seconds> tod{s - d};
            char* p = chronoDate(buffer, year_month_day{d});
            *p++ = ' ';
            p = twoDigits(p, static_cast<unsigned>(tod.hours().count()));
            *p++ = ':';
            p = twoDigits(p, static_cast<unsigned>(tod.minutes().count()));
            *p++ = ':';
            p = twoDigits(p, static_cast<unsigned>(tod.seconds().count()));
            *p = '\0';
            benchmark::DoNotOptimize(buffer);
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * ts.size()));
}

// ---- the strongest peers ----

// Y-M-D of a day count since 1970-01-01, from std::chrono or date.
struct ChronoCivil {
    static void ymd(int64_t dayCount, int& y, unsigned& m, unsigned& d) {
        const year_month_day x{sys_days{days{dayCount}}};
        y = int(x.year());
        m = unsigned(x.month());
        d = unsigned(x.day());
    }
};
#if KARPA_PEER_DATE
struct DateCivil {
    static void ymd(int64_t dayCount, int& y, unsigned& m, unsigned& d) {
        const date::year_month_day x{date::sys_days{date::days{dayCount}}};
        y = int(x.year());
        m = unsigned(x.month());
        d = unsigned(x.day());
    }
};
#endif

template <class Civil>
std::string rangeDaysPeer() {
    std::string out;
    out.resize(size_t(kDays) * 11);
    const int64_t start = sys_days{year_month_day{year{1990}, month{3}, day{15}}}.time_since_epoch().count();
    char* p = out.data();
    for (int64_t i = 0; i < kDays; ++i) {
        int y;
        unsigned m, d;
        Civil::ymd(start + i, y, m, d);
        p = karpa_bench::writeDatePairs(p, y, m, d);
        *p++ = ',';
    }
    out.resize(size_t(p - out.data()) - 1);
    return out;
}

template <class Civil>
void BM_RangeDays_Peer(benchmark::State& state) {
    auto* rangeDays = karpa_bench::symbol<RangeDaysFn>(library(), "dt_range_days");
    static bool checked = false;  // once, not on every repetition
    if (!checked && !karpa_bench::sameOutput(state, rangeDays(1990, 3, 15, kDays), rangeDaysPeer<Civil>())) return;
    checked = true;
    for (auto _ : state) benchmark::DoNotOptimize(rangeDaysPeer<Civil>());
    state.SetItemsProcessed(state.iterations() * kDays);
}

template <class Civil>
char* ymdhmsPeer(char* buffer, int64_t t) {
    const int64_t dayCount = t >= 0 ? t / 86400 : -((-t + 86399) / 86400);
    const int64_t second = t - dayCount * 86400;
    int y;
    unsigned m, d;
    Civil::ymd(dayCount, y, m, d);
    char* p = karpa_bench::writeDatePairs(buffer, y, m, d);
    *p++ = ' ';
    p = karpa_bench::twoDigitsPair(p, unsigned(second / 3600));
    *p++ = ':';
    p = karpa_bench::twoDigitsPair(p, unsigned(second / 60 % 60));
    *p++ = ':';
    p = karpa_bench::twoDigitsPair(p, unsigned(second % 60));
    *p = '\0';
    return p;
}

template <class Civil>
void BM_TsToYmdhms_Peer(benchmark::State& state) {
    auto* toText = karpa_bench::symbol<TsTextFn>(library(), "dt_ts_to_ymdhms");
    const std::vector<int64_t>& ts = timestamps();
    char buffer[48];
    static bool checked = false;  // once, not on every repetition
    for (size_t i = 0; !checked && i < ts.size(); ++i) {
        const int64_t t = ts[i];
        if (!karpa_bench::sameOutput(state, toText(t), std::string_view(buffer, size_t(ymdhmsPeer<Civil>(buffer, t) - buffer))))
            return;
    }
    checked = true;
    for (auto _ : state) {
        for (const int64_t t : ts) {
            benchmark::DoNotOptimize(ymdhmsPeer<Civil>(buffer, t));
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * ts.size()));
}

}  // namespace

BENCHMARK_TEMPLATE(BM_RangeDays_Peer, ChronoCivil)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TsToYmdhms_Peer, ChronoCivil)->Unit(benchmark::kMillisecond);
#if KARPA_PEER_DATE
BENCHMARK_TEMPLATE(BM_RangeDays_Peer, DateCivil)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TsToYmdhms_Peer, DateCivil)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_RangeDays_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RangeDays_Chrono)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TsToYmdhms_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TsToYmdhms_Chrono)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
