// The per-thread call arena.
#include <gtest/gtest.h>

#include <sys/mman.h>

#include <cstring>
#include <thread>
#include <vector>

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

// Resident pages of [p, p + bytes), page-aligned p.
size_t residentPages(void* p, size_t bytes) {
    std::vector<unsigned char> pages((bytes + 4095) / 4096);
    if (mincore(p, bytes, pages.data()) != 0) return SIZE_MAX;
    size_t n = 0;
    for (unsigned char page : pages) n += page & 1;
    return n;
}

TEST(Arena, LargeCallsKeepTheirPagesAndSmallerOnesTrimThem) {
    // A call that allocates `bytes`, touches them and ends; its block.
    const auto call = [](size_t bytes) {
        ArenaState& arena = arenaReset();
        char* block = static_cast<char*>(arenaAllocate(bytes, 4096));
        std::memset(block, 1, bytes);
        arenaEndCall(arena);
        return block;
    };
    call(40u << 20);
    char* const big = call(40u << 20);  // one consolidated chunk from here on
    call(40u << 20);
    EXPECT_EQ(residentPages(big, 40u << 20), (40u << 20) / 4096);
    call(30u << 20);  // more than half of it: nothing given back
    EXPECT_EQ(residentPages(big + (30u << 20), 10u << 20), (10u << 20) / 4096);
    call(1000);  // the rest beyond the few MiB kept goes back
    EXPECT_LT(residentPages(big, 40u << 20), (8u << 20) / 4096);
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
