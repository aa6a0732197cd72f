// karpa_seq exports against the same jobs done in this binary, end to end on
// the same text: with the standard library (std::from_chars to read, the
// matching algorithm, std::to_chars and one join to print), and with the
// strongest peers (the eight-digits-at-a-time reader, pdqsort, Highway's vqsort, abseil's
// flat_hash_set, fast_float, fmt), each checked once against Karpa's output.
// Also the bandwidth of strlen and memcpy over a 64 MiB buffer, the ceiling
// of any pass over text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "baseline.hpp"
#include "check.hpp"
#include "loader.hpp"
#include "peers.hpp"
#include "tier.hpp"

#if KARPA_PEER_ABSL
#include <absl/container/flat_hash_set.h>
#endif
#if KARPA_PEER_PDQSORT
#include <pdqsort.h>
#endif

namespace {

using TextFn = const char*(const char*);
using TextIntFn = const char*(const char*, int);

void* seqLibrary() {
    static void* handle = karpa_bench::openLibrary("seq");
    return handle;
}

constexpr size_t kItems = 1000000;

const std::string& intListText() {
    static const std::string text = [] {
        std::mt19937_64 rng(42);
        std::string s;
        for (size_t i = 0; i < kItems; ++i) {
            if (i) s += ',';
            s += std::to_string(static_cast<int64_t>(rng() % 2000000) - 1000000);
        }
        return s;
    }();
    return text;
}

// 1M random 44-bit integers: too spread out for counting, so the sort itself is timed.
const std::string& wideIntListText() {
    static const std::string text = [] {
        std::mt19937_64 rng(44);
        std::string s;
        for (size_t i = 0; i < kItems; ++i) {
            if (i) s += ',';
            s += std::to_string(static_cast<int64_t>(rng() >> 20) - (int64_t{1} << 43));
        }
        return s;
    }();
    return text;
}

const std::string& stringListText() {
    static const std::string text = [] {
        std::mt19937_64 rng(43);
        std::string s;
        for (size_t i = 0; i < kItems; ++i) {
            if (i) s += ',';
            const size_t length = 3 + rng() % 6;
            for (size_t k = 0; k < length; ++k) s += static_cast<char>('a' + rng() % 26);
        }
        return s;
    }();
    return text;
}

std::vector<int64_t> readInts(std::string_view text) { return karpa_bench::readNumbers<int64_t>(text); }
using karpa_bench::printInts;
using karpa_bench::joinItems;
using karpa_bench::splitItems;

void setBytes(benchmark::State& state, const std::string& text) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// --- integers ---------------------------------------------------------------

void BM_SortInt_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextIntFn>(seqLibrary(), "seq_sort_int");
    for (auto _ : state) benchmark::DoNotOptimize(fn(intListText().c_str(), 0));
    setBytes(state, intListText());
}
void BM_SortInt_Std(benchmark::State& state) {
    for (auto _ : state) {
        auto xs = readInts(intListText());
        std::stable_sort(xs.begin(), xs.end());
        benchmark::DoNotOptimize(printInts(xs));
    }
    setBytes(state, intListText());
}

void BM_SortWideInt_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextIntFn>(seqLibrary(), "seq_sort_int");
    for (auto _ : state) benchmark::DoNotOptimize(fn(wideIntListText().c_str(), 0));
    setBytes(state, wideIntListText());
}
void BM_SortWideInt_Std(benchmark::State& state) {
    for (auto _ : state) {
        auto xs = readInts(wideIntListText());
        std::stable_sort(xs.begin(), xs.end());
        benchmark::DoNotOptimize(printInts(xs));
    }
    setBytes(state, wideIntListText());
}

void BM_SumInt_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextFn>(seqLibrary(), "seq_reduce_sum_int");
    for (auto _ : state) benchmark::DoNotOptimize(fn(intListText().c_str()));
    setBytes(state, intListText());
}
void BM_SumInt_Std(benchmark::State& state) {
    for (auto _ : state) {
        auto xs = readInts(intListText());
        int64_t s = 0;
        for (int64_t x : xs) {
            if (__builtin_add_overflow(s, x, &s)) std::abort();
        }
        char buffer[24];
        benchmark::DoNotOptimize(std::string(buffer, std::to_chars(buffer, buffer + 24, s).ptr));
    }
    setBytes(state, intListText());
}

void BM_UniqueInt_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextFn>(seqLibrary(), "seq_unique_int");
    for (auto _ : state) benchmark::DoNotOptimize(fn(intListText().c_str()));
    setBytes(state, intListText());
}
void BM_UniqueInt_Std(benchmark::State& state) {
    for (auto _ : state) {
        auto xs = readInts(intListText());
        std::unordered_set<int64_t> seen;
        std::vector<int64_t> out;
        out.reserve(xs.size());
        for (int64_t x : xs) {
            if (seen.insert(x).second) out.push_back(x);
        }
        benchmark::DoNotOptimize(printInts(out));
    }
    setBytes(state, intListText());
}

void BM_ReverseInt_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextFn>(seqLibrary(), "seq_reverse_int");
    for (auto _ : state) benchmark::DoNotOptimize(fn(intListText().c_str()));
    setBytes(state, intListText());
}
void BM_ReverseInt_Std(benchmark::State& state) {
    for (auto _ : state) {
        auto xs = readInts(intListText());
        std::reverse(xs.begin(), xs.end());
        benchmark::DoNotOptimize(printInts(xs));
    }
    setBytes(state, intListText());
}

// --- strings ----------------------------------------------------------------

void BM_SortString_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextIntFn>(seqLibrary(), "seq_sort_string");
    for (auto _ : state) benchmark::DoNotOptimize(fn(stringListText().c_str(), 0));
    setBytes(state, stringListText());
}
void BM_SortString_Std(benchmark::State& state) {
    for (auto _ : state) {
        auto items = splitItems(stringListText());
        std::stable_sort(items.begin(), items.end());
        benchmark::DoNotOptimize(joinItems(items));
    }
    setBytes(state, stringListText());
}

void BM_UniqueString_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextFn>(seqLibrary(), "seq_unique_string");
    for (auto _ : state) benchmark::DoNotOptimize(fn(stringListText().c_str()));
    setBytes(state, stringListText());
}
void BM_UniqueString_Std(benchmark::State& state) {
    for (auto _ : state) {
        auto items = splitItems(stringListText());
        std::unordered_set<std::string_view> seen;
        std::vector<std::string_view> out;
        out.reserve(items.size());
        for (auto s : items) {
            if (seen.insert(s).second) out.push_back(s);
        }
        benchmark::DoNotOptimize(joinItems(out));
    }
    setBytes(state, stringListText());
}

// --- floats in general form ("1.23457e-05", "-42", "0.125") -----------------

const std::string& floatListText() {
    static const std::string text = [] {
        std::mt19937_64 rng(44);
        std::string s;
        char b[32];
        for (size_t i = 0; i < kItems; ++i) {
            const double m = 1.0 + double(rng() >> 11) * 0x1p-53 * 9.0;
            const double x = m * std::pow(10.0, double(int(rng() % 17) - 8)) * (rng() & 1 ? -1.0 : 1.0);
            if (i) s += ',';
            s.append(b, size_t(std::snprintf(b, sizeof b, "%g", x)));
        }
        return s;
    }();
    return text;
}

std::string printDoublesGeneralStd(const std::vector<double>& xs) {
    std::string out;
    out.resize(xs.size() * 16 + 1);
    char* p = out.data();
    for (size_t i = 0; i < xs.size(); ++i) {
        if (i) *p++ = ',';
        p = std::to_chars(p, p + 16, xs[i], std::chars_format::general, 6).ptr;
    }
    out.resize(size_t(p - out.data()));
    return out;
}

const char* seqAnswer(const char* name, const std::string& text) {
    return karpa_bench::symbol<TextFn>(seqLibrary(), name)(text.c_str());
}
const char* seqAnswer0(const char* name, const std::string& text) {
    return karpa_bench::symbol<TextIntFn>(seqLibrary(), name)(text.c_str(), 0);
}

// Times job (which returns the result text) after checking it once against
// the export's answer on the same text.
template <class Answer, class Job>
void timedPeer(benchmark::State& state, Answer karpaAnswer, const std::string& text, Job job) {
    static bool checked = false;  // once per peer (Job is its own type), not on every repetition
    if (!checked && !karpa_bench::sameOutput(state, karpaAnswer(), job())) return;
    checked = true;
    for (auto _ : state) benchmark::DoNotOptimize(job());
    setBytes(state, text);
}

void BM_ReverseFloat_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextFn>(seqLibrary(), "seq_reverse_float");
    for (auto _ : state) benchmark::DoNotOptimize(fn(floatListText().c_str()));
    setBytes(state, floatListText());
}
void BM_ReverseFloat_Std(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer("seq_reverse_float", floatListText()); }, floatListText(), [] {
        auto xs = karpa_bench::readNumbers<double>(floatListText());
        std::reverse(xs.begin(), xs.end());
        return printDoublesGeneralStd(xs);
    });
}

void BM_SortFloat_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextIntFn>(seqLibrary(), "seq_sort_float");
    for (auto _ : state) benchmark::DoNotOptimize(fn(floatListText().c_str(), 0));
    setBytes(state, floatListText());
}
void BM_SortFloat_Std(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer0("seq_sort_float", floatListText()); }, floatListText(), [] {
        auto xs = karpa_bench::readNumbers<double>(floatListText());
        std::stable_sort(xs.begin(), xs.end());
        return printDoublesGeneralStd(xs);
    });
}

// --- the strongest peers ------------------------------------------------------

#if KARPA_PEER_PDQSORT
void BM_SortInt_PeerPdq(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer0("seq_sort_int", intListText()); }, intListText(), [] {
        auto xs = karpa_bench::readIntsSwar(intListText());
        pdqsort_branchless(xs.begin(), xs.end());
        return printInts(xs);
    });
}
#endif

#if KARPA_PEER_VQSORT
void BM_SortInt_PeerVqsort(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer0("seq_sort_int", intListText()); }, intListText(), [] {
        auto xs = karpa_bench::readIntsSwar(intListText());
        karpa_bench::sortIntsVqsort(xs);
        return printInts(xs);
    });
}
void BM_SortWideInt_PeerVqsort(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer0("seq_sort_int", wideIntListText()); }, wideIntListText(), [] {
        auto xs = karpa_bench::readIntsSwar(wideIntListText());
        karpa_bench::sortIntsVqsort(xs);
        return printInts(xs);
    });
}
#endif

void BM_SumInt_PeerSwar(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer("seq_reduce_sum_int", intListText()); }, intListText(), [] {
        const std::string& t = intListText();
        int64_t s = 0;
        if (!karpa_bench::sumIntsSwar(t.data(), t.data() + t.size(), s)) std::abort();
        return karpa_bench::printInt(s);
    });
}

#if KARPA_PEER_ABSL
void BM_UniqueInt_PeerAbsl(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer("seq_unique_int", intListText()); }, intListText(), [] {
        const auto xs = karpa_bench::readIntsSwar(intListText());
        absl::flat_hash_set<int64_t> seen;
        seen.reserve(xs.size());
        std::vector<int64_t> out;
        out.reserve(xs.size());
        for (int64_t x : xs) {
            if (seen.insert(x).second) out.push_back(x);
        }
        return printInts(out);
    });
}
#endif

void BM_ReverseInt_PeerSwar(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer("seq_reverse_int", intListText()); }, intListText(), [] {
        auto xs = karpa_bench::readIntsSwar(intListText());
        std::reverse(xs.begin(), xs.end());
        return printInts(xs);
    });
}

#if KARPA_PEER_FMT
void BM_ReverseInt_PeerSwarFmt(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer("seq_reverse_int", intListText()); }, intListText(), [] {
        auto xs = karpa_bench::readIntsSwar(intListText());
        std::reverse(xs.begin(), xs.end());
        return karpa_bench::printIntsFmt(xs);
    });
}
#endif

#if KARPA_PEER_PDQSORT
void BM_SortString_PeerPdq(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer0("seq_sort_string", stringListText()); }, stringListText(), [] {
        auto items = splitItems(stringListText());
        pdqsort(items.begin(), items.end());
        return joinItems(items);
    });
}
#endif

#if KARPA_PEER_ABSL
void BM_UniqueString_PeerAbsl(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer("seq_unique_string", stringListText()); }, stringListText(), [] {
        const auto items = splitItems(stringListText());
        absl::flat_hash_set<std::string_view> seen;
        seen.reserve(items.size());
        std::vector<std::string_view> out;
        out.reserve(items.size());
        for (auto s : items) {
            if (seen.insert(s).second) out.push_back(s);
        }
        return joinItems(out);
    });
}
#endif

#if KARPA_PEER_FAST_FLOAT
#if KARPA_PEER_FMT
void BM_ReverseFloat_PeerFastFloatFmt(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer("seq_reverse_float", floatListText()); }, floatListText(), [] {
        auto xs = karpa_bench::readDoublesFastFloat(floatListText());
        std::reverse(xs.begin(), xs.end());
        return karpa_bench::printDoublesGeneralFmt(xs);
    });
}
void BM_SortFloat_PeerFastFloatFmt(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer0("seq_sort_float", floatListText()); }, floatListText(), [] {
        auto xs = karpa_bench::readDoublesFastFloat(floatListText());
        std::stable_sort(xs.begin(), xs.end());
        return karpa_bench::printDoublesGeneralFmt(xs);
    });
}
#endif  // KARPA_PEER_FMT

// fast_float to read, std::to_chars (%g's six digits) to print.
void BM_ReverseFloat_PeerFastFloatToChars(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer("seq_reverse_float", floatListText()); }, floatListText(), [] {
        auto xs = karpa_bench::readDoublesFastFloat(floatListText());
        std::reverse(xs.begin(), xs.end());
        return printDoublesGeneralStd(xs);
    });
}
void BM_SortFloat_PeerFastFloatToChars(benchmark::State& state) {
    timedPeer(state, [] { return seqAnswer0("seq_sort_float", floatListText()); }, floatListText(), [] {
        auto xs = karpa_bench::readDoublesFastFloat(floatListText());
        std::stable_sort(xs.begin(), xs.end());
        return printDoublesGeneralStd(xs);
    });
}
#endif

// --- the ceiling: one pass over memory ----------------------------------------

constexpr size_t kBandwidthBytes = size_t(64) << 20;

void BM_Bandwidth_Strlen(benchmark::State& state) {
    static const std::string big(kBandwidthBytes, 'a');
    for (auto _ : state) benchmark::DoNotOptimize(std::strlen(big.c_str()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBandwidthBytes));
}
void BM_Bandwidth_Memcpy(benchmark::State& state) {
    static const std::string from(kBandwidthBytes, 'a');
    static std::string to(kBandwidthBytes, 'b');
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kBandwidthBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBandwidthBytes));
}

}  // namespace

BENCHMARK(BM_SortInt_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortInt_Std)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortWideInt_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortWideInt_Std)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumInt_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumInt_Std)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UniqueInt_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UniqueInt_Std)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseInt_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseInt_Std)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortString_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortString_Std)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UniqueString_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UniqueString_Std)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseFloat_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseFloat_Std)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortFloat_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortFloat_Std)->Unit(benchmark::kMillisecond);
#if KARPA_PEER_PDQSORT
BENCHMARK(BM_SortInt_PeerPdq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortString_PeerPdq)->Unit(benchmark::kMillisecond);
#endif
#if KARPA_PEER_VQSORT
BENCHMARK(BM_SortInt_PeerVqsort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortWideInt_PeerVqsort)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_SumInt_PeerSwar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseInt_PeerSwar)->Unit(benchmark::kMillisecond);
#if KARPA_PEER_FMT
BENCHMARK(BM_ReverseInt_PeerSwarFmt)->Unit(benchmark::kMillisecond);
#endif
#if KARPA_PEER_ABSL
BENCHMARK(BM_UniqueInt_PeerAbsl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UniqueString_PeerAbsl)->Unit(benchmark::kMillisecond);
#endif
#if KARPA_PEER_FAST_FLOAT
#if KARPA_PEER_FMT
BENCHMARK(BM_ReverseFloat_PeerFastFloatFmt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortFloat_PeerFastFloatFmt)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_ReverseFloat_PeerFastFloatToChars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortFloat_PeerFastFloatToChars)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_Bandwidth_Strlen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bandwidth_Memcpy)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!karpa_bench::takeTierFlags(argc, argv)) return 2;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
