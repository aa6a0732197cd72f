// Raised errors, the per-thread failure state and checked arithmetic.
//
// Every failure inside a call is raised through `raise` (or one of the named
// raisers built on it): the error record becomes the thread's current error,
// the failure flag is set, and a `Unwind` exception carries control back to
// the export's boundary (see exportcall.hpp), which returns the failure result.
// `Unwind` never crosses the C interface.
#pragma once

#include <atomic>
#include <cstdint>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace karpa {

enum class ErrorKind : uint8_t { ValueError, OverflowDefect, IndexDefect, RangeDefect, AssertionDefect };

std::string_view kindName(ErrorKind kind);

struct RaiseSite {
    std::string procedure;
    std::string file;
    int line = 0;
};

struct ErrorRecord {
    ErrorKind kind = ErrorKind::ValueError;
    std::string message;
    std::vector<RaiseSite> trace;
};

// Thrown by every raiser after the error has been recorded.
struct Unwind {};

// The calling thread's failure state in this library.
bool failureFlag();
// Set by the first error recorded on any thread and never cleared: until then
// no thread has a failure to clear. A hint for calls that cannot fail; it
// decides no result.
extern std::atomic<bool> anyErrorRecorded;
const ErrorRecord* currentError();  // null when nothing was raised
void clearFailure();

// Makes the error the thread's current error and sets the failure flag.
void recordError(ErrorKind kind, std::string message,
                 std::source_location site = std::source_location::current());
// recordError, then unwinds the call.
[[noreturn]] void raise(ErrorKind kind, std::string message,
                        std::source_location site = std::source_location::current());
[[noreturn]] void raiseOverflow();
[[noreturn]] void raiseIndexError2(int64_t index, int64_t highest);
[[noreturn]] void raiseRangeErrorI(int64_t value, int64_t low, int64_t high);

// "value out of range" for a negative size: the bounds 0 .. int64 max.
[[noreturn]] inline void raiseNegativeSize(int64_t value) { raiseRangeErrorI(value, 0, INT64_MAX); }

// The unhandled-error report, exactly as written to standard error.
std::string formatUnhandledError(const ErrorRecord& error);
void reportUnhandledError(const ErrorRecord& error);

// Ends the process the way memory exhaustion does: message, exit status 1.
[[noreturn]] void outOfMemory();

// Checked 64-bit arithmetic: overflow raises OverflowDefect.
inline int64_t checkedAdd(int64_t a, int64_t b) {
    int64_t r;
    if (__builtin_add_overflow(a, b, &r)) [[unlikely]] raiseOverflow();
    return r;
}
inline int64_t checkedSub(int64_t a, int64_t b) {
    int64_t r;
    if (__builtin_sub_overflow(a, b, &r)) [[unlikely]] raiseOverflow();
    return r;
}
inline int64_t checkedMul(int64_t a, int64_t b) {
    int64_t r;
    if (__builtin_mul_overflow(a, b, &r)) [[unlikely]] raiseOverflow();
    return r;
}
inline int64_t checkedNeg(int64_t a) { return checkedSub(0, a); }

// Checked list access: an index outside the list raises IndexDefect.
template <class List>
inline auto& checkedAt(List& list, int64_t index) {
    const int64_t size = static_cast<int64_t>(list.size());
    if (index < 0 || index >= size) [[unlikely]] raiseIndexError2(index, size - 1);
    return list[static_cast<size_t>(index)];
}

// Conversion of a 64-bit count to a size: negative values raise RangeDefect.
inline size_t checkedSize(int64_t value) {
    if (value < 0) [[unlikely]] raiseNegativeSize(value);
    return static_cast<size_t>(value);
}

}  // namespace karpa
