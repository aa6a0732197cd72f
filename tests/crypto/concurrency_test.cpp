// Many threads calling karpa_crypto at once: each result is exact.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "host.hpp"
#include "oracle.hpp"

namespace {

using DigestExport = const char*(const char*, int);
using HmacExport = const char*(const char*, int, const char*, int);

TEST(CryptoLibrary, ExportsExactlyTheListedNamesAndNeedsOnlyLibc) {
    EXPECT_EQ(karpa_test::definedDynamicSymbols("crypto"), karpa_test::listedExports("crypto"));
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer builds link the C++ and sanitizer runtimes dynamically";
#endif
    EXPECT_EQ(karpa_test::neededLibraries("crypto"), "libc.so.6\n");
}

TEST(CryptoConcurrency, EightThreadsHashDifferentInputsAtOnce) {
    const karpa_test::Library crypto("crypto");
    auto* md5 = crypto.fn<DigestExport>("md5_hash");
    auto* sha1 = crypto.fn<DigestExport>("sha1_hash");
    auto* sha256 = crypto.fn<DigestExport>("sha256_hash");
    auto* hmacMd5 = crypto.fn<HmacExport>("hmac_md5");
    auto* hmacSha256 = crypto.fn<HmacExport>("hmac_sha256");
    ASSERT_TRUE(md5 && sha1 && sha256 && hmacMd5 && hmacSha256);

    constexpr int kThreads = 8;
    constexpr int kRounds = 150;
    std::atomic<int> mismatches{0};
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const auto data = crypto_test::randomBytes(1000 + t, 70000);
            const char* bytes = reinterpret_cast<const char*>(data.data());
            ++ready;
            while (ready.load() < kThreads) {
            }
            for (int r = 0; r < kRounds; ++r) {
                const size_t n = (size_t(r) * 467 + size_t(t) * 31) % data.size();
                const size_t k = (size_t(r) * 7 + size_t(t)) % 150;
                const char* key = bytes + data.size() - 150;
                const auto check = [&](const char* got, const std::string& want) {
                    if (got == nullptr || want != got) ++mismatches;
                };
                check(md5(bytes, int(n)), n == 0 ? "d41d8cd98f00b204e9800998ecf8427e"
                                                 : crypto_test::opensslDigest(EVP_md5(), bytes, n));
                if (n != 0) {
                    check(sha1(bytes, int(n)), crypto_test::opensslDigest(EVP_sha1(), bytes, n));
                    check(sha256(bytes, int(n)), crypto_test::opensslDigest(EVP_sha256(), bytes, n));
                }
                check(hmacMd5(bytes, int(n), key, int(k)), crypto_test::opensslHmac(EVP_md5(), bytes, n, key, k));
                check(hmacSha256(bytes, int(n), key, int(k)),
                      crypto_test::opensslHmac(EVP_sha256(), bytes, n, key, k));
                // A failing call on this thread leaves the others alone.
                if (r % 10 == 0 && sha256(bytes, -1) != nullptr) ++mismatches;
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
