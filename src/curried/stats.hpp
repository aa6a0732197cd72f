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

#include "frame/arena.hpp"

namespace karpa {

template <class T>
struct MinMax {
    T min;
    T max;
};

// Integer lists.
int64_t sumImpl(const IntList& list);       // running sum from the first item; 0 for no items
double meanImpl(const IntList& list);       // 0.0 for no items
MinMax<int64_t> minmaxImpl(const IntList& list);  // needs an item
double varianceImpl(const IntList& list);   // population variance; 0.0 for no items
double stddevImpl(const IntList& list);
double medianImpl(IntList list);            // sorts its own copy; 0.0 for no items
int64_t dotImpl(const IntList& a, const IntList& b);  // over the shorter length
double l2normImpl(const IntList& list);

// Float lists.
double sumImpl(const FloatList& list);      // +0.0 for no items
double meanImpl(const FloatList& list);     // 0.0 for no items
MinMax<double> minmaxImpl(const FloatList& list);  // needs an item
double varianceImpl(const FloatList& list);
double stddevImpl(const FloatList& list);
double medianImpl(FloatList list);
double dotImpl(const FloatList& a, const FloatList& b);
double l2normImpl(const FloatList& list);

// The items strictly below (min) or above (max) the one kept replace it; the
// first of equal items stays, and a NaN replaces nothing unless it comes first.
struct Smaller {
    template <class T>
    bool operator()(T x, T best) const { return x < best; }
};
struct Greater {
    template <class T>
    bool operator()(T x, T best) const { return x > best; }
};

}  // namespace karpa
