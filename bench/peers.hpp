// The strongest peer pipelines a user would write instead of a Karpa call:
// the readers, printers and checks they share. Every peer library is optional
// (KARPA_PEER_<NAME> is 1 when the build found it); the benchmarks of a missing
// peer are left out, and bench/run_all.py says so.
//
// simdjson reads float lists as JSON arrays (bench/float, bench/curried).
//
// The integer reader is this project's own eight-digits-at-a-time (SWAR)
// parser, written from the published technique: one 64-bit load, a test that
// all eight bytes are ASCII digits, then three multiply-and-shift steps that
// turn the eight digits into their value.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "baseline.hpp"

#if KARPA_PEER_FAST_FLOAT
#include <fast_float/fast_float.h>
#endif
#if KARPA_PEER_VQSORT
#include <hwy/contrib/sort/vqsort.h>
#endif
#if KARPA_PEER_SIMDJSON
#include <simdjson.h>
#endif
#if KARPA_PEER_FMT
#include <fmt/compile.h>
#include <fmt/format.h>
#endif

namespace karpa_bench {

// ---- eight digits at a time ------------------------------------------------------

inline uint64_t load8(const char* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// How many of the eight bytes (first byte lowest) are ASCII digits before the
// first that is not: 8 when all are.
inline unsigned leadingDigits(uint64_t w) {
    const uint64_t highNibble = (w & 0xF0F0F0F0F0F0F0F0ull) ^ 0x3030303030303030ull;
    // A byte above '9' carries into its own high nibble when 6 is added; a
    // carry out of a byte only disturbs bytes after the first non-digit.
    const uint64_t aboveNine = ((w + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) ^ 0x3030303030303030ull;
    const uint64_t bad = highNibble | aboveNine;
    return bad ? unsigned(__builtin_ctzll(bad)) >> 3 : 8;
}

// The value of eight ASCII digits, the first in the lowest byte.
inline uint32_t eightDigitsValue(uint64_t w) {
    w -= 0x3030303030303030ull;
    w = w * 10 + (w >> 8);  // bytes 0, 2, 4, 6: two-digit values
    const uint64_t mask = 0x000000FF000000FFull;
    w = ((w & mask) * (100 + (1000000ull << 32)) + ((w >> 16) & mask) * (1 + (10000ull << 32))) >> 32;
    return uint32_t(w);
}

inline constexpr uint64_t kPow10[20] = {1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull,
                                        10000000ull, 100000000ull, 1000000000ull, 10000000000ull,
                                        100000000000ull, 1000000000000ull, 10000000000000ull,
                                        100000000000000ull, 1000000000000000ull, 10000000000000000ull,
                                        100000000000000000ull, 1000000000000000000ull,
                                        10000000000000000000ull};

// Appends the run of digits at p to value (value * 10^n + digits); count
// grows by n. Eight bytes are loaded only while eight remain before end.
inline const char* scanDigits(const char* p, const char* end, uint64_t& value, unsigned& count) {
    while (end - p >= 8) {
        const uint64_t w = load8(p);
        const unsigned n = leadingDigits(w);
        if (n == 8) {
            value = value * 100000000u + eightDigitsValue(w);
            p += 8;
            count += 8;
            continue;
        }
        if (n != 0) {
            // Left-align the n digits and fill the bytes before them with '0'.
            const uint64_t aligned = (w << (8 * (8 - n))) | (0x3030303030303030ull >> (8 * n));
            value = value * kPow10[n] + eightDigitsValue(aligned);
            count += n;
        }
        return p + n;
    }
    while (p < end && unsigned(*p - '0') < 10) {
        value = value * 10 + unsigned(*p - '0');
        ++p;
        ++count;
    }
    return p;
}

// The number-list rule (pieces between commas, blanks stripped, empty pieces
// skipped) around an item reader: `item(p, end)` reads the item at p and
// returns where it ends, or null when there is none. False when an item is
// missing or followed by anything but blanks and the comma.
template <class Item>
inline bool forEachPiece(const char* p, const char* end, Item item) {
    while (p < end) {
        while (p < end && isBlank(*p)) ++p;
        if (p == end) break;
        if (*p == ',') {
            ++p;
            continue;
        }
        p = item(p, end);
        if (p == nullptr) return false;
        while (p < end && isBlank(*p)) ++p;
        if (p < end && *p++ != ',') return false;
    }
    return true;
}

// A signed 64-bit decimal integer through the SWAR digit scanner: where it
// ends, or null when it is none or out of range.
inline const char* scanInt(const char* p, const char* end, int64_t& x) {
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    uint64_t v = 0;
    unsigned digits = 0;
    p = scanDigits(p, end, v, digits);
    if (digits == 0 || digits > 19 || v > (negative ? (1ull << 63) : (1ull << 63) - 1)) return nullptr;
    x = negative ? int64_t(0 - v) : int64_t(v);
    return p;
}

// The list with the SWAR reader; aborts on text that is not a list of 64-bit
// decimal integers: the benchmark inputs are.
inline std::vector<int64_t> readIntsSwar(std::string_view text) {
    std::vector<int64_t> out;
    out.reserve(text.size() / 2 + 1);
    if (!forEachPiece(text.data(), text.data() + text.size(), [&](const char* p, const char* end) {
            int64_t x;
            p = scanInt(p, end, x);
            if (p != nullptr) out.push_back(x);
            return p;
        })) {
        std::abort();
    }
    return out;
}

// The same reading with the checked sum taken on the way, nothing stored:
// false on text that is not such a list or a sum that overflows.
inline bool sumIntsSwar(const char* p, const char* end, int64_t& sum) {
    int64_t s = 0;
    if (!forEachPiece(p, end, [&](const char* q, const char* e) {
            int64_t x;
            q = scanInt(q, e, x);
            return q != nullptr && !__builtin_add_overflow(s, x, &s) ? q : nullptr;
        })) {
        return false;
    }
    sum = s;
    return true;
}

#if KARPA_PEER_VQSORT
// Highway's vectorised quicksort, ascending; the sorter keeps its scratch
// between calls, as a program sorting often would.
inline void sortIntsVqsort(std::vector<int64_t>& xs) {
    static const hwy::Sorter sorter;
    sorter(xs.data(), xs.size(), hwy::SortAscending());
}
#endif

inline std::string printInt(int64_t x) {
    char b[24];
    return std::string(b, std::to_chars(b, b + sizeof b, x).ptr);
}

// ---- floats ------------------------------------------------------------------------

#if KARPA_PEER_FAST_FLOAT
// The number-list rule with fast_float reading each piece.
inline std::vector<double> readDoublesFastFloat(std::string_view text) {
    std::vector<double> out;
    out.reserve(text.size() / 4 + 1);
    if (!forEachPiece(text.data(), text.data() + text.size(), [&](const char* p, const char* end) {
            double x;
            const auto r = fast_float::from_chars(p, end, x);
            if (r.ec != std::errc()) return static_cast<const char*>(nullptr);
            out.push_back(x);
            return r.ptr;
        })) {
        std::abort();
    }
    return out;
}

// Short plain decimals ("-123.4567") the quick way: the digits through the
// SWAR scanner, then Clinger's fast path (an exact significand below 2^53
// divided by an exact power of ten is correctly rounded); anything else
// through fast_float.
inline const char* parseShortDecimal(const char* p, const char* end, double& out) {
    static constexpr double kExact10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* const start = p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    uint64_t m = 0;
    unsigned digits = 0;
    p = scanDigits(p, end, m, digits);
    unsigned fraction = 0;
    if (p < end && *p == '.') {
        const unsigned before = digits;
        p = scanDigits(p + 1, end, m, digits);
        fraction = digits - before;
    }
    if (digits == 0 || digits > 19 || m > (1ull << 53) || fraction > 22 || (p < end && (*p | 0x20) == 'e')) {
        const auto r = fast_float::from_chars(start, end, out);
        if (r.ec != std::errc()) std::abort();
        return r.ptr;
    }
    const double d = double(m) / kExact10[fraction];
    out = negative ? -d : d;
    return p;
}

inline std::vector<double> readDoublesShort(std::string_view text) {
    std::vector<double> out;
    out.reserve(text.size() / 4 + 1);
    if (!forEachPiece(text.data(), text.data() + text.size(), [&](const char* p, const char* end) {
            double x;
            p = parseShortDecimal(p, end, x);
            out.push_back(x);
            return p;
        })) {
        std::abort();
    }
    return out;
}
#endif

#if KARPA_PEER_SIMDJSON
// The list read as simdjson reads a JSON array of numbers: the text copied
// between '[' and ']' into a padded buffer (simdjson reads its input 64 bytes
// a step and needs the padding), then each element taken as a double with
// simdjson's on-demand parser (its structure found with the widest vectors
// the processor has). Only for lists of plain numbers without blanks or empty
// pieces, which the benchmark inputs are; aborts on anything else.
inline std::vector<double> readDoublesSimdjson(std::string_view text) {
    static thread_local simdjson::ondemand::parser parser;
    std::string json;
    json.reserve(text.size() + 2 + simdjson::SIMDJSON_PADDING);
    json += '[';
    json += text;
    json += ']';
    std::vector<double> out;
    out.reserve(text.size() / 4 + 1);
    auto doc = parser.iterate(simdjson::padded_string_view(json.data(), json.size(), json.capacity()));
    simdjson::ondemand::array array;
    if (doc.get_array().get(array) != simdjson::SUCCESS) std::abort();
    for (auto element : array) {
        double x;
        if (element.get_double().get(x) != simdjson::SUCCESS) std::abort();
        out.push_back(x);
    }
    return out;
}
#endif

#if KARPA_PEER_FMT
// Shortest round-trip text as Python's repr writes it: fmt's shortest
// digits, with ".0" after a whole number. (The two choose the exponent form
// at different magnitudes; the benchmark values stay where they agree, and
// every peer is checked against Karpa's output first.)
inline char* writeShortestFmt(char* p, double x) {
    char* const start = p;
    p = fmt::format_to(p, FMT_COMPILE("{}"), x);
    for (char* q = start; q < p; ++q) {
        if (*q == '.' || *q == 'e' || *q == 'n' || *q == 'i') return p;
    }
    *p++ = '.';
    *p++ = '0';
    return p;
}
inline std::string shortestFmt(double x) {
    char b[40];
    return std::string(b, writeShortestFmt(b, x));
}

// An integer list joined with "," through fmt::format_int.
inline std::string printIntsFmt(const std::vector<int64_t>& xs) {
    return joinInts(xs, [](char* p, int64_t x) {
        const fmt::format_int f(x);
        std::memcpy(p, f.data(), f.size());
        return p + f.size();
    });
}

// Six significant digits, printf's %g.
inline std::string generalFmt(double x) {
    char b[40];
    return std::string(b, fmt::format_to(b, FMT_COMPILE("{:g}"), x));
}

inline std::string printDoublesGeneralFmt(const std::vector<double>& xs) {
    std::string out;
    out.resize(xs.size() * 16 + 1);
    char* p = out.data();
    for (size_t i = 0; i < xs.size(); ++i) {
        if (i) *p++ = ',';
        p = fmt::format_to(p, FMT_COMPILE("{:g}"), xs[i]);
    }
    out.resize(size_t(p - out.data()));
    return out;
}
#endif

// ---- dates -------------------------------------------------------------------------

inline constexpr char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline char* twoDigitsPair(char* p, unsigned v) {
    std::memcpy(p, kDigitPairs + 2 * v, 2);
    return p + 2;
}

// "YYYY-MM-DD" for years 1000..9999 from pair-table writes (to_chars for others).
inline char* writeDatePairs(char* p, int year, unsigned month, unsigned day) {
    if (year >= 1000 && year <= 9999) {
        p = twoDigitsPair(p, unsigned(year) / 100);
        p = twoDigitsPair(p, unsigned(year) % 100);
    } else {
        p = std::to_chars(p, p + 12, year).ptr;
    }
    *p++ = '-';
    p = twoDigitsPair(p, month);
    *p++ = '-';
    return twoDigitsPair(p, day);
}

}  // namespace karpa_bench
