#pragma once
// The singer dictionary targets' common run: the input is also the lyric
// looked up, so words of the dictionary occur in it.
#include <string>
#include <vector>

#include "lyrics/SingerLyricDict.h"
#include "support/FuzzInput.h"

namespace hvfuzz {

inline void lookUpLyric(CSingerLyricDict& dict, const uint8_t* data, size_t size)
{
    std::vector<std::string> words, symbols;
    dict.lookup(std::string(reinterpret_cast<const char*>(data), size), words, symbols);
    if (words.size() != symbols.size()) fail("one symbol text per word");
}

}  // namespace hvfuzz
