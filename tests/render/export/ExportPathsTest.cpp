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
    CString name = u8("Lead: A\\/*?\"<>|z");
    removeInvalidFileNameChars(name);
    EXPECT_EQ(name.toUtf8(), "Lead Az");
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
