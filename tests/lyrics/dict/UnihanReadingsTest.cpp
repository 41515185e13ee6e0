#include "tools/unihan/UnihanReadings.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(UnihanReadingsTest, ToneMarksBecomeToneDigits) {
    const std::pair<const char*, const char*> cases[] = {
        {"zh\xC5\x8Dng", "zhong1"},     // zhōng
        {"h\xC7\x8Eo", "hao3"},         // hǎo
        {"ma", "ma5"},
        {"l\xC7\x9C", "lv4"},           // lǜ
        {"l\xC3\xBC\xC3\xA8", "lve4"},  // lüè
        {"zho\xCC\x84ng", "zhong1"},    // combining macron
        {"lu\xCC\x88\xCC\x80", "lv4"},  // u + combining diaeresis + grave
        {"\xC5\x84g", "ng2"},           // ńg
        {"r", "r5"},
    };
    for (const auto& [marked, symbol] : cases) {
        EXPECT_EQ(markedPinyinToSymbol(marked).value_or("(none)"), symbol) << marked;
    }
    // Syllables the dictionary cannot hold, capitals and foreign letters.
    for (const char* marked : {"\xC5\x84", "\xE1\xB8\xBF", "Zh\xC5\x8Dng", "bi\xC3\xA1ng", "", "zh\xC3\xAAng", "\xFF"}) {
        EXPECT_FALSE(markedPinyinToSymbol(marked).has_value()) << marked;
    }
}

TEST(UnihanReadingsTest, ChoosesReadingsAndKeepsTheListsDisjoint) {
    std::istringstream in(
        "# comment\n"
        "U+4E2D\tkHanyuPinlu\tzh\xC5\x8Dng(4875) zh\xC3\xB2ng(66)\n"
        "U+4E2D\tkMandarin\tzh\xC3\xB2ng\n"                      // has Pinlu: not in the second list
        "U+4E2D\tkTGHZ2013\t482.140:zh\xC5\x8Dng 485.010:zh\xC3\xB2ng\n"  // nothing new
        "U+884C\tkHanyuPinlu\th\xC3\xA1ng(218) x\xC3\xADng(2943)\n"  // the highest count first
        "U+884C\tkXHC1983\t0442.080:h\xC3\xA1ng 0443.050:h\xC3\xA0ng 0460.010:x\xC3\xACng\n"
        "U+513F\tkHanyuPinlu\tr(3254) \xC3\xA9r(581)\n"           // erhua r is no valid syllable
        "U+55EF\tkHanyuPinlu\t\xC5\x84(48) \xC5\x84g(48) \xC5\x88g(48)\r\n"  // unknown skipped, ties: first
        "U+5514\tkHanyuPinlu\t\xE1\xB8\xBF(3)\n"                 // nothing known: falls back
        "U+5514\tkMandarin\t\xC5\x84 w\xC3\xBA\n"
        "U+20000\tkMandarin\th\xC4\x93\n"
        "U+9798\tkMandarin\t\xC4\x93ng\n"                         // eng: no valid syllable at all
        "U+4E86\tkHanyuPinyin\t10048.060:li\xC7\x8Eo,le,li\xC3\xA0o\n"  // dictionary fields alone
        "U+4E86\tkXHC1983\t0684.060:le 0711.150:li\xC7\x8Eo\n"
        "U+4E00\tkDefinition\tone\n"
        "bad line\n");
    const UnihanLists lists = convertUnihanReadings(in);
    EXPECT_EQ(lists.common, (std::map<std::uint32_t, std::string>{
                                {0x4E2D, "zhong1"}, {0x884C, "xing2"}, {0x513F, "er2"}, {0x55EF, "ng2"}}));
    EXPECT_EQ(lists.other, (std::map<std::uint32_t, std::string>{
                               {0x4E86, "le5"}, {0x5514, "wu2"}, {0x20000, "he1"}}));
    using Symbols = std::vector<std::string>;
    const std::pair<std::uint32_t, Symbols> readings[] = {
        {0x4E2D, {"zhong1", "zhong4"}},
        {0x884C, {"xing2", "hang2", "hang4", "xing4"}},  // Pinlu, then kXHC1983
        {0x513F, {"er2"}},
        {0x55EF, {"ng2", "ng3"}},
        {0x4E86, {"le5", "liao3", "liao4"}},  // kXHC1983 before kHanyuPinyin
    };
    for (const auto& [cp, symbols] : readings) {
        ASSERT_TRUE(lists.readings.count(cp)) << std::hex << cp;
        EXPECT_EQ(lists.readings.at(cp), symbols) << std::hex << cp;
    }
    EXPECT_FALSE(lists.readings.count(0x9798));
    // Per character: n (U+55EF), r, m and n (U+5514), eng.
    EXPECT_EQ(lists.skippedReadings, 5);

    std::ostringstream out;
    writeCharacterList(out, lists.other, "x");
    EXPECT_EQ(out.str(), "// x\n\xE4\xBA\x86\tle5\n\xE5\x94\x94\twu2\n\xF0\xA0\x80\x80\the1\n");
}

}  // namespace
