#include "scan/ExclusionMatcher.h"

#include <algorithm>

#include "platform/Text.h"

namespace brisko::scan {

namespace {
unsigned char Fold(char c) {
    return static_cast<unsigned char>(platform::FoldChar(c));
}
}  // namespace

ExclusionMatcher::ExclusionMatcher() {
    Clear();
}

void ExclusionMatcher::Clear() {
    nodes_.clear();
    nodes_.emplace_back();
}

std::int32_t ExclusionMatcher::Child(std::int32_t node, unsigned char c) const {
    const auto& next = nodes_[static_cast<std::size_t>(node)].next;
    auto it = std::lower_bound(next.begin(), next.end(), c,
                               [](const auto& edge, unsigned char key) { return edge.first < key; });
    return it != next.end() && it->first == c ? it->second : -1;
}

void ExclusionMatcher::Add(std::string_view entry, Kinds kinds) {
    if (entry.empty()) return;
    std::int32_t node = 0;
    for (char ch : entry) {
        unsigned char c = Fold(ch);
        std::int32_t child = Child(node, c);
        if (child < 0) {
            child = static_cast<std::int32_t>(nodes_.size());
            auto& next = nodes_[static_cast<std::size_t>(node)].next;
            auto at = std::lower_bound(next.begin(), next.end(), c,
                                       [](const auto& edge, unsigned char key) { return edge.first < key; });
            next.insert(at, {c, child});
            nodes_.emplace_back();
        }
        node = child;
    }
    nodes_[static_cast<std::size_t>(node)].ends |= kinds;
}

void ExclusionMatcher::Build() {
    // Breadth first, so that a node's fallback (always shallower) is complete before the node itself.
    std::vector<std::int32_t> queue;
    queue.reserve(nodes_.size());
    for (const auto& edge : nodes_[0].next) {
        nodes_[static_cast<std::size_t>(edge.second)].fallback = 0;
        queue.push_back(edge.second);
    }
    for (std::size_t i = 0; i < queue.size(); ++i) {
        std::int32_t node = queue[i];
        for (const auto& [c, child] : nodes_[static_cast<std::size_t>(node)].next) {
            std::int32_t fallback = Step(nodes_[static_cast<std::size_t>(node)].fallback, c);
            Node& target = nodes_[static_cast<std::size_t>(child)];
            target.fallback = fallback;
            target.ends |= nodes_[static_cast<std::size_t>(fallback)].ends;
            queue.push_back(child);
        }
    }
}

std::int32_t ExclusionMatcher::Step(std::int32_t node, unsigned char c) const {
    for (;;) {
        std::int32_t child = Child(node, c);
        if (child >= 0) return child;
        if (node == 0) return 0;
        node = nodes_[static_cast<std::size_t>(node)].fallback;
    }
}

bool ExclusionMatcher::Contains(std::initializer_list<std::string_view> pieces, Kinds kinds) const {
    std::int32_t node = 0;
    for (std::string_view piece : pieces) {
        for (char ch : piece) {
            node = Step(node, Fold(ch));
            if (nodes_[static_cast<std::size_t>(node)].ends & kinds) return true;
        }
    }
    return false;
}

}  // namespace brisko::scan
