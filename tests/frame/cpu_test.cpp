// The processor check against the kernel's own reading of the processor.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "frame/cpu.hpp"

namespace {

std::set<std::string> kernelCpuFlags() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("flags", 0) != 0) continue;
        std::istringstream words(line.substr(line.find(':') + 1));
        std::set<std::string> flags;
        for (std::string w; words >> w;) flags.insert(w);
        return flags;
    }
    return {};
}

TEST(Cpu, FeaturesAgreeWithTheKernel) {
    const std::set<std::string> flags = kernelCpuFlags();
    if (flags.empty()) GTEST_SKIP() << "no /proc/cpuinfo flags";
    auto has = [&](const char* f) { return flags.count(f) != 0; };
    const karpa::CpuFeatures& f = karpa::cpuFeatures();
    // The kernel lists a feature only when it also saves the registers it needs.
    EXPECT_EQ(f.avx2, has("avx2") && has("bmi1") && has("bmi2") && has("popcnt") && has("abm"));
    EXPECT_EQ(f.avx512, f.avx2 && has("avx512f") && has("avx512bw") && has("avx512vl") && has("avx512dq"));
    EXPECT_EQ(f.avx512vbmi, f.avx512 && has("avx512vbmi"));
    EXPECT_EQ(f.avx512ifma, f.avx512 && has("avx512ifma"));
    EXPECT_EQ(f.sha, has("sha_ni") && has("ssse3") && has("sse4_1"));
}

TEST(Cpu, ATierIsForcedOnlyWhereTheProcessorHasIt) {
    const karpa::Tier detected = karpa::detectedTier();
    EXPECT_EQ(karpa::activeTier(), detected);
    for (karpa::Tier t : {karpa::Tier::baseline, karpa::Tier::avx2, karpa::Tier::avx512}) {
        EXPECT_EQ(karpa::forceTier(t), t <= detected) << karpa::tierName(t);
        EXPECT_EQ(karpa::activeTier(), t <= detected ? t : karpa::Tier::baseline);
        karpa::forceTier(karpa::Tier::baseline);
    }
    karpa::forceTier(detected);
}

}  // namespace
