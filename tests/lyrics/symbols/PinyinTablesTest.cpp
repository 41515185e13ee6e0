#include <gtest/gtest.h>

#include <algorithm>

#include "lyrics/ChnSymbolMgr.h"
#include "lyrics/PinyinTables.h"

using namespace Halvoren;

TEST(PinyinTables, SyllableListHoldsTheValidSyllablesInOrder) {
    EXPECT_EQ(BuiltinSyllableList.size(), 2140u);
    const auto& syllables = builtinSyllables();
    ASSERT_EQ(syllables.size(), 409u);
    EXPECT_EQ(syllables.front(), "a");
    EXPECT_EQ(syllables.back(), "zuo");
    EXPECT_TRUE(std::is_sorted(syllables.begin(), syllables.end()));
    EXPECT_EQ(std::adjacent_find(syllables.begin(), syllables.end()), syllables.end());
    auto has = [&](const char* s) { return std::count(syllables.begin(), syllables.end(), s); };
    for (const char* s : {"lv", "lve", "nve", "ng", "er", "o", "zhei"}) EXPECT_TRUE(has(s)) << s;
    for (const char* s : {"lue", "nue", "eng", "r", "rr", "nn", ""}) EXPECT_FALSE(has(s)) << s;
    EXPECT_EQ(splitSyllableList("a, ai, "), (std::vector<std::string>{"a", "ai"}));
}

TEST(PinyinTables, MembershipIsExactAndCaseSensitive) {
    EXPECT_EQ(BoundFinals.size(), 14u);
    EXPECT_EQ(BoundFinals.front(), "ong");
    EXPECT_EQ(ZeroInitialSyllables.size(), 12u);
    EXPECT_EQ(ZeroInitialSyllables.back(), "ng");
    EXPECT_TRUE(isMember(PinyinFinals, "ong") && isMember(BoundFinals, "ong"));
    EXPECT_TRUE(isMember(VoicedOnsets, "ng") && isMember(ZeroInitialSyllables, "ng"));
    EXPECT_FALSE(isMember(BoundFinals, "ng"));
    for (const char* s : {"A", "ang ", "angg", "", "BR1"}) {
        EXPECT_FALSE(isMember(PinyinFinals, s) || isMember(BreathSymbols, s)) << s;
    }
}

TEST(PinyinTables, InitialIsTheFirstMatchInTableOrder) {
    EXPECT_EQ(ChnSymbolMgr::initialOf("zhi"), "zh");
    EXPECT_EQ(ChnSymbolMgr::initialOf("zi"), "z");
    EXPECT_EQ(ChnSymbolMgr::initialOf("shuang"), "sh");
    EXPECT_EQ(ChnSymbolMgr::initialOf("an"), "");
    EXPECT_EQ(ChnSymbolMgr::initialOf("Zhang"), "");
}
