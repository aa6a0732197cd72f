// The integer scanner and the integer list reader.
//
// Digits are read eight at a time as one 64-bit word. A run of at most
// nineteen digits is below 10^19 < 2^64, so its value is gathered in 64 bits
// without a check and compared with the limit once. A run of twenty digits or
// more (leading zeros, or out of range) and a run followed by '_' are read
// again by the per-digit scan, which checks every digit against the limit.
#include <bit>
#include <cstring>

#include "frame/codec/intscan.hpp"
#include "frame/codec/intscan_block.hpp"
#include "frame/cpu.hpp"

namespace karpa {
namespace {

constexpr uint64_t kLimitMagnitude = uint64_t(INT64_MAX);  // + 1 for a negative number

// Reads the digits at p: returns the end of the run and its value, or null
// when the run is longer than nineteen digits. Loads a word only where eight
// bytes remain.
inline const char* scanDigits(const char* p, const char* end, uint64_t& magnitude) {
    const char* const first = p;
    uint64_t acc = 0;
    while (end - p >= 8) {
        const uint64_t w = load8(p);
        const uint64_t other = nonDigitBits(w);
        if (other == 0) {
            if (p - first == 16) return nullptr;  // 24 digits or more
            acc = acc * 100000000 + eightDigits(w & kLowNibbles);
            p += 8;
            continue;
        }
        const unsigned k = leadingDigits(other);
        if (k != 0) {
            if (static_cast<size_t>(p - first) + k > 19) return nullptr;
            acc = acc * kPowersOf10[k] + leadingDigitsValue(w, k);
            p += k;
        }
        magnitude = acc;
        return p;
    }
    for (; p < end && isDigit(*p); ++p) {
        if (p - first == 19) return nullptr;
        acc = acc * 10 + static_cast<uint64_t>(*p - '0');
    }
    magnitude = acc;
    return p;
}

// An optional sign at p (p < end) and the digits after it: the end of the
// run as scanDigits gives it, where the digits begin, and the sign.
inline const char* scanSignedDigits(const char* p, const char* end, const char*& digits, bool& negative,
                                    uint64_t& magnitude) {
    negative = *p == '-';
    digits = p + (negative || *p == '+');
    return scanDigits(digits, end, magnitude);
}

// The value of a sign and a magnitude that fit, or the range error.
inline int64_t signedValue(bool negative, uint64_t magnitude) {
    if (magnitude > kLimitMagnitude + negative) [[unlikely]] integerOutOfRangeError();
    return static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
}

// trunc((INT64_MIN + d) / 10): below this, one more digit d leaves the range.
constexpr int64_t kDigitLimit[10] = {
    (INT64_MIN + 0) / 10, (INT64_MIN + 1) / 10, (INT64_MIN + 2) / 10, (INT64_MIN + 3) / 10,
    (INT64_MIN + 4) / 10, (INT64_MIN + 5) / 10, (INT64_MIN + 6) / 10, (INT64_MIN + 7) / 10,
    (INT64_MIN + 8) / 10, (INT64_MIN + 9) / 10,
};

// The per-digit scan, with rawParseInt's contract: every digit is checked
// against the limit before it is taken.
[[gnu::noinline]] size_t scanIntPerDigit(const char* s, size_t n, int64_t& value) {
    size_t i = 0;
    bool negative = false;
    if (n == 0) return 0;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i >= n || !isDigit(s[i])) return 0;
    // Accumulated as a non-positive number so that INT64_MIN is reachable.
    // Past the first digit an underscore always follows a digit or another
    // underscore, so one loop takes both.
    int64_t acc = 0;
    for (; i < n; ++i) {
        const unsigned d = static_cast<unsigned char>(s[i]) - unsigned('0');
        if (d <= 9) {
            if (acc < kDigitLimit[d]) [[unlikely]] integerOutOfRangeError();
            acc = acc * 10 - static_cast<int64_t>(d);
        } else if (s[i] != '_') {
            break;
        }
    }
    if (!negative) {
        if (acc == INT64_MIN) [[unlikely]] integerOutOfRangeError();
        acc = -acc;
    }
    value = acc;
    return i;
}

}  // namespace

size_t rawParseInt(const char* s, size_t n, int64_t& value) {
    if (n == 0) return 0;
    const char* digits;
    bool negative;
    uint64_t magnitude = 0;
    const char* const q = scanSignedDigits(s, s + n, digits, negative, magnitude);
    if (q == nullptr || (q < s + n && *q == '_')) [[unlikely]] return scanIntPerDigit(s, n, value);
    if (q == digits) return 0;
    value = signedValue(negative, magnitude);
    return static_cast<size_t>(q - s);
}

namespace {

// The common piece at p (p < end: a sign, digits, then the comma or the end)
// into `put`: returns where the next piece starts, null at the end of the
// text, or p itself when the piece is not a common one.
template <class Put>
[[gnu::always_inline]] inline const char* readCommonIntPiece(const char* p, const char* end, Put& put) {
    const char* digits;
    bool negative;
    uint64_t magnitude = 0;
    const char* const q = scanSignedDigits(p, end, digits, negative, magnitude);
    if (q != nullptr && q != digits && (q == end || *q == ',')) [[likely]] {
        put(signedValue(negative, magnitude));
        return q == end ? nullptr : q + 1;
    }
    return p;
}

// One piece at p into `put`: the common piece is read here; any other byte
// where the piece starts or ends sends it to readPiece. Returns where the
// next piece starts, or null at the end of the text.
template <class Put>
[[gnu::always_inline]] inline const char* readIntPiece(const char* p, const char* end, Put& put) {
    if (p != end) {
        const char* const next = readCommonIntPiece(p, end, put);
        if (next != p) [[likely]] return next;
    }
    return readPiece<int64_t>(p, end, put, rawParseInt, invalidInteger);
}

// The block reader of the tier in use, or null for the baseline.
IntBlockReader intBlockReader() {
    switch (activeTier()) {
        // The AVX2 reader on the AVX-512 tier too: on Zen 4 the 512-bit one
        // reads integer lists about 10 % slower (seq_reduce_sum_int, medians
        // of alternating runs of bench/seq with --karpa_tier, 2026-12-09).
        case Tier::avx512:
        case Tier::avx2: return readIntBlocksAvx2;
        case Tier::baseline: break;
    }
    return nullptr;
}

// Reads every element of the list text into `put`: in blocks where the tier
// has a block reader (readListBlocks), the rest one piece at a time.
template <class Put>
[[gnu::always_inline]] inline void readInts(std::string_view text, Put& put) {
    const char* p = text.data();
    const char* const end = p + text.size();
    // A short text (a single value, say) does not ask for the tier.
    const IntBlockReader blocks = text.size() >= kIntBlockReach + kIntBlockBytes ? intBlockReader() : nullptr;
    if (blocks != nullptr) {
        auto piece = [](const char* q, const char* e, Put& out) { return readIntPiece(q, e, out); };
        auto drain = [](const int64_t* values, size_t k, Put& out) {
            for (size_t i = 0; i < k; ++i) out(values[i]);
        };
        p = readListBlocks<int64_t[kIntBlockBatch], kIntBlockBatch>(p, end, blocks, piece, drain, put);
    }
    while (p != nullptr) p = readIntPiece(p, end, put);
}

}  // namespace

IntList parseCsvInts(std::string_view text) {
    return collectList<int64_t>(text, [](std::string_view t, auto& put) { readInts(t, put); });
}

namespace {

template <class Put>
[[gnu::noinline]] Put readAllInts(std::string_view text, Put put) {
    readInts(text, put);
    return put;
}

// The first piece of a short text (most often its only one, the argument of
// a one-value call) is read here when it is a common one: too short for a
// word of digits, it needs none of the word scan's constants and few
// registers. The rest, and any other text, takes the list walk out of line,
// so that a one-value call pays neither the walk's stack frame nor its setup.
template <class Put>
inline Put readIntsInto(std::string_view text) {
    Put put;
    if (text.empty()) return put;
    const char* p = text.data();
    const char* const end = p + text.size();
    if (text.size() < 8) {
        p = readCommonIntPiece(p, end, put);
        if (p == nullptr) return put;
    }
    return readAllInts(std::string_view(p, static_cast<size_t>(end - p)), put);
}

}  // namespace

int64_t readIntSum(std::string_view text) { return readIntsInto<CheckedSum>(text).total(); }

Extremes<int64_t> readIntExtremes(std::string_view text) { return readIntsInto<Extremes<int64_t>>(text); }

namespace {

// The running checked dot product with a list already read: pairs beyond
// either list's end are not multiplied, and the first overflow is remembered
// (as CheckedSum does) so that a bad piece later in the text still fails first.
struct CheckedDot {
    const int64_t* a;
    size_t n;
    size_t i = 0;
    int64_t sum = 0;
    bool overflowed = false;
    void operator()(int64_t y) {
        if (i == n) return;
        int64_t product;
        overflowed |= __builtin_mul_overflow(a[i], y, &product);
        overflowed |= __builtin_add_overflow(sum, product, &sum);
        ++i;
    }
};

}  // namespace

int64_t readIntDot(const int64_t* a, size_t n, std::string_view text) {
    CheckedDot dot{a, n};
    if (!text.empty()) dot = readAllInts(text, dot);
    if (dot.overflowed) [[unlikely]] raiseOverflow();
    return dot.sum;
}

int64_t parseInt(std::string_view text) {
    int64_t value = 0;
    const size_t used = rawParseInt(text.data(), text.size(), value);
    if (used == 0 || used != text.size()) invalidInteger(text);
    return value;
}

IntList parseInts(const char* hostText) { return parseCsvInts(hostText == nullptr ? std::string_view("", 0) : hostText); }

}  // namespace karpa
