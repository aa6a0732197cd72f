// Four items a step while they share a sign and a digit count of at most
// eight: the eight-digit text of each absolute value is made in its 64-bit
// lane (the steps of eightDigitText, lane by lane).
#include <immintrin.h>

#include "seq/int_print.hpp"

namespace karpa {
namespace int_print {
namespace {

// The eight digits of each lane's value (below 10^8), the most significant
// in the lowest byte.
inline __m256i eightDigitTexts(__m256i u) {
    // Quarters: u / 10^4 in the low half of the lane, u % 10^4 in the high.
    const __m256i high = _mm256_srli_epi64(_mm256_mul_epu32(u, _mm256_set1_epi64x(0xD1B71759)), 45);
    const __m256i low = _mm256_sub_epi64(u, _mm256_mul_epu32(high, _mm256_set1_epi64x(10000)));
    const __m256i x = _mm256_or_si256(high, _mm256_slli_epi64(low, 32));
    // Pairs of digits in 16-bit lanes, then single digits in bytes.
    const __m256i hundreds = _mm256_and_si256(_mm256_srli_epi32(_mm256_mullo_epi32(x, _mm256_set1_epi32(10486)), 20),
                                              _mm256_set1_epi32(0x7F));
    const __m256i pairs = _mm256_or_si256(
        hundreds, _mm256_slli_epi32(_mm256_sub_epi32(x, _mm256_mullo_epi32(hundreds, _mm256_set1_epi32(100))), 16));
    const __m256i tens = _mm256_and_si256(_mm256_srli_epi16(_mm256_mullo_epi16(pairs, _mm256_set1_epi16(103)), 10),
                                          _mm256_set1_epi16(0x0F));
    const __m256i digits = _mm256_or_si256(
        tens, _mm256_slli_epi16(_mm256_sub_epi16(pairs, _mm256_mullo_epi16(tens, _mm256_set1_epi16(10))), 8));
    return _mm256_add_epi8(digits, _mm256_set1_epi8('0'));
}

}  // namespace

const char* printAvx2(const IntList& list) {
    return printRuns<4, 8>(list, [](const int64_t* items, const Run& run, uint64_t* heads, uint64_t*) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(items));
        const __m256i outside = _mm256_or_si256(_mm256_cmpgt_epi64(_mm256_set1_epi64x(run.low), v),
                                                _mm256_cmpgt_epi64(v, _mm256_set1_epi64x(run.high)));
        if (!_mm256_testz_si256(outside, outside)) return false;
        const __m256i u = run.negative ? _mm256_sub_epi64(_mm256_setzero_si256(), v) : v;
        const __m128i past = _mm_cvtsi32_si128(static_cast<int>(8 * (8 - run.width)));
        _mm256_store_si256(reinterpret_cast<__m256i*>(heads), _mm256_srl_epi64(eightDigitTexts(u), past));
        return true;
    });
}

}  // namespace int_print
}  // namespace karpa
