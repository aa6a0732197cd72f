// Integer list blocks with AVX2: two 32-byte compares per block, the digits
// converted with AVX2 multiply-adds (intscan_block.hpp).
#include "frame/codec/intscan_block.hpp"

namespace karpa {

size_t readIntBlocksAvx2(const char* p, const char* end, int64_t* out, const char** next) {
    return readIntBlocksWith<TierBlocks>(p, end, out, next);
}

}  // namespace karpa
