#pragma once
// Answers the symbol questions of the consonant-vowel banks from a
// phonetic-symbol table given as text, four sections joined by "|":
//   1. rows "syllable,consonant,vowel" joined by ";"
//   2. voiced consonant units joined by ","
//   3. pairs "vowel,carrier syllable" joined by ";" (a vowel carried by
//      itself is a syllable of its own)
//   4. breath symbols joined by ","
// Nothing is trimmed. Read-only once filled, so queries may run on several
// threads after parsing.
#include <string>
#include <vector>

#include "lyrics/ISymbolMgr.h"
#include "lyrics/SymbolTableUtil.h"

namespace Halvoren {

class CVVC_symbolMgr : public ISymbolMgr {
public:
    // Replaces the whole content with the table in text. A text that is not
    // four sections leaves the manager empty. A row of fewer than three
    // fields or a pair of fewer than two is skipped; fields past those are
    // ignored.
    void parseTable(std::string text);
    // Loads the built-in Mandarin table.
    void loadBuiltinTable();

    void splitSyllable(const std::string& symbol, std::string& consonant,
                       std::string& vowel) override;
    bool isVoiced(const std::string& symbol) override;
    bool isZeroInitialSyllable(const std::string& symbol) override;
    bool isFinal(const std::string& symbol, bool& standsAlone) override;
    std::string carrierSyllable(const std::string& symbol) override;
    bool hasMedial(const std::string& symbol) override;
    bool isBreath(const std::string& symbol) override;
    bool isExtraUnit(const std::string& symbol) override;
    bool isValidSymbol(const std::string& symbol) override;
    std::string substituteConsonant(const std::string& symbol) override;

private:
    CvvcRowsAndCarriers table;  // sections 1 and 3
    std::vector<std::string> voicedConsonants;
    std::vector<std::string> breaths;
};

} // namespace Halvoren
