#include <gtest/gtest.h>

#include "JoinModels.h"
#include "dsp/HPR_model.h"

using namespace Halvoren;
using namespace jointest;

namespace {

TEST(HprModel, AssignCopiesEverythingAndIgnoresItself)
{
    HPR_model src, dst;
    src.hop = 256;
    fillPeaks(dst, 4, 100.0f, std::array<float, 3>{-1, -2, -3}.data());
    setResidual(dst, {1, 2, 3});
    dst.assign(src);
    EXPECT_EQ(dst.peaks.size(), 0u);
    EXPECT_EQ(dst.residual.numSamples(), 0u);
    EXPECT_EQ(dst.hop, 256);

    fillPeaks(src, 2, 100.0f, std::array<float, 3>{-1, -2, -3}.data());
    setResidual(src, {7, 8});
    src.assign(src);
    dst.assign(src);
    for (const HPR_model* m : {&src, &dst}) {
        EXPECT_EQ(frameIds(*m), (std::vector<int>{100, 101}));
        ASSERT_EQ(m->residual.numSamples(), 2u);
        EXPECT_EQ(m->residual.ptrBegin()[1], 8);
    }
}

TEST(HprModel, PlainJoinTakesTheHeadOfAThenAllOfB)
{
    HPR_model a, b, out;
    const float levels[3] = {-1, -2, -3};
    a.hop = 128;
    b.hop = 128;
    fillPeaks(a, 10, 100.0f, levels);
    fillPeaks(b, 4, 1000.0f, levels);
    std::vector<short> ra(2000, 1), rb(300, 2);
    setResidual(a, ra);
    setResidual(b, rb);
    PeakTracks::ParameterBlock aBlock{}, bBlock{}, outBlock{};
    aBlock[3] = 3;  // J
    aBlock[4] = 55;
    aBlock[0] = 9;
    bBlock[1] = 77;
    PeakTracks::joinThree(out, outBlock, a, aBlock, b, bBlock);
    std::vector<int> want{100, 101, 102};
    EXPECT_EQ(frameIds(out), appendRange(want, 1000, 1003));
    // (J + 1) * H = 4 * 128 = 512 samples of a, then b's 300.
    ASSERT_EQ(out.residual.numSamples(), 812u);
    EXPECT_EQ(out.residual.ptrBegin()[511], 1);
    EXPECT_EQ(out.residual.ptrBegin()[512], 2);
    EXPECT_EQ(out.hop, 128);
    EXPECT_EQ(outBlock[4], 77u);
    EXPECT_EQ(outBlock[0], 9u);

    // A join frame beyond a's frames and residual takes all of a and no more:
    // J = 10 frames and (10 + 1) * 256 = 2816 samples cut to a's 2000.
    aBlock[3] = 1000;
    a.hop = 256;
    PeakTracks::joinThree(a, aBlock, a, aBlock, b, bBlock);
    EXPECT_EQ(a.peaks.size(), 14u);
    EXPECT_EQ(a.residual.numSamples(), 2300u);
}

}  // namespace
