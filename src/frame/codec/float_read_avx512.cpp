// Float list blocks on the avx512 tier (float_block.hpp).
#include "frame/codec/float_block.hpp"

namespace karpa {

size_t readFloatBlocksAvx512(const char* p, const char* end, FloatBatch& out, const char** next) {
    return readFloatBlocksWith<TierBlocks>(p, end, out, next);
}

}  // namespace karpa
