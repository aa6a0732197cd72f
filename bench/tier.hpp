// The processor tier of a benchmark run. Karpa's libraries read no
// environment, so a tier is chosen here, through the test hook of the static
// archive linked into the benchmark binary:
//
//   --karpa_tier=baseline|avx2|avx512   the Karpa rows run the linked copy on that tier
//   --karpa_lib_dir=DIR                 load the .so files from DIR instead of the build's
//
// Without --karpa_tier the rows run the built .so on the processor's best
// tier. Either way the tier is named in the run's context (karpa_tier).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "frame/cpu.hpp"
#include "loader.hpp"

namespace karpa_bench {

// Takes the two flags out of argv; false (with a message) for a tier the
// processor lacks or does not name.
inline bool takeTierFlags(int& argc, char** argv) {
    karpa::Tier tier = karpa::detectedTier();
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strncmp(a, "--karpa_tier=", 13) == 0) {
            const std::string name = a + 13;
            bool known = false;
            for (karpa::Tier t : {karpa::Tier::baseline, karpa::Tier::avx2, karpa::Tier::avx512}) {
                if (name == karpa::tierName(t)) {
                    tier = t;
                    known = true;
                }
            }
            if (!known || !karpa::forceTier(tier)) {
                std::fprintf(stderr, "tier %s: unknown, or this processor lacks it\n", name.c_str());
                return false;
            }
            useLinkedCopy() = true;
        } else if (std::strncmp(a, "--karpa_lib_dir=", 16) == 0) {
            libraryDir() = a + 16;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    benchmark::AddCustomContext("karpa_tier", karpa::tierName(tier));
    benchmark::AddCustomContext("karpa_code", useLinkedCopy() ? "linked copy" : libraryDir());
    return true;
}

}  // namespace karpa_bench
