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
        "U+513F\tkHanyuPinlu\t\xC3\xA9r(581) r(3254)\n"           // the highest count wins
        "U+55EF\tkHanyuPinlu\t\xC5\x84(48) \xC5\x84g(48) \xC5\x88g(48)\r\n"  // unknown skipped, ties: first
        "U+5514\tkHanyuPinlu\t\xE1\xB8\xBF(3)\n"                 // nothing known: falls back
        "U+5514\tkMandarin\t\xC5\x84 w\xC3\xBA\n"
        "U+20000\tkMandarin\th\xC4\x93\n"
        "U+4E00\tkDefinition\tone\n"
        "bad line\n");
    const UnihanLists lists = convertUnihanReadings(in);
    EXPECT_EQ(lists.common, (std::map<std::uint32_t, std::string>{
                                {0x4E2D, "zhong1"}, {0x513F, "r5"}, {0x55EF, "ng2"}}));
    EXPECT_EQ(lists.other, (std::map<std::uint32_t, std::string>{{0x5514, "wu2"}, {0x20000, "he1"}}));
    EXPECT_EQ(lists.skippedReadings, 3);

    std::ostringstream out;
    writeCharacterList(out, lists.other, "x");
    EXPECT_EQ(out.str(), "// x\n\xE5\x94\x94\twu2\n\xF0\xA0\x80\x80\the1\n");
}

}  // namespace
