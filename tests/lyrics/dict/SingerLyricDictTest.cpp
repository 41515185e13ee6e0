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
    // Words that begin and end inside one another: at each place the longest
    // word the text goes on with.
    ASSERT_TRUE(dict.loadTxt(dir.write("c-dict.txt", "a=1\naab=2\nab=3\nb=4\nbab=5\n")));
    EXPECT_EQ(match(dict, "aaab"), (Strings{"a:1", "aab:2"}));
    EXPECT_EQ(match(dict, "babab"), (Strings{"bab:5", "ab:3"}));
    EXPECT_EQ(match(dict, "cbaab"), (Strings{"b:4", "aab:2"}));
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

// Words whose values share nested words: wN=wN+1 wN+1 for N = 0..21 and
// w22=a1 b2 double the expansion at every level. Expanding w(22-k) builds
// 2^(k+3)-1 bytes and takes 6 + sum over j = 1..k of 2 * (2^(j+2) - 1) bytes
// of the allowance: 4070 for w14 (k = 8), 8164 for w13 (k = 9), past 4096.
TEST_F(SingerLyricDictTest, SharedNestedWordsStayWithinTheLengthAllowance) {
    std::string lines;
    for (int n = 0; n <= 21; ++n)
        lines += "w" + std::to_string(n) + "=w" + std::to_string(n + 1) + " w" + std::to_string(n + 1) + "\n";
    lines += "w22=a1 b2\n";
    ASSERT_TRUE(dict.loadTxt(dir.write("w-dict.txt", lines)));
    EXPECT_EQ(dict.expandEntry("w22"), "/ a1 b2");
    EXPECT_EQ(dict.expandEntry("w21"), "/  a1 b2  a1 b2");
    EXPECT_EQ(dict.expandEntry("w20"), "/   a1 b2  a1 b2   a1 b2  a1 b2");
    const std::string w14 = dict.expandEntry("w14");
    EXPECT_EQ(w14.size(), 2047u);  // 2^11 - 1
    size_t syllables = 0;
    for (size_t at = w14.find("a1 b2"); at != std::string::npos; at = w14.find("a1 b2", at + 1)) ++syllables;
    EXPECT_EQ(syllables, 256u);  // 2^8 copies of w22
    // Beyond the allowance the word is used as it stands.
    EXPECT_EQ(dict.expandEntry("w13"), "w13");
    EXPECT_EQ(match(dict, "w0w0"), (Strings{"w0:w0", "w0:w0"}));
}

// Nested words that add nothing to the text still use the allowance, and
// nesting is bounded, so neither can run long or deep.
TEST_F(SingerLyricDictTest, EmptyAndDeepNestingAreBounded) {
    // z0..z29 each name the next twice, z30 twice a word of empty value:
    // each expansion is "/" alone, each piece uses one byte, 2 * 31 in all.
    std::string json = R"({"e": "", "z30": "e e")";
    for (int n = 0; n < 30; ++n)
        json += ", \"z" + std::to_string(n) + "\": \"z" + std::to_string(n + 1) + " z" + std::to_string(n + 1) + "\"";
    json += "}";
    ASSERT_TRUE(dict.loadJson(dir.write("z.dict.txt", json)));
    EXPECT_EQ(dict.expandEntry("z0"), "/");

    // d0..d39 each name the next and x; d40=a1 b2. d(40-n) expands to "/",
    // n+1 blanks, "a1 b2" and n times " x". Expanding d9 nests d9..d40, 32
    // words; d8 would nest 33.
    std::string lines = "d40=a1 b2\n";
    for (int n = 0; n < 40; ++n) lines += "d" + std::to_string(n) + "=d" + std::to_string(n + 1) + " x\n";
    ASSERT_TRUE(dict.loadTxt(dir.write("d-dict.txt", lines)));
    EXPECT_EQ(dict.expandEntry("d38"), "/   a1 b2 x x");
    std::string d9 = "/" + std::string(32, ' ') + "a1 b2";
    for (int n = 0; n < 31; ++n) d9 += " x";
    EXPECT_EQ(dict.expandEntry("d9"), d9);
    EXPECT_EQ(dict.expandEntry("d8"), "d8");
}

// A key far longer than the lyric, or one the lyric follows a long way
// without finishing it, matches only where it is whole.
TEST_F(SingerLyricDictTest, LongKeysAreNotTriedPastTheEndOfTheText) {
    const std::string longKey(100 * 1024, 'k');
    ASSERT_TRUE(dict.loadTxt(dir.write("k-dict.txt", longKey + "=s9\nla=s1\nk=s2\n")));
    EXPECT_EQ(dict.getMaxKeyLen(), 100 * 1024);
    std::string lyric;
    for (int i = 0; i < 16 * 1024; ++i) lyric += "la-q";  // 64 KB, 16384 words
    Strings words, symbols;
    dict.lookup(lyric, words, symbols);
    ASSERT_EQ(words.size(), 16384u);
    EXPECT_EQ(words.front(), "la");
    EXPECT_EQ(symbols.back(), "s1");
    // The long key itself still matches, at the end of the text too.
    EXPECT_EQ(match(dict, "kla" + longKey), (Strings{"k:s2", "la:s1", longKey + ":s9"}));
    EXPECT_EQ(match(dict, std::string(3, 'k')), (Strings{"k:s2", "k:s2", "k:s2"}));
    // An empty word (possible in JSON) matches nothing and stops nothing.
    ASSERT_TRUE(dict.loadJson(dir.write("e.dict.txt", R"({"": "s0", "la": "s1"})")));
    EXPECT_EQ(match(dict, "xla"), Strings{"la:s1"});
}

}  // namespace
