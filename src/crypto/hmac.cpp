// HMAC-MD5 and HMAC-SHA-256 (RFC 2104).
#include "crypto/hmac.hpp"

#include <climits>

#include "crypto/hex.hpp"
#include "crypto/md5.hpp"
#include "crypto/sha256.hpp"
#include "frame/error.hpp"

namespace karpa {
namespace {

// The digest's bytes taken back from its text, the form every digest result
// has at this library's boundary.
template <size_t N>
void digestBytesViaText(const std::array<uint8_t, N>& digest, uint8_t* out) {
    decodeDigestText(digestText(digest), out, N);
}

// `digestImpl(message, lead)` hashes an optional leading block and the
// message, which lets the pads go first without copying the message. The
// core procedures are called directly: an export call would start a new call
// on this thread and give back the memory this one is using.
template <size_t N, class DigestImpl>
std::array<uint8_t, N> hmacImpl(DigestImpl digestImpl, Bytes message, Bytes key) {
    alignas(16) uint8_t keyBlock[kBlockSize] = {};
    if (key.size() > kBlockSize) {
        digestBytesViaText<N>(digestImpl(key, nullptr), keyBlock);
    } else if (!key.empty()) {
        std::memcpy(keyBlock, key.data(), key.size());
    }

    alignas(16) uint8_t innerPad[kBlockSize];
    alignas(16) uint8_t outerPad[kBlockSize];
    for (size_t i = 0; i < kBlockSize; ++i) {
        innerPad[i] = keyBlock[i] ^ 0x36;
        outerPad[i] = keyBlock[i] ^ 0x5c;
    }

    // The inner input (pad and message) has to fit a C int.
    const int64_t innerLength = checkedAdd(int64_t(kBlockSize), int64_t(message.size()));
    if (innerLength > INT_MAX) raiseRangeErrorI(innerLength, INT_MIN, INT_MAX);

    uint8_t inner[N];
    digestBytesViaText<N>(digestImpl(message, innerPad), inner);
    return digestImpl(Bytes(inner, N), outerPad);
}

}  // namespace

Md5Digest hmacMd5Impl(Bytes message, Bytes key) {
    return hmacImpl<16>([](Bytes m, const uint8_t* lead) { return md5Impl(m, lead); }, message, key);
}

Sha256Digest hmacSha256Impl(Bytes message, Bytes key) {
    return hmacImpl<32>([](Bytes m, const uint8_t* lead) { return sha256Impl(m, lead); }, message, key);
}

}  // namespace karpa
