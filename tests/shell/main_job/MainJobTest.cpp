#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/ScratchDir.h"
#include "support/audio/AudioFiles.h"

namespace {

constexpr int kRate = 44100;

// The song at 120 BPM: quarters of 0.5 s, the fifth note a half, a half rest.
struct Span {
    double from, to;
};
const Span kNotes[] = {{0.0, 0.5}, {0.5, 1.0}, {1.0, 1.5}, {1.5, 2.0}, {2.0, 3.0},
                       {4.0, 4.5}, {4.5, 5.0}, {5.0, 6.0}};

// The largest magnitude of channel 0 of interleaved stereo over [from, to) seconds.
int loudest(const std::vector<int16_t>& stereo, double from, double to)
{
    int peak = 0;
    const std::size_t end = std::min(stereo.size() / 2, static_cast<std::size_t>(to * kRate));
    for (std::size_t i = static_cast<std::size_t>(from * kRate); i < end; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(stereo[2 * i])));
    return peak;
}

void checkSong(const std::vector<int16_t>& stereo, const std::string& what)
{
    ASSERT_GE(stereo.size() / 2, static_cast<std::size_t>(6 * kRate)) << what;
    for (const Span& n : kNotes) {
        const double quarter = (n.to - n.from) / 4.0;
        EXPECT_GT(loudest(stereo, n.from + quarter, n.to - quarter), 300) << what << " note at " << n.from;
    }
    EXPECT_LE(loudest(stereo, 3.3, 3.7), 2) << what << " mid-rest";
}

TEST(MainJob, SongIsSungIntoWavAndMp3)
{
    hvtest::ScratchDir dir("main_job");
    const std::string wav = dir.file("song.wav");
    const std::string mp3 = dir.file("song.mp3");
    for (const std::string& out : {wav, mp3}) {
        const std::string command = "cd '" + dir.path() + "' && HALVOREN_HOME='" HV_PROGRAM_FOLDER "' '" +
                                    HALVOREN_EXE + "' '" HV_EXAMPLE_SONG "' --mixdown '" + out +
                                    "' >/dev/null 2>&1 </dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
    }
    checkSong(hvtest::wavSamples(wav), "wav");
    const hvtest::DecodedMp3 decoded = hvtest::decodeMp3(mp3);
    ASSERT_EQ(decoded.channels, 2);
    checkSong(decoded.pcm, "mp3");
}

}  // namespace
