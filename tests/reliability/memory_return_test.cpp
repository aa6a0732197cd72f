// After a big call, a thread's next call gives back what the big one touched
// beyond a few MiB: resident memory returns near where it started, in every
// library that takes list text.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "host.hpp"

namespace {

using karpa_test::Library;
using TextFn = const char*(const char*);

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * 4;
}

TEST(MemoryReturn, BigCallThenSmallCallsLeaveLittleResident) {
#ifdef KARPA_INSTRUMENTED_BUILD
    GTEST_SKIP() << "sanitizer runtimes keep their own shadow and quarantine memory";
#endif
    const Library seq("seq");
    const Library curried("curried");
    using TextIntFn = const char*(const char*, int);
    auto* sortInts = seq.fn<TextIntFn>("seq_sort_int");
    auto* sortStrings = seq.fn<TextIntFn>("seq_sort_string");
    auto* median = curried.fn<TextFn>("cur_median_int");
    struct Call {
        const char* name;
        std::function<const char*(const char*)> big;  // keeps a large list and result in the arena
        TextFn* small;                                 // the same library's small call afterwards
    };
    const Call calls[] = {
        {"seq_sort_int", [&](const char* t) { return sortInts(t, 0); }, seq.fn<TextFn>("seq_reduce_sum_int")},
        {"cur_median_int", median, curried.fn<TextFn>("cur_sum_int")},
        {"seq_sort_string", [&](const char* t) { return sortStrings(t, 1); }, seq.fn<TextFn>("seq_reverse_string")},
    };
    for (const Call& call : calls) {
        SCOPED_TRACE(call.name);
        call.small("1");
        const long before = residentKiB();
        {
            std::string text;
            for (int i = 0; i < 1000000; ++i) text += std::to_string(int64_t(i) * 7919 % 1000003) + ",";
            // Twice: the second call finds the arena consolidated into one chunk.
            ASSERT_NE(call.big(text.c_str()), nullptr);
            ASSERT_NE(call.big(text.c_str()), nullptr);
            EXPECT_GT(residentKiB(), before + 16 * 1024);  // the big call really used memory
        }
        for (int i = 0; i < 3; ++i) call.small("1,2,3");
        EXPECT_LT(residentKiB(), before + 8 * 1024);
    }
}

}  // namespace
