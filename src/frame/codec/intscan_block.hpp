// Integer lists read in 64-byte blocks (intscan_avx2.cpp; the AVX-512 tier uses it too).
//
// A block's commas, digits and minus signs are found as bit masks; each piece
// whose comma lies in the block and that is the usual kind (an optional '-',
// one to nineteen digits, a value in range) is converted right there, its
// last sixteen digits with vector multiply-adds. The first piece of any other
// kind, and whatever lies within 64 bytes of the end, are left to the
// per-piece reader, which raises the same errors in the same order as before.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

// GCC 12's 512-bit intrinsics start from an undefined register, which its
// own flow analysis then reports as maybe uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include "frame/codec/digits.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {

// Reads the usual pieces from p (the start of a piece, at least
// kIntBlockReach bytes past the start of the text) while whole 64-byte
// blocks lie before end. Writes at most kIntBlockBatch values to out and
// returns how many; *next is where the first piece not read starts: the one
// after the last value, an unusual one, or one whose comma is not in a whole
// block.
using IntBlockReader = size_t (*)(const char* p, const char* end, int64_t* out, const char** next);
size_t readIntBlocksAvx2(const char* p, const char* end, int64_t* out, const char** next);

// How far before a piece's comma a digit load reaches.
constexpr size_t kIntBlockReach = 16;
constexpr size_t kIntBlockBytes = 64;
constexpr size_t kIntBlockBatch = 256;
// Positions are kept as 32-bit offsets from where a reader starts: it looks
// at most this far.
constexpr size_t kBlockSpan = size_t(1) << 30;
// How far ahead of the block being classified the text is prefetched.
constexpr size_t kTextPrefetch = 2048;

// The piece loop the two tier files share, over their own block masks and
// sixteen-digit conversion. In an unnamed namespace: each tier file compiles
// its own copy with its own instruction sets, and no copy is shared.
namespace {

struct IntBlockMasks {
    uint64_t comma;
    uint64_t digit;
    uint64_t minus;
};

// The positions of the set bits of `bits` (ascending, plus base) written
// from at[found] on, sixteen of them whatever the count (past the last bit a
// position of base + 64, never read): at must hold found + 64. Returns the
// new count.
[[gnu::always_inline]] inline size_t writePositions(uint32_t* at, size_t found, uint64_t bits, uint32_t base) {
    const size_t count = static_cast<size_t>(__builtin_popcountll(bits));
    for (size_t i = 0; i < 16; ++i) {
        at[found + i] = base + static_cast<uint32_t>(_tzcnt_u64(bits));
        bits = _blsr_u64(bits);
    }
    for (size_t i = 16; i < count; ++i) {
        at[found + i] = base + static_cast<uint32_t>(_tzcnt_u64(bits));
        bits = _blsr_u64(bits);
    }
    return found + count;
}

#if defined(__AVX2__)
// Sixteen digit values (0..9, the most significant first) as one number:
// pairs, then quads, then eights joined by multiply-adds (the leading digit
// of each pair is the lower lane).
inline uint64_t joinSixteenDigits(__m128i v) {
    v = _mm_maddubs_epi16(v, _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
    v = _mm_madd_epi16(v, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
    v = _mm_packus_epi32(v, v);
    v = _mm_madd_epi16(v, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
    const uint64_t x = static_cast<uint64_t>(_mm_cvtsi128_si64(v));
    return (x & 0xFFFFFFFF) * 100000000 + (x >> 32);
}
#endif

// The block masks and digit conversions of the tier a file is compiled for
// (TierBlocks): AVX-512 F/BW/VL or AVX2.
#if defined(__AVX512BW__) && defined(__AVX512VL__)
struct TierBlocks {
    static IntBlockMasks classify(const char* block) {
        const __m512i v = _mm512_loadu_si512(block);
        return {_mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(',')),
                _mm512_cmplt_epu8_mask(_mm512_sub_epi8(v, _mm512_set1_epi8('0')), _mm512_set1_epi8(10)),
                _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('-'))};
    }

    static uint64_t byteMask(const char* block, char byte) {
        return _mm512_cmpeq_epi8_mask(_mm512_loadu_si512(block), _mm512_set1_epi8(byte));
    }

    // Only the last n of the sixteen bytes before `last` are loaded.
    static __m128i lastBytes(const char* last, unsigned n) {
        return _mm_maskz_loadu_epi8(static_cast<__mmask16>(0xFFFF0000u >> n), last - 16);
    }

    // Less '0' saturating, so the lanes not loaded stay zero.
    static uint64_t lastDigits(const char* last, unsigned n) {
        return joinSixteenDigits(_mm_subs_epu8(lastBytes(last, n), _mm_set1_epi8('0')));
    }

    // The four pieces in the four 128-bit lanes; each lane's first 64 bits
    // end up holding its value.
    static void lastDigits4(const char* const* last, const unsigned* n, unsigned negatives, int64_t* out) {
        __m512i v = _mm512_zextsi128_si512(lastBytes(last[0], n[0]));
        v = _mm512_inserti32x4(v, lastBytes(last[1], n[1]), 1);
        v = _mm512_inserti32x4(v, lastBytes(last[2], n[2]), 2);
        v = _mm512_inserti32x4(v, lastBytes(last[3], n[3]), 3);
        v = _mm512_subs_epu8(v, _mm512_set1_epi8('0'));
        v = _mm512_maddubs_epi16(v, _mm512_set1_epi16(0x010A));
        v = _mm512_madd_epi16(v, _mm512_set1_epi32(0x00010064));
        v = _mm512_packus_epi32(v, v);
        v = _mm512_madd_epi16(v, _mm512_set1_epi32(0x00012710));
        v = _mm512_add_epi64(_mm512_mul_epu32(v, _mm512_set1_epi64(100000000)), _mm512_srli_epi64(v, 32));
        const __m256i values = _mm512_castsi512_si256(_mm512_permutexvar_epi64(_mm512_setr_epi64(0, 2, 4, 6, 0, 2, 4, 6), v));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                            _mm256_mask_sub_epi64(values, static_cast<__mmask8>(negatives), _mm256_setzero_si256(), values));
    }
};

#elif defined(__AVX2__)
// Sixteen zero bytes, then sixteen of all ones: read from n, the last n
// lanes are kept.
alignas(32) constexpr uint8_t kKeepLast[32] = {0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                                               0,    0,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                               0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

struct TierBlocks {
    static IntBlockMasks classify(const char* block) {
        const __m256i comma = _mm256_set1_epi8(',');
        const __m256i minus = _mm256_set1_epi8('-');
        const __m256i zero = _mm256_set1_epi8('0');
        const __m256i nine = _mm256_set1_epi8(9);
        auto masks = [&](__m256i v, uint32_t& c, uint32_t& d, uint32_t& m) {
            const __m256i digit = _mm256_sub_epi8(v, zero);
            c = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, comma)));
            m = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, minus)));
            d = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_min_epu8(digit, nine), digit)));
        };
        uint32_t c0, d0, m0, c1, d1, m1;
        masks(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(block)), c0, d0, m0);
        masks(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32)), c1, d1, m1);
        return {c0 | uint64_t(c1) << 32, d0 | uint64_t(d1) << 32, m0 | uint64_t(m1) << 32};
    }

    static uint64_t byteMask(const char* block, char byte) {
        const __m256i wanted = _mm256_set1_epi8(byte);
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32));
        return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(lo, wanted))) |
               uint64_t(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(hi, wanted)))) << 32;
    }

    // The sixteen bytes before `last`, less '0', all but the last n cleared.
    static __m128i digitBytes(const char* last, unsigned n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(last - 16));
        return _mm_and_si128(_mm_sub_epi8(v, _mm_set1_epi8('0')),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(kKeepLast + n)));
    }

    // Sixteen digit bytes per 128-bit lane to one number per 64-bit lane
    // pair: pairs, then quads, then eights joined by multiply-adds (the
    // leading digit of each pair is the lower lane); the even 64-bit lanes
    // hold the values.
    static __m256i join16(__m256i v) {
        v = _mm256_maddubs_epi16(v, _mm256_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1,
                                                     10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
        v = _mm256_madd_epi16(v, _mm256_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1, 100, 1, 100, 1, 100, 1, 100, 1));
        v = _mm256_packus_epi32(v, v);
        v = _mm256_madd_epi16(v, _mm256_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1, 10000, 1, 10000, 1, 10000, 1,
                                                   10000, 1));
        return _mm256_add_epi64(_mm256_mul_epu32(v, _mm256_set1_epi64x(100000000)), _mm256_srli_epi64(v, 32));
    }

    static uint64_t lastDigits(const char* last, unsigned n) { return joinSixteenDigits(digitBytes(last, n)); }

    // Pieces 0 and 2 in one register, 1 and 3 in the other, so that
    // interleaving their values gives the four in order.
    static void lastDigits4(const char* const* last, const unsigned* n, unsigned negatives, int64_t* out) {
        const __m256i even = join16(_mm256_set_m128i(digitBytes(last[2], n[2]), digitBytes(last[0], n[0])));
        const __m256i odd = join16(_mm256_set_m128i(digitBytes(last[3], n[3]), digitBytes(last[1], n[1])));
        const __m256i values = _mm256_unpacklo_epi64(even, odd);
        const __m256i bits = _mm256_setr_epi64x(1, 2, 4, 8);
        const __m256i sign = _mm256_cmpeq_epi64(_mm256_and_si256(_mm256_set1_epi64x(negatives), bits), bits);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                            _mm256_sub_epi64(_mm256_xor_si256(values, sign), sign));
    }
};

#endif

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
    uint32_t commaAt[kIntBlockBatch + kIntBlockBytes];  // from p
    size_t found = 0;
    uint64_t carryStart = 1;  // a piece starts at the block's first byte
    const char* const limit = p + std::min(static_cast<size_t>(end - p), kBlockSpan);
    for (const char* block = p; static_cast<size_t>(limit - block) >= kIntBlockBytes && found < kIntBlockBatch;
         block += kIntBlockBytes) {
        // The hardware's prefetch stops at page ends: the text a few pages on
        // is asked for here, its translation too.
        __builtin_prefetch(block + kTextPrefetch);
        const IntBlockMasks m = Blocks::classify(block);
        // A '-' belongs only at the start of a piece.
        const uint64_t bad = ~(m.digit | m.comma | (m.minus & ((m.comma << 1) | carryStart)));
        const uint64_t commas = bad == 0 ? m.comma : m.comma & ((bad & (0 - bad)) - 1);
        found = writePositions(commaAt, found, commas, static_cast<uint32_t>(block - p));
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

// The separator indexers of textcodec.hpp (SeparatorIndexer).
template <class Blocks>
[[gnu::always_inline]] inline size_t indexSeparatorsWith(const char* p, const char* end, char separator,
                                                        uint32_t* at) {
    size_t found = 0;
    const char* const limit = p + std::min(static_cast<size_t>(end - p), kBlockSpan);
    for (const char* block = p; static_cast<size_t>(limit - block) >= kIntBlockBytes && found < kSeparatorBatch;
         block += kIntBlockBytes) {
        found = writePositions(at, found, Blocks::byteMask(block, separator), static_cast<uint32_t>(block - p));
    }
    return found;
}

// The list readers' walk where the tier has a block reader (called from the
// baseline files only): the first pieces one at a time, `readPiece(p, end,
// put)`, until a digit load cannot reach before the text; then blocks of
// usual pieces into a `Batch` of at most kBatch, handed on by `drain(batch,
// count, put)`, and each piece the block reader leaves one at a time, until
// less than a block remains or the blocks keep stopping early. Returns where
// the pieces left start, or null at the end of the text.
template <class Batch, size_t kBatch, class Blocks, class ReadPiece, class Drain, class Put>
[[gnu::always_inline]] inline const char* readListBlocks(const char* p, const char* end, Blocks blocks,
                                                         ReadPiece readPiece, Drain drain, Put& put) {
    const char* const from = p + kIntBlockReach;
    while (p < from) {
        p = readPiece(p, end, put);
        if (p == nullptr) return nullptr;
    }
    Batch batch;
    // Pieces read one at a time each time the blocks stop early: one, or
    // twice as many as the last time while the blocks keep yielding few
    // pieces, so that a list of unusual pieces (blanks after the commas,
    // exponents) does not index a block again for every piece. When blocks
    // of such a list still yield few pieces after that, the caller reads the
    // rest one at a time in its own loop, which costs less per piece than
    // this one.
    size_t single = 1;
    size_t futile = 0;
    for (;;) {
        const size_t k = blocks(p, end, batch, &p);
        drain(batch, k, put);
        if (k == kBatch) continue;
        if (static_cast<size_t>(end - p) < kIntBlockBytes) return p;
        single = k >= 8 ? 1 : std::min<size_t>(2 * single, 64);
        futile = single == 64 ? futile + 1 : 0;
        if (futile > 8) return p;
        for (size_t i = 0; i < single && static_cast<size_t>(end - p) >= kIntBlockBytes; ++i) {
            p = readPiece(p, end, put);
            if (p == nullptr) return nullptr;
        }
    }
}

}  // namespace
}  // namespace karpa

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
