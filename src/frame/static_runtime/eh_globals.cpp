// The C++ ABI's per-thread exception bookkeeping (__cxa_get_globals), for the
// deliverables that carry their own static copy of the C++ runtime.
//
// The runtime's own definition reaches its thread-local block through
// __tls_get_addr, which would make every deliverable depend on the dynamic
// loader's library as well as libc. Defined here, compiled with TLS
// descriptors, the deliverable needs libc alone. The layout is the ABI's
// __cxa_eh_globals: the caught-exception stack and the uncaught count.
namespace {

struct EhGlobals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

thread_local EhGlobals tlsEhGlobals;

}  // namespace

extern "C" __attribute__((visibility("hidden"))) void* __cxa_get_globals_fast() noexcept { return &tlsEhGlobals; }
extern "C" __attribute__((visibility("hidden"))) void* __cxa_get_globals() noexcept { return &tlsEhGlobals; }
