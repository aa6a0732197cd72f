// The general-form printer against the C library's "%g" over COUNT values,
// as a plain loop on THREADS threads (libFuzzer would spend most of its time
// on itself for a check this small). A quarter each: uniform bit patterns,
// 30-bit integers scaled by 2^-100..2^99, eight-digit decimals /1000, and
// six-digit significands followed by 5 (the rounding ties) with exponents
// -320..319.
//
//   sweep_general_form COUNT [THREADS]
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "frame/codec/floatcodec.hpp"

namespace {

double value(std::mt19937_64& rng, uint64_t i) {
    const uint64_t bits = rng();
    switch (i % 4) {
        case 0: return std::bit_cast<double>(bits);
        case 1: return std::ldexp(static_cast<double>(bits >> 34), static_cast<int>(rng() % 200) - 100);
        case 2: return static_cast<double>(bits % 100000000) / 1000.0;
        default: {
            char text[40];
            std::snprintf(text, sizeof text, "%llu5e%d", static_cast<unsigned long long>(100000 + bits % 900000),
                          static_cast<int>(rng() % 640) - 320 - 6);
            return std::strtod(text, nullptr);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s COUNT [THREADS]\n", argv[0]);
        return 2;
    }
    const uint64_t count = std::strtoull(argv[1], nullptr, 10);
    const unsigned threads = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : std::thread::hardware_concurrency();
    std::atomic<uint64_t> differences{0};
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            std::mt19937_64 rng(1000 + t);
            char ours[karpa::kMaxGeneralText], theirs[64];
            for (uint64_t i = t; i < count; i += threads) {
                const double x = value(rng, i);
                const size_t length = static_cast<size_t>(karpa::writeFloatGeneral(ours, x) - ours);
                const int expected = std::snprintf(theirs, sizeof theirs, "%g", x);
                if (length != static_cast<size_t>(expected) || std::memcmp(ours, theirs, length) != 0) {
                    if (differences++ < 10) {
                        std::printf("%016llx: %.*s, %%g gives %s\n",
                                    static_cast<unsigned long long>(std::bit_cast<uint64_t>(x)),
                                    static_cast<int>(length), ours, theirs);
                    }
                }
            }
        });
    }
    for (std::thread& thread : pool) thread.join();
    std::printf("general form: %llu values against %%g, %llu differences\n", static_cast<unsigned long long>(count),
                static_cast<unsigned long long>(differences.load()));
    return differences != 0;
}
