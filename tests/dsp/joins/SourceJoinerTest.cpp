#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "JoinModels.h"
#include "dsp/RealFft.h"
#include "dsp/SourceJoiner.h"

using namespace Halvoren;
using namespace jointest;

namespace {

const float kLevels[3] = {-10.0f, -20.0f, -30.0f};

TEST(SourceJoiner, InitBuildsAUnitSumWindowAndAThirdOrderSmoother)
{
    SourceJoiner joiner;
    joiner.init(4096, kRate);
    EXPECT_EQ(joiner.window.length, 4096);
    const double sum = std::accumulate(joiner.window.w.begin(), joiner.window.w.end(), 0.0);
    EXPECT_NEAR(sum, 1.0, 1e-4);
    EXPECT_EQ(joiner.smootherOrder, 3);
    EXPECT_EQ(joiner.smoother.cascade.numStages(), 2);  // (3 + 1) / 2
    EXPECT_EQ(joiner.correction.size(), 2052u);         // 4096 / 2 + 4
    joiner.release();
    EXPECT_FALSE(joiner.isReady());
}

TEST(SourceJoiner, IdenticalModelsNeedNoCorrection)
{
    SourceJoiner joiner;
    joiner.init(kN, kRate);
    HPR_model a;
    a.hop = kHop;
    setResidual(a, noise(8192, 1000.0, 7));
    joiner.computeResidualCorrection(a, a, 20, 20);
    for (int k = 0; k <= kN / 2; ++k)
        ASSERT_EQ(joiner.correction[k], 0.0f) << k;
}

TEST(SourceJoiner, AStepBetweenTheSpectraComesOutSmoothedAroundTheStep)
{
    // b is a with every frequency from bin 128 of the 512-point grid up
    // raised 20 dB (filtered over the whole signal at once). Per frame that
    // is SB - SA = 20 dB above the step, so (SB - SA) / 20 summed over 21
    // frames is 21 there and 0 below; half-way is 10.5.
    constexpr int kLength = 8192;
    const std::vector<short> x = noise(kLength, 1000.0, 11);
    std::vector<float> in(x.begin(), x.end()), re(kLength), im(kLength), y(kLength);
    RealFft fft(kLength);
    fft.forward(in.data(), re.data(), im.data());
    const int stepBin = 128 * (kLength / kN);
    for (int k = stepBin; k <= kLength / 2; ++k) {
        re[k] *= 10.0f;
        im[k] *= 10.0f;
    }
    fft.inverse(re.data(), im.data(), y.data());
    std::vector<short> raised(kLength);
    for (int i = 0; i < kLength; ++i)
        raised[i] = static_cast<short>(std::lround(std::clamp(y[i], -32768.0f, 32767.0f)));

    HPR_model a, b;
    a.hop = b.hop = kHop;
    setResidual(a, x);
    setResidual(b, raised);
    SourceJoiner joiner;
    joiner.init(kN, kRate);
    joiner.computeResidualCorrection(a, b, 30, 30);
    EXPECT_NEAR(joiner.correction[40], 0.0f, 1.0f);
    EXPECT_NEAR(joiner.correction[220], 21.0f, 1.5f);
    int halfWay = -1;
    for (int k = 0; k <= kN / 2 && halfWay < 0; ++k)
        if (joiner.correction[k] >= 10.5f)
            halfWay = k;
    EXPECT_NEAR(halfWay, 128, 1);
    // Smoothed: no bin jumps by more than a few units.
    for (int k = 1; k <= kN / 2; ++k)
        EXPECT_LT(std::abs(joiner.correction[k] - joiner.correction[k - 1]), 2.0f) << k;
}

// RMS level in dB of samples [from, to).
double levelDb(const short* s, int from, int to)
{
    double sum = 0.0;
    for (int i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return 10.0 * std::log10(sum / (to - from) + 1e-9);
}

TEST(SourceJoiner, JoinedToItselfAModelComesBack)
{
    // Sines at multiples of rate / H repeat every hop, so every residual
    // frame is the same and the correction is 0.
    constexpr int kFrames = 60;
    std::vector<short> x((kFrames + 1) * kHop);
    for (std::size_t i = 0; i < x.size(); ++i) {
        double v = 0.0;
        for (int k = 1; k <= 5; ++k)
            v += 2000.0 * std::sin(2.0 * std::numbers::pi * k * double(i % kHop) / kHop + k);
        x[i] = static_cast<short>(std::lround(v));
    }
    HPR_model a, out;
    a.hop = kHop;
    fillPeaks(a, kFrames, 100.0f, kLevels);
    setResidual(a, x);
    SourceJoiner joiner;
    joiner.init(kN, kRate);
    ASSERT_TRUE(joiner.joinTwo(a, a, out, 30, 31, 25, -1));
    // Frames 0..30 are a's (the region moves by w * 0), then a's 31..59.
    std::vector<int> want;
    EXPECT_EQ(frameIds(out), appendRange(want, 100, 159));
    for (int i = 25; i <= 30; ++i)
        EXPECT_EQ(out.peaks.frame(i).mags, (std::vector<float>{-10.0f, -20.0f, -30.0f})) << i;
    EXPECT_EQ(out.hop, kHop);

    ASSERT_GE(out.residual.numSamples(), x.size());
    double signal = 0.0, error = 0.0;
    for (int i = 20 * kHop; i < 40 * kHop; ++i) {
        const double d = double(out.residual.ptrBegin()[i]) - x[i];
        signal += double(x[i]) * x[i];
        error += d * d;
    }
    EXPECT_LT(10.0 * std::log10(error / signal), -25.0);
    // Outside the region the samples are copies.
    EXPECT_EQ(out.residual.ptrBegin()[10 * kHop], x[10 * kHop]);
    EXPECT_EQ(out.residual.ptrBegin()[45 * kHop], x[45 * kHop]);
}

TEST(SourceJoiner, AQuietResidualRisesTowardALoudOneWithoutAStep)
{
    // a at -40 dBFS (RMS 328), b at -20 dBFS (RMS 3277); region a's 25..44.
    // Levels are read over two hops, one hop apart, to keep the noise's own
    // fluctuation below the trend of about 1 dB per hop.
    HPR_model a, b, out;
    a.hop = b.hop = kHop;
    fillPeaks(a, 60, 100.0f, kLevels);
    fillPeaks(b, 60, 1000.0f, kLevels);
    setResidual(a, noise(61 * kHop, 328.0, 3));
    setResidual(b, noise(61 * kHop, 3277.0, 5));
    SourceJoiner joiner;
    joiner.init(kN, kRate);
    ASSERT_TRUE(joiner.joinTwo(a, b, out, 44, 20, 25, 10));
    const short* s = out.residual.ptrBegin();
    const double quiet = levelDb(s, 10 * kHop, 25 * kHop);
    const double loud = levelDb(s, 47 * kHop, 55 * kHop);
    EXPECT_NEAR(loud - quiet, 20.0, 1.5);
    for (int k = 23; k <= 47; ++k) {
        const double step = levelDb(s, k * kHop, (k + 2) * kHop) - levelDb(s, (k - 1) * kHop, (k + 1) * kHop);
        EXPECT_LT(std::abs(step), 3.0) << "hop " << k;
    }
    // Out's frame 44, centred on sample 44 H, lies nearer b's level than a's.
    const double last = levelDb(s, 44 * kHop - kHop / 2, 44 * kHop + kHop / 2);
    EXPECT_LT(loud - last, last - quiet);
}

}  // namespace
