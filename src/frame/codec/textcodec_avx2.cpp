// Separators found 64 bytes a step on the avx2 tier (intscan_block.hpp).
#include "frame/codec/intscan_block.hpp"

namespace karpa {

size_t indexSeparatorsAvx2(const char* p, const char* end, char separator, uint32_t* at) {
    return indexSeparatorsWith<TierBlocks>(p, end, separator, at);
}

}  // namespace karpa
