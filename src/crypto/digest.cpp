#include "crypto/digest.hpp"

#include <cpuid.h>

namespace karpa {

bool shaExtensionsAvailable() {
    static const bool available = [] {
        unsigned a, b, c, d;
        if (__get_cpuid(1, &a, &b, &c, &d) == 0) return false;
        const bool ssse3 = (c & bit_SSSE3) != 0;
        const bool sse41 = (c & bit_SSE4_1) != 0;
        if (__get_cpuid_count(7, 0, &a, &b, &c, &d) == 0) return false;
        const bool sha = (b & bit_SHA) != 0;
        return ssse3 && sse41 && sha;
    }();
    return available;
}

}  // namespace karpa
