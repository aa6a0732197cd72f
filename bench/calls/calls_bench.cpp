// The smallest call of each library against the same job in a dlopen'd C++
// function (bench/calls/peer_calls.cpp), both called through a pointer from
// dlsym, and an empty dlopen'd call as the floor of any such call. Also
// seq_reduce_max_float on one value per call against the same job done in
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

// ---- seq_reduce_max_float, one value per call ----

TextFn* maxFloat() {
    return karpa_bench::symbol<TextFn>(karpa_bench::openLibrary("seq"), "seq_reduce_max_float");
}

void BM_Call_MaxFloat_Karpa(benchmark::State& state) {
    TextFn* fn = maxFloat();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fn(oneFloat()[i].c_str()));
        i = (i + 1) % kRing;
    }
}

#if KARPA_PEER_FAST_FLOAT
// The peer's max: NaN skipped, as the export does; the text as repr writes it.
template <class Print>
void maxFloatInProcess(benchmark::State& state, Print print) {
    auto job = [&](const std::string& text) {
        const std::vector<double> xs = karpa_bench::readDoublesFastFloat(text);
        double m = 0.0;
        bool any = false;
        for (double x : xs) {
            if (std::isnan(x)) continue;
            if (!any || x > m) m = x;
            any = true;
        }
        return print(m);
    };
    for (const std::string& s : oneFloat()) {
        if (!karpa_bench::sameOutput(state, maxFloat()(s.c_str()), job(s))) return;
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(job(oneFloat()[i]));
        i = (i + 1) % kRing;
    }
}
void BM_Call_MaxFloat_ToChars(benchmark::State& state) {
    maxFloatInProcess(state, [](double x) {
        char b[40];
        char* p = std::to_chars(b, b + sizeof b, x).ptr;
        bool plain = true;
        for (char* q = b; q < p; ++q) plain = plain && *q != '.' && *q != 'e' && *q != 'n' && *q != 'i';
        if (plain) {
            *p++ = '.';
            *p++ = '0';
        }
        return std::string(b, p);
    });
}
#if KARPA_PEER_FMT
void BM_Call_MaxFloat_Fmt(benchmark::State& state) { maxFloatInProcess(state, karpa_bench::shortestFmt); }
#endif
#endif

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
BENCHMARK(BM_Call_MaxFloat_Karpa);
#if KARPA_PEER_FAST_FLOAT
BENCHMARK(BM_Call_MaxFloat_ToChars);
#if KARPA_PEER_FMT
BENCHMARK(BM_Call_MaxFloat_Fmt);
#endif
#endif

BENCHMARK_MAIN();
