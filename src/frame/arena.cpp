#include "frame/arena.hpp"

#include <sys/mman.h>

#include <algorithm>

#include "frame/error.hpp"

namespace karpa {
namespace {

constexpr size_t kPage = 4096;
constexpr size_t kHugePage = 2u << 20;
constexpr size_t kFirstChunk = kFirstArenaChunk;
// Chunks grow by doubling up to this size (a single larger allocation gets a
// chunk of its own).
constexpr size_t kChunkLimit = 128u << 20;
// What a thread keeps resident whatever its calls use. Beyond it, pages stay
// resident while the calls keep using at least half of them; when a call ends
// having used less, the rest goes back to the system (the mapping stays, so a
// larger call later faults fresh zero pages in).
constexpr size_t kRetainResident = 4u << 20;

}  // namespace

constinit thread_local CallState tlsCall = {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, false}, false, nullptr};

struct ArenaChunk {
    ArenaChunk* previous;
    size_t size;    // bytes mapped, header included
    size_t filled;  // bytes taken from it when a newer chunk was mapped
};

namespace {

using Chunk = ArenaChunk;

void unmapAll(ArenaState& arena) {
    for (Chunk* c = arena.chunk; c != nullptr;) {
        Chunk* previous = c->previous;
        KARPA_UNPOISON(c, c->size);
        munmap(c, c->size);
        c = previous;
    }
    arena.chunk = nullptr;
    arena.start = arena.cursor = arena.end = arena.touched = arena.kept = nullptr;
    arena.consolidate = false;
}

struct ThreadReleaser {
    bool armed = false;
    ~ThreadReleaser() {
        unmapAll(tlsCall.arena);
        delete tlsCall.error;
        tlsCall.error = nullptr;
    }
};
thread_local ThreadReleaser tlsReleaser;

char* chunkStart(Chunk* c) { return reinterpret_cast<char*>(c) + sizeof(Chunk); }

// The first chunk, then each twice the last up to the limit.
size_t nextChunkSize(const ArenaState& arena) {
    return arena.chunk == nullptr ? kFirstChunk : std::min(arena.chunk->size * 2, kChunkLimit);
}

void mapChunk(ArenaState& arena, size_t size) {
    tlsReleaser.armed = true;  // registers the thread-exit cleanup once
    size = (size + kPage - 1) & ~(kPage - 1);
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) outOfMemory();
    // What lies beyond the part a thread keeps resident in 2 MiB pages, where
    // the system offers them: a large call that touches fresh memory faults
    // once per 2 MiB instead of once per 4 KiB, while small calls keep to 4 KiB
    // pages in the part that stays.
    if (size > kRetainResident + kHugePage) {
        madvise(static_cast<char*>(p) + kRetainResident, size - kRetainResident, MADV_HUGEPAGE);
    }
    Chunk* c = static_cast<Chunk*>(p);
    if (arena.chunk != nullptr) arena.chunk->filled = static_cast<size_t>(arena.cursor - chunkStart(arena.chunk));
    c->previous = arena.chunk;
    c->size = size;
    c->filled = 0;
    arena.consolidate = c->previous != nullptr || size > kChunkLimit;
    arena.chunk = c;
    arena.start = arena.cursor = chunkStart(c);
    arena.end = reinterpret_cast<char*>(c) + size;
    arena.touched = arena.cursor;
    arena.kept = reinterpret_cast<char*>(c) + std::min(size, kRetainResident);
    KARPA_POISON(arena.cursor, static_cast<size_t>(arena.end - arena.cursor));
}

}  // namespace

void* allocateInNewChunk(ArenaState& arena, size_t bytes, size_t align) {
    if (bytes > SIZE_MAX / 2) outOfMemory();
    mapChunk(arena, std::max(nextChunkSize(arena), bytes + align + kArenaRedZone + sizeof(Chunk) + kPage));
    return arenaAllocate(arena, bytes, align);
}

// All of them go, for one chunk with room for what the last call used and a
// quarter more (untouched pages of a mapping cost no memory).
void consolidateArena(ArenaState& arena) {
    size_t used = static_cast<size_t>(arena.cursor - chunkStart(arena.chunk));
    for (const Chunk* c = arena.chunk->previous; c != nullptr; c = c->previous) used += c->filled;
    unmapAll(arena);
    mapChunk(arena, std::clamp(used + used / 4 + sizeof(Chunk), kFirstChunk, kChunkLimit));
}

ArenaState& arenaReset() {
    ArenaState& arena = tlsCall.arena;
    arenaStartCall(arena);
    return arena;
}

char* roundUp(char* p, size_t unit) {
    return reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(p) + unit - 1) & ~(uintptr_t(unit) - 1));
}

void trimResident(ArenaState& arena) {
    // Pages from `from` on hold nothing of the call just ended. What was
    // touched may lie in a 2 MiB page that reaches further: up to its end.
    char* const start = chunkStart(arena.chunk);
    if (arena.cursor - start >= (arena.touched - start) / 2) return;  // the call used half of it or more: keep it
    char* const from = roundUp(std::max(arena.cursor, arena.kept), kPage);
    if (from >= arena.touched) return;
    char* const upTo = std::min(roundUp(arena.touched, kHugePage), arena.end);
    madvise(from, static_cast<size_t>(upTo - from), MADV_DONTNEED);
    arena.touched = from;
}

size_t arenaMappedBytes() {
    size_t mapped = 0;
    for (const Chunk* c = tlsCall.arena.chunk; c != nullptr; c = c->previous) mapped += c->size;
    return mapped;
}

void armThreadExitRelease() { tlsReleaser.armed = true; }

void TextBuilder::grow(size_t extra) {
    if (extra > SIZE_MAX / 4) outOfMemory();
    const size_t wanted = std::max(len + extra + 1, cap * 2);
    char* grown = static_cast<char*>(arenaAllocate(std::max<size_t>(wanted, 32), 1));
    if (len != 0) std::memcpy(grown, data, len);
    data = grown;
    cap = std::max<size_t>(wanted, 32);
}

std::string_view arenaCopy(std::string_view s) {
    char* p = static_cast<char*>(arenaAllocate(s.size() + 1, 1));
    if (!s.empty()) std::memcpy(p, s.data(), s.size());
    p[s.size()] = '\0';
    return {p, s.size()};
}

}  // namespace karpa
