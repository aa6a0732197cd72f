// Eight items a step while they share a sign and a digit count of at most
// sixteen: the eight-digit texts of each absolute value are made in its
// 64-bit lane (the steps of eightDigitText, lane by lane), shifted past the
// leading zeros, and stored at the run's stride with the sign and the comma.
// GCC 12 reports the unset operand of its own AVX-512 intrinsics as maybe
// uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include "frame/codec/digits.hpp"
#include "frame/codec/textcodec.hpp"
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
    const size_t n = list.size();
    if (n == 0) return "";
    const int64_t* const a = list.data();
    TextBuilder out;
    // The fixed-stride stores write a whole word for each item; the slack
    // keeps the last one inside the room.
    char* p = out.room(n * (kMaxIntText + 1) + 8);
    size_t i = 0;
    while (i + 8 <= n) {
        const int64_t first = a[i];
        const bool negative = first < 0;
        const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(first) : static_cast<uint64_t>(first);
        const unsigned width = static_cast<unsigned>(decimalDigits(magnitude));
        if (width > 16) {
            p = writeInt(p, first);
            *p++ = ',';
            ++i;
            continue;
        }
        // The values of this sign and width.
        const int64_t smallest = width == 1 ? 0 : static_cast<int64_t>(kPowersOf10[width - 1]);
        const int64_t largest = static_cast<int64_t>(kPowersOf10[width]) - 1;
        const int64_t low = negative ? -largest : smallest;
        const int64_t high = negative ? (width == 1 ? -1 : -smallest) : largest;
        const __m512i v = _mm512_loadu_si512(a + i);
        const __mmask8 inRun = _mm512_cmpge_epi64_mask(v, _mm512_set1_epi64(low)) &
                               _mm512_cmple_epi64_mask(v, _mm512_set1_epi64(high));
        if (inRun != 0xFF) {
            p = writeInt(p, first);
            *p++ = ',';
            ++i;
            continue;
        }
        const unsigned sign = negative ? 1 : 0;
        const __m512i u = _mm512_abs_epi64(v);
        alignas(64) uint64_t words[8];
        if (width <= 8) {
            const __m128i past = _mm_cvtsi32_si128(static_cast<int>(8 * (8 - width)));
            _mm512_store_si512(words, _mm512_srl_epi64(eightDigitTexts(u), past));
            for (unsigned k = 0; k < 8; ++k) {
                *p = '-';
                store8(p + sign, words[k]);
                p[sign + width] = ',';
                p += sign + width + 1;
            }
        } else {
            // Nine to sixteen digits: the head u / 10^8 and the last eight.
            // The quotient through binary64 is off by at most one, which
            // the remainder's range puts right.
            const __m512i e8 = _mm512_set1_epi64(100000000);
            __m512i q = _mm512_cvttpd_epu64(_mm512_div_pd(_mm512_cvtepu64_pd(u), _mm512_set1_pd(1e8)));
            __m512i r = _mm512_sub_epi64(u, _mm512_mullo_epi64(q, e8));
            const __mmask8 under = _mm512_cmplt_epi64_mask(r, _mm512_setzero_si512());
            q = _mm512_mask_sub_epi64(q, under, q, _mm512_set1_epi64(1));
            r = _mm512_mask_add_epi64(r, under, r, e8);
            const __mmask8 over = _mm512_cmpge_epi64_mask(r, e8);
            q = _mm512_mask_add_epi64(q, over, q, _mm512_set1_epi64(1));
            r = _mm512_mask_sub_epi64(r, over, r, e8);
            alignas(64) uint64_t lows[8];
            const __m128i past = _mm_cvtsi32_si128(static_cast<int>(8 * (16 - width)));
            _mm512_store_si512(words, _mm512_srl_epi64(eightDigitTexts(q), past));
            _mm512_store_si512(lows, eightDigitTexts(r));
            for (unsigned k = 0; k < 8; ++k) {
                *p = '-';
                store8(p + sign, words[k]);
                store8(p + sign + width - 8, lows[k]);
                p[sign + width] = ',';
                p += sign + width + 1;
            }
        }
        i += 8;
    }
    for (; i < n; ++i) {
        p = writeInt(p, a[i]);
        *p++ = ',';
    }
    out.commit(p - 1);  // without the last separator
    return out.finish();
}

}  // namespace int_print
}  // namespace karpa

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
