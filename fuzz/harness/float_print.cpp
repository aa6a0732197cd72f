// Float printing: any binary64 value goes in as exact text; the round-trip
// form must be the shortest nearest digits (checked against std::to_chars)
// in the fixed or scientific layout, must read back to the same bits, and
// the general form must be the C library's "%g".
#include <charconv>
#include <cmath>

#include "float_model.hpp"
#include "karpa/seq.h"

namespace {

// The round-trip form built from std::to_chars' shortest scientific digits.
std::string roundTripForm(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    if (v == 0) return std::signbit(v) ? "-0.0" : "0.0";
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific).ptr;
    const std::string_view sci(buf, size_t(end - buf));
    const size_t e = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e)) {
        if (c != '.') digits.push_back(c);
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int n = int(digits.size());
    const int point = std::atoi(std::string(sci.substr(e + 1)).c_str()) + 1;  // digits before the point
    std::string out = std::signbit(v) ? "-" : "";
    if (point >= -6 && point <= 17) {
        if (point <= 0) {
            out += "0." + std::string(size_t(-point), '0') + digits;
        } else if (point < n) {
            out += digits.substr(0, size_t(point)) + "." + digits.substr(size_t(point));
        } else {
            out += digits + std::string(size_t(point - n), '0') + ".0";
        }
    } else {
        out += digits.substr(0, 1);
        if (n > 1) out += "." + digits.substr(1);
        out += point - 1 < 0 ? "e-" : "e+";
        out += std::to_string(std::abs(point - 1));
    }
    return out;
}

std::string exactText(double v) {
    if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    uint64_t bits = in.ConsumeIntegral<uint64_t>();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isnan(v)) v = std::copysign(NAN, std::signbit(v) ? -1.0 : 1.0);  // the parser's NaN
    const std::string text = exactText(v);

    const auto printed = take(seq_reduce_max_float(text.c_str()));
    FUZZ_CHECK(printed == roundTripForm(v), text, shown(printed), roundTripForm(v));
    if (!std::isnan(v)) {
        FUZZ_CHECK(bitsOf(std::strtod(printed->c_str(), nullptr)) == bitsOf(v), text, shown(printed));
    }
    FUZZ_CHECK(take(seq_reduce_max_float(printed->c_str())) == printed, text, shown(printed));

    char general[64];
    std::snprintf(general, sizeof general, "%g", v);
    const auto listed = take(seq_reverse_float(text.c_str()));
    FUZZ_CHECK(listed == std::string(general), text, shown(listed), std::string(general));

    // A sum of two values prints in the round-trip form of their binary64 sum.
    if (in.remaining_bytes() >= 8) {
        bits = in.ConsumeIntegral<uint64_t>();
        double w;
        std::memcpy(&w, &bits, sizeof w);
        if (std::isnan(w)) w = NAN;
        const std::string pair = text + "," + exactText(w);
        const auto sum = take(seq_reduce_sum_float(pair.c_str()));
        FUZZ_CHECK(sum == roundTripForm(0.0 + v + w), pair, shown(sum), roundTripForm(0.0 + v + w));
    }
    return 0;
}
