// HMAC (RFC 2104) over MD5 and SHA-256, with 64-byte blocks.
#pragma once

#include "crypto/digest.hpp"

namespace karpa {

Md5Digest hmacMd5Impl(Bytes message, Bytes key);
Sha256Digest hmacSha256Impl(Bytes message, Bytes key);

}  // namespace karpa
