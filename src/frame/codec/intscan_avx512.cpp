// Integer list blocks with AVX-512: one 64-byte load and three mask compares
// per block; the digits loaded under a mask and converted with multiply-adds.
// GCC 12's 512-bit intrinsics start from an undefined register, which its
// own flow analysis then reports as maybe uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include "frame/codec/intscan_block.hpp"

namespace karpa {
namespace {

struct Avx512Blocks {
    static IntBlockMasks classify(const char* block) {
        const __m512i v = _mm512_loadu_si512(block);
        return {_mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(',')),
                _mm512_cmplt_epu8_mask(_mm512_sub_epi8(v, _mm512_set1_epi8('0')), _mm512_set1_epi8(10)),
                _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('-'))};
    }

    // Only the last n of the sixteen bytes before `last` are loaded.
    static __m128i lastBytes(const char* last, unsigned n) {
        return _mm_maskz_loadu_epi8(static_cast<__mmask16>(0xFFFF0000u >> n), last - 16);
    }

    // Less '0' (saturating, so the lanes not loaded stay zero), then pairs,
    // quads and eights joined by multiply-adds (the leading digit of each
    // pair is the lower lane).
    static uint64_t lastDigits(const char* last, unsigned n) {
        __m128i v = _mm_subs_epu8(lastBytes(last, n), _mm_set1_epi8('0'));
        v = _mm_maddubs_epi16(v, _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
        v = _mm_madd_epi16(v, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
        v = _mm_packus_epi32(v, v);
        v = _mm_madd_epi16(v, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
        const uint64_t x = static_cast<uint64_t>(_mm_cvtsi128_si64(v));
        return (x & 0xFFFFFFFF) * 100000000 + (x >> 32);
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

}  // namespace

size_t readIntBlocksAvx512(const char* p, const char* end, int64_t* out, const char** next) {
    return readIntBlocksWith<Avx512Blocks>(p, end, out, next);
}

}  // namespace karpa
