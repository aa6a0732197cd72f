// karpa_curried exports, called through the loaded library, against the same
// jobs done with the standard library in this binary: std::from_chars to
// read, a plain loop or std::stable_sort to compute, std::to_chars to print;
// the string sets against std::unordered_set<std::string_view>. And against
// the strongest peers: the eight-digits-at-a-time reader, fast_float (or a
// short-decimal fast path), simdjson, nth_element, abseil's flat_hash_set,
// fmt; each peer is checked once against the export's exact text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

namespace {

using Text1 = const char*(const char*);
using Text2 = const char*(const char*, const char*);

void* library() {
    static void* handle = karpa_bench::openLibrary("curried");
    return handle;
}

constexpr size_t kItems = 1000000;

template <class Make>
std::string listText(uint64_t seed, Make make) {
    std::mt19937_64 rng(seed);
    std::string s;
    for (size_t i = 0; i < kItems; ++i) {
        if (i) s += ',';
        s += make(rng);
    }
    return s;
}

// Integers in +-10^9 (medians), in +-10^6 (dot products that cannot overflow).
const std::string& wideInts() {
    static const std::string s = listText(1, [](auto& rng) { return std::to_string(int64_t(rng() % 2000000001) - 1000000000); });
    return s;
}
const std::string& dotInts(uint64_t seed) {
    static const std::string a = listText(2, [](auto& rng) { return std::to_string(int64_t(rng() % 2000001) - 1000000); });
    static const std::string b = listText(3, [](auto& rng) { return std::to_string(int64_t(rng() % 2000001) - 1000000); });
    return seed == 2 ? a : b;
}

// Floats as data usually arrives: a few decimals ("-123.4567").
const std::string& shortFloats() {
    static const std::string s = listText(4, [](auto& rng) {
        char b[32];
        const int n = std::snprintf(b, sizeof b, "%.4f", std::uniform_real_distribution<double>(-1000, 1000)(rng));
        return std::string(b, size_t(n));
    });
    return s;
}
// Floats printed in full round-trip precision (mostly 16-17 digits).
const std::string& fullFloats() {
    static const std::string s = listText(5, [](auto& rng) {
        char b[32];
        const auto r = std::to_chars(b, b + sizeof b, std::uniform_real_distribution<double>(-1000, 1000)(rng));
        return std::string(b, r.ptr);
    });
    return s;
}

// Short words from a pool of 300,000, so about a third repeat.
const std::string& words(uint64_t seed) {
    static const std::string a = listText(6, [](auto& rng) { return "w" + std::to_string(rng() % 300000); });
    static const std::string b = listText(7, [](auto& rng) { return "w" + std::to_string(rng() % 300000); });
    return seed == 6 ? a : b;
}

// ---- the baseline jobs ----

using karpa_bench::joinItems;
using karpa_bench::readNumbers;
using karpa_bench::splitItems;

std::string shortest(double x) {
    char b[32];
    return std::string(b, std::to_chars(b, b + sizeof b, x).ptr);
}
std::string general(double x) {
    char b[32];
    return std::string(b, std::to_chars(b, b + sizeof b, x, std::chars_format::general, 6).ptr);
}
std::string decimal(int64_t x) {
    char b[24];
    return std::string(b, std::to_chars(b, b + sizeof b, x).ptr);
}

std::string baseSumFloat(const std::string& text) {
    const auto xs = readNumbers<double>(text);
    double s = 0.0;
    for (double x : xs) s = s + x;
    return shortest(s);
}

std::string baseVarianceFloat(const std::string& text) {
    const auto xs = readNumbers<double>(text);
    const double n = double(xs.size());
    double s = 0.0;
    for (double x : xs) s = s + x;
    const double m = s / n;
    double q = 0.0;
    for (double x : xs) q = q + (x - m) * (x - m);
    return general(q / n);
}

std::string baseMedianInt(const std::string& text) {
    auto xs = readNumbers<int64_t>(text);
    std::stable_sort(xs.begin(), xs.end());
    const size_t n = xs.size();
    const double m = n % 2 ? double(xs[n / 2]) : (double(xs[n / 2 - 1]) + double(xs[n / 2])) * 0.5;
    return general(m);
}

std::string baseDotInt(const std::string& a, const std::string& b) {
    const auto xs = readNumbers<int64_t>(a);
    const auto ys = readNumbers<int64_t>(b);
    int64_t acc = 0;
    for (size_t i = 0; i < std::min(xs.size(), ys.size()); ++i) {
        int64_t p;
        if (__builtin_mul_overflow(xs[i], ys[i], &p) || __builtin_add_overflow(acc, p, &acc)) std::abort();
    }
    return decimal(acc);
}

std::string baseDistinct(const std::string& text) {
    const auto xs = splitItems(text);
    std::unordered_set<std::string_view> seen;
    std::vector<std::string_view> out;
    out.reserve(xs.size());
    for (auto x : xs) {
        if (seen.insert(x).second) out.push_back(x);
    }
    return joinItems(out);
}

std::string baseUnion(const std::string& a, const std::string& b) {
    const auto xs = splitItems(a);
    const auto ys = splitItems(b);
    std::unordered_set<std::string_view> seen;
    std::vector<std::string_view> out;
    out.reserve(xs.size() + ys.size());
    for (auto x : xs) {
        if (seen.insert(x).second) out.push_back(x);
    }
    for (auto y : ys) {
        if (seen.insert(y).second) out.push_back(y);
    }
    return joinItems(out);
}

std::string baseIntersect(const std::string& a, const std::string& b) {
    const auto xs = splitItems(a);
    const auto ys = splitItems(b);
    const std::unordered_set<std::string_view> inB(ys.begin(), ys.end());
    std::unordered_set<std::string_view> seen;
    std::vector<std::string_view> out;
    for (auto x : xs) {
        if (inB.count(x) && seen.insert(x).second) out.push_back(x);
    }
    return joinItems(out);
}

// ---- benchmarks: each export next to its baseline, checked to agree once ----

void agree(const char* what, const char* exported, const std::string& baseline, bool numeric = false) {
    if (exported == nullptr) {
        std::fprintf(stderr, "%s: the export failed\n", what);
        std::exit(1);
    }
    const bool same = numeric ? std::strtod(exported, nullptr) == std::strtod(baseline.c_str(), nullptr)
                              : baseline == exported;
    if (!same) {
        std::fprintf(stderr, "%s: export and baseline differ: %.60s | %.60s\n", what, exported, baseline.c_str());
        std::exit(1);
    }
}

void runExport1(benchmark::State& state, const char* name, const std::string& text) {
    auto* fn = karpa_bench::symbol<Text1>(library(), name);
    for (auto _ : state) benchmark::DoNotOptimize(fn(text.c_str()));
    state.SetItemsProcessed(int64_t(state.iterations() * kItems));
    state.SetBytesProcessed(int64_t(state.iterations() * text.size()));
}

void runExport2(benchmark::State& state, const char* name, const std::string& a, const std::string& b) {
    auto* fn = karpa_bench::symbol<Text2>(library(), name);
    for (auto _ : state) benchmark::DoNotOptimize(fn(a.c_str(), b.c_str()));
    state.SetItemsProcessed(int64_t(state.iterations() * kItems));
    state.SetBytesProcessed(int64_t(state.iterations() * (a.size() + b.size())));
}

template <class Base>
void runBase(benchmark::State& state, Base base) {
    for (auto _ : state) benchmark::DoNotOptimize(base());
    state.SetItemsProcessed(int64_t(state.iterations() * kItems));
}

void checkAgreement() {
    auto one = [](const char* n) { return karpa_bench::symbol<Text1>(library(), n); };
    auto two = [](const char* n) { return karpa_bench::symbol<Text2>(library(), n); };
    agree("sum_float short", one("cur_sum_float")(shortFloats().c_str()), baseSumFloat(shortFloats()), true);
    agree("sum_float full", one("cur_sum_float")(fullFloats().c_str()), baseSumFloat(fullFloats()), true);
    agree("variance_float", one("cur_variance_float")(shortFloats().c_str()), baseVarianceFloat(shortFloats()));
    agree("median_int", one("cur_median_int")(wideInts().c_str()), baseMedianInt(wideInts()));
    agree("dot_int", two("cur_dot_int")(dotInts(2).c_str(), dotInts(3).c_str()), baseDotInt(dotInts(2), dotInts(3)));
    agree("distinct_string", one("cur_distinct_string")(words(6).c_str()), baseDistinct(words(6)));
    agree("union_string", two("cur_union_string")(words(6).c_str(), words(7).c_str()), baseUnion(words(6), words(7)));
    agree("intersect_string", two("cur_intersect_string")(words(6).c_str(), words(7).c_str()),
          baseIntersect(words(6), words(7)));
}

#define PAIR(name, exportRun, baseRun)                                                           \
    void BM_##name##_export(benchmark::State& state) { exportRun; }                           \
    void BM_##name##_baseline(benchmark::State& state) { baseRun; }                           \
    BENCHMARK(BM_##name##_export)->Unit(benchmark::kMillisecond);              \
    BENCHMARK(BM_##name##_baseline)->Unit(benchmark::kMillisecond);

PAIR(sum_float_short, runExport1(state, "cur_sum_float", shortFloats()),
     runBase(state, [] { return baseSumFloat(shortFloats()); }))
PAIR(sum_float_full, runExport1(state, "cur_sum_float", fullFloats()),
     runBase(state, [] { return baseSumFloat(fullFloats()); }))
PAIR(variance_float, runExport1(state, "cur_variance_float", shortFloats()),
     runBase(state, [] { return baseVarianceFloat(shortFloats()); }))
PAIR(median_int, runExport1(state, "cur_median_int", wideInts()),
     runBase(state, [] { return baseMedianInt(wideInts()); }))

PAIR(dot_int, runExport2(state, "cur_dot_int", dotInts(2), dotInts(3)),
     runBase(state, [] { return baseDotInt(dotInts(2), dotInts(3)); }))
PAIR(distinct_string, runExport1(state, "cur_distinct_string", words(6)),
     runBase(state, [] { return baseDistinct(words(6)); }))
PAIR(union_string, runExport2(state, "cur_union_string", words(6), words(7)),
     runBase(state, [] { return baseUnion(words(6), words(7)); }))
PAIR(intersect_string, runExport2(state, "cur_intersect_string", words(6), words(7)),
     runBase(state, [] { return baseIntersect(words(6), words(7)); }))

// ---- the strongest peers, each checked against the export's text first ----

template <class Answer, class Job>
void runPeer(benchmark::State& state, Answer answer, Job job) {
    static bool checked = false;  // once per peer (Job is its own type), not on every repetition
    if (!checked && !karpa_bench::sameOutput(state, answer(), job())) return;
    checked = true;
    for (auto _ : state) benchmark::DoNotOptimize(job());
    state.SetItemsProcessed(int64_t(state.iterations() * kItems));
}
const char* answer1(const char* name, const std::string& a) {
    return karpa_bench::symbol<Text1>(library(), name)(a.c_str());
}
const char* answer2(const char* name, const std::string& a, const std::string& b) {
    return karpa_bench::symbol<Text2>(library(), name)(a.c_str(), b.c_str());
}

#if KARPA_PEER_FAST_FLOAT && KARPA_PEER_FMT
template <class Read>
std::string peerSumFloat(const std::string& text, Read read) {
    const auto xs = read(text);
    double s = 0.0;
    for (double x : xs) s = s + x;
    return karpa_bench::shortestFmt(s);
}
template <class Read>
std::string peerVarianceFloat(const std::string& text, Read read) {
    const auto xs = read(text);
    const double n = double(xs.size());
    double s = 0.0;
    for (double x : xs) s = s + x;
    const double m = s / n;
    double q = 0.0;
    for (double x : xs) q = q + (x - m) * (x - m);
    return karpa_bench::generalFmt(q / n);
}
auto fastFloat = [](const std::string& t) { return karpa_bench::readDoublesFastFloat(t); };
auto shortPath = [](const std::string& t) { return karpa_bench::readDoublesShort(t); };

void BM_sum_float_short_peer_fastfloat(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_sum_float", shortFloats()); }, [] { return peerSumFloat(shortFloats(), fastFloat); });
}
void BM_sum_float_short_peer_shortpath(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_sum_float", shortFloats()); }, [] { return peerSumFloat(shortFloats(), shortPath); });
}
void BM_sum_float_full_peer_fastfloat(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_sum_float", fullFloats()); }, [] { return peerSumFloat(fullFloats(), fastFloat); });
}
void BM_variance_float_peer_fastfloat(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_variance_float", shortFloats()); },
            [] { return peerVarianceFloat(shortFloats(), fastFloat); });
}
void BM_variance_float_peer_shortpath(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_variance_float", shortFloats()); },
            [] { return peerVarianceFloat(shortFloats(), shortPath); });
}
#if KARPA_PEER_SIMDJSON
auto simdjsonArray = [](const std::string& t) { return karpa_bench::readDoublesSimdjson(t); };
void BM_sum_float_short_peer_simdjson(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_sum_float", shortFloats()); }, [] { return peerSumFloat(shortFloats(), simdjsonArray); });
}
void BM_sum_float_full_peer_simdjson(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_sum_float", fullFloats()); }, [] { return peerSumFloat(fullFloats(), simdjsonArray); });
}
BENCHMARK(BM_sum_float_short_peer_simdjson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sum_float_full_peer_simdjson)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_sum_float_short_peer_fastfloat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sum_float_short_peer_shortpath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sum_float_full_peer_fastfloat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_variance_float_peer_fastfloat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_variance_float_peer_shortpath)->Unit(benchmark::kMillisecond);
#endif

std::string medianText(double m) { return general(m); }

// The median needs no full sort: nth_element finds the upper middle, the
// largest of the part before it is the lower middle.
void BM_median_int_peer_nth(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_median_int", wideInts()); }, [] {
        auto xs = karpa_bench::readIntsSwar(wideInts());
        const size_t n = xs.size();
        std::nth_element(xs.begin(), xs.begin() + long(n / 2), xs.end());
        const double upper = double(xs[n / 2]);
        if (n % 2) return medianText(upper);
        const double lower = double(*std::max_element(xs.begin(), xs.begin() + long(n / 2)));
        return medianText((lower + upper) * 0.5);
    });
}
BENCHMARK(BM_median_int_peer_nth)->Unit(benchmark::kMillisecond);

void BM_dot_int_peer_swar(benchmark::State& state) {
    runPeer(state, [] { return answer2("cur_dot_int", dotInts(2), dotInts(3)); }, [] {
        const auto xs = karpa_bench::readIntsSwar(dotInts(2));
        const auto ys = karpa_bench::readIntsSwar(dotInts(3));
        int64_t acc = 0;
        for (size_t i = 0; i < std::min(xs.size(), ys.size()); ++i) {
            int64_t p;
            if (__builtin_mul_overflow(xs[i], ys[i], &p) || __builtin_add_overflow(acc, p, &acc)) std::abort();
        }
        return karpa_bench::printInt(acc);
    });
}
BENCHMARK(BM_dot_int_peer_swar)->Unit(benchmark::kMillisecond);

#if KARPA_PEER_ABSL
using FlatSet = absl::flat_hash_set<std::string_view>;

void BM_distinct_string_peer_absl(benchmark::State& state) {
    runPeer(state, [] { return answer1("cur_distinct_string", words(6)); }, [] {
        const auto xs = splitItems(words(6));
        FlatSet seen;
        seen.reserve(xs.size());
        std::vector<std::string_view> out;
        out.reserve(xs.size());
        for (auto x : xs) {
            if (seen.insert(x).second) out.push_back(x);
        }
        return joinItems(out);
    });
}
void BM_union_string_peer_absl(benchmark::State& state) {
    runPeer(state, [] { return answer2("cur_union_string", words(6), words(7)); }, [] {
        const auto xs = splitItems(words(6));
        const auto ys = splitItems(words(7));
        FlatSet seen;
        seen.reserve(xs.size() + ys.size());
        std::vector<std::string_view> out;
        out.reserve(xs.size() + ys.size());
        for (auto x : xs) {
            if (seen.insert(x).second) out.push_back(x);
        }
        for (auto y : ys) {
            if (seen.insert(y).second) out.push_back(y);
        }
        return joinItems(out);
    });
}
void BM_intersect_string_peer_absl(benchmark::State& state) {
    runPeer(state, [] { return answer2("cur_intersect_string", words(6), words(7)); }, [] {
        const auto xs = splitItems(words(6));
        const auto ys = splitItems(words(7));
        const FlatSet inB(ys.begin(), ys.end());
        FlatSet seen;
        std::vector<std::string_view> out;
        for (auto x : xs) {
            if (inB.contains(x) && seen.insert(x).second) out.push_back(x);
        }
        return joinItems(out);
    });
}
BENCHMARK(BM_distinct_string_peer_absl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_union_string_peer_absl)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_intersect_string_peer_absl)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) {
    if (!karpa_bench::takeTierFlags(argc, argv)) return 2;
    checkAgreement();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
