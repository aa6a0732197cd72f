// Loading a built deliverable the way a host program does: dlopen from
// build/lib, dlsym by name, call through the C interface.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

namespace karpa_test {

inline std::string libraryPath(const std::string& name) {
    return std::string(KARPA_LIB_DIR) + "/libkarpa_" + name + ".so";
}

struct Library {
    void* handle = nullptr;

    explicit Library(const std::string& name) {
        handle = dlopen(libraryPath(name).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) ADD_FAILURE() << "dlopen " << name << ": " << dlerror();
    }

    template <class Fn>
    Fn* fn(const char* symbol) const {
        void* p = handle ? dlsym(handle, symbol) : nullptr;
        if (p == nullptr) ADD_FAILURE() << "missing export " << symbol;
        return reinterpret_cast<Fn*>(p);
    }
};

// Null stays distinguishable from "" in assertions.
inline std::string show(const char* result) { return result == nullptr ? std::string("<null>") : std::string(result); }

// The export table's rows for a library plus the lifecycle pair.
inline std::set<std::string> listedExports(const std::string& library) {
    std::set<std::string> names = {"TovMain", "TovDestroyGlobals"};
#define KARPA_EXPORT_ROW(lib, result, name, ...) \
    if (library == #lib) names.insert(#name);
#include "../../src/exports.def"
#undef KARPA_EXPORT_ROW
    return names;
}

// Runs a shell command and gives its standard output.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// The defined dynamic symbols and the NEEDED entries of a built library.
inline std::set<std::string> definedDynamicSymbols(const std::string& name) {
    std::set<std::string> names;
    const std::string out = commandOutput("nm -D --defined-only --format=posix " + libraryPath(name));
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        const std::string line = out.substr(start, end - start);
        if (!line.empty()) names.insert(line.substr(0, line.find(' ')));
        start = end + 1;
    }
    return names;
}

inline std::string neededLibraries(const std::string& name) {
    return commandOutput("readelf -d " + libraryPath(name) + " | grep NEEDED | sed 's/.*\\[\\(.*\\)\\]/\\1/'");
}

// The library exports exactly its listed functions and, in a release build,
// needs nothing but libc (sanitizer builds link their runtimes dynamically).
inline void expectSelfContained(const std::string& library) {
    EXPECT_EQ(definedDynamicSymbols(library), listedExports(library));
#ifndef KARPA_INSTRUMENTED_BUILD
    EXPECT_EQ(neededLibraries(library), "libc.so.6\n");
#endif
}

}  // namespace karpa_test
