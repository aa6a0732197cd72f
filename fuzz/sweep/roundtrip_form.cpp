// The round-trip printer against std::to_chars' shortest digits laid out by
// the fixed/scientific rule, over COUNT values on THREADS threads. A quarter
// each: uniform bit patterns, 17-digit values in [0, 1000), three-decimal
// values, and significands of 1..17 random digits with the decimal point
// anywhere from 10^-9 to 10^20 (every branch of the layout).
//
//   sweep_roundtrip_form COUNT [THREADS [SEED]]
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "frame/codec/floatcodec.hpp"
#include "sweep.hpp"

namespace {

double value(std::mt19937_64& rng, uint64_t i) {
    const uint64_t bits = rng();
    switch (i % 4) {
        case 0: return std::bit_cast<double>(bits);
        case 1: return std::nextafter(static_cast<double>(bits >> 11) * 0x1p-53 * 1000.0, 0.0);
        case 2: return static_cast<double>(bits % 1000000000) / 1000.0;
        default: {
            const int n = 1 + static_cast<int>(bits % 17);
            const uint64_t significand = rng() % karpa::kPowersOf10[n];
            char text[40];
            std::snprintf(text, sizeof text, "%llue%d", static_cast<unsigned long long>(significand),
                          static_cast<int>((bits >> 8) % 30) - 9 - n);
            return std::strtod(text, nullptr);
        }
    }
}

// The expected text, for a finite value.
size_t expected(double x, char* out) {
    if (x == 0.0) return static_cast<size_t>(std::snprintf(out, 40, "%s", std::signbit(x) ? "-0.0" : "0.0"));
    char sci[40];
    char* const end = std::to_chars(sci, sci + sizeof sci, std::fabs(x), std::chars_format::scientific).ptr;
    *end = '\0';
    char* const e = std::strchr(sci, 'e');
    std::string digits;
    for (const char* p = sci; p < e; ++p) {
        if (*p != '.') digits += *p;
    }
    const int n = static_cast<int>(digits.size());
    const int point = std::atoi(e + 1) + 1;
    std::string text = std::signbit(x) ? "-" : "";
    if (point >= -6 && point <= 17) {
        if (point <= 0) {
            text += "0." + std::string(static_cast<size_t>(-point), '0') + digits;
        } else if (point < n) {
            text += digits.substr(0, static_cast<size_t>(point)) + "." + digits.substr(static_cast<size_t>(point));
        } else {
            text += digits + std::string(static_cast<size_t>(point - n), '0') + ".0";
        }
    } else {
        text += digits.substr(0, 1) + (n > 1 ? "." + digits.substr(1) : "") + (point - 1 < 0 ? "e-" : "e+") +
                std::to_string(std::abs(point - 1));
    }
    std::memcpy(out, text.data(), text.size());
    return text.size();
}

}  // namespace

int main(int argc, char** argv) {
    return runSweep(argc, argv, "round-trip form against std::to_chars",
                    [](std::mt19937_64& rng, uint64_t i, std::string& difference) {
                        const double x = value(rng, i);
                        if (!std::isfinite(x)) return true;
                        char ours[karpa::kMaxRoundtripText], theirs[40];
                        const size_t length = static_cast<size_t>(karpa::writeFloatRoundtrip(ours, x) - ours);
                        const size_t want = expected(x, theirs);
                        if (length == want && std::memcmp(ours, theirs, length) == 0) return true;
                        char text[128];
                        std::snprintf(text, sizeof text, "%016llx: %.*s, expected %.*s",
                                      static_cast<unsigned long long>(std::bit_cast<uint64_t>(x)),
                                      static_cast<int>(length), ours, static_cast<int>(want), theirs);
                        difference = text;
                        return false;
                    });
}
