// The digest cores on both compression paths, the hex codec, and the digest
// exports' argument handling.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "crypto/hex.hpp"
#include "crypto/md5.hpp"
#include "crypto/sha1.hpp"
#include "crypto/sha256.hpp"
#include "frame/error.hpp"
#include "karpa/crypto.h"
#include "oracle.hpp"


using namespace karpa;
using crypto_test::opensslDigest;
using crypto_test::randomBytes;
using crypto_test::upper;

namespace {

Bytes bytesOf(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }
Bytes bytesOf(const std::vector<uint8_t>& v) { return {v.data(), v.size()}; }

template <size_t N>
std::string hexOf(const std::array<uint8_t, N>& digest) {
    return std::string(digestText(digest));
}

// One digest computed one way: an algorithm with a chosen compression path.
struct DigestPath {
    std::string name;
    bool needsShaExtensions;
    const EVP_MD* (*md)();
    std::function<std::string(Bytes, const uint8_t*)> run;
};

std::vector<DigestPath> digestPaths() {
    return {
        {"md5", false, EVP_md5, [](Bytes m, const uint8_t* lead) { return hexOf(md5Impl(m, lead)); }},
        {"sha1_portable", false, EVP_sha1,
         [](Bytes m, const uint8_t* lead) { return hexOf(sha1With(sha1CompressPortable, m, lead)); }},
        {"sha1_shani", true, EVP_sha1,
         [](Bytes m, const uint8_t* lead) { return hexOf(sha1With(sha1CompressShaNi, m, lead)); }},
        {"sha256_portable", false, EVP_sha256,
         [](Bytes m, const uint8_t* lead) { return hexOf(sha256With(sha256CompressPortable, m, lead)); }},
        {"sha256_shani", true, EVP_sha256,
         [](Bytes m, const uint8_t* lead) { return hexOf(sha256With(sha256CompressShaNi, m, lead)); }},
    };
}

class DigestPathTest : public testing::TestWithParam<DigestPath> {
protected:
    void SetUp() override {
        if (GetParam().needsShaExtensions && !shaExtensionsAvailable()) {
            GTEST_SKIP() << "processor lacks the SHA extensions";
        }
    }
    std::string digest(Bytes m, const uint8_t* lead = nullptr) { return GetParam().run(m, lead); }
    std::string reference(Bytes m) { return opensslDigest(GetParam().md(), m.data(), m.size()); }
};

TEST_P(DigestPathTest, EveryLengthUpTo300MatchesOpenSsl) {
    const auto data = randomBytes(300, 300);
    for (size_t n = 0; n <= 300; ++n) {
        const Bytes m(data.data(), n);
        ASSERT_EQ(digest(m), reference(m)) << "length " << n;
    }
}

TEST_P(DigestPathTest, MultiBlockAndMultiMegabyteInputsMatchOpenSsl) {
    const auto data = randomBytes(7, (3 << 20) + 5);
    for (size_t n : {1000ul, 4096ul, 4159ul, 65537ul, size_t(1) << 20, data.size()}) {
        const Bytes m(data.data(), n);
        EXPECT_EQ(digest(m), reference(m)) << "length " << n;
    }
}

TEST_P(DigestPathTest, LeadBlockIsHashedBeforeTheMessage) {
    const auto data = randomBytes(11, 64 + 200);
    for (size_t n : {0ul, 1ul, 55ul, 56ul, 64ul, 119ul, 120ul, 200ul}) {
        EXPECT_EQ(digest(Bytes(data.data() + 64, n), data.data()), reference(Bytes(data.data(), 64 + n)))
            << "message length " << n;
    }
}

TEST_P(DigestPathTest, InputIsNotModified) {
    auto data = randomBytes(3, 131);
    const auto copy = data;
    digest(bytesOf(data));
    EXPECT_EQ(data, copy);
}

INSTANTIATE_TEST_SUITE_P(Paths, DigestPathTest, testing::ValuesIn(digestPaths()),
                         [](const auto& info) { return info.param.name; });

struct KnownDigest {
    std::string message;
    std::string expected;
};

// The RFC 1321 test suite.
TEST(Md5, Rfc1321Suite) {
    const KnownDigest cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) EXPECT_EQ(hexOf(md5Impl(bytesOf(c.message))), upper(c.expected)) << c.message;
}

// The FIPS 180-4 examples: one block, two blocks, a million times 'a'.
TEST(Sha, Fips180Examples) {
    const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    const std::string million(1000000, 'a');
    const KnownDigest sha1Cases[] = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {twoBlocks, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {million, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
    const KnownDigest sha256Cases[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {twoBlocks, "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    std::vector<CompressFn> sha1Paths = {sha1CompressPortable}, sha256Paths = {sha256CompressPortable};
    if (shaExtensionsAvailable()) {
        sha1Paths.push_back(sha1CompressShaNi);
        sha256Paths.push_back(sha256CompressShaNi);
    }
    for (CompressFn path : sha1Paths) {
        for (const auto& c : sha1Cases) EXPECT_EQ(hexOf(sha1With(path, bytesOf(c.message))), upper(c.expected));
    }
    for (CompressFn path : sha256Paths) {
        for (const auto& c : sha256Cases) {
            EXPECT_EQ(hexOf(sha256With(path, bytesOf(c.message))), upper(c.expected));
        }
    }
}

TEST(Sha, DispatchedPathMatchesProcessor) {
    EXPECT_EQ(sha1Compress(), shaExtensionsAvailable() ? sha1CompressShaNi : sha1CompressPortable);
    EXPECT_EQ(sha256Compress(), shaExtensionsAvailable() ? sha256CompressShaNi : sha256CompressPortable);
}

TEST(Hex, ToHexWritesUpperCaseDigitsHighFirst) {
    char out[16];
    toHex(out, 0x00, 2);
    EXPECT_EQ(std::string(out, 2), "00");
    toHex(out, 0xAB, 2);
    EXPECT_EQ(std::string(out, 2), "AB");
    toHex(out, 0x0F, 2);
    EXPECT_EQ(std::string(out, 2), "0F");
    toHex(out, 0x1234abcd, 8);
    EXPECT_EQ(std::string(out, 8), "1234ABCD");
    toHex(out, 0x1FF, 2);  // only the low digits
    EXPECT_EQ(std::string(out, 2), "FF");
}

TEST(Hex, ParseHexIntAcceptsBothCasesPrefixesAndSeparators) {
    const std::pair<std::string, int64_t> cases[] = {
        {"0", 0},           {"00", 0},     {"ff", 255},      {"FF", 255},    {"aB", 171},
        {"0x1F", 31},       {"0X1f", 31},  {"#a", 10},       {"1_0", 16},    {"f_f_", 255},
        {"7fffffffffffffff", INT64_MAX},   {"ffffffffffffffff", -1},           {"0000000000000000001", 1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(parseHexInt(text), value) << text;
}

TEST(Hex, ParseHexIntRejectsNonHexText) {
    for (const std::string text : {"", "0x", "#", "g", "1g", "_1", "0x_", " 1", "1 ", "-1", "+1", "10000000000000000"}) {
        clearFailure();
        EXPECT_THROW(parseHexInt(text), Unwind) << text;
        ASSERT_NE(currentError(), nullptr);
        EXPECT_EQ(currentError()->kind, ErrorKind::ValueError);
        EXPECT_EQ(currentError()->message, "invalid hex integer: " + text);
    }
    clearFailure();
}

TEST(Hex, DigestTextIsToHexOverEveryByte) {
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[size_t(i)] = uint8_t(255 - i);
    for (size_t n : {0ul, 1ul, 15ul, 16ul, 17ul, 20ul, 32ul, 33ul, 256ul}) {
        std::string expected(2 * n, '?');
        for (size_t i = 0; i < n; ++i) toHex(&expected[2 * i], all[i], 2);
        EXPECT_EQ(std::string(digestText(Bytes(all.data(), n))), expected) << n;
    }
    EXPECT_EQ(std::string(digestText(Bytes(all.data() + 240, 16))), "0F0E0D0C0B0A09080706050403020100");
}

TEST(Hex, DigestTextRoundTrips) {
    const auto bytes = randomBytes(5, 32);
    const std::string_view text = digestText(Bytes(bytes.data(), bytes.size()));
    EXPECT_EQ(text.size(), 64u);
    EXPECT_EQ(text.data()[64], '\0');
    uint8_t back[32];
    decodeDigestText(text, back, 32);
    EXPECT_EQ(std::vector<uint8_t>(back, back + 32), bytes);
    decodeDigestText("d41d8cd98f00b204e9800998ecf8427e", back, 16);  // lower case reads too
    EXPECT_EQ(back[0], 0xd4);
    EXPECT_EQ(back[15], 0x7e);
}

// The block reader against the literal pair-by-pair reading: every byte value
// in every place of a 32-byte text, with the same bytes or the same error.
TEST(Hex, DecodeDigestTextMatchesPairByPairReading) {
    const std::string base = "0123456789abcdefABCDEF9876543210fedcba0123456789FEDCBA0f1e2d3c4b";
    const auto literal = [](const std::string& text, std::vector<uint8_t>& out) {
        for (size_t i = 0; i < out.size(); ++i) out[i] = uint8_t(parseHexInt(std::string_view(text).substr(2 * i, 2)));
    };
    for (int byte = 0; byte < 256; ++byte) {
        for (size_t place = 0; place < base.size(); place += 3) {
            std::string text = base;
            text[place] = char(byte);
            std::vector<uint8_t> expected(32), got(32);
            std::string expectedError, gotError;
            clearFailure();
            try { literal(text, expected); } catch (const Unwind&) { expectedError = currentError()->message; }
            clearFailure();
            try { decodeDigestText(text, got.data(), 32); } catch (const Unwind&) { gotError = currentError()->message; }
            clearFailure();
            ASSERT_EQ(gotError, expectedError) << byte << " at " << place;
            if (expectedError.empty()) {
                ASSERT_EQ(got, expected) << byte << " at " << place;
            }
        }
    }
}

// The exports, linked in statically: argument handling and failures.
struct DigestExport {
    const char* name;
    const char* (*fn)(const char*, int);
    const EVP_MD* (*md)();
    const char* empty;
};

const DigestExport kExports[] = {
    {"md5_hash", md5_hash, EVP_md5, "d41d8cd98f00b204e9800998ecf8427e"},
    {"sha1_hash", sha1_hash, EVP_sha1, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {"sha256_hash", sha256_hash, EVP_sha256, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
};

std::string show(const char* r) { return r == nullptr ? "<null>" : r; }

TEST(DigestExports, EmptyInputGivesTheStoredLowerCaseText) {
    for (const auto& e : kExports) {
        EXPECT_EQ(show(e.fn(nullptr, 0)), e.empty) << e.name;
        EXPECT_EQ(show(e.fn("ignored", 0)), e.empty) << e.name;
    }
}

TEST(DigestExports, ComputedResultsAreUpperCase) {
    EXPECT_EQ(show(md5_hash("abc", 3)), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(show(sha1_hash("abc", 3)), "A9993E364706816ABA3E25717850C26C9CD0D89D");
    EXPECT_EQ(show(sha256_hash("abc", 3)), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
}

TEST(DigestExports, ExactlyLenBytesAreRead) {
    const char withNuls[] = {'a', '\0', 'b', '\0', '\0', 'c'};
    for (const auto& e : kExports) {
        EXPECT_EQ(show(e.fn(withNuls, 6)), opensslDigest(e.md(), withNuls, 6)) << e.name;
        EXPECT_EQ(show(e.fn("abcdef", 3)), show(e.fn("abc", 3))) << e.name;
    }
}

TEST(DigestExports, NegativeLengthIsARangeDefect) {
    for (const auto& e : kExports) {
        for (const auto& [len, message] : {std::pair{-1, "value out of range: -1 notin 0 .. 9223372036854775807"},
                                           std::pair{INT_MIN,
                                                     "value out of range: -2147483648 notin 0 .. 9223372036854775807"}}) {
            EXPECT_EQ(e.fn("abc", len), nullptr) << e.name;
            ASSERT_NE(currentError(), nullptr);
            EXPECT_EQ(currentError()->kind, ErrorKind::RangeDefect);
            EXPECT_EQ(currentError()->message, message);
        }
        EXPECT_EQ(e.fn(nullptr, -5), nullptr) << e.name;
        // The next call stands alone.
        EXPECT_NE(e.fn("abc", 3), nullptr) << e.name;
    }
}

}  // namespace
