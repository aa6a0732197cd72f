// Float lists read in 64-byte blocks (float_read_avx2.cpp,
// float_read_avx512.cpp): the digits of the usual decimal piece gathered as
// the integer blocks gather theirs (intscan_block.hpp). On the AVX-512 tier
// eight pieces at a time, converted too where Clinger's fast path applies;
// every other conversion stays with the reader (float_read.cpp).
#pragma once

#include "frame/codec/float_common.hpp"
#include "frame/codec/intscan_block.hpp"

namespace karpa {

// A usual float piece: an optional '-', one to seven digits, optionally '.'
// and one to sixteen more, nineteen digits at most, then ','. A batch keeps,
// for each piece, what the scan would record of it (its digits as one number,
// their count and the count after the point, where it starts and where its
// mantissa ends, offsets from `base`) and, where the block reader converted
// it, its value. A piece whose bit is set in `unconverted` is converted by
// the reader (float_read.cpp) from the rest.
constexpr size_t kFloatBlockBatch = 128;
struct FloatBatch {
    const char* base;
    bool anyConverted;
    uint64_t unconverted[kFloatBlockBatch / 64];
    double value[kFloatBlockBatch];
    uint64_t mantissa[kFloatBlockBatch];
    uint32_t start[kFloatBlockBatch];
    uint32_t comma[kFloatBlockBatch];
    uint8_t digits[kFloatBlockBatch];
    uint8_t fractionDigits[kFloatBlockBatch];
    uint8_t negative[kFloatBlockBatch];
};

// Reads the usual pieces from p (the start of a piece, at least
// kIntBlockReach bytes past the start of the text) while whole 64-byte
// blocks lie before end; as the integer block readers, with kFloatBlockBatch
// pieces at most.
using FloatBlockReader = size_t (*)(const char* p, const char* end, FloatBatch& out, const char** next);
size_t readFloatBlocksAvx2(const char* p, const char* end, FloatBatch& out, const char** next);
size_t readFloatBlocksAvx512(const char* p, const char* end, FloatBatch& out, const char** next);

namespace {

#if defined(__AVX512DQ__) && defined(__AVX512BW__) && defined(__AVX512VL__)
// Eight digit bytes per 64-bit lane (the most significant first, the lanes
// not kept zero) to their value: pairs, quads, then the two halves.
inline __m512i eightDigits8(__m512i v) {
    v = _mm512_maddubs_epi16(v, _mm512_set1_epi16(0x010A));
    v = _mm512_madd_epi16(v, _mm512_set1_epi32(0x00010064));
    return _mm512_add_epi64(_mm512_mul_epu32(v, _mm512_set1_epi64(10000)), _mm512_srli_epi64(v, 32));
}

// The digit values of the eight bytes before each lane's offset in `at`
// from p, only the last `keep` (0..8) of them kept.
inline __m512i lastDigitBytes8(const char* p, __m512i at, __m512i keep) {
    const __m512i word = _mm512_i64gather_epi64(_mm512_sub_epi64(at, _mm512_set1_epi64(8)), p, 1);
    const __m512i mask = _mm512_sllv_epi64(_mm512_set1_epi64(-1), _mm512_sub_epi64(_mm512_set1_epi64(64),
                                                                                    _mm512_slli_epi64(keep, 3)));
    return _mm512_and_si512(_mm512_and_si512(word, _mm512_set1_epi64(0x0F0F0F0F0F0F0F0F)), mask);
}

// Eight pieces that each hold exactly one point: starts s, points t and
// commas c (offsets from p, 32-bit lanes). False, writing nothing, unless
// every one is a usual piece. Each gets its mantissa, and its value where
// Clinger's fast path applies: a mantissa of at most 2^53 divided by an
// exact power of ten, the one rounding of the scalar path (the value is the
// nearest binary64 either way); the others are left to the reader.
inline bool convertEightPieces(const char* p, __m256i s, __m256i t, __m256i c, FloatBatch& out, size_t k) {
    const __m256i lead = _mm256_srli_epi32(_mm256_i32gather_epi32(reinterpret_cast<const int*>(p - 3), s, 1), 24);
    const __m256i negative = _mm256_and_si256(_mm256_cmpeq_epi32(lead, _mm256_set1_epi32('-')), _mm256_set1_epi32(1));
    const __m256i whole = _mm256_sub_epi32(_mm256_sub_epi32(t, s), negative);
    const __m256i fraction = _mm256_sub_epi32(_mm256_sub_epi32(c, t), _mm256_set1_epi32(1));
    const __m256i one = _mm256_set1_epi32(1);
    const __mmask8 usual = _mm256_cmplt_epu32_mask(_mm256_sub_epi32(whole, one), _mm256_set1_epi32(7)) &
                           _mm256_cmplt_epu32_mask(_mm256_sub_epi32(fraction, one), _mm256_set1_epi32(16)) &
                           _mm256_cmple_epu32_mask(_mm256_add_epi32(whole, fraction), _mm256_set1_epi32(19));
    if (usual != 0xFF) return false;
    const __m512i t64 = _mm512_cvtepu32_epi64(t);
    const __m512i c64 = _mm512_cvtepu32_epi64(c);
    const __m512i f64 = _mm512_cvtepu32_epi64(fraction);
    const __m512i eight = _mm512_set1_epi64(8);
    const __m512i wholeValue = eightDigits8(lastDigitBytes8(p, t64, _mm512_cvtepu32_epi64(whole)));
    const __m512i low = eightDigits8(lastDigitBytes8(p, c64, _mm512_min_epu64(f64, eight)));
    const __m512i high = eightDigits8(
        lastDigitBytes8(p, _mm512_sub_epi64(c64, eight), _mm512_subs_epu16(f64, eight)));
    const __m512i fractionValue = _mm512_add_epi64(_mm512_mul_epu32(high, _mm512_set1_epi64(100000000)), low);
    const __m512i scale = _mm512_i64gather_epi64(f64, reinterpret_cast<const long long*>(kPowersOf10), 8);
    const __m512i mantissa = _mm512_add_epi64(_mm512_mullo_epi64(wholeValue, scale), fractionValue);
    const __mmask8 fast = _mm512_cmple_epu64_mask(mantissa, _mm512_set1_epi64(int64_t(1) << 53));
    const __m512d power = _mm512_i64gather_pd(f64, floatcodec_detail::kExactPowers, 8);
    __m512d value = _mm512_div_pd(_mm512_cvtepu64_pd(mantissa), power);
    const __mmask8 minus = _mm256_test_epi32_mask(negative, negative);
    value = _mm512_castsi512_pd(_mm512_mask_xor_epi64(_mm512_castpd_si512(value), minus, _mm512_castpd_si512(value),
                                                      _mm512_set1_epi64(INT64_MIN)));
    _mm512_storeu_pd(out.value + k, value);
    _mm512_storeu_si512(out.mantissa + k, mantissa);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.start + k), s);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.comma + k), c);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out.digits + k), _mm256_cvtepi32_epi8(_mm256_add_epi32(whole, fraction)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out.fractionDigits + k), _mm256_cvtepi32_epi8(fraction));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out.negative + k), _mm256_cvtepi32_epi8(negative));
    // A group may straddle the two words of the mask (k < 120).
    const uint64_t left = static_cast<uint8_t>(~fast);
    out.unconverted[k / 64] |= left << (k % 64);
    if (k % 64 > 56) out.unconverted[1] |= left >> (64 - k % 64);
    out.anyConverted = true;
    return true;
}
#endif

// Commas and points are indexed apart; a piece takes the next point when it
// lies before its comma, and the point after that must not. On the AVX-512
// tier eight pieces of one point each are taken at once.
template <class Blocks>
[[gnu::always_inline]] inline size_t readFloatBlocksWith(const char* p, const char* end, FloatBatch& out,
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
    out.base = p;
    out.anyConverted = false;
    for (uint64_t& word : out.unconverted) word = 0;
    uint32_t start = 0;
    size_t j = 0;  // the next point
    size_t k = 0;
    while (k < pieces) {
#if defined(__AVX512DQ__) && defined(__AVX512BW__) && defined(__AVX512VL__)
        if (pieces - k >= 8 && points - j >= 8) {
            const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(commaAt + k));
            const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pointAt + j));
            const __m256i s = _mm256_add_epi32(
                _mm256_alignr_epi32(c, _mm256_set1_epi32(static_cast<int>(start - 1)), 7), _mm256_set1_epi32(1));
            // Each piece holds the point of its lane, and the one after the
            // eighth lies past the eighth comma: one point each.
            const __mmask8 onePoint = _mm256_cmpge_epu32_mask(t, s) & _mm256_cmplt_epu32_mask(t, c);
            if (onePoint == 0xFF && pointAt[j + 8] > commaAt[k + 7] && convertEightPieces(p, s, t, c, out, k)) {
                start = commaAt[k + 7] + 1;
                k += 8;
                j += 8;
                continue;
            }
        }
#endif
        const uint32_t c = commaAt[k];
        const char* const comma = p + c;
        const bool hasPoint = pointAt[j] < c;
        const char* const point = hasPoint ? p + pointAt[j] : comma;
        j += hasPoint;
        const unsigned negative = p[start] == '-';
        const size_t whole = static_cast<size_t>(point - (p + start)) - negative;
        const size_t fraction = hasPoint ? static_cast<size_t>(comma - point) - 1 : 0;
        if (whole - 1 >= 7 || (hasPoint && fraction - 1 >= 16) || whole + fraction > 19 || pointAt[j] < c) break;
        const uint64_t wholeValue = Blocks::lastDigits(point, static_cast<unsigned>(whole));
        const uint64_t fractionValue = Blocks::lastDigits(comma, static_cast<unsigned>(fraction));
        out.mantissa[k] = wholeValue * kPowersOf10[fraction] + fractionValue;
        out.start[k] = start;
        out.comma[k] = c;
        out.digits[k] = static_cast<uint8_t>(whole + fraction);
        out.fractionDigits[k] = static_cast<uint8_t>(fraction);
        out.negative[k] = static_cast<uint8_t>(negative);
        out.unconverted[k / 64] |= uint64_t(1) << (k % 64);
        start = c + 1;
        ++k;
    }
    *next = p + start;
    return k;
}

}  // namespace
}  // namespace karpa
