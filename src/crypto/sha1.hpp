// SHA-1 (FIPS 180-4).
#pragma once

#include "crypto/digest.hpp"

namespace karpa {

inline uint32_t rotl32(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// The two compression functions: the portable one and the one built on the
// SHA extensions (only to be called when shaExtensionsAvailable()).
void sha1CompressPortable(uint32_t* state, const uint8_t* blocks, size_t count);
void sha1CompressShaNi(uint32_t* state, const uint8_t* blocks, size_t count);
// The faster of the two on this processor.
CompressFn sha1Compress();

// The digest of `lead` (null, or one 64-byte block) followed by `message`,
// with the given compression function.
Sha1Digest sha1With(CompressFn compress, Bytes message, const uint8_t* lead = nullptr);
inline Sha1Digest sha1Impl(Bytes message, const uint8_t* lead = nullptr) {
    return sha1With(sha1Compress(), message, lead);
}

}  // namespace karpa
