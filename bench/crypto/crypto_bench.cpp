// Digest and HMAC throughput of karpa_crypto's exports, called through the
// loaded library, against the same job (the digest as upper-case hexadecimal
// text) done in this binary by each peer found at build time: OpenSSL's EVP
// interfaces, nettle, libgcrypt and Crypto++. Each peer is checked once
// against the export's text before it is timed.
//
// BM_ClockChain measures the core clock in the same run (a chain of
// dependent one-cycle additions), so bench/run_all.py can set the digests
// against their serial limits in cycles per byte.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "check.hpp"
#include "loader.hpp"

#if KARPA_PEER_OPENSSL
#include <openssl/core_names.h>
#include <openssl/evp.h>
#endif
#if KARPA_PEER_NETTLE
#include <nettle/hmac.h>
#include <nettle/md5.h>
#include <nettle/sha1.h>
#include <nettle/sha2.h>
#endif
#if KARPA_PEER_GCRYPT
#include <gcrypt.h>
#endif
#if KARPA_PEER_CRYPTOPP
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/hmac.h>
#include <cryptopp/md5.h>
#include <cryptopp/sha.h>
#endif

namespace {

using DigestExport = const char*(const char*, int);
using HmacExport = const char*(const char*, int, const char*, int);

void* library() {
    static void* handle = karpa_bench::openLibrary("crypto");
    return handle;
}

const std::vector<char>& input(size_t size) {
    static std::vector<char> bytes = [] {
        std::vector<char> v((1 << 20) + 64);
        std::mt19937 random(20240611);
        for (char& c : v) c = static_cast<char>(random());
        return v;
    }();
    if (size + 64 > bytes.size()) std::abort();
    return bytes;
}

constexpr int kKeySize = 32;

enum Algorithm { kMd5, kSha1, kSha256 };
constexpr const char* kExport[] = {"md5_hash", "sha1_hash", "sha256_hash"};
constexpr const char* kHmacExport[] = {"hmac_md5", "", "hmac_sha256"};
constexpr size_t kDigestSize[] = {16, 20, 32};

// Upper-case hexadecimal, as the exports write it.
struct Hex {
    char text[65];
    size_t size = 0;
    void set(const unsigned char* digest, size_t n) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        for (size_t i = 0; i < n; ++i) {
            text[2 * i] = kDigits[digest[i] >> 4];
            text[2 * i + 1] = kDigits[digest[i] & 15];
        }
        size = 2 * n;
        text[size] = '\0';
    }
    std::string_view view() const { return {text, size}; }
};

void karpaDigest(benchmark::State& state, Algorithm algorithm) {
    DigestExport* fn = karpa_bench::symbol<DigestExport>(library(), kExport[algorithm]);
    const int size = static_cast<int>(state.range(0));
    const char* data = input(size_t(size)).data();
    for (auto _ : state) {
        const char* text = fn(data, size);
        if (text == nullptr) state.SkipWithError("export failed");
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

void karpaHmac(benchmark::State& state, Algorithm algorithm) {
    HmacExport* fn = karpa_bench::symbol<HmacExport>(library(), kHmacExport[algorithm]);
    const int size = static_cast<int>(state.range(0));
    const char* data = input(size_t(size)).data();
    const char* key = data + size;
    for (auto _ : state) {
        const char* text = fn(data, size, key, kKeySize);
        if (text == nullptr) state.SkipWithError("export failed");
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

// A peer's digest job: job(data, size, hex) fills hex. Checked once against
// the export, then timed.
template <class Job>
void peerDigest(benchmark::State& state, Algorithm algorithm, Job job) {
    const size_t size = size_t(state.range(0));
    const char* data = input(size).data();
    Hex hex;
    job(data, size, hex);
    DigestExport* fn = karpa_bench::symbol<DigestExport>(library(), kExport[algorithm]);
    if (!karpa_bench::sameOutput(state, fn(data, int(size)), hex.view())) return;
    for (auto _ : state) {
        job(data, size, hex);
        benchmark::DoNotOptimize(hex.text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

// A peer's HMAC job: job(data, size, key, hex), keyed on every call as the
// export is.
template <class Job>
void peerHmac(benchmark::State& state, Algorithm algorithm, Job job) {
    const size_t size = size_t(state.range(0));
    const char* data = input(size).data();
    const char* key = data + size;
    Hex hex;
    job(data, size, key, hex);
    HmacExport* fn = karpa_bench::symbol<HmacExport>(library(), kHmacExport[algorithm]);
    if (!karpa_bench::sameOutput(state, fn(data, int(size), key, kKeySize), hex.view())) return;
    for (auto _ : state) {
        job(data, size, key, hex);
        benchmark::DoNotOptimize(hex.text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

// ---- OpenSSL: a fetched digest and one reused context, the cheapest way
// through the EVP interface ----

#if KARPA_PEER_OPENSSL
constexpr const char* kOpensslName[] = {"MD5", "SHA1", "SHA256"};

void opensslDigest(benchmark::State& state, Algorithm algorithm) {
    EVP_MD* md = EVP_MD_fetch(nullptr, kOpensslName[algorithm], nullptr);
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    peerDigest(state, algorithm, [&](const char* data, size_t size, Hex& hex) {
        unsigned char out[EVP_MAX_MD_SIZE];
        unsigned int outLen = 0;
        EVP_DigestInit_ex2(ctx, md, nullptr);
        EVP_DigestUpdate(ctx, data, size);
        EVP_DigestFinal_ex(ctx, out, &outLen);
        hex.set(out, outLen);
    });
    EVP_MD_CTX_free(ctx);
    EVP_MD_free(md);
}

void opensslHmac(benchmark::State& state, Algorithm algorithm) {
    EVP_MAC* mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    EVP_MAC_CTX* ctx = EVP_MAC_CTX_new(mac);
    char digestName[8];
    std::snprintf(digestName, sizeof digestName, "%s", kOpensslName[algorithm]);
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digestName, 0),
                                 OSSL_PARAM_construct_end()};
    EVP_MAC_CTX_set_params(ctx, params);
    peerHmac(state, algorithm, [&](const char* data, size_t size, const char* key, Hex& hex) {
        unsigned char out[EVP_MAX_MD_SIZE];
        size_t outLen = 0;
        EVP_MAC_init(ctx, reinterpret_cast<const unsigned char*>(key), kKeySize, nullptr);
        EVP_MAC_update(ctx, reinterpret_cast<const unsigned char*>(data), size);
        EVP_MAC_final(ctx, out, &outLen, sizeof out);
        hex.set(out, outLen);
    });
    EVP_MAC_CTX_free(ctx);
    EVP_MAC_free(mac);
}
#endif

// ---- nettle ----

#if KARPA_PEER_NETTLE
void nettleDigest(benchmark::State& state, Algorithm algorithm) {
    peerDigest(state, algorithm, [algorithm](const char* data, size_t size, Hex& hex) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(data);
        uint8_t out[32];
        if (algorithm == kMd5) {
            md5_ctx c;
            md5_init(&c);
            md5_update(&c, size, bytes);
            md5_digest(&c, MD5_DIGEST_SIZE, out);
        } else if (algorithm == kSha1) {
            sha1_ctx c;
            sha1_init(&c);
            sha1_update(&c, size, bytes);
            sha1_digest(&c, SHA1_DIGEST_SIZE, out);
        } else {
            sha256_ctx c;
            sha256_init(&c);
            sha256_update(&c, size, bytes);
            sha256_digest(&c, SHA256_DIGEST_SIZE, out);
        }
        hex.set(out, kDigestSize[algorithm]);
    });
}

void nettleHmac(benchmark::State& state, Algorithm algorithm) {
    peerHmac(state, algorithm, [algorithm](const char* data, size_t size, const char* key, Hex& hex) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(data);
        const auto* k = reinterpret_cast<const uint8_t*>(key);
        uint8_t out[32];
        if (algorithm == kMd5) {
            hmac_md5_ctx c;
            hmac_md5_set_key(&c, kKeySize, k);
            hmac_md5_update(&c, size, bytes);
            hmac_md5_digest(&c, MD5_DIGEST_SIZE, out);
        } else {
            hmac_sha256_ctx c;
            hmac_sha256_set_key(&c, kKeySize, k);
            hmac_sha256_update(&c, size, bytes);
            hmac_sha256_digest(&c, SHA256_DIGEST_SIZE, out);
        }
        hex.set(out, kDigestSize[algorithm]);
    });
}
#endif

// ---- libgcrypt ----

#if KARPA_PEER_GCRYPT
void gcryptReady() {
    static const bool ready = [] {
        gcry_check_version(nullptr);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    (void)ready;
}
constexpr int kGcryptMd[] = {GCRY_MD_MD5, GCRY_MD_SHA1, GCRY_MD_SHA256};
constexpr int kGcryptMac[] = {GCRY_MAC_HMAC_MD5, 0, GCRY_MAC_HMAC_SHA256};

void gcryptDigest(benchmark::State& state, Algorithm algorithm) {
    gcryptReady();
    peerDigest(state, algorithm, [algorithm](const char* data, size_t size, Hex& hex) {
        unsigned char out[32];
        gcry_md_hash_buffer(kGcryptMd[algorithm], out, data, size);
        hex.set(out, kDigestSize[algorithm]);
    });
}

void gcryptHmac(benchmark::State& state, Algorithm algorithm) {
    gcryptReady();
    gcry_mac_hd_t handle;
    if (gcry_mac_open(&handle, kGcryptMac[algorithm], 0, nullptr) != 0) {
        state.SkipWithError("gcry_mac_open failed");
        return;
    }
    peerHmac(state, algorithm, [&](const char* data, size_t size, const char* key, Hex& hex) {
        unsigned char out[32];
        size_t outLen = kDigestSize[algorithm];
        gcry_mac_setkey(handle, key, kKeySize);
        gcry_mac_write(handle, data, size);
        gcry_mac_read(handle, out, &outLen);
        hex.set(out, outLen);
    });
    gcry_mac_close(handle);
}
#endif

// ---- Crypto++ ----

#if KARPA_PEER_CRYPTOPP
template <class H>
void cryptoppHash(const char* data, size_t size, Hex& hex) {
    H h;
    CryptoPP::byte out[H::DIGESTSIZE];
    h.CalculateDigest(out, reinterpret_cast<const CryptoPP::byte*>(data), size);
    hex.set(out, H::DIGESTSIZE);
}

void cryptoppDigest(benchmark::State& state, Algorithm algorithm) {
    if (algorithm == kMd5) peerDigest(state, algorithm, cryptoppHash<CryptoPP::Weak::MD5>);
    if (algorithm == kSha1) peerDigest(state, algorithm, cryptoppHash<CryptoPP::SHA1>);
    if (algorithm == kSha256) peerDigest(state, algorithm, cryptoppHash<CryptoPP::SHA256>);
}

template <class H>
void cryptoppHmacWith(benchmark::State& state, Algorithm algorithm) {
    CryptoPP::HMAC<H> mac;
    peerHmac(state, algorithm, [&](const char* data, size_t size, const char* key, Hex& hex) {
        CryptoPP::byte out[H::DIGESTSIZE];
        mac.SetKey(reinterpret_cast<const CryptoPP::byte*>(key), kKeySize);
        mac.CalculateDigest(out, reinterpret_cast<const CryptoPP::byte*>(data), size);
        hex.set(out, H::DIGESTSIZE);
    });
}
void cryptoppHmac(benchmark::State& state, Algorithm algorithm) {
    if (algorithm == kMd5) cryptoppHmacWith<CryptoPP::Weak::MD5>(state, algorithm);
    if (algorithm == kSha256) cryptoppHmacWith<CryptoPP::SHA256>(state, algorithm);
}
#endif

// ---- the core clock: a chain of dependent additions, one cycle each ----

constexpr int64_t kChainSteps = 1 << 20;  // additions per iteration

void BM_ClockChain(benchmark::State& state) {
    for (auto _ : state) {
        uint64_t x = 0;
        for (int64_t i = 0; i < kChainSteps / 8; ++i) {
            asm volatile(
                "add $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\t"
                "add $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0"
                : "+r"(x));
        }
        benchmark::DoNotOptimize(x);
    }
    // items per second = cycles per second
    state.SetItemsProcessed(int64_t(state.iterations()) * kChainSteps);
}

constexpr int64_t kSmall = 64;
constexpr int64_t kLarge = 1 << 20;

}  // namespace

BENCHMARK(BM_ClockChain)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(karpaDigest, md5, kMd5)->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(karpaDigest, sha1, kSha1)->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(karpaDigest, sha256, kSha256)->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(karpaHmac, md5, kMd5)->Arg(kSmall);
BENCHMARK_CAPTURE(karpaHmac, sha256, kSha256)->Arg(kSmall);

#define KARPA_PEER_ROWS(prefix)                                                \
    BENCHMARK_CAPTURE(prefix##Digest, md5, kMd5)->Arg(kSmall)->Arg(kLarge);    \
    BENCHMARK_CAPTURE(prefix##Digest, sha1, kSha1)->Arg(kSmall)->Arg(kLarge);  \
    BENCHMARK_CAPTURE(prefix##Digest, sha256, kSha256)->Arg(kSmall)->Arg(kLarge); \
    BENCHMARK_CAPTURE(prefix##Hmac, md5, kMd5)->Arg(kSmall);                   \
    BENCHMARK_CAPTURE(prefix##Hmac, sha256, kSha256)->Arg(kSmall);

#if KARPA_PEER_OPENSSL
KARPA_PEER_ROWS(openssl)
#endif
#if KARPA_PEER_NETTLE
KARPA_PEER_ROWS(nettle)
#endif
#if KARPA_PEER_GCRYPT
KARPA_PEER_ROWS(gcrypt)
#endif
#if KARPA_PEER_CRYPTOPP
KARPA_PEER_ROWS(cryptopp)
#endif

BENCHMARK_MAIN();
