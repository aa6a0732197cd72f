// repr() of a binary64 for karpa._native: the shortest digits that read back
// to the same value (the libraries' own digit generator), laid out as Python
// lays out repr(): "0.0001", "1e-05", "1e+16", "123.0", "nan", "-inf".
#include <bit>
#include <cstdint>
#include <cstring>

#include "frame/codec/float_shortest.hpp"

extern "C" size_t karpa_native_float_repr(char* out, double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    const uint32_t biased = static_cast<uint32_t>(bits >> 52) & 0x7FF;
    const uint64_t fraction = bits & ((1ull << 52) - 1);
    if (biased == 0x7FF && fraction != 0) {
        std::memcpy(out, "nan", 3);
        return 3;
    }
    size_t len = 0;
    if (bits >> 63) out[len++] = '-';
    if (biased == 0x7FF) {
        std::memcpy(out + len, "inf", 3);
        return len + 3;
    }
    if (biased == 0 && fraction == 0) {
        std::memcpy(out + len, "0.0", 3);
        return len + 3;
    }
    const karpa::Decimal64 d = karpa::toDecimal64(fraction, biased);
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char text[20];
    char* first = text + 20;
    uint64_t s = d.significand;
    while (s >= 100) {
        const uint64_t q = s / 100;
        first -= 2;
        std::memcpy(first, kPairs + 2 * (s - q * 100), 2);
        s = q;
    }
    if (s >= 10) {
        first -= 2;
        std::memcpy(first, kPairs + 2 * s, 2);
    } else {
        *--first = static_cast<char>('0' + s);
    }
    const char* const digits = first;
    const int n = static_cast<int>(text + 20 - first);
    const int point = n + d.exponent;  // the value is 0.digits * 10^point
    if (point <= -4 || point > 16) {
        out[len++] = digits[0];
        if (n > 1) {
            out[len++] = '.';
            std::memcpy(out + len, digits + 1, static_cast<size_t>(n - 1));
            len += static_cast<size_t>(n - 1);
        }
        int e = point - 1;
        out[len++] = 'e';
        out[len++] = e < 0 ? '-' : '+';
        if (e < 0) e = -e;
        if (e >= 100) out[len++] = static_cast<char>('0' + e / 100);
        out[len++] = static_cast<char>('0' + e / 10 % 10);
        out[len++] = static_cast<char>('0' + e % 10);
    } else if (point <= 0) {
        out[len++] = '0';
        out[len++] = '.';
        for (int i = 0; i < -point; ++i) out[len++] = '0';
        std::memcpy(out + len, digits, static_cast<size_t>(n));
        len += static_cast<size_t>(n);
    } else if (point >= n) {
        std::memcpy(out + len, digits, static_cast<size_t>(n));
        len += static_cast<size_t>(n);
        for (int i = n; i < point; ++i) out[len++] = '0';
        out[len++] = '.';
        out[len++] = '0';
    } else {
        std::memcpy(out + len, digits, static_cast<size_t>(point));
        len += static_cast<size_t>(point);
        out[len++] = '.';
        std::memcpy(out + len, digits + point, static_cast<size_t>(n - point));
        len += static_cast<size_t>(n - point);
    }
    return len;
}

// List text of a binary64 for the exports: the libraries' own round-trip
// form, which reads back to the same value (only its layout differs from
// repr: "1e16" is "10000000000000000.0"). Writes at most FLOAT_TEXT_ROOM bytes
// at out, some past the returned length.
extern "C" size_t karpa_native_float_text(char* out, double x) {
    static_assert(karpa::kMaxRoundtripText == 32);
    return static_cast<size_t>(karpa::writeFloatRoundtrip(out, x) - out);
}
