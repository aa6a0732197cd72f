// The per-thread state of calls into this library, kept in one block so that
// a call reaches it with a single thread-local lookup: the failure flag and
// the arena.
#pragma once

#include "frame/arena.hpp"

namespace karpa {

struct CallState {
    ArenaState arena;
    bool failed;
};

// The first chunk a thread maps; later ones double up to the arena's limit.
constexpr size_t kFirstArenaChunk = 64 * 1024;

// Constant-initialised, so no access ever runs an initialiser.
extern constinit thread_local CallState tlsCall;

}  // namespace karpa
