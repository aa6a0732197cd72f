// MD5 (RFC 1321).
#pragma once

#include "crypto/digest.hpp"

namespace karpa {

// The four auxiliary functions and the left rotation of the rounds.
inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return z ^ (x & (y ^ z)); }
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) { return (x & z) | (y & ~z); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }
inline uint32_t rot(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

void md5Compress(uint32_t* state, const uint8_t* blocks, size_t count);

// The digest of `lead` (null, or one 64-byte block hashed first) followed by `message`.
Md5Digest md5Impl(Bytes message, const uint8_t* lead = nullptr);

}  // namespace karpa
