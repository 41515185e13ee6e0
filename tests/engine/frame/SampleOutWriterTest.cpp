#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "support/engine/TestGeneration.h"

using HalvorenEngine::OutputBuffer;
using HalvorenEngine::SampleOutWriter;
using HalvorenEngineTest::shapedFrame;

namespace {
constexpr int N = 64;
constexpr int H = 16;

// 32767 * the triangle of 2h samples (.25 .75 .75 .25 for h = 2) at i, 0 outside.
double fullScaleTriangle(int i)
{
    return i < 0 || i >= 2 * H ? 0.0 : 32767.0 * (1 - std::abs(2 * i + 1 - 2 * H) / (2.0 * H));
}
}  // namespace

TEST(SampleOutWriter, OverlapAddsFrameKAtKTimesHopAndSaturatesTheSumOnce)
{
    OutputBuffer buffer(4096);
    SampleOutWriter writer(buffer, N, H);
    ASSERT_TRUE(writer.appendZeros(8));
    ASSERT_EQ(writer.length(), 9 * H);
    writer.addFrame(2, shapedFrame(N, 1.5f).data(), 1.0f);
    writer.addFrame(3, shapedFrame(N, -0.5f).data(), 2.0f);
    writer.finish();
    // Near 3h the first frame alone exceeds full scale; only the sum is
    // clamped, and counted (give or take the samples within the tolerance
    // of full scale).
    int surelyOver = 0;
    int perhapsOver = 0;
    for (int i = 0; i < writer.length(); ++i) {
        const double sum = 1.5 * fullScaleTriangle(i - 2 * H) - fullScaleTriangle(i - 3 * H);
        EXPECT_NEAR(writer.data()[i], std::clamp(std::trunc(sum), -32768.0, 32767.0), 2.0) << i;
        surelyOver += sum > 32767.0 + 2.0;
        perhapsOver += sum > 32767.0 - 2.0;
    }
    ASSERT_GT(surelyOver, 0);
    EXPECT_GE(writer.samplesSaturated(), surelyOver);
    EXPECT_LE(writer.samplesSaturated(), perhapsOver);
    // A new layout counts afresh.
    ASSERT_TRUE(writer.appendZeros(8));
    EXPECT_EQ(writer.samplesSaturated(), 0);
}

TEST(SampleOutWriter, StorageNeverMovesCountsOnlyUpwardsAndDropsOutsideSamples)
{
    OutputBuffer buffer(4096);
    SampleOutWriter writer(buffer, N, H);
    ASSERT_TRUE(writer.appendZeros(4));
    const short* first = writer.data();
    const std::vector<float> frame = shapedFrame(N, 0.5f);

    writer.addFrame(-1, frame.data(), 1.0f);  // half before the start
    EXPECT_EQ(writer.framesWritten(), 0);
    writer.addFrame(2, frame.data(), 1.0f);
    writer.addFrame(1, frame.data(), 1.0f);  // reaching back keeps the count
    EXPECT_EQ(writer.produced(), 3 * H);
    writer.addFrame(4, frame.data(), 1.0f);  // past the plan: grows to (k + 2) * h
    EXPECT_EQ(writer.length(), 6 * H);
    writer.addFrame(8, frame.data(), 1.0f);  // half beyond the reserve of N samples
    writer.addFrame(1000, frame.data(), 1.0f);
    writer.finish();
    EXPECT_EQ(writer.data(), first);
    EXPECT_EQ(writer.produced(), 5 * H + N);
    EXPECT_GT(writer.data()[H / 2], 0);  // the kept half of frame -1
    // Frames -1, 2, 1, 4 and 8 reach the output; frame 1000 falls wholly outside.
    EXPECT_EQ(writer.framesDrawn(), 5);

    // A new layout starts silent and uncounted again.
    ASSERT_TRUE(writer.appendZeros(2));
    EXPECT_EQ(writer.produced() + writer.framesDrawn(), 0);
    EXPECT_EQ(std::count(first, first + writer.length(), 0), 3 * H);
}

TEST(SampleOutWriter, RefusesHopsThatDoNotFitTheFrameAndUnusableLengths)
{
    OutputBuffer buffer(4096);
    for (int hop : {0, -4, N / 2 + 1}) {
        SampleOutWriter writer(buffer, N, hop);
        EXPECT_FALSE(writer.appendZeros(10)) << hop;
        writer.addFrame(0, shapedFrame(N, 1.0f).data(), 1.0f);
        EXPECT_EQ(writer.length() + writer.framesWritten(), 0) << hop;
    }
    SampleOutWriter halfFrame(buffer, N, N / 2);
    EXPECT_TRUE(halfFrame.appendZeros(1));
    EXPECT_FALSE(halfFrame.appendZeros(-1));
    EXPECT_FALSE(halfFrame.appendZeros(1 << 30));
    EXPECT_EQ(halfFrame.length(), N);
}

TEST(SampleOutWriter, SizedFramesUseTheWindowOfTheirLength)
{
    OutputBuffer buffer(4096);
    SampleOutWriter writer(buffer, N, H);
    ASSERT_TRUE(writer.appendZeros(4));
    writer.addFrameSized(1, 2 * N, shapedFrame(2 * N, 1.0f).data(), 1.0f);
    writer.addFrameSized(2, N / 2, shapedFrame(N, 1.0f).data(), 1.0f);  // too short: ignored
    writer.finish();
    for (int i = 0; i < writer.length(); ++i)
        EXPECT_NEAR(writer.data()[i], std::trunc(fullScaleTriangle(i - H)), 1.0) << i;
}

TEST(SampleOutWriter, CountsFrameValuesThatAreNotFiniteWhereverTheyLand)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // Frame k reaches the samples k*h .. k*h + 2h - 1 through its values
    // N/2 - h .. N/2 + h - 1; the centre value N/2 lands on sample k*h + h.
    struct Case {
        const char* name;
        int k;
        int at;       // the frame value that is changed; -1: every one
        float value;  // what it becomes
        float gain;
        bool reachBack;  // frame 3 is written first, so that frame k adds to settled samples
        std::int64_t counted;
    };
    const Case cases[] = {
        {"finite far beyond full scale", 2, -1, 1e30f, 1.0f, false, 0},
        {"one NaN in the reach", 2, N / 2, nan, 1.0f, false, 1},
        {"NaN outside the reach", 2, N / 2 - H - 1, nan, 1.0f, false, 0},
        {"every value infinite", 2, -1, inf, 1.0f, false, 2 * H},
        {"minus infinity at gain 0", 2, -1, -inf, 0.0f, false, 2 * H},
        {"NaN onto settled samples", 1, N / 2, nan, 1.0f, true, 1},
        {"NaN in a frame outside the output", 1000, -1, nan, 1.0f, false, 0},
    };
    for (const Case& c : cases) {
        OutputBuffer buffer(4096);
        SampleOutWriter writer(buffer, N, H);
        ASSERT_TRUE(writer.appendZeros(8));
        if (c.reachBack)
            writer.addFrame(3, shapedFrame(N, 0.25f).data(), 1.0f);
        std::vector<float> frame = shapedFrame(N, 0.25f);
        if (c.at < 0)
            std::fill(frame.begin(), frame.end(), c.value);
        else
            frame[static_cast<std::size_t>(c.at)] = c.value;
        writer.addFrame(c.k, frame.data(), c.gain);
        writer.finish();
        EXPECT_EQ(writer.samplesNotFinite(), c.counted) << c.name;
        // What is not finite adds nothing: a frame of such values leaves silence.
        if (c.at < 0 && c.counted > 0) {
            EXPECT_EQ(std::count(writer.data(), writer.data() + writer.length(), 0), writer.length()) << c.name;
        }
    }
    {
        // Nor does it take away what another frame put there: sample 3h keeps
        // 0.25 * 32767 * (1 - 1 / 2h) = 7935.7 of the frame before.
        OutputBuffer buffer(4096);
        SampleOutWriter writer(buffer, N, H);
        ASSERT_TRUE(writer.appendZeros(8));
        writer.addFrame(2, shapedFrame(N, 0.25f).data(), 1.0f);
        std::vector<float> frame(N, 0.0f);
        frame[N / 2] = nan;
        writer.addFrame(2, frame.data(), 1.0f);
        writer.finish();
        EXPECT_NEAR(writer.data()[3 * H], 7935.0, 2.0);
        EXPECT_EQ(writer.samplesNotFinite(), 1);
    }

    // The two parts of a windowed frame are counted alike, and add nothing
    // either. The centre noise value lands on sample 2h + h.
    OutputBuffer buffer(4096);
    SampleOutWriter writer(buffer, N, H);
    ASSERT_TRUE(writer.appendZeros(8));
    const std::vector<float> ones(N, 1.0f);
    std::vector<float> noise(N, 0.0f);
    noise[N / 2] = nan;
    writer.addWindowedFrame(2, ones.data(), noise.data(), std::vector<float>(N, 0.0f).data());
    writer.finish();
    EXPECT_EQ(writer.samplesNotFinite(), 1);
    EXPECT_EQ(std::count(writer.data(), writer.data() + writer.length(), 0), writer.length());
    // A new layout counts afresh.
    ASSERT_TRUE(writer.appendZeros(8));
    EXPECT_EQ(writer.samplesNotFinite(), 0);
}
