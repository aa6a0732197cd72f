// Order-keeping collection procedures of karpa_curried. Outputs follow the
// order of the input lists; the seen-sets only answer membership.
#pragma once

#include "frame/arena.hpp"
#include "seq/seenset.hpp"

namespace karpa {

// Distinct values are the sequence library's order-keeping unique walk.
template <class T>
ArenaVec<T> distinctImpl(const ArenaVec<T>& list) {
    return uniqueImpl(list);
}

// The first occurrences of the items of a, then those of b not met before.
template <class T>
ArenaVec<T> unionImpl(const ArenaVec<T>& a, const ArenaVec<T>& b) {
    ArenaVec<T> out;
    out.reserve(a.size() + b.size());
    SeenSet<T> seen = initHashSet<T>(64);
    appendUnseen(out, seen, a);
    appendUnseen(out, seen, b);
    return out;
}

// The items of a that occur in b, each once, in the order of a.
template <class T>
ArenaVec<T> intersectImpl(const ArenaVec<T>& a, const ArenaVec<T>& b) {
    ArenaVec<T> out;
    const SeenSet<T> inB = toHashSet(b, quarterRoom(b));
    SeenSet<T> seen = initHashSet<T>(64);
    for (const T& x : a) {
        if (contains(inB, x) && inclNew(seen, x)) out.push_back(x);
    }
    return out;
}

// The items of a that do not occur in b, in the order of a; repeats stay.
template <class T>
ArenaVec<T> diffImpl(const ArenaVec<T>& a, const ArenaVec<T>& b) {
    ArenaVec<T> out;
    out.reserve(a.size());
    const SeenSet<T> inB = toHashSet(b, quarterRoom(b));
    for (const T& x : a) {
        if (!contains(inB, x)) out.push_back(x);
    }
    return out;
}

}  // namespace karpa
