// Loading a built deliverable from build/lib for benchmarks, as a host does.
#pragma once

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace karpa_bench {

// Set by a benchmark's main (bench/tier.hpp): where the .so files are
// loaded from, or that the Karpa rows run the library's copy linked into the
// benchmark binary itself (to run it on a chosen tier).
inline std::string& libraryDir() {
    static std::string dir = KARPA_LIB_DIR;
    return dir;
}
inline bool& useLinkedCopy() {
    static bool linked = false;
    return linked;
}

inline void* openLibrary(const std::string& name) {
    if (useLinkedCopy()) return dlopen(nullptr, RTLD_NOW);
    const std::string path = libraryDir() + "/libkarpa_" + name + ".so";
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        std::fprintf(stderr, "dlopen %s: %s\n", path.c_str(), dlerror());
        std::exit(2);
    }
    return handle;
}

template <class Fn>
Fn* symbol(void* handle, const char* name) {
    void* p = dlsym(handle, name);
    if (p == nullptr) {
        std::fprintf(stderr, "missing export %s\n", name);
        std::exit(2);
    }
    return reinterpret_cast<Fn*>(p);
}

}  // namespace karpa_bench
