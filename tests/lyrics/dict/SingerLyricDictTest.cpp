#include "lyrics/SingerLyricDict.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace {

using Strings = std::vector<std::string>;

struct Match {
    Strings words, symbols;
};

Match lookupIn(CSingerLyricDict& dict, const std::string& text) {
    Match m;
    dict.lookup(text, m.words, m.symbols);
    return m;
}

TEST(SingerLyricDictTest, GreedyLongestMatchFromBothFileForms) {
    TempFolder dir("singerdict");
    CSingerLyricDict txt, json;
    ASSERT_TRUE(txt.loadTxt(dir.write("a-dict.txt", "AB=s1\r\nABC=s2\n")));
    ASSERT_TRUE(json.loadJson(dir.write("a.dict.txt", R"({"AB": "s1", "ABC": "s2"})")));
    for (CSingerLyricDict* dict : {&txt, &json}) {
        EXPECT_EQ(dict->getMaxKeyLen(), 3);
        Match abcd = lookupIn(*dict, "ABCD");
        EXPECT_EQ(abcd.words, Strings{"ABC"});
        EXPECT_EQ(abcd.symbols, Strings{"s2"});
        Match abd = lookupIn(*dict, "ABD");
        EXPECT_EQ(abd.words, Strings{"AB"});
        EXPECT_EQ(abd.symbols, Strings{"s1"});
        // Unmatched bytes are stepped over; a word at the very end still matches.
        Match mixed = lookupIn(*dict, "xABxxAB");
        EXPECT_EQ(mixed.words, (Strings{"AB", "AB"}));
        Match none = lookupIn(*dict, "xyz");
        EXPECT_TRUE(none.words.empty());
        EXPECT_TRUE(none.symbols.empty());
    }
    // Multi-byte words match by their bytes.
    ASSERT_TRUE(txt.loadTxt(dir.write("b-dict.txt", "\xE4\xBD\xA0\xE5\xA5\xBD=ni3 hao3\n\xE5\xA5\xBD=hao3\n")));
    Match m = lookupIn(txt, "\xE5\xA5\xBD\xE4\xBD\xA0\xE5\xA5\xBD");
    EXPECT_EQ(m.symbols, (Strings{"hao3", "/ ni3 hao3"}));
}

TEST(SingerLyricDictTest, TextFileLineRules) {
    TempFolder dir("singerdict");
    CSingerLyricDict dict;
    ASSERT_TRUE(dict.loadTxt(dir.write("a-dict.txt",
                                       "a=b=c\n=x\ny=\nnoequals\n\n"
                                       "w=first\nw=second\n sp = v \n")));
    EXPECT_EQ(dict.expandEntry("w"), "second");
    // Blanks stay part of word and value.
    Match m = lookupIn(dict, " sp ");
    EXPECT_EQ(m.words, Strings{" sp "});
    EXPECT_EQ(m.symbols, Strings{" v "});
    EXPECT_TRUE(lookupIn(dict, "a=b=c y noequals x").words.empty());
    EXPECT_EQ(dict.getMaxKeyLen(), 4);
}

TEST(SingerLyricDictTest, ExpansionOfSeveralSymbolsAndNestedWords) {
    TempFolder dir("singerdict");
    CSingerLyricDict dict;
    ASSERT_TRUE(dict.loadTxt(dir.write("a-dict.txt",
                                       "two=s1 s2\nwide=s1  s2\nx=c3 d4\nax=a1 x\nonly=x\n")));
    EXPECT_EQ(dict.expandEntry("two"), "/ s1 s2");
    EXPECT_EQ(dict.expandEntry("wide"), "/ s1 s2");
    EXPECT_EQ(dict.expandEntry("ax"), "/ a1  c3 d4");
    EXPECT_EQ(dict.expandEntry("only"), "x");
}

TEST(SingerLyricDictTest, SelfReferringEntriesTerminate) {
    TempFolder dir("singerdict");
    CSingerLyricDict dict;
    ASSERT_TRUE(dict.loadTxt(dir.write("a-dict.txt", "me=a1 me\np=q b1\nq=p c2\n")));
    EXPECT_EQ(dict.expandEntry("me"), "/ a1 me");
    EXPECT_EQ(dict.expandEntry("p"), "/  p c2 b1");
    Match m = lookupIn(dict, "meq");
    EXPECT_EQ(m.symbols, (Strings{"/ a1 me", "/  q b1 c2"}));
}

TEST(SingerLyricDictTest, FailedLoadsKeepOrEmptyTheDictionary) {
    TempFolder dir("singerdict");
    CSingerLyricDict dict;
    ASSERT_TRUE(dict.loadTxt(dir.write("a-dict.txt", "AB=s1\n")));
    // A missing text file leaves the dictionary as it was.
    EXPECT_FALSE(dict.loadTxt(dir.cfile("missing-dict.txt")));
    EXPECT_EQ(lookupIn(dict, "AB").words, Strings{"AB"});

    // A JSON file of the wrong shape is refused and leaves nothing behind.
    for (const char* bad : {"[\"AB\", \"s1\"]", "\"AB\"", "{ not json", "12"}) {
        EXPECT_FALSE(dict.loadJson(dir.write("bad.dict.txt", bad))) << bad;
        EXPECT_TRUE(lookupIn(dict, "AB").words.empty()) << bad;
        EXPECT_EQ(dict.getMaxKeyLen(), 0);
    }
    EXPECT_FALSE(dict.loadJson(dir.cfile("missing.dict.txt")));

    // Members that are not strings are left out; the others work.
    ASSERT_TRUE(dict.loadJson(dir.write(
        "a.dict.txt", R"({"A": "s1", "LONGWORD": {"x": 1}, "B": ["s2"], "C": 3, "D": null})")));
    EXPECT_EQ(lookupIn(dict, "LONGWORDABCD").symbols, Strings{"s1"});
    EXPECT_EQ(dict.getMaxKeyLen(), 1);
}

}  // namespace
