#include "render/export/Mp3FileWriter.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <fstream>

#include "support/audio/Mp3Fixture.h"
#include "support/audio/ScratchDir.h"

namespace {

constexpr size_t kFrameSamples = 1152;

// Decodes the file; channels 0 when it does not decode to 16-bit samples.
std::vector<int16_t> decode(const std::string& path, long& rate, int& channels) {
    std::vector<int16_t> pcm;
    int encoding = 0, err = MPG123_OK;
    channels = 0;
    mpg123_handle* h = mpg123_new(nullptr, nullptr);
    if (mpg123_open(h, path.c_str()) == MPG123_OK && mpg123_getformat(h, &rate, &channels, &encoding) == MPG123_OK &&
        encoding == MPG123_ENC_SIGNED_16) {
        int16_t buf[8192];
        size_t got = 0;
        do {
            err = mpg123_read(h, buf, sizeof buf, &got);
            pcm.insert(pcm.end(), buf, buf + got / 2);
        } while (err == MPG123_OK);
    }
    if (err != MPG123_DONE) channels = 0;
    mpg123_delete(h);
    return pcm;
}

std::vector<int16_t> channelOf(const std::vector<int16_t>& pcm, int channels, int c) {
    std::vector<int16_t> out;
    for (size_t i = c; i < pcm.size(); i += channels) out.push_back(pcm[i]);
    return out;
}

}  // namespace

TEST(Mp3Writer, DecodesToItsLengthFrequenciesAndMode) {
    hvtest::ScratchDir dir("mp3w");
    // Stereo over 3 s; mono over exactly three full 16384-byte chunks.
    for (const int channels : {2, 1}) {
        hvtest::SineClip clip;
        clip.channels = channels;
        clip.leftHz = 1000.0;
        clip.rightHz = 1500.0;
        clip.seconds = channels == 2 ? 3.0 : 24576 / 44100.0;
        const std::vector<int16_t> pcm = hvtest::sineSamples(clip);
        const std::string path = dir.file("s.mp3");
        ASSERT_EQ(writeMp3File(CString::fromUtf8(path), pcm.size() * 2, channels, pcm.data()), 0);

        unsigned char head[4] = {};
        std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(head), 4);
        EXPECT_EQ(head[0], 0xFF);
        EXPECT_EQ(head[1], 0xFB);                           // MPEG-1 layer III
        EXPECT_EQ(head[2], 0xB0);                           // 192 kbit/s at 44100 Hz
        EXPECT_EQ(head[3] >> 6, channels == 2 ? 1 : 3);  // joint stereo / mono

        long rate = 0;
        int got = 0;
        const std::vector<int16_t> out = decode(path, rate, got);
        EXPECT_EQ(rate, 44100);
        ASSERT_EQ(got, channels);
        const size_t in = pcm.size() / channels, frames = out.size() / channels;
        EXPECT_GE(frames, in);
        EXPECT_LE(frames, in + 3 * kFrameSamples);
        EXPECT_NEAR(hvtest::zeroCrossingFrequency(channelOf(out, channels, 0), 44100), 1000.0, 5.0);
        if (channels == 2) {
            EXPECT_NEAR(hvtest::zeroCrossingFrequency(channelOf(out, 2, 1), 44100), 1500.0, 5.0);
        }
    }
}

TEST(Mp3Writer, EmptyInputHoldsOnlyTheFlushAndFailuresAreReported) {
    hvtest::ScratchDir dir("mp3w");
    ASSERT_EQ(writeMp3File(CString::fromUtf8(dir.file("e.mp3")), 0, 2, nullptr), 0);
    long rate = 0;
    int channels = 0;
    EXPECT_LE(decode(dir.file("e.mp3"), rate, channels).size(), 2 * 3 * kFrameSamples);

    std::vector<int16_t> pcm(44100 * 2, 1000);
    EXPECT_EQ(writeMp3File(CString::fromUtf8(dir.file("no/dir/x.mp3")), pcm.size() * 2, 2, pcm.data()), 1);
    EXPECT_EQ(writeMp3File(CString::fromUtf8("/dev/full"), pcm.size() * 2, 2, pcm.data()), 1);
    EXPECT_EQ(writeMp3File(CString::fromUtf8(dir.file("c3.mp3")), pcm.size() * 2, 3, pcm.data()), 1);
}
