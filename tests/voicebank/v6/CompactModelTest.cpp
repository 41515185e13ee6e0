#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "dsp/CMemoryBuffer.h"
#include "dsp/CMemoryStream.h"
#include "support/ByteBuilder.h"
#include "support/bank/HexBytes.h"
#include "tools/bankwriter/CompactModelWriter.h"
#include "voicebank/v6/HvVoiceModelCompact.h"
#include "voicebank/v6/SourceRecords.h"

namespace {

using Halvoren::CMemoryBuffer;
using Halvoren::CMemoryStream;
using HVVM_V0::HvVoiceModelCompact;

void fill(CMemoryBuffer& buffer, const std::string& bytes)
{
    buffer.bytes().clear();
    buffer.bytes().putSamples(bytes.data(), static_cast<unsigned>(bytes.size()));
}

std::vector<float> floatsOf(const Halvoren::FastVector<float>& v)
{
    return std::vector<float>(v.ptrBegin(), v.ptrBegin() + v.numSamples());
}

std::vector<std::int32_t> intsOf(const Halvoren::FastVector<std::int32_t>& v)
{
    return std::vector<std::int32_t>(v.ptrBegin(), v.ptrBegin() + v.numSamples());
}

// The model head, samples [1, -1], no peak frames, mags1 holding one frame
// of one value 1.0, every later member empty.
const char* const kHead = "07 00 00 00  00 02 00 00  00 44 2C 47  02 00 00 00 01 00 FF FF";
const char* const kNoPeakFrames = "00 00 00 00  00 00 80 BF  00 00 00 00  00 00 00 00  00 00 00 00";
// 512 rotated (memory 00 02 00 00), 44100.0f rotated (memory 00 44 2C 47),
// 1 rotated (memory 01 00 00 00); offsets, counts, data: the count 1.0f
// rotated (memory 00 00 80 3F), then one rotated value.
const char* const kOneFrameStore =
    "02 00 00 00  44 2C 47 00  00 00 00 01  00 80 3F 00 00 00 00 00  00 80 3F 00 00 00 00 01  00 80 3F 00 00 80 3F 00";
const char* const kEmptyVector = "00 00 00 00";
const char* const kEmptyStore = "02 00 00 00  44 2C 47 00  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00";

std::string goldenModel()
{
    std::string hex = std::string(kHead) + " " + kNoPeakFrames + " " + kOneFrameStore;
    for (const char* member : {kEmptyVector, kEmptyStore, kEmptyStore, kEmptyVector, kEmptyVector, kEmptyStore,
                               kEmptyVector})
        hex += std::string(" ") + member;
    return testbank::hexBytes(hex);
}

TEST(CompactModel, GoldenBytesReadPlainHeadAndRotatedStores)
{
    CMemoryBuffer buffer;
    fill(buffer, goldenModel());
    CMemoryStream stream(&buffer);
    HvVoiceModelCompact model(22050.0f);
    model.readFrom(stream);
    EXPECT_EQ(stream.remaining(), 0);
    EXPECT_EQ(model.modelInt0, 7);
    EXPECT_EQ(model.modelSize, 512);
    EXPECT_EQ(model.sampleRate, 44100.0f);
    ASSERT_EQ(model.samples.numSamples(), 2u);
    EXPECT_EQ(model.samples[0], 1);
    EXPECT_EQ(model.samples[1], -1);
    EXPECT_EQ(model.peakFrames.frameCount, 0);
    EXPECT_EQ(model.peakFrames.axisStep, -1.0f);
    // Unrotated, 02 00 00 00 would read as a frame size of 2.
    EXPECT_EQ(model.mags1.frameSize, 512);
    EXPECT_EQ(model.mags1.sampleRate, 44100.0f);
    EXPECT_EQ(model.mags1.frameCount, 1);
    EXPECT_EQ(intsOf(model.mags1.offsets), std::vector<std::int32_t>{0});
    EXPECT_EQ(intsOf(model.mags1.counts), std::vector<std::int32_t>{1});
    EXPECT_EQ(floatsOf(model.mags1.data), std::vector<float>{1.0f});
    EXPECT_EQ(model.mags4.frameSize, 512);
    EXPECT_EQ(model.mags4.frameCount, 0);
    EXPECT_EQ(model.floats3.numSamples(), 0u);
}

TEST(CompactModel, WriterGivesTheGoldenBytes)
{
    bankwriter::CompactModel m;
    m.modelInt0 = 7;
    m.samples = {1, -1};
    m.mags1 = {{1.0f}};
    EXPECT_EQ(bankwriter::compactModelBytes(m), goldenModel());
}

TEST(CompactModel, EveryMemberLandsInItsField)
{
    bankwriter::CompactModel m;
    m.samples = {100, -200, 300};
    m.peakFrames = {{220.0f, {-6.0f, -12.0f}}, {}};
    m.mags1 = {{1.0f, 2.0f}, {3.0f}};
    m.floats1 = {220.0f, 221.0f};
    m.mags2 = {{0.5f}};
    m.mags3 = {{-10.0f, -20.0f, -30.0f}};
    m.ints1 = {5, 269};
    m.floats2 = {-1.5f};
    m.mags4 = {{-40.0f}, {-41.0f}};
    m.floats3 = {1.0f, 0.25f};
    CMemoryBuffer buffer;
    fill(buffer, bankwriter::compactModelBytes(m));
    CMemoryStream stream(&buffer);
    HvVoiceModelCompact model(44100.0f);
    model.readFrom(stream);
    EXPECT_EQ(stream.remaining(), 0);
    ASSERT_EQ(model.samples.numSamples(), 3u);
    EXPECT_EQ(model.samples[2], 300);
    EXPECT_EQ(model.peakFrames.frameCount, 2);
    EXPECT_EQ(model.mags1.frameCount, 2);
    EXPECT_EQ(intsOf(model.mags1.offsets), (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(floatsOf(model.mags1.data), (std::vector<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(floatsOf(model.floats1), (std::vector<float>{220.0f, 221.0f}));
    EXPECT_EQ(floatsOf(model.mags2.data), std::vector<float>{0.5f});
    EXPECT_EQ(floatsOf(model.mags3.data), (std::vector<float>{-10.0f, -20.0f, -30.0f}));
    EXPECT_EQ(intsOf(model.ints1), (std::vector<std::int32_t>{5, 269}));
    EXPECT_EQ(floatsOf(model.floats2), std::vector<float>{-1.5f});
    EXPECT_EQ(intsOf(model.mags4.counts), (std::vector<std::int32_t>{1, 1}));
    EXPECT_EQ(floatsOf(model.floats3), (std::vector<float>{1.0f, 0.25f}));
}

TEST(CompactModel, ASampleCountOfZeroGoesOnWithThePeakFrames)
{
    bankwriter::CompactModel m;
    m.peakFrames = {{110.0f, {-3.0f}}};
    CMemoryBuffer buffer;
    fill(buffer, bankwriter::compactModelBytes(m));
    CMemoryStream stream(&buffer);
    HvVoiceModelCompact model(44100.0f);
    model.readFrom(stream);
    EXPECT_EQ(model.samples.numSamples(), 0u);
    EXPECT_EQ(model.peakFrames.frameCount, 1);
    EXPECT_EQ(stream.remaining(), 0);
}

TEST(CompactModel, FreshModelAndRecordDefaults)
{
    const HvVoiceModelCompact model(22050.0f);
    EXPECT_EQ(model.modelInt0, 0);
    EXPECT_EQ(model.modelSize, 512);
    EXPECT_EQ(model.sampleRate, 22050.0f);
    EXPECT_EQ(model.samples.numSamples(), 0u);
    EXPECT_EQ(model.mags1.sampleRate, 44100.0f);

    const HalvorenEngineV6::SrcMaterial material("la", "C4");
    EXPECT_EQ(material.sampleRate, 44100.0f);
    EXPECT_EQ(material.modelSize, 512);
    EXPECT_EQ(material.name, "la");
    EXPECT_EQ(material.pitch, "C4");

    const HalvorenEngineV6::SrcParameter p("la", "C4");
    EXPECT_EQ(p.v6Param6, 0);
    EXPECT_EQ(p.v6Param7, -1);
    EXPECT_EQ(p.v6Param8, -1);
    const HalvorenEngineV6::SrcContinuantParameter c("a_l", "C4");
    EXPECT_EQ(c.v6ContParam3, -1);
    EXPECT_EQ(c.v6ContParam4, -1);
    EXPECT_EQ(c.v6ContParam5, -2);
    EXPECT_EQ(c.v6ContParam6, -3);
    EXPECT_EQ(c.v6ContParam7, -4);
    const HalvorenEngineV6::VoiceSrc voice("la", "C4");
    EXPECT_EQ(voice.material, nullptr);
}

// A count that does not fit the bytes left reads nothing and allocates
// nothing; the next member is read from right after the count.
TEST(CompactModel, DamagedCountsAllocateNothing)
{
    {
        hvtest::ByteBuilder b;
        b.i32(0).i32(512).f32(44100.0f).i32(std::numeric_limits<std::int32_t>::max()).i32(1).i32(2);
        CMemoryBuffer buffer;
        fill(buffer, b.bytes);
        CMemoryStream stream(&buffer);
        HvVoiceModelCompact model(44100.0f);
        model.readFrom(stream);
        EXPECT_EQ(model.samples.numSamples(), 0u);
        // The peak frames took the 8 bytes after the count as axis length 1, step 2e-45.
        EXPECT_EQ(model.peakFrames.axisLength, 1);
        EXPECT_EQ(stream.remaining(), 0);
    }
    const float counts[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e9f,
                            -5.0f};
    for (float count : counts) {
        bankwriter::CompactModel m;
        hvtest::ByteBuilder b;
        b.raw(bankwriter::compactModelBytes(m));
        // Replace floats3 (the last 4 bytes, an empty vector) with the damaged count and 8 data bytes.
        b.bytes.resize(b.bytes.size() - 4);
        bankwriter::rotatedF32(b, count);
        b.i32(0).i32(0);
        CMemoryBuffer buffer;
        fill(buffer, b.bytes);
        CMemoryStream stream(&buffer);
        HvVoiceModelCompact model(44100.0f);
        model.readFrom(stream);
        EXPECT_EQ(model.floats3.numSamples(), 0u) << count;
        EXPECT_EQ(stream.remaining(), 8) << count;
    }
}

TEST(CompactModel, EveryTruncationEndsCleanly)
{
    bankwriter::CompactModel m;
    m.modelInt0 = 3;
    m.samples = {1, 2, 3, 4};
    m.peakFrames = {{220.0f, {-6.0f}}};
    m.mags1 = m.mags2 = m.mags3 = m.mags4 = {{1.0f, 2.0f}};
    m.floats1 = m.floats2 = m.floats3 = {1.0f};
    m.ints1 = {7};
    const std::string full = bankwriter::compactModelBytes(m);
    for (std::size_t length = 0; length < full.size(); ++length) {
        CMemoryBuffer buffer;
        fill(buffer, full.substr(0, length));
        CMemoryStream stream(&buffer);
        HvVoiceModelCompact model(44100.0f);
        model.readFrom(stream);
        EXPECT_EQ(model.modelInt0, length >= 4 ? 3 : 0) << length;
        // Samples come whole or not at all: head 12 + count 4 + 8 bytes.
        EXPECT_EQ(model.samples.numSamples(), length >= 24 ? 4u : 0u) << length;
        EXPECT_LE(model.floats3.numSamples(), 1u) << length;
    }
}

}  // namespace
