// karpa_datetime called from several threads at once: each thread has its own
// results, failure state and UTC zone, and a failing call on one thread does
// not disturb the others.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "host.hpp"

namespace {

using karpa_test::show;

TEST(DatetimeThreads, ExportsExactlyTheListedNamesAndNeedsOnlyLibc) {
    EXPECT_EQ(karpa_test::definedDynamicSymbols("datetime"), karpa_test::listedExports("datetime"));
#if defined(KARPA_INSTRUMENTED_BUILD)
    GTEST_SKIP() << "sanitizer builds link the C++ and sanitizer runtimes dynamically";
#endif
    EXPECT_EQ(karpa_test::neededLibraries("datetime"), "libc.so.6\n");
}

TEST(DatetimeThreads, ConcurrentCallsKeepTheirOwnResults) {
    karpa_test::Library lib("datetime");
    auto* tsToYmdhms = lib.fn<const char*(int64_t)>("dt_ts_to_ymdhms");
    auto* ymdToTs = lib.fn<int64_t(int64_t, int64_t, int64_t)>("dt_ymd_to_ts");
    auto* rangeDays = lib.fn<const char*(int64_t, int64_t, int64_t, int64_t)>("dt_range_days");
    auto* addDays = lib.fn<const char*(int64_t, int64_t, int64_t, int64_t)>("dt_add_days");

    // The answers, computed on this thread first.
    constexpr int kThreads = 6;
    std::vector<std::string> wantRange(kThreads), wantStamp(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        wantRange[t] = show(rangeDays(2000 + t, 2, 27, 40));
        wantStamp[t] = show(tsToYmdhms(1700000000 + 86461 * t));
    }

    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (show(rangeDays(2000 + t, 2, 27, 40)) != wantRange[t]) ++mismatches;
                // Odd threads fail every other call; their neighbours must not notice.
                if (t % 2 == 1 && addDays(2023, 2, 29, i) != nullptr) ++mismatches;
                if (show(tsToYmdhms(1700000000 + 86461 * t)) != wantStamp[t]) ++mismatches;
                if (ymdToTs(1970 + t, 1, 2) != ymdToTs(1970 + t, 1, 1) + 86400) ++mismatches;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST(DatetimeThreads, AFailureStaysOnItsThread) {
    karpa_test::Library lib("datetime");
    auto* addMonths = lib.fn<const char*(int64_t, int64_t, int64_t, int64_t)>("dt_add_months");
    const char* failed = nullptr;
    std::thread([&] { failed = addMonths(INT64_MAX, 12, 1, 1); }).join();
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(show(addMonths(2024, 1, 31, 1)), "2024-02-29");
}

}  // namespace
