// HMAC-MD5 and HMAC-SHA-256: published vectors, OpenSSL as an oracle, the
// key-length boundary, negative lengths and the inner-input length check.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "crypto/hex.hpp"
#include "crypto/hmac.hpp"
#include "frame/arena.hpp"
#include "frame/error.hpp"
#include "karpa/crypto.h"
#include "oracle.hpp"


using namespace karpa;
using crypto_test::opensslHmac;
using crypto_test::randomBytes;
using crypto_test::upper;

namespace {

using HmacExport = const char* (*)(const char*, int, const char*, int);

std::string show(const char* r) { return r == nullptr ? "<null>" : r; }

std::string call(HmacExport fn, const std::string& message, const std::string& key) {
    return show(fn(message.data(), int(message.size()), key.data(), int(key.size())));
}

struct Vector {
    std::string key;
    std::string message;
    std::string expected;  // a prefix where the published value is truncated
};

const std::string kAa80(80, '\xaa');
const std::string kAa131(131, '\xaa');
const std::string k0125 = [] {
    std::string s;
    for (char c = 1; c <= 25; ++c) s.push_back(c);
    return s;
}();

TEST(HmacMd5, Rfc2202Vectors) {
    const Vector vectors[] = {
        {std::string(16, '\x0b'), "Hi There", "9294727a3638bb1c13f48ef8158bfc9d"},
        {"Jefe", "what do ya want for nothing?", "750c783e6ab0b503eaa86e310a5db738"},
        {std::string(16, '\xaa'), std::string(50, '\xdd'), "56be34521d144c88dbb8c733f0e8b3f6"},
        {k0125, std::string(50, '\xcd'), "697eaf0aca3a3aea3a75164746ffaa79"},
        {std::string(16, '\x0c'), "Test With Truncation", "56461ef2342edc00f9bab995690efd4c"},
        {kAa80, "Test Using Larger Than Block-Size Key - Hash Key First", "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd"},
        {kAa80, "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
         "6f630fad67cda0ee1fb1f562db3aa53e"},
    };
    for (const auto& v : vectors) EXPECT_EQ(call(hmac_md5, v.message, v.key), upper(v.expected)) << v.message;
}

TEST(HmacSha256, Rfc4231Vectors) {
    const Vector vectors[] = {
        {std::string(20, '\x0b'), "Hi There", "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7"},
        {"Jefe", "what do ya want for nothing?", "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
        {std::string(20, '\xaa'), std::string(50, '\xdd'),
         "773ea91e36800e46854db8ebd09181a72959098b3ef8c122d9635514ced565fe"},
        {k0125, std::string(50, '\xcd'), "82558a389a443c0ea4cc819899f2083a85f0faa3e578f8077a2e3ff46729665b"},
        {std::string(20, '\x0c'), "Test With Truncation", "a3b6167473100ee06e0c796c2955552b"},
        {kAa131, "Test Using Larger Than Block-Size Key - Hash Key First",
         "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54"},
        {kAa131,
         "This is a test using a larger than block-size key and a larger than block-size data. The key needs to be "
         "hashed before being used by the HMAC algorithm.",
         "9b09ffa71b942fcb27635fbcd5b0e944bfdc63644f0713938a7f51535c3a35e2"},
    };
    for (const auto& v : vectors) {
        const std::string result = call(hmac_sha256, v.message, v.key);
        EXPECT_EQ(result.substr(0, v.expected.size()), upper(v.expected)) << v.message;
        EXPECT_EQ(result.size(), 64u);
    }
}

struct HmacCase {
    const char* name;
    HmacExport fn;
    const EVP_MD* (*md)();
};

class HmacTest : public testing::TestWithParam<HmacCase> {
protected:
    std::string karpa(const uint8_t* m, int mlen, const uint8_t* k, int klen) {
        return show(GetParam().fn(reinterpret_cast<const char*>(m), mlen, reinterpret_cast<const char*>(k), klen));
    }
    std::string reference(const uint8_t* m, size_t mlen, const uint8_t* k, size_t klen) {
        return opensslHmac(GetParam().md(), m, mlen, k, klen);
    }
};

TEST_P(HmacTest, RandomKeysAndMessagesMatchOpenSsl) {
    std::mt19937 random(42);
    const auto pool = randomBytes(17, 4096);
    for (int i = 0; i < 500; ++i) {
        const size_t klen = random() % 200;
        const size_t mlen = random() % 600;
        const uint8_t* k = pool.data() + random() % 1000;
        const uint8_t* m = pool.data() + 1000 + random() % 1000;
        ASSERT_EQ(karpa(m, int(mlen), k, int(klen)), reference(m, mlen, k, klen))
            << "key " << klen << ", message " << mlen;
    }
}

TEST_P(HmacTest, KeysAroundTheBlockSize) {
    const auto key = randomBytes(23, 200);
    const auto message = randomBytes(29, 100);
    for (int klen : {63, 64, 65, 128, 129}) {
        EXPECT_EQ(karpa(message.data(), 100, key.data(), klen), reference(message.data(), 100, key.data(), klen))
            << "key " << klen;
    }
}

TEST_P(HmacTest, NulBytesInKeysAndMessagesCount) {
    const uint8_t key[] = {0, 'k', 0, 0, 'e', 0};
    const uint8_t message[] = {'m', 0, 0, 's', 0};
    EXPECT_EQ(karpa(message, 5, key, 6), reference(message, 5, key, 6));
    EXPECT_EQ(karpa(key, 6, message, 5), reference(key, 6, message, 5));
    // A trailing NUL in a short key changes nothing (the key block is zero-filled)...
    const uint8_t k[] = {'k', 0};
    EXPECT_EQ(karpa(message, 5, k, 2), karpa(message, 5, k, 1));
    // ...but one in the message does.
    EXPECT_NE(karpa(message, 3, key, 6), karpa(message, 2, key, 6));
}

TEST_P(HmacTest, NegativeLengthsReadAsEmpty) {
    const std::string empty = reference(nullptr, 0, nullptr, 0);
    EXPECT_EQ(karpa(nullptr, 0, nullptr, 0), empty);
    for (int len : {-1, -64, INT_MIN}) {
        const uint8_t text[] = "abc";
        EXPECT_EQ(karpa(text, len, text, 3), karpa(text, 0, text, 3)) << len;
        EXPECT_EQ(karpa(text, 3, text, len), karpa(text, 3, text, 0)) << len;
        EXPECT_EQ(karpa(nullptr, len, nullptr, len), empty) << len;
    }
}

TEST_P(HmacTest, InnerInputMustFitACInt) {
    const uint8_t text[] = "abc";
    // The length is rejected before any message byte is read.
    for (const auto& [len, message] :
         {std::pair{INT_MAX - 63, "value out of range: 2147483648 notin -2147483648 .. 2147483647"},
          std::pair{INT_MAX, "value out of range: 2147483711 notin -2147483648 .. 2147483647"}}) {
        EXPECT_EQ(GetParam().fn(reinterpret_cast<const char*>(text), len, "k", 1), nullptr);
        ASSERT_NE(currentError(), nullptr);
        EXPECT_EQ(currentError()->kind, ErrorKind::RangeDefect);
        EXPECT_EQ(currentError()->message, message);
    }
}

INSTANTIATE_TEST_SUITE_P(Digests, HmacTest,
                         testing::Values(HmacCase{"md5", hmac_md5, EVP_md5}, HmacCase{"sha256", hmac_sha256, EVP_sha256}),
                         [](const auto& info) { return std::string(info.param.name); });

// The core keeps its own arena memory intact: text allocated earlier in the
// same call stays as it was while the HMAC runs its internal digests.
TEST(HmacCore, LeavesTheCallsEarlierMemoryAlone) {
    arenaReset();
    const std::string_view before = arenaCopy("kept while the HMAC runs");
    const auto key = randomBytes(31, 100);  // long enough to be hashed first
    const auto message = randomBytes(37, 300);
    const Sha256Digest mac = hmacSha256Impl({message.data(), message.size()}, {key.data(), key.size()});
    EXPECT_EQ(std::string(before), "kept while the HMAC runs");
    EXPECT_EQ(std::string(digestText(mac)),
              opensslHmac(EVP_sha256(), message.data(), message.size(), key.data(), key.size()));
    EXPECT_EQ(std::string(before), "kept while the HMAC runs");
}

}  // namespace
