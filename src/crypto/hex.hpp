// Hexadecimal text of digests, and reading it back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "crypto/digest.hpp"

namespace karpa {

// The `digits` low hexadecimal digits of `value`, most significant first,
// upper-case letters. Writes exactly `digits` characters at `out`.
inline void toHex(char* out, uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = kDigits[value & 0xF];
        value >>= 4;
    }
}

// Two digits per byte, in order, as NUL-terminated text in the call's arena.
std::string_view digestText(Bytes digest);

// Reads a hexadecimal integer: an optional "0x", "0X" or "#" prefix, then
// digits of either letter case with "_" allowed between them. Raises
// ValueError "invalid hex integer: <text>" when the text is not one, also
// when it needs more than 64 bits. The 64 bits are returned as they stand.
int64_t parseHexInt(std::string_view text);

// Reads `count` bytes from digest text: consecutive two-character pieces,
// each read as parseHexInt reads it (sixteen bytes a step where all 32
// digits are hexadecimal).
void decodeDigestText(std::string_view text, uint8_t* out, size_t count);

}  // namespace karpa
