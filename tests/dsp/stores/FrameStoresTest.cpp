#include <gtest/gtest.h>

#include "StoreBytes.h"
#include "dsp/FrameMagsStore.h"
#include "dsp/PackedBandFrames.h"
#include "dsp/PackedPeakFrames.h"

using namespace Halvoren;
using storetest::fillHex;

namespace {

std::vector<float> values(const FrameMags& m)
{
    return std::vector<float>(m.ptrBegin(), m.ptrBegin() + m.numSamples());
}

TEST(FrameStores, PlainFrameMagsStoreCopiesEachFrameAndRefusesBadIndexes)
{
    // frameSize 512, rate 44100.0f (47 2C 44 00), 2 frames; offsets [0, 1],
    // counts [1, 2], data [1.0, 2.0, -1.0]: frame 0 = [1], frame 1 = [2, -1].
    CMemoryBuffer buffer;
    fillHex(buffer,
            "00 02 00 00  00 44 2C 47  02 00 00 00"
            "  02 00 00 00 00 00 00 00 01 00 00 00"
            "  02 00 00 00 01 00 00 00 02 00 00 00"
            "  03 00 00 00 00 00 80 3F 00 00 00 40 00 00 80 BF");
    CMemoryStream stream(&buffer);
    FrameMagsStore store;
    store.readFrom(stream);
    EXPECT_EQ(store.frameSize, 512);
    EXPECT_EQ(store.sampleRate, 44100.0f);
    EXPECT_EQ(store.frameCount, 2);

    FrameMags out;
    store.getFrame(1, out);
    EXPECT_EQ(values(out), (std::vector<float>{2.0f, -1.0f}));
    EXPECT_EQ(out.frameSize, 512);
    EXPECT_EQ(out.sampleRate, 44100.0f);
    store.getFrame(0, out);
    EXPECT_EQ(values(out), (std::vector<float>{1.0f}));

    for (int index : {-1, 2}) {
        store.getFrame(index, out);
        EXPECT_EQ(out.numSamples(), 0u) << index;
    }
    // An offset + count past the data, and offsets shorter than frameCount.
    store.counts[1] = 3;
    store.getFrame(1, out);
    EXPECT_EQ(out.numSamples(), 0u);
    store.frameCount = 3;
    store.getFrame(2, out);
    EXPECT_EQ(out.numSamples(), 0u);
}

TEST(FrameStores, CompactFrameMagsStoreReadsRotatedScalarsAndBlocks)
{
    // frameSize 512 (memory 00 02 00 00, stored 02 00 00 00), rate 44100
    // (00 44 2C 47 stored 44 2C 47 00), 1 frame (01 00 00 00 stored 00 00 00 01);
    // offsets [0], counts [2]: count 1.0f stored 00 80 3F 00, one word rotated;
    // data [1.0, 2.0]: count 2.0f stored 00 00 40 00, block 00 00 80 3F 00 00 00 40
    // stored 00 80 3F 00 00 00 40 00.
    CMemoryBuffer buffer;
    fillHex(buffer,
            "02 00 00 00  44 2C 47 00  00 00 00 01"
            "  00 80 3F 00  00 00 00 00"
            "  00 80 3F 00  00 00 00 02"
            "  00 00 40 00  00 80 3F 00 00 00 40 00");
    CMemoryStream stream(&buffer);
    FrameMagsStore store;
    store.readFromCompactStream(stream);
    EXPECT_EQ(store.frameSize, 512);
    EXPECT_EQ(store.sampleRate, 44100.0f);
    ASSERT_EQ(store.frameCount, 1);
    FrameMags out;
    store.getFrame(0, out);
    EXPECT_EQ(values(out), (std::vector<float>{1.0f, 2.0f}));
}

TEST(FrameStores, PackedPeakFramesDecodePerFrameSteps)
{
    // axisLength 0, axisStep -1.0f (00 00 80 BF), 2 frames, offsets [0, 4],
    // 24 frame bytes: frame 0 is n = 0; frame 1 is n = 2, step 100.0f
    // (00 00 C8 42), levels [-6, -12] (00 00 C0 C0, 00 00 40 C1).
    CMemoryBuffer buffer;
    fillHex(buffer,
            "00 00 00 00  00 00 80 BF  02 00 00 00"
            "  02 00 00 00 00 00 00 00 04 00 00 00"
            "  18 00 00 00"
            "    00 00 00 00"
            "    02 00 00 00  00 00 C8 42  02 00 00 00 00 00 C0 C0 00 00 40 C1");
    CMemoryStream stream(&buffer);
    PackedPeakFrames frames;
    frames.readFrom(stream);
    ASSERT_EQ(frames.frameCount, 2);
    PeakList out;
    out.append(1, 2, 3);
    frames.getFrame(0, out);
    EXPECT_TRUE(out.freqs.empty() && out.mags.empty() && out.phases.empty());
    frames.getFrame(1, out);
    EXPECT_EQ(out.freqs, (std::vector<float>{100.0f, 200.0f}));
    EXPECT_EQ(out.mags, (std::vector<float>{-6.0f, -12.0f}));
    EXPECT_EQ(out.phases, (std::vector<float>{0.0f, 0.0f}));
    EXPECT_EQ(out.size(), 2u);

    struct Case {
        const char* what;
        int index;
        int frameCount;
        std::vector<std::int32_t> offsets;
    };
    const Case bad[] = {
        {"index -1", -1, 2, {0, 4}},
        {"index frameCount", 2, 2, {0, 4}},
        {"offsets shorter than frameCount", 2, 3, {0, 4}},
        {"levels past the end", 1, 2, {0, 8}},
        {"offset outside the bytes", 1, 2, {0, 1000}},
        {"negative offset", 1, 2, {0, -4}},
    };
    for (const Case& c : bad) {
        frames.frameCount = c.frameCount;
        frames.offsets = c.offsets;
        out.append(1, 2, 3);
        frames.getFrame(c.index, out);
        EXPECT_TRUE(out.freqs.empty() && out.mags.empty()) << c.what;
    }
}

TEST(FrameStores, PackedPeakFramesWithAxisTakeTheFirstNAxisValues)
{
    // axisLength 3, axisStep 100.0f (00 00 C8 42), 2 frames at offsets [0, 16]:
    // frame 0 is n = 2 with levels [-1, -2]; frame 1 is n = 4, beyond the axis.
    // The frames carry no step of their own, so both readers give them the
    // axis 100, 200, 300.
    CMemoryBuffer buffer;
    fillHex(buffer,
            "03 00 00 00  00 00 C8 42  02 00 00 00"
            "  02 00 00 00 00 00 00 00 10 00 00 00"
            "  28 00 00 00"
            "    02 00 00 00  02 00 00 00 00 00 80 BF 00 00 00 C0"
            "    04 00 00 00  04 00 00 00 00 00 80 BF 00 00 00 C0 00 00 80 BF 00 00 00 C0");
    for (bool withAxis : {false, true}) {
        CMemoryStream stream(&buffer);
        PackedPeakFrames frames;
        if (withAxis)
            frames.readFromWithAxis(stream);
        else
            frames.readFrom(stream);
        EXPECT_EQ(frames.axis, (std::vector<float>{100.0f, 200.0f, 300.0f})) << withAxis;
        PeakList out;
        frames.getFrame(0, out);
        EXPECT_EQ(out.freqs, (std::vector<float>{100.0f, 200.0f})) << withAxis;
        EXPECT_EQ(out.mags, (std::vector<float>{-1.0f, -2.0f})) << withAxis;
        EXPECT_EQ(out.phases, (std::vector<float>{0.0f, 0.0f})) << withAxis;
        frames.getFrame(1, out);
        EXPECT_TRUE(out.empty()) << withAxis;
    }
}

TEST(FrameStores, PackedBandFramesDecodeOneFloatArrayPerFrame)
{
    // 1 frame at offset 0; 12 bytes: [0.5, 0.25] (00 00 00 3F, 00 00 80 3E).
    CMemoryBuffer buffer;
    fillHex(buffer, "01 00 00 00  01 00 00 00 00 00 00 00  0C 00 00 00  02 00 00 00 00 00 00 3F 00 00 80 3E");
    CMemoryStream stream(&buffer);
    PackedBandFrames frames;
    frames.readFrom(stream);
    GammatoneVector out;
    frames.getFrame(out, 0);
    EXPECT_EQ(out.values, (std::vector<float>{0.5f, 0.25f}));
    frames.getFrame(out, 1);
    EXPECT_TRUE(out.values.empty());
}

}  // namespace
