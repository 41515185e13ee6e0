#include <gtest/gtest.h>

#include "lyrics/BuiltinCvvcTable.h"
#include "lyrics/CVVC_symbolMgr.h"
#include "lyrics/v6/CVVCMgr.h"
#include "SymbolMgrChecks.h"

using namespace Halvoren;
using HalvorenEngineV6::CVVCMgr;

namespace {

// Rows | voiced | whole units | carriers | breaths | extra units.
const std::string kV6Table = "ka,k,a;la,l,a;ts,t,s|l,m|ts,hm|a,a;ie,ye;s,s|br1,br2|ext,oh";

CVVCMgr withTable(const std::string& text) {
    CVVCMgr mgr;
    mgr.parseTable(text);
    return mgr;
}

} // namespace

TEST(CvvcSymbolMgr, BuiltinTableSplitsAndClassifies) {
    CVVC_symbolMgr mgr;
    mgr.loadBuiltinTable();
    const std::pair<const char*, Units> cases[] = {
        {"shuang", {"shw", "ang"}}, {"lve", {"ly", "ie"}}, {"ong", {"ong", "ong"}}, {"nn", {"nn", "nn"}},
        {"br1", {"", ""}},          {"lue", {"", ""}},     {"Zhang", {"", ""}}};
    for (const auto& [symbol, units] : cases) EXPECT_EQ(split(mgr, symbol), units) << symbol;

    bool standsAlone = false;
    EXPECT_TRUE(mgr.isFinal("ong", standsAlone) && !standsAlone);
    EXPECT_TRUE(mgr.isFinal("er", standsAlone) && standsAlone);
    EXPECT_FALSE(mgr.isFinal("zhang", standsAlone) || standsAlone);
    EXPECT_TRUE(mgr.isZeroInitialSyllable("nn") && mgr.isZeroInitialSyllable("er"));
    EXPECT_FALSE(mgr.isZeroInitialSyllable("i"));
    EXPECT_EQ(mgr.carrierSyllable("rr"), "zi");
    EXPECT_TRUE(mgr.isVoiced("my") && mgr.isVoiced("yw"));
    EXPECT_FALSE(mgr.isVoiced("a") || mgr.isVoiced("b"));
    for (const char* s : {"tei", "ong", "br3"}) EXPECT_TRUE(mgr.isValidSymbol(s)) << s;
    EXPECT_FALSE(mgr.isValidSymbol("lue") || mgr.isValidSymbol("yv"));
    EXPECT_EQ(mgr.substituteConsonant("h"), "h");
    EXPECT_FALSE(mgr.hasMedial("jia"));

    // Both units are worked out before either output is written.
    std::string unit = "zhuang", vowel;
    mgr.splitSyllable(unit, unit, vowel);
    EXPECT_EQ(Units(unit, vowel), Units("zh", "ang"));
}

// Four sections for the consonant-vowel banks, five or six for generation 6:
// any other count empties a manager that held a table.
TEST(CvvcSymbolMgrs, TextOfAnyOtherSectionCountLeavesTheManagerEmpty) {
    const std::string& table = BuiltinCvvcTable();
    for (const std::string& text :
         {std::string(), table.substr(0, table.rfind('|')), table + "|x", std::string("||||")}) {
        SCOPED_TRACE(text.substr(0, 30));
        CVVC_symbolMgr mgr;
        mgr.loadBuiltinTable();
        mgr.parseTable(text);
        expectKnowsNothing(mgr);
    }
    for (const std::string& text :
         {std::string(), std::string("ka,k,a|l|hm|a,a"), kV6Table + "|x", std::string("||||||")}) {
        SCOPED_TRACE(text);
        CVVCMgr mgr = withTable(kV6Table);
        mgr.parseTable(text);
        expectKnowsNothing(mgr);
    }
}

// Short entries (an empty one from a trailing ";" too) are skipped, fields
// past the third (second for pairs) ignored, repeats keep their first values,
// and a new table replaces the built-in one whole.
TEST(CvvcSymbolMgr, BankTableSkipsShortEntriesAndUsesTheRest) {
    CVVC_symbolMgr mgr;
    mgr.loadBuiltinTable();
    mgr.parseTable("ba,b,a;bo,b;;pa;ma,m,a,x;ma,n,o;|m,,n|a,a;o;e,e,z;a,ka|br1, br2");
    EXPECT_EQ(split(mgr, "ba"), Units("b", "a"));
    EXPECT_EQ(split(mgr, "ma"), Units("m", "a"));
    EXPECT_FALSE(mgr.isValidSymbol("bo") || mgr.isValidSymbol("pa") || mgr.isValidSymbol("zhang"));
    bool standsAlone = false;
    EXPECT_TRUE(mgr.isFinal("e", standsAlone) && standsAlone);
    EXPECT_TRUE(mgr.isZeroInitialSyllable("a"));
    EXPECT_FALSE(mgr.isFinal("o", standsAlone) || mgr.isFinal("", standsAlone));
    // Lists keep every piece as written: empty ones, and blanks too.
    EXPECT_TRUE(mgr.isVoiced("n") && mgr.isVoiced("") && !mgr.isVoiced("l"));
    EXPECT_TRUE(mgr.isBreath(" br2") && !mgr.isBreath("br2"));
}

TEST(V6CvvcMgr, AnswersFromEverySectionOfTheTable) {
    CVVCMgr mgr = withTable(kV6Table);
    EXPECT_EQ(split(mgr, "ka"), Units("k", "a"));
    EXPECT_EQ(split(mgr, "a"), Units("a", "a"));
    EXPECT_EQ(split(mgr, "ext"), Units("ext", "ext"));
    EXPECT_EQ(split(mgr, "ts"), Units("ts", "ts")) << "whole units stay whole despite a row";
    EXPECT_EQ(split(mgr, "zz"), Units("", ""));
    EXPECT_TRUE(mgr.isVoiced("l") && !mgr.isVoiced("k"));
    EXPECT_TRUE(mgr.isWholeUnit("hm") && !mgr.isWholeUnit("ext"));
    EXPECT_TRUE(mgr.isExtraUnit("oh") && !mgr.isExtraUnit("hm"));
    bool standsAlone = true;
    EXPECT_TRUE(mgr.isFinal("ie", standsAlone) && !standsAlone);
    EXPECT_TRUE(mgr.isZeroInitialSyllable("a") && !mgr.isZeroInitialSyllable("ie"));
    EXPECT_EQ(mgr.carrierSyllable("ie"), "ye");

    // Breaths are section 5 alone; whole and extra units are valid only
    // when another section lists them too.
    EXPECT_FALSE(mgr.isBreath("br3") || mgr.isBreath("hm") || mgr.isBreath("ext"));
    for (const char* s : {"ka", "ts", "ie", "br1"}) EXPECT_TRUE(mgr.isValidSymbol(s)) << s;
    for (const char* s : {"hm", "ext", "oh", "Ka"}) EXPECT_FALSE(mgr.isValidSymbol(s)) << s;

    mgr = withTable("ka,k,a|l|hm|a,a|br1");  // five sections: no extra units
    EXPECT_EQ(split(mgr, "ka"), Units("k", "a"));
    EXPECT_TRUE(mgr.isBreath("br1") && !mgr.isExtraUnit("br1") && !mgr.isExtraUnit(""));
}

TEST(V6CvvcMgr, EntriesOfTheWrongShapeAreSkippedOneByOne) {
    CVVCMgr mgr = withTable("ka,k,a;pa,p;ta,t,a,x;;sa,s,a;|l||a,a;o;e,e,x;i,yi|br1");
    EXPECT_EQ(split(mgr, "sa"), Units("s", "a"));
    EXPECT_FALSE(mgr.isValidSymbol("pa") || mgr.isValidSymbol("ta"));
    EXPECT_EQ(split(mgr, "ta"), Units("", ""));
    bool standsAlone = false;
    EXPECT_TRUE(mgr.isFinal("a", standsAlone) && mgr.isFinal("i", standsAlone));
    EXPECT_FALSE(mgr.isFinal("o", standsAlone) || mgr.isFinal("e", standsAlone));
}
