// Core procedures of the statistics exports of karpa_curried.
//
// Integer arithmetic is checked (OverflowDefect on overflow). Float arithmetic
// is plain binary64 in a fixed order: running sums go left to right from +0.0,
// every product is rounded before it is added, and the build forbids
// contraction into fused multiply-add, so results are the same bit for bit on
// every machine. The procedures that need at least one item say so; the
// exports answer empty lists before calling them.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/arena.hpp"
#include "seq/listops.hpp"  // sumImpl, minmaxImpl

namespace karpa {

// Integer lists.
double meanImpl(const IntList& list);       // 0.0 for no items
double varianceImpl(const IntList& list);   // population variance; 0.0 for no items
double stddevImpl(const IntList& list);
double medianImpl(IntList list);            // reorders its own copy; 0.0 for no items
int64_t dotImpl(const IntList& a, const IntList& b);  // over the shorter length
// The same with the list that the text b reads as, read while multiplying.
int64_t dotImpl(const IntList& a, std::string_view b);
double l2normImpl(const IntList& list);

// Float lists.
double meanImpl(const FloatList& list);     // 0.0 for no items
double varianceImpl(const FloatList& list);
double stddevImpl(const FloatList& list);
double medianImpl(FloatList list);
double dotImpl(const FloatList& a, const FloatList& b);
double l2normImpl(const FloatList& list);

}  // namespace karpa
