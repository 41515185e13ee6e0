#pragma once
// Turns the Mandarin readings of the Unihan database into the two character
// lists of the dictionary folder: "zh_list" with the reading of every
// character that has frequency data (kHanyuPinlu), "zh_listx" with that of
// every other character. A character's readings come from kHanyuPinlu (most
// frequent first), kMandarin, kTGHZ2013, kXHC1983 and kHanyuPinyin, in this
// order; only readings that are valid syllables the dictionary knows are
// used, and the first of them is the character's own (until a word list
// ranks them, RimeWords.h).
#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// A reading with tone marks ("zhōng", "lǜ", "ma") as a dictionary symbol
// ("zhong1", "lv4", "ma5"); nothing when it has other letters or the
// dictionary does not know the symbol.
std::optional<std::string> markedPinyinToSymbol(std::string_view reading);

struct UnihanLists {
    std::map<std::uint32_t, std::string> common;  // zh_list
    std::map<std::uint32_t, std::string> other;   // zh_listx, disjoint from common
    // Every usable reading of each listed character, in the order above.
    std::map<std::uint32_t, std::vector<std::string>> readings;
    // Distinct readings of a character that are no valid known syllable.
    int skippedReadings = 0;
};

// Reads the lines of Unihan_Readings.txt.
UnihanLists convertUnihanReadings(std::istream& in);

// One "character<TAB>symbol" line per entry, in code point order, after a
// comment line.
void writeCharacterList(std::ostream& out, const std::map<std::uint32_t, std::string>& entries,
                        std::string_view comment);
