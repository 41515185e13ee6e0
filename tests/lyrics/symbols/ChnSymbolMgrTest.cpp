#include <gtest/gtest.h>

#include <algorithm>

#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/PinyinTables.h"
#include "lyrics/NullSymbolMgr.h"
#include "SymbolMgrChecks.h"

using namespace Halvoren;

TEST(PinyinTables, SyllableListHoldsTheValidSyllablesInOrder) {
    EXPECT_EQ(BuiltinSyllableList.size(), 2140u);
    const auto& syllables = builtinSyllables();
    ASSERT_EQ(syllables.size(), 409u);
    EXPECT_EQ(syllables.back(), "zuo");
    EXPECT_TRUE(std::is_sorted(syllables.begin(), syllables.end()));
    EXPECT_EQ(std::adjacent_find(syllables.begin(), syllables.end()), syllables.end());
    auto has = [&](const char* s) { return std::count(syllables.begin(), syllables.end(), s); };
    for (const char* s : {"lv", "lve", "nve", "ng", "er", "o", "zhei"}) EXPECT_TRUE(has(s)) << s;
    for (const char* s : {"lue", "nue", "eng", "r", "rr", "nn", ""}) EXPECT_FALSE(has(s)) << s;
    EXPECT_EQ(splitSyllableList("a, ai, "), (std::vector<std::string>{"a", "ai"}));
    EXPECT_EQ(BoundFinals.size(), 14u);
}

// The initial is the first match in table order (zh before z), then the
// rhyme depends on it: "r"/"rr" after retroflex and dental initials, "yi"/"yv"
// for a "y" onset.
TEST(ChnSymbolMgr, SplitsSyllablesIntoOnsetAndRhyme) {
    ChnSymbolMgr mgr;
    const std::pair<const char*, Units> cases[] = {
        {"zhang", {"zh", "ang"}}, {"jiang", {"j", "ang"}}, {"xue", {"x", "ve"}},
        {"juan", {"j", "ian"}},   {"jun", {"j", "vn"}},    {"chun", {"ch", "un"}},
        {"qu", {"q", "v"}},       {"gui", {"g", "ei"}},    {"liu", {"l", "ou"}},
        {"shuang", {"sh", "ang"}}, {"xiong", {"x", "ong"}}, {"zhi", {"zh", "r"}},
        {"zi", {"z", "rr"}},      {"si", {"s", "rr"}},     {"ji", {"j", "i"}},
        {"yan", {"yi", "ian"}},   {"ye", {"yi", "ie"}},    {"yu", {"yv", "v"}},
        {"yuan", {"yv", "ian"}},  {"yong", {"yi", "ong"}}, {"wu", {"w", "u"}},
        {"a", {"a", "a"}},        {"er", {"er", "er"}},    {"ng", {"ng", "ng"}},
        {"ong", {"ong", "ong"}},  {"m", {"m", ""}},        {"br1", {"b", ""}},
        {"", {"", ""}},           {"ZHANG", {"", ""}},     {"Ang", {"", ""}}};
    for (const auto& [symbol, units] : cases) EXPECT_EQ(split(mgr, symbol), units) << symbol;
}

// Every valid syllable comes apart into an onset the banks record and a
// final of the table, and every bound final comes back out of its carrier.
TEST(ChnSymbolMgr, EverySyllableSplitsIntoKnownUnits) {
    ChnSymbolMgr mgr;
    for (const std::string& syllable : builtinSyllables()) {
        const auto [consonant, vowel] = split(mgr, syllable);
        EXPECT_TRUE(isMember(PinyinFinals, vowel)) << syllable << " -> " << vowel;
        EXPECT_TRUE(isMember(ZeroInitialSyllables, syllable) ? consonant == syllable
                    : isMember(PinyinInitials, consonant) || consonant == "yi" || consonant == "yv")
            << syllable << " -> " << consonant;
        EXPECT_TRUE(mgr.isValidSymbol(syllable)) << syllable;
    }
    for (std::string_view bound : BoundFinals) {
        const std::string carrier = mgr.carrierSyllable(std::string(bound));
        EXPECT_TRUE(mgr.isValidSymbol(carrier)) << carrier;
        EXPECT_EQ(split(mgr, carrier).second, bound) << carrier;
    }
    EXPECT_EQ(mgr.carrierSyllable("a"), "");
}

TEST(ChnSymbolMgr, ClassifiesAndSubstitutesSymbols) {
    ChnSymbolMgr mgr;
    bool standsAlone = false;
    EXPECT_TRUE(mgr.isFinal("ang", standsAlone) && standsAlone);
    EXPECT_TRUE(mgr.isFinal("ong", standsAlone) && !standsAlone);
    standsAlone = true;
    EXPECT_FALSE(mgr.isFinal("zhang", standsAlone));
    EXPECT_TRUE(standsAlone) << "a failed test leaves the flag alone";

    EXPECT_TRUE(mgr.isZeroInitialSyllable("ng") && !mgr.isZeroInitialSyllable("ong"));
    for (const char* s : {"m", "w", "yi", "yv", "ng"}) EXPECT_TRUE(mgr.isVoiced(s)) << s;
    for (const char* s : {"b", "y", "ong", "M"}) EXPECT_FALSE(mgr.isVoiced(s)) << s;
    EXPECT_TRUE(mgr.isBreath("br5"));
    EXPECT_FALSE(mgr.isBreath("br6") || mgr.isBreath("Br1") || mgr.isWholeUnit("a"));
    for (const char* s : {"jia", "ye", "lun", "xue", "jiong"}) EXPECT_TRUE(mgr.hasMedial(s)) << s;
    for (const char* s : {"ya", "yan", "zhi", "ju", "ia", "ong", "br1", ""}) {
        EXPECT_FALSE(mgr.hasMedial(s)) << s;
    }
    for (const char* s : {"lve", "vn", "rr", "br5"}) EXPECT_TRUE(mgr.isValidSymbol(s)) << s;
    for (const char* s : {"lue", "yv", "zh", "Ma", ""}) EXPECT_FALSE(mgr.isValidSymbol(s)) << s;

    const std::pair<const char*, const char*> substitutes[] = {
        {"p", "b"}, {"h", "g"}, {"q", "j"}, {"sh", "zh"}, {"c", "z"}, {"m", "m"}, {"H", "H"}};
    for (const auto& [symbol, result] : substitutes) {
        EXPECT_EQ(mgr.substituteConsonant(symbol), result);
        EXPECT_EQ(mgr.consonantGroup(symbol), result);
    }
    EXPECT_TRUE(mgr.isVoicedOnset("yv") && !mgr.isVoicedOnset("y"));
}

TEST(NullSymbolMgr, AnswersEveryQuestionHarmlessly) {
    NullSymbolMgr mgr;
    expectKnowsNothing(mgr);
}
