#include "frame/arena.hpp"

#include <sys/mman.h>

#include <algorithm>

#include "frame/error.hpp"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define KARPA_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define KARPA_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
// Poisoned gap after every allocation, so overruns are caught under ASan.
constexpr size_t kRedZone = 32;
#else
#define KARPA_POISON(p, n) ((void)(p), (void)(n))
#define KARPA_UNPOISON(p, n) ((void)(p), (void)(n))
constexpr size_t kRedZone = 0;
#endif

namespace karpa {
namespace {

constexpr size_t kPage = 4096;
constexpr size_t kFirstChunk = 64 * 1024;
// Chunks grow by doubling up to this size (a single larger allocation gets a
// chunk of its own).
constexpr size_t kChunkLimit = 128u << 20;
// What a thread keeps resident whatever its calls use. Beyond it, pages stay
// resident while the calls keep using at least half of them; when a call ends
// having used less, the rest goes back to the system (the mapping stays, so a
// larger call later faults fresh zero pages in).
constexpr size_t kRetainResident = 4u << 20;

}  // namespace

struct ArenaChunk {
    ArenaChunk* previous;
    size_t size;  // bytes mapped, header included
};

namespace {

using Chunk = ArenaChunk;

thread_local ArenaState tlsArena = {nullptr, nullptr, nullptr, kFirstChunk, 0, 0, nullptr, nullptr};

void unmapAll(ArenaState& arena) {
    for (Chunk* c = arena.chunk; c != nullptr;) {
        Chunk* previous = c->previous;
        KARPA_UNPOISON(c, c->size);
        munmap(c, c->size);
        c = previous;
    }
    arena.chunk = nullptr;
    arena.cursor = arena.end = arena.touched = arena.kept = nullptr;
    arena.mapped = 0;
    arena.filledBefore = 0;
}

struct ThreadReleaser {
    bool armed = false;
    ~ThreadReleaser() { unmapAll(tlsArena); }
};
thread_local ThreadReleaser tlsReleaser;

char* chunkStart(Chunk* c) { return reinterpret_cast<char*>(c) + sizeof(Chunk); }

void mapChunk(ArenaState& arena, size_t need) {
    tlsReleaser.armed = true;  // registers the thread-exit cleanup once
    size_t size = std::max(arena.nextSize, need + sizeof(Chunk) + kPage);
    size = (size + kPage - 1) & ~(kPage - 1);
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) outOfMemory();
    Chunk* c = static_cast<Chunk*>(p);
    if (arena.chunk != nullptr) arena.filledBefore += static_cast<size_t>(arena.cursor - chunkStart(arena.chunk));
    c->previous = arena.chunk;
    c->size = size;
    arena.chunk = c;
    arena.cursor = chunkStart(c);
    arena.end = reinterpret_cast<char*>(c) + size;
    arena.touched = arena.cursor;
    arena.kept = reinterpret_cast<char*>(c) + std::min(size, kRetainResident);
    arena.mapped += size;
    arena.nextSize = std::min(size * 2, kChunkLimit);
    KARPA_POISON(arena.cursor, static_cast<size_t>(arena.end - arena.cursor));
}

}  // namespace

namespace {

// Maps a chunk with room for the allocation, then takes it from there.
[[gnu::noinline]] void* allocateInNewChunk(ArenaState& arena, size_t bytes, size_t align) {
    if (bytes > SIZE_MAX / 2) outOfMemory();
    mapChunk(arena, bytes + align + kRedZone);
    return arenaAllocate(bytes, align);
}

// The last call outgrew one chunk: replace them all by one chunk with room
// for what it used and a quarter more, mapped by the next allocation
// (untouched pages of a mapping cost no memory).
[[gnu::noinline]] void consolidateArena(ArenaState& arena) {
    const size_t used = arena.filledBefore + static_cast<size_t>(arena.cursor - chunkStart(arena.chunk));
    unmapAll(arena);
    arena.nextSize = std::clamp(used + used / 4 + sizeof(Chunk), kFirstChunk, kChunkLimit);
}

}  // namespace

// The common paths reach the thread's state once and call nothing.
void* arenaAllocate(size_t bytes, size_t align) {
    ArenaState& arena = tlsArena;
    const uintptr_t at = (reinterpret_cast<uintptr_t>(arena.cursor) + align - 1) & ~(uintptr_t(align) - 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(arena.end);
    if (arena.chunk != nullptr && at <= end && bytes + kRedZone <= end - at) [[likely]] {
        char* p = reinterpret_cast<char*>(at);
        arena.cursor = p + bytes + kRedZone;
        KARPA_UNPOISON(p, bytes);
        return p;
    }
    return allocateInNewChunk(arena, bytes, align);
}

ArenaState& arenaReset() {
    ArenaState& arena = tlsArena;
    Chunk* const chunk = arena.chunk;
    if (chunk == nullptr) return arena;
    if (chunk->previous != nullptr || chunk->size > kChunkLimit) [[unlikely]] {
        consolidateArena(arena);
        return arena;
    }
    arena.cursor = chunkStart(chunk);
    KARPA_POISON(arena.cursor, static_cast<size_t>(arena.end - arena.cursor));
    return arena;
}

void trimResident(ArenaState& arena) {
    // Pages from `from` on hold nothing of the call just ended.
    const auto pageUp = [](char* p) { return reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(p) + kPage - 1) & ~(kPage - 1)); };
    char* const start = chunkStart(arena.chunk);
    char* const from = pageUp(std::max(arena.cursor, arena.kept));
    if (from - start >= (arena.touched - start) / 2) return;  // the call used half of it or more: keep it
    madvise(from, static_cast<size_t>(arena.touched - from), MADV_DONTNEED);
    arena.touched = from;
}

size_t arenaMappedBytes() { return tlsArena.mapped; }

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
