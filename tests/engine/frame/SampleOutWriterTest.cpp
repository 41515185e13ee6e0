#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "dsp/Windows.h"
#include "engine/SampleOutWriter.h"

using HalvorenEngine::OutputBuffer;
using HalvorenEngine::SampleOutWriter;

namespace {
constexpr int N = 64;
constexpr int H = 16;

// A frame shaped by the normalised Blackman-Harris window, as the frame
// synthesis delivers it: through the writer's window it becomes c * triangle.
std::vector<float> shapedFrame(float c)
{
    std::vector<float> frame(N);
    Halvoren::makeBlackmanHarrisWindow(frame.data(), N);
    Halvoren::normalizeWindowSum(frame.data(), N);
    for (float& v : frame)
        v *= c;
    return frame;
}

std::vector<float> triangle()
{
    std::vector<float> t(2 * H);
    Halvoren::makeTriangularWindow(t.data(), 2 * H);
    return t;
}

struct Output {
    OutputBuffer buffer{4096};
    SampleOutWriter writer{buffer, N, H};
};
}  // namespace

TEST(SampleOutWriter, OverlapAddsFrameKAtKTimesHop)
{
    Output out;
    ASSERT_TRUE(out.writer.appendZeros(8));
    ASSERT_EQ(out.writer.length(), 9 * H);
    const std::vector<float> t = triangle();

    out.writer.addFrame(3, shapedFrame(0.5f).data(), 1.0f);
    out.writer.finish();
    const short* s = out.writer.data();
    for (int i = 0; i < out.writer.length(); ++i) {
        if (i < 3 * H || i >= 5 * H)
            EXPECT_EQ(s[i], 0) << i;
        else
            EXPECT_NEAR(s[i], std::trunc(32767.0 * 0.5 * t[i - 3 * H]), 1.0) << i;
    }

    // Neighbouring triangles add up to one: a steady level between the ends.
    Output steady;
    ASSERT_TRUE(steady.writer.appendZeros(8));
    for (int k = 0; k < 6; ++k)
        steady.writer.addFrame(k, shapedFrame(0.5f).data(), 2.0f);
    steady.writer.finish();
    for (int i = H; i < 6 * H; ++i)
        EXPECT_NEAR(steady.writer.data()[i], 32767, 2) << i;
}

TEST(SampleOutWriter, SumsOverlapsBeforeSaturatingEachSampleOnce)
{
    Output out;
    ASSERT_TRUE(out.writer.appendZeros(4));
    const std::vector<float> t = triangle();
    out.writer.addFrame(0, shapedFrame(1.5f).data(), 1.0f);
    out.writer.addFrame(1, shapedFrame(-1.0f).data(), 1.0f);
    out.writer.finish();
    const short* s = out.writer.data();
    for (int i = 0; i < 3 * H; ++i) {
        double sum = 0.0;
        if (i < 2 * H)
            sum += 32767.0 * 1.5 * t[i];
        if (i >= H)
            sum -= 32767.0 * t[i - H];
        const double expected = std::clamp(sum, -32768.0, 32767.0);
        EXPECT_NEAR(s[i], expected, 2.0) << i;
    }
    // The loudest overlap sample went above full scale before the second
    // frame brought it back.
    EXPECT_GT(32767.0 * 1.5 * t[H], 32767.0);
}

TEST(SampleOutWriter, StorageNeverMovesCountsOnlyUpwardsAndDropsOutsideSamples)
{
    Output out;
    ASSERT_TRUE(out.writer.appendZeros(4));
    const short* first = out.writer.data();
    const std::vector<float> frame = shapedFrame(0.5f);

    out.writer.addFrame(-1, frame.data(), 1.0f);  // half before the start
    EXPECT_EQ(out.writer.framesWritten(), 0);
    out.writer.addFrame(2, frame.data(), 1.0f);
    out.writer.addFrame(1, frame.data(), 1.0f);  // reaching back keeps the count
    EXPECT_EQ(out.writer.produced(), 3 * H);
    out.writer.addFrame(4, frame.data(), 1.0f);  // past the plan: grows to (k + 2) * h
    EXPECT_EQ(out.writer.length(), 6 * H);
    out.writer.addFrame(8, frame.data(), 1.0f);  // half beyond the reserve of N samples
    out.writer.addFrame(1000, frame.data(), 1.0f);
    EXPECT_EQ(out.writer.length(), 5 * H + N);
    EXPECT_EQ(out.writer.framesWritten(), 9);
    EXPECT_FALSE(out.writer.isFinished());
    out.writer.finish();
    EXPECT_EQ(out.writer.data(), first);
    EXPECT_EQ(out.writer.produced(), 5 * H + N);
    EXPECT_GT(out.writer.data()[H / 2], 0);  // the kept half of frame -1

    // A new layout starts silent and uncounted again.
    ASSERT_TRUE(out.writer.appendZeros(2));
    EXPECT_EQ(out.writer.produced(), 0);
    EXPECT_EQ(std::count(first, first + out.writer.length(), 0), 3 * H);
}

TEST(SampleOutWriter, RefusesHopsThatDoNotFitTheFrameAndUnusableLengths)
{
    for (int hop : {0, -4, N / 2 + 1}) {
        OutputBuffer buffer(4096);
        SampleOutWriter writer(buffer, N, hop);
        EXPECT_FALSE(writer.appendZeros(10)) << hop;
        writer.addFrame(0, shapedFrame(1.0f).data(), 1.0f);
        EXPECT_EQ(writer.length() + writer.framesWritten(), 0) << hop;
    }
    OutputBuffer buffer(4096);
    SampleOutWriter halfFrame(buffer, N, N / 2);
    EXPECT_TRUE(halfFrame.appendZeros(1));
    EXPECT_FALSE(halfFrame.appendZeros(-1));
    EXPECT_FALSE(halfFrame.appendZeros(1 << 30));
    EXPECT_EQ(halfFrame.length(), N);
}

TEST(SampleOutWriter, SizedFramesUseTheWindowOfTheirLength)
{
    Output out;
    ASSERT_TRUE(out.writer.appendZeros(4));
    std::vector<float> longFrame(2 * N);
    Halvoren::makeBlackmanHarrisWindow(longFrame.data(), 2 * N);
    Halvoren::normalizeWindowSum(longFrame.data(), 2 * N);
    out.writer.addFrameSized(1, 2 * N, longFrame.data(), 1.0f);
    out.writer.addFrameSized(2, N / 2, longFrame.data(), 1.0f);  // too short: ignored
    out.writer.finish();
    const std::vector<float> t = triangle();
    for (int i = 0; i < 2 * H; ++i)
        EXPECT_NEAR(out.writer.data()[H + i], std::trunc(32767.0 * t[i]), 1.0) << i;
    EXPECT_EQ(out.writer.data()[3 * H + H / 2], 0);
}
