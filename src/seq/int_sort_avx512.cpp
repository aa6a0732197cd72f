// The counting walk on AVX-512: eight counts of zero or one become a lane
// mask, and the eight values are compressed to the kept ones in a register
// and stored as one vector (a compressing store to memory is slow on some
// processors).
// GCC 12 reports the unset operand of its own AVX-512 intrinsics as maybe
// uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include "seq/int_sort.hpp"

namespace karpa {
namespace int_sort {

Extremes extremesAvx512(const int64_t* a, size_t n) { return findExtremes(a, n); }

void walkCountsAvx512(const DenseCounts& d, int64_t* out, int64_t* end) {
    const __m512i lanes = _mm512_mullo_epi64(_mm512_setr_epi64(0, 1, 2, 3, 4, 5, 6, 7),
                                             _mm512_set1_epi64(static_cast<int64_t>(d.step)));
    // Offsets of the keys 0,0,0,1,1,1,...,7,7,7 in three vectors.
    __m512i triples[3];
    for (unsigned part = 0; part < 3; ++part) {
        alignas(64) int64_t offsets[8];
        for (unsigned lane = 0; lane < 8; ++lane) offsets[lane] = static_cast<int64_t>(d.step * ((8 * part + lane) / 3));
        triples[part] = _mm512_load_si512(offsets);
    }
    walkCounts(d, out, end, [&](int64_t* o, int64_t* e, uint64_t w, size_t key) {
        const __mmask8 keep = static_cast<__mmask8>(_pext_u64(w, kEveryByte));
        const __m512i values = _mm512_add_epi64(_mm512_set1_epi64(valueAt(d, key)), lanes);
        const __m512i kept = _mm512_maskz_compress_epi64(keep, values);
        if (e - o >= 8) [[likely]] {
            _mm512_storeu_si512(o, kept);
        } else {
            _mm512_mask_storeu_epi64(o, static_cast<__mmask8>((1u << __builtin_popcount(keep)) - 1), kept);
        }
        return o + __builtin_popcount(keep);
    }, [&](int64_t* o, uint64_t w, size_t key) {
        // Counts up to three: every value three times in a row (24 lanes),
        // kept where the count reaches the copy's number.
        const uint64_t atLeast1 = _pext_u64(w | (w >> 1), kEveryByte);
        const uint64_t atLeast2 = _pext_u64(w >> 1, kEveryByte);
        const uint64_t atLeast3 = _pext_u64(w & (w >> 1), kEveryByte);
        const uint64_t keep = _pdep_u64(atLeast1, 0x249249) | _pdep_u64(atLeast2, 0x492492) |
                              _pdep_u64(atLeast3, 0x924924);
        const __m512i base = _mm512_set1_epi64(valueAt(d, key));
        for (unsigned part = 0; part < 3; ++part) {
            const __mmask8 m = static_cast<__mmask8>(keep >> (8 * part));
            _mm512_storeu_si512(o, _mm512_maskz_compress_epi64(m, _mm512_add_epi64(base, triples[part])));
            o += __builtin_popcount(m);
        }
        return o;
    });
}

}  // namespace int_sort
}  // namespace karpa

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
