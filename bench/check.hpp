// Checking a peer pipeline against Karpa, once, before it is timed.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace karpa_bench {

// ---- checking a peer against Karpa, once, before it is timed -------------------

// True when the peer's text equals Karpa's; otherwise the benchmark is
// stopped with an error naming both (run_all.py then leaves the row out).
inline bool sameOutput(benchmark::State& state, const char* karpa, std::string_view peer) {
    if (karpa != nullptr && peer == karpa) return true;
    char message[320];
    std::snprintf(message, sizeof message, "peer output differs from Karpa's: karpa %.100s | peer %.100s",
                  karpa ? karpa : "(null)", std::string(peer.substr(0, 100)).c_str());
    std::fprintf(stderr, "%s\n", message);
    state.SkipWithError(message);
    return false;
}

}  // namespace karpa_bench
