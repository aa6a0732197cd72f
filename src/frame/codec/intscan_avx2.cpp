// Integer list blocks with AVX2: two 32-byte compares per block, the digits
// converted with SSSE3/SSE4.1 multiply-adds.
#include <immintrin.h>

#include "frame/codec/intscan_block.hpp"

namespace karpa {
namespace {

// Sixteen zero bytes, then sixteen of all ones: read from n, the last n
// lanes are kept.
alignas(32) constexpr uint8_t kKeepLast[32] = {0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
                                               0,    0,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                               0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

struct Avx2Blocks {
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

    // The sixteen bytes before `last`, less '0', all but the last n cleared:
    // pairs, then quads, then eights joined by multiply-adds (the leading
    // digit of each pair is the lower lane).
    static uint64_t lastDigits(const char* last, unsigned n) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(last - 16));
        v = _mm_and_si128(_mm_sub_epi8(v, _mm_set1_epi8('0')),
                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(kKeepLast + n)));
        v = _mm_maddubs_epi16(v, _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
        v = _mm_madd_epi16(v, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
        v = _mm_packus_epi32(v, v);
        v = _mm_madd_epi16(v, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
        const uint64_t x = static_cast<uint64_t>(_mm_cvtsi128_si64(v));
        return (x & 0xFFFFFFFF) * 100000000 + (x >> 32);
    }
};

}  // namespace

size_t readIntBlocksAvx2(const char* p, const char* end, int64_t* out, const char** next) {
    return readIntBlocksWith<Avx2Blocks>(p, end, out, next);
}

}  // namespace karpa
