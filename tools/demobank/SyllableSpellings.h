#pragma once
// The ways a pinyin syllable is written in lyrics: in lower case, with a
// capital first letter or all in capitals; bare, with a tone digit (1 to 5)
// after it, or with the tone mark of tones 1 to 4 on the letter that carries
// it; ü (a "v" of the syllable) as v or as ü, tone marks on ü only.
#include <string>
#include <vector>

namespace demobank {

// Every spelling of a syllable of the syllable list (lower-case ASCII, "v"
// for ü), the syllable itself first, each once. A syllable with a letter the
// tone mark cannot go on has no marked spellings.
std::vector<std::string> syllableSpellings(const std::string& syllable);

}  // namespace demobank
