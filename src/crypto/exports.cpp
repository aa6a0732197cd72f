// The crypto exports: take the bytes, run the core procedure, print the
// digest as text. Empty input to a digest is answered with its stored
// lower-case text before the length is checked.
#include "karpa/crypto.h"  // the compiler checks each export against its declaration

#include "crypto/hex.hpp"
#include "crypto/hmac.hpp"
#include "crypto/md5.hpp"
#include "crypto/sha1.hpp"
#include "crypto/sha256.hpp"
#include "frame/error.hpp"
#include "frame/exportcall.hpp"

using namespace karpa;

namespace {

// The bytes of a digest export's argument. A negative length is a negative
// size; `data` is only touched for a positive length.
Bytes argBytes(const char* data, int64_t len) {
    const size_t n = checkedSize(len);
    if (n == 0) return {};
    return {reinterpret_cast<const uint8_t*>(data), n};
}

// The bytes of an HMAC argument: a length of 0 or less means no bytes.
Bytes argBytesOrEmpty(const char* data, int64_t len) {
    if (len <= 0) return {};
    return {reinterpret_cast<const uint8_t*>(data), static_cast<size_t>(len)};
}

// A digest export's body: `emptyText` for length 0, else the digest's text.
template <class DigestImpl>
const char* digestCall(const char* data, int len, const char* emptyText, DigestImpl digestImpl) {
    return textCall([&]() -> const char* {
        if (len == 0) return emptyText;
        return digestText(digestImpl(argBytes(data, argInt(len)))).data();
    });
}

}  // namespace

// Digests

KARPA_EXPORT const char* md5_hash(const char* data, int len) {
    return digestCall(data, len, "d41d8cd98f00b204e9800998ecf8427e", [](Bytes m) { return md5Impl(m); });
}

KARPA_EXPORT const char* sha1_hash(const char* data, int len) {
    return digestCall(data, len, "da39a3ee5e6b4b0d3255bfef95601890afd80709", [](Bytes m) { return sha1Impl(m); });
}

KARPA_EXPORT const char* sha256_hash(const char* data, int len) {
    return digestCall(data, len, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
                      [](Bytes m) { return sha256Impl(m); });
}

// HMACs (message first, then key)

KARPA_EXPORT const char* hmac_md5(const char* message, int message_len, const char* key, int key_len) {
    return textCall([&] {
        const Bytes m = argBytesOrEmpty(message, argInt(message_len));
        const Bytes k = argBytesOrEmpty(key, argInt(key_len));
        return digestText(hmacMd5Impl(m, k)).data();
    });
}

KARPA_EXPORT const char* hmac_sha256(const char* message, int message_len, const char* key, int key_len) {
    return textCall([&] {
        const Bytes m = argBytesOrEmpty(message, argInt(message_len));
        const Bytes k = argBytesOrEmpty(key, argInt(key_len));
        return digestText(hmacSha256Impl(m, k)).data();
    });
}
