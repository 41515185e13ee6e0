// Runs the dictionary on the lists converted from the Unihan data. The data
// is found through HV_DICT_DIR, else in the build folder's "dict"; without it
// the test is skipped, except on CI (CI=true), where missing data fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "TempFolder.h"
#include "lyrics/PinyinDict.h"

namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(RealDictDataTest, ConvertsTextAndCompilesTheSameDictionary) {
    const char* env = std::getenv("HV_DICT_DIR");
    const fs::path data = env && *env ? env : HV_BUILD_DICT_DIR;
    if (!fs::exists(data / "zh_list") || !fs::exists(data / "zh_listx")) {
        const char* ci = std::getenv("CI");
        if (ci && std::string(ci) == "true") FAIL() << "no dictionary data in " << data << " (build hv_dict_data)";
        GTEST_SKIP() << "no dictionary data in " << data;
    }
    // A private copy, so the compiled file this writes stays out of the data folder.
    TempFolder dir("realdict");
    for (const char* name : {"zh_list", "zh_listx"}) fs::copy_file(data / name, dir.file(name));

    std::ostringstream log;
    ChCharacterDict fromLists(dir.cpath(), log);
    ASSERT_EQ(fromLists.load(), 0);
    EXPECT_EQ(log.str(), "");  // every converted line is well-formed and known
    ASSERT_TRUE(dir.exists("zh.dict"));
    fs::remove(dir.file("zh_list"));  // the compiled form must do from now on

    CPinyinDict dict;
    dict.load(dir.cpath());
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

}  // namespace
