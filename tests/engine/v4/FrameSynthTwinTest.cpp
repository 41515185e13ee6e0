#include <gtest/gtest.h>

#include <memory>

#include "support/engine/FrameFixtures.h"
#include "engine/v3_2/FrameSynth.h"
#include "platform/Rand.h"

namespace {

using v3test::OwnedFrame;
using v3test::Output;

std::unique_ptr<HalvorenEngineV3_2::FrameSynth> makeTwin()
{
    return std::make_unique<HalvorenEngineV3_2::FrameSynth>(v3test::kRate, 128, 0.0f, 0.0f, 0.0f, 16000.0f, 20, 0,
                                                            6.0f, 3000.0f, 1000.0f);
}

TEST(FrameSynthTwin, OneLevelForBothPartsAndTheFixedTilt)
{
    struct Case {
        float levelControl;
        float delta;  // 20 log10(0.5 x)
    } cases[] = {{0.0f, -6.0206f}, {0.5f, 0.0f}, {-0.5f, -12.0412f}, {-1.0f, -100.0f}};
    // Peaks at -6, 0, -9, -3 dB rank 3rd, 1st, 4th, 2nd; tension 0 ramps 0, -5, -10, -15.
    const float* levels = v3test::kRankedLevels;
    const float ramp[] = {-10.0f, 0.0f, -15.0f, -5.0f};
    for (const Case& c : cases) {
        auto synth = makeTwin();
        Output out(128, 4);
        OwnedFrame f(0);
        v3test::appendRankedPeaks(f.peaks);
        f.record.levelControl = c.levelControl;
        synth->renderFrame(f.record, out.writer);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(f.peaks.mags[i], levels[i] + c.delta + ramp[i], 2e-4)
                << "levelControl " << c.levelControl << " peak " << i;
        EXPECT_NEAR(f.mags.ptrBegin()[10], -50.0f + c.delta, 2e-4) << "levelControl " << c.levelControl;
    }
}

TEST(FrameSynthTwin, UnvoicedFramesStillDrawTheirPeaks)
{
    auto render = [](bool unvoiced, bool withPeaks) {
        auto synth = makeTwin();
        Output out(128, 4);
        OwnedFrame f(1, -30.0f);
        if (withPeaks)
            f.peaks.append(440.0f, -6.0f, 0.0f);
        f.record.unvoiced = unvoiced ? 1 : 0;
        hvSrand(3);
        synth->renderFrame(f.record, out.writer);
        EXPECT_NE(synth->drawnPeaks(), nullptr);
        out.writer.finish();
        return out.samples();
    };
    const std::vector<short> unvoiced = render(true, true);
    EXPECT_EQ(unvoiced, render(false, true));
    EXPECT_NE(unvoiced, render(true, false));
}

TEST(FrameSynthTwin, GuardsHoldForUnvoicedFramesWithoutPeaksOrFullEnvelope)
{
    auto synth = makeTwin();
    Output out(128, 4);
    OwnedFrame bare(0, -40.0f, 10);
    bare.record.peaks = nullptr;
    bare.record.unvoiced = 1;
    synth->renderFrame(bare.record, out.writer);
    // A 10 Hz fundamental: 2199 harmonics, cut to 2048.
    OwnedFrame many(1);
    many.record.unvoiced = 1;
    for (int k = 1; k < 2200; ++k)
        many.peaks.append(10.0f * k, -20.0f, 0.0f);
    synth->renderFrame(many.record, out.writer);
    EXPECT_EQ(many.peaks.size(), 2048u);
    EXPECT_EQ(out.writer.framesWritten(), 2);
}

}  // namespace
