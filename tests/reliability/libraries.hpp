// The four libraries loaded side by side, their exports typed from the
// public headers, and the small oracles the reliability tests share.
#pragma once

#include <fstream>
#include <optional>
#include <string>

#include "../crypto/oracle.hpp"
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

// OpenSSL's digest and HMAC of whole strings, as the library writes a computed one (upper case).
inline std::string oracleDigest(const EVP_MD* md, const std::string& data) {
    return crypto_test::opensslDigest(md, data.data(), data.size());
}

inline std::string oracleHmac(const EVP_MD* md, const std::string& message, const std::string& key) {
    return crypto_test::opensslHmac(md, message.data(), message.size(), key.data(), key.size());
}

}  // namespace karpa_test
