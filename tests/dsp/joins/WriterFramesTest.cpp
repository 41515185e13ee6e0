#include <gtest/gtest.h>

#include <vector>

#include "dsp/SampleOutWriter.h"

using Halvoren::FIFOSampleBufferTemplate;

namespace {

TEST(SampleOutWriter, FadeOutThenFadeInOfAConstantReadsBackConstant)
{
    constexpr int N = 64, H = 16;
    FIFOSampleBufferTemplate<short> buffer(4096);
    HalvorenEngine::SampleOutWriter writer(buffer, N, H);
    ASSERT_TRUE(writer.appendZeros(10));
    const std::vector<short> block(4 * H, 1000);
    writer.addFrames(3, block.data(), false, true);
    EXPECT_EQ(writer.framesWritten(), 3);
    writer.addFrames(3, block.data(), true, false);
    EXPECT_EQ(writer.framesWritten(), 6);
    writer.finish();
    // Samples 0 .. 7H - 1 are covered; the crossing 3H .. 4H - 1 sums the
    // falling and rising triangle halves, which add up to 1 (each truncated
    // once, so at most 2 below 1000).
    for (int i = 0; i < 7 * H; ++i)
        EXPECT_NEAR(writer.data()[i], 1000, 2) << i;
    EXPECT_EQ(writer.data()[7 * H], 0);
}

}  // namespace
