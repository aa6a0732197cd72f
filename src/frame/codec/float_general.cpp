// The general form: C's "%g". The exports print it with the default
// precision, six significant digits, and that case is printed here from the
// shortest round-trip digits; other modes and precisions go to snprintf.
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

// x rounded to six significant digits: `digits` without trailing zeros and
// `point`, the decimal exponent of the leading digit. False when the
// shortest digits cannot decide it.
//
// The shortest digits S of a normal x lie within half an ulp of x, at most
// 2^-53 |x|. In units u of S's sixth digit |x| < 10^6 u, so |x - S| < 1.2e-10 u:
// rounding x to a multiple of u goes the way rounding S goes unless the
// digits of S after the sixth lie within 1.2e-10 u of one half (exact ties
// among them). With six digits or fewer S is itself the nearest multiple.
// Subnormals have a coarser ulp and are left out.
bool roundToGeneralDigits(uint64_t bits, uint32_t biased, uint32_t& digits, int& point) {
    if (biased == 0) return false;
    const Decimal64 d = toDecimal64(bits & ((1ull << 52) - 1), biased);
    const int length = decimalDigits(d.significand);
    point = length - 1 + d.exponent;
    if (length <= kGeneralDigits) {
        digits = static_cast<uint32_t>(d.significand);
        return true;
    }
    const uint64_t unit = kPowersOf10[length - kGeneralDigits];
    uint64_t q = d.significand / unit;
    const uint64_t twiceRest = 2 * (d.significand - q * unit);
    const uint64_t fromHalf = twiceRest > unit ? twiceRest - unit : unit - twiceRest;
    // 2.5e-10 of the unit, which is zero below 10^10: only an exact half.
    if (fromHalf <= unit / 4000000000) return false;
    if (twiceRest > unit) ++q;
    if (q == 1000000) {
        q = 100000;
        ++point;
    }
    while (q % 10 == 0) q /= 10;
    digits = static_cast<uint32_t>(q);
    return true;
}

}  // namespace

// C's choice of style for precision P = 6 and exponent X of the rounded
// value: fixed with P - 1 - X decimals when -4 <= X < P, else scientific
// with P - 1 decimals; "%g" then drops trailing zeros and a bare point.
char* writeFloatGeneral(char* out, double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    const uint32_t biased = static_cast<uint32_t>(bits >> 52) & 0x7FF;
    *out = '-';
    out += bits >> 63;  // glibc prints the sign of NaN too: "-nan"
    if (biased == 0x7FF) {
        std::memcpy(out, (bits & ((1ull << 52) - 1)) != 0 ? "nan" : "inf", 3);
        return out + 3;
    }
    if ((bits << 1) == 0) {
        *out = '0';
        return out + 1;
    }
    uint32_t digits;
    int point;
    if (!roundToGeneralDigits(bits, biased, digits, point)) [[unlikely]] {
        return writeGeneralBySnprintf(out - (bits >> 63), x);
    }
    char lead[kMaxIntText];
    const int n = static_cast<int>(writeInt(lead, digits) - lead);
    if (point < -4 || point >= kGeneralDigits) {
        *out++ = lead[0];
        if (n > 1) {
            *out++ = '.';
            std::memcpy(out, lead + 1, static_cast<size_t>(n - 1));
            out += n - 1;
        }
        *out++ = 'e';
        *out++ = point < 0 ? '-' : '+';
        const unsigned magnitude = static_cast<unsigned>(point < 0 ? -point : point);
        if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
        std::memcpy(out, &kDigitPairs[2 * (magnitude % 100)], 2);
        return out + 2;
    }
    if (point < 0) {
        std::memcpy(out, "0.0000", static_cast<size_t>(1 - point));  // "0." and -point - 1 zeros
        out += 1 - point;
        std::memcpy(out, lead, static_cast<size_t>(n));
        return out + n;
    }
    const int whole = point + 1;
    if (n <= whole) {
        std::memcpy(out, lead, static_cast<size_t>(n));
        std::memset(out + n, '0', static_cast<size_t>(whole - n));
        return out + whole;
    }
    std::memcpy(out, lead, static_cast<size_t>(whole));
    out[whole] = '.';
    std::memcpy(out + whole + 1, lead + whole, static_cast<size_t>(n - whole));
    return out + n + 1;
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
