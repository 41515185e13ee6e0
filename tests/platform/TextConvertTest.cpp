#include <gtest/gtest.h>

#include "platform/TextConvert.h"

TEST(TextConvert, RoundTripIncludingCharactersOutsideTheBmp) {
    const std::string utf8 = "la \xE4\xB8\xAD\xE5\x9B\xBD \xF0\x9F\x8E\xB5 \xF0\xA0\x80\x80";  // 中国, U+1F3B5, U+20000
    CString wide;
    utf8ToCstr(utf8.c_str(), wide);
    // 3 + 2 + 1 + 2 + 1 + 2 UTF-16 units.
    EXPECT_EQ(wide.getLength(), 11);
    EXPECT_EQ(wide.at(6), 0xD83C);
    std::string back;
    cstrToUtf8(wide, back);
    EXPECT_EQ(back, utf8);
}

TEST(TextConvert, StopsAtFirstZeroUnitAndReplacesLoneSurrogates) {
    std::u16string raw = u"ab";
    raw.push_back(0xD800);
    raw.push_back(u'c');
    raw.push_back(0);
    raw += u"ignored";
    std::string out = "old";
    cstrToUtf8(CString(raw), out);
    EXPECT_EQ(out, "ab\xEF\xBF\xBD" "c");
}

TEST(TextConvert, InvalidUtf8BecomesReplacementCharacters) {
    CString wide;
    utf8ToCstr("a\xFF\xC3", wide);
    ASSERT_GE(wide.getLength(), 2);
    EXPECT_EQ(wide.at(0), u'a');
    EXPECT_EQ(wide.at(1), 0xFFFD);
    utf8ToCstr(nullptr, wide);
    EXPECT_TRUE(wide.isEmpty());
}

TEST(TextConvert, AnsiTextIsDecodedAsGb18030UnlessItIsUtf8) {
    // "中文" in GB18030.
    EXPECT_EQ(ansiToUtf8("\xD6\xD0\xCE\xC4"), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(ansiToUtf8("\xE4\xB8\xAD"), "\xE4\xB8\xAD");
    EXPECT_EQ(ansiToUtf8("plain"), "plain");
    // A lead byte with nothing behind it is replaced, not dropped silently or crashed on.
    std::string cut = ansiToUtf8("a\xD6");
    EXPECT_EQ(cut.substr(0, 1), "a");
    EXPECT_TRUE(isValidUtf8(cut));
}

TEST(TextConvert, PathBytesRoundTripWhetherOrNotTheyAreUtf8) {
    const std::string cases[] = {
        "song.ot",
        "lat\xE9.ot",                       // Latin-1
        "\xE4\xB8\xAD\xE6\x96",              // a character, then one cut short
        "\xED\xA0\x80/\xC0\xAF/\xF4\x90\x80\x80",  // a surrogate, an overlong "/", past U+10FFFF
        "\xF0\x9F\x8E\xB5\xFF",              // outside the BMP, then a stray byte
    };
    for (const std::string& bytes : cases) {
        const CString path = CString::fromPathBytes(bytes);
        EXPECT_EQ(path.toPathBytes(), bytes);
        // As text the stray bytes read U+FFFD; valid UTF-8 is decoded as it is.
        EXPECT_TRUE(isValidUtf8(path.toUtf8()));
        if (isValidUtf8(bytes)) {
            EXPECT_EQ(path, CString::fromUtf8(bytes));
        }
    }
    EXPECT_EQ(CString::fromPathBytes("a\xE9").toUtf8(), "a\xEF\xBF\xBD");
}
