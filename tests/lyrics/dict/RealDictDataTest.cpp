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

std::string dictDataDir() {
    const char* env = std::getenv("HV_DICT_DIR");
    return env && *env ? env : HV_BUILD_DICT_DIR;
}

bool onCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

class RealDictDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path data = dictDataDir();
        if (!fs::exists(data / "zh_list") || !fs::exists(data / "zh_listx")) {
            if (onCi()) FAIL() << "no dictionary data in " << data << " (build the hv_dict_data target)";
            GTEST_SKIP() << "no dictionary data in " << data;
        }
        // A private copy, so the compiled file this writes stays out of the data folder.
        for (const char* name : {"zh_list", "zh_listx"})
            fs::copy_file(data / name, fs::path(dir.path()) / name);
    }
    TempFolder dir{"realdict"};
};

TEST_F(RealDictDataTest, ConvertsCommonTextAndRecognisesTypedPinyin) {
    std::ostringstream log;
    ChCharacterDict chars(dir.cpath(), log);
    ASSERT_EQ(chars.load(), 0);
    EXPECT_EQ(log.str(), "");  // every converted line is well-formed and known
    ASSERT_TRUE(dir.exists("zh.dict"));

    CPinyinDict dict;
    dict.load(dir.cpath());
    EXPECT_EQ(dict.textToPinyin("\xE4\xB8\xAD\xE5\x9B\xBD\xE4\xBA\xBA"),  // 中国人
              (Strings{"zhong", "guo", "ren"}));
    for (const std::string& s : dict.textToPinyin("\xE4\xB8\xAD\xE5\x9B\xBD\xE4\xBA\xBA"))
        EXPECT_TRUE(dict.isPinyin(s)) << s;
    // Latin letters and punctuation have no reading; digits and dashes stay.
    EXPECT_EQ(dict.textToPinyin("a0-,\xF0\xA0\x80\x80"), (Strings{"", "0", "-", "", "he"}));
    Strings pinyin, characters;
    dict.textToCharsAndPinyin("ni\xE5\xA5\xBD!", pinyin, characters);  // "ni好!"
    EXPECT_EQ(pinyin, Strings{"hao"});
    EXPECT_EQ(characters, Strings{"\xE5\xA5\xBD"});
}

TEST_F(RealDictDataTest, CompiledFormGivesTheSameReadingsAsTheLists) {
    std::ostringstream log;
    ChCharacterDict fromLists(dir.cpath(), log);
    ASSERT_EQ(fromLists.load(), 0);
    ChCharacterDict fromCompiled(dir.cpath(), log);
    fs::remove(fs::path(dir.path()) / "zh_list");  // must not be needed any more
    ASSERT_EQ(fromCompiled.load(), 0);

    std::vector<std::uint32_t> everything;
    for (std::uint32_t cp = 0x20; cp < 0x32000; ++cp) everything.push_back(cp);
    const auto expected = fromLists.lookupText(everything);
    const auto actual = fromCompiled.lookupText(everything);
    size_t withReading = 0, differing = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        withReading += expected[i]->text != nullptr;
        differing += expected[i] != actual[i];
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(withReading, 30000u);
}

}  // namespace
