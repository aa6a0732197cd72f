// The peer of Karpa's smallest calls: the same jobs as plain C++ functions in
// a shared library of their own, loaded with dlopen and called through a
// pointer exactly as the benchmarks call Karpa's exports, so both sides pay
// the same call. peer_empty, which does nothing, is the floor of such a call.
#include <chrono>
#include <cstdint>
#include <cstring>

#include "peers.hpp"

#if KARPA_PEER_NETTLE
#include <nettle/md5.h>
#elif KARPA_PEER_OPENSSL
#include <openssl/md5.h>
#endif

namespace {

thread_local char result[64];

}  // namespace

extern "C" {

__attribute__((visibility("default"))) const char* peer_empty() { return ""; }

// seq_reduce_sum_int / cur_sum_int: the list read eight digits at a time,
// the checked sum, to_chars.
__attribute__((visibility("default"))) const char* peer_sum_int(const char* list) {
    if (list == nullptr) list = "";
    int64_t sum;
    if (!karpa_bench::sumIntsSwar(list, list + std::strlen(list), sum)) return nullptr;
    char* end = std::to_chars(result, result + sizeof result - 1, sum).ptr;
    *end = '\0';
    return result;
}

__attribute__((visibility("default"))) int32_t peer_is_leap_year(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// dt_ts_to_ymdhms: std::chrono's calendar, the digits from a pair table.
__attribute__((visibility("default"))) const char* peer_ts_to_ymdhms(int64_t timestamp) {
    using namespace std::chrono;
    const sys_seconds s{seconds{timestamp}};
    const sys_days d = floor<days>(s);
    const year_month_day ymd{d};
    const int64_t second = (s - d).count();
    char* p = karpa_bench::writeDatePairs(result, int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()));
    *p++ = ' ';
    p = karpa_bench::twoDigitsPair(p, unsigned(second / 3600));
    *p++ = ':';
    p = karpa_bench::twoDigitsPair(p, unsigned(second / 60 % 60));
    *p++ = ':';
    p = karpa_bench::twoDigitsPair(p, unsigned(second % 60));
    *p = '\0';
    return result;
}

#if KARPA_PEER_NETTLE || KARPA_PEER_OPENSSL
// md5_hash: the digest (nettle's, else OpenSSL's) as upper-case hexadecimal.
__attribute__((visibility("default"))) const char* peer_md5_hex(const char* data, int length) {
    if (length < 0) return nullptr;
    unsigned char digest[16];
#if KARPA_PEER_NETTLE
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, size_t(length), reinterpret_cast<const uint8_t*>(data));
    md5_digest(&ctx, sizeof digest, digest);
#else
    MD5(reinterpret_cast<const unsigned char*>(data), size_t(length), digest);
#endif
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int i = 0; i < 16; ++i) {
        result[2 * i] = kHex[digest[i] >> 4];
        result[2 * i + 1] = kHex[digest[i] & 15];
    }
    result[32] = '\0';
    return result;
}
#endif

}  // extern "C"
