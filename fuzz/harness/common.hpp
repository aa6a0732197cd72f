// Shared pieces of the harnesses: failure reporting, argument text as the
// libraries read it, and small independent models of the list rule.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/cpu.hpp"

// Bytes shown with escapes, so a report survives binary content.
inline std::string printable(std::string_view s) {
    std::string out;
    for (unsigned char c : s.substr(0, 400)) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out.push_back(char(c));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    if (s.size() > 400) out += "...(" + std::to_string(s.size()) + " bytes)";
    return out;
}
inline std::string printable(const char* s) { return s == nullptr ? "<null>" : printable(std::string_view(s)); }
inline std::string printable(const std::string& s) { return printable(std::string_view(s)); }
inline std::string printable(long long v) { return std::to_string(v); }

// A failed check is a crash for libFuzzer: it keeps the input.
#define FUZZ_CHECK(cond, ...)                                                           \
    do {                                                                                \
        if (!(cond)) {                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            fuzzDetail(__VA_ARGS__);                                                    \
            std::abort();                                                               \
        }                                                                               \
    } while (0)

inline void fuzzDetail() {}
template <class... T>
void fuzzDetail(const T&... parts) {
    ((std::fprintf(stderr, "  %s\n", printable(parts).c_str())), ...);
}

// A result is the null pointer or readable NUL-terminated text; copying it
// whole lets AddressSanitizer check every byte.
inline std::optional<std::string> take(const char* result) {
    if (result == nullptr) return std::nullopt;
    return std::string(result);
}

inline std::string shown(const std::optional<std::string>& r) { return r ? "\"" + printable(*r) + "\"" : "<null>"; }

// Inputs run on each tier, printed when the harness ends ("tier runs: ..."),
// which the fuzz campaign reports per harness.
struct TierRuns {
    uint64_t count[3] = {};
    TierRuns() {
        std::atexit([] {
            const uint64_t* c = tierRuns().count;
            if (c[0] + c[1] + c[2] == 0) return;
            std::fprintf(stderr, "tier runs: baseline %llu, avx2 %llu, avx512 %llu\n", (unsigned long long)c[0],
                         (unsigned long long)c[1], (unsigned long long)c[2]);
        });
    }
    static TierRuns& tierRuns() {
        static TierRuns runs;
        return runs;
    }
};

inline bool useTier(karpa::Tier tier) {
    if (!karpa::forceTier(tier)) return false;
    ++TierRuns::tierRuns().count[static_cast<int>(tier)];
    return true;
}

// Runs check() once on every tier the processor has (each then checked
// against the model), the processor's own tier put back afterwards.
template <class Check>
void onEveryTierRun(Check check) {
    for (karpa::Tier tier : {karpa::Tier::baseline, karpa::Tier::avx2, karpa::Tier::avx512}) {
        if (useTier(tier)) check();
    }
    karpa::forceTier(karpa::detectedTier());
}

// The results of `answers()` (a vector of export results) on every tier the
// processor has, each checked against the baseline's, which are returned.
// The processor's own tier is put back afterwards.
template <class Answers>
std::vector<std::optional<std::string>> onEveryTier(const std::string& text, Answers answers) {
    useTier(karpa::Tier::baseline);
    const std::vector<std::optional<std::string>> base = answers();
    for (karpa::Tier tier : {karpa::Tier::avx2, karpa::Tier::avx512}) {
        if (!useTier(tier)) continue;
        const std::vector<std::optional<std::string>> other = answers();
        for (size_t i = 0; i < base.size(); ++i) {
            FUZZ_CHECK(other[i] == base[i], text, karpa::tierName(tier), "answer " + std::to_string(i), shown(other[i]),
                       shown(base[i]));
        }
    }
    karpa::forceTier(karpa::detectedTier());
    return base;
}

// The argument text a library sees: everything before the first NUL.
inline std::string asArgument(std::string_view bytes) { return std::string(bytes.substr(0, bytes.find('\0'))); }

inline bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline std::string_view stripped(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

inline std::vector<std::string_view> pieces(std::string_view text) {
    std::vector<std::string_view> out;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        out.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) return out;
        start = comma + 1;
    }
}

// The number-list rule: split, strip, skip empty pieces, parse the rest whole.
template <class T, class Parse>
std::optional<std::vector<T>> readNumberList(std::string_view text, Parse parse) {
    std::vector<T> out;
    if (text.empty()) return out;
    for (std::string_view piece : pieces(text)) {
        piece = stripped(piece);
        if (piece.empty()) continue;
        std::optional<T> v = parse(piece);
        if (!v) return std::nullopt;
        out.push_back(*v);
    }
    return out;
}

// A whole integer: optional sign, a digit, then digits and underscores;
// the value must fit 64 bits. Computed in 128 bits, unlike the library.
inline std::optional<int64_t> modelInt(std::string_view s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size() || !isDigit(s[i])) return std::nullopt;
    __int128 magnitude = 0;
    for (; i < s.size(); ++i) {
        if (s[i] == '_') continue;
        if (!isDigit(s[i])) return std::nullopt;
        magnitude = magnitude * 10 + (s[i] - '0');
        if (magnitude > (__int128(1) << 63)) return std::nullopt;
    }
    const __int128 value = negative ? -magnitude : magnitude;
    if (value > INT64_MAX) return std::nullopt;
    return int64_t(value);
}

inline std::string joinInts(const std::vector<int64_t>& xs) {
    std::string out;
    for (size_t i = 0; i < xs.size(); ++i) {
        if (i) out.push_back(',');
        out += std::to_string(xs[i]);
    }
    return out;
}
