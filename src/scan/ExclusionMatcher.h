// Finds, in one pass over a text, whether any of several hundred entries occurs in it, without regard to
// case. Every finding of a scan is tested against all the exclusion lists, so testing the entries one by
// one would cost a search per entry per finding; this walks each text once whatever the number of
// entries (an automaton over the case-folded entries).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace brisko::scan {

class ExclusionMatcher {
public:
    // Each entry belongs to one or more kinds (bits); a search asks for the kinds it wants.
    using Kinds = std::uint8_t;

    ExclusionMatcher();

    void Clear();
    // An empty entry is not added: it would occur in every text.
    void Add(std::string_view entry, Kinds kinds);
    // Prepares the searches; call after the last Add and before the first search.
    void Build();

    // True when an entry of one of `kinds` occurs in the text made of `pieces` one after the other (the
    // text need not be put together first). Safe to call from several threads while nothing adds.
    bool Contains(std::initializer_list<std::string_view> pieces, Kinds kinds) const;

private:
    struct Node {
        std::vector<std::pair<unsigned char, std::int32_t>> next;  // sorted by character
        std::int32_t fallback = 0;  // the longest proper suffix of this node's text that is a prefix
        Kinds ends = 0;             // kinds of the entries that end here or at a suffix of here
    };
    std::int32_t Child(std::int32_t node, unsigned char c) const;
    std::int32_t Step(std::int32_t node, unsigned char c) const;

    std::vector<Node> nodes_;
};

}  // namespace brisko::scan
