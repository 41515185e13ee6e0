#include "lyrics/CVVC_symbolMgr.h"

#include "lyrics/BuiltinCvvcTable.h"

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
    bool standsAlone = false;
    table.split(symbol, isFinal(symbol, standsAlone), consonant, vowel);
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
