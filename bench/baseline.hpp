// The standard-library way of doing a list job, which the benchmarks use as
// their anchor: std::from_chars to read, std::to_chars to print, one join.
#pragma once

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace karpa_bench {

inline bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The number-list rule: pieces between commas, stripped, empty ones skipped.
template <class T>
std::vector<T> readNumbers(std::string_view text) {
    std::vector<T> out;
    out.reserve(text.size() / 2 + 1);
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* comma = static_cast<const char*>(std::memchr(p, ',', size_t(end - p)));
        const char* pieceEnd = comma ? comma : end;
        while (p < pieceEnd && isBlank(*p)) ++p;
        const char* q = pieceEnd;
        while (q > p && isBlank(q[-1])) --q;
        if (p < q) {
            T v{};
            if (std::from_chars(p, q, v).ptr != q) std::abort();
            out.push_back(v);
        }
        p = pieceEnd + 1;
    }
    return out;
}

// Integers joined with ",", each written by `write(p, x)`, which returns the end.
template <class Write>
inline std::string joinInts(const std::vector<int64_t>& xs, Write write) {
    std::string out;
    out.resize(xs.size() * 21);
    char* p = out.data();
    for (size_t i = 0; i < xs.size(); ++i) {
        if (i) *p++ = ',';
        p = write(p, xs[i]);
    }
    out.resize(static_cast<size_t>(p - out.data()));
    return out;
}
inline std::string printInts(const std::vector<int64_t>& xs) {
    return joinInts(xs, [](char* p, int64_t x) { return std::to_chars(p, p + 21, x).ptr; });
}

// String-list items: every piece between commas, kept as it stands.
inline std::vector<std::string_view> splitItems(std::string_view text) {
    std::vector<std::string_view> out;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            out.push_back(text.substr(start));
            return out;
        }
        out.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

inline std::string joinItems(const std::vector<std::string_view>& items) {
    size_t total = items.empty() ? 0 : items.size() - 1;
    for (auto s : items) total += s.size();
    std::string out;
    out.reserve(total);
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += ',';
        out += items[i];
    }
    return out;
}

}  // namespace karpa_bench
