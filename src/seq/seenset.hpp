// The seen-set: an open-addressing hash set that only answers whether a value
// was met before. Slots are a power of two, probed linearly, with a byte per
// slot beside them that says whether the slot is taken and holds seven bits
// of its item's hash; a slot keeps the item's hash beside the item, and a
// lookup compares the byte, then the stored hash, then the item. A 64-bit
// integer's slot is the item alone, half the size. Output order never
// depends on the table.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <type_traits>

#include "frame/arena.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {

inline uint64_t foldedProduct(uint64_t a, uint64_t b) {
    const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
    return static_cast<uint64_t>(r) ^ static_cast<uint64_t>(r >> 64);
}

inline uint64_t hashInt(uint64_t x) { return foldedProduct(x ^ 0x9E3779B97F4A7C15ull, 0xD6E8FEB86659FD93ull); }

inline uint64_t hashBytes(const char* p, size_t n) {
    uint64_t h = foldedProduct(n ^ 0x243F6A8885A308D3ull, 0x9E3779B97F4A7C15ull);
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        h = foldedProduct(h ^ w, 0xD6E8FEB86659FD93ull);
    }
    uint64_t tail = 0;
    if (n >= 4) {
        uint32_t lo, hi;
        std::memcpy(&lo, p, 4);
        std::memcpy(&hi, p + n - 4, 4);
        tail = (uint64_t(hi) << 32) | lo;
    } else if (n > 0) {
        tail = (uint64_t(uint8_t(p[0])) << 16) | (uint64_t(uint8_t(p[n / 2])) << 8) | uint8_t(p[n - 1]);
    }
    return foldedProduct(h ^ tail ^ 0xA0761D6478BD642Full, 0xE7037ED1A0B428DBull);
}

// Hash and equality of each element type.
inline uint64_t seenHash(int64_t x) { return hashInt(static_cast<uint64_t>(x)); }
inline bool seenSame(int64_t x, int64_t y) { return x == y; }

// -0.0 and 0.0 are one value (both hash as +0.0); a NaN equals nothing.
inline uint64_t seenHash(double x) { return hashInt(std::bit_cast<uint64_t>(x + 0.0)); }
inline bool seenSame(double x, double y) { return x == y; }

inline uint64_t seenHash(std::string_view s) { return hashBytes(s.data(), s.size()); }
inline bool seenSame(std::string_view x, std::string_view y) {
    return x.size() == y.size() && std::memcmp(x.data(), y.data(), x.size()) == 0;
}

template <class T>
struct SeenSlot {
    uint64_t hash;
    T item;
    uint64_t placeHash() const { return hash; }
    bool holds(const T& x, uint64_t h) const { return hash == h && seenSame(item, x); }
    void fill(const T& x, uint64_t h) {
        hash = h;
        item = x;
    }
};

// The item alone: its hash is computed again when the table grows.
template <>
struct SeenSlot<int64_t> {
    int64_t item;
    uint64_t placeHash() const { return seenHash(item); }
    bool holds(int64_t x, uint64_t) const { return item == x; }
    void fill(int64_t x, uint64_t) { item = x; }
};

// Beside the slots, a byte per slot: 0 for a free slot, else 0x80 and the
// top seven bits of the hash. A probe reads the bytes, a small array that
// stays in cache, and touches a slot only when its byte matches, so adding a
// new item rarely waits for memory; free slots are never read or cleared.
template <class T>
struct SeenSet {
    using Slot = SeenSlot<T>;
    Slot* slots = nullptr;
    uint8_t* tags = nullptr;
    size_t mask = 0;
    size_t count = 0;
};

namespace seen_detail {

inline uint8_t tagOf(uint64_t h) { return static_cast<uint8_t>(0x80 | (h >> 57)); }

inline size_t slotsFor(size_t room) { return std::bit_ceil(room + room / 2 + 4); }

template <class T>
void allocateSlots(SeenSet<T>& set, size_t slots) {
    using Slot = typename SeenSet<T>::Slot;
    set.slots = static_cast<Slot*>(arenaAllocate(sizeof(Slot) * slots, alignof(Slot)));
    set.tags = static_cast<uint8_t*>(arenaAllocate(slots, 16));
    std::memset(set.tags, 0, slots);
    set.mask = slots - 1;
}

template <class T>
void grow(SeenSet<T>& set) {
    using Slot = typename SeenSet<T>::Slot;
    Slot* const old = set.slots;
    const uint8_t* const oldTags = set.tags;
    const size_t oldSlots = set.mask + 1;
    allocateSlots(set, oldSlots * 2);
    for (size_t i = 0; i < oldSlots; ++i) {
        if (oldTags[i] == 0) continue;
        size_t at = old[i].placeHash() & set.mask;
        while (set.tags[at] != 0) at = (at + 1) & set.mask;
        set.tags[at] = oldTags[i];
        set.slots[at] = old[i];
    }
}

// The index of the slot holding x, or of the free slot where the probe for x
// ended.
template <class T>
inline size_t probe(const SeenSet<T>& set, const T& x, uint64_t h) {
    const uint8_t tag = tagOf(h);
    size_t at = h & set.mask;
    for (;;) {
        const uint8_t t = set.tags[at];
        if (t == 0 || (t == tag && set.slots[at].holds(x, h))) return at;
        at = (at + 1) & set.mask;
    }
}

}  // namespace seen_detail

template <class T>
SeenSet<T> initHashSet(size_t room = 64) {
    SeenSet<T> set;
    seen_detail::allocateSlots(set, seen_detail::slotsFor(room));
    return set;
}

template <class T>
bool contains(const SeenSet<T>& set, const T& x) {
    return set.tags[seen_detail::probe(set, x, seenHash(x))] != 0;
}

// Adds x unless it is there already; true when it was added. One probe does
// both the membership test and the insertion.
template <class T>
bool inclNew(SeenSet<T>& set, const T& x) {
    const uint64_t h = seenHash(x);
    size_t at = seen_detail::probe(set, x, h);
    if (set.tags[at] != 0) return false;
    const size_t slots = set.mask + 1;
    if (slots < set.count + set.count / 2 || slots - set.count <= 3) {
        seen_detail::grow(set);
        at = seen_detail::probe(set, x, h);
    }
    set.tags[at] = seen_detail::tagOf(h);
    set.slots[at].fill(x, h);
    ++set.count;
    return true;
}

template <class T>
void incl(SeenSet<T>& set, const T& x) {
    inclNew(set, x);
}

// The set of the items, with first room for `room` of them (all of them
// unless told; it grows as needed).
template <class T>
SeenSet<T> toHashSet(const ArenaVec<T>& items, size_t room) {
    SeenSet<T> set = initHashSet<T>(room);
    for (const T& x : items) incl(set, x);
    return set;
}

template <class T>
SeenSet<T> toHashSet(const ArenaVec<T>& items) {
    return toHashSet(items, items.size());
}

// First room for the distinct items of `count` items: with `whole`, up to a
// million items get room for all of them and never grow (the growths cost
// more than the table); otherwise, and for longer lists, a quarter (two
// growths at most when all are distinct, a small table when most repeat).
// Integer lists take the whole room when looking for duplicates.
constexpr size_t kWholeListUpTo = size_t(1) << 20;
inline size_t firstRoom(size_t count, bool whole) {
    return std::max<size_t>(whole && count <= kWholeListUpTo ? count : count / 4, 64);
}

template <class T>
size_t uniqueRoom(const ArenaVec<T>& list) {
    return firstRoom(list.size(), std::is_same_v<T, int64_t>);
}

// ---- Sets of list pieces ----
// The string exports' seen-sets hold pieces of their argument texts. A slot
// is twelve bytes: a piece of up to eight bytes is kept as its bytes
// (zero-padded) and its length, so telling such pieces apart, or placing them
// again when the table grows, never reads the text; a longer piece as a
// pointer to its bytes and its length. Tags, sizes and growth are those of
// SeenSet.

// A piece with its hash, computed once for every set it meets.
struct PieceKey {
    uint64_t word;  // a piece of up to eight bytes: its bytes, zero-padded
    const char* p;
    size_t n;
    uint64_t hash;
    std::string_view view() const { return {p, n}; }
};

inline uint64_t shortPieceHash(uint64_t word, size_t n) { return hashInt(word ^ (uint64_t(n) << 59)); }

// `end`: bytes before it may be read (a short piece is loaded as one word).
inline PieceKey pieceKey(const char* p, size_t n, const char* end) {
    PieceKey k{0, p, n, 0};
    if (n <= 8) {
        if (end - p >= 8) {
            std::memcpy(&k.word, p, 8);
            k.word &= n == 0 ? 0 : ~uint64_t(0) >> (64 - 8 * n);
        } else if (n != 0) {
            std::memcpy(&k.word, p, n);
        }
        k.hash = shortPieceHash(k.word, n);
    } else {
        k.hash = hashBytes(p, n);
    }
    return k;
}

struct PieceSlot {
    static constexpr uint32_t kFar = UINT32_MAX;  // `len` of a piece of 4 GiB or more: the key points to a FarPiece
    uint32_t keyHalves[2];                        // four-byte aligned, so that a slot takes twelve bytes
    uint32_t len;
    uint64_t key() const {
        uint64_t k;
        std::memcpy(&k, keyHalves, 8);
        return k;
    }
    void setKey(uint64_t k) { std::memcpy(keyHalves, &k, 8); }
};
static_assert(sizeof(PieceSlot) == 12);
struct FarPiece {
    const char* p;
    size_t n;
};

// A set filled while walking list texts may know them (`pieces` and `bytes`
// in all, the text being walked and the bytes walked before it): then a
// growth sizes the table for as many distinct pieces as the part walked so
// far promises, up to four times at once, so that long lists of distinct
// pieces are placed again twice or three times instead of a dozen, while
// lists of repeats keep a table in proportion to what they hold.
struct PieceSet {
    PieceSlot* slots = nullptr;
    uint8_t* tags = nullptr;
    size_t mask = 0;
    size_t count = 0;
    size_t pieces = 0;
    size_t bytes = 0;
    const char* walking = nullptr;
    size_t walkedBefore = 0;
};

namespace seen_detail {

inline bool holds(const PieceSlot& s, const PieceKey& k) {
    if (k.n <= 8) return s.len == k.n && s.key() == k.word;
    if (k.n < PieceSlot::kFar) return s.len == k.n && std::memcmp(reinterpret_cast<const char*>(s.key()), k.p, k.n) == 0;
    if (s.len != PieceSlot::kFar) return false;
    const FarPiece* far = reinterpret_cast<const FarPiece*>(s.key());
    return far->n == k.n && std::memcmp(far->p, k.p, k.n) == 0;
}

inline void allocateSlots(PieceSet& set, size_t slots) {
    set.slots = static_cast<PieceSlot*>(arenaAllocate(sizeof(PieceSlot) * slots, alignof(PieceSlot)));
    set.tags = static_cast<uint8_t*>(arenaAllocate(slots, 16));
    std::memset(set.tags, 0, slots);
    set.mask = slots - 1;
}

inline size_t home(const PieceSet& set, uint64_t hash) { return hash & set.mask; }

// The hash of the piece a slot holds, as pieceKey gives it.
inline uint64_t slotHash(const PieceSlot& s) {
    if (s.len <= 8) return shortPieceHash(s.key(), s.len);
    if (s.len != PieceSlot::kFar) return hashBytes(reinterpret_cast<const char*>(s.key()), s.len);
    const FarPiece* far = reinterpret_cast<const FarPiece*>(s.key());
    return hashBytes(far->p, far->n);
}

inline void placeAll(PieceSet& set, const PieceSlot* old, const uint8_t* oldTags, size_t oldSlots) {
    for (size_t i = 0; i < oldSlots; ++i) {
        if (oldTags[i] == 0) continue;
        size_t at = home(set, slotHash(old[i]));
        while (set.tags[at] != 0) at = (at + 1) & set.mask;
        set.tags[at] = oldTags[i];
        set.slots[at] = old[i];
    }
}

// Doubles the table, or more when the walk so far promises more (`at`: the
// piece about to be added).
[[gnu::noinline]] inline void grow(PieceSet& set, const char* at) {
    const PieceSlot* const old = set.slots;
    const uint8_t* const oldTags = set.tags;
    const size_t oldSlots = set.mask + 1;
    size_t slots = oldSlots * 2;
    if (set.walking != nullptr) {
        const double walked = double(set.walkedBefore + static_cast<size_t>(at - set.walking) + 1);
        const double promised = double(set.count) * (double(set.bytes) / walked);
        const size_t room = static_cast<size_t>(std::min(promised, double(set.pieces)));
        slots = std::clamp(slotsFor(room), slots, oldSlots * 4);
    }
    allocateSlots(set, slots);
    placeAll(set, old, oldTags, oldSlots);
}

inline size_t probe(const PieceSet& set, const PieceKey& k) {
    const uint8_t tag = tagOf(k.hash);
    size_t at = home(set, k.hash);
    for (;;) {
        const uint8_t t = set.tags[at];
        if (t == 0 || (t == tag && holds(set.slots[at], k))) return at;
        at = (at + 1) & set.mask;
    }
}

}  // namespace seen_detail

inline PieceSet initPieceSet(size_t room) {
    PieceSet set;
    seen_detail::allocateSlots(set, seen_detail::slotsFor(room));
    return set;
}

inline bool contains(const PieceSet& set, const PieceKey& k) { return set.tags[seen_detail::probe(set, k)] != 0; }

// Adds the piece unless it is there already; true when it was added.
inline bool inclNew(PieceSet& set, const PieceKey& k) {
    size_t at = seen_detail::probe(set, k);
    if (set.tags[at] != 0) return false;
    const size_t slots = set.mask + 1;
    if (slots < set.count + set.count / 2 || slots - set.count <= 3) [[unlikely]] {
        seen_detail::grow(set, k.p);
        at = seen_detail::probe(set, k);
    }
    PieceSlot& s = set.slots[at];
    if (k.n <= 8) {
        s.setKey(k.word);
        s.len = static_cast<uint32_t>(k.n);
    } else if (k.n < PieceSlot::kFar) {
        s.setKey(reinterpret_cast<uintptr_t>(k.p));
        s.len = static_cast<uint32_t>(k.n);
    } else {
        FarPiece* far = static_cast<FarPiece*>(arenaAllocate(sizeof(FarPiece), alignof(FarPiece)));
        *far = {k.p, k.n};
        s.setKey(reinterpret_cast<uintptr_t>(far));
        s.len = PieceSlot::kFar;
    }
    set.tags[at] = seen_detail::tagOf(k.hash);
    ++set.count;
    return true;
}

// Where a piece's probe starts, fetched ahead of its turn.
inline void prefetchHome(const PieceSet& set, uint64_t hash) {
    const size_t at = seen_detail::home(set, hash);
    __builtin_prefetch(set.tags + at);
    __builtin_prefetch(set.slots + at);
}

// Calls visit(key) for each piece of `text` in order. The pieces are keyed a
// batch at a time and the home of each in `set` fetched before the first of
// them is visited, so the batch's cache misses overlap.
template <class Visit>
void forEachPieceKey(std::string_view text, const PieceSet& set, Visit visit) {
    constexpr size_t kBatch = 16;
    PieceKey keys[kBatch];
    size_t held = 0;
    const char* const end = text.data() + text.size();
    const auto flush = [&] {
        for (size_t i = 0; i < held; ++i) prefetchHome(set, keys[i].hash);
        for (size_t i = 0; i < held; ++i) visit(keys[i]);
        held = 0;
    };
    forEachPiece(text, [&](std::string_view piece) {
        keys[held++] = pieceKey(piece.data(), piece.size(), end);
        if (held == kBatch) flush();
    });
    flush();
}

// A set for the pieces of the texts, to be walked in this order with
// walkPieces: room for all of them when they are few, else for a few
// thousand, grown as the walk promises.
inline PieceSet pieceSetFor(std::initializer_list<std::string_view> texts) {
    size_t pieces = 0;
    size_t bytes = 0;
    for (std::string_view t : texts) {
        pieces += pieceCount(t);
        bytes += t.size() + 1;
    }
    PieceSet set = initPieceSet(std::min<size_t>(pieces, 4096));
    set.pieces = pieces;
    set.bytes = bytes;
    return set;
}

// forEachPieceKey over the next text of those the set was made for.
template <class Visit>
void walkPieces(std::string_view text, PieceSet& set, Visit visit) {
    set.walking = text.data();
    forEachPieceKey(text, set, visit);
    set.walkedBefore += text.size() + 1;
    set.walking = nullptr;
}

// Appends, in list order, each item the set has not met yet, and adds it.
template <class T>
void appendUnseen(ArenaVec<T>& out, SeenSet<T>& seen, const ArenaVec<T>& list) {
    for (const T& x : list) {
        if (inclNew(seen, x)) out.push_back(x);
    }
}

// The first occurrence of each distinct value, in input order.
template <class T>
ArenaVec<T> uniqueImpl(const ArenaVec<T>& list) {
    ArenaVec<T> out;
    out.reserve(list.size());
    SeenSet<T> seen = initHashSet<T>(uniqueRoom(list));
    appendUnseen(out, seen, list);
    return out;
}

}  // namespace karpa
