// The seen-set: an open-addressing hash set that only answers whether a value
// was met before. Slots are a power of two, probed linearly; each keeps the
// item's hash beside the item (a hash of 0 marks a free slot, so a computed 0
// is stored as 314159265) and a lookup compares the stored hash before the
// item. A 64-bit integer's slot is the item alone, half the size: 0 marks a
// free slot and a flag stands for the item 0. Output order never depends on
// the table.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "frame/arena.hpp"

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

namespace seen_detail {
constexpr uint64_t kZeroHashStandIn = 314159265;

template <class T>
inline uint64_t storedHash(const T& x) {
    const uint64_t h = seenHash(x);
    return h == 0 ? kZeroHashStandIn : h;
}
}  // namespace seen_detail

template <class T>
struct SeenSlot {
    uint64_t hash;  // 0: free
    T item;
    bool isFree() const { return hash == 0; }
    uint64_t placeHash() const { return hash; }
    bool holds(const T& x, uint64_t h) const { return hash == h && seenSame(item, x); }
    void fill(const T& x, uint64_t h) {
        hash = h;
        item = x;
    }
};

// 0 marks a free slot; the item 0 itself is the set's `hasZero`.
template <>
struct SeenSlot<int64_t> {
    int64_t item;
    bool isFree() const { return item == 0; }
    uint64_t placeHash() const { return seen_detail::storedHash(item); }
    bool holds(int64_t x, uint64_t) const { return item == x; }
    void fill(int64_t x, uint64_t) { item = x; }
};

template <class T>
struct SeenSet {
    using Slot = SeenSlot<T>;
    Slot* slots = nullptr;
    size_t mask = 0;
    size_t count = 0;
    bool hasZero = false;  // 64-bit integers only
};

namespace seen_detail {

inline size_t slotsFor(size_t room) { return std::bit_ceil(room + room / 2 + 4); }

template <class T>
void allocateSlots(SeenSet<T>& set, size_t slots) {
    using Slot = typename SeenSet<T>::Slot;
    set.slots = static_cast<Slot*>(arenaAllocate(sizeof(Slot) * slots, alignof(Slot)));
    std::memset(static_cast<void*>(set.slots), 0, sizeof(Slot) * slots);
    set.mask = slots - 1;
}

template <class T>
void grow(SeenSet<T>& set) {
    using Slot = typename SeenSet<T>::Slot;
    Slot* const old = set.slots;
    const size_t oldSlots = set.mask + 1;
    allocateSlots(set, oldSlots * 2);
    for (size_t i = 0; i < oldSlots; ++i) {
        if (old[i].isFree()) continue;
        size_t at = old[i].placeHash() & set.mask;
        while (!set.slots[at].isFree()) at = (at + 1) & set.mask;
        set.slots[at] = old[i];
    }
}

// The slot holding x, or the free slot where the probe for x ended.
template <class T>
inline typename SeenSet<T>::Slot* probe(const SeenSet<T>& set, const T& x, uint64_t h) {
    size_t at = h & set.mask;
    for (;;) {
        auto* slot = set.slots + at;
        if (slot->isFree() || slot->holds(x, h)) return slot;
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
    if constexpr (std::is_same_v<T, int64_t>) {
        if (x == 0) return set.hasZero;
    }
    return !seen_detail::probe(set, x, seen_detail::storedHash(x))->isFree();
}

// Adds x unless it is there already; true when it was added. One probe does
// both the membership test and the insertion.
template <class T>
bool inclNew(SeenSet<T>& set, const T& x) {
    if constexpr (std::is_same_v<T, int64_t>) {
        if (x == 0) {
            if (set.hasZero) return false;
            set.hasZero = true;
            ++set.count;
            return true;
        }
    }
    const uint64_t h = seen_detail::storedHash(x);
    auto* slot = seen_detail::probe(set, x, h);
    if (!slot->isFree()) return false;
    const size_t slots = set.mask + 1;
    if (slots < set.count + set.count / 2 || slots - set.count <= 3) {
        seen_detail::grow(set);
        slot = seen_detail::probe(set, x, h);
    }
    slot->fill(x, h);
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

// Room for a quarter of a list's items at first: two growths at most when
// all are distinct, and a small table when most repeat.
template <class T>
size_t quarterRoom(const ArenaVec<T>& list) {
    return std::max<size_t>(list.size() / 4, 64);
}

// First room for the distinct items of a list: integer slots are small, so a
// list of up to a million gets room for all of them and never grows (the
// growths cost more than the table); longer lists and strings start with a
// quarter.
template <class T>
size_t uniqueRoom(const ArenaVec<T>& list) {
    constexpr size_t kWholeIntegerListUpTo = size_t(1) << 20;
    if (std::is_same_v<T, int64_t> && list.size() <= kWholeIntegerListUpTo) return std::max<size_t>(list.size(), 64);
    return quarterRoom(list);
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
