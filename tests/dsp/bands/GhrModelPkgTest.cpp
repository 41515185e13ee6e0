#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dsp/GHR_modelPkg.h"
#include "support/bank/HexBytes.h"

using namespace Halvoren;

namespace {

// A record with every part, one hex string per part so it can be cut
// between parts.
const std::vector<std::string> kRecordParts = {
    // leadValue 7, frameSize 512, sampleRate 44100.0f.
    "07 00 00 00  00 02 00 00  00 44 2C 47",
    // Peaks: axisLength 0, axisStep -1.0f (a step per frame), 1 frame at
    // offset 0; 20 bytes: n = 2, step 100.0f, levels [-6, -12].
    "00 00 00 00  00 00 80 BF  01 00 00 00  01 00 00 00 00 00 00 00"
    "  14 00 00 00  02 00 00 00 00 00 C8 42 02 00 00 00 00 00 C0 C0 00 00 40 C1",
    // magsA: frameSize 512, 44100.0f, 1 frame: offsets [0], counts [2], data [1, 2].
    "00 02 00 00  00 44 2C 47  01 00 00 00"
    "  01 00 00 00 00 00 00 00  01 00 00 00 02 00 00 00  02 00 00 00 00 00 80 3F 00 00 00 40",
    // magsB: frameSize 256, 22050.0f (46 AC 44 00), 1 frame: offsets [0],
    // counts [1], data [-1].
    "00 01 00 00  00 44 AC 46  01 00 00 00"
    "  01 00 00 00 00 00 00 00  01 00 00 00 01 00 00 00  01 00 00 00 00 00 80 BF",
    // Bands: 1 frame at offset 0; 12 bytes: [0.5, 0.25].
    "01 00 00 00  01 00 00 00 00 00 00 00  0C 00 00 00 02 00 00 00 00 00 00 3F 00 00 80 3E",
};

void fill(CMemoryBuffer& buffer, const std::string& bytes)
{
    buffer.bytes().clear();
    buffer.bytes().putSamples(bytes.data(), static_cast<unsigned>(bytes.size()));
}

std::string recordBytes(std::size_t parts)
{
    std::string hex;
    for (std::size_t i = 0; i < parts; ++i)
        hex += kRecordParts[i] + " ";
    return testbank::hexBytes(hex);
}

std::vector<float> values(const FrameMags& m)
{
    return std::vector<float>(m.ptrBegin(), m.ptrBegin() + m.numSamples());
}

TEST(GhrModelPkg, ReadsEveryPartOfARecord)
{
    CMemoryBuffer buffer;
    fill(buffer, recordBytes(kRecordParts.size()));
    CMemoryStream stream(&buffer);
    GHR_modelPkg pkg(48000.0f);
    EXPECT_EQ(pkg.frameSize, 512);
    EXPECT_EQ(pkg.magsA.sampleRate, 48000.0f);
    ASSERT_TRUE(pkg.readFrom(stream));
    EXPECT_EQ(stream.remaining(), 0);

    EXPECT_EQ(pkg.leadValue, 7);
    EXPECT_EQ(pkg.frameSize, 512);
    EXPECT_EQ(pkg.sampleRate, 44100.0f);

    PeakList peaks;
    pkg.peaks.getFrame(0, peaks);
    EXPECT_EQ(peaks.freqs, (std::vector<float>{100.0f, 200.0f}));
    EXPECT_EQ(peaks.mags, (std::vector<float>{-6.0f, -12.0f}));
    EXPECT_EQ(peaks.phases, (std::vector<float>{0.0f, 0.0f}));

    FrameMags mags;
    pkg.magsA.getFrame(0, mags);
    EXPECT_EQ(values(mags), (std::vector<float>{1.0f, 2.0f}));
    EXPECT_EQ(mags.frameSize, 512);
    EXPECT_EQ(mags.sampleRate, 44100.0f);
    pkg.magsB.getFrame(0, mags);
    EXPECT_EQ(values(mags), (std::vector<float>{-1.0f}));
    EXPECT_EQ(mags.frameSize, 256);
    EXPECT_EQ(mags.sampleRate, 22050.0f);

    GammatoneVector bands;
    pkg.bands.getFrame(bands, 0);
    EXPECT_EQ(bands.values, (std::vector<float>{0.5f, 0.25f}));
}

TEST(GhrModelPkg, ARecordCutAfterMagsALeavesTheRestAsItWas)
{
    CMemoryBuffer buffer;
    fill(buffer, recordBytes(3));
    CMemoryStream stream(&buffer);
    GHR_modelPkg pkg(48000.0f);
    EXPECT_FALSE(pkg.readFrom(stream));

    FrameMags mags;
    pkg.magsA.getFrame(0, mags);
    EXPECT_EQ(values(mags), (std::vector<float>{1.0f, 2.0f}));
    EXPECT_EQ(pkg.magsB.frameCount, 0);
    EXPECT_EQ(pkg.magsB.frameSize, 512);
    EXPECT_EQ(pkg.magsB.sampleRate, 48000.0f);
    pkg.magsB.getFrame(0, mags);
    EXPECT_EQ(mags.numSamples(), 0u);
    EXPECT_EQ(pkg.bands.frameCount, 0);
    EXPECT_TRUE(pkg.bands.offsets.empty());
    EXPECT_EQ(pkg.bands.bytes.size(), 0u);
}

TEST(GhrModelPkg, EveryTruncationEndsCleanly)
{
    const std::string whole = recordBytes(kRecordParts.size());
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        CMemoryBuffer buffer;
        fill(buffer, whole.substr(0, cut));
        CMemoryStream stream(&buffer);
        GHR_modelPkg pkg(48000.0f);
        EXPECT_FALSE(pkg.readFrom(stream)) << "cut at " << cut;
        GammatoneVector bands;
        pkg.bands.getFrame(bands, 0);
        EXPECT_TRUE(bands.values.empty()) << "cut at " << cut;
    }
}

TEST(GhrModelPkg, ADamagedCountAllocatesNothingBeyondTheBytesLeft)
{
    struct Case {
        const char* what;
        std::vector<std::string> parts;
    };
    // Each case replaces one count by 0x7FFFFFFF.
    const std::string huge = "FF FF FF 7F";
    const Case cases[] = {
        {"peak offsets",
         {kRecordParts[0], "00 00 00 00  00 00 80 BF  01 00 00 00  " + huge + " 00 00 00 00", kRecordParts[2],
          kRecordParts[3], kRecordParts[4]}},
        {"peak bytes",
         {kRecordParts[0], "00 00 00 00  00 00 80 BF  01 00 00 00  01 00 00 00 00 00 00 00  " + huge + " 02 00 00 00",
          kRecordParts[2], kRecordParts[3], kRecordParts[4]}},
        {"magsA data",
         {kRecordParts[0], kRecordParts[1],
          "00 02 00 00  00 44 2C 47  01 00 00 00  01 00 00 00 00 00 00 00  01 00 00 00 02 00 00 00  " + huge +
              " 00 00 80 3F",
          kRecordParts[3], kRecordParts[4]}},
        {"band bytes",
         {kRecordParts[0], kRecordParts[1], kRecordParts[2], kRecordParts[3],
          "01 00 00 00  01 00 00 00 00 00 00 00  " + huge + " 02 00 00 00"}},
    };
    for (const Case& c : cases) {
        std::string hex;
        for (const std::string& part : c.parts)
            hex += part + " ";
        CMemoryBuffer buffer;
        fill(buffer, testbank::hexBytes(hex));
        CMemoryStream stream(&buffer);
        GHR_modelPkg pkg(44100.0f);
        pkg.readFrom(stream);
        const std::size_t recordSize = buffer.size();
        EXPECT_LE(pkg.peaks.offsets.size() * 4, recordSize) << c.what;
        EXPECT_LE(pkg.peaks.bytes.size(), recordSize) << c.what;
        EXPECT_LE(std::size_t(pkg.magsA.data.numSamples()) * 4, recordSize) << c.what;
        EXPECT_LE(pkg.bands.offsets.size() * 4, recordSize) << c.what;
        EXPECT_LE(pkg.bands.bytes.size(), recordSize) << c.what;
    }
}

}  // namespace
