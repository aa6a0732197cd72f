// Float lists read in 64-byte blocks (float_read_avx2.cpp,
// float_read_avx512.cpp): the digits of the usual decimal piece gathered as
// the integer blocks gather theirs (intscan_block.hpp); the conversion stays
// with the reader (float_read.cpp).
#pragma once

#include "frame/codec/intscan_block.hpp"

namespace karpa {

// A usual float piece: an optional '-', one to seven digits, optionally '.'
// and one to sixteen more, nineteen digits at most, then ','. What the scan
// would record of it: its digits as one number, their count and the count
// after the point; its length is where the mantissa ends.
struct FloatPiece {
    const char* start;
    uint64_t mantissa;
    uint32_t length;
    uint8_t digits;
    uint8_t fractionDigits;
    bool negative;
};

// Reads the usual pieces from p (the start of a piece, at least
// kIntBlockReach bytes past the start of the text) while whole 64-byte
// blocks lie before end; as the integer block readers, with kFloatBlockBatch
// pieces at most.
constexpr size_t kFloatBlockBatch = 128;
using FloatBlockReader = size_t (*)(const char* p, const char* end, FloatPiece* out, const char** next);
size_t readFloatBlocksAvx2(const char* p, const char* end, FloatPiece* out, const char** next);
size_t readFloatBlocksAvx512(const char* p, const char* end, FloatPiece* out, const char** next);

namespace {

// Commas and points are indexed apart; a piece takes the next point when it
// lies before its comma, and the point after that must not.
template <class Blocks>
[[gnu::always_inline]] inline size_t readFloatBlocksWith(const char* p, const char* end, FloatPiece* out,
                                                        const char** next) {
    uint32_t commaAt[kFloatBlockBatch + kIntBlockBytes];
    uint32_t pointAt[kFloatBlockBatch + 2 * kIntBlockBytes + 1];
    size_t commas = 0;
    size_t points = 0;
    uint64_t carryStart = 1;  // a piece starts at the block's first byte
    const char* const limit = p + std::min(static_cast<size_t>(end - p), kBlockSpan);
    for (const char* block = p; static_cast<size_t>(limit - block) >= kIntBlockBytes && commas < kFloatBlockBatch &&
                                points < kFloatBlockBatch + kIntBlockBytes;
         block += kIntBlockBytes) {
        const IntBlockMasks m = Blocks::classify(block);
        const uint64_t point = Blocks::byteMask(block, '.');
        // A '-' belongs only at the start of a piece.
        const uint64_t bad = ~(m.digit | m.comma | point | (m.minus & ((m.comma << 1) | carryStart)));
        const uint64_t before = bad == 0 ? ~uint64_t(0) : (bad & (0 - bad)) - 1;
        const uint32_t base = static_cast<uint32_t>(block - p);
        commas = writePositions(commaAt, commas, m.comma & before, base);
        points = writePositions(pointAt, points, point & before, base);
        if (bad != 0) break;
        carryStart = m.comma >> 63;
    }
    pointAt[points] = UINT32_MAX;
    const size_t pieces = commas < kFloatBlockBatch ? commas : kFloatBlockBatch;
    const char* start = p;
    size_t j = 0;  // the next point
    size_t k = 0;
    for (; k < pieces; ++k) {
        const uint32_t c = commaAt[k];
        const char* const comma = p + c;
        const bool hasPoint = pointAt[j] < c;
        const char* const point = hasPoint ? p + pointAt[j] : comma;
        j += hasPoint;
        const unsigned negative = *start == '-';
        const size_t whole = static_cast<size_t>(point - start) - negative;
        const size_t fraction = hasPoint ? static_cast<size_t>(comma - point) - 1 : 0;
        if (whole - 1 >= 7 || (hasPoint && fraction - 1 >= 16) || whole + fraction > 19 || pointAt[j] < c) break;
        const uint64_t wholeValue = Blocks::lastDigits(point, static_cast<unsigned>(whole));
        const uint64_t fractionValue = Blocks::lastDigits(comma, static_cast<unsigned>(fraction));
        out[k] = {start, wholeValue * kPowersOf10[fraction] + fractionValue, static_cast<uint32_t>(comma - start),
                  static_cast<uint8_t>(whole + fraction), static_cast<uint8_t>(fraction), negative != 0};
        start = comma + 1;
    }
    *next = start;
    return k;
}

}  // namespace
}  // namespace karpa
