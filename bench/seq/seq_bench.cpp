// karpa_seq exports against the same jobs done with the standard library in
// this binary: std::from_chars to read, the matching algorithm, std::to_chars
// and one join to print.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "baseline.hpp"
#include "loader.hpp"

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

// --- one small call end to end ---------------------------------------------

void BM_SmallCall_Karpa(benchmark::State& state) {
    auto fn = karpa_bench::symbol<TextFn>(seqLibrary(), "seq_reduce_sum_int");
    for (auto _ : state) benchmark::DoNotOptimize(fn("1,2,3"));
}

}  // namespace

BENCHMARK(BM_SortInt_Karpa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortInt_Std)->Unit(benchmark::kMillisecond);
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
BENCHMARK(BM_SmallCall_Karpa);

BENCHMARK_MAIN();
