#pragma once
// Turns the Mandarin readings of the Unihan database into the two character
// lists of the dictionary folder: "zh_list" with the most frequent reading of
// every character that has frequency data (kHanyuPinlu), "zh_listx" with the
// kMandarin reading of every other character. Only readings whose symbol the
// dictionary knows are used.
#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// A reading with tone marks ("zhōng", "lǜ", "ma") as a dictionary symbol
// ("zhong1", "lv4", "ma5"); nothing when it has other letters or the
// dictionary does not know the symbol.
std::optional<std::string> markedPinyinToSymbol(std::string_view reading);

struct UnihanLists {
    std::map<std::uint32_t, std::string> common;  // zh_list
    std::map<std::uint32_t, std::string> other;   // zh_listx, disjoint from common
    int skippedReadings = 0;                      // readings with no known symbol
};

// Reads the lines of Unihan_Readings.txt.
UnihanLists convertUnihanReadings(std::istream& in);

// One "character<TAB>symbol" line per entry, in code point order, after a
// comment line.
void writeCharacterList(std::ostream& out, const std::map<std::uint32_t, std::string>& entries,
                        std::string_view comment);
