// The general-form printer against the C library's "%g" over COUNT values,
// as a plain loop on THREADS threads (libFuzzer would spend most of its time
// on itself for a check this small). A quarter each: uniform bit patterns,
// 30-bit integers scaled by 2^-100..2^99, eight-digit decimals /1000, and
// six-digit significands followed by 5 (the rounding ties) with exponents
// -320..319.
//
//   sweep_general_form COUNT [THREADS [SEED]]
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "frame/codec/floatcodec.hpp"
#include "sweep.hpp"

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
    return runSweep(argc, argv, "general form against %g", [](std::mt19937_64& rng, uint64_t i, std::string& difference) {
        const double x = value(rng, i);
        char ours[karpa::kMaxGeneralText], theirs[64];
        const size_t length = static_cast<size_t>(karpa::writeFloatGeneral(ours, x) - ours);
        const int expected = std::snprintf(theirs, sizeof theirs, "%g", x);
        if (length == static_cast<size_t>(expected) && std::memcmp(ours, theirs, length) == 0) return true;
        char text[128];
        std::snprintf(text, sizeof text, "%016llx: %.*s, %%g gives %s",
                      static_cast<unsigned long long>(std::bit_cast<uint64_t>(x)), static_cast<int>(length), ours,
                      theirs);
        difference = text;
        return false;
    });
}
