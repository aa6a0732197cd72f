// String list operations taken piece by piece from the list text. The items
// are the exact pieces between commas; they are never gathered into a list
// of views: each operation walks the text, and what it keeps is copied into
// a result reserved once. Memory stays in proportion to the result (and, for
// the seen-sets and the sort, to the items they must hold).
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frame/arena.hpp"
#include "frame/error.hpp"
#include "frame/codec/textcodec.hpp"
#include "seq/listops.hpp"
#include "seq/seenset.hpp"
#include "seq/sort.hpp"

namespace karpa {

// Pieces written one after another, a comma after each, into room reserved
// once: `bound` is at least the sum of (piece size + 1) over what is written.
// The last comma is dropped at the end.
struct PieceWriter {
    TextBuilder out;
    char* start;
    char* p;
    explicit PieceWriter(size_t bound) : start(out.room(bound)), p(start) {}
    void raw(std::string_view s) {
        std::memcpy(p, s.data(), s.size());
        p += s.size();
    }
    void put(std::string_view piece) {
        raw(piece);
        *p++ = ',';
    }
    const char* finish() {
        out.commit(p == start ? p : p - 1);
        return out.finish();
    }
};

// prefix + stripped piece + suffix for every piece.
inline const char* mapStringsImpl(std::string_view text, std::string_view prefix, std::string_view suffix) {
    if (text.empty()) return "";
    const size_t affixes = prefix.size() + suffix.size();
    const size_t pieces = pieceCount(text);
    if (affixes != 0 && pieces > (SIZE_MAX / 4) / affixes) outOfMemory();
    PieceWriter out(text.size() + 1 + pieces * affixes);
    forEachPiece(text, [&](std::string_view piece) {
        out.raw(prefix);
        out.raw(strip(piece));
        out.put(suffix);
    });
    return out.finish();
}

// The pieces for which keep(piece) holds, as they stand.
template <class Keep>
const char* filterStringsImpl(std::string_view text, Keep keep) {
    if (text.empty()) return "";
    PieceWriter out(text.size() + 1);
    forEachPiece(text, [&](std::string_view piece) {
        if (keep(piece)) out.put(piece);
    });
    return out.finish();
}

// The pieces for which keep(piece) holds, counted.
template <class Keep>
int64_t countPiecesImpl(std::string_view text, Keep keep) {
    int64_t count = 0;
    forEachPiece(text, [&](std::string_view piece) {
        if (keep(piece)) ++count;  // at most one a byte of the text: never near the 64-bit limit
    });
    return count;
}

// The pieces from the last to the first: the same bytes, the same length.
inline const char* reverseStringsImpl(std::string_view text) {
    if (text.empty()) return "";
    PieceWriter out(text.size() + 1);
    const char* const begin = text.data();
    const char* end = begin + text.size();
    for (;;) {
        const void* comma = memrchr(begin, ',', static_cast<size_t>(end - begin));
        if (comma == nullptr) break;
        const char* const c = static_cast<const char*>(comma);
        out.put({c + 1, static_cast<size_t>(end - c - 1)});
        end = c;
    }
    out.put({begin, static_cast<size_t>(end - begin)});
    return out.finish();
}

// Where the piece after the count-th comma starts, or null when the text has
// fewer commas.
inline const char* afterComma(std::string_view text, int64_t count) {
    const char* p = text.data();
    const char* const end = p + text.size();
    for (int64_t i = 0; i < count; ++i) {
        const void* comma = std::memchr(p, ',', static_cast<size_t>(end - p));
        if (comma == nullptr) return nullptr;
        p = static_cast<const char*>(comma) + 1;
    }
    return p;
}

// The first min(count, pieces) pieces; a negative count raises RangeDefect.
inline const char* takeStringsImpl(std::string_view text, int64_t count) {
    if (text.empty()) return "";
    checkedSize(count);
    if (count == 0) return "";
    const char* const next = afterComma(text, count);
    const size_t length = next == nullptr ? text.size() : static_cast<size_t>(next - 1 - text.data());
    TextBuilder out;
    out.append(text.substr(0, length));
    return out.finish();
}

// The pieces from index min(count, pieces) on; a negative index raises
// IndexDefect, with the last index of the list.
inline const char* skipStringsImpl(std::string_view text, int64_t count) {
    if (text.empty()) return "";
    if (count < 0) raiseIndexError2(count, static_cast<int64_t>(pieceCount(text)) - 1);
    const char* const from = afterComma(text, count);
    if (from == nullptr) return "";
    TextBuilder out;
    out.append({from, static_cast<size_t>(text.data() + text.size() - from)});
    return out.finish();
}

// Writes each piece of `text` that the set has not met yet, and adds it.
inline void putUnseenPieces(PieceWriter& out, PieceSet& seen, std::string_view text) {
    walkPieces(text, seen, [&](const PieceKey& piece) {
        if (inclNew(seen, piece)) out.put(piece.view());
    });
}

// The first occurrence of each distinct piece, in text order.
inline const char* uniqueStringsImpl(std::string_view text) {
    if (text.empty()) return "";
    PieceSet seen = pieceSetFor({text});
    PieceWriter out(text.size() + 1);
    putUnseenPieces(out, seen, text);
    return out.finish();
}

// The pieces sorted (unsigned bytes, shorter first), equal pieces in text
// order, as twelve-byte records (position: the piece's offset) for a text
// under 4 GiB.
template <class Pos>
const char* sortPiecesAs(std::string_view text, bool descending) {
    struct TextItems {
        const char* base;
        const char* end;
        std::string_view at(Pos offset) const {
            const char* p = base + offset;
            const void* comma = std::memchr(p, ',', static_cast<size_t>(end - p));
            return {p, static_cast<size_t>((comma ? static_cast<const char*>(comma) : end) - p)};
        }
    };
    const TextItems items{text.data(), text.data() + text.size()};
    ArenaVec<StringSortRecord<Pos>> records;
    records.reserve(pieceCount(text));
    forEachPiece(text, [&](std::string_view piece) {
        const size_t readable = static_cast<size_t>(items.end - piece.data());
        records.push_back({stringSortKey(piece.data(), piece.size(), readable), static_cast<Pos>(piece.data() - text.data())});
    });
    sortStringRecords(records, items, descending);
    PieceWriter out(text.size() + 1);
    for (const StringSortRecord<Pos>& r : records) {
        const uint64_t key = r.key;
        const size_t held = key & 0xFF;
        out.put(held < kKeyBytesHeld ? std::string_view(text.data() + r.pos, held) : items.at(r.pos));
    }
    return out.finish();
}

// Lists of few distinct pieces (",1,1,...,1") are sorted by counting: equal
// pieces have the same bytes, so the sorted text is each distinct piece, in
// order, written as often as it occurs. The counts are kept in a table of
// the distinct pieces, which stays small; a list with more distinct pieces
// than a sixty-fourth of its length is left to the record sort (the table
// then holds at most about a byte per item).
struct PieceTally {
    struct Entry {
        uint64_t hash;
        uint64_t word;  // a piece of up to eight bytes: those bytes, zero-padded
        const char* p;
        size_t n;
        size_t count;
    };
    Entry* entries = nullptr;
    uint8_t* tags = nullptr;  // 0 free, else 0x80 | seven bits of the hash
    size_t mask = 0;
    size_t used = 0;

    void allocate(size_t slots) {
        entries = static_cast<Entry*>(arenaAllocate(sizeof(Entry) * slots, alignof(Entry)));
        tags = static_cast<uint8_t*>(arenaAllocate(slots, 16));
        std::memset(tags, 0, slots);
        mask = slots - 1;
    }
    void grow() {
        const Entry* const old = entries;
        const uint8_t* const oldTags = tags;
        const size_t oldSlots = mask + 1;
        allocate(oldSlots * 2);
        for (size_t i = 0; i < oldSlots; ++i) {
            if (oldTags[i] == 0) continue;
            size_t at = old[i].hash & mask;
            while (tags[at] != 0) at = (at + 1) & mask;
            tags[at] = oldTags[i];
            entries[at] = old[i];
        }
    }
    // Counts one more of the piece p[0..n) (`readable` bytes from p may be
    // read); false when that makes more than `limit` distinct pieces. A short
    // piece is known by its length and its word, a longer one by its bytes.
    bool add(const char* p, size_t n, size_t readable, size_t limit) {
        uint64_t word = 0;
        uint64_t h;
        if (n <= 8) {
            if (readable >= 8) {
                std::memcpy(&word, p, 8);
                word &= n == 0 ? 0 : ~uint64_t(0) >> (64 - 8 * n);
            } else {
                std::memcpy(&word, p, n);
            }
            h = hashInt(word ^ (n << 59));
        } else {
            h = hashBytes(p, n);
        }
        const uint8_t tag = static_cast<uint8_t>(0x80 | (h >> 57));
        size_t at = h & mask;
        for (;;) {
            const uint8_t t = tags[at];
            if (t == 0) break;
            Entry& e = entries[at];
            if (t == tag && e.hash == h && e.n == n && (n <= 8 ? e.word == word : std::memcmp(e.p, p, n) == 0)) {
                ++e.count;
                return true;
            }
            at = (at + 1) & mask;
        }
        if (used == limit) return false;
        if (2 * (used + 1) > mask + 1) {
            grow();
            at = h & mask;
            while (tags[at] != 0) at = (at + 1) & mask;
        }
        tags[at] = tag;
        entries[at] = {h, word, p, n, 1};
        ++used;
        return true;
    }
};

// `count` copies of piece + ',' at `to`, written by doubling what is there.
inline char* putRepeated(char* to, std::string_view piece, size_t count) {
    const size_t unit = piece.size() + 1;
    std::memcpy(to, piece.data(), piece.size());
    to[piece.size()] = ',';
    size_t done = unit;
    const size_t total = unit * count;
    while (done < total) {
        const size_t step = std::min(done, total - done);
        std::memcpy(to + done, to, step);
        done += step;
    }
    return to + total;
}

// The sorted text by counting, or null when the list has too many distinct
// pieces for it.
inline const char* sortFewDistinct(std::string_view text, size_t pieces, bool descending) {
    const size_t limit = std::max<size_t>(pieces / 64, 64);
    PieceTally tally;
    tally.allocate(64);
    const char* p = text.data();
    const char* const end = p + text.size();
    // Mostly distinct lists show themselves early.
    constexpr size_t kProbeItems = 4096;
    size_t walked = 0;
    const auto add = [&](const char* from, const char* to) {
        if (!tally.add(from, static_cast<size_t>(to - from), static_cast<size_t>(end - from), limit)) return false;
        return ++walked != kProbeItems || tally.used <= kProbeItems / 4;
    };
    // The commas of sixteen bytes at a time, as a bit mask.
    const char* start = p;
    const __m128i commas = _mm_set1_epi8(',');
    for (const char* block = p; block < end; block += 16) {
        unsigned bits;
        if (end - block >= 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
            bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, commas)));
        } else {
            bits = 0;
            for (int k = 0; k < end - block; ++k) bits |= unsigned(block[k] == ',') << k;
        }
        for (; bits != 0; bits &= bits - 1) {
            const char* const comma = block + __builtin_ctz(bits);
            if (!add(start, comma)) return nullptr;
            start = comma + 1;
        }
    }
    if (!add(start, end)) return nullptr;
    ArenaVec<const PieceTally::Entry*> distinct;
    distinct.reserve(tally.used);
    for (size_t i = 0; i <= tally.mask; ++i) {
        if (tally.tags[i] != 0) distinct.push_back(&tally.entries[i]);
    }
    std::sort(distinct.begin(), distinct.end(), [descending](const PieceTally::Entry* x, const PieceTally::Entry* y) {
        const int c = std::string_view(x->p, x->n).compare(std::string_view(y->p, y->n));
        return descending ? c > 0 : c < 0;
    });
    PieceWriter out(text.size() + 1);
    for (const PieceTally::Entry* e : distinct) out.p = putRepeated(out.p, {e->p, e->n}, e->count);
    return out.finish();
}

inline const char* sortStringsImpl(std::string_view text, bool descending) {
    if (text.empty()) return "";
    if (const char* counted = sortFewDistinct(text, pieceCount(text), descending)) return counted;
    if (text.size() <= UINT32_MAX) return sortPiecesAs<uint32_t>(text, descending);
    return sortPiecesAs<uint64_t>(text, descending);
}

}  // namespace karpa
