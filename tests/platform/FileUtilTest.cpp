#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "platform/ExeDir.h"
#include "platform/FileUtil.h"
#include "support/ScratchDir.h"

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

TEST(FileUtil, OnlyRegularFilesUnderTheCapAreRead) {
    namespace fs = std::filesystem;
    hvtest::ScratchDir dir("regular");
    const uint64_t cap = uint64_t{8} << 20;
    const std::string fifo = dir.file("a.hvsd"), text = dir.file("ten.txt"), big = dir.file("big.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(text) << "0123456789";
    std::ofstream(big).flush();
    fs::resize_file(big, cap + 1);  // sparse

    struct Case {
        std::string path;
        uint64_t cap;
        bool reads;
    } const cases[] = {
        {fifo, cap, false},          // would block until a writer came
        {"/dev/zero", cap, false},  // would never end
        {dir.path(), cap, false},   // a folder
        {dir.file("missing"), cap, false},
        {big, cap, false},
        {text, 9, false},
        {text, 10, true},
        {text, cap, true},
    };
    for (const Case& c : cases) {
        std::string out = "old";
        EXPECT_EQ(readWholeFile(CString::fromUtf8(c.path), out, c.cap), c.reads) << c.path << " " << c.cap;
        EXPECT_EQ(out, c.reads ? "0123456789" : "") << c.path;
    }
    // Readers that open a file themselves get the same refusal.
    EXPECT_EQ(openFile(CString::fromUtf8(fifo), "rb"), nullptr);
    EXPECT_EQ(openFile(CString::fromUtf8("/dev/zero"), "rb"), nullptr);
    FilePtr writable(openFile(CString::fromUtf8(dir.file("new.txt")), "wb"));
    EXPECT_NE(writable, nullptr);
}
