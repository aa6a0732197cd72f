// Calls from many threads at once: each thread has its own failure state and
// call memory, so results and failures never cross between threads.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "host.hpp"

namespace {

using Text1 = const char*(const char*);
using Text2 = const char*(const char*, const char*);

TEST(CurriedThreads, ConcurrentCallsKeepTheirOwnResults) {
    const karpa_test::Library lib("curried");
    auto sum = lib.fn<Text1>("cur_sum_int");
    auto median = lib.fn<Text1>("cur_median_float");
    auto unite = lib.fn<Text2>("cur_union_string");
    auto minmax = lib.fn<Text1>("cur_minmax_float");
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            const std::string ints = std::to_string(t) + ",1000," + std::to_string(-t);
            const std::string floats = std::to_string(t) + ".5,-1," + std::to_string(t + 1) + ".5";
            const std::string words = "t" + std::to_string(t) + ",a";
            for (int i = 0; i < 2000; ++i) {
                // one thread keeps failing; the others must never notice
                if (t == 3 && sum("1,x") != nullptr) ++mismatches;
                const char* s = sum(ints.c_str());
                if (s == nullptr || std::string(s) != "1000") ++mismatches;
                const char* m = median(floats.c_str());
                if (m == nullptr || std::string(m) != std::to_string(t) + ".5") ++mismatches;
                const char* u = unite(words.c_str(), "a,b");
                if (u == nullptr || std::string(u) != "t" + std::to_string(t) + ",a,b") ++mismatches;
                const char* mm = minmax(floats.c_str());
                if (mm == nullptr || std::string(mm) != "-1.0," + std::to_string(t + 1) + ".5") ++mismatches;
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
