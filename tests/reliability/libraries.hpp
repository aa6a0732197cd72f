// The four libraries loaded side by side, their exports typed from the
// public headers, and the small oracles the reliability tests share.
#pragma once

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <fstream>
#include <optional>
#include <string>

#include "host.hpp"
#include "karpa/karpa.h"

// The export `name` of `library`, with the type its header declares.
#define KARPA_FN(library, name) (library).fn<decltype(name)>(#name)

namespace karpa_test {

struct Libraries {
    Library seq{"seq"};
    Library curried{"curried"};
    Library datetime{"datetime"};
    Library crypto{"crypto"};
};

// A result as a value: copied at once, before the next call may reuse it.
using Text = std::optional<std::string>;
inline Text take(const char* result) { return result == nullptr ? Text() : Text(result); }
inline std::string shown(const Text& t) {
    if (!t) return "<null>";
    return t->size() > 200 ? "\"" + t->substr(0, 200) + "...\" (" + std::to_string(t->size()) + " bytes)" : "\"" + *t + "\"";
}

// Resident memory of this process, from /proc/self/statm.
inline long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4096;
}

inline std::string upperHex(const unsigned char* bytes, unsigned n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned i = 0; i < n; ++i) {
        out.push_back(digits[bytes[i] >> 4]);
        out.push_back(digits[bytes[i] & 15]);
    }
    return out;
}

// OpenSSL's digest of `data`, as the library writes a computed one (upper case).
inline std::string oracleDigest(const EVP_MD* md, const std::string& data) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned n = 0;
    EVP_Digest(data.data(), data.size(), out, &n, md, nullptr);
    return upperHex(out, n);
}

inline std::string oracleHmac(const EVP_MD* md, const std::string& message, const std::string& key) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned n = 0;
    HMAC(md, key.data(), int(key.size()), reinterpret_cast<const unsigned char*>(message.data()), message.size(), out,
         &n);
    return upperHex(out, n);
}

}  // namespace karpa_test
