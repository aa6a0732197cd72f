// A model of string lists for the string harnesses: pieces as std::string,
// and texts drawn from fragments that share seven- and eight-byte beginnings
// (where the string sort's key ends), blanks, empty pieces and high bytes, or
// raw bytes.
#pragma once

#include <algorithm>

#include "common.hpp"

namespace string_model {

using Strings = std::vector<std::string>;

inline std::string join(const Strings& xs) {
    std::string out;
    for (size_t i = 0; i < xs.size(); ++i) out += (i ? "," : "") + xs[i];
    return out;
}

// Every piece between commas; the empty text is one empty piece.
inline Strings allPieces(const std::string& text) {
    Strings out;
    for (std::string_view piece : pieces(text)) out.emplace_back(piece);
    return out;
}

inline bool has(const Strings& xs, const std::string& x) { return std::find(xs.begin(), xs.end(), x) != xs.end(); }

inline Strings firstOccurrences(const Strings& xs) {
    Strings out;
    for (const auto& x : xs) {
        if (!has(out, x)) out.push_back(x);
    }
    return out;
}

inline std::string drawText(FuzzedDataProvider& in) {
    static const char* const fragments[] = {"", "a", "b", " ", "\t", "abcdefg", "abcdefgh", "\xff", "\x01", "zz", "A"};
    if (in.ConsumeBool()) return asArgument(in.ConsumeRandomLengthString(256));
    std::string text;
    const int count = in.ConsumeIntegralInRange<int>(0, 24);
    for (int i = 0; i < count; ++i) {
        if (i) text += ',';
        const int parts = in.ConsumeIntegralInRange<int>(0, 3);
        for (int k = 0; k < parts; ++k) text += fragments[in.ConsumeIntegralInRange<size_t>(0, std::size(fragments) - 1)];
    }
    return text;
}

}  // namespace string_model
