// The smallest call of each library against the same job in a dlopen'd C++
// function (bench/calls/peer_calls.cpp), both called through a pointer from
// dlsym, and an empty dlopen'd call as the floor of any such call. Also the
// float min/max exports on one value per call against the same job done in
// process (fast_float, then fmt or std::to_chars).
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "check.hpp"
#include "loader.hpp"
#include "peers.hpp"

namespace {

using TextFn = const char*(const char*);
using EmptyFn = const char*();
using LeapFn = int32_t(int64_t);
using TsFn = const char*(int64_t);
using DigestFn = const char*(const char*, int);

void* peerLibrary() {
    static void* handle = [] {
        void* h = dlopen(KARPA_PEER_CALLS, RTLD_NOW | RTLD_LOCAL);
        if (h == nullptr) {
            std::fprintf(stderr, "dlopen %s: %s\n", KARPA_PEER_CALLS, dlerror());
            std::exit(2);
        }
        return h;
    }();
    return handle;
}

template <class Fn>
Fn* peer(const char* name) {
    return reinterpret_cast<Fn*>(dlsym(peerLibrary(), name));
}

constexpr size_t kRing = 1024;  // varied arguments, cycled

const std::vector<int64_t>& years() {
    static const std::vector<int64_t> v = [] {
        std::mt19937_64 rng(7);
        std::vector<int64_t> out(kRing);
        for (auto& y : out) y = 1600 + int64_t(rng() % 800);
        return out;
    }();
    return v;
}

const std::vector<int64_t>& timestamps() {
    static const std::vector<int64_t> v = [] {
        std::mt19937_64 rng(8);
        std::uniform_int_distribution<int64_t> pick(-2208988800, 4133980799);  // 1900 .. 2100
        std::vector<int64_t> out(kRing);
        for (auto& t : out) t = pick(rng);
        return out;
    }();
    return v;
}

const std::vector<std::string>& oneFloat() {
    static const std::vector<std::string> v = [] {
        std::mt19937_64 rng(9);
        std::vector<std::string> out(kRing);
        char b[32];
        for (auto& s : out) {
            std::snprintf(b, sizeof b, "%.3f", double(int64_t(rng() % 2000000) - 1000000) / 1000.0);
            s = b;
        }
        return out;
    }();
    return v;
}

// ---- the floor ----

void BM_Call_Empty_Peer(benchmark::State& state) {
    EmptyFn* fn = peer<EmptyFn>("peer_empty");
    for (auto _ : state) benchmark::DoNotOptimize(fn());
}

// ---- karpa_seq and karpa_curried: the sum of "1" ----

void sumOfOne(benchmark::State& state, const char* library, const char* name) {
    TextFn* fn = karpa_bench::symbol<TextFn>(karpa_bench::openLibrary(library), name);
    for (auto _ : state) benchmark::DoNotOptimize(fn("1"));
}
void BM_Call_SeqSumInt_Karpa(benchmark::State& state) { sumOfOne(state, "seq", "seq_reduce_sum_int"); }
void BM_Call_CurSumInt_Karpa(benchmark::State& state) { sumOfOne(state, "curried", "cur_sum_int"); }
void BM_Call_SumInt_Peer(benchmark::State& state) {
    TextFn* fn = peer<TextFn>("peer_sum_int");
    TextFn* karpa = karpa_bench::symbol<TextFn>(karpa_bench::openLibrary("seq"), "seq_reduce_sum_int");
    if (!karpa_bench::sameOutput(state, karpa(" 12, 3,,-4"), fn(" 12, 3,,-4"))) return;
    for (auto _ : state) benchmark::DoNotOptimize(fn("1"));
}

// ---- karpa_datetime ----

void BM_Call_IsLeapYear_Karpa(benchmark::State& state) {
    LeapFn* fn = karpa_bench::symbol<LeapFn>(karpa_bench::openLibrary("datetime"), "dt_is_leap_year");
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fn(years()[i]));
        i = (i + 1) % kRing;
    }
}
void BM_Call_IsLeapYear_Peer(benchmark::State& state) {
    LeapFn* fn = peer<LeapFn>("peer_is_leap_year");
    LeapFn* karpa = karpa_bench::symbol<LeapFn>(karpa_bench::openLibrary("datetime"), "dt_is_leap_year");
    for (int64_t y : years()) {
        if (!karpa_bench::sameOutput(state, karpa(y) ? "1" : "0", fn(y) ? "1" : "0")) return;
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fn(years()[i]));
        i = (i + 1) % kRing;
    }
}

void BM_Call_TsToYmdhms_Karpa(benchmark::State& state) {
    TsFn* fn = karpa_bench::symbol<TsFn>(karpa_bench::openLibrary("datetime"), "dt_ts_to_ymdhms");
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fn(timestamps()[i]));
        i = (i + 1) % kRing;
    }
}
void BM_Call_TsToYmdhms_Peer(benchmark::State& state) {
    TsFn* fn = peer<TsFn>("peer_ts_to_ymdhms");
    TsFn* karpa = karpa_bench::symbol<TsFn>(karpa_bench::openLibrary("datetime"), "dt_ts_to_ymdhms");
    for (int64_t t : timestamps()) {
        if (!karpa_bench::sameOutput(state, karpa(t), fn(t))) return;
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fn(timestamps()[i]));
        i = (i + 1) % kRing;
    }
}

// ---- karpa_crypto: md5 of three bytes ----

void BM_Call_Md5_Karpa(benchmark::State& state) {
    DigestFn* fn = karpa_bench::symbol<DigestFn>(karpa_bench::openLibrary("crypto"), "md5_hash");
    for (auto _ : state) benchmark::DoNotOptimize(fn("abc", 3));
}
void BM_Call_Md5_Peer(benchmark::State& state) {
    DigestFn* fn = peer<DigestFn>("peer_md5_hex");
    if (fn == nullptr) {
        state.SkipWithError("no digest peer was built");
        return;
    }
    DigestFn* karpa = karpa_bench::symbol<DigestFn>(karpa_bench::openLibrary("crypto"), "md5_hash");
    if (!karpa_bench::sameOutput(state, karpa("abc", 3), fn("abc", 3))) return;
    for (auto _ : state) benchmark::DoNotOptimize(fn("abc", 3));
}

// ---- one float value per call ----
// The five min/max exports of a one-value list: short decimals, and seventeen
// significant digits (the printer's hardest usual case).

const std::vector<std::string>& oneFloat17() {
    static const std::vector<std::string> v = [] {
        std::mt19937_64 rng(10);
        std::vector<std::string> out(kRing);
        char b[40];
        for (auto& s : out) {
            double x = double(rng() >> 11) * 0x1p-53 * 1000.0;
            if (rng() % 4 == 0) x = -x;
            std::snprintf(b, sizeof b, "%.17g", x);
            s = b;
        }
        return out;
    }();
    return v;
}

enum class Pick { min, max, both };
struct OneFloatCall {
    const char* library;
    const char* name;
    Pick pick;
    const std::vector<std::string>& (*ring)();
};

TextFn* exportOf(const OneFloatCall& call) {
    return karpa_bench::symbol<TextFn>(karpa_bench::openLibrary(call.library), call.name);
}

void BM_OneFloat_Karpa(benchmark::State& state, const OneFloatCall& call) {
    TextFn* fn = exportOf(call);
    const std::vector<std::string>& ring = call.ring();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fn(ring[i].c_str()));
        i = (i + 1) % kRing;
    }
}

#if KARPA_PEER_FAST_FLOAT
// The peer's job: NaN skipped, as the exports do; the text as repr writes it.
template <class Print>
void oneFloatInProcess(benchmark::State& state, const OneFloatCall& call, Print print) {
    auto job = [&](const std::string& text) {
        const std::vector<double> xs = karpa_bench::readDoublesFastFloat(text);
        double lo = 0.0, hi = 0.0;
        bool any = false;
        for (double x : xs) {
            if (std::isnan(x)) continue;
            if (!any || x < lo) lo = x;
            if (!any || x > hi) hi = x;
            any = true;
        }
        switch (call.pick) {
            case Pick::min: return print(lo);
            case Pick::max: return print(hi);
            case Pick::both: break;
        }
        return print(lo) + "," + print(hi);
    };
    const std::vector<std::string>& ring = call.ring();
    for (const std::string& s : ring) {
        if (!karpa_bench::sameOutput(state, exportOf(call)(s.c_str()), job(s))) return;
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(job(ring[i]));
        i = (i + 1) % kRing;
    }
}
std::string shortestToChars(double x) {
    char b[40];
    char* p = std::to_chars(b, b + sizeof b, x).ptr;
    bool plain = true;
    for (char* q = b; q < p; ++q) plain = plain && *q != '.' && *q != 'e' && *q != 'n' && *q != 'i';
    if (plain) {
        *p++ = '.';
        *p++ = '0';
    }
    return std::string(b, p);
}
void BM_OneFloat_ToChars(benchmark::State& state, const OneFloatCall& call) {
    oneFloatInProcess(state, call, shortestToChars);
}
#if KARPA_PEER_FMT
void BM_OneFloat_Fmt(benchmark::State& state, const OneFloatCall& call) {
    oneFloatInProcess(state, call, karpa_bench::shortestFmt);
}
#endif
#endif

const OneFloatCall kSeqMaxShort{"seq", "seq_reduce_max_float", Pick::max, oneFloat};
const OneFloatCall kSeqMax17{"seq", "seq_reduce_max_float", Pick::max, oneFloat17};
const OneFloatCall kSeqMin17{"seq", "seq_reduce_min_float", Pick::min, oneFloat17};
const OneFloatCall kCurMin17{"curried", "cur_min_float", Pick::min, oneFloat17};
const OneFloatCall kCurMax17{"curried", "cur_max_float", Pick::max, oneFloat17};
const OneFloatCall kCurMinMax17{"curried", "cur_minmax_float", Pick::both, oneFloat17};

}  // namespace

BENCHMARK(BM_Call_Empty_Peer);
BENCHMARK(BM_Call_SeqSumInt_Karpa);
BENCHMARK(BM_Call_CurSumInt_Karpa);
BENCHMARK(BM_Call_SumInt_Peer);
BENCHMARK(BM_Call_IsLeapYear_Karpa);
BENCHMARK(BM_Call_IsLeapYear_Peer);
BENCHMARK(BM_Call_TsToYmdhms_Karpa);
BENCHMARK(BM_Call_TsToYmdhms_Peer);
BENCHMARK(BM_Call_Md5_Karpa);
BENCHMARK(BM_Call_Md5_Peer);
#define KARPA_ONE_FLOAT(fn)                                    \
    BENCHMARK_CAPTURE(fn, seq_reduce_max_float_short, kSeqMaxShort); \
    BENCHMARK_CAPTURE(fn, seq_reduce_max_float_17, kSeqMax17);       \
    BENCHMARK_CAPTURE(fn, seq_reduce_min_float_17, kSeqMin17);       \
    BENCHMARK_CAPTURE(fn, cur_min_float_17, kCurMin17);              \
    BENCHMARK_CAPTURE(fn, cur_max_float_17, kCurMax17);              \
    BENCHMARK_CAPTURE(fn, cur_minmax_float_17, kCurMinMax17)
KARPA_ONE_FLOAT(BM_OneFloat_Karpa);
#if KARPA_PEER_FAST_FLOAT
KARPA_ONE_FLOAT(BM_OneFloat_ToChars);
#if KARPA_PEER_FMT
KARPA_ONE_FLOAT(BM_OneFloat_Fmt);
#endif
#endif

BENCHMARK_MAIN();
