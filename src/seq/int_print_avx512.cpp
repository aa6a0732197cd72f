// Eight items a step while they share a sign and a digit count of at most
// sixteen: the eight-digit texts of each absolute value are made in its
// 64-bit lane (the steps of eightDigitText, lane by lane).

// GCC 12 reports the unset operand of its own AVX-512 intrinsics as maybe
// uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include "seq/int_print.hpp"

namespace karpa {
namespace int_print {
namespace {

// The eight digits of each lane's value (below 10^8), the most significant
// in the lowest byte.
inline __m512i eightDigitTexts(__m512i u) {
    // Quarters: u / 10^4 in the low half of the lane, u % 10^4 in the high.
    const __m512i high = _mm512_srli_epi64(_mm512_mul_epu32(u, _mm512_set1_epi64(0xD1B71759)), 45);
    const __m512i low = _mm512_sub_epi64(u, _mm512_mul_epu32(high, _mm512_set1_epi64(10000)));
    const __m512i x = _mm512_or_si512(high, _mm512_slli_epi64(low, 32));
    // Pairs of digits in 16-bit lanes, then single digits in bytes.
    const __m512i hundreds = _mm512_and_si512(_mm512_srli_epi32(_mm512_mullo_epi32(x, _mm512_set1_epi32(10486)), 20),
                                              _mm512_set1_epi32(0x7F));
    const __m512i pairs = _mm512_or_si512(
        hundreds, _mm512_slli_epi32(_mm512_sub_epi32(x, _mm512_mullo_epi32(hundreds, _mm512_set1_epi32(100))), 16));
    const __m512i tens = _mm512_and_si512(_mm512_srli_epi16(_mm512_mullo_epi16(pairs, _mm512_set1_epi16(103)), 10),
                                          _mm512_set1_epi16(0x0F));
    const __m512i digits = _mm512_or_si512(
        tens, _mm512_slli_epi16(_mm512_sub_epi16(pairs, _mm512_mullo_epi16(tens, _mm512_set1_epi16(10))), 8));
    return _mm512_add_epi8(digits, _mm512_set1_epi8('0'));
}

}  // namespace

const char* printAvx512(const IntList& list) {
    return printRuns<8, 16>(list, [](const int64_t* items, const Run& run, uint64_t* heads, uint64_t* lows) {
        const __m512i v = _mm512_loadu_si512(items);
        const __mmask8 inRun = _mm512_cmpge_epi64_mask(v, _mm512_set1_epi64(run.low)) &
                               _mm512_cmple_epi64_mask(v, _mm512_set1_epi64(run.high));
        if (inRun != 0xFF) return false;
        const __m512i u = _mm512_abs_epi64(v);
        if (run.width <= 8) {
            const __m128i past = _mm_cvtsi32_si128(static_cast<int>(8 * (8 - run.width)));
            _mm512_store_si512(heads, _mm512_srl_epi64(eightDigitTexts(u), past));
            return true;
        }
        // Nine to sixteen digits: the head u / 10^8 and the last eight. The
        // quotient through binary64 is off by at most one, which the
        // remainder's range puts right.
        const __m512i e8 = _mm512_set1_epi64(100000000);
        __m512i q = _mm512_cvttpd_epu64(_mm512_div_pd(_mm512_cvtepu64_pd(u), _mm512_set1_pd(1e8)));
        __m512i r = _mm512_sub_epi64(u, _mm512_mullo_epi64(q, e8));
        const __mmask8 under = _mm512_cmplt_epi64_mask(r, _mm512_setzero_si512());
        q = _mm512_mask_sub_epi64(q, under, q, _mm512_set1_epi64(1));
        r = _mm512_mask_add_epi64(r, under, r, e8);
        const __mmask8 over = _mm512_cmpge_epi64_mask(r, e8);
        q = _mm512_mask_add_epi64(q, over, q, _mm512_set1_epi64(1));
        r = _mm512_mask_sub_epi64(r, over, r, e8);
        const __m128i past = _mm_cvtsi32_si128(static_cast<int>(8 * (16 - run.width)));
        _mm512_store_si512(heads, _mm512_srl_epi64(eightDigitTexts(q), past));
        _mm512_store_si512(lows, eightDigitTexts(r));
        return true;
    });
}

}  // namespace int_print
}  // namespace karpa

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
