// Reading: the scan (float_scan.hpp) and the conversion (float_convert.hpp)
// put together, and the readers built on them.
#include <string>

#include "frame/error.hpp"
#include "frame/float_convert.hpp"
#include "frame/float_scan.hpp"
#include "frame/floatcodec.hpp"
#include "frame/textcodec.hpp"

namespace karpa {
namespace {

using namespace floatcodec_detail;

[[noreturn]] void invalidFloat(std::string_view text) {
    raise(ErrorKind::ValueError, "invalid float: " + std::string(text));
}

// The reader behind parseBiggestFloat, inlined into the list reader.
[[gnu::always_inline]] inline size_t scanFloat(const char* s, size_t n, double& value) {
    if (n == 0) return 0;
    ScannedDecimal d;
    const size_t i = scanSign(s, d.negative);
    if (n - i >= 3 && startsNanOrInf(s[i])) return scanNanOrInf(s, n, i, d.negative, value);
    const size_t end = scanDecimal(s, n, i, d);
    if (end != 0) value = toBinary64(s, d);
    return end;
}

}  // namespace

size_t parseBiggestFloat(const char* s, size_t n, double& value) { return scanFloat(s, n, value); }

double parseFloat(std::string_view text) {
    double value = 0.0;
    const size_t used = parseBiggestFloat(text.data(), text.size(), value);
    if (used == 0 || used != text.size()) invalidFloat(text);
    return value;
}

FloatList parseCsvFloats(std::string_view text) {
    return readList<double>(
        text, [](const char* s, size_t n, double& value) { return scanFloat(s, n, value); }, invalidFloat);
}

FloatList parseFloats(const char* hostText) {
    return parseCsvFloats(hostText == nullptr ? std::string_view("", 0) : std::string_view(hostText));
}

}  // namespace karpa
