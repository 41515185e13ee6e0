#pragma once
// The manager of a bank whose language gives an engine no phoneme set: it
// knows no symbol, so every split is empty, every test false, and a
// consonant stands for itself. Engines hold one instead of a null pointer.
#include "lyrics/ISymbolMgr.h"

namespace Halvoren {

class NullSymbolMgr : public ISymbolMgr {
public:
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
};

} // namespace Halvoren
