// Many threads calling at once, failures interleaved: every result exact.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "host.hpp"

using namespace karpa_test;

namespace {

using TextFn = const char*(const char*);
using TextIntFn = const char*(const char*, int);

TEST(SeqConcurrency, EightThreadsWithFailuresInterleaved) {
    Library seq("seq");
    auto sum = seq.fn<TextFn>("seq_reduce_sum_int");
    auto sort = seq.fn<TextIntFn>("seq_sort_int");
    auto unique = seq.fn<TextFn>("seq_unique_string");
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            const std::string list = std::to_string(t) + ",3,1,2";
            const std::string sorted = t <= 1 ? (t == 0 ? "0,1,2,3" : "1,1,2,3")
                                              : (t <= 3 ? "1,2," + std::to_string(t) + ",3" : "1,2,3," + std::to_string(t));
            for (int i = 0; i < 20000; ++i) {
                if (sum("1,x") != nullptr) ++wrong;
                if (show(sum(list.c_str())) != std::to_string(t + 6)) ++wrong;
                if (sort("9223372036854775808", 0) != nullptr) ++wrong;
                if (show(sort(list.c_str(), 0)) != sorted) ++wrong;
                if (show(unique("a,b,a,c")) != "a,b,c") ++wrong;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
