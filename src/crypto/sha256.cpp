// SHA-256 (FIPS 180-4): the portable and SHA-extension compression functions
// and the digest of a buffer.
#include "crypto/sha256.hpp"

#include <immintrin.h>

namespace karpa {

// One round with the variables renamed instead of moved: h becomes the new a,
// d the new e. The majority is taken as b ^ ((a ^ b) & (b ^ c)), where b ^ c
// is the a ^ b of the round before; `ab` and `bc` swap names every round.
#define SHA256_ROUND(a, b, c, d, e, f, g, h, t, w, ab, bc)          \
    do {                                                            \
        h += bsig1(e) + ch(e, f, g) + SHA256_K[t] + (w);            \
        d += h;                                                     \
        ab = a ^ b;                                                 \
        h += bsig0(a) + (b ^ (ab & bc));                            \
    } while (0)
// The message schedule in a ring of 16 words.
#define SHA256_NEXT(t)                                                                        \
    (w[(t) & 15] += ssig1(w[((t) - 2) & 15]) + w[((t) - 7) & 15] + ssig0(w[((t) - 15) & 15]))
#define SHA256_LOADED(t) w[(t) & 15]

#define SHA256_EIGHT(t, W)                                          \
    SHA256_ROUND(a, b, c, d, e, f, g, h, t, W(t), x, y);            \
    SHA256_ROUND(h, a, b, c, d, e, f, g, t + 1, W(t + 1), y, x);    \
    SHA256_ROUND(g, h, a, b, c, d, e, f, t + 2, W(t + 2), x, y);    \
    SHA256_ROUND(f, g, h, a, b, c, d, e, t + 3, W(t + 3), y, x);    \
    SHA256_ROUND(e, f, g, h, a, b, c, d, t + 4, W(t + 4), x, y);    \
    SHA256_ROUND(d, e, f, g, h, a, b, c, t + 5, W(t + 5), y, x);    \
    SHA256_ROUND(c, d, e, f, g, h, a, b, t + 6, W(t + 6), x, y);    \
    SHA256_ROUND(b, c, d, e, f, g, h, a, t + 7, W(t + 7), y, x)

void sha256CompressPortable(uint32_t* state, const uint8_t* blocks, size_t count) {
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (; count != 0; --count, blocks += kBlockSize) {
        uint32_t w[16];
        for (int t = 0; t < 16; ++t) w[t] = loadBigEndian32(blocks + 4 * t);
        uint32_t x, y = b ^ c;

        SHA256_EIGHT(0, SHA256_LOADED);
        SHA256_EIGHT(8, SHA256_LOADED);
        SHA256_EIGHT(16, SHA256_NEXT);
        SHA256_EIGHT(24, SHA256_NEXT);
        SHA256_EIGHT(32, SHA256_NEXT);
        SHA256_EIGHT(40, SHA256_NEXT);
        SHA256_EIGHT(48, SHA256_NEXT);
        SHA256_EIGHT(56, SHA256_NEXT);

        a = state[0] += a;
        b = state[1] += b;
        c = state[2] += c;
        d = state[3] += d;
        e = state[4] += e;
        f = state[5] += f;
        g = state[6] += g;
        h = state[7] += h;
    }
}

#undef SHA256_ROUND
#undef SHA256_NEXT
#undef SHA256_LOADED
#undef SHA256_EIGHT

// With the SHA extensions the state lives in two registers, ABEF and CDGH
// (A and C in the top lanes). sha256rnds2 runs two rounds on the two low
// lanes of the scheduled words plus constants, taking CDGH and ABEF and
// giving the new ABEF; the old ABEF is then the new CDGH, so the two
// registers swap roles between the two halves of each group of four.
namespace {

__attribute__((target("sha,sse4.1,ssse3"), always_inline)) inline void sha256FourRounds(
    __m128i& abef, __m128i& cdgh, __m128i m, int t) {
    const __m128i wk = _mm_add_epi32(m, _mm_load_si128(reinterpret_cast<const __m128i*>(SHA256_K + t)));
    cdgh = _mm_sha256rnds2_epu32(cdgh, abef, wk);
    abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(wk, 0x0E));
}

// W[t..t+3] into m0 from the four groups before: W[t-16..] in m0 up to W[t-4..] in m3.
__attribute__((target("sha,sse4.1,ssse3"), always_inline)) inline void sha256Schedule(
    __m128i& m0, __m128i m1, __m128i m2, __m128i m3) {
    const __m128i partial = _mm_add_epi32(_mm_sha256msg1_epu32(m0, m1), _mm_alignr_epi8(m3, m2, 4));
    m0 = _mm_sha256msg2_epu32(partial, m3);
}

}  // namespace

__attribute__((target("sha,sse4.1,ssse3"))) void sha256CompressShaNi(uint32_t* state, const uint8_t* blocks,
                                                                      size_t count) {
    // Byte-swaps each 32-bit lane: big-endian words, first word in the low lane.
    const __m128i swapWords = _mm_set_epi64x(0x0c0d0e0f08090a0b, 0x0405060700010203);
    const __m128i* s = reinterpret_cast<const __m128i*>(state);
    const __m128i badc = _mm_shuffle_epi32(_mm_loadu_si128(s), 0xB1);      // lanes b a d c
    const __m128i hgfe = _mm_shuffle_epi32(_mm_loadu_si128(s + 1), 0x1B);  // lanes h g f e
    __m128i abef = _mm_alignr_epi8(badc, hgfe, 8);                         // lanes f e b a
    __m128i cdgh = _mm_blend_epi16(hgfe, badc, 0xF0);                      // lanes h g d c

    for (; count != 0; --count, blocks += kBlockSize) {
        const __m128i abefSaved = abef;
        const __m128i cdghSaved = cdgh;
        const __m128i* p = reinterpret_cast<const __m128i*>(blocks);
        __m128i m0 = _mm_shuffle_epi8(_mm_loadu_si128(p), swapWords);
        __m128i m1 = _mm_shuffle_epi8(_mm_loadu_si128(p + 1), swapWords);
        __m128i m2 = _mm_shuffle_epi8(_mm_loadu_si128(p + 2), swapWords);
        __m128i m3 = _mm_shuffle_epi8(_mm_loadu_si128(p + 3), swapWords);

        sha256FourRounds(abef, cdgh, m0, 0);
        sha256FourRounds(abef, cdgh, m1, 4);
        sha256FourRounds(abef, cdgh, m2, 8);
        sha256FourRounds(abef, cdgh, m3, 12);
        for (int t = 16; t < 64; t += 16) {
            sha256Schedule(m0, m1, m2, m3);
            sha256FourRounds(abef, cdgh, m0, t);
            sha256Schedule(m1, m2, m3, m0);
            sha256FourRounds(abef, cdgh, m1, t + 4);
            sha256Schedule(m2, m3, m0, m1);
            sha256FourRounds(abef, cdgh, m2, t + 8);
            sha256Schedule(m3, m0, m1, m2);
            sha256FourRounds(abef, cdgh, m3, t + 12);
        }

        abef = _mm_add_epi32(abef, abefSaved);
        cdgh = _mm_add_epi32(cdgh, cdghSaved);
    }

    const __m128i abfe = _mm_shuffle_epi32(abef, 0x1B);  // lanes a b e f
    const __m128i ghcd = _mm_shuffle_epi32(cdgh, 0xB1);  // lanes g h c d
    __m128i* out = reinterpret_cast<__m128i*>(state);
    _mm_storeu_si128(out, _mm_blend_epi16(abfe, ghcd, 0xF0));    // a b c d
    _mm_storeu_si128(out + 1, _mm_alignr_epi8(ghcd, abfe, 8));  // e f g h
}

CompressFn sha256Compress() {
    static const CompressFn chosen = shaExtensionsAvailable() ? sha256CompressShaNi : sha256CompressPortable;
    return chosen;
}

Sha256Digest sha256With(CompressFn compress, Bytes message, const uint8_t* lead) {
    uint32_t state[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    padAndCompress(compress, state, lead, message, LengthOrder::BigEndian);
    Sha256Digest digest;
    for (int i = 0; i < 8; ++i) storeBigEndian32(digest.data() + 4 * i, state[i]);
    return digest;
}

}  // namespace karpa
