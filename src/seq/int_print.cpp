#include "seq/int_print.hpp"

#include "frame/cpu.hpp"

namespace karpa {

// The baseline has the one-item printer only: a scalar run printer would
// make the same word per item.
const char* printIntListInRuns(const IntList& list) {
    switch (activeTier()) {
        case Tier::avx512: return int_print::printAvx512(list);
        case Tier::avx2: return int_print::printAvx2(list);
        case Tier::baseline: break;
    }
    return printIntList(list);
}

}  // namespace karpa
