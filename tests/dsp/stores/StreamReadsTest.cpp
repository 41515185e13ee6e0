#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "StoreBytes.h"
#include "dsp/CMemoryStream.h"
#include "dsp/FrameMagsStore.h"
#include "dsp/PeakTrackReads.h"
#include "dsp/StreamReads.h"

using namespace Halvoren;
using storetest::fillHex;

namespace {

TEST(StreamReads, RotatedReadsPutTheLastStoredByteFirst)
{
    CMemoryBuffer buffer;
    fillHex(buffer, "01 02 03 04 00 80 3F 00 AA");
    CMemoryStream stream(&buffer);
    unsigned char b[4] = {};
    ASSERT_TRUE(readRotated(stream, b, 4));
    EXPECT_EQ(b[0], 0x04);
    EXPECT_EQ(b[1], 0x01);
    EXPECT_EQ(b[2], 0x02);
    EXPECT_EQ(b[3], 0x03);
    float one = 0.0f;
    ASSERT_TRUE(readRotatedFloat(stream, one));  // memory 00 00 80 3F
    EXPECT_EQ(one, 1.0f);
    // One byte left: nothing is copied and the position stays.
    unsigned char keep[4] = {9, 9, 9, 9};
    EXPECT_FALSE(readRotated(stream, keep, 4));
    EXPECT_EQ(keep[0], 9);
    EXPECT_EQ(stream.getPosition(), 8);
}

TEST(StreamReads, CompactVectorIsOneRotatedBlock)
{
    // [0.1f, 1.0f] in memory: CD CC CC 3D 00 00 80 3F; count 2.0f is 00 00 00 40.
    CMemoryBuffer block;
    fillHex(block, "00 00 40 00  CC CC 3D 00 00 80 3F CD");
    CMemoryStream stream(&block);
    FastVector<float> v(512);
    FrameMagsStore::readFromCompact(stream, v);
    ASSERT_EQ(v.numSamples(), 2u);
    EXPECT_EQ(v[0], 0.1f);
    EXPECT_EQ(v[1], 1.0f);
    EXPECT_EQ(stream.getPosition(), 12);

    // The same values rotated one by one do not read back as [0.1, 1.0].
    CMemoryBuffer perValue;
    fillHex(perValue, "00 00 40 00  CC CC 3D CD 00 80 3F 00");
    CMemoryStream other(&perValue);
    FrameMagsStore::readFromCompact(other, v);
    ASSERT_EQ(v.numSamples(), 2u);
    EXPECT_FALSE(v[0] == 0.1f && v[1] == 1.0f);
}

TEST(StreamReads, HostileCountsAllocateNothingBeyondTheBytesLeft)
{
    struct Case {
        const char* name;
        const char* hex;
    };
    // Each count is followed by 8 bytes only.
    const Case cases[] = {
        {"-1", "FF FF FF FF 01 00 00 00 02 00 00 00"},
        {"INT32_MAX", "FF FF FF 7F 01 00 00 00 02 00 00 00"},
        {"3 over 2 values", "03 00 00 00 01 00 00 00 02 00 00 00"},
    };
    for (const Case& c : cases) {
        CMemoryBuffer buffer;
        fillHex(buffer, c.hex);
        {
            // A fast vector keeps its old size and contents.
            CMemoryStream stream(&buffer);
            FastVector<std::int32_t> v(512);
            v.resize(1);
            v[0] = 7;
            const bool negative = std::string(c.name) == "-1";
            EXPECT_EQ(readFastVector(stream, v), negative) << c.name;
            ASSERT_EQ(v.numSamples(), 1u) << c.name;
            EXPECT_EQ(v[0], 7) << c.name;
            EXPECT_EQ(stream.getPosition(), 4) << c.name;
        }
        {
            CMemoryStream stream(&buffer);
            CMemoryBuffer blob(128);
            fillHex(blob, "AB");
            // 8 bytes follow: only the length 3 fits; -1 reads as 0.
            readBlob(stream, blob);
            const std::string name = c.name;
            EXPECT_EQ(blob.size(), name == "3 over 2 values" ? 4u : 1u) << c.name;
        }
        {
            // An int array keeps only the values present: none for -1, two otherwise.
            CMemoryStream stream(&buffer);
            std::vector<std::int32_t> ints{5};
            readIntArray(stream, ints);
            const std::vector<std::int32_t> want =
                std::string(c.name) == "-1" ? std::vector<std::int32_t>{5} : std::vector<std::int32_t>{5, 1, 2};
            EXPECT_EQ(ints, want) << c.name;
        }
    }

    // Compact counts: NaN (memory 00 00 C0 7F), 2^31 (00 00 00 4F) and -2.0 (00 00 00 C0).
    for (const char* hex : {"00 C0 7F 00 01 02 03 04", "00 00 4F 00 01 02 03 04", "00 00 C0 00 01 02 03 04"}) {
        CMemoryBuffer buffer;
        fillHex(buffer, hex);
        CMemoryStream stream(&buffer);
        FastVector<float> v(512);
        v.resize(3);
        FrameMagsStore::readFromCompact(stream, v);
        EXPECT_EQ(v.numSamples(), 0u) << hex;
        EXPECT_EQ(stream.getPosition(), 4) << hex;
    }
}

TEST(StreamReads, HarmonicTracksAreMultiplesOfTheStepWithZeroPhases)
{
    // step 100.0f (00 00 C8 42), 2 frames; frame 0: n = 3, levels -1 -2 -3;
    // frame 1: its count is missing, so it keeps n = 3, but no levels follow.
    CMemoryBuffer buffer;
    fillHex(buffer,
            "00 00 C8 42  02 00 00 00"
            "  03 00 00 00  03 00 00 00  00 00 80 BF  00 00 00 C0  00 00 40 C0");
    CMemoryStream stream(&buffer);
    PeakTracks tracks;
    tracks.appendFrame();
    readHarmonicTracks(stream, tracks);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks.frame(0).freqs, (std::vector<float>{100.0f, 200.0f, 300.0f}));
    EXPECT_EQ(tracks.frame(0).mags, (std::vector<float>{-1.0f, -2.0f, -3.0f}));
    EXPECT_EQ(tracks.frame(0).phases, (std::vector<float>{0.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(tracks.frame(1).empty());
}

TEST(StreamReads, PeakTracksCutEachFrameToItsShortestArray)
{
    // 2 frames: n = 2 with 2 freqs, 1 level, 2 phases; then n = 0.
    CMemoryBuffer buffer;
    fillHex(buffer,
            "02 00 00 00"
            "  02 00 00 00  02 00 00 00 00 00 C8 42 00 00 48 43  01 00 00 00 00 00 80 BF"
            "  02 00 00 00 00 00 00 00 00 00 80 3F"
            "  00 00 00 00");
    CMemoryStream stream(&buffer);
    PeakTracks tracks;
    readPeakTracks(stream, tracks);
    ASSERT_EQ(tracks.size(), 2u);
    const PeakList& f = tracks.frame(0);
    EXPECT_EQ(f.freqs, (std::vector<float>{100.0f}));
    EXPECT_EQ(f.mags, (std::vector<float>{-1.0f}));
    EXPECT_EQ(f.phases, (std::vector<float>{0.0f}));
    EXPECT_TRUE(tracks.frame(1).empty());

    // A frame count of INT32_MAX over 4 bytes builds at most one frame.
    fillHex(buffer, "FF FF FF 7F 00 00 00 00");
    CMemoryStream huge(&buffer);
    readPeakTracks(huge, tracks);
    EXPECT_EQ(tracks.size(), 1u);
}

}  // namespace
