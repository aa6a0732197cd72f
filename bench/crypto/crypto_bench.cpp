// Digest and HMAC throughput of karpa_crypto's exports, called through the
// loaded library, against OpenSSL's EVP interfaces in the same run.
#include <benchmark/benchmark.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "crypto/sha1.hpp"
#include "crypto/sha256.hpp"
#include "loader.hpp"

namespace {

using DigestExport = const char*(const char*, int);
using HmacExport = const char*(const char*, int, const char*, int);

void* library() {
    static void* handle = karpa_bench::openLibrary("crypto");
    return handle;
}

const std::vector<char>& input(size_t size) {
    static std::vector<char> bytes = [] {
        std::vector<char> v(1 << 20);
        std::mt19937 random(20240611);
        for (char& c : v) c = static_cast<char>(random());
        return v;
    }();
    if (size > bytes.size()) std::abort();
    return bytes;
}

void karpaDigest(benchmark::State& state, const char* name) {
    DigestExport* fn = karpa_bench::symbol<DigestExport>(library(), name);
    const int size = static_cast<int>(state.range(0));
    const char* data = input(size_t(size)).data();
    for (auto _ : state) {
        const char* text = fn(data, size);
        if (text == nullptr) state.SkipWithError("export failed");
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

// The anchor: a fetched digest and one reused context, the cheapest way
// through OpenSSL's EVP interface.
void opensslDigest(benchmark::State& state, const char* algorithm) {
    EVP_MD* md = EVP_MD_fetch(nullptr, algorithm, nullptr);
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    const size_t size = size_t(state.range(0));
    const char* data = input(size).data();
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int outLen = 0;
    for (auto _ : state) {
        EVP_DigestInit_ex2(ctx, md, nullptr);
        EVP_DigestUpdate(ctx, data, size);
        EVP_DigestFinal_ex(ctx, out, &outLen);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
    EVP_MD_CTX_free(ctx);
    EVP_MD_free(md);
}

constexpr int kKeySize = 32;

void karpaHmacSha256(benchmark::State& state) {
    HmacExport* fn = karpa_bench::symbol<HmacExport>(library(), "hmac_sha256");
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

// The anchor: a fetched HMAC with one reused context, keyed on every call as
// the export is.
void opensslHmacSha256(benchmark::State& state) {
    EVP_MAC* mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    EVP_MAC_CTX* ctx = EVP_MAC_CTX_new(mac);
    char digestName[] = "SHA256";
    const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digestName, 0),
                                 OSSL_PARAM_construct_end()};
    const size_t size = size_t(state.range(0));
    const unsigned char* data = reinterpret_cast<const unsigned char*>(input(size).data());
    const unsigned char* key = data + size;
    EVP_MAC_CTX_set_params(ctx, params);
    unsigned char out[EVP_MAX_MD_SIZE];
    size_t outLen = 0;
    for (auto _ : state) {
        EVP_MAC_init(ctx, key, kKeySize, nullptr);
        EVP_MAC_update(ctx, data, size);
        EVP_MAC_final(ctx, out, &outLen, sizeof out);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
    EVP_MAC_CTX_free(ctx);
    EVP_MAC_free(mac);
}

// The portable compression functions, linked in directly (the library picks
// the SHA extensions on processors that have them). For a like-for-like
// anchor, run with OPENSSL_ia32cap=":~0x20000000", which keeps OpenSSL off
// the SHA extensions too.
template <class Digest>
void portableDigest(benchmark::State& state, Digest (*with)(karpa::CompressFn, karpa::Bytes, const uint8_t*),
                    karpa::CompressFn compress) {
    const size_t size = size_t(state.range(0));
    const auto* data = reinterpret_cast<const uint8_t*>(input(size).data());
    for (auto _ : state) {
        Digest digest = with(compress, karpa::Bytes(data, size), nullptr);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

constexpr int64_t kSmall = 64;
constexpr int64_t kLarge = 1 << 20;

}  // namespace

BENCHMARK_CAPTURE(karpaDigest, md5, "md5_hash")->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(opensslDigest, md5, "MD5")->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(karpaDigest, sha1, "sha1_hash")->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(opensslDigest, sha1, "SHA1")->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(karpaDigest, sha256, "sha256_hash")->Arg(kSmall)->Arg(kLarge);
BENCHMARK_CAPTURE(opensslDigest, sha256, "SHA256")->Arg(kSmall)->Arg(kLarge);
BENCHMARK(karpaHmacSha256)->Arg(kSmall);
BENCHMARK(opensslHmacSha256)->Arg(kSmall);

BENCHMARK_CAPTURE(portableDigest, sha1, karpa::sha1With, karpa::sha1CompressPortable)->Arg(kLarge);
BENCHMARK_CAPTURE(portableDigest, sha256, karpa::sha256With, karpa::sha256CompressPortable)->Arg(kLarge);

BENCHMARK_MAIN();
