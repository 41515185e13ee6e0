#include <gtest/gtest.h>

#include "engine/v4/SymbolMgrFor.h"

namespace {

TEST(SymbolMgrForV4, LanguageTextPicksTheBuiltinTableOrIsReadAsTheTable)
{
    struct Case {
        const char* language;
        const char* syllable;
        bool valid;
        const char* consonant;
        const char* vowel;
        bool breath;  // of "br1"
    } cases[] = {
        {"CHN", "ka", true, "k", "a", true},
        {"ka,k,a;ma,m,a|m|a,a|br1", "ma", true, "m", "a", true},
        {"ka,k,a;ma,m,a|m|a,a|br1", "ka", true, "k", "a", true},
        // Neither "CHN" nor four sections: an empty manager.
        {"JPN", "ka", false, "", "", false},
        {"", "ka", false, "", "", false},
    };
    for (const Case& c : cases) {
        auto symbols = HalvorenEngineV4::symbolMgrFor(c.language);
        const std::string where = std::string("'") + c.language + "' " + c.syllable;
        EXPECT_EQ(symbols->isValidSymbol(c.syllable), c.valid) << where;
        std::string consonant, vowel;
        symbols->splitSyllable(c.syllable, consonant, vowel);
        EXPECT_EQ(consonant, c.consonant) << where;
        EXPECT_EQ(vowel, c.vowel) << where;
        EXPECT_EQ(symbols->isBreath("br1"), c.breath) << where;
    }
}

}  // namespace
