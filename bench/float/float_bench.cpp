// Float reading through the loaded karpa_seq against a std::from_chars loop
// and against the strongest peers (fast_float, simdjson, a short-decimal fast path,
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
#include "tier.hpp"

#if KARPA_PEER_FMT
#include <fmt/compile.h>
#include <fmt/format.h>
#endif

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
#if KARPA_PEER_SIMDJSON
void BM_SumFloatPeer_Simdjson(benchmark::State& state) {
    sumFloatPeer(state, [](const std::string& t) { return karpa_bench::readDoublesSimdjson(t); });
}
#endif
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


// ---- Printer kernels: 1M values into one buffer ----------------------------
// Values of the table: short decimals ("%.3f" of [0, 1000)) and
// 17-digit values in [0, 1000), a quarter of each negative.
const std::vector<double>& printValues(int kind) {
    static std::vector<double> values[2];
    std::vector<double>& v = values[kind];
    if (!v.empty()) return v;
    std::mt19937_64 rng(kind == kShort ? 23 : 29);
    while (v.size() < static_cast<size_t>(kCount)) {
        double x;
        if (kind == kShort) {
            x = static_cast<double>(rng() % 1000000) / 1000.0;
        } else {
            x = static_cast<double>(rng() >> 11) * 0x1p-53 * 1000.0;
            char t[32];
            std::snprintf(t, sizeof t, "%.16e", x);  // a value with 17 significant digits
            x = std::strtod(t, nullptr);
        }
        v.push_back(rng() % 4 == 0 ? -x : x);
    }
    return v;
}

// Every value of `values` written by `write` into one buffer, one after another.
template <class T, class Write>
void writeAll(benchmark::State& state, const std::vector<T>& values, Write write) {
    static std::vector<char> buffer(static_cast<size_t>(kCount) * 40);
    for (auto _ : state) {
        char* p = buffer.data();
        for (const T x : values) p = write(p, x);
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
template <class Write>
void printKernel(benchmark::State& state, Write write) {
    writeAll(state, printValues(static_cast<int>(state.range(0))), write);
}

void BM_PrintShortest(benchmark::State& state) { printKernel(state, karpa::writeFloatRoundtrip); }
void BM_PrintShortestToChars(benchmark::State& state) {
    printKernel(state, [](char* p, double x) { return std::to_chars(p, p + 40, x).ptr; });
}
void BM_PrintGeneral(benchmark::State& state) { printKernel(state, karpa::writeFloatGeneral); }

const std::vector<int64_t>& intValues(int kind) {
    static std::vector<int64_t> values[2];
    std::vector<int64_t>& v = values[kind];
    if (!v.empty()) return v;
    std::mt19937_64 rng(31);
    for (int i = 0; i < kCount; ++i) {
        // kind 0: up to six digits; kind 1: any width, digit counts uniform.
        const uint64_t limit = kind == 0 ? 1000000 : karpa::kPowersOf10[1 + rng() % 18];
        const int64_t x = static_cast<int64_t>(rng() % limit);
        v.push_back(rng() % 4 == 0 ? -x : x);
    }
    return v;
}
template <class Write>
void intKernel(benchmark::State& state, Write write) {
    writeAll(state, intValues(static_cast<int>(state.range(0))), write);
}
void BM_PrintInt(benchmark::State& state) { intKernel(state, karpa::writeInt); }
void BM_PrintIntToChars(benchmark::State& state) {
    intKernel(state, [](char* p, int64_t x) { return std::to_chars(p, p + 24, x).ptr; });
}

#if KARPA_PEER_FMT
void BM_PrintShortestFmt(benchmark::State& state) {
    printKernel(state, [](char* p, double x) { return fmt::format_to(p, FMT_COMPILE("{}"), x); });
}
void BM_PrintGeneralFmt(benchmark::State& state) {
    printKernel(state, [](char* p, double x) { return fmt::format_to(p, FMT_COMPILE("{:g}"), x); });
}
void BM_PrintIntFmt(benchmark::State& state) {
    intKernel(state, [](char* p, int64_t x) {
        const fmt::format_int f(x);
        std::memcpy(p, f.data(), f.size());
        return p + f.size();
    });
}
#endif

BENCHMARK(BM_SumFloatList)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromCharsLoop)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
#if KARPA_PEER_FAST_FLOAT && KARPA_PEER_FMT
BENCHMARK(BM_SumFloatPeer_FastFloat)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumFloatPeer_ShortPath)->Arg(kShort)->Unit(benchmark::kMillisecond);
#if KARPA_PEER_SIMDJSON
BENCHMARK(BM_SumFloatPeer_Simdjson)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
#endif
#endif
BENCHMARK(BM_RoundtripDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToCharsShortest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintShortest)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintShortestToChars)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintGeneral)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintInt)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintIntToChars)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#if KARPA_PEER_FMT
BENCHMARK(BM_PrintShortestFmt)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintGeneralFmt)->Arg(kShort)->Arg(kSeventeenDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintIntFmt)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

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
    if (!karpa_bench::takeTierFlags(argc, argv)) return 2;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatio(reporter, "read short floats", "BM_SumFloatList/0", "BM_FromCharsLoop/0");
    printRatio(reporter, "read 17-digit floats", "BM_SumFloatList/1", "BM_FromCharsLoop/1");
    printRatio(reporter, "round-trip printing", "BM_RoundtripDigits", "BM_ToCharsShortest");
    for (const char* arg : {"0", "1"}) {
        const std::string a = std::string("/") + arg;
        printRatio(reporter, ("shortest/" + a).c_str(), "BM_PrintShortest" + a, "BM_PrintShortestToChars" + a);
        printRatio(reporter, ("shortest vs fmt" + a).c_str(), "BM_PrintShortest" + a, "BM_PrintShortestFmt" + a);
        printRatio(reporter, ("general vs fmt" + a).c_str(), "BM_PrintGeneral" + a, "BM_PrintGeneralFmt" + a);
        printRatio(reporter, ("int vs fmt::format_int" + a).c_str(), "BM_PrintInt" + a, "BM_PrintIntFmt" + a);
    }
    benchmark::Shutdown();
    return 0;
}
