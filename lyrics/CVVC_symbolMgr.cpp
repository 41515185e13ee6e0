#include "lyrics/CVVC_symbolMgr.h"

#include "lyrics/BuiltinCvvcTable.h"

#include <utility>

namespace Halvoren {

void CVVC_symbolMgr::parseTable(std::string text) {
    const std::vector<std::string> sections = piecesOf(text, "|");
    table.clear();
    voicedConsonants.clear();
    breaths.clear();
    if (sections.size() != 4) return;

    table.parse(sections[0], sections[2], false);
    voicedConsonants = piecesOf(sections[1], ",");
    breaths = piecesOf(sections[3], ",");
}

void CVVC_symbolMgr::loadBuiltinTable() {
    parseTable(BuiltinCvvcTable());
}

void CVVC_symbolMgr::splitSyllable(const std::string& symbol, std::string& consonant,
                                   std::string& vowel) {
    // Both units are worked out before either output is written, so an
    // output may be the very string that is split.
    bool standsAlone = false;
    const bool isVowelUnit = isFinal(symbol, standsAlone);
    std::string consonantUnit = isVowelUnit ? symbol : valueOf(table.consonantOf, symbol);
    std::string vowelUnit = isVowelUnit ? symbol : valueOf(table.vowelOf, symbol);
    consonant = std::move(consonantUnit);
    vowel = std::move(vowelUnit);
}

bool CVVC_symbolMgr::isVoiced(const std::string& symbol) {
    return contains(voicedConsonants, symbol);
}

bool CVVC_symbolMgr::isZeroInitialSyllable(const std::string& symbol) {
    return table.isZeroInitialSyllable(symbol);
}

bool CVVC_symbolMgr::isFinal(const std::string& symbol, bool& standsAlone) {
    return table.isFinal(symbol, standsAlone);
}

std::string CVVC_symbolMgr::carrierSyllable(const std::string& symbol) {
    return valueOf(table.carrierOf, symbol);
}

bool CVVC_symbolMgr::hasMedial(const std::string&) { return false; }

bool CVVC_symbolMgr::isBreath(const std::string& symbol) {
    return contains(breaths, symbol);
}

bool CVVC_symbolMgr::isExtraUnit(const std::string&) { return false; }

bool CVVC_symbolMgr::isValidSymbol(const std::string& symbol) {
    bool standsAlone = false;
    return contains(table.syllables, symbol) || isFinal(symbol, standsAlone) || isBreath(symbol);
}

std::string CVVC_symbolMgr::substituteConsonant(const std::string& symbol) { return symbol; }

} // namespace Halvoren
