#include "frame/exportcall.hpp"

#include "karpa/lifecycle.h"  // the compiler checks the lifecycle exports against their declarations

#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace karpa {
namespace {

constexpr int kFatalSignals[] = {SIGINT, SIGSEGV, SIGABRT, SIGFPE, SIGILL};

std::string_view signalMessage(int s) {
    switch (s) {
        case SIGINT: return "SIGINT: Interrupted by Ctrl-C.\n";
        case SIGSEGV: return "SIGSEGV: Illegal storage access. (Attempt to read from nil?)\n";
        case SIGABRT: return "SIGABRT: Abnormal termination.\n";
        case SIGFPE: return "SIGFPE: Arithmetic error.\n";
        case SIGILL: return "SIGILL: Illegal operation.\n";
    }
    return {};
}

// Writes with write(2), which is async-signal-safe (stdio is not), then lets
// the signal's default action end the process.
void signalHandler(int s) {
    const std::string_view message = signalMessage(s);
    const char* p = message.data();
    size_t left = message.size();
    while (left > 0) {
        const ssize_t n = write(STDERR_FILENO, p, left);
        if (n <= 0) break;
        p += n;
        left -= static_cast<size_t>(n);
    }
    std::signal(s, SIG_DFL);
    std::raise(s);
}

__attribute__((constructor)) void loadTimeInitialise() { initialise(); }

}  // namespace

void recordUnexpectedFailure() {
    recordError(ErrorKind::AssertionDefect, "unexpected internal failure");
}

void initialise() {
    for (int s : kFatalSignals) std::signal(s, signalHandler);
    std::signal(SIGPIPE, SIG_IGN);
    if (const ErrorRecord* error = currentError(); error != nullptr) {
        reportUnhandledError(*error);
        std::exit(1);
    }
}

}  // namespace karpa

KARPA_EXPORT void TovMain(void) { karpa::initialise(); }

KARPA_EXPORT void TovDestroyGlobals(void) {}
