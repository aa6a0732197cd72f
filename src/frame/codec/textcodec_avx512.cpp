// Separators found 64 bytes a step with AVX-512: one compare into a mask.
#include <immintrin.h>

#include "frame/codec/textcodec.hpp"

namespace karpa {
namespace {

// Up to kSeparatorBatch positions, sixteen written per block whatever it
// holds (past the last one, a position of 64 that is never read).
template <class Mask>
[[gnu::always_inline]] inline size_t indexSeparatorsWith(const char* p, const char* end, uint32_t* at, Mask mask) {
    size_t found = 0;
    for (const char* block = p; static_cast<size_t>(end - block) >= 64 && found < kSeparatorBatch; block += 64) {
        uint64_t left = mask(block);
        const uint32_t base = static_cast<uint32_t>(block - p);
        const size_t count = static_cast<size_t>(__builtin_popcountll(left));
        for (size_t i = 0; i < 16; ++i) {
            at[found + i] = base + static_cast<uint32_t>(_tzcnt_u64(left));
            left = _blsr_u64(left);
        }
        for (size_t i = 16; i < count; ++i) {
            at[found + i] = base + static_cast<uint32_t>(_tzcnt_u64(left));
            left = _blsr_u64(left);
        }
        found += count;
    }
    return found;
}

}  // namespace

size_t indexSeparatorsAvx512(const char* p, const char* end, char separator, uint32_t* at) {
    const __m512i wanted = _mm512_set1_epi8(separator);
    return indexSeparatorsWith(p, end, at, [wanted](const char* block) {
        return static_cast<uint64_t>(_mm512_cmpeq_epi8_mask(_mm512_loadu_si512(block), wanted));
    });
}

}  // namespace karpa
