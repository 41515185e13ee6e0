#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Int16Samples.h"
#include "model/audio/AudioFileLoader.h"
#include "model/audio/Mp3Decoder.h"
#include "support/audio/Mp3Fixture.h"
#include "support/ScratchDir.h"

using HalvorenEditor::CWavBuf;

namespace {

class Mp3Load : public ::testing::Test {
protected:
    hvtest::ScratchDir dir{"mp3load"};

    CString encode(const std::string& name, const hvtest::SineClip& clip)
    {
        EXPECT_TRUE(hvtest::writeSineMp3(dir.file(name), clip));
        return CString::fromUtf8(dir.file(name));
    }
    CString path(const std::string& name) const { return CString::fromUtf8(dir.file(name)); }
};

// The decoded length exceeds the source by the encoder delay and the padding
// of the last frame: never by more than three frames.
void expectLengthWithinCodecDelay(size_t decodedFrames, size_t sourceFrames, size_t frameSize)
{
    EXPECT_GE(decodedFrames, sourceFrames);
    EXPECT_LE(decodedFrames, sourceFrames + 3 * frameSize);
}

}  // namespace

TEST_F(Mp3Load, DecodesMonoAndStereoSines)
{
    const hvtest::SineClip mono{22050, 1, 440, 440, 2.0};
    CWavBuf raw;
    ASSERT_TRUE(decodeMp3File(encode("mono.mp3", mono), &raw));
    EXPECT_EQ(formatOf(raw), std::make_tuple(2, 1, 22050));
    expectLengthWithinCodecDelay(raw.sampleCount(), 44100, 576);

    CWavBuf loaded;
    ASSERT_TRUE(loadAudioFile(loaded, path("mono.mp3")));
    EXPECT_EQ(loaded.sampleRate, 44100);
    expectLengthWithinCodecDelay(loaded.sampleCount(), 88200, 1152);
    EXPECT_NEAR(hvtest::zeroCrossingFrequency(int16Samples(loaded), 44100), 440.0, 2.0);

    ASSERT_TRUE(loadAudioFile(loaded, encode("stereo.mp3", {44100, 2, 440, 660, 1.0})));
    EXPECT_EQ(formatOf(loaded), std::make_tuple(2, 2, 44100));
    expectLengthWithinCodecDelay(loaded.sampleCount() / 2, 44100, 1152);
    EXPECT_NEAR(hvtest::zeroCrossingFrequency(int16Samples(loaded, 2, 0), 44100), 440.0, 2.0);
    EXPECT_NEAR(hvtest::zeroCrossingFrequency(int16Samples(loaded, 2, 1), 44100), 660.0, 2.0);
}

TEST_F(Mp3Load, AFormatChangeEndsTheStreamAndKeepsWhatCameBefore)
{
    // Mono 440 Hz at 22050 Hz of 1, 2 and 6 seconds, each followed by one
    // second of stereo 660 Hz at 44100 Hz in one file: every sample of the
    // head is kept, also those decoded in the call that meets the change.
    const std::string second = dir.file("second.mp3");
    ASSERT_TRUE(hvtest::writeSineMp3(second, {44100, 2, 660, 660, 1.0}));
    for (const int seconds : {1, 2, 6}) {
        const std::string first = dir.file("first.mp3");
        ASSERT_TRUE(hvtest::writeSineMp3(first, {22050, 1, 440, 440, double(seconds)}));
        std::ofstream(dir.file("joined.mp3"), std::ios::binary)
            << std::ifstream(first, std::ios::binary).rdbuf() << std::ifstream(second, std::ios::binary).rdbuf();

        CWavBuf raw;
        ASSERT_TRUE(decodeMp3File(path("joined.mp3"), &raw)) << seconds;
        EXPECT_EQ(formatOf(raw), std::make_tuple(2, 1, 22050)) << seconds;
        expectLengthWithinCodecDelay(raw.sampleCount(), 22050 * size_t(seconds), 576);
        EXPECT_NEAR(hvtest::zeroCrossingFrequency(int16Samples(raw), 22050), 440.0, 2.0) << seconds;
    }
}

// A clip's samples are its content: at 8 kbit/s a second of 8000 Hz takes
// 1000 bytes and becomes 88,200 bytes per channel at 44100 Hz, and nothing
// but the clip budget refuses it.
TEST_F(Mp3Load, LowBitRateClipsLoadAndOnlyTheBudgetRefusesThem)
{
    const hvtest::SineClip clips[] = {
        {8000, 1, 440, 440, 60.0, 0.5, 8},
        {22050, 2, 440, 660, 60.0, 0.5, 16},
        {8000, 1, 440, 440, 600.0, 0.5, 8},
    };
    for (const hvtest::SineClip& clip : clips) {
        const std::string what = std::to_string(clip.kbps) + " kbit/s, " + std::to_string(int(clip.seconds)) + " s";
        const CString file = encode("low.mp3", clip);
        CWavBuf loaded;
        ASSERT_EQ(loadAudioClip(loaded, file), ClipLoad::loaded) << what;
        EXPECT_EQ(formatOf(loaded), std::make_tuple(2, clip.channels, 44100)) << what;
        // Three frames of 576 samples at the clip's rate, at 44100 Hz.
        expectLengthWithinCodecDelay(loaded.sampleCount() / uint32_t(clip.channels), size_t(clip.seconds * 44100),
                                     size_t(576 * 44100 / clip.sampleRate + 1));
        EXPECT_NEAR(hvtest::zeroCrossingFrequency(int16Samples(loaded, clip.channels, 0), 44100), 440.0, 2.0) << what;
        if (clip.channels == 2) {
            EXPECT_NEAR(hvtest::zeroCrossingFrequency(int16Samples(loaded, 2, 1), 44100), 660.0, 2.0) << what;
        }

        // A budget just short of the loaded clip refuses it while it decodes.
        const uint64_t bytes = loaded.fifo.numSamples();
        EXPECT_EQ(loadAudioClip(loaded, file, bytes - bytes / 100), ClipLoad::tooLarge) << what;
        EXPECT_TRUE(loaded.fifo.isEmpty()) << what;
    }
}

// A file that opens and decodes to nothing is told apart from one that
// cannot be opened.
TEST_F(Mp3Load, FilesWithoutFramesFailAndLeaveTheFormat)
{
    std::ofstream(dir.file("x.mp3")) << std::string(5000, 'a') << "\nnot an mp3 at all\n";
    std::ofstream(dir.file("empty.mp3")).flush();
    std::filesystem::create_directory(dir.file("folder.mp3"));
    CWavBuf out;
    out.sampleRate = 12345;
    const std::pair<const char*, ClipLoad> cases[] = {{"x.mp3", ClipLoad::undecodable},
                                                      {"empty.mp3", ClipLoad::undecodable},
                                                      {"missing.mp3", ClipLoad::unreadable},
                                                      {"folder.mp3", ClipLoad::unreadable}};
    for (const auto& [name, result] : cases) EXPECT_EQ(loadAudioClip(out, path(name)), result) << name;
    EXPECT_EQ(out.sampleRate, 12345);
}
