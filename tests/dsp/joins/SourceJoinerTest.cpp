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

TEST(SourceJoiner, UnitsOfEqualLevelJoinedAtTheirEndsKeepTheirLevel)
{
    // a, b and c: noise of one RMS (1000, 60 dB) and peaks at -10, -20,
    // -30 dB at nearly the same frequencies (the spline forms compare levels
    // at each frequency), so every join should leave the levels where they
    // are. b's frames 0 and 1 sit at its start, 39 is its last, 45 lies past
    // it (and reads as 39); frameA 58 is two frames before a's end.
    HPR_model a, b, c, out;
    fillModel(a, 60, 100.0f, kLevels, 1000.0, 21);
    fillModel(b, 40, 100.0f, kLevels, 1000.0, 22);
    fillModel(c, 30, 100.0f, kLevels, 1000.0, 23);
    SourceJoiner joiner;
    joiner.init(kN, kRate);
    const char* forms[] = {"two", "scaled", "spline", "three", "three spline"};
    for (const std::string form : forms) {
        for (int frameA : {40, 58}) {
            for (int frameB : {0, 1, 39, 45}) {
                const std::string what = form + " at " + std::to_string(frameA) + ", " + std::to_string(frameB);
                const int b0 = std::min(frameB, 39);
                // Where b's frames start in out, how many follow, and which
                // of out's frames the residual correction moved.
                int keep = frameA, taken = 0, moved0 = 0, moved1 = 0;
                bool ok = false;
                if (form == "two") {
                    // Region frameA - 9 .. frameA, then up to 10 of b's.
                    ok = joiner.joinTwo(a, b, out, frameA, frameB, frameA - 9, 10);
                    keep = frameA + 1;
                    taken = std::min(10, 40 - b0);
                    moved0 = frameA - 9;
                    moved1 = frameA;
                } else if (form == "scaled" || form == "spline") {
                    ok = form == "scaled" ? joiner.joinTwoScaled(a, b, out, frameA, frameB, 0.01f, 10)
                                          : joiner.joinTwoSpline(a, b, out, frameA, frameB, 0.01f, 10);
                    taken = std::min(10, 40 - b0);
                    moved0 = keep;
                    moved1 = keep + taken - 1;
                } else {
                    // b's frames b0 .. b0 + 2, then c's from min(frameB, 29).
                    ok = form == "three" ? joiner.joinThree(a, b, c, out, frameA, frameB, frameB + 3, frameB, 10)
                                         : joiner.joinThreeSpline(a, b, c, out, frameA, frameB, frameB + 3, frameB, 10);
                    const int span = std::min(3, 40 - b0);
                    taken = span + std::min(10 - span, 30 - std::min(frameB, 29));
                    moved0 = keep;
                    moved1 = keep + span - 1;
                }
                ASSERT_TRUE(ok) << what;
                ASSERT_EQ(out.peaks.size(), std::size_t(keep + taken)) << what;
                for (std::size_t i = 0; i < out.peaks.size(); ++i) {
                    const PeakList& f = out.peaks.frame(i);
                    ASSERT_GE(f.size(), 3u) << what << " frame " << i;
                    EXPECT_GT(f.freqs[0], 0.0f) << what << " frame " << i;
                    EXPECT_EQ(f.freqs[1], 2000.0f) << what << " frame " << i;
                    EXPECT_EQ(f.freqs[2], 3000.0f) << what << " frame " << i;
                    for (int k = 0; k < 3; ++k)
                        EXPECT_NEAR(f.mags[k], kLevels[k], 1.0f) << what << " frame " << i << " peak " << k;
                }
                // The moved frames' residual against the samples they came
                // from (a's for joinTwo, b's otherwise), between their centres.
                if (moved1 <= moved0)
                    continue;
                const HPR_model& src = form == "two" ? a : b;
                const int srcFrame0 = form == "two" ? moved0 : b0;
                const int samples = (moved1 - moved0) * kHop;
                const double outDb = levelDb(out.residual.ptrBegin() + moved0 * kHop, 0, samples);
                const double srcDb = levelDb(src.residual.ptrBegin() + srcFrame0 * kHop, 0, samples);
                EXPECT_NEAR(outDb, srcDb, 1.0) << what;
            }
        }
    }
}

}  // namespace
