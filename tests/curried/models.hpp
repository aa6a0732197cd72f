// Plain reference models for the statistics and collection tests: std::vector
// data, the same arithmetic in the same order, and printers built on the
// standard library (std::to_chars, snprintf) rather than the library's codec.
#pragma once

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace model {

inline std::string show(const char* result) { return result == nullptr ? std::string("<null>") : std::string(result); }

// Shortest round-trip digits from std::to_chars, laid out as: fixed with ".0"
// for whole numbers when the point position P is in [-6, 17], otherwise
// d.ddde±x.
inline std::string roundtrip(double x) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
    if (x == 0) return std::signbit(x) ? "-0.0" : "0.0";
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific);
    const std::string s(buffer, r.ptr);
    const size_t e = s.find('e');
    std::string digits = s.substr(0, e);
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    const int n = static_cast<int>(digits.size());
    const int p = std::stoi(s.substr(e + 1)) + 1;
    std::string out = std::signbit(x) ? "-" : "";
    if (p >= -6 && p <= 17) {
        if (p <= 0) {
            out += "0." + std::string(static_cast<size_t>(-p), '0') + digits;
        } else if (p < n) {
            out += digits.substr(0, static_cast<size_t>(p)) + "." + digits.substr(static_cast<size_t>(p));
        } else {
            out += digits + std::string(static_cast<size_t>(p - n), '0') + ".0";
        }
    } else {
        out += digits.substr(0, 1);
        if (n > 1) out += "." + digits.substr(1);
        out += (p - 1 < 0 ? "e-" : "e+") + std::to_string(std::abs(p - 1));
    }
    return out;
}

inline std::string general(double x) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%g", x);
    return std::string(buffer, static_cast<size_t>(n));
}

inline uint64_t bits(double x) { return std::bit_cast<uint64_t>(x); }

// The same binary64 value, NaN matching any NaN.
inline bool sameFloat(double a, double b) { return (std::isnan(a) && std::isnan(b)) || bits(a) == bits(b); }

// The stable bottom-up merge with end-aligned runs, step by step; needed where
// NaN makes the comparison inconsistent and the exact steps decide the result.
template <class T>
void mergeSort(std::vector<T>& a) {
    auto cmp = [](T x, T y) { return x == y ? 0 : (x < y ? -1 : 1); };
    const int64_t n = static_cast<int64_t>(a.size());
    for (int64_t s = 1; s < n; s *= 2) {
        for (int64_t m = n - 1 - s; m >= 0; m -= 2 * s) {
            const int64_t lo = std::max<int64_t>(m - s + 1, 0), hi = m + s;
            if (cmp(a[m], a[m + 1]) <= 0) continue;
            std::vector<T> left(a.begin() + lo, a.begin() + m + 1);
            int64_t i = 0, j = m + 1, k = lo;
            while (k < j && j <= hi) a[k++] = cmp(left[i], a[j]) <= 0 ? left[i++] : a[j++];
            while (k < j) a[k++] = left[i++];
        }
    }
}

// Integer statistics; nullopt where a checked 64-bit step overflows.
inline std::optional<int64_t> sum(const std::vector<int64_t>& xs) {
    __int128 s = 0;
    for (size_t i = 0; i < xs.size(); ++i) {
        s += xs[i];
        if (s > INT64_MAX || s < INT64_MIN) return std::nullopt;
    }
    return static_cast<int64_t>(s);
}

inline std::optional<int64_t> dot(const std::vector<int64_t>& a, const std::vector<int64_t>& b) {
    __int128 acc = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const __int128 p = static_cast<__int128>(a[i]) * b[i];
        if (p > INT64_MAX || p < INT64_MIN) return std::nullopt;
        acc += p;
        if (acc > INT64_MAX || acc < INT64_MIN) return std::nullopt;
    }
    return static_cast<int64_t>(acc);
}

// Float statistics in list order from +0.0.
inline double sum(const std::vector<double>& xs) {
    double s = 0.0;
    for (double x : xs) s += x;
    return s;
}

inline double variance(const std::vector<double>& xs) {
    if (xs.empty()) return 0.0;
    const double n = static_cast<double>(xs.size());
    const double m = sum(xs) / n;
    double q = 0.0;
    for (double x : xs) {
        const double d = x - m;
        const double dd = d * d;
        q += dd;
    }
    return q / n;
}

template <class T>
double median(std::vector<T> xs) {
    if (xs.empty()) return 0.0;
    mergeSort(xs);
    const size_t n = xs.size();
    if (n % 2 == 1) return static_cast<double>(xs[n / 2]);
    return (static_cast<double>(xs[n / 2 - 1]) + static_cast<double>(xs[n / 2])) * 0.5;
}

// List text with the reader's liberties: blanks around items, empty pieces.
template <class T, class Print>
std::string listText(const std::vector<T>& xs, std::mt19937_64& rng, Print print) {
    static const char* const pads[] = {"", "", "", " ", "\t", " \r\n"};
    std::string text;
    for (size_t i = 0; i < xs.size(); ++i) {
        if (i != 0) text += ',';
        if (rng() % 16 == 0) text += ',';  // an empty piece
        text += pads[rng() % 6];
        text += print(xs[i]);
        text += pads[rng() % 6];
    }
    return text;
}

inline std::string intText(int64_t x) { return std::to_string(x); }

inline std::string floatText(double x) {
    if (std::isnan(x)) return std::signbit(x) ? "-nan" : "nan";
    char buffer[40];
    const int n = std::snprintf(buffer, sizeof buffer, "%.17g", x);
    return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace model
