// Integer lists read in 64-byte blocks (intscan_avx2.cpp, intscan_avx512.cpp).
//
// A block's commas, digits and minus signs are found as bit masks; each piece
// whose comma lies in the block and that is the usual kind (an optional '-',
// one to nineteen digits, a value in range) is converted right there, its
// last sixteen digits with vector multiply-adds. The first piece of any other
// kind, and whatever lies within 64 bytes of the end, are left to the
// per-piece reader, which raises the same errors in the same order as before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <immintrin.h>

#include "frame/codec/digits.hpp"

namespace karpa {

// Reads the usual pieces from p (the start of a piece, at least
// kIntBlockReach bytes past the start of the text) while whole 64-byte
// blocks lie before end. Writes at most kIntBlockBatch values to out and
// returns how many; *next is where the first piece not read starts: the one
// after the last value, an unusual one, or one whose comma is not in a whole
// block.
using IntBlockReader = size_t (*)(const char* p, const char* end, int64_t* out, const char** next);
size_t readIntBlocksAvx2(const char* p, const char* end, int64_t* out, const char** next);
size_t readIntBlocksAvx512(const char* p, const char* end, int64_t* out, const char** next);

// How far before a piece's comma a digit load reaches.
constexpr size_t kIntBlockReach = 16;
constexpr size_t kIntBlockBytes = 64;
constexpr size_t kIntBlockBatch = 256;

// The piece loop the two tier files share, over their own block masks and
// sixteen-digit conversion. In an unnamed namespace: each tier file compiles
// its own copy with its own instruction sets, and no copy is shared.
namespace {

struct IntBlockMasks {
    uint64_t comma;
    uint64_t digit;
    uint64_t minus;
};

// Blocks: static IntBlockMasks classify(const char* block); static uint64_t
// lastDigits(const char* last, unsigned n), the value of the n (1..16)
// digits that end before `last`; static void lastDigits4(last[4], n[4],
// negatives, out), four such values, negated where bit g of negatives is set,
// written to out[0..3].
//
// Two passes, so that neither waits on a branch that the lengths of the
// numbers decide: the blocks are classified one after another and the
// positions of their commas written down, up to the first byte that no usual
// piece holds (a blank, '+', '_', a '-' inside a piece, any other byte);
// then the pieces before those commas are converted in a counted loop, up to
// the first of more than nineteen digits, of no digit or out of range.
template <class Blocks>
[[gnu::always_inline]] inline size_t readIntBlocksWith(const char* p, const char* end, int64_t* out,
                                                      const char** next) {
    uint32_t commaAt[kIntBlockBatch + kIntBlockBytes];  // from p; sixteen written per block whatever it holds
    size_t found = 0;
    uint64_t carryStart = 1;  // a piece starts at the block's first byte
    for (const char* block = p; static_cast<size_t>(end - block) >= kIntBlockBytes && found < kIntBlockBatch;
         block += kIntBlockBytes) {
        const IntBlockMasks m = Blocks::classify(block);
        // A '-' belongs only at the start of a piece.
        const uint64_t bad = ~(m.digit | m.comma | (m.minus & ((m.comma << 1) | carryStart)));
        const uint64_t commas = bad == 0 ? m.comma : m.comma & ((bad & (0 - bad)) - 1);
        const uint32_t base = static_cast<uint32_t>(block - p);
        const size_t count = static_cast<size_t>(__builtin_popcountll(commas));
        uint64_t left = commas;
        for (size_t i = 0; i < 16; ++i) {  // past the last comma: 64, never read
            commaAt[found + i] = base + static_cast<uint32_t>(_tzcnt_u64(left));
            left = _blsr_u64(left);
        }
        for (size_t i = 16; i < count; ++i) {
            commaAt[found + i] = base + static_cast<uint32_t>(_tzcnt_u64(left));
            left = _blsr_u64(left);
        }
        found += count;
        if (bad != 0) break;
        carryStart = m.comma >> 63;
    }
    const size_t pieces = found < kIntBlockBatch ? found : kIntBlockBatch;
    const char* start = p;
    size_t k = 0;
    while (k < pieces) {
        if (pieces - k >= 4) {  // four pieces of one to sixteen digits at once
            const char* last[4];
            unsigned n[4];
            unsigned negatives = 0;
            bool usual = true;
            const char* s = start;
            for (unsigned g = 0; g < 4; ++g) {
                last[g] = p + commaAt[k + g];
                const unsigned negative = *s == '-';
                n[g] = static_cast<unsigned>(last[g] - s) - negative;
                negatives |= negative << g;
                usual &= n[g] - 1 < 16;
                s = last[g] + 1;
            }
            if (usual) [[likely]] {
                Blocks::lastDigits4(last, n, negatives, out + k);
                k += 4;
                start = s;
                continue;
            }
        }
        const char* const last = p + commaAt[k];
        const unsigned negative = *start == '-';
        const size_t n = static_cast<size_t>(last - start) - negative;
        if (n - 1 >= 19) break;  // no digit, or over nineteen
        uint64_t magnitude;
        if (n <= 16) {
            magnitude = Blocks::lastDigits(last, static_cast<unsigned>(n));
        } else {
            uint64_t lead = 0;
            for (const char* q = last - n; q != last - 16; ++q) lead = lead * 10 + static_cast<uint64_t>(*q - '0');
            magnitude = lead * kPowersOf10[16] + Blocks::lastDigits(last, 16);
            if (magnitude > uint64_t(INT64_MAX) + negative) break;  // the per-piece reader raises the range error
        }
        out[k++] = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
        start = last + 1;
    }
    *next = start;
    return k;
}

}  // namespace
}  // namespace karpa
