#pragma once
// Turns the word list of a Rime pinyin dictionary ("pinyin_simp.dict.yaml":
// after the "..." that ends its header, lines "word<TAB>toneless
// syllables<TAB>weight") into phrases of the dictionary lists. Each syllable
// takes the tone of the first reading of its own character (the order of
// UnihanLists::readings) with the same toneless syllable; a word one of whose
// syllables no reading of its character has is left out. Of several readings
// of one word the one of the highest weight is kept (the first of equal
// weights). The lines of single characters weigh their readings instead.
#include <cstdint>
#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/unihan/UnihanReadings.h"

struct RimeWords {
    // Word (code points, two or more) to one symbol per character.
    std::map<std::vector<std::uint32_t>, std::vector<std::string>> phrases;
    // Words of two or more characters none of whose readings could be matched.
    int leftOut = 0;
    // The weight of each toneless syllable ("ve" for ü) a single character
    // is read with: the highest of its lines.
    std::map<std::uint32_t, std::map<std::string, long long>> characterWeights;
};

RimeWords convertRimeWords(std::istream& in,
                           const std::map<std::uint32_t, std::vector<std::string>>& readings);

// Puts the readings of each character the word list weighs two or more
// syllables of in the order of those weights, the heaviest first; readings of
// equal weight, and those it does not weigh (after the weighed ones), keep
// their order. The character's own reading in its list becomes the first.
// A single weighed syllable ranks nothing: the list names some rare
// characters with one odd reading only.
void rankReadingsByWeight(UnihanLists& lists, const RimeWords& words);

// One "(X1 X2 ...)<TAB>sym1sym2..." line per phrase after a comment line;
// nothing follows the last symbol.
void writePhraseList(std::ostream& out,
                     const std::map<std::vector<std::uint32_t>, std::vector<std::string>>& phrases,
                     std::string_view comment);
