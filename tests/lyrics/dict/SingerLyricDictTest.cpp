#include "lyrics/SingerLyricDict.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace {

using Strings = std::vector<std::string>;

struct SingerLyricDictTest : ::testing::Test {
    TempFolder dir{"singerdict"};
    CSingerLyricDict dict;

    // The words and symbols found in text, as "word:symbols" pairs.
    Strings match(CSingerLyricDict& d, const std::string& text) {
        Strings words, symbols;
        d.lookup(text, words, symbols);
        for (size_t i = 0; i < words.size() && i < symbols.size(); ++i) words[i] += ":" + symbols[i];
        return words;
    }
};

TEST_F(SingerLyricDictTest, GreedyLongestMatchFromBothFileForms) {
    CSingerLyricDict json;
    ASSERT_TRUE(dict.loadTxt(dir.write("a-dict.txt", "AB=s1\r\nABC=s2\n")));
    ASSERT_TRUE(json.loadJson(dir.write("a.dict.txt", R"({"AB": "s1", "ABC": "s2"})")));
    for (CSingerLyricDict* d : {&dict, &json}) {
        EXPECT_EQ(d->getMaxKeyLen(), 3);
        EXPECT_EQ(match(*d, "ABCD"), Strings{"ABC:s2"});
        EXPECT_EQ(match(*d, "ABD"), Strings{"AB:s1"});
        // Unmatched bytes are stepped over; a word at the very end still matches.
        EXPECT_EQ(match(*d, "xABxxAB"), (Strings{"AB:s1", "AB:s1"}));
        EXPECT_EQ(match(*d, "xyz"), Strings{});
    }
    // Multi-byte words match by their bytes.
    ASSERT_TRUE(dict.loadTxt(dir.write("b-dict.txt", "\xE4\xBD\xA0\xE5\xA5\xBD=ni3 hao3\n\xE5\xA5\xBD=hao3\n")));
    EXPECT_EQ(match(dict, "\xE5\xA5\xBD\xE4\xBD\xA0\xE5\xA5\xBD"),
              (Strings{"\xE5\xA5\xBD:hao3", "\xE4\xBD\xA0\xE5\xA5\xBD:/ ni3 hao3"}));
}

// Only word=value lines with both sides count; nothing is trimmed; a later
// line wins. Values of several pieces expand word by word, and an entry that
// refers to itself, directly or through another, ends with the word as is.
TEST_F(SingerLyricDictTest, TextLinesAndTheirExpansion) {
    ASSERT_TRUE(dict.loadTxt(dir.write("a-dict.txt",
                                       "a=b=c\n=x\ny=\nnoequals\n\nw=first\nw=second\n sp = v \n"
                                       "two=s1 s2\nwide=s1  s2\nx=c3 d4\nax=a1 x\nonly=x\n"
                                       "me=a1 me\np=q b1\nq=p c2\n")));
    const std::pair<const char*, const char*> cases[] = {
        {"w", "second"},       {" sp ", " v "},      {"two", "/ s1 s2"}, {"wide", "/ s1 s2"},
        {"ax", "/ a1  c3 d4"}, {"only", "x"},        {"me", "/ a1 me"},  {"p", "/  p c2 b1"}};
    for (const auto& [word, expansion] : cases) EXPECT_EQ(dict.expandEntry(word), expansion) << word;
    EXPECT_EQ(match(dict, "a=b=c y"), Strings{});
    EXPECT_EQ(match(dict, "meq"), (Strings{"me:/ a1 me", "q:/  q b1 c2"}));
}

TEST_F(SingerLyricDictTest, FailedLoadsKeepOrEmptyTheDictionary) {
    ASSERT_TRUE(dict.loadTxt(dir.write("a-dict.txt", "AB=s1\n")));
    // A missing text file leaves the dictionary as it was.
    EXPECT_FALSE(dict.loadTxt(dir.cfile("missing-dict.txt")));
    EXPECT_EQ(match(dict, "AB"), Strings{"AB:s1"});

    // A JSON file of the wrong shape is refused and leaves nothing behind.
    for (const char* bad : {"[\"AB\", \"s1\"]", "\"AB\"", "{ not json", "12"}) {
        EXPECT_FALSE(dict.loadJson(dir.write("bad.dict.txt", bad))) << bad;
        EXPECT_EQ(match(dict, "AB"), Strings{}) << bad;
        EXPECT_EQ(dict.getMaxKeyLen(), 0);
    }
    EXPECT_FALSE(dict.loadJson(dir.cfile("missing.dict.txt")));

    // Members that are not strings are left out; the others work.
    ASSERT_TRUE(dict.loadJson(dir.write(
        "a.dict.txt", R"({"A": "s1", "LONGWORD": {"x": 1}, "B": ["s2"], "C": 3, "D": null})")));
    EXPECT_EQ(match(dict, "LONGWORDABCD"), Strings{"A:s1"});
    EXPECT_EQ(dict.getMaxKeyLen(), 1);
}

}  // namespace
