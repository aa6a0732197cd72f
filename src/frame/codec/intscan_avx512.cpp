// Integer list blocks with AVX-512: one 64-byte load and three mask compares
// per block; the digits loaded under a mask and converted with multiply-adds.
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

    // Only the last n of the sixteen bytes before `last` are loaded; less
    // '0' (saturating, so the lanes not loaded stay zero), then pairs, quads
    // and eights joined by multiply-adds.
    static uint64_t lastDigits(const char* last, unsigned n) {
        const __mmask16 keep = static_cast<__mmask16>(0xFFFF0000u >> n);
        __m128i v = _mm_maskz_loadu_epi8(keep, last - 16);
        v = _mm_subs_epu8(v, _mm_set1_epi8('0'));
        v = _mm_maddubs_epi16(v, _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
        v = _mm_madd_epi16(v, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
        v = _mm_packus_epi32(v, v);
        v = _mm_madd_epi16(v, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
        const uint64_t x = static_cast<uint64_t>(_mm_cvtsi128_si64(v));
        return (x & 0xFFFFFFFF) * 100000000 + (x >> 32);
    }
};

}  // namespace

size_t readIntBlocksAvx512(const char* p, const char* end, int64_t* out, const char** next) {
    return readIntBlocksWith<Avx512Blocks>(p, end, out, next);
}

}  // namespace karpa
