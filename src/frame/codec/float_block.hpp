// Float lists read in 64-byte blocks (float_read_avx2.cpp,
// float_read_avx512.cpp): the digits of the usual decimal piece gathered as
// the integer blocks gather theirs (intscan_block.hpp). On the AVX-512 tier
// also pieces with an exponent, and eight pieces at a time, converted too
// where Clinger's fast path or the usual case of the 128-bit product applies;
// every other conversion stays with the reader (float_read.cpp).
#pragma once

#include <cstring>

#include "frame/codec/float_common.hpp"
#include "frame/codec/intscan_block.hpp"

namespace karpa {

// A usual float piece: an optional '-', one to seven digits, optionally '.'
// and one to sixteen more, nineteen digits at most, optionally (AVX-512 tier)
// 'e' or 'E' with an optional sign and one to three digits, then ','. A batch keeps,
// for each piece, what the scan would record of it (its digits as one number,
// their count and the count after the point, the written exponent, where it
// starts, where its mantissa ends (`tail` bytes before its comma), offsets
// from `base`) and, where the block reader converted it, its value. A piece
// whose bit is set in `unconverted` is converted by the reader
// (float_read.cpp) from the rest.
constexpr size_t kFloatBlockBatch = 128;
struct FloatBatch {
    const char* base;
    bool anyConverted;
    bool anyExponent;
    uint64_t unconverted[kFloatBlockBatch / 64];
    double value[kFloatBlockBatch];
    uint64_t mantissa[kFloatBlockBatch];
    uint32_t start[kFloatBlockBatch];
    uint32_t comma[kFloatBlockBatch];
    int16_t exponent[kFloatBlockBatch];
    uint8_t tail[kFloatBlockBatch];
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

// The written exponents of eight pieces whose 'e' lies at x and comma at c
// (offsets from p, 32-bit lanes): an optional sign and one to three digits
// between them, whatever the mask let through. False when any piece has
// other than that.
inline bool eightExponents(const char* p, __m256i x, __m256i c, __m256i& value) {
    const __m256i length = _mm256_sub_epi32(_mm256_sub_epi32(c, x), _mm256_set1_epi32(1));
    const __m256i one = _mm256_set1_epi32(1);
    if (_mm256_cmplt_epu32_mask(_mm256_sub_epi32(length, one), _mm256_set1_epi32(4)) != 0xFF) return false;
    // The four bytes before each comma; the exponent is the last `length`.
    const __m256i word = _mm256_i32gather_epi32(reinterpret_cast<const int*>(p - 4), c, 1);
    const __m256i eight = _mm256_set1_epi32(8);
    const __m256i first = _mm256_and_si256(
        _mm256_srlv_epi32(word, _mm256_mullo_epi32(_mm256_sub_epi32(_mm256_set1_epi32(4), length), eight)),
        _mm256_set1_epi32(0xFF));
    const __mmask8 minus = _mm256_cmpeq_epi32_mask(first, _mm256_set1_epi32('-'));
    const __mmask8 sign = minus | _mm256_cmpeq_epi32_mask(first, _mm256_set1_epi32('+'));
    const __m256i digits = _mm256_mask_sub_epi32(length, sign, length, one);
    if (_mm256_cmplt_epu32_mask(_mm256_sub_epi32(digits, one), _mm256_set1_epi32(3)) != 0xFF) return false;
    const __m256i kept = _mm256_and_si256(
        _mm256_and_si256(word, _mm256_set1_epi32(0x0F0F0F0F)),
        _mm256_sllv_epi32(_mm256_set1_epi32(-1),
                          _mm256_mullo_epi32(_mm256_sub_epi32(_mm256_set1_epi32(4), digits), eight)));
    // Bytes 1, 2, 3 (the last before the comma) weigh 100, 10, 1.
    const __m256i pairs = _mm256_maddubs_epi16(kept, _mm256_set1_epi32(0x010A6400));
    const __m256i v = _mm256_madd_epi16(pairs, _mm256_set1_epi16(1));
    value = _mm256_mask_sub_epi32(v, minus, _mm256_setzero_si256(), v);
    return true;
}

// The high and low 64 bits of a * b, lane by lane, from 32-bit products.
inline void multiplyFull8(__m512i a, __m512i b, __m512i& high, __m512i& low) {
    const __m512i a1 = _mm512_srli_epi64(a, 32);
    const __m512i b1 = _mm512_srli_epi64(b, 32);
    const __m512i p00 = _mm512_mul_epu32(a, b);
    const __m512i p01 = _mm512_mul_epu32(a, b1);
    const __m512i p10 = _mm512_mul_epu32(a1, b);
    const __m512i p11 = _mm512_mul_epu32(a1, b1);
    const __m512i low32 = _mm512_set1_epi64(0xFFFFFFFF);
    const __m512i mid = _mm512_add_epi64(_mm512_add_epi64(_mm512_srli_epi64(p00, 32), _mm512_and_si512(p01, low32)),
                                         _mm512_and_si512(p10, low32));
    low = _mm512_or_si512(_mm512_and_si512(p00, low32), _mm512_slli_epi64(mid, 32));
    high = _mm512_add_epi64(_mm512_add_epi64(p11, _mm512_srli_epi64(p01, 32)),
                            _mm512_add_epi64(_mm512_srli_epi64(p10, 32), _mm512_srli_epi64(mid, 32)));
}

// mulPow10Inline (float_convert.hpp) on eight lanes, in its usual case only:
// the product of the normalised digits with the high half of the power is
// clear of every boundary that the power's low half could move (its low nine
// bits neither all ones nor all zeros, its lower half not zero), and the
// value is normal and finite. Then the rounding is the one the scalar
// product makes, bit for bit. The lanes of that case, with their magnitudes.
inline __mmask8 productValues8(__m512i w, __m256i q, __m512d& value) {
    const __m256i qc = _mm256_min_epi32(_mm256_max_epi32(q, _mm256_set1_epi32(kPow10MinExponent)),
                                        _mm256_set1_epi32(kPow10MaxExponent));
    __mmask8 ok = _mm512_test_epi64_mask(w, w) & _mm256_cmpeq_epi32_mask(q, qc);
    const __m512i row = _mm512_cvtepi32_epi64(_mm256_sub_epi32(qc, _mm256_set1_epi32(kPow10MinExponent)));
    const __m512i tHigh = _mm512_i64gather_epi64(_mm512_slli_epi64(row, 1),
                                                 reinterpret_cast<const long long*>(&kPow10Significands[0].high), 8);
    // floor(log2 w) from the exponent of w converted toward zero.
    const __m512i log2w = _mm512_sub_epi64(
        _mm512_srli_epi64(_mm512_castpd_si512(_mm512_cvt_roundepu64_pd(w, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC)), 52),
        _mm512_set1_epi64(1023));
    const __m512i lz = _mm512_sub_epi64(_mm512_set1_epi64(63), log2w);
    __m512i hi, lo;
    multiplyFull8(_mm512_sllv_epi64(w, lz), tHigh, hi, lo);
    const __m512i nine = _mm512_and_si512(hi, _mm512_set1_epi64(0x1FF));
    ok &= _mm512_test_epi64_mask(lo, lo) & _mm512_test_epi64_mask(nine, nine) &
          _mm512_cmpneq_epi64_mask(nine, _mm512_set1_epi64(0x1FF));
    const __m512i top = _mm512_srli_epi64(hi, 63);
    const __m512i shift = _mm512_add_epi64(top, _mm512_set1_epi64(10));
    const __m512i roundSet =
        _mm512_and_si512(_mm512_srlv_epi64(hi, _mm512_sub_epi64(shift, _mm512_set1_epi64(1))), _mm512_set1_epi64(1));
    const __m512i log2Power = _mm512_cvtepi32_epi64(_mm256_srai_epi32(_mm256_mullo_epi32(qc, _mm256_set1_epi32(1741647)), 19));
    __m512i biased = _mm512_add_epi64(_mm512_sub_epi64(_mm512_add_epi64(top, log2Power), lz), _mm512_set1_epi64(63 + 1023));
    // Something lies below the round bit (the low half of the product is not
    // zero): to nearest is up whenever the round bit is set.
    __m512i m = _mm512_add_epi64(_mm512_srlv_epi64(hi, shift), roundSet);
    const __mmask8 carried = _mm512_cmpeq_epi64_mask(m, _mm512_set1_epi64(int64_t(1) << 53));
    m = _mm512_mask_srli_epi64(m, carried, m, 1);
    biased = _mm512_mask_add_epi64(biased, carried, biased, _mm512_set1_epi64(1));
    ok &= _mm512_cmpgt_epi64_mask(biased, _mm512_setzero_si512()) &
          _mm512_cmplt_epi64_mask(biased, _mm512_set1_epi64(2047));
    value = _mm512_castsi512_pd(_mm512_or_si512(_mm512_slli_epi64(biased, 52),
                                                _mm512_and_si512(m, _mm512_set1_epi64((int64_t(1) << 52) - 1))));
    return ok;
}

// Eight pieces that each hold exactly one point: starts s, points t,
// mantissa ends m (their 'e', or their comma), commas c (offsets from p,
// 32-bit lanes) and written exponents x. False, writing nothing, unless every
// one is a usual piece. Each gets its mantissa, and its value where Clinger's
// fast path applies: a mantissa of at most 2^53 times or divided by an exact
// power of ten, the one rounding of the scalar path (the value is the nearest
// binary64 either way), else where the 128-bit product's usual case
// applies; the others are left to the reader.
inline bool convertEightPieces(const char* p, __m256i s, __m256i t, __m256i m, __m256i c, __m256i x, FloatBatch& out,
                               size_t k) {
    const __m256i lead = _mm256_srli_epi32(_mm256_i32gather_epi32(reinterpret_cast<const int*>(p - 3), s, 1), 24);
    const __m256i negative = _mm256_and_si256(_mm256_cmpeq_epi32(lead, _mm256_set1_epi32('-')), _mm256_set1_epi32(1));
    const __m256i whole = _mm256_sub_epi32(_mm256_sub_epi32(t, s), negative);
    const __m256i fraction = _mm256_sub_epi32(_mm256_sub_epi32(m, t), _mm256_set1_epi32(1));
    const __m256i one = _mm256_set1_epi32(1);
    const __mmask8 usual = _mm256_cmplt_epu32_mask(_mm256_sub_epi32(whole, one), _mm256_set1_epi32(7)) &
                           _mm256_cmplt_epu32_mask(_mm256_sub_epi32(fraction, one), _mm256_set1_epi32(16)) &
                           _mm256_cmple_epu32_mask(_mm256_add_epi32(whole, fraction), _mm256_set1_epi32(19));
    if (usual != 0xFF) return false;
    const __m512i t64 = _mm512_cvtepu32_epi64(t);
    const __m512i m64 = _mm512_cvtepu32_epi64(m);
    const __m512i f64 = _mm512_cvtepu32_epi64(fraction);
    const __m512i eight = _mm512_set1_epi64(8);
    const __m512i wholeValue = eightDigits8(lastDigitBytes8(p, t64, _mm512_cvtepu32_epi64(whole)));
    const __m512i low = eightDigits8(lastDigitBytes8(p, m64, _mm512_min_epu64(f64, eight)));
    const __m512i high = eightDigits8(
        lastDigitBytes8(p, _mm512_sub_epi64(m64, eight), _mm512_subs_epu16(f64, eight)));
    const __m512i fractionValue = _mm512_add_epi64(_mm512_mul_epu32(high, _mm512_set1_epi64(100000000)), low);
    const __m512i scale = _mm512_i64gather_epi64(f64, reinterpret_cast<const long long*>(kPowersOf10), 8);
    const __m512i mantissa = _mm512_add_epi64(_mm512_mullo_epi64(wholeValue, scale), fractionValue);
    // The adjusted exponent; within +-22 its power is exact.
    const __m256i adjusted = _mm256_sub_epi32(x, fraction);
    const __m256i magnitude = _mm256_abs_epi32(adjusted);
    const __mmask8 fast = _mm512_cmple_epu64_mask(mantissa, _mm512_set1_epi64(int64_t(1) << 53)) &
                          _mm256_cmple_epu32_mask(magnitude, _mm256_set1_epi32(22));
    const __m512d power = _mm512_i64gather_pd(_mm512_cvtepu32_epi64(_mm256_min_epu32(magnitude, _mm256_set1_epi32(22))),
                                              floatcodec_detail::kExactPowers, 8);
    const __m512d digitsValue = _mm512_cvtepu64_pd(mantissa);
    __m512d value = _mm512_mask_div_pd(_mm512_mul_pd(digitsValue, power), _mm256_movepi32_mask(adjusted), digitsValue,
                                       power);
    // The others, as the 128-bit product would give them.
    __mmask8 converted = fast;
    if (fast != 0xFF) {
        __m512d product;
        const __mmask8 viaProduct = productValues8(mantissa, adjusted, product) & static_cast<__mmask8>(~fast);
        value = _mm512_mask_mov_pd(value, viaProduct, product);
        converted |= viaProduct;
    }
    const __mmask8 minus = _mm256_test_epi32_mask(negative, negative);
    value = _mm512_castsi512_pd(_mm512_mask_xor_epi64(_mm512_castpd_si512(value), minus, _mm512_castpd_si512(value),
                                                      _mm512_set1_epi64(INT64_MIN)));
    _mm512_storeu_pd(out.value + k, value);
    _mm512_storeu_si512(out.mantissa + k, mantissa);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.start + k), s);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.comma + k), c);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.exponent + k), _mm256_cvtepi32_epi16(x));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out.tail + k), _mm256_cvtepi32_epi8(_mm256_sub_epi32(c, m)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out.digits + k), _mm256_cvtepi32_epi8(_mm256_add_epi32(whole, fraction)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out.fractionDigits + k), _mm256_cvtepi32_epi8(fraction));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out.negative + k), _mm256_cvtepi32_epi8(negative));
    // A group may straddle the two words of the mask (k < 120).
    const uint64_t left = static_cast<uint8_t>(~converted);
    out.unconverted[k / 64] |= left << (k % 64);
    if (k % 64 > 56) out.unconverted[1] |= left >> (64 - k % 64);
    out.anyConverted = true;
    return true;
}
#endif

#if defined(__AVX512DQ__) && defined(__AVX512BW__) && defined(__AVX512VL__)
constexpr bool kBlockExponents = true;
#else
constexpr bool kBlockExponents = false;
#endif

#if defined(__AVX512F__)
// writePositions (intscan_block.hpp) by compressing lane numbers, sixteen bits
// a step: the same positions, with far fewer instructions where the bits are
// sparse, as a float list's are.
[[gnu::always_inline]] inline size_t writeFloatPositions(uint32_t* at, size_t found, uint64_t bits, uint32_t base) {
    __m512i lanes = _mm512_add_epi32(_mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
                                     _mm512_set1_epi32(static_cast<int>(base)));
    for (unsigned q = 0; q < 4; ++q) {
        const __mmask16 m = static_cast<__mmask16>(bits >> (16 * q));
        _mm512_storeu_si512(at + found, _mm512_maskz_compress_epi32(m, lanes));
        found += static_cast<size_t>(__builtin_popcount(m));
        lanes = _mm512_add_epi32(lanes, _mm512_set1_epi32(16));
    }
    return found;
}
#else
[[gnu::always_inline]] inline size_t writeFloatPositions(uint32_t* at, size_t found, uint64_t bits, uint32_t base) {
    return writePositions(at, found, bits, base);
}
#endif

// Commas, points and exponent marks are indexed apart; a piece takes the next
// point (exponent mark) when it lies before its comma, and the one after that
// must not. On the AVX-512 tier eight pieces of one point each, and all eight
// with an exponent or none, are taken at once.
template <class Blocks>
[[gnu::always_inline]] inline size_t readFloatBlocksWith(const char* p, const char* end, FloatBatch& out,
                                                        const char** next) {
    constexpr size_t kMarks = kFloatBlockBatch + 2 * kIntBlockBytes + 1;
    uint32_t commaAt[kFloatBlockBatch + kIntBlockBytes];
    uint32_t pointAt[kMarks];
    uint32_t expAt[kMarks];
    size_t commas = 0;
    size_t points = 0;
    size_t exps = 0;
    uint64_t carryStart = 1;  // a piece starts at the block's first byte
    uint64_t carryExp = 0;    // the block before ended in 'e'
    const char* const limit = p + std::min(static_cast<size_t>(end - p), kBlockSpan);
    for (const char* block = p; static_cast<size_t>(limit - block) >= kIntBlockBytes && commas < kFloatBlockBatch &&
                                points < kFloatBlockBatch + kIntBlockBytes && exps < kFloatBlockBatch + kIntBlockBytes;
         block += kIntBlockBytes) {
        const IntBlockMasks m = Blocks::classify(block);
        const uint64_t point = Blocks::byteMask(block, '.');
        // Exponents on AVX-512 only: the AVX2 tier's piece loop reads them
        // slower than the per-piece reader does (measured).
        const uint64_t exp = kBlockExponents ? Blocks::byteMask(block, 'e') | Blocks::byteMask(block, 'E') : 0;
        const uint64_t afterExp = (exp << 1) | carryExp;
        const uint64_t plus = kBlockExponents ? Blocks::byteMask(block, '+') : 0;
        // A '-' belongs only at the start of a piece or after 'e', a '+' only after 'e'.
        const uint64_t bad = ~(m.digit | m.comma | point | exp | (m.minus & ((m.comma << 1) | carryStart | afterExp)) |
                               (plus & afterExp));
        const uint64_t before = bad == 0 ? ~uint64_t(0) : (bad & (0 - bad)) - 1;
        const uint32_t base = static_cast<uint32_t>(block - p);
        commas = writeFloatPositions(commaAt, commas, m.comma & before, base);
        points = writeFloatPositions(pointAt, points, point & before, base);
        // Most lists have no exponents.
        if ((exp & before) != 0) exps = writeFloatPositions(expAt, exps, exp & before, base);
        if (bad != 0) break;
        carryStart = m.comma >> 63;
        carryExp = exp >> 63;
    }
    pointAt[points] = UINT32_MAX;
    expAt[exps] = UINT32_MAX;
    const size_t pieces = commas < kFloatBlockBatch ? commas : kFloatBlockBatch;
    out.base = p;
    out.anyConverted = false;
    out.anyExponent = false;
    for (uint64_t& word : out.unconverted) word = 0;
    uint32_t start = 0;
    size_t j = 0;  // the next point
    size_t e = 0;  // the next exponent mark
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
            const uint32_t lastComma = commaAt[k + 7];
            if (onePoint == 0xFF && pointAt[j + 8] > lastComma) {
                // No exponent in the eight, or one after the point of each.
                const bool withExp = expAt[e] < lastComma;
                __m256i m = c;
                __m256i x = _mm256_setzero_si256();
                bool usual = true;
                if (withExp) {
                    usual = exps - e >= 8;
                    if (usual) {
                        m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(expAt + e));
                        usual = (_mm256_cmpgt_epu32_mask(m, t) & _mm256_cmplt_epu32_mask(m, c)) == 0xFF &&
                                expAt[e + 8] > lastComma && eightExponents(p, m, c, x);
                    }
                }
                if (usual && convertEightPieces(p, s, t, m, c, x, out, k)) {
                    start = lastComma + 1;
                    k += 8;
                    j += 8;
                    e += withExp ? 8 : 0;
                    out.anyExponent |= withExp;
                    continue;
                }
            }
        }
#endif
        const uint32_t c = commaAt[k];
        const bool hasPoint = pointAt[j] < c;
        const uint32_t pointOrEnd = hasPoint ? pointAt[j] : c;
        j += hasPoint;
        const bool hasExp = kBlockExponents && expAt[e] < c;
        const uint32_t mantissaEnd = hasExp ? expAt[e] : c;
        e += hasExp;
        // A second point or mark, or a point after the mark.
        if (pointAt[j] < c || (kBlockExponents && (expAt[e] < c || (hasPoint && pointOrEnd > mantissaEnd)))) break;
        const uint32_t point = hasPoint ? pointOrEnd : mantissaEnd;
        const unsigned negative = p[start] == '-';
        const size_t whole = static_cast<size_t>(point - start) - negative;
        const size_t fraction = hasPoint ? static_cast<size_t>(mantissaEnd - point) - 1 : 0;
        if (whole - 1 >= 7 || (hasPoint && fraction - 1 >= 16) || whole + fraction > 19) break;
        int exponent = 0;
        if (hasExp) {
            const char* q = p + mantissaEnd + 1;
            const bool minus = *q == '-';
            q += minus || *q == '+';
            const size_t digits = static_cast<size_t>(p + c - q);
            if (digits - 1 >= 3) break;
            uint32_t word;
            std::memcpy(&word, p + c - 4, 4);  // the digits end it
            word &= 0x0F0F0F0Fu & (0xFFFFFFFFu << (8 * (4 - digits)));
            exponent = static_cast<int>(((word >> 8) & 0xF) * 100 + ((word >> 16) & 0xF) * 10 + (word >> 24));
            if (minus) exponent = -exponent;
            out.anyExponent = true;
        }
        const uint64_t wholeValue = Blocks::lastDigits(p + point, static_cast<unsigned>(whole));
        const uint64_t fractionValue = Blocks::lastDigits(p + mantissaEnd, static_cast<unsigned>(fraction));
        out.mantissa[k] = wholeValue * kPowersOf10[fraction] + fractionValue;
        out.start[k] = start;
        out.comma[k] = c;
        if (kBlockExponents) {  // read only from batches with exponents
            out.exponent[k] = static_cast<int16_t>(exponent);
            out.tail[k] = static_cast<uint8_t>(c - mantissaEnd);
        }
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
