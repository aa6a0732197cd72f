// The boundary of every exported function.
//
// An export is a thin shell:
//
//   KARPA_EXPORT const char* seq_sort_int(const char* list, int descending) {
//       return textCall([&] { ...read, compute, print...; return builder.finish(); });
//   }
//
// `textCall` starts the call (clears the thread's failure flag, resets its
// arena), runs the body, turns a raised error into the null pointer, and ends
// the call (the arena trims what the call left untouched).
// `numberCall` does the same for exports that return numbers (0 on failure),
// and `pureCall` runs the few that can neither fail nor build text.
// Nothing thrown inside a call ever crosses the C interface.
#pragma once

#include <cstdint>
#include <new>
#include <type_traits>
#include <string_view>
#include <utility>

#include "frame/arena.hpp"
#include "frame/error.hpp"

#define KARPA_EXPORT extern "C" __attribute__((visibility("default")))

namespace karpa {

// Argument text: a null pointer reads as "", the text ends at its first NUL.
// The bytes are borrowed for the call and never written.
inline std::string_view argText(const char* text) {
    return text == nullptr ? std::string_view("", 0) : std::string_view(text);
}

// C `int` arguments are widened with their sign.
inline int64_t argInt(int value) { return static_cast<int64_t>(value); }

// Clears the thread's failure flag and resets its arena, inline and with one
// thread-local lookup; returns the arena for arenaEndCall.
inline ArenaState& beginCall() {
    CallState* call = &tlsCall;
    // The compiler would look the address up again at every use (a descriptor
    // call each); opaque, it stays in a register for the whole call.
    asm("" : "+r"(call));
    if (call->failed) [[unlikely]] clearFailure();
    arenaStartCall(call->arena);
    return call->arena;
}
// Records an exception that no raiser threw as an AssertionDefect.
void recordUnexpectedFailure();

// Runs an export's body; a raised error gives Result(0): the null pointer for
// text, 0 for numbers.
template <class Result, class Body>
Result numberCall(Body&& body) noexcept {
    ArenaState& arena = beginCall();
    Result result;
    try {
        // A body that takes the arena gets the one this call looked up.
        if constexpr (std::is_invocable_v<Body&, ArenaState&>) {
            result = body(arena);
        } else {
            result = body();
        }
    } catch (const Unwind&) {
        result = Result(0);
    } catch (const std::bad_alloc&) {
        outOfMemory();
    } catch (...) {
        recordUnexpectedFailure();
        result = Result(0);
    }
    arenaEndCall(arena);
    return result;
}

template <class Body>
const char* textCall(Body&& body) noexcept {
    return numberCall<const char*>(std::forward<Body>(body));
}

// Runs the body of an export that can neither fail nor build text. Like every
// call it clears a failure left on the thread, but it reaches the
// thread-local state only when some thread has recorded an error; it leaves
// the arena alone, so the thread's last result text stays where it is.
template <class Result, class Body>
Result pureCall(Body&& body) noexcept {
    if (anyErrorRecorded.load(std::memory_order_relaxed)) [[unlikely]] clearFailure();
    return body();
}

// Initialisation: fatal-signal handlers, SIGPIPE ignored, and the report of an
// error left on the calling thread. Run at load time and by `TovMain`.
void initialise();

}  // namespace karpa
