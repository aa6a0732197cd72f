#include "seq/int_print.hpp"

#include "frame/codec/textcodec.hpp"
#include "frame/cpu.hpp"

namespace karpa {

// Below AVX-512 the one-item printer is as quick as a scalar run printer.
const char* printIntListInRuns(const IntList& list) {
    return activeTier() == Tier::avx512 ? int_print::printAvx512(list) : printIntList(list);
}

}  // namespace karpa
