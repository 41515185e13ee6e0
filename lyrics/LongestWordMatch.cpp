#include "lyrics/LongestWordMatch.h"

#include <algorithm>

void LongestWordMatch::build(const std::vector<std::string>& words)
{
    std::vector<std::string> reversed;
    for (const std::string& w : words)
        if (!w.empty()) reversed.emplace_back(w.rbegin(), w.rend());
    std::sort(reversed.begin(), reversed.end());
    reversed.erase(std::unique(reversed.begin(), reversed.end()), reversed.end());

    // A node is the run of sorted reversed words that begin with its bytes;
    // its children split the run by the next byte. Made level by level, the
    // children of each node are numbered one after another.
    struct Run {
        size_t lo, hi, depth;
    };
    std::vector<Run> runs{{0, reversed.size(), 0}};
    firstChild.assign(1, 0);
    childCount.assign(1, 0);
    byteOf.assign(1, 0);
    longestWord.assign(1, 0);
    for (size_t node = 0; node < runs.size(); ++node) {
        auto [lo, hi, depth] = runs[node];
        // In byte order the word that is the node's bytes alone comes first.
        if (lo < hi && reversed[lo].size() == depth) longestWord[node] = static_cast<uint32_t>(depth), ++lo;
        firstChild[node] = static_cast<uint32_t>(runs.size());
        while (lo < hi) {
            const char byte = reversed[lo][depth];
            size_t end = lo + 1;
            while (end < hi && reversed[end][depth] == byte) ++end;
            runs.push_back({lo, end, depth + 1});
            byteOf.push_back(static_cast<uint8_t>(byte));
            firstChild.push_back(0);
            childCount.push_back(0);
            longestWord.push_back(0);
            ++childCount[node];
            lo = end;
        }
    }

    // Breadth-first, every node's fallback is found from its parent's, whose
    // depth is lower; a node that is no whole word takes its fallback's word.
    fallback.assign(runs.size(), 0);
    for (uint32_t node = 0; node < runs.size(); ++node) {
        for (uint32_t k = 0; k < childCount[node]; ++k) {
            const uint32_t c = firstChild[node] + k;
            uint32_t f = fallback[node];
            uint32_t next = kNone;
            while (node != 0 && (next = child(f, byteOf[c])) == kNone && f != 0) f = fallback[f];
            fallback[c] = node == 0 || next == kNone ? 0 : next;
            if (longestWord[c] == 0) longestWord[c] = longestWord[fallback[c]];
        }
    }
}

uint32_t LongestWordMatch::child(uint32_t node, uint8_t byte) const
{
    const auto first = byteOf.begin() + firstChild[node];
    const auto last = first + childCount[node];
    const auto it = std::lower_bound(first, last, byte);
    return it != last && *it == byte ? static_cast<uint32_t>(it - byteOf.begin()) : kNone;
}

std::vector<uint32_t> LongestWordMatch::longestAt(std::string_view text) const
{
    std::vector<uint32_t> longest(text.size(), 0);
    if (firstChild.empty()) return longest;
    // Each byte moves one node deeper at most, and every fallback moves at
    // least one shallower: the walk takes at most two steps per byte.
    uint32_t node = 0;
    for (size_t p = text.size(); p-- > 0;) {
        const auto byte = static_cast<uint8_t>(text[p]);
        uint32_t next;
        while ((next = child(node, byte)) == kNone && node != 0) node = fallback[node];
        node = next == kNone ? 0 : next;
        longest[p] = longestWord[node];
    }
    return longest;
}
