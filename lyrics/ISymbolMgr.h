#pragma once
// The questions a synthesis engine asks about the phonetic symbols of notes:
// how a symbol splits into a consonant unit and a vowel unit, which units are
// voiced, which vowel units are recorded inside a carrier syllable, and what
// stands in for a missing consonant. One implementation per phoneme set.
// Every comparison is exact and case-sensitive; no operation throws.
#include <string>

namespace Halvoren {

class ISymbolMgr {
public:
    virtual ~ISymbolMgr() {}
    // Sets consonant and vowel to the two units of symbol (empty when unknown).
    virtual void splitSyllable(const std::string& symbol, std::string& consonant,
                               std::string& vowel) = 0;
    virtual bool isVoiced(const std::string& symbol) = 0;
    // A vowel unit that is a whole syllable without a consonant.
    virtual bool isZeroInitialSyllable(const std::string& symbol) = 0;
    // Whether symbol is a vowel unit; if so standsAlone tells whether it is
    // also a syllable of its own.
    virtual bool isFinal(const std::string& symbol, bool& standsAlone) = 0;
    // The syllable in which a vowel unit is recorded, or empty.
    virtual std::string carrierSyllable(const std::string& symbol) = 0;
    // Whether the syllable's final starts with a glide.
    virtual bool hasMedial(const std::string& symbol) = 0;
    virtual bool isBreath(const std::string& symbol) = 0;
    // A unit that is never split.
    virtual bool isWholeUnit(const std::string& symbol) { return false; }
    virtual bool isExtraUnit(const std::string& symbol) = 0;
    virtual bool isValidSymbol(const std::string& symbol) = 0;
    // The consonant recorded in place of symbol.
    virtual std::string substituteConsonant(const std::string& symbol) = 0;
};

} // namespace Halvoren
