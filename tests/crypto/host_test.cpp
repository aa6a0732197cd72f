// karpa_crypto loaded from build/lib the way a host loads it.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "host.hpp"
#include "oracle.hpp"

using karpa_test::show;

namespace {

using DigestExport = const char*(const char*, int);
using HmacExport = const char*(const char*, int, const char*, int);

const karpa_test::Library& crypto() {
    static const karpa_test::Library library("crypto");
    return library;
}

TEST(CryptoLibrary, ExportsExactlyTheListedNamesAndNeedsOnlyLibc) {
    ASSERT_NE(crypto().handle, nullptr);
    EXPECT_EQ(karpa_test::definedDynamicSymbols("crypto"), karpa_test::listedExports("crypto"));
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer builds link the C++ and sanitizer runtimes dynamically";
#endif
    EXPECT_EQ(karpa_test::neededLibraries("crypto"), "libc.so.6\n");
}

struct Digest {
    const char* name;
    const EVP_MD* (*md)();
    const char* empty;
};

const Digest kDigests[] = {
    {"md5_hash", EVP_md5, "d41d8cd98f00b204e9800998ecf8427e"},
    {"sha1_hash", EVP_sha1, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {"sha256_hash", EVP_sha256, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
};

TEST(CryptoLibrary, DigestsThroughTheInterface) {
    const auto data = crypto_test::randomBytes(1, 5000);
    const char* bytes = reinterpret_cast<const char*>(data.data());
    for (const auto& d : kDigests) {
        auto* fn = crypto().fn<DigestExport>(d.name);
        ASSERT_NE(fn, nullptr);
        EXPECT_EQ(show(fn(nullptr, 0)), d.empty) << d.name;
        EXPECT_EQ(fn(nullptr, -1), nullptr) << d.name;
        EXPECT_EQ(fn("abc", INT_MIN), nullptr) << d.name;
        for (int n : {1, 3, 55, 56, 57, 63, 64, 65, 119, 120, 5000}) {
            EXPECT_EQ(show(fn(bytes, n)), crypto_test::opensslDigest(d.md(), bytes, size_t(n))) << d.name << " " << n;
        }
    }
    EXPECT_EQ(show(crypto().fn<DigestExport>("sha1_hash")("abc", 3)), "A9993E364706816ABA3E25717850C26C9CD0D89D");
}

TEST(CryptoLibrary, ResultStaysReadableUntilTheNextCall) {
    auto* md5 = crypto().fn<DigestExport>("md5_hash");
    const char* result = md5("abc", 3);
    const std::string copy = show(result);
    EXPECT_EQ(copy, "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(std::string(result), copy);
}

TEST(CryptoLibrary, HmacsThroughTheInterface) {
    auto* md5 = crypto().fn<HmacExport>("hmac_md5");
    auto* sha256 = crypto().fn<HmacExport>("hmac_sha256");
    ASSERT_NE(md5, nullptr);
    ASSERT_NE(sha256, nullptr);
    EXPECT_EQ(show(md5("what do ya want for nothing?", 28, "Jefe", 4)), "750C783E6AB0B503EAA86E310A5DB738");
    EXPECT_EQ(show(sha256("what do ya want for nothing?", 28, "Jefe", 4)),
              "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843");
    // Null pointers with lengths of zero or less are empty inputs.
    const std::string emptyMd5 = crypto_test::opensslHmac(EVP_md5(), "", 0, "", 0);
    EXPECT_EQ(show(md5(nullptr, 0, nullptr, 0)), emptyMd5);
    EXPECT_EQ(show(md5(nullptr, -1, nullptr, INT_MIN)), emptyMd5);
    EXPECT_EQ(sha256("m", INT_MAX, "k", 1), nullptr);
}

TEST(CryptoLibrary, LifecycleExportsLeaveCallsWorking) {
    auto* tovMain = crypto().fn<void()>("TovMain");
    auto* destroy = crypto().fn<void()>("TovDestroyGlobals");
    auto* sha256 = crypto().fn<DigestExport>("sha256_hash");
    // TovMain ends the process on a thread whose last call failed, so make
    // the last call here a successful one.
    ASSERT_NE(sha256("abc", 3), nullptr);
    tovMain();
    tovMain();
    destroy();
    EXPECT_EQ(show(sha256("abc", 3)), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
}

}  // namespace
