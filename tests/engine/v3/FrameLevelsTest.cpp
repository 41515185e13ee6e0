#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/engine/FrameFixtures.h"
#include "platform/Rand.h"

namespace {

using v3test::OwnedFrame;
using v3test::Output;

struct AmplitudeCase {
    float amplitude;
    float extraGain;
    float breath;
    float peakDelta;
    float envelopeDelta;
};

TEST(FrameLevels, AmplitudeExtraGainAndBreathOffsetBothParts)
{
    // A = 20 log10(0.5 g), B = 20 log10(0.6 g), g = 2^(2v) or 1 + v:
    // v = 0: -6.0206 / -4.4370; v = 1 (g 4): 6.0206 / 7.6042;
    // v = -0.5 (g 0.5): -12.0412 / -10.4576; v = -1: -100 on both.
    const AmplitudeCase cases[] = {
        {0.0f, 0.0f, 0.0f, -6.0206f, -4.4370f},    {1.0f, 0.0f, 0.0f, 6.0206f, 7.6042f},
        {-0.5f, 0.0f, 0.0f, -12.0412f, -10.4576f}, {-1.0f, 0.0f, 0.0f, -100.0f, -100.0f},
        {-2.0f, 0.0f, 0.0f, -100.0f, -100.0f},     {0.0f, 3.0f, 0.0f, -3.0206f, -1.4370f},
        {-1.0f, 3.0f, 0.0f, -100.0f, -100.0f},     {0.0f, 0.0f, 0.5f, -6.0206f, 5.5630f},
        {0.0f, 0.0f, -1.0f, -6.0206f, -24.4370f},
    };
    for (const AmplitudeCase& c : cases) {
        auto synth = v3test::makeFrameSynth(128);
        Output out(128, 4);
        OwnedFrame f(0);
        f.peaks.append(440.0f, -10.0f, 0.0f);
        f.record.levelControl = c.amplitude;
        f.record.levelDb = c.extraGain;
        f.record.noiseGain = c.breath;
        synth->renderFrame(f.record, out.writer);
        const std::string where = "amplitude " + std::to_string(c.amplitude) + " gain " +
                                  std::to_string(c.extraGain) + " breath " + std::to_string(c.breath);
        EXPECT_NEAR(f.peaks.mags[0], -10.0f + c.peakDelta, 2e-4) << where;
        EXPECT_NEAR(f.mags.ptrBegin()[0], -50.0f + c.envelopeDelta, 2e-4) << where;
        EXPECT_NEAR(f.mags.ptrBegin()[256], -50.0f + c.envelopeDelta, 2e-4) << where;
    }
}

TEST(FrameLevels, BrightnessTiltsByRankLoudestFirst)
{
    struct Case {
        float brightness;
        float expected[4];
    } cases[] = {
        // Ranks 400, 800, 200, 600 Hz; D = -20: ramp 0, -5, -10, -15 on top of -6.0206.
        {0.0f, {-22.0206f, -6.0206f, -30.0206f, -14.0206f}},
        // D = +10: ramp 10, 7.5, 5, 2.5.
        {1.0f, {-7.0206f, 3.9794f, -12.5206f, -1.5206f}},
        // D = -100: ramp 0, -25, -50, -75.
        {-1.0f, {-62.0206f, -6.0206f, -90.0206f, -34.0206f}},
    };
    for (const Case& c : cases) {
        auto synth = v3test::makeFrameSynth(128);
        Output out(128, 4);
        OwnedFrame f(0);
        const float freqs[] = {200.0f, 400.0f, 600.0f, 800.0f};
        const float levels[] = {-6.0f, 0.0f, -9.0f, -3.0f};
        for (int i = 0; i < 4; ++i)
            f.peaks.append(freqs[i], levels[i], 0.0f);
        f.record.tension = c.brightness;
        synth->renderFrame(f.record, out.writer);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(f.peaks.mags[i], c.expected[i], 2e-4) << "brightness " << c.brightness << " peak " << i;
    }
}

TEST(FrameLevels, EqualLevelsRankInListOrder)
{
    auto synth = v3test::makeFrameSynth(128);
    Output out(128, 4);
    OwnedFrame f(0);
    for (int i = 0; i < 3; ++i)
        f.peaks.append(200.0f * (i + 1), -10.0f, 0.0f);
    synth->renderFrame(f.record, out.writer);
    // D = -20 over three ranks: 0, -6.6667, -13.3333 in list order.
    EXPECT_NEAR(f.peaks.mags[0], -16.0206f, 2e-4);
    EXPECT_NEAR(f.peaks.mags[1], -22.6873f, 2e-4);
    EXPECT_NEAR(f.peaks.mags[2], -29.3539f, 2e-4);
}

TEST(FrameLevels, PowerBumpGoesOntoTheDrawnPeaks)
{
    struct Case {
        float power;
        float freq;
        float added;
    } cases[] = {
        // 6 exp(-(f - 3000)^2 / (2 * 500^2)): 6 at the centre, 6 e^-0.5 at 500 Hz off, 6 e^-2 at 1000.
        {1.0f, 3000.0f, 6.0f},       {1.0f, 2500.0f, 3.639184f}, {1.0f, 3500.0f, 3.639184f},
        {1.0f, 4000.0f, 0.8120117f}, {-0.5f, 3000.0f, -3.0f},    {0.0f, 3000.0f, 0.0f},
    };
    for (const Case& c : cases) {
        auto synth = v3test::makeFrameSynth(128);
        Output out(128, 4);
        OwnedFrame f(0);
        f.peaks.append(c.freq, -20.0f, 0.0f);
        f.record.boostWeight = c.power;
        synth->renderFrame(f.record, out.writer);
        ASSERT_NE(synth->drawnPeaks(), nullptr);
        ASSERT_EQ(synth->drawnPeaks()->size(), 1u);
        EXPECT_NEAR(synth->drawnPeaks()->mags[0] - f.peaks.mags[0], c.added, 1e-4)
            << "power " << c.power << " at " << c.freq;
    }
}

TEST(FrameLevels, ZeroPowerWidthSkipsTheBump)
{
    auto synth = v3test::makeFrameSynth(128, 0.0f);
    Output out(128, 4);
    OwnedFrame f(0);
    f.peaks.append(3000.0f, -20.0f, 0.0f);
    f.record.boostWeight = 1.0f;
    synth->renderFrame(f.record, out.writer);
    ASSERT_NE(synth->drawnPeaks(), nullptr);
    EXPECT_EQ(synth->drawnPeaks()->mags[0], f.peaks.mags[0]);
}

TEST(FrameLevels, UnvoicedFrameKeepsItsPeaksAndSoundsNoiseOnly)
{
    auto render = [](bool unvoiced, bool withPeaks, Halvoren::PeakList& keptPeaks) {
        auto synth = v3test::makeFrameSynth(128);
        Output out(128, 4);
        OwnedFrame f(1, -30.0f);
        if (withPeaks)
            f.peaks.append(440.0f, -6.0f, 0.0f);
        f.record.unvoiced = unvoiced ? 1 : 0;
        hvSrand(1);
        synth->renderFrame(f.record, out.writer);
        out.writer.finish();
        keptPeaks.assign(f.peaks);
        return out.samples();
    };
    Halvoren::PeakList unvoicedPeaks, emptyPeaks, voicedPeaks;
    const std::vector<short> unvoiced = render(true, true, unvoicedPeaks);
    const std::vector<short> noiseOnly = render(false, false, emptyPeaks);
    const std::vector<short> voiced = render(false, true, voicedPeaks);
    ASSERT_EQ(unvoicedPeaks.size(), 1u);
    EXPECT_EQ(unvoicedPeaks.mags[0], -6.0f);
    EXPECT_EQ(unvoiced, noiseOnly);
    EXPECT_NE(voiced, noiseOnly);
    long long energy = 0;
    for (short s : noiseOnly)
        energy += std::abs(s);
    EXPECT_GT(energy, 0);
}

TEST(FrameLevels, EmptyPeakListStillOffsetsTheEnvelope)
{
    auto synth = v3test::makeFrameSynth(128);
    Output out(128, 4);
    OwnedFrame f(0);
    synth->renderFrame(f.record, out.writer);
    EXPECT_NEAR(f.mags.ptrBegin()[100], -54.4370f, 2e-4);
    ASSERT_NE(synth->drawnPeaks(), nullptr);
    EXPECT_TRUE(synth->drawnPeaks()->empty());
}

TEST(FrameLevels, OversizedPeakListsAndShortEnvelopesAreBounded)
{
    auto synth = v3test::makeFrameSynth(128);
    Output out(128, 4);
    // A 10 Hz fundamental up to 21990 Hz: 2199 harmonics.
    OwnedFrame f(0, -40.0f, 100);
    for (int k = 1; k < 2200; ++k)
        f.peaks.append(10.0f * k, -20.0f, 0.0f);
    synth->renderFrame(f.record, out.writer);
    EXPECT_EQ(f.peaks.size(), 2048u);
    ASSERT_NE(synth->drawnPeaks(), nullptr);
    EXPECT_EQ(synth->drawnPeaks()->size(), 2048u);
    EXPECT_EQ(f.mags.numSamples(), 100u);
    EXPECT_NEAR(f.mags.ptrBegin()[99], -44.4370f, 2e-4);

    OwnedFrame none(1);
    none.record.mags = nullptr;
    none.record.peaks = nullptr;
    synth->renderFrame(none.record, out.writer);
    EXPECT_EQ(out.writer.framesWritten(), 2);
}

}  // namespace
