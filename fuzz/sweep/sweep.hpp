// The loop that every sweep runs: COUNT values on THREADS threads, thread t
// drawing from its own generator (seeded from SEED and t) and checking the
// values i = t, t + THREADS, ...; the first ten differences are printed.
// Runs with different SEEDs check different values, so a long sweep can be
// run in parts.
//
//   sweep_NAME COUNT [THREADS [SEED]]
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

// `check(rng, i, difference)` checks value i, drawn from rng; on a difference
// it fills `difference` and returns false.
template <class Check>
int runSweep(int argc, char** argv, const char* what, Check check) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s COUNT [THREADS [SEED]]\n", argv[0]);
        return 2;
    }
    const uint64_t count = std::strtoull(argv[1], nullptr, 10);
    const unsigned threads = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : std::thread::hardware_concurrency();
    const uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 0;
    std::atomic<uint64_t> differences{0};
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            std::mt19937_64 rng(1000 + t + 7919 * seed);
            std::string difference;
            for (uint64_t i = t; i < count; i += threads) {
                if (!check(rng, i, difference) && differences++ < 10) std::printf("%s\n", difference.c_str());
            }
        });
    }
    for (std::thread& thread : pool) thread.join();
    std::printf("%s: %llu values, seed %llu, %llu differences\n", what, static_cast<unsigned long long>(count),
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(differences.load()));
    return differences != 0;
}
