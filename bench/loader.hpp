// Loading a built deliverable from build/lib for benchmarks, as a host does.
#pragma once

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace karpa_bench {

inline void* openLibrary(const std::string& name) {
    const std::string path = std::string(KARPA_LIB_DIR) + "/libkarpa_" + name + ".so";
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
