#include "frame/codec/textcodec.hpp"

#include <emmintrin.h>

#include <algorithm>

#include "frame/cpu.hpp"

namespace karpa {

// The integer errors are raised from here, the list codec's one place for them.
void invalidInteger(std::string_view text) {
    raise(ErrorKind::ValueError, "invalid integer: " + std::string(text));
}

void integerOutOfRangeError() { raise(ErrorKind::ValueError, "Parsed integer outside of valid range"); }

// The bytes equal to `byte`, counted in sixteen-byte blocks and then one at
// a time.
size_t countByte(std::string_view text, char byte) {
    // SSE2 belongs to every x86-64 processor. Matches are counted in byte
    // lanes (each match subtracts -1), folded into the total before a lane
    // can pass 255.
    const char* p = text.data();
    size_t left = text.size();
    size_t count = 0;
    const __m128i wanted = _mm_set1_epi8(byte);
    while (left >= 16) {
        __m128i lanes = _mm_setzero_si128();
        const size_t blocks = std::min<size_t>(left / 16, 255);
        for (size_t b = 0; b < blocks; ++b, p += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(chunk, wanted));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<size_t>(_mm_cvtsi128_si64(sums)) +
                 static_cast<size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
        left -= blocks * 16;
    }
    for (; left > 0; --left, ++p) count += *p == byte;
    return count;
}

SeparatorIndexer separatorIndexer() {
    switch (activeTier()) {
        case Tier::avx512: return indexSeparatorsAvx512;
        case Tier::avx2: return indexSeparatorsAvx2;
        case Tier::baseline: break;
    }
    return nullptr;
}

StringList split(std::string_view text, char separator) {
    if (text.data() == nullptr) text = std::string_view("", 0);
    StringList out;
    out.reserve(countByte(text, separator) + 1);
    forEachPiece(text, [&out](std::string_view piece) { out.push_back(piece); }, separator);
    return out;
}

std::string_view strip(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isListWhitespace(text[first])) ++first;
    while (last > first && isListWhitespace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// Up to eight digits from one word of text, the longer numbers in blocks of
// eight below a head of one to eight digits; nothing is written past the end.
char* writeInt(char* out, int64_t value) {
    *out = '-';
    out += static_cast<uint64_t>(value) >> 63;
    uint64_t u = static_cast<uint64_t>(value);
    if (value < 0) u = 0 - u;
    if (u < 100) {  // the most common width in lists: one table read
        uint16_t pair;
        std::memcpy(&pair, kDigitPairs + 2 * u, 2);
        const unsigned n = 1 + (u >= 10);
        storeFirstBytes(out, pair >> (8 * (2 - n)), n);
        return out + n;
    }
    if (u < 100000000) {
        const unsigned n = static_cast<unsigned>(decimalDigits(u));
        storeFirstBytes(out, eightDigitText(static_cast<uint32_t>(u)) >> (8 * (8 - n)), n);
        return out + n;
    }
    uint64_t head = u / 100000000;
    const uint64_t low = eightDigitText(static_cast<uint32_t>(u - head * 100000000));
    uint64_t mid = 0;
    const bool three = head >= 100000000;
    if (three) {
        const uint64_t top = head / 100000000;
        mid = eightDigitText(static_cast<uint32_t>(head - top * 100000000));
        head = top;
    }
    const unsigned n = static_cast<unsigned>(decimalDigits(head));
    storeFirstBytes(out, eightDigitText(static_cast<uint32_t>(head)) >> (8 * (8 - n)), n);
    out += n;
    if (three) {
        store8(out, mid);
        out += 8;
    }
    store8(out, low);
    return out + 8;
}

size_t decimalLength(int64_t value) {
    const uint64_t u = static_cast<uint64_t>(value);
    return static_cast<size_t>(decimalDigits(value < 0 ? 0 - u : u)) + (value < 0 ? 1 : 0);
}

void addInt(TextBuilder& out, int64_t value) { out.commit(writeInt(out.room(kMaxIntText), value)); }

std::string decimalText(int64_t value) {
    char buffer[kMaxIntText];
    return std::string(buffer, writeInt(buffer, value));
}

const char* printInt(int64_t value) { return printInt(tlsCall.arena, value); }

const char* printIntPair(int64_t a, int64_t b) { return printPairWith(writeInt, kMaxIntText, a, b); }

const char* printIntList(const IntList& list) {
    if (list.empty()) return "";
    TextBuilder out;
    char* p = out.room(list.size() * (kMaxIntText + 1));
    for (const int64_t x : list) {
        p = writeInt(p, x);
        *p++ = ',';
    }
    out.commit(p - 1);  // without the last separator
    return out.finish();
}

const char* join(const StringList& items, std::string_view separator) {
    if (items.empty()) return "";
    size_t total = separator.size() * (items.size() - 1);
    for (const std::string_view item : items) total += item.size();
    if (total == 0) return "";
    TextBuilder out;
    char* p = out.room(total);
    const auto put = [&p](std::string_view s) {
        if (!s.empty()) std::memcpy(p, s.data(), s.size());
        p += s.size();
    };
    for (size_t i = 0; i < items.size(); ++i) {
        if (i != 0) put(separator);
        put(items[i]);
    }
    out.commit(p);
    return out.finish();
}

}  // namespace karpa
