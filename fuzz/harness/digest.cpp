// The digests and HMACs against OpenSSL on arbitrary bytes, with arbitrary
// (also zero and negative) lengths.
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "common.hpp"
#include "karpa/crypto.h"

namespace {

std::string upperHex(const unsigned char* bytes, unsigned n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned i = 0; i < n; ++i) {
        out.push_back(digits[bytes[i] >> 4]);
        out.push_back(digits[bytes[i] & 15]);
    }
    return out;
}

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string oracleDigest(const EVP_MD* md, const std::string& data) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned n = 0;
    EVP_Digest(data.data(), data.size(), out, &n, md, nullptr);
    const std::string hex = upperHex(out, n);
    return data.empty() ? lower(hex) : hex;  // the stored digests of empty input are lower case
}

std::string oracleHmac(const EVP_MD* md, const std::string& message, const std::string& key) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned n = 0;
    HMAC(md, key.data(), int(key.size()), reinterpret_cast<const unsigned char*>(message.data()), message.size(), out,
         &n);
    return upperHex(out, n);
}

// A length for `bytes`: mostly its size, sometimes shorter, zero or negative.
int drawLength(FuzzedDataProvider& in, const std::string& bytes) {
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: return 0;
        case 1: return in.PickValueInArray({-1, INT32_MIN, -64, in.ConsumeIntegralInRange<int>(INT32_MIN, -1)});
        case 2: return in.ConsumeIntegralInRange<int>(0, int(bytes.size()));
        default: return int(bytes.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string key = in.ConsumeRandomLengthString(300);
    const int keyLength = drawLength(in, key);
    const std::string message = in.ConsumeRemainingBytesAsString();
    FuzzedDataProvider lengths(reinterpret_cast<const uint8_t*>(key.data()), key.size());
    const int messageLength = drawLength(lengths, message);

    // The message in a buffer of exactly its length, so any overread is caught.
    std::vector<char> buffer(message.begin(), message.end());
    const char* bytes = buffer.empty() ? nullptr : buffer.data();
    const std::string used = messageLength > 0 ? message.substr(0, size_t(messageLength)) : "";
    const std::string usedKey = keyLength > 0 ? key.substr(0, size_t(keyLength)) : "";
    const std::optional<std::string> none;

    const auto md5 = take(md5_hash(bytes, messageLength));
    const auto sha1 = take(sha1_hash(bytes, messageLength));
    const auto sha256 = take(sha256_hash(bytes, messageLength));
    if (messageLength < 0) {
        FUZZ_CHECK(md5 == none && sha1 == none && sha256 == none, (long long)messageLength);
    } else {
        FUZZ_CHECK(md5 == oracleDigest(EVP_md5(), used), used, shown(md5));
        FUZZ_CHECK(sha1 == oracleDigest(EVP_sha1(), used), used, shown(sha1));
        FUZZ_CHECK(sha256 == oracleDigest(EVP_sha256(), used), used, shown(sha256));
    }

    std::vector<char> keyBuffer(key.begin(), key.end());
    const char* keyBytes = keyBuffer.empty() ? nullptr : keyBuffer.data();
    const auto hmacMd5 = take(hmac_md5(bytes, messageLength, keyBytes, keyLength));
    const auto hmacSha256 = take(hmac_sha256(bytes, messageLength, keyBytes, keyLength));
    FUZZ_CHECK(hmacMd5 == oracleHmac(EVP_md5(), used, usedKey), used, usedKey, shown(hmacMd5));
    FUZZ_CHECK(hmacSha256 == oracleHmac(EVP_sha256(), used, usedKey), used, usedKey, shown(hmacSha256));
    return 0;
}
