#include <gtest/gtest.h>

#include <vector>

#include "model/current/Segments.h"
#include "platform/CString.h"
#include "support/audio/RiffWriter.h"
#include "support/ScratchDir.h"

using HVCurrentModel::InstrumentSegment;

namespace {

class SegmentAudio : public ::testing::Test {
protected:
    hvtest::ScratchDir dir{"segaudio"};

    // A 16-bit 44100 Hz file of `frames` copies of one frame.
    std::string writeWav(const std::string& name, std::vector<int16_t> frame, int frames)
    {
        hvtest::ByteBuilder samples;
        for (int k = 0; k < frames; ++k)
            for (int16_t v : frame) samples.u16(static_cast<uint16_t>(v));
        hvtest::writeBytes(dir.file(name),
                           hvtest::simpleWav(1, uint16_t(frame.size()), 44100, 16, hvtest::toBytes(samples)));
        return dir.file(name);
    }
};

}  // namespace

TEST_F(SegmentAudio, LoadsTheClipDirectlyOrBesideTheProject)
{
    // A stereo clip is split into its channels; a non-ASCII UTF-8 path
    // reaches the file system unchanged.
    InstrumentSegment seg;
    seg.audioPath = writeWav("伴奏.wav", {1000, -1000}, 50);
    ASSERT_TRUE(seg.loadAudio(CString()));
    EXPECT_EQ(seg.channels, 2);
    EXPECT_EQ(seg.bitsPerSample, 16);
    EXPECT_EQ(seg.sampleRate, 44100);
    EXPECT_EQ(seg.frames, 50);
    EXPECT_EQ(seg.left, std::vector<int16_t>(50, 1000));
    EXPECT_EQ(seg.right, std::vector<int16_t>(50, -1000));

    // A stored Windows path falls back to the same name beside the project;
    // a mono clip clears the right channel left from the stereo one.
    writeWav("a.wav", {3}, 10);
    const CString project = CString::fromUtf8(dir.file("song.ot"));
    seg.audioPath = "C:\\songs\\a.wav";
    ASSERT_TRUE(seg.loadAudio(project));
    EXPECT_EQ(seg.channels, 1);
    EXPECT_EQ(seg.frames, 10);
    EXPECT_EQ(seg.left, std::vector<int16_t>(10, 3));
    EXPECT_TRUE(seg.right.empty());

    // Without a project path there is nowhere to fall back to; a failed load
    // leaves the clip as it was.
    EXPECT_FALSE(seg.loadAudio(CString()));
    seg.audioPath = "C:\\songs\\gone.wav";
    EXPECT_FALSE(seg.loadAudio(project));
    EXPECT_EQ(seg.frames, 10);
    EXPECT_EQ(seg.left, std::vector<int16_t>(10, 3));
}
