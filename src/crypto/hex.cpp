#include "crypto/hex.hpp"

#include <string>

#include "frame/arena.hpp"
#include "frame/error.hpp"

namespace karpa {

std::string_view digestText(Bytes digest) {
    TextBuilder text;
    text.reserve(2 * digest.size());
    for (size_t i = 0; i < digest.size(); ++i) toHex(text.data + 2 * i, digest[i], 2);
    text.len = 2 * digest.size();
    const char* p = text.finish();
    return {p, text.len};
}

namespace {

[[noreturn]] void invalidHexInteger(std::string_view text) {
    raise(ErrorKind::ValueError, "invalid hex integer: " + std::string(text));
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int64_t parseHexInt(std::string_view text) {
    size_t i = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        i = 2;
    } else if (!text.empty() && text[0] == '#') {
        i = 1;
    }
    uint64_t value = 0;
    int significant = 0;  // digits after leading zeros
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '_' && anyDigit) continue;
        const int digit = hexDigitValue(c);
        if (digit < 0) invalidHexInteger(text);
        anyDigit = true;
        if (significant != 0 || digit != 0) ++significant;
        if (significant > 16) invalidHexInteger(text);
        value = (value << 4) | unsigned(digit);
    }
    if (!anyDigit) invalidHexInteger(text);
    return static_cast<int64_t>(value);
}

void decodeDigestText(std::string_view text, uint8_t* out, size_t count) {
    if (text.size() < 2 * count) [[unlikely]] {
        raiseIndexError2(int64_t(2 * count - 1), int64_t(text.size()) - 1);
    }
    for (size_t i = 0; i < count; ++i) {
        out[i] = static_cast<uint8_t>(parseHexInt(text.substr(2 * i, 2)));
    }
}

}  // namespace karpa
