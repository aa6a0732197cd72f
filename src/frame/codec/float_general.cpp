// The general form: C's "%g". The exports print it with the default
// precision, six significant digits, and that case is printed here from the
// shortest round-trip digits; other modes and precisions go to snprintf.
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>

#include "frame/codec/float_general.hpp"
#include "frame/codec/float_shortest.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {
namespace {

constexpr int kGeneralDigits = 6;

// The C library's text, which is exact for every value and also the
// reference the fast printer is tested against.
size_t snprintfFloat(char (&buffer)[2501], double x, FloatMode mode, int precision, char separator) {
    int len;
    if (precision < 0) {
        switch (mode) {
            case FloatMode::Decimal: len = std::snprintf(buffer, sizeof buffer, "%f", x); break;
            case FloatMode::Scientific: len = std::snprintf(buffer, sizeof buffer, "%e", x); break;
            default: len = std::snprintf(buffer, sizeof buffer, "%g", x); break;
        }
    } else {
        switch (mode) {
            case FloatMode::Decimal: len = std::snprintf(buffer, sizeof buffer, "%#.*f", precision, x); break;
            case FloatMode::Scientific: len = std::snprintf(buffer, sizeof buffer, "%#.*e", precision, x); break;
            default: len = std::snprintf(buffer, sizeof buffer, "%#.*g", precision, x); break;
        }
    }
    if (len < 0) len = 0;
    if (static_cast<size_t>(len) >= sizeof buffer) len = static_cast<int>(sizeof buffer) - 1;  // cut by snprintf
    // The locale may print another decimal point; ours is `separator`.
    for (int i = 0; i < len; ++i) {
        if (buffer[i] == '.' || buffer[i] == ',') buffer[i] = separator;
    }
    return static_cast<size_t>(len);
}

[[gnu::noinline]] char* writeGeneralBySnprintf(char* out, double x) {
    char buffer[2501];
    const size_t len = snprintfFloat(buffer, x, FloatMode::Default, -1, '.');
    std::memcpy(out, buffer, len);
    return out + len;
}

// NaN, infinities, zeros and subnormals (whose coarser ulp the shortest
// digits cannot round from: the C library prints them).
[[gnu::noinline]] char* writeGeneralRare(char* out, double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    *out = '-';
    out += bits >> 63;  // glibc prints the sign of NaN too: "-nan"
    if ((bits & 0x7FF0000000000000ull) == 0x7FF0000000000000ull) {
        std::memcpy(out, (bits & ((1ull << 52) - 1)) != 0 ? "nan" : "inf", 3);
        return out + 3;
    }
    if ((bits << 1) == 0) {
        *out = '0';
        return out + 1;
    }
    return writeGeneralBySnprintf(out - (bits >> 63), x);
}

// The six digits of 100000 <= v < 10^6 as values in bytes 0..5, the most
// significant first: the halves of two and four digits, then pairs, then
// digits, each quotient by a multiply and a shift exact in its range.
inline uint64_t sixDigitValues(uint32_t v) {
    const uint64_t top = (static_cast<uint64_t>(v) * 0xD1B71759) >> 45;  // v / 10^4
    const uint32_t rest = v - static_cast<uint32_t>(top) * 10000;
    const uint32_t mid = (rest * 5243) >> 19;  // rest / 100
    const uint64_t pairs = top | (static_cast<uint64_t>(mid) << 16) | (static_cast<uint64_t>(rest - mid * 100) << 32);
    const uint64_t tens = ((pairs * 103) >> 10) & 0x0000000F000F000Full;
    return tens | ((pairs - tens * 10) << 8);
}

// x rounded to six significant digits, as `digits` (100000..999999, trailing
// zeros kept) and `point`, the decimal exponent of the leading digit. False
// when the shortest digits cannot decide it.
//
// The shortest digits S of a normal x lie within half an ulp of x, at most
// 2^-53 |x|. In units u of S's sixth digit |x| < 10^6 u, so |x - S| < 1.2e-10 u:
// rounding x to a multiple of u goes the way rounding S goes unless the
// digits of S after the sixth lie within 1.2e-10 u of one half (exact ties
// among them). S is scaled to 17 digits, where u is 10^11 and the margin
// taken is 2.5e-10 u; with six digits or fewer S is itself the nearest
// multiple. For normal values only.
bool roundToGeneralDigits(uint64_t bits, uint32_t biased, uint32_t& digits, int& point) {
    const SeventeenDigits d = seventeenShortest(bits & ((1ull << 52) - 1), biased);
    point = d.point - 1;
    const uint64_t scaled = d.digits;
    constexpr uint64_t kUnit = 100000000000;  // 10^11
    uint64_t q = scaled / kUnit;
    const uint64_t twiceRest = 2 * (scaled - q * kUnit);
    const uint64_t fromHalf = twiceRest > kUnit ? twiceRest - kUnit : kUnit - twiceRest;
    if (fromHalf <= kUnit / 4000000000) [[unlikely]] return false;
    q += twiceRest > kUnit;
    if (q == 1000000) {
        q = 100000;
        ++point;
    }
    digits = static_cast<uint32_t>(q);
    return true;
}


// Per binary exponent, the significand from which x * 10^(5 - lead) has
// seven digits by the product below (x * 10^(4 - lead) is taken then),
// shifted up by a byte that holds that other product's shift; 0 where the
// power table does not reach.
inline constexpr std::array<uint64_t, 2047> kSevenDigitsFrom = [] {
    using namespace floatcodec_detail;
    std::array<uint64_t, 2047> table{};
    for (int biased = 1; biased < 2047; ++biased) {
        const int e = biased - 1075;
        const int k = kGeneralDigits - 1 - kExponentScales[static_cast<size_t>(biased)].lead;
        if (k - 1 < kPow10MinExponent) continue;
        // (fc << 11) * high >> (64 + shift) >= 10^6 exactly when fc * high >= 10^6 * 2^(53 + shift).
        const u128 bound = static_cast<u128>(1000000) << (53 + kExponentScales[static_cast<size_t>(biased)].shift);
        const uint64_t high = kPow10Significands[k - kPow10MinExponent].high;
        const uint64_t from = static_cast<uint64_t>((bound + high - 1) / high);
        table[static_cast<size_t>(biased)] = (from << 8) | static_cast<uint64_t>(10 - e - floorLog2Pow10(k - 1));
    }
    return table;
}();

// x rounded to six significant digits straight from its exact value, as
// `roundToGeneralDigits` gives them: y = x * 10^k for the k that puts y in
// [10^5, 10^6) (the exponent's entry and, past the significand where the
// product would have seven digits, one power less), through the high half
// of the table's 10^k (relatively within 2^-63 of it), so y is within 2^-41
// of exact. y is rounded by its fraction unless that is within 2^-39 of one
// half (ties, and values too close to tell); then, and for exponents past
// the table's end, false.
inline bool roundToSixDigits(uint64_t bits, uint32_t biased, uint32_t& digits, int& point) {
    using namespace floatcodec_detail;
    const uint64_t sevenFrom = kSevenDigitsFrom[biased];
    if (sevenFrom == 0) [[unlikely]] return false;
    const ExponentScale& scale = kExponentScales[biased];
    const uint64_t fc = (bits & ((1ull << 52) - 1)) | (1ull << 52);
    const bool seven = ((fc << 8) | 0xFF) >= sevenFrom;
    // 43..50: y = product * 2^-(64 + shift).
    const int shift = seven ? static_cast<int>(sevenFrom & 0xFF) : scale.shift;
    const int lead = scale.lead + seven;
    const u128 product = static_cast<u128>(fc << 11) * pow10Significand(kGeneralDigits - 1 - lead).high;
    const uint64_t high = static_cast<uint64_t>(product >> 64);
    const uint64_t whole = high >> shift;  // 10^5 - 1 .. 10^6 - 1
    const uint64_t fraction = (high << (64 - shift)) | (static_cast<uint64_t>(product) >> shift);
    constexpr uint64_t kHalf = 1ull << 63;
    constexpr uint64_t kMargin = 1ull << 25;  // 2^-39 of y, the error 2^-41 at most
    if (fraction - kHalf + kMargin < 2 * kMargin) [[unlikely]] return false;
    uint64_t q = whole + (fraction > kHalf);
    point = lead;
    if (q == 1000000) {
        q = 100000;
        ++point;
    }
    digits = static_cast<uint32_t>(q);
    return true;
}

// C's choice of style for precision P = 6 and exponent X of the rounded
// value: fixed with P - 1 - X decimals when -4 <= X < P, else scientific
// with P - 1 decimals; "%g" then drops trailing zeros and a bare point. The
// six digits are one word of text, written whole; what lies past the end of
// the text is left over.
[[gnu::always_inline]] inline char* layoutGeneral(char* out, uint64_t bits, uint32_t digits, int point) {
    *out = '-';
    out += bits >> 63;
    // The six digits in bytes 0..5; n without the trailing zeros.
    const uint64_t values = sixDigitValues(digits);
    const uint64_t text = values + 0x303030303030;
    const int n = 8 - static_cast<int>(__builtin_clzll(values) >> 3);
    if (static_cast<unsigned>(point + 4) >= kGeneralDigits + 4) {
        out[0] = static_cast<char>(text);
        store8(out + 1, (text >> 8 << 8) | '.');
        const int len = n + (n > 1);
        const uint64_t suffix = kExponentWords<2>[point - kMinExponentWord];
        store8(out + len, suffix);
        return out + len + (suffix >> 56);
    }
    if (point < 0) {
        std::memcpy(out, "0.000000", 8);  // "0." and -point - 1 zeros
        store8(out + 1 - point, text);
        return out + 1 - point + n;
    }
    const int whole = point + 1;
    if (n <= whole) {
        store8(out, text);  // the digits' own trailing zeros fill up to the point
        return out + whole;
    }
    const int shift = 8 * whole;
    const uint64_t below = text & ((1ull << shift) - 1);
    store8(out, below | (uint64_t{'.'} << shift) | ((text - below) << 8));
    return out + n + 1;
}

// Near ties and the largest exponents: from the shortest digits, or else
// from the C library.
[[gnu::noinline]] char* writeGeneralNearTie(char* out, double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    const uint32_t biased = static_cast<uint32_t>(bits >> 52) & 0x7FF;
    uint32_t digits;
    int point;
    if (!roundToGeneralDigits(bits, biased, digits, point)) return writeGeneralBySnprintf(out, x);
    return layoutGeneral(out, bits, digits, point);
}

}  // namespace

char* writeFloatGeneral(char* out, double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    const uint32_t biased = static_cast<uint32_t>(bits >> 52) & 0x7FF;
    if (biased - 1 >= 0x7FE) [[unlikely]] return writeGeneralRare(out, x);
    uint32_t digits;
    int point;
    if (!roundToSixDigits(bits, biased, digits, point)) [[unlikely]] return writeGeneralNearTie(out, x);
    return layoutGeneral(out, bits, digits, point);
}

size_t formatFloat(char (&buffer)[2501], double x, FloatMode mode, int precision, char separator) {
    if (mode != FloatMode::Default || precision >= 0) return snprintfFloat(buffer, x, mode, precision, separator);
    const size_t len = static_cast<size_t>(writeFloatGeneral(buffer, x) - buffer);
    for (size_t i = 0; i < len; ++i) {
        if (buffer[i] == '.') buffer[i] = separator;
    }
    return len;
}

void addFloatGeneral(TextBuilder& out, double x) { out.commit(writeFloatGeneral(out.room(kMaxGeneralText), x)); }

const char* printFloatGeneral(double x) {
    TextBuilder out;
    addFloatGeneral(out, x);
    return out.finish();
}

const char* printFloatGeneralList(const FloatList& list) {
    if (list.empty()) return "";
    TextBuilder out;
    out.reserve(list.size() * (kMaxGeneralText + 1));
    addFloatGeneral(out, list[0]);
    for (size_t i = 1; i < list.size(); ++i) {
        out.push(',');
        addFloatGeneral(out, list[i]);
    }
    return out.finish();
}

}  // namespace karpa
