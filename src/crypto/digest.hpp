// What the three digests share: the digest and byte types, the block driver
// that pads a message and feeds it to a compression function, and the
// processor check for the SHA extensions.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "frame/cpu.hpp"

namespace karpa {

// Word loads and the length field below assume the x86-64 byte order.
static_assert(std::endian::native == std::endian::little);

constexpr size_t kBlockSize = 64;

using Md5Digest = std::array<uint8_t, 16>;
using Sha1Digest = std::array<uint8_t, 20>;
using Sha256Digest = std::array<uint8_t, 32>;

using Bytes = std::span<const uint8_t>;

// A compression function: runs `count` consecutive 64-byte blocks into `state`.
using CompressFn = void (*)(uint32_t* state, const uint8_t* blocks, size_t count);

inline uint32_t loadBigEndian32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return __builtin_bswap32(v);
}

inline void storeBigEndian32(uint8_t* p, uint32_t v) {
    v = __builtin_bswap32(v);
    std::memcpy(p, &v, 4);
}

enum class LengthOrder { LittleEndian, BigEndian };

// Hashes `lead` (none, or exactly one 64-byte block) followed by `message`.
// Whole blocks of the message are compressed where they lie; only the last
// partial block and the padding (0x80, zeros, the bit length in 64 bits) are
// assembled in a local buffer of one or two blocks.
inline void padAndCompress(CompressFn compress, uint32_t* state, const uint8_t* lead, Bytes message,
                           LengthOrder order) {
    if (lead != nullptr) compress(state, lead, 1);
    const size_t whole = message.size() / kBlockSize;
    if (whole != 0) compress(state, message.data(), whole);
    const size_t rest = message.size() % kBlockSize;

    alignas(16) uint8_t tail[2 * kBlockSize];
    if (rest != 0) std::memcpy(tail, message.data() + whole * kBlockSize, rest);
    tail[rest] = 0x80;
    const size_t tailSize = rest < kBlockSize - 8 ? kBlockSize : 2 * kBlockSize;
    std::memset(tail + rest + 1, 0, tailSize - 8 - (rest + 1));

    // The length field is the bit count modulo 2^64.
    const uint64_t total = uint64_t(message.size()) + (lead != nullptr ? kBlockSize : 0);
    uint64_t bits = total << 3;
    if (order == LengthOrder::BigEndian) bits = __builtin_bswap64(bits);
    std::memcpy(tail + tailSize - 8, &bits, 8);
    compress(state, tail, tailSize / kBlockSize);
}

}  // namespace karpa
