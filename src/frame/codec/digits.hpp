// Decimal digits: the digit-pair table, digit counts, and digits read and
// written eight at a time as one little-endian 64-bit word. Shared by the
// integer and float readers and printers.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace karpa {

constexpr bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// "00" .. "99": the two digits of n start at kDigitPairs + 2 * n.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline constexpr uint64_t kPowersOf10[20] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull, 100000000ull,
    1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull, 10000000000000ull,
    100000000000000ull, 1000000000000000ull, 10000000000000000ull, 100000000000000000ull,
    1000000000000000000ull, 10000000000000000000ull};

// Decimal digits of u (1 for 0). floor(bits * log10(2)) with log10(2) ~
// 1233 / 4096 is the digit count less one or that count less two; one
// comparison with the power of ten picks. `u | 1` has the digits of u (a
// power of ten is even) and at least one bit.
inline int decimalDigits(uint64_t u) {
    const uint64_t v = u | 1;
    const int t = ((64 - __builtin_clzll(v)) * 1233) >> 12;
    return t + 1 - (v < kPowersOf10[t]);
}

// ---- Digits eight at a time, as one little-endian 64-bit word ----

inline constexpr uint64_t kEveryByte = 0x0101010101010101;  // times b: b in every byte
inline constexpr uint64_t kLowNibbles = 0x0F * kEveryByte;

inline uint64_t load8(const char* p) {
    static_assert(std::endian::native == std::endian::little, "the first byte of a word is its lowest");
    uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// Nonzero bits in the bytes of w that are not ASCII digits, exact up to and
// including the first such byte. A byte is a digit when its high nibble is 3
// and adding 6 keeps it so (low nibble at most 9). The addition may carry out
// of a byte only from a byte that is not a digit, so the bytes below the
// first one flagged are never disturbed.
inline uint64_t nonDigitBits(uint64_t w) {
    const uint64_t high = (w & (0xF0 * kEveryByte)) ^ (0x30 * kEveryByte);
    const uint64_t low = ((w + 0x06 * kEveryByte) & (0xF0 * kEveryByte)) ^ (0x30 * kEveryByte);
    return high | low;
}

// The count of digits before the first other byte of a word with one.
inline unsigned leadingDigits(uint64_t otherBits) { return static_cast<unsigned>(__builtin_ctzll(otherBits)) >> 3; }

// Eight digit values d0..d7 in bytes 0..7, d0 the most significant, as one
// number. Each step joins neighbouring lanes, the lower one the leading part:
//   bytes:        10 * d(i) + d(i+1)       <= 99     in the even bytes
//   16-bit lanes: 100 * p(j) + p(j+1)      <= 9999   in the even lanes
//   32-bit lanes: 10^4 * q0 + q1           <= 10^8 - 1
// No lane passes its width, so no step carries into the next lane.
inline uint64_t eightDigits(uint64_t d) {
    d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FF;
    d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFF;
    return (d * 10000 + (d >> 32)) & 0xFFFFFFFF;
}

// The first k (1..7) digits of a word as a number: shifted to the top of
// the word, they are the last k of eight digits led by zeros.
inline uint64_t leadingDigitsValue(uint64_t w, unsigned k) { return eightDigits((w & kLowNibbles) << (64 - 8 * k)); }

// ---- Digits out, eight per word ----

// The eight digits of v < 10^8 as ASCII in one word, the most significant in
// the lowest byte: halves of four digits, quarters of two and single digits,
// each lane divided by a multiply and a shift (exact in these ranges).
inline uint64_t eightDigitText(uint32_t v) {
    const uint64_t x = (v / 10000) | (static_cast<uint64_t>(v % 10000) << 32);
    const uint64_t hundreds = ((x * 10486) >> 20) & 0x0000007F0000007Full;
    const uint64_t pairs = hundreds | ((x - hundreds * 100) << 16);
    const uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Full;
    const uint64_t digits = tens | ((pairs - tens * 10) << 8);
    return digits + 0x30 * kEveryByte;
}

inline void store8(char* p, uint64_t w) { std::memcpy(p, &w, 8); }

// The first n (1..8) bytes of w at p, and nothing past them: two stores of
// the same width that overlap where n is not their width.
inline void storeFirstBytes(char* p, uint64_t w, unsigned n) {
    if (n >= 4) {
        const uint32_t head = static_cast<uint32_t>(w);
        const uint32_t tail = static_cast<uint32_t>(w >> (8 * (n - 4)));
        std::memcpy(p, &head, 4);
        std::memcpy(p + n - 4, &tail, 4);
    } else if (n >= 2) {
        const uint16_t head = static_cast<uint16_t>(w);
        const uint16_t tail = static_cast<uint16_t>(w >> (8 * (n - 2)));
        std::memcpy(p, &head, 2);
        std::memcpy(p + n - 2, &tail, 2);
    } else {
        *p = static_cast<char>(w);
    }
}

}  // namespace karpa
