#pragma once
// Splits Mandarin pinyin syllables (lower case, no tone, "v" for u-umlaut)
// into the onset and vowel units of the pinyin voice banks, by rule over the
// constant pinyin tables. Not for use by two threads at once: a split keeps
// its result in the manager and the list of valid symbols is built lazily.
#include <memory>
#include <string>
#include <vector>

#include "lyrics/ISymbolMgr.h"

namespace Halvoren {

class ChnSymbolMgr : public ISymbolMgr {
public:
    ChnSymbolMgr();
    ~ChnSymbolMgr() override;

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

    // The voicing test and the consonant substitution under the names the
    // pinyin engines call them by.
    bool isVoicedOnset(const std::string& symbol) { return ChnSymbolMgr::isVoiced(symbol); }
    std::string consonantGroup(const std::string& symbol) {
        return ChnSymbolMgr::substituteConsonant(symbol);
    }

    // The first pinyin initial, in match order, that syllable begins with;
    // empty when none does.
    static std::string initialOf(const std::string& syllable);
    // The onset unit of an initial: "y" becomes "yv" before a final that
    // begins with "u" and "yi" otherwise; every other initial is itself.
    static std::string onsetSymbol(const std::string& initial, const std::string& final);
    // The vowel unit of a non-empty final after the given initial; empty for
    // a final the rules do not know.
    static std::string rhymeOf(const std::string& final, const std::string& initial);

private:
    std::string lastConsonant;
    std::string lastVowel;
    std::unique_ptr<std::vector<std::string>> validSymbols;
};

} // namespace Halvoren
