// SHA-256 (FIPS 180-4).
#pragma once

#include "crypto/digest.hpp"

namespace karpa {

inline uint32_t rotr32(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }
inline uint32_t ch(uint32_t x, uint32_t y, uint32_t z) { return z ^ (x & (y ^ z)); }
inline uint32_t maj(uint32_t x, uint32_t y, uint32_t z) { return (x & y) | (z & (x | y)); }
// The rotations nested (rotation distributes over xor): one scratch register
// instead of three copies.
inline uint32_t bsig0(uint32_t x) { return rotr32(rotr32(rotr32(x, 9) ^ x, 11) ^ x, 2); }
inline uint32_t bsig1(uint32_t x) { return rotr32(rotr32(rotr32(x, 14) ^ x, 5) ^ x, 6); }
inline uint32_t ssig0(uint32_t x) { return rotr32(rotr32(x, 11) ^ x, 7) ^ (x >> 3); }
inline uint32_t ssig1(uint32_t x) { return rotr32(rotr32(x, 2) ^ x, 17) ^ (x >> 10); }

alignas(16) inline constexpr uint32_t SHA256_K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

// The two compression functions: the portable one and the one built on the
// SHA extensions (only to be called when shaExtensionsAvailable()).
void sha256CompressPortable(uint32_t* state, const uint8_t* blocks, size_t count);
void sha256CompressShaNi(uint32_t* state, const uint8_t* blocks, size_t count);
// The faster of the two on this processor.
CompressFn sha256Compress();

// The digest of `lead` (null, or one 64-byte block) followed by `message`,
// with the given compression function.
Sha256Digest sha256With(CompressFn compress, Bytes message, const uint8_t* lead = nullptr);
inline Sha256Digest sha256Impl(Bytes message, const uint8_t* lead = nullptr) {
    return sha256With(sha256Compress(), message, lead);
}

}  // namespace karpa
