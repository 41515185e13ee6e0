#include <gtest/gtest.h>

#include "render/export/ExportPaths.h"

namespace {

CString u8(const char* s) { return CString::fromUtf8(s); }

TEST(ExportPathsTest, SplitsAtTheLastSlash)
{
    struct Case {
        const char* path;
        const char* name;
        const char* folder;
    };
    for (const Case& c : std::vector<Case>{{"/home/a/demo.ot", "demo.ot", "/home/a/"},
                                           {"demo.ot", "", ""},
                                           {"/x/", "", "/x/"},
                                           {"", "", ""}}) {
        EXPECT_EQ(getFileNameOfPath(u8(c.path)).toUtf8(), c.name) << c.path;
        EXPECT_EQ(getFolderOfPath(u8(c.path)).toUtf8(), c.folder) << c.path;
    }
}

TEST(ExportPathsTest, InvalidCharactersAreRemoved)
{
    CString name = u8("Lead: A\\/*?\"<>|z\n\t\x7f\x01.");
    removeInvalidFileNameChars(name);
    EXPECT_EQ(name.toUtf8(), "Lead Az.");
}

TEST(ExportPathsTest, NamesAreShortenedByWholeCharactersKeepingTheExtension)
{
    struct Case {
        const char* stem;
        size_t maxBytes;
        const char* name;
    };
    for (const Case& c : std::vector<Case>{
             {"abcdef", 10, "abcdef.wav"},           // 6 + 4 bytes fit
             {"abcdef", 8, "abcd.wav"},              // 4 + 4
             {"\u4e2d\u6587", 9, "\u4e2d.wav"},        // 3 bytes each: 3 + 4 fit, 6 + 4 do not
             {"a\U0001F600", 8, "a.wav"},            // the 4-byte character is never split: 1 + 4 + 4 > 8
             {"abc", 3, ".wav"},                      // the extension stays even past the limit
         })
        EXPECT_EQ(fitFileName(u8(c.stem), u8(".wav"), c.maxBytes).toUtf8(), c.name) << c.stem << " " << c.maxBytes;
}

TEST(ExportPathsTest, BaseNameLosesOnlyAProjectExtension)
{
    struct Case {
        const char* path;
        const char* base;
    };
    for (const Case& c : std::vector<Case>{{"/d/demo.ot", "demo"},
                                           {"/d/old.HV", "old"},
                                           {"/d/ab", "ab"},  // three characters would leave nothing wrong
                                           {"/d/x", "x"},
                                           {"/d/song.wav", "song.wav"},
                                           {"/d/a.b.ot", "a.b"},
                                           {"", ""}}) {
        EXPECT_EQ(projectBaseName(u8(c.path)).toUtf8(), c.base) << c.path;
    }
}

}  // namespace
