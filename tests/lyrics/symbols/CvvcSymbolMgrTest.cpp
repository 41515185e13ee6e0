#include <gtest/gtest.h>

#include "lyrics/BuiltinCvvcTable.h"
#include "lyrics/CVVC_symbolMgr.h"
#include "SymbolMgrChecks.h"

using namespace Halvoren;

namespace {

CVVC_symbolMgr withTable(const std::string& text) {
    CVVC_symbolMgr mgr;
    mgr.parseTable(text);
    return mgr;
}

} // namespace

TEST(CvvcSymbolMgr, BuiltinTableSplitsAndClassifies) {
    CVVC_symbolMgr mgr;
    mgr.loadBuiltinTable();
    const std::pair<const char*, Units> cases[] = {
        {"zhuang", {"zh", "ang"}}, {"shuang", {"shw", "ang"}}, {"lve", {"ly", "ie"}},
        {"chun", {"ch", "en"}},    {"yuan", {"yw", "ian"}},    {"ong", {"ong", "ong"}},
        {"a", {"a", "a"}},         {"nn", {"nn", "nn"}},       {"br1", {"", ""}},
        {"lue", {"", ""}},         {"Zhang", {"", ""}}};
    for (const auto& [symbol, units] : cases) EXPECT_EQ(split(mgr, symbol), units) << symbol;

    bool standsAlone = false;
    EXPECT_TRUE(mgr.isFinal("ong", standsAlone) && !standsAlone);
    EXPECT_TRUE(mgr.isFinal("er", standsAlone) && standsAlone);
    EXPECT_FALSE(mgr.isFinal("zhang", standsAlone) || standsAlone);
    EXPECT_TRUE(mgr.isZeroInitialSyllable("nn") && mgr.isZeroInitialSyllable("er"));
    EXPECT_FALSE(mgr.isZeroInitialSyllable("i"));
    EXPECT_EQ(mgr.carrierSyllable("rr"), "zi");
    EXPECT_EQ(mgr.carrierSyllable("zhang"), "");
    EXPECT_TRUE(mgr.isVoiced("my") && mgr.isVoiced("yw"));
    EXPECT_FALSE(mgr.isVoiced("a") || mgr.isVoiced("b"));
    for (const char* s : {"tei", "ong", "br3"}) EXPECT_TRUE(mgr.isValidSymbol(s)) << s;
    EXPECT_FALSE(mgr.isValidSymbol("lue") || mgr.isValidSymbol("yv"));
    EXPECT_EQ(mgr.substituteConsonant("h"), "h");
    EXPECT_FALSE(mgr.hasMedial("jia"));
}

TEST(CvvcSymbolMgr, TextOfAnyOtherSectionCountLeavesTheManagerEmpty) {
    const std::string& table = builtinCvvcTable();
    for (const std::string& text :
         {std::string(), table.substr(0, table.rfind('|')), table + "|x", std::string("||||")}) {
        CVVC_symbolMgr mgr;
        mgr.loadBuiltinTable();
        mgr.parseTable(text);
        SCOPED_TRACE(text.substr(0, 30));
        expectKnowsNothing(mgr);
    }
}

TEST(CvvcSymbolMgr, RepeatsKeepTheirFirstValues) {
    CVVC_symbolMgr mgr = withTable("ka,k,a;ka,g,o||a,a;a,ka|");
    EXPECT_EQ(split(mgr, "ka"), Units("k", "a"));
    EXPECT_TRUE(mgr.isZeroInitialSyllable("a"));
}

TEST(CvvcSymbolMgr, ShortEntriesAreSkippedAndTheRestIsUsed) {
    CVVC_symbolMgr mgr = withTable("ba,b,a;bo,b;;pa;ma,m,a,x;|m,,n|a,a;o;e,e,z;|br1, br2");
    EXPECT_EQ(split(mgr, "ba"), Units("b", "a"));
    EXPECT_EQ(split(mgr, "ma"), Units("m", "a"));
    EXPECT_FALSE(mgr.isValidSymbol("bo") || mgr.isValidSymbol("pa"));
    bool standsAlone = false;
    EXPECT_TRUE(mgr.isFinal("e", standsAlone) && standsAlone);
    EXPECT_FALSE(mgr.isFinal("o", standsAlone) || mgr.isFinal("", standsAlone));
    // Lists keep every piece as written: empty ones, and blanks too.
    EXPECT_TRUE(mgr.isVoiced("n") && mgr.isVoiced(""));
    EXPECT_TRUE(mgr.isBreath(" br2") && !mgr.isBreath("br2"));
}

TEST(CvvcSymbolMgr, ParsingAgainReplacesTheWholeTable) {
    CVVC_symbolMgr mgr;
    mgr.loadBuiltinTable();
    mgr.parseTable("ka,k,a|k|a,a|br9");
    EXPECT_FALSE(mgr.isValidSymbol("zhang") || mgr.isVoiced("m") || mgr.isBreath("br1"));
    EXPECT_TRUE(mgr.isBreath("br9") && mgr.isVoiced("k"));
}

TEST(CvvcSymbolMgr, SplitMayWriteIntoItsOwnInput) {
    CVVC_symbolMgr mgr;
    mgr.loadBuiltinTable();
    std::string unit = "zhuang";
    std::string vowel;
    mgr.splitSyllable(unit, unit, vowel);
    EXPECT_EQ(unit, "zh");
    EXPECT_EQ(vowel, "ang");
}
