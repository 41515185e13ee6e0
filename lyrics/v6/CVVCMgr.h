#pragma once
// Answers the symbol questions of the sixth-generation banks from the bank's
// own phonetic-symbol table, five or six sections joined by "|":
//   1. rows "syllable,consonant,vowel" joined by ";"
//   2. voiced consonant units joined by ","
//   3. whole units (never split) joined by ","
//   4. pairs "vowel,carrier syllable" joined by ";"
//   5. breath symbols joined by ","
//   6. (optional) extra units, also never split, joined by ","
// Nothing is trimmed. Read-only once filled.
#include <string>
#include <vector>

#include "lyrics/ISymbolMgr.h"
#include "lyrics/SymbolTableUtil.h"

namespace HalvorenEngineV6 {

class CVVCMgr : public Halvoren::ISymbolMgr {
public:
    // Replaces the whole content with the table in text. A text of neither
    // five nor six sections leaves the manager empty; a row without exactly
    // three fields and a pair without exactly two are skipped.
    void parseTable(std::string text);

    void splitSyllable(const std::string& symbol, std::string& consonant,
                       std::string& vowel) override;
    bool isVoiced(const std::string& symbol) override;
    bool isZeroInitialSyllable(const std::string& symbol) override;
    bool isFinal(const std::string& symbol, bool& standsAlone) override;
    std::string carrierSyllable(const std::string& symbol) override;
    bool hasMedial(const std::string& symbol) override;
    bool isBreath(const std::string& symbol) override;
    bool isWholeUnit(const std::string& symbol) override;
    bool isExtraUnit(const std::string& symbol) override;
    bool isValidSymbol(const std::string& symbol) override;
    std::string substituteConsonant(const std::string& symbol) override;

private:
    Halvoren::CvvcRowsAndCarriers table;  // sections 1 and 4
    std::vector<std::string> voicedConsonants;
    std::vector<std::string> wholeUnits;
    std::vector<std::string> breaths;
    std::vector<std::string> extraUnits;
};

} // namespace HalvorenEngineV6
