#pragma once
// Helpers shared by the symbol manager tests.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "lyrics/ISymbolMgr.h"

using Units = std::pair<std::string, std::string>;

// Splits through the interface into outputs that hold stale text first.
inline Units split(Halvoren::ISymbolMgr& mgr, const std::string& symbol) {
    Units units{"stale", "stale"};
    mgr.splitSyllable(symbol, units.first, units.second);
    return units;
}

// A manager without a table: every split empty, every test false, every
// lookup empty, a consonant standing for itself.
inline void expectKnowsNothing(Halvoren::ISymbolMgr& mgr) {
    for (const char* s : {"zhang", "ka", "a", "ong", "ie", "l", "hm", "ext", "br1", ""}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(split(mgr, s), Units("", ""));
        bool standsAlone = true;
        EXPECT_FALSE(mgr.isFinal(s, standsAlone));
        EXPECT_FALSE(standsAlone);
        EXPECT_FALSE(mgr.isVoiced(s) || mgr.isZeroInitialSyllable(s) || mgr.hasMedial(s) ||
                     mgr.isBreath(s) || mgr.isWholeUnit(s) || mgr.isExtraUnit(s) ||
                     mgr.isValidSymbol(s));
        EXPECT_EQ(mgr.carrierSyllable(s), "");
        EXPECT_EQ(mgr.substituteConsonant(s), s);
    }
}
