#include <gtest/gtest.h>

#include "shell/CommandLine.h"

namespace {

TEST(CommandLineTest, AcceptsEveryOptionInAnyOrder)
{
    std::string error;
    const auto line = parseCommandLine({"--quiet", "--mixdown", "out.mp3", "song.ot", "--tracks", "1,3", "--save",
                                        "s.ot", "--export-each-track", "dir", "--overwrite", "--play"},
                                       error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->file, "song.ot");
    EXPECT_EQ(line->mixdownPath, "out.mp3");
    EXPECT_EQ(line->tracks, (std::vector<int>{1, 3}));
    EXPECT_EQ(line->savePath, "s.ot");
    EXPECT_EQ(line->eachTrackDir, "dir");
    EXPECT_TRUE(line->overwrite && line->play && line->quiet && !line->help);
}

TEST(CommandLineTest, RefusesBadUsageWithAReason)
{
    struct Case {
        std::vector<std::string> args;
        const char* error;
    };
    const std::vector<Case> cases = {
        {{}, "no project file given"},
        {{"a.ot", "b.ot"}, "only one project file can be given"},
        {{"a.ot", "--mixdown"}, "--mixdown needs a value"},
        {{"a.ot", "--frobnicate"}, "unknown option --frobnicate"},
        {{"a.ot", "--mixdown", "o.wav", "--tracks", "0"}, "--tracks wants 1-based track numbers separated by commas, not \"0\""},
        {{"a.ot", "--mixdown", "o.wav", "--tracks", "1,,2"}, "--tracks wants 1-based track numbers separated by commas, not \"1,,2\""},
        {{"a.ot", "--mixdown", "o.wav", "--tracks", "2x"}, "--tracks wants 1-based track numbers separated by commas, not \"2x\""},
        {{"a.ot", "--tracks", "1"}, "--tracks goes with --mixdown"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parseCommandLine(c.args, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
    std::string error;
    const auto help = parseCommandLine({"--help"}, error);  // needs no file
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->help);
}

}  // namespace
