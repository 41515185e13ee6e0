#include "render/export/Mp3FileWriter.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/audio/AudioFiles.h"
#include "support/audio/Mp3Fixture.h"
#include "support/ScratchDir.h"

using Decoded = hvtest::DecodedMp3;
using hvtest::decodeMp3;

TEST(Mp3Writer, DecodesToItsLengthFrequenciesAndMode) {
    hvtest::ScratchDir dir("mp3w");
    // Stereo over 3 s; mono over exactly three full 16384-byte chunks.
    for (const int channels : {2, 1}) {
        const double seconds = channels == 2 ? 3.0 : 24576 / 44100.0;
        const std::vector<int16_t> pcm = hvtest::sineSamples(
            {.channels = channels, .leftHz = 1000.0, .rightHz = 1500.0, .seconds = seconds});
        const std::string path = dir.file("s.mp3");
        ASSERT_EQ(writeMp3File(CString::fromUtf8(path), pcm.size() * 2, channels, pcm.data()), 0);

        unsigned char h[4] = {};  // MPEG-1 layer III, 192 kbit/s at 44100 Hz, joint stereo or mono
        std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(h), 4);
        EXPECT_EQ((std::vector<int>{h[0], h[1], h[2], h[3] >> 6}),
                  (std::vector<int>{0xFF, 0xFB, 0xB0, channels == 2 ? 1 : 3}));

        const Decoded d = decodeMp3(path);
        EXPECT_EQ(d.rate, 44100);
        ASSERT_EQ(d.channels, channels);
        EXPECT_EQ(d.pcm.size(), pcm.size());  // the tag frame trims delay and padding exactly
        EXPECT_NEAR(d.hz(0), 1000.0, 5.0);
        if (channels == 2) {
            EXPECT_NEAR(d.hz(1), 1500.0, 5.0);
        }
    }
}

TEST(Mp3Writer, EmptyInputDecodesToNothingAndFailuresAreReported) {
    hvtest::ScratchDir dir("mp3w");
    ASSERT_EQ(writeMp3File(CString::fromUtf8(dir.file("e.mp3")), 0, 2, nullptr), 0);
    EXPECT_EQ(decodeMp3(dir.file("e.mp3")).pcm.size(), 0u);

    std::vector<int16_t> pcm(44100 * 2, 1000);
    EXPECT_EQ(writeMp3File(CString::fromUtf8(dir.file("no/dir/x.mp3")), pcm.size() * 2, 2, pcm.data()), 1);
    EXPECT_EQ(writeMp3File(CString::fromUtf8("/dev/full"), pcm.size() * 2, 2, pcm.data()), 1);
    EXPECT_EQ(writeMp3File(CString::fromUtf8(dir.file("c3.mp3")), pcm.size() * 2, 3, pcm.data()), 1);
}
