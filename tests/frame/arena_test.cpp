// The per-thread call arena.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "frame/arena.hpp"

using namespace karpa;

namespace {

TEST(Arena, ResetReusesTheSamePages) {
    arenaReset();
    void* first = arenaAllocate(100);
    std::memset(first, 1, 100);
    for (int i = 0; i < 1000; ++i) {
        arenaReset();
        EXPECT_EQ(arenaAllocate(100), first);
    }
}

TEST(Arena, LargeCallsAreConsolidatedAndMemoryStaysFlat) {
    auto largeCall = [] {
        arenaReset();
        for (int i = 0; i < 50; ++i) std::memset(arenaAllocate(1 << 20, 64), 0, 1 << 20);
        return arenaMappedBytes();
    };
    largeCall();  // grows through several chunks
    const size_t steady = largeCall();
    EXPECT_LE(steady, (50u << 20) * 3 / 2);  // one chunk with a little room to spare
    for (int round = 0; round < 20; ++round) EXPECT_EQ(largeCall(), steady);
    arenaReset();
    arenaAllocate(10);
    EXPECT_EQ(arenaMappedBytes(), steady);  // kept for the next call
}

TEST(Arena, AlignmentAndTextBuilder) {
    arenaReset();
    for (size_t align : {1, 2, 8, 16, 64, 4096}) {
        arenaAllocate(3, 1);
        const auto p = reinterpret_cast<uintptr_t>(arenaAllocate(10, align));
        EXPECT_EQ(p % align, 0u);
    }
    TextBuilder text;
    EXPECT_STREQ(text.finish(), "");
    for (int i = 0; i < 10000; ++i) text.push(static_cast<char>('a' + i % 26));
    EXPECT_EQ(std::strlen(text.finish()), 10000u);
    EXPECT_EQ(arenaCopy("abc"), "abc");
}

TEST(Arena, EachThreadHasItsOwnAndReleasesItAtExit) {
    arenaReset();
    void* mine = arenaAllocate(64);
    void* theirs = nullptr;
    size_t theirMapped = 0;
    std::thread([&] {
        theirs = arenaAllocate(64);
        theirMapped = arenaMappedBytes();
    }).join();
    EXPECT_NE(mine, theirs);
    EXPECT_GT(theirMapped, 0u);
}

}  // namespace
