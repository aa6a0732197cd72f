#include "crypto/hex.hpp"

#include <emmintrin.h>

#include <string>

#include "frame/arena.hpp"
#include "frame/error.hpp"

namespace karpa {

namespace {

// toHex over 16 bytes at once, with SSE2 only: split the nibbles, interleave
// them high first, and map 0-9 to '0'-'9' and 10-15 to 'A'-'F'.
void sixteenToHex(char* out, const uint8_t* bytes) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i lowNibble = _mm_set1_epi8(0x0F);
    const __m128i hi = _mm_and_si128(_mm_srli_epi16(v, 4), lowNibble);
    const __m128i lo = _mm_and_si128(v, lowNibble);
    const auto digits = [](__m128i d) {
        const __m128i letters = _mm_and_si128(_mm_cmpgt_epi8(d, _mm_set1_epi8(9)), _mm_set1_epi8('A' - '0' - 10));
        return _mm_add_epi8(_mm_add_epi8(d, _mm_set1_epi8('0')), letters);
    };
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), digits(_mm_unpacklo_epi8(hi, lo)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), digits(_mm_unpackhi_epi8(hi, lo)));
}

}  // namespace

std::string_view digestText(Bytes digest) {
    const size_t length = 2 * digest.size();
    TextBuilder text;
    char* out = text.room(length);
    size_t i = 0;
    for (; i + 16 <= digest.size(); i += 16) sixteenToHex(out + 2 * i, digest.data() + i);
    for (; i < digest.size(); ++i) toHex(out + 2 * i, digest[i], 2);
    text.commit(out + length);
    return {text.finish(), length};
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

namespace {

// The 16 bytes of 32 hexadecimal digits at text, as parseHexInt reads each
// pair; false (nothing written) when any of the 32 is not a digit. Letters
// are folded to lower case (digits already have the 0x20 bit), and each
// value is (c | 0x20) - '0', less 'a' - '0' - 10 = 39 for a letter.
bool sixteenFromHex(const char* text, uint8_t* out) {
    __m128i pairs[2];
    for (int half = 0; half < 2; ++half) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * half));
        const __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20));
        // Signed compares: bytes from 0x80 up are negative and fail both.
        const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)),
                                            _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
        const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)),
                                             _mm_cmplt_epi8(lower, _mm_set1_epi8('f' + 1)));
        if (_mm_movemask_epi8(_mm_or_si128(digit, letter)) != 0xFFFF) return false;
        const __m128i value = _mm_sub_epi8(_mm_sub_epi8(lower, _mm_set1_epi8('0')),
                                           _mm_and_si128(letter, _mm_set1_epi8(39)));
        // Each 16-bit lane holds the pair (high digit, low digit): the byte
        // is high * 16 + low, kept in the lane's low byte for the pack.
        const __m128i high = _mm_and_si128(_mm_slli_epi16(value, 4), _mm_set1_epi16(0x00F0));
        pairs[half] = _mm_or_si128(high, _mm_srli_epi16(value, 8));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(pairs[0], pairs[1]));
    return true;
}

}  // namespace

void decodeDigestText(std::string_view text, uint8_t* out, size_t count) {
    if (text.size() < 2 * count) [[unlikely]] {
        raiseIndexError2(int64_t(2 * count - 1), int64_t(text.size()) - 1);
    }
    size_t i = 0;
    while (i + 16 <= count && sixteenFromHex(text.data() + 2 * i, out + i)) i += 16;
    for (; i < count; ++i) {
        out[i] = static_cast<uint8_t>(parseHexInt(text.substr(2 * i, 2)));
    }
}

}  // namespace karpa
