#pragma once
// Small lookups shared by the symbol managers: exact, case-sensitive
// comparisons of whole strings, and the syllable rows and vowel carriers
// that both consonant-vowel tables hold.
#include <algorithm>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/StringUtil.h"

namespace Halvoren {

inline bool isOneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

inline bool contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

// The value stored for key, or an empty string when there is none.
inline std::string valueOf(const std::map<std::string, std::string>& map, const std::string& key) {
    auto found = map.find(key);
    return found == map.end() ? std::string() : found->second;
}

// The pieces of text between separators (see splitString).
inline std::vector<std::string> piecesOf(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    splitString(pieces, text, separator);
    return pieces;
}

// Rows "syllable,consonant,vowel" and pairs "vowel,carrier syllable", each
// joined by ";". Maps keep the first value given for a key; the lists keep
// repeats. Nothing is trimmed.
struct CvvcRowsAndCarriers {
    std::vector<std::string> syllables;
    std::map<std::string, std::string> consonantOf;
    std::map<std::string, std::string> vowelOf;
    std::vector<std::string> vowels;
    std::map<std::string, std::string> carrierOf;

    // Replaces the content. An entry with fewer fields than it needs is
    // skipped; one with more is skipped too when exactFields, else its extra
    // fields are ignored.
    void parse(const std::string& rows, const std::string& carriers, bool exactFields) {
        clear();
        auto usable = [exactFields](size_t count, size_t needed) {
            return exactFields ? count == needed : count >= needed;
        };
        for (const std::string& row : piecesOf(rows, ";")) {
            const std::vector<std::string> fields = piecesOf(row, ",");
            if (!usable(fields.size(), 3)) continue;
            syllables.push_back(fields[0]);
            consonantOf.emplace(fields[0], fields[1]);
            vowelOf.emplace(fields[0], fields[2]);
        }
        for (const std::string& pair : piecesOf(carriers, ";")) {
            const std::vector<std::string> fields = piecesOf(pair, ",");
            if (!usable(fields.size(), 2)) continue;
            carrierOf.emplace(fields[0], fields[1]);
            vowels.push_back(fields[0]);
        }
    }

    void clear() {
        syllables.clear();
        consonantOf.clear();
        vowelOf.clear();
        vowels.clear();
        carrierOf.clear();
    }

    // A vowel unit is a key of the carriers; it stands alone when it is its
    // own carrier.
    bool isFinal(const std::string& symbol, bool& standsAlone) const {
        standsAlone = false;
        auto found = carrierOf.find(symbol);
        if (found == carrierOf.end()) return false;
        standsAlone = found->second == symbol;
        return true;
    }

    bool isZeroInitialSyllable(const std::string& symbol) const {
        bool standsAlone = false;
        return isFinal(symbol, standsAlone) && standsAlone;
    }

    // Sets consonant and vowel to symbol itself when it is not split, else to
    // the units of its row (empty when it has none). Both units are worked
    // out before either output is written, so an output may be the very
    // string that is split.
    void split(const std::string& symbol, bool unsplit, std::string& consonant,
               std::string& vowel) const {
        std::string consonantUnit = unsplit ? symbol : valueOf(consonantOf, symbol);
        std::string vowelUnit = unsplit ? symbol : valueOf(vowelOf, symbol);
        consonant = std::move(consonantUnit);
        vowel = std::move(vowelUnit);
    }
};

} // namespace Halvoren
