#include "seq/int_sort.hpp"

#include "frame/cpu.hpp"

namespace karpa {
namespace int_sort {

// Eight counts of zero or one: every value is stored and the cursor moves on
// by its count, so no branch depends on the data.
void walkCountsBaseline(const DenseCounts& d, int64_t* out, int64_t* end) {
    walkCounts(d, out, end, [&d](int64_t* o, int64_t*, uint64_t w, size_t key) {
        for (unsigned j = 0; j < 8; ++j) {
            *o = valueAt(d, key + j);
            o += (w >> (8 * j)) & 1;
        }
        return o;
    }, [&d](int64_t* o, uint64_t w, size_t key) { return writeFewCounts(d, o, w, key); });
}

Extremes extremesBaseline(const int64_t* a, size_t n) { return findExtremes(a, n); }

Extremes extremes(const int64_t* a, size_t n) {
    switch (activeTier()) {
        case Tier::avx512: return extremesAvx512(a, n);
        case Tier::avx2: return extremesAvx2(a, n);
        case Tier::baseline: break;
    }
    return extremesBaseline(a, n);
}

WalkFn walkFunction() {
    switch (activeTier()) {
        case Tier::avx512: return walkCountsAvx512;
        case Tier::avx2: return walkCountsAvx2;
        case Tier::baseline: break;
    }
    return walkCountsBaseline;
}

}  // namespace int_sort
}  // namespace karpa
