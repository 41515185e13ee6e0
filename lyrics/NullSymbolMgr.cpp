#include "lyrics/NullSymbolMgr.h"

namespace Halvoren {

void NullSymbolMgr::splitSyllable(const std::string&, std::string& consonant,
                                  std::string& vowel) {
    consonant.clear();
    vowel.clear();
}

bool NullSymbolMgr::isVoiced(const std::string&) { return false; }

bool NullSymbolMgr::isZeroInitialSyllable(const std::string&) { return false; }

bool NullSymbolMgr::isFinal(const std::string&, bool& standsAlone) {
    standsAlone = false;
    return false;
}

std::string NullSymbolMgr::carrierSyllable(const std::string&) { return {}; }

bool NullSymbolMgr::hasMedial(const std::string&) { return false; }

bool NullSymbolMgr::isBreath(const std::string&) { return false; }

bool NullSymbolMgr::isExtraUnit(const std::string&) { return false; }

bool NullSymbolMgr::isValidSymbol(const std::string&) { return false; }

std::string NullSymbolMgr::substituteConsonant(const std::string& symbol) { return symbol; }

} // namespace Halvoren
