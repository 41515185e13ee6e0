#include "lyrics/PinyinDict.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace {

using Strings = std::vector<std::string>;

// A..E stand for U+4E00..U+4E04, so that phrase matching walks multi-byte text.
const std::string A = "\xE4\xB8\x80", B = "\xE4\xB8\x81", C = "\xE4\xB8\x82", D = "\xE4\xB8\x83",
                  E = "\xE4\xB8\x84";

struct PinyinDictTest : ::testing::Test {
    TempFolder dir{"pinyindict"};
    CPinyinDict dict;

    void loadList(const std::string& list) {
        dir.write("zh_list", list);
        dir.write("zh_listx", "");
        dict.load(dir.cpath());
    }
    std::string reading(const std::string& text, size_t i) {
        return dict.getDictionary()->lookup(text)[i]->text;
    }
};

TEST_F(PinyinDictTest, LongestPhraseWinsAndFirstStoredBreaksTies) {
    loadList(A + " a1\n" + B + " ba1\n" + C + " ca1\n" + D + " da1\n(" + A + " " + B + ") a2ba2\n(" +
             A + " " + B + " " + C + ") a3ba3ca3\n(" + B + " " + C + ") ba4ca4\n(" + B + " " + C +
             ") ba5ca5\n(" + E + ") e4\n");
    EXPECT_EQ(dict.textToPinyin(A + B + C + D), (Strings{"a", "ba", "ca", "da"}));
    EXPECT_EQ(reading(A + B + C + D, 2), "ca3");
    EXPECT_EQ(reading(A + B + C + D, 3), "da1");
    EXPECT_EQ(reading(A + B, 1), "ba2");
    EXPECT_EQ(reading(B + C, 0), "ba4");
    EXPECT_EQ(reading(D + A, 1), "a1");  // phrases longer than the rest of the text
    // A one-character phrase stands for a character without a reading of its own.
    EXPECT_EQ(dict.textToPinyin(E), Strings{"e"});
}

TEST_F(PinyinDictTest, DigitsDashesAndCharactersWithoutReading) {
    loadList(A + " ma3\nx a1\n");
    EXPECT_EQ(dict.textToPinyin(""), Strings{});
    EXPECT_EQ(dict.textToPinyin("0-" + B + A + "x"), (Strings{"0", "-", "", "ma", "a"}));
    Strings pinyin, chars;
    dict.textToCharsAndPinyin("0-" + B + A, pinyin, chars);
    EXPECT_EQ(pinyin, (Strings{"0", "-", "ma"}));
    EXPECT_EQ(chars, (Strings{"0", "-", A}));
    // Malformed UTF-8 reads as replacement characters and never throws.
    EXPECT_EQ(dict.textToPinyin("\xFF" + A + "\xE4\xB8" + "0"), (Strings{"", "ma", "", "0"}));
    dict.textToCharsAndPinyin("\xED\xA0\x80" + A, pinyin, chars);
    EXPECT_EQ(chars, Strings{A});
}

TEST(PinyinDictNoDataTest, IsPinyinAndLookupsWithoutDictionary) {
    CPinyinDict dict;
    for (const char* s : {"a", "lue", "nue", "lve", "ng", "zuo"}) EXPECT_TRUE(dict.isPinyin(s)) << s;
    for (const char* s : {"eng", "r", "rua", "nia", "Ma", "ma3", ""}) EXPECT_FALSE(dict.isPinyin(s)) << s;
    // Never loaded (the dictionary folder is missing): an empty dictionary.
    EXPECT_EQ(dict.getDictionary(), nullptr);
    EXPECT_EQ(dict.textToPinyin("a0-" + A), (Strings{"", "0", "-", ""}));
}

}  // namespace
