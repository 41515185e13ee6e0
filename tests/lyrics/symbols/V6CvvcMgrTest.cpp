#include <gtest/gtest.h>

#include "lyrics/v6/CVVCMgr.h"
#include "SymbolMgrChecks.h"

using HalvorenEngineV6::CVVCMgr;

namespace {

// Rows | voiced | whole units | carriers | breaths | extra units.
const std::string kTable = "ka,k,a;la,l,a;ts,t,s|l,m|ts,hm|a,a;ie,ye;s,s|br1,br2|ext,oh";

CVVCMgr withTable(const std::string& text) {
    CVVCMgr mgr;
    mgr.parseTable(text);
    return mgr;
}

} // namespace

TEST(V6CvvcMgr, AnswersFromEverySectionOfTheTable) {
    CVVCMgr mgr = withTable(kTable);
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
    EXPECT_EQ(mgr.substituteConsonant("k"), "k");

    // Breaths are section 5 alone; whole and extra units are valid only
    // when another section lists them too.
    EXPECT_TRUE(mgr.isBreath("br2"));
    EXPECT_FALSE(mgr.isBreath("br3") || mgr.isBreath("hm") || mgr.isBreath("ext"));
    for (const char* s : {"ka", "ts", "ie", "br1"}) EXPECT_TRUE(mgr.isValidSymbol(s)) << s;
    for (const char* s : {"hm", "ext", "oh", "Ka"}) EXPECT_FALSE(mgr.isValidSymbol(s)) << s;
}

TEST(V6CvvcMgr, FiveSectionsGiveNoExtraUnits) {
    CVVCMgr mgr = withTable("ka,k,a|l|hm|a,a|br1");
    EXPECT_EQ(split(mgr, "ka"), Units("k", "a"));
    EXPECT_TRUE(mgr.isBreath("br1"));
    EXPECT_FALSE(mgr.isExtraUnit("br1") || mgr.isExtraUnit(""));
}

TEST(V6CvvcMgr, TextOfAnyOtherSectionCountLeavesTheManagerEmpty) {
    for (const std::string& text :
         {std::string(), std::string("ka,k,a|l|hm|a,a"), kTable + "|x", std::string("||||||")}) {
        CVVCMgr mgr = withTable(kTable);
        mgr.parseTable(text);
        SCOPED_TRACE(text);
        expectKnowsNothing(mgr);
    }
}

TEST(V6CvvcMgr, EntriesOfTheWrongShapeAreSkippedOneByOne) {
    CVVCMgr mgr = withTable("ka,k,a;pa,p;ta,t,a,x;;sa,s,a;|l||a,a;o;e,e,x;i,yi|br1");
    EXPECT_EQ(split(mgr, "sa"), Units("s", "a"));
    EXPECT_EQ(split(mgr, "pa"), Units("", ""));
    EXPECT_EQ(split(mgr, "ta"), Units("", ""));
    EXPECT_FALSE(mgr.isValidSymbol("pa") || mgr.isValidSymbol("ta"));
    bool standsAlone = false;
    EXPECT_TRUE(mgr.isFinal("a", standsAlone) && mgr.isFinal("i", standsAlone));
    EXPECT_FALSE(mgr.isFinal("o", standsAlone) || mgr.isFinal("e", standsAlone));
}
