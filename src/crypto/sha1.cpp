// SHA-1 (FIPS 180-4): the portable and SHA-extension compression functions
// and the digest of a buffer.
#include "crypto/sha1.hpp"

#include <immintrin.h>

namespace karpa {
namespace {

// The round functions of the four stages: choose, parity, majority, parity.
inline uint32_t sha1Choose(uint32_t b, uint32_t c, uint32_t d) { return d ^ (b & (c ^ d)); }
inline uint32_t sha1Parity(uint32_t b, uint32_t c, uint32_t d) { return b ^ c ^ d; }
// The two terms never share a set bit, so their sum is their union; as a sum
// it folds into the additions of the round.
inline uint32_t sha1Majority(uint32_t b, uint32_t c, uint32_t d) { return (b & c) + (d & (b ^ c)); }

}  // namespace

// One round with the variables renamed instead of moved: e takes the new
// value of a, b is rotated in place.
#define SHA1_ROUND(f, k, a, b, c, d, e, w)                    \
    do {                                                     \
        e += rotl32(a, 5) + f(b, c, d) + (k) + (w);          \
        b = rotl32(b, 30);                                   \
    } while (0)
// The message schedule in a ring of 16 words.
#define SHA1_NEXT(t) (w[(t) & 15] = rotl32(w[((t) - 3) & 15] ^ w[((t) - 8) & 15] ^ w[((t) - 14) & 15] ^ w[(t) & 15], 1))

#define SHA1_FIVE(f, k, t, W)                        \
    SHA1_ROUND(f, k, a, b, c, d, e, W(t));           \
    SHA1_ROUND(f, k, e, a, b, c, d, W(t + 1));       \
    SHA1_ROUND(f, k, d, e, a, b, c, W(t + 2));       \
    SHA1_ROUND(f, k, c, d, e, a, b, W(t + 3));       \
    SHA1_ROUND(f, k, b, c, d, e, a, W(t + 4))
#define SHA1_LOADED(t) w[t]

void sha1CompressPortable(uint32_t* state, const uint8_t* blocks, size_t count) {
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    for (; count != 0; --count, blocks += kBlockSize) {
        uint32_t w[16];
        for (int t = 0; t < 16; ++t) w[t] = loadBigEndian32(blocks + 4 * t);
        const uint32_t a0 = a, b0 = b, c0 = c, d0 = d, e0 = e;

        SHA1_FIVE(sha1Choose, 0x5a827999, 0, SHA1_LOADED);
        SHA1_FIVE(sha1Choose, 0x5a827999, 5, SHA1_LOADED);
        SHA1_FIVE(sha1Choose, 0x5a827999, 10, SHA1_LOADED);
        SHA1_ROUND(sha1Choose, 0x5a827999, a, b, c, d, e, w[15]);
        SHA1_ROUND(sha1Choose, 0x5a827999, e, a, b, c, d, SHA1_NEXT(16));
        SHA1_ROUND(sha1Choose, 0x5a827999, d, e, a, b, c, SHA1_NEXT(17));
        SHA1_ROUND(sha1Choose, 0x5a827999, c, d, e, a, b, SHA1_NEXT(18));
        SHA1_ROUND(sha1Choose, 0x5a827999, b, c, d, e, a, SHA1_NEXT(19));

        SHA1_FIVE(sha1Parity, 0x6ed9eba1, 20, SHA1_NEXT);
        SHA1_FIVE(sha1Parity, 0x6ed9eba1, 25, SHA1_NEXT);
        SHA1_FIVE(sha1Parity, 0x6ed9eba1, 30, SHA1_NEXT);
        SHA1_FIVE(sha1Parity, 0x6ed9eba1, 35, SHA1_NEXT);

        SHA1_FIVE(sha1Majority, 0x8f1bbcdc, 40, SHA1_NEXT);
        SHA1_FIVE(sha1Majority, 0x8f1bbcdc, 45, SHA1_NEXT);
        SHA1_FIVE(sha1Majority, 0x8f1bbcdc, 50, SHA1_NEXT);
        SHA1_FIVE(sha1Majority, 0x8f1bbcdc, 55, SHA1_NEXT);

        SHA1_FIVE(sha1Parity, 0xca62c1d6, 60, SHA1_NEXT);
        SHA1_FIVE(sha1Parity, 0xca62c1d6, 65, SHA1_NEXT);
        SHA1_FIVE(sha1Parity, 0xca62c1d6, 70, SHA1_NEXT);
        SHA1_FIVE(sha1Parity, 0xca62c1d6, 75, SHA1_NEXT);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
        e += e0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
    state[4] = e;
}

#undef SHA1_ROUND
#undef SHA1_NEXT
#undef SHA1_FIVE
#undef SHA1_LOADED

// With the SHA extensions a register holds A..D with A in the top lane, and E
// rides in the top lane of the message words it is added to. sha1nexte
// derives the E of the next four rounds from the A of four rounds before.
// Each group of four rounds needs its function selector as an immediate,
// hence the macros.
#define SHA1NI_GROUP(func, m)                                 \
    do {                                                      \
        const __m128i ew = _mm_sha1nexte_epu32(previous, m);  \
        previous = abcd;                                      \
        abcd = _mm_sha1rnds4_epu32(abcd, ew, func);           \
    } while (0)
// W[t..t+3] from the four groups before: W[t-16..] in m0 up to W[t-4..] in m3.
#define SHA1NI_SCHEDULE(m0, m1, m2, m3) \
    m0 = _mm_sha1msg2_epu32(_mm_xor_si128(_mm_sha1msg1_epu32(m0, m1), m2), m3)

__attribute__((target("sha,sse4.1,ssse3"))) void sha1CompressShaNi(uint32_t* state, const uint8_t* blocks,
                                                                    size_t count) {
    // Reverses all 16 bytes: big-endian words, first word in the top lane.
    const __m128i reverse = _mm_set_epi64x(0x0001020304050607, 0x08090a0b0c0d0e0f);
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);

    for (; count != 0; --count, blocks += kBlockSize) {
        const __m128i abcdSaved = abcd;
        const __m128i eSaved = e;
        const __m128i* p = reinterpret_cast<const __m128i*>(blocks);
        __m128i m0 = _mm_shuffle_epi8(_mm_loadu_si128(p), reverse);
        __m128i m1 = _mm_shuffle_epi8(_mm_loadu_si128(p + 1), reverse);
        __m128i m2 = _mm_shuffle_epi8(_mm_loadu_si128(p + 2), reverse);
        __m128i m3 = _mm_shuffle_epi8(_mm_loadu_si128(p + 3), reverse);

        __m128i previous = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, _mm_add_epi32(e, m0), 0);  // rounds 0-3
        SHA1NI_GROUP(0, m1);
        SHA1NI_GROUP(0, m2);
        SHA1NI_GROUP(0, m3);
        SHA1NI_SCHEDULE(m0, m1, m2, m3); SHA1NI_GROUP(0, m0);  // rounds 16-19

        SHA1NI_SCHEDULE(m1, m2, m3, m0); SHA1NI_GROUP(1, m1);
        SHA1NI_SCHEDULE(m2, m3, m0, m1); SHA1NI_GROUP(1, m2);
        SHA1NI_SCHEDULE(m3, m0, m1, m2); SHA1NI_GROUP(1, m3);
        SHA1NI_SCHEDULE(m0, m1, m2, m3); SHA1NI_GROUP(1, m0);
        SHA1NI_SCHEDULE(m1, m2, m3, m0); SHA1NI_GROUP(1, m1);

        SHA1NI_SCHEDULE(m2, m3, m0, m1); SHA1NI_GROUP(2, m2);
        SHA1NI_SCHEDULE(m3, m0, m1, m2); SHA1NI_GROUP(2, m3);
        SHA1NI_SCHEDULE(m0, m1, m2, m3); SHA1NI_GROUP(2, m0);
        SHA1NI_SCHEDULE(m1, m2, m3, m0); SHA1NI_GROUP(2, m1);
        SHA1NI_SCHEDULE(m2, m3, m0, m1); SHA1NI_GROUP(2, m2);

        SHA1NI_SCHEDULE(m3, m0, m1, m2); SHA1NI_GROUP(3, m3);
        SHA1NI_SCHEDULE(m0, m1, m2, m3); SHA1NI_GROUP(3, m0);
        SHA1NI_SCHEDULE(m1, m2, m3, m0); SHA1NI_GROUP(3, m1);
        SHA1NI_SCHEDULE(m2, m3, m0, m1); SHA1NI_GROUP(3, m2);
        SHA1NI_SCHEDULE(m3, m0, m1, m2); SHA1NI_GROUP(3, m3);  // rounds 76-79

        e = _mm_sha1nexte_epu32(previous, eSaved);
        abcd = _mm_add_epi32(abcd, abcdSaved);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = static_cast<uint32_t>(_mm_extract_epi32(e, 3));
}

#undef SHA1NI_GROUP
#undef SHA1NI_SCHEDULE

CompressFn sha1Compress() {
    static const CompressFn chosen = shaExtensionsAvailable() ? sha1CompressShaNi : sha1CompressPortable;
    return chosen;
}

Sha1Digest sha1With(CompressFn compress, Bytes message, const uint8_t* lead) {
    uint32_t state[5] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0};
    padAndCompress(compress, state, lead, message, LengthOrder::BigEndian);
    Sha1Digest digest;
    for (int i = 0; i < 5; ++i) storeBigEndian32(digest.data() + 4 * i, state[i]);
    return digest;
}

}  // namespace karpa
