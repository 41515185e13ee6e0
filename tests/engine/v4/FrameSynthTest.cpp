#include <gtest/gtest.h>

#include <memory>

#include "support/engine/FrameFixtures.h"
#include "engine/v4/FrameSynth.h"
#include "platform/Rand.h"

namespace {

using v3test::OwnedFrame;
using v3test::Output;

std::unique_ptr<HalvorenEngineV4::FrameSynth> makeV4(float harmLevel, float noiseLevel, float tiltAtZero)
{
    return std::make_unique<HalvorenEngineV4::FrameSynth>(v3test::kRate, 128, 0.0f, 0.0f, 0.0f, 16000.0f, 20, 0,
                                                          6.0f, 3000.0f, 1000.0f, harmLevel, noiseLevel,
                                                          tiltAtZero);
}

TEST(FrameSynthV4, BankLevelsSetHarmonicAndNoiseParts)
{
    struct Case {
        float levelControl;
        float harmDelta;
        float noiseDelta;
    } cases[] = {
        // x = 1: 20 log10(0.5) = -6.0206, 20 log10(1.2) = +1.5836.
        {0.0f, -6.0206f, 1.5836f},
        // x = 2^(2 * 0.5) = 2: 20 log10(1) = 0, 20 log10(2.4) = +7.6042.
        {0.5f, 0.0f, 7.6042f},
        // x = 0: both parts at -100 dB.
        {-1.0f, -100.0f, -100.0f},
    };
    for (const Case& c : cases) {
        auto synth = makeV4(0.5f, 1.2f, -20.0f);
        Output out(128, 4);
        OwnedFrame f(0);
        f.peaks.append(440.0f, -10.0f, 0.0f);
        f.record.levelControl = c.levelControl;
        synth->renderFrame(f.record, out.writer);
        EXPECT_NEAR(f.peaks.mags[0], -10.0f + c.harmDelta, 2e-4) << "levelControl " << c.levelControl;
        EXPECT_NEAR(f.mags.ptrBegin()[0], -50.0f + c.noiseDelta, 2e-4) << "levelControl " << c.levelControl;
    }
}

TEST(FrameSynthV4, RankTiltFollowsTensionAndTheBanksTiltAtZero)
{
    struct Case {
        float tiltAtZero;
        float tension;
        float ramp[4];  // by rank, loudest first
    } cases[] = {
        {-20.0f, 0.0f, {0.0f, -5.0f, -10.0f, -15.0f}},
        {-20.0f, 1.0f, {10.0f, 7.5f, 5.0f, 2.5f}},
        {-20.0f, -1.0f, {0.0f, -25.0f, -50.0f, -75.0f}},
        {-10.0f, 0.0f, {0.0f, -2.5f, -5.0f, -7.5f}},
    };
    // Ranks 400, 800, 200, 600 Hz: the listed peaks are 3rd, 1st, 4th, 2nd.
    const float* levels = v3test::kRankedLevels;
    const int rankOf[] = {2, 0, 3, 1};
    for (const Case& c : cases) {
        auto synth = makeV4(0.5f, 1.2f, c.tiltAtZero);
        Output out(128, 4);
        OwnedFrame f(0);
        v3test::appendRankedPeaks(f.peaks);
        f.record.tension = c.tension;
        synth->renderFrame(f.record, out.writer);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(f.peaks.mags[i], levels[i] - 6.0206f + c.ramp[rankOf[i]], 2e-4)
                << "tilt " << c.tiltAtZero << " tension " << c.tension << " peak " << i;
    }
}

TEST(FrameSynthV4, ThirdGenerationLevelsGiveTheThirdGenerationsSamples)
{
    auto render = [](HalvorenEngineV3::FrameSynth& synth) {
        Output out(128, 6);
        hvSrand(7);
        for (int index : {0, 1, 2, 4}) {
            OwnedFrame f(index, -40.0f);
            for (int k = 1; k <= 20; ++k)
                f.peaks.append(220.0f * k, -6.0f - k, 0.0f);
            f.record.levelControl = 0.25f * (index - 2);
            f.record.tension = 0.3f;
            f.record.noiseGain = -0.2f;
            f.record.boostWeight = 1.0f;
            f.record.warpRatio = 1.0f;
            synth.renderFrame(f.record, out.writer);
        }
        out.writer.finish();
        return out.samples();
    };
    auto v3 = v3test::makeFrameSynth(128);
    auto v4 = makeV4(0.5f, 0.6f, -20.0f);
    const std::vector<short> third = render(*v3);
    EXPECT_EQ(render(*v4), third);
    long long energy = 0;
    for (short s : third)
        energy += std::abs(s);
    EXPECT_GT(energy, 0);
}

}  // namespace
