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

    static uint64_t lastDigits(const char* last, unsigned n) {
        __m128i v = digitBytes(last, n);
        v = _mm_maddubs_epi16(v, _mm_setr_epi8(10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1, 10, 1));
        v = _mm_madd_epi16(v, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
        v = _mm_packus_epi32(v, v);
        v = _mm_madd_epi16(v, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
        const uint64_t x = static_cast<uint64_t>(_mm_cvtsi128_si64(v));
        return (x & 0xFFFFFFFF) * 100000000 + (x >> 32);
    }

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

}  // namespace

size_t readIntBlocksAvx2(const char* p, const char* end, int64_t* out, const char** next) {
    return readIntBlocksWith<Avx2Blocks>(p, end, out, next);
}

}  // namespace karpa
