#pragma once
// The demo bank's lyric dictionary ("word=symbols" lines, the singer text
// dictionary format): every spelling of every valid pinyin syllable
// (SyllableSpellings.h) for the syllable, every character of the character
// dictionary for the pinyin of its own reading (its most frequent one), and
// every phrase whose characters read differently together for the pinyin of
// its readings, blank-separated. Characters and phrases with a reading
// that is no valid syllable are left out (the bank has no unit to sing it).
#include <ostream>

#include "lyrics/PinyinDict.h"

namespace demobank {

// Lines in the order: syllables' spellings, then characters and their phrases by code point.
// Returns the number of lines.
std::size_t writeLyricDictionary(std::ostream& out, const CPinyinDict& pinyin);

}  // namespace demobank
