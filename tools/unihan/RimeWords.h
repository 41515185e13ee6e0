#pragma once
// Turns the word list of a Rime pinyin dictionary ("pinyin_simp.dict.yaml":
// after the "..." that ends its header, lines "word<TAB>toneless
// syllables<TAB>weight") into phrases of the dictionary lists. Each syllable
// takes the tone of the first reading of its own character (the order of
// UnihanLists::readings) with the same toneless syllable; a word one of whose
// syllables no reading of its character has is left out. Of several readings
// of one word the one of the highest weight is kept (the first of equal
// weights).
#include <cstdint>
#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

struct RimeWords {
    // Word (code points, two or more) to one symbol per character.
    std::map<std::vector<std::uint32_t>, std::vector<std::string>> phrases;
    // Words of two or more characters none of whose readings could be matched.
    int leftOut = 0;
};

RimeWords convertRimeWords(std::istream& in,
                           const std::map<std::uint32_t, std::vector<std::string>>& readings);

// One "(X1 X2 ...)<TAB>sym1sym2..." line per phrase after a comment line;
// nothing follows the last symbol.
void writePhraseList(std::ostream& out,
                     const std::map<std::vector<std::uint32_t>, std::vector<std::string>>& phrases,
                     std::string_view comment);
