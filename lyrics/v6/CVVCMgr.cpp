#include "lyrics/v6/CVVCMgr.h"

#include <utility>

#include "lyrics/SymbolTableUtil.h"

namespace HalvorenEngineV6 {

using Halvoren::contains;
using Halvoren::piecesOf;
using Halvoren::valueOf;

void CVVCMgr::parseTable(std::string text) {
    const std::vector<std::string> sections = piecesOf(text, "|");
    syllables.clear();
    consonantOf.clear();
    vowelOf.clear();
    voicedConsonants.clear();
    wholeUnits.clear();
    vowels.clear();
    carrierOf.clear();
    breaths.clear();
    extraUnits.clear();
    if (sections.size() != 5 && sections.size() != 6) return;

    for (const std::string& row : piecesOf(sections[0], ";")) {
        const std::vector<std::string> fields = piecesOf(row, ",");
        if (fields.size() != 3) continue;
        syllables.push_back(fields[0]);
        consonantOf.emplace(fields[0], fields[1]);
        vowelOf.emplace(fields[0], fields[2]);
    }
    voicedConsonants = piecesOf(sections[1], ",");
    wholeUnits = piecesOf(sections[2], ",");
    for (const std::string& pair : piecesOf(sections[3], ";")) {
        const std::vector<std::string> fields = piecesOf(pair, ",");
        if (fields.size() != 2) continue;
        carrierOf.emplace(fields[0], fields[1]);
        vowels.push_back(fields[0]);
    }
    breaths = piecesOf(sections[4], ",");
    if (sections.size() == 6) extraUnits = piecesOf(sections[5], ",");
}

void CVVCMgr::splitSyllable(const std::string& symbol, std::string& consonant,
                            std::string& vowel) {
    // Both units are worked out before either output is written, so an
    // output may be the very string that is split.
    bool standsAlone = false;
    const bool unsplit =
        isFinal(symbol, standsAlone) || isExtraUnit(symbol) || isWholeUnit(symbol);
    std::string consonantUnit = unsplit ? symbol : valueOf(consonantOf, symbol);
    std::string vowelUnit = unsplit ? symbol : valueOf(vowelOf, symbol);
    consonant = std::move(consonantUnit);
    vowel = std::move(vowelUnit);
}

bool CVVCMgr::isVoiced(const std::string& symbol) {
    return contains(voicedConsonants, symbol);
}

bool CVVCMgr::isZeroInitialSyllable(const std::string& symbol) {
    auto found = carrierOf.find(symbol);
    return found != carrierOf.end() && found->second == symbol;
}

bool CVVCMgr::isFinal(const std::string& symbol, bool& standsAlone) {
    standsAlone = false;
    auto found = carrierOf.find(symbol);
    if (found == carrierOf.end()) return false;
    standsAlone = found->second == symbol;
    return true;
}

std::string CVVCMgr::carrierSyllable(const std::string& symbol) {
    return valueOf(carrierOf, symbol);
}

bool CVVCMgr::hasMedial(const std::string&) { return false; }

bool CVVCMgr::isBreath(const std::string& symbol) {
    return contains(breaths, symbol);
}

bool CVVCMgr::isWholeUnit(const std::string& symbol) {
    return contains(wholeUnits, symbol);
}

bool CVVCMgr::isExtraUnit(const std::string& symbol) {
    return contains(extraUnits, symbol);
}

bool CVVCMgr::isValidSymbol(const std::string& symbol) {
    bool standsAlone = false;
    return contains(syllables, symbol) || isFinal(symbol, standsAlone) || isBreath(symbol);
}

std::string CVVCMgr::substituteConsonant(const std::string& symbol) { return symbol; }

} // namespace HalvorenEngineV6
