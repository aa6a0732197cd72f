// OpenSSL as the reference for digests and HMACs, and seeded test bytes.
#pragma once

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace crypto_test {

inline std::string upperHex(const unsigned char* bytes, size_t n) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s.push_back(kDigits[bytes[i] >> 4]);
        s.push_back(kDigits[bytes[i] & 15]);
    }
    return s;
}

inline std::string opensslDigest(const EVP_MD* md, const void* data, size_t n) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(data, n, out, &len, md, nullptr);
    return upperHex(out, len);
}

inline std::string opensslHmac(const EVP_MD* md, const void* message, size_t messageLen, const void* key,
                               size_t keyLen) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    static const unsigned char kNoKey = 0;
    HMAC(md, keyLen != 0 ? key : &kNoKey, static_cast<int>(keyLen),
         static_cast<const unsigned char*>(message), messageLen, out, &len);
    return upperHex(out, len);
}

inline std::vector<uint8_t> randomBytes(uint32_t seed, size_t n) {
    std::mt19937 random(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = static_cast<uint8_t>(random());
    return v;
}

inline std::string upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

}  // namespace crypto_test
