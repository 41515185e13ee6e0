#include "lyrics/v6/CVVCMgr.h"

namespace HalvorenEngineV6 {

using Halvoren::contains;
using Halvoren::piecesOf;
using Halvoren::valueOf;

void CVVCMgr::parseTable(std::string text) {
    const std::vector<std::string> sections = piecesOf(text, "|");
    table.clear();
    voicedConsonants.clear();
    wholeUnits.clear();
    breaths.clear();
    extraUnits.clear();
    if (sections.size() != 5 && sections.size() != 6) return;

    table.parse(sections[0], sections[3], true);
    voicedConsonants = piecesOf(sections[1], ",");
    wholeUnits = piecesOf(sections[2], ",");
    breaths = piecesOf(sections[4], ",");
    if (sections.size() == 6) extraUnits = piecesOf(sections[5], ",");
}

void CVVCMgr::splitSyllable(const std::string& symbol, std::string& consonant,
                            std::string& vowel) {
    bool standsAlone = false;
    const bool unsplit =
        isFinal(symbol, standsAlone) || isExtraUnit(symbol) || isWholeUnit(symbol);
    table.split(symbol, unsplit, consonant, vowel);
}

bool CVVCMgr::isVoiced(const std::string& symbol) {
    return contains(voicedConsonants, symbol);
}

bool CVVCMgr::isZeroInitialSyllable(const std::string& symbol) {
    return table.isZeroInitialSyllable(symbol);
}

bool CVVCMgr::isFinal(const std::string& symbol, bool& standsAlone) {
    return table.isFinal(symbol, standsAlone);
}

std::string CVVCMgr::carrierSyllable(const std::string& symbol) {
    return valueOf(table.carrierOf, symbol);
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
    return contains(table.syllables, symbol) || isFinal(symbol, standsAlone) || isBreath(symbol);
}

std::string CVVCMgr::substituteConsonant(const std::string& symbol) { return symbol; }

} // namespace HalvorenEngineV6
