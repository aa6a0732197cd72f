// Float reading through the loaded karpa_seq against a std::from_chars loop
// and against the strongest peers (fast_float, a short-decimal fast path,
// fmt), and shortest round-trip printing against std::to_chars, on the same
// data.
//
// The ratios (BM_SumFloatList/<kind> over BM_FromCharsLoop/<kind>, and
// BM_RoundtripDigits over BM_ToCharsShortest) are printed at the end, from the
// medians when run with --benchmark_repetitions.
#include <benchmark/benchmark.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "check.hpp"
#include "frame/codec/floatcodec.hpp"
#include "loader.hpp"
#include "peers.hpp"

namespace {

constexpr int kCount = 1000000;

enum Kind { kShort = 0, kSeventeenDigits = 1 };

// "12.375"-like values, or 17 significant digits over a wide range.
const std::string& listText(int kind) {
    static std::string texts[2];
    std::string& text = texts[kind];
    if (!text.empty()) return text;
    std::mt19937_64 rng(kind == kShort ? 11 : 17);
    char buffer[64];
    for (int i = 0; i < kCount; ++i) {
        if (kind == kShort) {
            std::snprintf(buffer, sizeof buffer, "%.3f", static_cast<double>(rng() % 1000000) / 1000.0);
        } else {
            const double magnitude = std::pow(10.0, static_cast<double>(rng() % 20) - 10.0);
            const double x = magnitude * (1.0 + static_cast<double>(rng() >> 11) * 0x1p-53 * 9.0);
            std::snprintf(buffer, sizeof buffer, "%.16e", x);
        }
        if (i) text += ',';
        text += buffer;
    }
    return text;
}

using SumFn = const char*(const char*);

void BM_SumFloatList(benchmark::State& state) {
    static void* lib = karpa_bench::openLibrary("seq");
    static SumFn* sum = karpa_bench::symbol<SumFn>(lib, "seq_reduce_sum_float");
    const std::string& text = listText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const char* r = sum(text.c_str());
        benchmark::DoNotOptimize(r);
        if (r == nullptr) state.SkipWithError("seq_reduce_sum_float failed");
    }
    state.SetItemsProcessed(state.iterations() * kCount);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

#if KARPA_PEER_FAST_FLOAT && KARPA_PEER_FMT
// The strongest peers, end to end on the same text: the list read with
// fast_float (or, for short decimals, the SWAR digits and Clinger's fast
// path), summed, printed with fmt as repr writes it; checked once first.
template <class Read>
void sumFloatPeer(benchmark::State& state, Read read) {
    static void* lib = karpa_bench::openLibrary("seq");
    static SumFn* sum = karpa_bench::symbol<SumFn>(lib, "seq_reduce_sum_float");
    const std::string& text = listText(static_cast<int>(state.range(0)));
    auto job = [&] {
        const std::vector<double> xs = read(text);
        double s = 0.0;
        for (const double x : xs) s += x;
        return karpa_bench::shortestFmt(s);
    };
    static bool checked[2] = {false, false};  // once per peer and input, not on every repetition
    if (!checked[state.range(0)] && !karpa_bench::sameOutput(state, sum(text.c_str()), job())) return;
    checked[state.range(0)] = true;
    for (auto _ : state) benchmark::DoNotOptimize(job());
    state.SetItemsProcessed(state.iterations() * kCount);
}
void BM_SumFloatPeer_FastFloat(benchmark::State& state) {
    sumFloatPeer(state, [](const std::string& t) { return karpa_bench::readDoublesFastFloat(t); });
}
void BM_SumFloatPeer_ShortPath(benchmark::State& state) {
    sumFloatPeer(state, [](const std::string& t) { return karpa_bench::readDoublesShort(t); });
}
#endif

// The anchor: parse each element with std::from_chars and add it up.
void BM_FromCharsLoop(benchmark::State& state) {
    const std::string& text = listText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const char* p = text.data();
        const char* const end = p + text.size();
        double s = 0.0;
        while (p < end) {
            double x;
            p = std::from_chars(p, end, x).ptr;
            s += x;
            ++p;  // the comma
        }
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

const std::vector<double>& randomFinite() {
    static std::vector<double> values;
    if (!values.empty()) return values;
    std::mt19937_64 rng(5);
    while (values.size() < static_cast<size_t>(kCount)) {
        const double x = std::bit_cast<double>(rng());
        if (std::isfinite(x) && x != 0.0) values.push_back(x);
    }
    return values;
}

void BM_RoundtripDigits(benchmark::State& state) {
    const std::vector<double>& values = randomFinite();
    char buffer[64];
    for (auto _ : state) {
        size_t total = 0;
        for (const double x : values) {
            const uint64_t bits = std::bit_cast<uint64_t>(x);
            buffer[0] = '-';  // kept when the sign bit is set
            const size_t pos = bits >> 63;
            const karpa::Decimal64 d =
                karpa::toDecimal64(bits & ((1ull << 52) - 1), static_cast<uint32_t>(bits >> 52) & 0x7FF);
            total += karpa::formatDigits(buffer, pos, d.significand, d.exponent, true);
            benchmark::DoNotOptimize(buffer);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_ToCharsShortest(benchmark::State& state) {
    const std::vector<double>& values = randomFinite();
    char buffer[64];
    for (auto _ : state) {
        size_t total = 0;
        for (const double x : values) {
            total += static_cast<size_t>(std::to_chars(buffer, buffer + sizeof buffer, x).ptr - buffer);
            benchmark::DoNotOptimize(buffer);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

BENCHMARK(BM_SumFloatList)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromCharsLoop)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
#if KARPA_PEER_FAST_FLOAT && KARPA_PEER_FMT
BENCHMARK(BM_SumFloatPeer_FastFloat)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumFloatPeer_ShortPath)->Arg(kShort)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_RoundtripDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToCharsShortest)->Unit(benchmark::kMillisecond);

// Console output as usual, plus the CPU time of every run (or of the median
// aggregate when repetitions are asked for) to compute the ratios at the end.
struct RatioReporter : benchmark::ConsoleReporter {
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    std::map<std::string, double> cpu;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || run.run_type == Run::RT_Iteration) cpu[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void printRatio(const RatioReporter& r, const char* name, const std::string& ours, const std::string& anchor) {
    const auto a = r.cpu.find(ours);
    const auto b = r.cpu.find(anchor);
    if (a == r.cpu.end() || b == r.cpu.end() || b->second <= 0) return;
    std::printf("ratio %-28s %.3f  (%s / %s, CPU time)\n", name, a->second / b->second, ours.c_str(), anchor.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatio(reporter, "read short floats", "BM_SumFloatList/0", "BM_FromCharsLoop/0");
    printRatio(reporter, "read 17-digit floats", "BM_SumFloatList/1", "BM_FromCharsLoop/1");
    printRatio(reporter, "round-trip printing", "BM_RoundtripDigits", "BM_ToCharsShortest");
    benchmark::Shutdown();
    return 0;
}
