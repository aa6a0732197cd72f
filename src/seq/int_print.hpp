// Printing an integer list whose neighbours mostly share their sign and digit
// count, as a sorted list's do: several items a step, their digits made in
// vector lanes and written at a fixed stride. Items that break a run of the
// same width are written one at a time, so the text is the same for any
// list; only the speed depends on the order.
#pragma once

#include <cstdint>

#include "frame/arena.hpp"
#include "frame/codec/digits.hpp"
#include "frame/codec/textcodec.hpp"

namespace karpa {

// The list joined with "," (as printIntList writes it).
const char* printIntListInRuns(const IntList& list);

namespace int_print {

// The values that print with one sign and `width` digits.
struct Run {
    int64_t low;
    int64_t high;
    unsigned width;
    bool negative;
};

inline Run runOf(int64_t x) {
    const bool negative = x < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(x) : static_cast<uint64_t>(x);
    const unsigned width = static_cast<unsigned>(decimalDigits(magnitude));
    if (width > 16) return {x, x, width, negative};
    const int64_t smallest = width == 1 ? 0 : static_cast<int64_t>(kPowersOf10[width - 1]);
    const int64_t largest = static_cast<int64_t>(kPowersOf10[width]) - 1;
    return {negative ? -largest : smallest, negative ? (width == 1 ? -1 : -smallest) : largest, width, negative};
}

// A tier's printer: `digits(items, run, heads, lows)` answers whether the
// Lanes items all lie in `run` (of at most MaxWidth digits) and then gives
// each item's text: `heads` its leading digits (all of them up to eight)
// shifted past the leading zeros, `lows` its last eight past eight digits.
template <unsigned Lanes, unsigned MaxWidth, class Digits>
const char* printRuns(const IntList& list, Digits digits) {
    const size_t n = list.size();
    if (n == 0) return "";
    const int64_t* const a = list.data();
    TextBuilder out;
    // The fixed-stride stores write a whole word for each item; the slack
    // keeps the last one inside the room.
    char* p = out.room(n * (kMaxIntText + 1) + 8);
    size_t i = 0;
    alignas(64) uint64_t heads[Lanes];
    alignas(64) uint64_t lows[Lanes];
    while (i + Lanes <= n) {
        const Run run = runOf(a[i]);
        if (run.width > MaxWidth || !digits(a + i, run, heads, lows)) {
            p = writeInt(p, a[i]);
            *p++ = ',';
            ++i;
            continue;
        }
        const unsigned sign = run.negative ? 1 : 0;
        const unsigned width = run.width;
        for (unsigned k = 0; k < Lanes; ++k) {
            *p = '-';
            store8(p + sign, heads[k]);
            if (width > 8) store8(p + sign + width - 8, lows[k]);
            p[sign + width] = ',';
            p += sign + width + 1;
        }
        i += Lanes;
    }
    for (; i < n; ++i) {
        p = writeInt(p, a[i]);
        *p++ = ',';
    }
    out.commit(p - 1);  // without the last separator
    return out.finish();
}

const char* printAvx2(const IntList& list);
const char* printAvx512(const IntList& list);

}  // namespace int_print
}  // namespace karpa
