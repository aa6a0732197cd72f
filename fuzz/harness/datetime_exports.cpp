// Every karpa_datetime export on arbitrary 64-bit arguments: text results
// are the null pointer or readable text, every call gives the same answer
// twice, and a numeric failure reads as 0. Runs are kept to a length that
// fits in memory: longer ones are the out-of-memory path, not a result.
#include "common.hpp"
#include "karpa/datetime.h"

namespace {

int64_t draw(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: return in.ConsumeIntegralInRange<int64_t>(-2, 40);
        case 1: return in.ConsumeIntegralInRange<int64_t>(-10000, 10000);
        case 2:
            return in.PickValueInArray<int64_t>({INT64_MIN, INT64_MIN + 1, -9223372036854720001LL, -9223372036854720000LL,
                                                 -292277022657LL, 292277026596LL, 9223372036854720000LL, INT64_MAX - 1,
                                                 INT64_MAX, -106751991167300LL, 106751991167300LL});
        case 3: return in.ConsumeIntegralInRange<int64_t>(-300000000000LL, 300000000000LL);
        default: return in.ConsumeIntegral<int64_t>();
    }
}

// A result is copied before the next call, which may reuse its memory.
template <class F, class... A>
void same(const char* name, F f, A... a) {
    if constexpr (std::is_same_v<decltype(f(a...)), const char*>) {
        const auto first = take(f(a...));
        const auto second = take(f(a...));
        FUZZ_CHECK(first == second, name, shown(first), shown(second));
    } else {
        const auto first = f(a...);
        const auto second = f(a...);
        FUZZ_CHECK(first == second, name, (long long)first, (long long)second);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    while (in.remaining_bytes() > 0) {
        const int64_t a = draw(in), b = draw(in), c = draw(in), d = draw(in), e = draw(in), f = draw(in);
        switch (in.ConsumeIntegralInRange<int>(0, 14)) {
            case 0: {
                const int32_t r = dt_is_leap_year(a);
                FUZZ_CHECK(r == 0 || r == 1, (long long)a);
                break;
            }
            case 1: {
                const int64_t r = dt_days_in_month(a, b);
                FUZZ_CHECK(r == 0 || (r >= 28 && r <= 31), (long long)a, (long long)b);
                FUZZ_CHECK((r == 0) == (b < 1 || b > 12), (long long)a, (long long)b);
                break;
            }
            case 2: {
                const int64_t r = dt_days_in_year(a);
                FUZZ_CHECK(r == 365 || r == 366, (long long)a);
                break;
            }
            case 3: same("dt_ts_to_ymd", dt_ts_to_ymd, a); break;
            case 4: same("dt_ts_to_ymdhms", dt_ts_to_ymdhms, a); break;
            case 5: {
                const int64_t r = dt_ymd_to_ts(a, b, c);
                FUZZ_CHECK(r % 86400 == 0, (long long)a, (long long)b, (long long)c);
                break;
            }
            case 6: same("dt_days_between", dt_days_between, a, b, c, d, e, f); break;
            case 7: {
                const int64_t r = dt_day_of_week(a, b, c);
                FUZZ_CHECK(r >= 0 && r <= 7, (long long)a, (long long)b, (long long)c);
                break;
            }
            case 8: {
                const int64_t r = dt_week_of_year(a, b, c);
                FUZZ_CHECK(r >= 0 && r <= 52, (long long)a, (long long)b, (long long)c);
                break;
            }
            case 9: {
                const int32_t r = dt_validate_date(a, b, c);
                FUZZ_CHECK(r == 0 || r == 1, (long long)a);
                break;
            }
            case 10: same("dt_add_days", dt_add_days, a, b, c, d); break;
            case 11: same("dt_add_months", dt_add_months, a, b, c, d); break;
            case 12: {
                // A count beyond 2^62 cannot even be sized; a smaller large
                // one would take the out-of-memory exit.
                const int64_t count = d > 2000 && d < (int64_t(1) << 62) ? d % 2000 : d;
                same("dt_range_days", dt_range_days, a, b, c, count);
                break;
            }
            case 13: {
                const int64_t n = dt_days_between(a, b, c, d, e, f);
                if (n < 2000) same("dt_range_days_between", dt_range_days_between, a, b, c, d, e, f);
                break;
            }
            case 14: {
                const int64_t count = c > 2000 && c < (int64_t(1) << 62) ? c % 2000 : c;
                same("dt_range_months", dt_range_months, a, b, count);
                break;
            }
        }
    }
    TovDestroyGlobals();
    return 0;
}
