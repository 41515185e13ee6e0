#pragma once
// The longest word of a fixed set that a text continues with, at every byte
// position of the text at once, in time linear in the text (and, to build,
// in the total bytes of the words) however long the words are.
//
// The words are kept reversed in an automaton of their common endings: read
// from the text's end to its start, its state after the byte at p is the
// longest start of a reversed word that ends the bytes read, so the longest
// whole word found there is the longest word the text continues with from p.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class LongestWordMatch {
public:
    // Empty words are left out.
    void build(const std::vector<std::string>& words);

    // For every byte position p of text, the byte length of the longest word
    // equal to the bytes of text from p; 0 where none is.
    std::vector<uint32_t> longestAt(std::string_view text) const;

private:
    // The node reached from node by byte, or kNone.
    uint32_t child(uint32_t node, uint8_t byte) const;

    static constexpr uint32_t kNone = UINT32_MAX;
    // Nodes in breadth-first order, the root first: the children of a node
    // are the nodes firstChild .. firstChild + childCount - 1, by byte.
    std::vector<uint32_t> firstChild;
    std::vector<uint16_t> childCount;
    std::vector<uint8_t> byteOf;
    // The node of the longest proper ending of a node's bytes.
    std::vector<uint32_t> fallback;
    // The length of the longest whole word ending a node's bytes.
    std::vector<uint32_t> longestWord;
};
