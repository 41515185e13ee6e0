// Runs the dictionary on the lists converted at build time from the Unihan
// data and the Rime word list. The data is found through HV_DICT_DIR, else in
// the build folder's "dict"; without it the tests are skipped, except on CI
// (CI=true), where missing data fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "TempFolder.h"
#include "lyrics/PinyinDict.h"

namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

bool onCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

// Loads the data twice: from the lists, which writes "zh.dict", and then, the
// first list removed, from the compiled form alone.
struct RealDictDataTest : ::testing::Test {
    TempFolder dir{"realdict"};
    std::ostringstream log;
    ChCharacterDict fromLists{dir.cpath(), log};
    CPinyinDict dict;

    void SetUp() override {
        const char* env = std::getenv("HV_DICT_DIR");
        const fs::path data = env && *env ? env : HV_BUILD_DICT_DIR;
        if (!fs::exists(data / "zh_list") || !fs::exists(data / "zh_listx")) {
            if (onCi()) FAIL() << "no dictionary data in " << data << " (build hv_dict_data)";
            GTEST_SKIP() << "no dictionary data in " << data;
        }
        // A private copy, so the compiled file this writes stays out of the data folder.
        for (const char* name : {"zh_list", "zh_listx"}) fs::copy_file(data / name, dir.file(name));
        ASSERT_EQ(fromLists.load(), 0);
        ASSERT_TRUE(dir.exists("zh.dict"));
        fs::remove(dir.file("zh_list"));  // the compiled form must do from now on
        dict.load(dir.cpath());
    }

    Strings symbols(const std::string& text) const {
        Strings out;
        for (const SymbolSlot* slot : dict.getDictionary()->lookup(text)) out.push_back(slot->text ? slot->text : "");
        return out;
    }
};

TEST_F(RealDictDataTest, ConvertsTextAndCompilesTheSameDictionary) {
    EXPECT_EQ(log.str(), "");  // every converted line is well-formed and known
    EXPECT_EQ(dict.textToPinyin("\xE4\xB8\xAD\xE5\x9B\xBD\xE4\xBA\xBA"),  // 中国人
              (Strings{"zhong", "guo", "ren"}));
    for (const char* typed : {"zhong", "guo", "ren", "lve"}) EXPECT_TRUE(dict.isPinyin(typed)) << typed;
    // Latin letters and punctuation have no reading; digits and dashes stay.
    EXPECT_EQ(dict.textToPinyin("a0-,\xF0\xA0\x80\x80"), (Strings{"", "0", "-", "", "he"}));
    Strings pinyin, characters;
    dict.textToCharsAndPinyin("ni\xE5\xA5\xBD!", pinyin, characters);  // "ni好!"
    EXPECT_EQ(pinyin, Strings{"hao"});
    EXPECT_EQ(characters, Strings{"\xE5\xA5\xBD"});

    std::vector<std::uint32_t> everything;
    for (std::uint32_t cp = 0x20; cp < 0x32000; ++cp) everything.push_back(cp);
    const auto expected = fromLists.lookupText(everything);
    const auto actual = dict.getDictionary()->lookupText(everything);
    size_t withReading = 0, differing = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        withReading += expected[i]->text != nullptr;
        differing += expected[i] != actual[i];
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(withReading, 30000u);
}

// Every reading, of a character or in a phrase, is a syllable a singer can be
// given, and the compiled form keeps every phrase of the lists.
TEST_F(RealDictDataTest, EveryReadingIsAValidSyllableAndEveryPhraseIsKept) {
    auto valid = [this](const SymbolSlot* reading) {
        const std::string text = reading && reading->text ? reading->text : "";
        return text.size() > 1 && dict.isPinyin(text.substr(0, text.size() - 1));
    };
    size_t characters = 0, lost = 0;
    Strings invalid;
    for (std::uint32_t cp = 0; cp < 0x32000; ++cp) {
        const ChCharEntry* listed = fromLists.findEntry(cp);
        if (!listed || !listed->reading) continue;
        ++characters;
        if (!valid(listed->reading)) invalid.push_back(listed->reading->text);
        const ChCharEntry* compiled = dict.getDictionary()->findEntry(cp);
        const size_t count = listed->phrases ? listed->phrases->size() : 0;
        lost += !compiled || (compiled->phrases ? compiled->phrases->size() : 0) != count;
        for (size_t i = 0; i < count; ++i) {
            for (const auto& [member, reading] : (*listed->phrases)[i].chars) {
                if (!valid(reading)) invalid.push_back(reading && reading->text ? reading->text : "(none)");
            }
        }
    }
    EXPECT_GT(characters, 40000u);
    EXPECT_EQ(invalid, Strings{});
    EXPECT_EQ(lost, 0u);
}

// Words whose characters read otherwise alone, and words that already read
// right without a phrase.
TEST_F(RealDictDataTest, WordsReadAsSung) {
    size_t phrases = 0;
    for (std::uint32_t cp = 0; cp < 0x32000; ++cp) {
        const ChCharEntry* entry = dict.getDictionary()->findEntry(cp);
        phrases += entry && entry->phrases ? entry->phrases->size() : 0;
    }
    if (phrases == 0) {
        if (onCi()) FAIL() << "the dictionary data has no phrases (package rime-data-pinyin-simp)";
        GTEST_SKIP() << "the dictionary data has no phrases";
    }
    EXPECT_GT(phrases, 45000u);
    const std::pair<const char*, Strings> words[] = {
        {"\xE9\x95\xBF\xE5\x9F\x8E", {"chang2", "cheng2"}},  // 长城
        {"\xE9\x93\xB6\xE8\xA1\x8C", {"yin2", "hang2"}},     // 银行
        {"\xE9\x9F\xB3\xE4\xB9\x90", {"yin1", "yue4"}},      // 音乐
        {"\xE9\x87\x8D\xE5\xBA\x86", {"chong2", "qing4"}},   // 重庆
        {"\xE5\x9C\xB0\xE7\x90\x83", {"di4", "qiu2"}},       // 地球
        {"\xE5\xA5\xB3\xE5\x84\xBF", {"nv3", "er2"}},        // 女儿
        {"\xE7\x9D\xA1\xE8\xA7\x89", {"shui4", "jiao4"}},    // 睡觉
        {"\xE9\x95\xBF\xE5\xA4\xA7", {"zhang3", "da4"}},     // 长大
        {"\xE5\xBF\xAB\xE4\xB9\x90", {"kuai4", "le4"}},      // 快乐
        {"\xE5\x84\xBF", {"er2"}},                           // 儿 alone
    };
    for (const auto& [text, expected] : words) EXPECT_EQ(symbols(text), expected) << text;
}

}  // namespace
