// All four libraries in one process under load: sixteen threads calling
// every library, failing calls interleaved with valid ones, every result
// checked exactly; resident memory stays flat because each thread's call
// memory is reused, not grown. Thousands of short-lived threads leave
// nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cinttypes>
#include <functional>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "libraries.hpp"

using namespace karpa_test;
namespace chr = std::chrono;

namespace {

#ifdef KARPA_INSTRUMENTED_BUILD
constexpr int kCallsPerThread = 50'000;
constexpr int kShortLivedThreads = 1'000;
#else
constexpr int kCallsPerThread = 100'000;
constexpr int kShortLivedThreads = 4'000;
#endif
constexpr int kThreads = 16;

// One call with its exact expected result (no value: the call must fail).
struct Case {
    std::string name;
    std::function<Text()> call;
    Text expected;
};

std::string joined(const std::vector<int64_t>& xs) {
    std::string out;
    for (size_t i = 0; i < xs.size(); ++i) out += (i ? "," : "") + std::to_string(xs[i]);
    return out;
}

std::string general(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string twoDigits(int64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); }

std::string dateText(chr::year_month_day d) {
    return std::to_string(int(d.year())) + "-" + twoDigits(unsigned(d.month())) + "-" + twoDigits(unsigned(d.day()));
}

// The workload: generated cases with oracle answers for all four libraries,
// and calls that must fail, in one shuffled table.
std::vector<Case> workload(const Libraries& libs) {
    std::vector<Case> cases;
    std::mt19937_64 rng(20240229);
    auto number = [&] {
        switch (rng() % 4) {
            case 0: return int64_t(rng() % 2001) - 1000;
            case 1: return int64_t(rng());
            default: return int64_t(rng() % 2'000'001) - 1'000'000;
        }
    };

    auto* sortInt = KARPA_FN(libs.seq, seq_sort_int);
    auto* reverseInt = KARPA_FN(libs.seq, seq_reverse_int);
    auto* sumInt = KARPA_FN(libs.seq, seq_reduce_sum_int);
    auto* uniqueInt = KARPA_FN(libs.seq, seq_unique_int);
    auto* takeInt = KARPA_FN(libs.seq, seq_take_int);
    auto* mapInt = KARPA_FN(libs.seq, seq_map_int);
    auto* sumFloat = KARPA_FN(libs.seq, seq_reduce_sum_float);
    auto* sortFloat = KARPA_FN(libs.seq, seq_sort_float);
    auto* sortString = KARPA_FN(libs.seq, seq_sort_string);
    auto* mapString = KARPA_FN(libs.seq, seq_map_string);
    auto* curSum = KARPA_FN(libs.curried, cur_sum_int);
    auto* curMedian = KARPA_FN(libs.curried, cur_median_int);
    auto* curMinmax = KARPA_FN(libs.curried, cur_minmax_int);
    auto* curMean = KARPA_FN(libs.curried, cur_mean_int);
    auto* curDot = KARPA_FN(libs.curried, cur_dot_int);
    auto* curSumFloat = KARPA_FN(libs.curried, cur_sum_float);
    auto* curDistinct = KARPA_FN(libs.curried, cur_distinct_string);
    auto* curIntersect = KARPA_FN(libs.curried, cur_intersect_string);
    auto* ymdToTs = KARPA_FN(libs.datetime, dt_ymd_to_ts);
    auto* tsToYmdhms = KARPA_FN(libs.datetime, dt_ts_to_ymdhms);
    auto* addDays = KARPA_FN(libs.datetime, dt_add_days);
    auto* dayOfWeek = KARPA_FN(libs.datetime, dt_day_of_week);
    auto* rangeDays = KARPA_FN(libs.datetime, dt_range_days);
    auto* md5 = KARPA_FN(libs.crypto, md5_hash);
    auto* sha1 = KARPA_FN(libs.crypto, sha1_hash);
    auto* sha256 = KARPA_FN(libs.crypto, sha256_hash);
    auto* hmacMd5 = KARPA_FN(libs.crypto, hmac_md5);
    auto* hmacSha256 = KARPA_FN(libs.crypto, hmac_sha256);

    for (int round = 0; round < 12; ++round) {
        // Integer lists, written with blanks, signs, empty pieces and underscores.
        std::vector<int64_t> xs(1 + rng() % 40);
        std::string text;
        for (size_t i = 0; i < xs.size(); ++i) {
            xs[i] = number();
            text += (i ? (rng() % 5 == 0 ? " ,, " : ",") : " ") + std::to_string(xs[i]);
        }
        std::vector<int64_t> sorted = xs;
        std::stable_sort(sorted.begin(), sorted.end());
        cases.push_back({"seq_sort_int", [=] { return take(sortInt(text.c_str(), 0)); }, joined(sorted)});
        std::reverse(sorted.begin(), sorted.end());
        cases.push_back({"seq_sort_int desc", [=] { return take(sortInt(text.c_str(), -7)); }, joined(sorted)});
        std::vector<int64_t> reversed(xs.rbegin(), xs.rend());
        cases.push_back({"seq_reverse_int", [=] { return take(reverseInt(text.c_str())); }, joined(reversed)});
        Text sum = "";
        int64_t s = xs[0];
        for (size_t i = 1; i < xs.size() && sum; ++i) {
            if (__builtin_add_overflow(s, xs[i], &s)) sum.reset();
        }
        if (sum) sum = std::to_string(s);
        cases.push_back({"seq_reduce_sum_int", [=] { return take(sumInt(text.c_str())); }, sum});
        cases.push_back({"cur_sum_int", [=] { return take(curSum(text.c_str())); }, sum});
        std::vector<int64_t> firsts;
        std::set<int64_t> seen;
        for (int64_t x : xs) {
            if (seen.insert(x).second) firsts.push_back(x);
        }
        cases.push_back({"seq_unique_int", [=] { return take(uniqueInt(text.c_str())); }, joined(firsts)});
        const int n = int(rng() % 50);
        const std::vector<int64_t> head(xs.begin(), xs.begin() + std::min<size_t>(size_t(n), xs.size()));
        cases.push_back({"seq_take_int", [=] { return take(takeInt(text.c_str(), n)); }, joined(head)});
        const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
        cases.push_back({"cur_minmax_int", [=] { return take(curMinmax(text.c_str())); },
                         std::to_string(*lo) + "," + std::to_string(*hi)});
        std::vector<int64_t> ordered = xs;
        std::sort(ordered.begin(), ordered.end());
        const size_t m = ordered.size();
        const double median =
            m % 2 ? double(ordered[m / 2]) : (double(ordered[m / 2 - 1]) + double(ordered[m / 2])) * 0.5;
        cases.push_back({"cur_median_int", [=] { return take(curMedian(text.c_str())); }, general(median)});

        // Digests of random bytes, NULs included.
        std::string bytes(rng() % 300, '\0');
        for (char& c : bytes) c = char(rng());
        std::string key(rng() % 100, '\0');
        for (char& c : key) c = char(rng());
        const int len = int(bytes.size());
        if (len > 0) {
            cases.push_back({"md5_hash", [=] { return take(md5(bytes.data(), len)); }, oracleDigest(EVP_md5(), bytes)});
            cases.push_back({"sha1_hash", [=] { return take(sha1(bytes.data(), len)); }, oracleDigest(EVP_sha1(), bytes)});
            cases.push_back(
                {"sha256_hash", [=] { return take(sha256(bytes.data(), len)); }, oracleDigest(EVP_sha256(), bytes)});
        }
        cases.push_back({"hmac_md5", [=] { return take(hmacMd5(bytes.data(), len, key.data(), int(key.size()))); },
                         oracleHmac(EVP_md5(), bytes, key)});
        cases.push_back({"hmac_sha256",
                         [=] { return take(hmacSha256(bytes.data(), len, key.data(), int(key.size()))); },
                         oracleHmac(EVP_sha256(), bytes, key)});

        // Dates between the years -9999 and 9999, against std::chrono.
        const chr::sys_days day{chr::days(int64_t(rng() % 7'300'000) - 4'371'000)};
        const chr::year_month_day ymd(day);
        const int64_t y = int(ymd.year()), mo = unsigned(ymd.month()), d = unsigned(ymd.day());
        const int64_t epochDay = day.time_since_epoch().count();
        cases.push_back({"dt_ymd_to_ts", [=] { return Text(std::to_string(ymdToTs(y, mo, d))); },
                         std::to_string(epochDay * 86400)});
        cases.push_back({"dt_day_of_week", [=] { return Text(std::to_string(dayOfWeek(y, mo, d))); },
                         std::to_string(chr::weekday(day).iso_encoding())});
        const int64_t second = int64_t(rng() % 86400);
        const int64_t ts = epochDay * 86400 + second;
        cases.push_back({"dt_ts_to_ymdhms", [=] { return take(tsToYmdhms(ts)); },
                         dateText(ymd) + " " + twoDigits(second / 3600) + ":" + twoDigits(second / 60 % 60) + ":" +
                             twoDigits(second % 60)});
        const int64_t shift = int64_t(rng() % 20001) - 10000;
        cases.push_back({"dt_add_days", [=] { return take(addDays(y, mo, d, shift)); },
                         dateText(chr::year_month_day(day + chr::days(shift)))});
        const int64_t count = int64_t(rng() % 12);
        std::string run;
        for (int64_t i = 0; i < count; ++i) run += (i ? "," : "") + dateText(chr::year_month_day(day + chr::days(i)));
        cases.push_back({"dt_range_days", [=] { return take(rangeDays(y, mo, d, count)); }, run});
    }

    // Fixed answers and failures, each library.
    cases.push_back({"seq_reduce_sum_float", [=] { return take(sumFloat("0.1, 0.2")); }, "0.30000000000000004"});
    cases.push_back({"seq_sort_float", [=] { return take(sortFloat("3,1.5,2,-0.0,0.0", 1)); }, "3,2,1.5,-0,0"});
    cases.push_back({"seq_sort_string", [=] { return take(sortString("b,a,,B", 0)); }, ",B,a,b"});
    cases.push_back({"seq_map_string", [=] { return take(mapString("a, b,,c", "<", ">")); }, "<a>,<b>,<>,<c>"});
    cases.push_back({"cur_mean_int", [=] { return take(curMean("1,2,2")); }, "1.66667"});
    cases.push_back({"cur_sum_float", [=] { return take(curSumFloat("-0.0")); }, "0.0"});
    cases.push_back({"cur_dot_int", [=] { return take(curDot("1,2,3", "4,5")); }, "14"});
    cases.push_back({"cur_intersect_string", [=] { return take(curIntersect("a,b,a,c", "c,a")); }, "a,c"});
    cases.push_back({"cur_distinct_string", [=] { return take(curDistinct("x,,x,")); }, "x,"});
    cases.push_back({"md5_hash empty", [=] { return take(md5(nullptr, 0)); }, "d41d8cd98f00b204e9800998ecf8427e"});
    const Text fails;
    cases.push_back({"seq_sort_int bad piece", [=] { return take(sortInt("3,x", 0)); }, fails});
    cases.push_back({"seq_map_int overflow", [=] { return take(mapInt("9223372036854775807", 2)); }, fails});
    cases.push_back({"seq_take_int negative", [=] { return take(takeInt("1,2", -1)); }, fails});
    cases.push_back({"seq_sort_float bad piece", [=] { return take(sortFloat("1,infinity", 0)); }, fails});
    cases.push_back({"cur_mean_int bad piece", [=] { return take(curMean("a,1")); }, fails});
    cases.push_back({"cur_dot_int overflow", [=] { return take(curDot("4611686018427387904", "2")); }, fails});
    cases.push_back({"dt_ts_to_ymdhms below the span", [=] { return take(tsToYmdhms(INT64_MIN)); }, fails});
    cases.push_back({"dt_add_days past the end", [=] { return take(addDays(292277026596, 12, 4, 1)); }, fails});
    cases.push_back({"dt_ymd_to_ts no such day", [=] { return Text(std::to_string(ymdToTs(2023, 2, 29))); }, "0"});
    cases.push_back({"dt_range_days negative", [=] { return take(rangeDays(2024, 1, 1, -1)); }, fails});
    cases.push_back({"sha256_hash negative", [=] { return take(sha256("abc", -1)); }, fails});
    cases.push_back({"md5_hash INT_MIN", [=] { return take(md5("abc", INT32_MIN)); }, fails});

    std::shuffle(cases.begin(), cases.end(), rng);
    return cases;
}

struct Mismatches {
    std::atomic<long> count{0};
    std::mutex mutex;
    std::vector<std::string> first;

    void record(const Case& c, const Text& got) {
        count.fetch_add(1, std::memory_order_relaxed);
        std::lock_guard lock(mutex);
        if (first.size() < 10) first.push_back(c.name + ": got " + shown(got) + ", expected " + shown(c.expected));
    }
};

TEST(Stress, EveryLibraryIsSelfContained) {
    for (const char* name : {"seq", "curried", "datetime", "crypto"}) expectSelfContained(name);
}

TEST(Stress, SixteenThreadsOverAllFourLibrariesGetExactResultsInFlatMemory) {
    const Libraries libs;
    const std::vector<Case> cases = workload(libs);
    ASSERT_GT(cases.size(), 200u);
    long failing = 0;
    for (const Case& c : cases) failing += !c.expected;
    ASSERT_GT(failing, 10);

    Mismatches mismatches;
    std::barrier sync(kThreads + 1);
    std::atomic<long> calls{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            auto check = [&](const Case& c) {
                const Text got = c.call();
                if (got != c.expected) mismatches.record(c, got);
            };
            // Warm-up: every case once, so each thread's call memory has its working size.
            for (const Case& c : cases) check(c);
            sync.arrive_and_wait();  // main thread measures
            sync.arrive_and_wait();
            // Each thread walks the table with its own stride and start.
            const size_t stride = 1 + 2 * size_t(t);
            size_t at = size_t(t) * 7;
            for (int i = 0; i < kCallsPerThread; ++i) {
                at = (at + stride) % cases.size();
                check(cases[at]);
            }
            calls.fetch_add(kCallsPerThread, std::memory_order_relaxed);
            sync.arrive_and_wait();  // main thread measures
            sync.arrive_and_wait();
        });
    }
    sync.arrive_and_wait();
    const long before = residentBytes();
    sync.arrive_and_wait();
    sync.arrive_and_wait();
    const long after = residentBytes();
    sync.arrive_and_wait();
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(mismatches.count.load(), 0);
    for (const std::string& m : mismatches.first) ADD_FAILURE() << m;
    EXPECT_EQ(calls.load(), long(kThreads) * kCallsPerThread);
    std::printf("%d threads x %d calls over %zu cases (%ld failing); resident %.1f MiB before, %.1f MiB after\n",
                kThreads, kCallsPerThread, cases.size(), failing, before / 1048576.0, after / 1048576.0);
    RecordProperty("resident_before", std::to_string(before));
    RecordProperty("resident_after", std::to_string(after));
#ifndef KARPA_INSTRUMENTED_BUILD
    // Sanitizer runtimes hold freed memory in quarantine, so only the plain build measures.
    EXPECT_LT(after - before, 4L << 20) << "resident memory grew from " << before << " to " << after;
#endif
}

TEST(Stress, ThreadsThatStartCallAndEndByTheThousandLeaveNothingBehind) {
    const Libraries libs;
    auto* sortInt = KARPA_FN(libs.seq, seq_sort_int);
    auto* curMedian = KARPA_FN(libs.curried, cur_median_float);
    auto* rangeMonths = KARPA_FN(libs.datetime, dt_range_months);
    auto* sha256 = KARPA_FN(libs.crypto, sha256_hash);
    const std::string many = [] {
        std::string s;
        for (int i = 2000; i > 0; --i) s += std::to_string(i) + ",";
        return s;
    }();
    const std::string expectedSorted = [] {
        std::string s;
        for (int i = 1; i <= 2000; ++i) s += (i > 1 ? "," : "") + std::to_string(i);
        return s;
    }();
    std::atomic<long> wrong{0};
    auto life = [&] {
        // Each thread makes every library map its call memory, once with a failure.
        wrong += take(sortInt(many.c_str(), 0)) != expectedSorted;
        wrong += take(sortInt("1,x", 0)).has_value();
        wrong += take(curMedian("4,1,3,2")) != Text("2.5");
        wrong += take(rangeMonths(2024, 11, 3)) != Text("2024-11,2024-12,2025-01");
        wrong += take(rangeMonths(2024, 1, -1)).has_value();
        wrong += take(sha256("abc", 3)) != Text("BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    };
    constexpr int kWave = 8;
    auto runWaves = [&](int threads) {
        for (int started = 0; started < threads; started += kWave) {
            std::vector<std::thread> wave;
            for (int i = 0; i < kWave; ++i) wave.emplace_back(life);
            for (std::thread& t : wave) t.join();
        }
    };
    runWaves(kWave * 4);  // warm: thread stacks cached, allocator arenas made
    const long before = residentBytes();
    runWaves(kShortLivedThreads);
    const long after = residentBytes();
    EXPECT_EQ(wrong.load(), 0);
    std::printf("%d short-lived threads; resident %.1f MiB before, %.1f MiB after\n", kShortLivedThreads,
                before / 1048576.0, after / 1048576.0);
#ifndef KARPA_INSTRUMENTED_BUILD
    EXPECT_LT(after - before, 4L << 20) << "resident memory grew from " << before << " to " << after;
#endif
}

}  // namespace
