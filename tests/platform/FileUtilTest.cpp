#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ExeDir.h"
#include "platform/FileUtil.h"

TEST(FileUtil, ExtensionIsTheTextAfterTheLastDotWithCaseKept) {
    EXPECT_EQ(getFileExt(u"/a/b.song.WAV"), CString(u"WAV"));
    EXPECT_EQ(getFileExt(u"noext"), CString(u"noext"));
}

TEST(FileUtil, StoredPathsSplitOnBothSeparators) {
    EXPECT_EQ(fileNameOfStoredPath(std::string("C:\\songs\\a.wav")), "a.wav");
    EXPECT_EQ(fileNameOfStoredPath(std::string("/x/y/b.mp3")), "b.mp3");
    EXPECT_EQ(fileNameOfStoredPath(std::string("c.wav")), "c.wav");
    EXPECT_EQ(folderOfPath(u"C:\\songs/a.ot"), CString(u"C:\\songs/"));
}

TEST(FileUtil, FolderListingIsSortedAndSplitByKind) {
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / ("hv_list_" + std::to_string(::getpid()));
    fs::create_directories(root / "b_dir");
    fs::create_directories(root / "a_dir");
    { FILE* f = std::fopen((root / "z.txt").c_str(), "w"); std::fclose(f); }
    CString dir = CString::fromUtf8(root.string());
    EXPECT_EQ(listFolder(dir, true), (std::vector<std::string>{"a_dir", "b_dir"}));
    EXPECT_EQ(listFolder(dir, false), (std::vector<std::string>{"z.txt"}));
    EXPECT_TRUE(listFolder(dir + u"/missing", true).empty());
    fs::remove_all(root);
}

TEST(ExeDir, OverrideAndEnvironmentWinOverTheProgramFolder) {
    setExeDirOverride(u"/tmp/hv_home");
    EXPECT_EQ(getExeDir(), CString(u"/tmp/hv_home"));
    setExeDirOverride(CString());
    ::setenv("HALVOREN_HOME", "/opt/hv/", 1);
    EXPECT_EQ(getExeDir(), CString(u"/opt/hv"));
    ::unsetenv("HALVOREN_HOME");
    EXPECT_FALSE(getExeDir().isEmpty());
}
