// Calling any export with arguments drawn from the fuzzer's bytes.
#pragma once

#include <deque>
#include <functional>
#include <tuple>
#include <vector>

#include "common.hpp"

// Draws the arguments of one call: texts (sometimes the null pointer) and integers.
struct Draw {
    explicit Draw(FuzzedDataProvider& source) : in(source) {}
    FuzzedDataProvider& in;
    std::deque<std::string> texts;  // kept alive, and in place, for the call
    bool sawNull = false;

    const char* text() {
        if (in.ConsumeIntegralInRange<int>(0, 15) == 0) {
            sawNull = true;
            return nullptr;
        }
        texts.push_back(in.ConsumeRandomLengthString(1 << 16));
        return texts.back().c_str();
    }
    int integer() {
        switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: return in.ConsumeIntegralInRange<int>(-3, 8);
            case 1: return in.PickValueInArray({INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX});
            default: return in.ConsumeIntegral<int>();
        }
    }
};

// One export as the harness calls it: draws its arguments, returns its result
// and the same call with every null text replaced by "".
struct Call {
    std::optional<std::string> result;
    std::optional<std::string> again;       // the same arguments once more
    std::optional<std::string> withEmpty;   // nulls passed as "" (when a null was drawn)
    bool sawNull = false;
};

using Runner = std::function<Call(FuzzedDataProvider&)>;

// Wraps f(args...) where each argument kind is drawn by Draw.
template <class... Args>
Runner textExport(const char* (*f)(Args...)) {
    return [f](FuzzedDataProvider& in) {
        Draw draw(in);
        std::tuple<Args...> args{[&] {
            if constexpr (std::is_same_v<Args, const char*>) return draw.text();
            else return draw.integer();
        }()...};
        Call call;
        call.result = take(std::apply(f, args));
        call.again = take(std::apply(f, args));
        call.sawNull = draw.sawNull;
        if (draw.sawNull) {
            std::apply([](auto&... a) { ((void)([&] {
                if constexpr (std::is_same_v<std::decay_t<decltype(a)>, const char*>) {
                    if (a == nullptr) a = "";
                }
            }()), ...); }, args);
            call.withEmpty = take(std::apply(f, args));
        }
        return call;
    };
}

inline void checkCall(const Call& call, const char* name) {
    FUZZ_CHECK(call.again == call.result, name, shown(call.result), shown(call.again));
    if (call.sawNull) FUZZ_CHECK(call.withEmpty == call.result, name, shown(call.result), shown(call.withEmpty));
}

// One entry of a library's table of exports.
struct NamedExport {
    const char* name;
    Runner run;
};

// Calls exports drawn from the table, with drawn arguments, until the input is
// used up, and checks every call.
inline void fuzzExportTable(const std::vector<NamedExport>& exports, const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    while (in.remaining_bytes() > 0) {
        const NamedExport& e = exports[in.ConsumeIntegralInRange<size_t>(0, exports.size() - 1)];
        checkCall(e.run(in), e.name);
    }
}
