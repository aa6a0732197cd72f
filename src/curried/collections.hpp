// Order-keeping collection procedures of karpa_curried. Outputs follow the
// order of the input lists; the seen-sets only answer membership.
#pragma once

#include "frame/arena.hpp"
#include "seq/seenset.hpp"
#include "seq/string_pieces.hpp"

namespace karpa {

// Distinct values are the sequence library's order-keeping unique walk.
template <class T>
ArenaVec<T> distinctImpl(const ArenaVec<T>& list) {
    return uniqueImpl(list);
}

// String sets work on the pieces of the texts (the empty text is one empty
// piece), with no list of items in between.

// The first occurrences of the pieces of a, then those of b not met before.
inline const char* unionStringsImpl(std::string_view a, std::string_view b) {
    PieceSet seen = pieceSetFor({a, b});
    PieceWriter out(a.size() + b.size() + 2);
    putUnseenPieces(out, seen, a);
    putUnseenPieces(out, seen, b);
    return out.finish();
}

// The set of the pieces of b.
inline PieceSet piecesOf(std::string_view b) {
    PieceSet set = pieceSetFor({b});
    walkPieces(b, set, [&set](const PieceKey& piece) { inclNew(set, piece); });
    return set;
}

// The pieces of a that occur in b, each once, in the order of a.
inline const char* intersectStringsImpl(std::string_view a, std::string_view b) {
    const PieceSet inB = piecesOf(b);
    PieceSet seen = initPieceSet(64);
    PieceWriter out(a.size() + 1);
    forEachPieceKey(a, inB, [&](const PieceKey& piece) {
        if (contains(inB, piece) && inclNew(seen, piece)) out.put(piece.view());
    });
    return out.finish();
}

// The pieces of a that do not occur in b, in the order of a; repeats stay.
inline const char* diffStringsImpl(std::string_view a, std::string_view b) {
    const PieceSet inB = piecesOf(b);
    PieceWriter out(a.size() + 1);
    forEachPieceKey(a, inB, [&](const PieceKey& piece) {
        if (!contains(inB, piece)) out.put(piece.view());
    });
    return out.finish();
}

}  // namespace karpa
