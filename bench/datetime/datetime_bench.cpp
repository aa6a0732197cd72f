// karpa_datetime exports, called through the loaded library, against the
// same work done in-process with std::chrono and std::to_chars.
//
//   BM_RangeDays_Karpa      dt_range_days over 1,000,000 days
//   BM_RangeDays_Chrono     year_month_day from sys_days, printed and joined
//   BM_TsToYmdhms_Karpa     dt_ts_to_ymdhms over 1,000,000 timestamps
//   BM_TsToYmdhms_Chrono    the same texts from year_month_day and hh_mm_ss
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "loader.hpp"

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

}  // namespace

BENCHMARK(BM_RangeDays_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RangeDays_Chrono)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TsToYmdhms_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TsToYmdhms_Chrono)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
