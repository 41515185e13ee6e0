#include "lyrics/CVVC_symbolMgr.h"

#include "lyrics/BuiltinCvvcTable.h"
#include "lyrics/SymbolTableUtil.h"

#include <utility>

namespace Halvoren {

void CVVC_symbolMgr::parseTable(std::string text) {
    const std::vector<std::string> sections = piecesOf(text, "|");
    syllables.clear();
    consonantOf.clear();
    vowelOf.clear();
    voicedConsonants.clear();
    vowels.clear();
    carrierOf.clear();
    breaths.clear();
    if (sections.size() != 4) return;

    for (const std::string& row : piecesOf(sections[0], ";")) {
        const std::vector<std::string> fields = piecesOf(row, ",");
        if (fields.size() < 3) continue;
        syllables.push_back(fields[0]);
        consonantOf.emplace(fields[0], fields[1]);
        vowelOf.emplace(fields[0], fields[2]);
    }
    voicedConsonants = piecesOf(sections[1], ",");
    for (const std::string& pair : piecesOf(sections[2], ";")) {
        const std::vector<std::string> fields = piecesOf(pair, ",");
        if (fields.size() < 2) continue;
        carrierOf.emplace(fields[0], fields[1]);
        vowels.push_back(fields[0]);
    }
    breaths = piecesOf(sections[3], ",");
}

void CVVC_symbolMgr::loadBuiltinTable() {
    parseTable(builtinCvvcTable());
}

void CVVC_symbolMgr::splitSyllable(const std::string& symbol, std::string& consonant,
                                   std::string& vowel) {
    // Both units are worked out before either output is written, so an
    // output may be the very string that is split.
    bool standsAlone = false;
    const bool isVowelUnit = isFinal(symbol, standsAlone);
    std::string consonantUnit = isVowelUnit ? symbol : valueOf(consonantOf, symbol);
    std::string vowelUnit = isVowelUnit ? symbol : valueOf(vowelOf, symbol);
    consonant = std::move(consonantUnit);
    vowel = std::move(vowelUnit);
}

bool CVVC_symbolMgr::isVoiced(const std::string& symbol) {
    return contains(voicedConsonants, symbol);
}

bool CVVC_symbolMgr::isZeroInitialSyllable(const std::string& symbol) {
    auto found = carrierOf.find(symbol);
    return found != carrierOf.end() && found->second == symbol;
}

bool CVVC_symbolMgr::isFinal(const std::string& symbol, bool& standsAlone) {
    standsAlone = false;
    auto found = carrierOf.find(symbol);
    if (found == carrierOf.end()) return false;
    standsAlone = found->second == symbol;
    return true;
}

std::string CVVC_symbolMgr::carrierSyllable(const std::string& symbol) {
    return valueOf(carrierOf, symbol);
}

bool CVVC_symbolMgr::hasMedial(const std::string&) { return false; }

bool CVVC_symbolMgr::isBreath(const std::string& symbol) {
    return contains(breaths, symbol);
}

bool CVVC_symbolMgr::isExtraUnit(const std::string&) { return false; }

bool CVVC_symbolMgr::isValidSymbol(const std::string& symbol) {
    bool standsAlone = false;
    return contains(syllables, symbol) || isFinal(symbol, standsAlone) || isBreath(symbol);
}

std::string CVVC_symbolMgr::substituteConsonant(const std::string& symbol) { return symbol; }

} // namespace Halvoren
