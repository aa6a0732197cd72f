// Per-thread call memory.
//
// Every export call takes its temporaries and its result text from the calling
// thread's arena in this library. The arena is reset when the next export
// starts on that thread, so a result stays valid (and untouched) until then,
// and a steady stream of calls reuses the same pages without locks or
// per-item allocator traffic. When a call ends, the arena keeps resident at
// most the larger of a few MiB and twice what that call used: a thread whose
// calls stay large reuses its pages without faulting them in again, and one
// whose calls shrink gives the rest back. The arena's pages are unmapped when
// the thread ends. Mapping failures take the out-of-memory path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define KARPA_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define KARPA_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define KARPA_POISON(p, n) ((void)(p), (void)(n))
#define KARPA_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace karpa {

struct ArenaChunk;
struct ErrorRecord;

// One thread's arena in this library. Trivial, so that reaching it costs no
// guard; the thread-exit cleanup is registered with the first chunk. `start`,
// `kept` and `consolidate` follow from the chunks (null, null and false
// without one); they are kept here so that a call's start and end read
// nothing else. What only the mapping of a chunk needs lives in the chunks'
// headers.
struct ArenaState {
    ArenaChunk* chunk;    // the newest chunk; older ones are chained behind it
    char* start;          // the newest chunk's first usable byte
    char* cursor;
    char* end;
    char* touched;        // no page of the newest chunk beyond this is resident
    char* kept;           // what stays resident whatever the calls use
    bool consolidate;     // the last call outgrew one chunk of the usual size
};

// The per-thread state of calls into this library, in one small block: a call
// reaches it with a single thread-local lookup, and the libraries' blocks
// together fit in the loader's static TLS reserve for dlopen'd libraries,
// where that lookup is two instructions instead of a walk of the thread's
// module table. The arena, the failure flag and the current error (error.hpp,
// made at the thread's first raise).
struct CallState {
    ArenaState arena;
    bool failed;
    ErrorRecord* error;
};

// The first chunk a thread maps; later ones double up to the arena's limit.
constexpr size_t kFirstArenaChunk = 64 * 1024;

// Constant-initialised, so no access ever runs an initialiser.
extern constinit thread_local CallState tlsCall;

#if defined(__SANITIZE_ADDRESS__)
// Poisoned gap after every allocation, so overruns are caught under ASan.
constexpr size_t kArenaRedZone = 32;
#else
constexpr size_t kArenaRedZone = 0;
#endif

// Maps a chunk with room for the allocation, then takes it from there.
[[gnu::noinline]] void* allocateInNewChunk(ArenaState& arena, size_t bytes, size_t align);

// Inline: the common path is a bump of the cursor. A call that holds its
// arena passes it; otherwise it is the calling thread's.
inline void* arenaAllocate(ArenaState& arena, size_t bytes, size_t align = alignof(std::max_align_t)) {
    const uintptr_t at = (reinterpret_cast<uintptr_t>(arena.cursor) + align - 1) & ~(uintptr_t(align) - 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(arena.end);
    // Without a chunk every pointer is null and no size passes.
    if (at <= end && bytes + kArenaRedZone < end - at) [[likely]] {
        char* p = reinterpret_cast<char*>(at);
        arena.cursor = p + bytes + kArenaRedZone;
        KARPA_UNPOISON(p, bytes);
        return p;
    }
    return allocateInNewChunk(arena, bytes, align);
}

inline void* arenaAllocate(size_t bytes, size_t align = alignof(std::max_align_t)) {
    return arenaAllocate(tlsCall.arena, bytes, align);
}

// Replaces the chunks of a call that outgrew one by a single larger chunk.
[[gnu::noinline]] void consolidateArena(ArenaState& arena);

// Starts a new call on `arena`: everything allocated before is given back.
inline void arenaStartCall(ArenaState& arena) {
    if (arena.consolidate) [[unlikely]] {
        consolidateArena(arena);
        return;
    }
    arena.cursor = arena.start;
    KARPA_POISON(arena.cursor, static_cast<size_t>(arena.end - arena.cursor));
}

// arenaStartCall on the calling thread's arena, which it returns.
ArenaState& arenaReset();

// Gives back the resident pages beyond what the call just ended used, when
// they are more than it used again.
[[gnu::noinline]] void trimResident(ArenaState& arena);

// Ends a call whose results stay in the arena: notes how far it reached, or
// trims what it left untouched. Two comparisons in the common case.
inline void arenaEndCall(ArenaState& arena) {
    if (arena.cursor > arena.touched) {
        arena.touched = arena.cursor;
    } else if (arena.touched > arena.kept) [[unlikely]] {
        trimResident(arena);
    }
}
// Bytes currently mapped by the calling thread's arena (for tests).
size_t arenaMappedBytes();
// Makes sure the calling thread's arena and error record are released when
// it ends (mapping a chunk does it too).
void armThreadExitRelease();

template <class T>
struct ArenaAllocator {
    using value_type = T;
    ArenaAllocator() = default;
    template <class U>
    ArenaAllocator(const ArenaAllocator<U>&) noexcept {}
    T* allocate(size_t n) {
        if (n > SIZE_MAX / sizeof(T)) outOfMemoryFromArena();
        return static_cast<T*>(arenaAllocate(n * sizeof(T), alignof(T)));
    }
    void deallocate(T*, size_t) noexcept {}
    template <class U>
    bool operator==(const ArenaAllocator<U>&) const noexcept { return true; }
    [[noreturn]] static void outOfMemoryFromArena();
};

template <class T>
using ArenaVec = std::vector<T, ArenaAllocator<T>>;

using IntList = ArenaVec<int64_t>;
using FloatList = ArenaVec<double>;
using StringList = ArenaVec<std::string_view>;

// A text under construction in the arena. `finish` NUL-terminates it and gives
// the pointer an export returns: the constant "" when nothing was written.
struct TextBuilder {
    char* data = nullptr;
    size_t len = 0;
    size_t cap = 0;

    // Room for `extra` more bytes plus the NUL. The first reservation of a
    // builder, the common case of a one-value result, is one arena allocation.
    void reserve(size_t extra) {
        if (extra < cap - len) return;
        if (cap == 0 && extra < SIZE_MAX / 4) {
            cap = extra + 1 > 32 ? extra + 1 : 32;
            data = static_cast<char*>(arenaAllocate(cap, 1));
            return;
        }
        grow(extra);
    }
    void grow(size_t extra);
    // A writer that knows an upper bound of its output asks for the room,
    // writes from the pointer it gets and commits up to where it stopped.
    char* room(size_t extra) {
        reserve(extra);
        return data + len;
    }
    void commit(const char* end) { len = static_cast<size_t>(end - data); }
    void append(std::string_view s) {
        reserve(s.size());
        if (!s.empty()) std::memcpy(data + len, s.data(), s.size());
        len += s.size();
    }
    void push(char c) {
        reserve(1);
        data[len++] = c;
    }
    std::string_view view() const { return {data, len}; }
    const char* finish() {
        if (len == 0) return "";
        data[len] = '\0';
        return data;
    }
};

// A result of at most maxBytes that `write(start)` writes, returning its end,
// NUL-terminated in the call's arena.
template <class Write>
const char* printInArena(ArenaState& arena, size_t maxBytes, Write write) {
    char* const start = static_cast<char*>(arenaAllocate(arena, maxBytes + 1, 1));
    *write(start) = '\0';
    return start;
}

// A copy of `s` in the arena (NUL-terminated).
std::string_view arenaCopy(std::string_view s);

}  // namespace karpa

#include "frame/error.hpp"

template <class T>
void karpa::ArenaAllocator<T>::outOfMemoryFromArena() {
    karpa::outOfMemory();
}
