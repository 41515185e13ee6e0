#include "model/audio/CWavBuf.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

#include "Int16Samples.h"

using HalvorenEditor::CWavBuf;
using Bytes = std::vector<uint8_t>;

namespace {

CWavBuf bufferOf(int width, const Bytes& bytes, bool isFloat = false, int rate = 44100, int channels = 1)
{
    CWavBuf b;
    b.bytesPerSample = width;
    b.isFloat = isFloat;
    b.sampleRate = rate;
    b.channels = channels;
    b.fifo.putSamples(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return b;
}

CWavBuf floatBuffer(const std::vector<float>& values, int rate, int channels = 1)
{
    CWavBuf b = bufferOf(4, {}, true, rate, channels);
    for (float v : values) b.floatToSample(v);
    return b;
}

std::vector<float> floatsOf(const CWavBuf& b)
{
    std::vector<float> out;
    for (uint32_t i = 0; i < b.sampleCount(); ++i) out.push_back(b.sampleToFloat(i));
    return out;
}

float readOne(int width, const Bytes& bytes, bool isFloat = false) { return bufferOf(width, bytes, isFloat).sampleToFloat(0); }

Bytes writeOne(int width, float x, bool isFloat = false)
{
    CWavBuf b = bufferOf(width, {}, isFloat);
    b.floatToSample(x);
    return Bytes(b.fifo.ptrBegin(), b.fifo.ptrBegin() + b.fifo.numSamples());
}

}  // namespace

TEST(CWavBuf, EveryWidthReadsAndWritesBothWays)
{
    struct Case {
        int width;
        bool isFloat;
        Bytes bytes;
        float value;
    } const cases[] = {
        {1, false, {128}, 0.0f},
        {1, false, {255}, 1.0f},
        {2, false, {0xFF, 0x7F}, 1.0f},
        {3, false, {0xFF, 0xFF, 0x7F}, 1.0f},
        {4, false, {0, 0, 0, 0x40}, 0.5f},
        {4, true, {0, 0, 0x80, 0x3E}, 0.25f},
        {8, false, {0, 0, 0, 0, 0, 0, 0, 0xC0}, -0.5f},
        {8, true, {0, 0, 0, 0, 0, 0, 0xE8, 0x3F}, 0.75f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readOne(c.width, c.bytes, c.isFloat), c.value) << c.width << " " << c.isFloat;
        EXPECT_EQ(writeOne(c.width, c.value, c.isFloat), c.bytes) << c.width << " " << c.isFloat;
    }
    // The negative ends of the integer widths read slightly below -1, and
    // -1 writes one above them.
    EXPECT_FLOAT_EQ(readOne(1, {0}), -1.007874f);
    EXPECT_EQ(writeOne(1, -1.0f), Bytes{1});
    EXPECT_FLOAT_EQ(readOne(3, {0x00, 0x00, 0x80}), -1.0000001f);
    // Past the end, unsupported widths and a zero width read as silence;
    // an unsupported width writes nothing.
    EXPECT_EQ(bufferOf(2, {0xFF, 0x7F}).sampleToFloat(1), 0.0f);
    EXPECT_EQ(readOne(5, {1, 2, 3, 4, 5}), 0.0f);
    EXPECT_EQ(readOne(0, {1, 2}), 0.0f);
    EXPECT_TRUE(writeOne(5, 0.5f).empty());
}

TEST(CWavBuf, WritesSaturateInsteadOfWrapping)
{
    // +1.0 already lies outside the 32- and 64-bit ranges. NaN is silence.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(writeOne(1, -2.0f), Bytes{0});
    EXPECT_EQ(writeOne(1, nan), Bytes{128});
    EXPECT_EQ(writeOne(2, 1.5f), (Bytes{0xFF, 0x7F}));
    EXPECT_EQ(writeOne(2, -1.5f), (Bytes{0x00, 0x80}));
    EXPECT_EQ(writeOne(3, 3.0f), (Bytes{0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(writeOne(4, 1.0f), (Bytes{0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(writeOne(8, 1.0f), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(writeOne(8, -1.0f), (Bytes{0, 0, 0, 0, 0, 0, 0, 0x80}));

    // The lowest 8-bit sample must become -32768, not a full-scale click.
    CWavBuf eight = bufferOf(1, {0, 128, 255, 191});
    eight.convertSampleWidth();
    EXPECT_EQ(eight.bytesPerSample, 2);
    EXPECT_EQ(int16Samples(eight), (std::vector<int16_t>{-32768, 0, 32767, 16254}));
    // Samples already 16 bits wide are left untouched.
    CWavBuf already = bufferOf(2, {0x34, 0x12, 0x00, 0x80}, true);
    already.convertSampleWidth();
    EXPECT_EQ(int16Samples(already), (std::vector<int16_t>{0x1234, -32768}));
}

TEST(CWavBuf, SplitsChannels)
{
    CWavBuf stereo = bufferOf(2, {1, 0, 2, 0, 3, 0, 4, 0, 5, 0}, false, 22050, 2);
    CWavBuf right;
    right.appendFrom(stereo);  // the sample ending no whole frame is dropped
    EXPECT_EQ(int16Samples(right), (std::vector<int16_t>{2, 4}));
    EXPECT_EQ(right.channels, 1);
    EXPECT_EQ(right.sampleRate, 22050);
    const CWavBuf mono = bufferOf(2, {7, 8, 9});
    right.appendFrom(mono);  // a mono source has no second channel
    EXPECT_TRUE(right.fifo.isEmpty());
    right.assign(mono);  // but is its own first channel, byte for byte
    EXPECT_EQ(Bytes(right.fifo.ptrBegin(), right.fifo.ptrBegin() + right.fifo.numSamples()), (Bytes{7, 8, 9}));

    // Splitting a buffer into itself reads the source before replacing it.
    stereo.assign(stereo);
    EXPECT_EQ(int16Samples(stereo), (std::vector<int16_t>{1, 3}));
}

TEST(CWavBuf, ResamplesLinearlyAfterASilentLeadIn)
{
    CWavBuf up = floatBuffer({0.25f, 0.75f}, 22050);
    up.resample();
    EXPECT_EQ(up.sampleRate, 44100);
    EXPECT_EQ(floatsOf(up), (std::vector<float>{0.0f, 0.125f, 0.25f, 0.5f, 0.75f}));

    CWavBuf down = floatBuffer({0.1f, 0.2f, 0.3f, 0.4f}, 88200);
    down.resample();
    EXPECT_EQ(floatsOf(down), (std::vector<float>{0.0f, 0.2f, 0.4f}));

    CWavBuf empty = bufferOf(2, {}, false, 22050);
    empty.resample();
    EXPECT_EQ(int16Samples(empty), (std::vector<int16_t>{0, 0, 0}));

    CWavBuf stereo = floatBuffer({0.25f, -0.5f, 0.75f, 0.5f}, 22050, 2);
    stereo.resampleAndRemix();
    EXPECT_EQ(stereo.channels, 2);
    EXPECT_EQ(floatsOf(stereo), (std::vector<float>{0, 0, 0.125f, -0.25f, 0.25f, -0.5f, 0.5f, 0, 0.75f, 0.5f}));
    // The same samples with the channels apart; at 44100 Hz only reordered.
    CWavBuf apart = floatBuffer({0.25f, -0.5f, 0.75f, 0.5f}, 22050, 2);
    apart.resampleApart();
    EXPECT_EQ(floatsOf(apart), (std::vector<float>{0, 0.125f, 0.25f, 0.5f, 0.75f, 0, -0.25f, -0.5f, 0, 0.5f}));
    CWavBuf reordered = floatBuffer({0.25f, -0.5f, 0.75f, 0.5f, 0.125f, 1.0f}, 44100, 2);
    reordered.resampleApart();
    EXPECT_EQ(floatsOf(reordered), (std::vector<float>{0.25f, 0.75f, 0.125f, -0.5f, 0.5f, 1.0f}));

    CWavBuf same = floatBuffer({0.25f, 0.75f}, 44100);  // already at the target rate
    same.resample();
    same.resampleAndRemix();
    EXPECT_EQ(floatsOf(same), (std::vector<float>{0.25f, 0.75f}));
}

TEST(CWavBuf, ResamplingRefusesWhatWouldGrowWithoutBound)
{
    // Below 1000 Hz (and at rates that never step forward) nothing is made:
    // the buffer is left as it was.
    for (int rate : {0, -44100, 1, 999}) {
        CWavBuf b = floatBuffer({0.5f, 0.5f}, rate);
        EXPECT_THROW(b.resample(), std::length_error) << rate;
        EXPECT_THROW(b.resampleAndRemix(), std::length_error) << rate;
        EXPECT_EQ(floatsOf(b), (std::vector<float>{0.5f, 0.5f})) << rate;
        EXPECT_EQ(b.sampleRate, rate);
    }
    // At the floor every interval becomes 44.1 samples: the lead-in and the
    // 9 intervals between 10 samples give 10 x 44.1 = 441.
    CWavBuf floor = floatBuffer(std::vector<float>(10, 0.5f), 1000);
    floor.resample();
    EXPECT_EQ(floor.sampleRate, 44100);
    EXPECT_NEAR(floor.sampleCount(), 441, 2);
}
