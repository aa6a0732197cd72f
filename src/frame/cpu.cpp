#include "frame/cpu.hpp"

#include <cpuid.h>

#include <atomic>

namespace karpa {
namespace {

// XCR0 bits: SSE and AVX state (YMM), then opmask, ZMM0-15 upper halves and
// ZMM16-31, which AVX-512 needs saved as well.
constexpr uint64_t kYmmState = 0x6;
constexpr uint64_t kZmmState = 0xE0;

uint64_t readXcr0() {
    uint32_t low, high;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (static_cast<uint64_t>(high) << 32) | low;
}

CpuFeatures readFeatures() {
    CpuFeatures f;
    unsigned a, b, c, d;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0) return f;
    const bool ssse3 = (c & bit_SSSE3) != 0;
    const bool sse41 = (c & bit_SSE4_1) != 0;
    const bool popcnt = (c & bit_POPCNT) != 0;
    const bool osxsave = (c & bit_OSXSAVE) != 0;
    const bool avx = (c & bit_AVX) != 0;
    const uint64_t xcr0 = osxsave ? readXcr0() : 0;
    const bool ymm = avx && (xcr0 & kYmmState) == kYmmState;
    const bool zmm = ymm && (xcr0 & kZmmState) == kZmmState;

    bool lzcnt = false;
    if (__get_cpuid(0x80000001, &a, &b, &c, &d) != 0) lzcnt = (c & bit_LZCNT) != 0;

    if (__get_cpuid_count(7, 0, &a, &b, &c, &d) == 0) return f;
    const bool bmi1 = (b & bit_BMI) != 0;
    const bool bmi2 = (b & bit_BMI2) != 0;
    f.sha = ssse3 && sse41 && (b & bit_SHA) != 0;
    f.avx2 = ymm && (b & bit_AVX2) != 0 && bmi1 && bmi2 && popcnt && lzcnt;
    const bool avx512 = (b & bit_AVX512F) && (b & bit_AVX512BW) && (b & bit_AVX512VL) && (b & bit_AVX512DQ);
    f.avx512 = f.avx2 && zmm && avx512;
    f.avx512vbmi = f.avx512 && (c & bit_AVX512VBMI) != 0;
    f.avx512ifma = f.avx512 && (b & bit_AVX512IFMA) != 0;
    return f;
}

constexpr uint8_t kUnread = 0xFF;
// The tier in use; kUnread until the first call reads the processor. Relaxed
// atomics: every thread that reads it first computes the same value.
std::atomic<uint8_t> activeTierValue{kUnread};

}  // namespace

const CpuFeatures& cpuFeatures() {
    static const CpuFeatures features = readFeatures();
    return features;
}

Tier detectedTier() {
    const CpuFeatures& f = cpuFeatures();
    return f.avx512 ? Tier::avx512 : f.avx2 ? Tier::avx2 : Tier::baseline;
}

Tier activeTier() {
    uint8_t t = activeTierValue.load(std::memory_order_relaxed);
    if (t == kUnread) [[unlikely]] {
        t = static_cast<uint8_t>(detectedTier());
        activeTierValue.store(t, std::memory_order_relaxed);
    }
    return static_cast<Tier>(t);
}

bool forceTier(Tier tier) {
    if (tier > detectedTier()) return false;
    activeTierValue.store(static_cast<uint8_t>(tier), std::memory_order_relaxed);
    return true;
}

const char* tierName(Tier tier) {
    switch (tier) {
        case Tier::avx512: return "avx512";
        case Tier::avx2: return "avx2";
        case Tier::baseline: break;
    }
    return "baseline";
}

}  // namespace karpa
