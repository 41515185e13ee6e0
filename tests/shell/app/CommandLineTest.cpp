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
    EXPECT_TRUE(line->importMidiPath.empty() && line->midiTracks.empty() && !line->fixOverlaps);
}

TEST(CommandLineTest, MidiOptionsGoWithAMidiFileToRead)
{
    struct Case {
        std::vector<std::string> args;
        std::string importMidi;
        std::vector<int> midiTracks;
        bool fixOverlaps;
    };
    const std::vector<Case> cases = {
        {{"Song.MID", "--midi-tracks", "0,2"}, "", {0, 2}, false},
        {{"a.ot", "--import-midi", "b.mid", "--fix-overlaps"}, "b.mid", {}, true},
        // Any file can be named for import; its bytes decide.
        {{"--midi-tracks", "3", "a.vsqx", "--import-midi", "b.smf"}, "b.smf", {3}, false},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto line = parseCommandLine(c.args, error);
        ASSERT_TRUE(line) << c.args[0] << ": " << error;
        EXPECT_EQ(line->importMidiPath, c.importMidi) << c.args[0];
        EXPECT_EQ(line->midiTracks, c.midiTracks) << c.args[0];
        EXPECT_EQ(line->fixOverlaps, c.fixOverlaps) << c.args[0];
    }
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
        {{"a.ot", "--mixdown", "o.wav", "--tracks", "0"}, "--tracks wants 1-based track numbers separated by commas, each once, not \"0\""},
        {{"a.ot", "--mixdown", "o.wav", "--tracks", "1,,2"}, "--tracks wants 1-based track numbers separated by commas, each once, not \"1,,2\""},
        {{"a.ot", "--mixdown", "o.wav", "--tracks", "2x"}, "--tracks wants 1-based track numbers separated by commas, each once, not \"2x\""},
        {{"a.ot", "--mixdown", "o.wav", "--tracks", "1,2,1"}, "--tracks wants 1-based track numbers separated by commas, each once, not \"1,2,1\""},
        {{"a.ot", "--tracks", "1"}, "--tracks goes with --mixdown"},
        {{"a.mid", "--midi-tracks", "-1"}, "--midi-tracks wants MIDI track numbers from 0 separated by commas, each once, not \"-1\""},
        {{"a.mid", "--midi-tracks", "1,"}, "--midi-tracks wants MIDI track numbers from 0 separated by commas, each once, not \"1,\""},
        {{"a.ot", "--midi-tracks", "1"}, "--midi-tracks goes with a .mid FILE or --import-midi"},
        {{"a.ot", "--import-midi", "b.mid", "--import-midi", "c.mid"}, "--import-midi can be given once"},
        {{"a.ot", "--import-midi"}, "--import-midi needs a value"},
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
