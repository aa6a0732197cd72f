// The counting walk on AVX2: each half of eight counts of zero or one picks
// from a table the permutation that moves its kept values to the front of a
// vector, stored whole. The extremes with AVX2's 64-bit comparison.
#include <immintrin.h>

#include <array>

#include "seq/int_sort.hpp"

namespace karpa {
namespace int_sort {
namespace {

// For each set of kept lanes among four 64-bit lanes, the 32-bit lane
// indices that put them first, in order.
constexpr std::array<std::array<int32_t, 8>, 16> kKeepFirst = [] {
    std::array<std::array<int32_t, 8>, 16> table{};
    for (unsigned mask = 0; mask < 16; ++mask) {
        unsigned at = 0;
        for (int32_t lane = 0; lane < 4; ++lane) {
            if ((mask >> lane) & 1) {
                table[mask][at++] = 2 * lane;
                table[mask][at++] = 2 * lane + 1;
            }
        }
    }
    return table;
}();

inline int64_t* keepFirst(int64_t* o, __m256i values, unsigned mask) {
    const __m256i order = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kKeepFirst[mask].data()));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(o), _mm256_permutevar8x32_epi32(values, order));
    return o + __builtin_popcount(mask);
}

}  // namespace

Extremes extremesAvx2(const int64_t* a, size_t n) { return findExtremes(a, n); }

void walkCountsAvx2(const DenseCounts& d, int64_t* out, int64_t* end) {
    const __m256i step = _mm256_set1_epi64x(static_cast<int64_t>(d.step));
    const __m256i lanes = _mm256_setr_epi64x(0, static_cast<int64_t>(d.step), static_cast<int64_t>(2 * d.step),
                                             static_cast<int64_t>(3 * d.step));
    const __m256i four = _mm256_slli_epi64(step, 2);
    walkCounts(d, out, end, [&](int64_t* o, int64_t* e, uint64_t w, size_t key) {
        // Bit j of the top byte gathers count j (pext is slow on some AVX2
        // processors).
        const unsigned keep = static_cast<unsigned>((w * 0x0102040810204080ull) >> 56);
        if (e - o < 8) [[unlikely]] {
            for (unsigned j = 0; j < 8; ++j) {
                *o = valueAt(d, key + j);
                o += (keep >> j) & 1;
            }
            return o;
        }
        const __m256i first = _mm256_add_epi64(_mm256_set1_epi64x(valueAt(d, key)), lanes);
        o = keepFirst(o, first, keep & 15);
        return keepFirst(o, _mm256_add_epi64(first, four), keep >> 4);
    }, [&d](int64_t* o, uint64_t w, size_t key) { return writeFewCounts(d, o, w, key); });
}

}  // namespace int_sort
}  // namespace karpa
