#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/services/LanguageMgr.h"

TEST(LanguageMgr, SelectedEntryWinsThenBuiltinThenEmpty) {
    CLanguageMgr mgr;
    mgr.setSelectedTable({{"track", "\xE9\x9F\xB3\xE8\xBD\xA8"},
                          {"singing", ""},
                          {"only selected", "x"},
                          {"New segment", std::string("\0NS", 3)},
                          {"instrumental part", std::string("in\0st", 5)}});
    EXPECT_EQ(mgr.translate("track"), CString::fromUtf8("\xE9\x9F\xB3\xE8\xBD\xA8"));
    EXPECT_EQ(mgr.translate("singing"), CString(u"singing"));   // empty entry falls back
    EXPECT_EQ(mgr.translate("instrumental"), CString(u"instrumental"));
    EXPECT_EQ(mgr.translate("only selected"), CString(u"x"));
    // Shown up to a NUL: one at the start leaves nothing to show.
    EXPECT_EQ(mgr.translate("New segment"), CString(u"New segment"));
    EXPECT_EQ(mgr.translate("instrumental part"), CString(u"in"));
    EXPECT_TRUE(mgr.translate("no such text").isEmpty());
}

TEST(LanguageMgr, LanguageFileSkipsNonStringValues) {
    namespace fs = std::filesystem;
    fs::path file = fs::temp_directory_path() / ("hv_lang_" + std::to_string(::getpid()) + ".json");
    std::ofstream(file) << R"({"language": "Test", "author": "me", "New segment": "NS", "track": 3})";
    CLanguageMgr mgr;
    ASSERT_TRUE(mgr.loadLanguageFile(CString::fromUtf8(file.string())));
    EXPECT_EQ(mgr.translate("New segment"), CString(u"NS"));
    EXPECT_EQ(mgr.translate("track"), CString(u"track"));
    fs::remove(file);
    EXPECT_FALSE(mgr.loadLanguageFile(CString::fromUtf8(file.string())));
    EXPECT_EQ(mgr.translate("New segment"), CString(u"New segment"));
}
