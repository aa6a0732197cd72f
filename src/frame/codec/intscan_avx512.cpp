// Integer list blocks with AVX-512: one 64-byte load and three mask compares
// per block; the digits loaded under a mask and converted with multiply-adds
// (intscan_block.hpp).
#include "frame/codec/intscan_block.hpp"

namespace karpa {

size_t readIntBlocksAvx512(const char* p, const char* end, int64_t* out, const char** next) {
    return readIntBlocksWith<TierBlocks>(p, end, out, next);
}

}  // namespace karpa
