// The one place that asks the processor what it can do.
//
// The features are read once per library (cpuid for the instruction sets,
// xgetbv for the registers the operating system saves) and kept in one value
// that does not change after the first read. A vectorised routine has one
// function per tier, in files named for the tier (`..._avx2.cpp`,
// `..._avx512.cpp`, compiled with that tier's flags; the baseline keeps the
// plain name), and picks one by `activeTier()` once per call, outside its
// loops. Every tier gives the same bytes.
#pragma once

#include <cstdint>

namespace karpa {

enum class Tier : uint8_t {
    baseline = 0,  // x86-64: SSE2
    avx2 = 1,      // AVX2, BMI1/2, POPCNT, LZCNT
    avx512 = 2,    // AVX-512 F, BW, VL and DQ
};

struct CpuFeatures {
    bool avx2 = false;        // with BMI1, BMI2, POPCNT, LZCNT and the YMM state saved
    bool avx512 = false;      // F, BW, VL, DQ and the ZMM and opmask state saved
    bool avx512vbmi = false;  // only meaningful with avx512
    bool avx512ifma = false;  // only meaningful with avx512
    bool sha = false;         // the SHA extensions with SSSE3 and SSE4.1
};

// What this processor and operating system offer, read on first use.
const CpuFeatures& cpuFeatures();

// The widest tier the processor offers.
Tier detectedTier();

// The tier the routines use: the detected one unless a test chose a lower one.
Tier activeTier();

// Tests only (through the static archive): make the routines use `tier`.
// Returns false, changing nothing, when the processor lacks it.
bool forceTier(Tier tier);

const char* tierName(Tier tier);

inline bool shaExtensionsAvailable() { return cpuFeatures().sha; }

}  // namespace karpa
