/*
 * karpa_crypto: MD5, SHA-1, SHA-256, HMAC-MD5 and HMAC-SHA-256 as hexadecimal text.
 * Link with -lkarpa_crypto (pkg-config karpa-crypto). See karpa/karpa.h for the contract.
 *
 * Data is a pointer and a byte count; NUL bytes are data. Computed digests are
 * upper-case hexadecimal; the digests of empty input are the stored lower-case
 * texts (data is not read and may be null).
 */
#ifndef KARPA_CRYPTO_H
#define KARPA_CRYPTO_H

#include "karpa/lifecycle.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 32 hex characters; fails when len < 0. */
const char* md5_hash(const char* data, int len);
/* 40 hex characters; fails when len < 0. */
const char* sha1_hash(const char* data, int len);
/* 64 hex characters; fails when len < 0. */
const char* sha256_hash(const char* data, int len);
/* HMAC-MD5 of message under key (message first); a negative length means empty. */
const char* hmac_md5(const char* message, int message_len, const char* key, int key_len);
/* HMAC-SHA-256 of message under key (message first); a negative length means empty. */
const char* hmac_sha256(const char* message, int message_len, const char* key, int key_len);

#ifdef __cplusplus
}
#endif

#endif
