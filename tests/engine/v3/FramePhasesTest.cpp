#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/engine/FrameFixtures.h"

namespace {

using v3test::OwnedFrame;
using v3test::Output;

// Distance of two phases on the circle.
double circleDistance(double a, double b)
{
    const double d = std::remainder(a - b, 2.0 * std::numbers::pi);
    return std::fabs(d);
}

void renderPartials(HalvorenEngineV3::FrameSynth& synth, Output& out, int index,
                    Halvoren::StepTable* table = nullptr)
{
    OwnedFrame f(index);
    for (float freq : {200.0f, 400.0f, 600.0f})
        f.peaks.append(freq, -20.0f, 0.0f);
    f.record.jitter = table;
    synth.renderFrame(f.record, out.writer);
}

// First-frame phase of partials 200 Hz apart: 200 * 0.16534698 - 2.0.
constexpr double kInitialPhase = 31.069396;

TEST(FramePhases, ConsecutiveFramesContinueAndGapsStartAfresh)
{
    auto synth = v3test::makeFrameSynth(128);
    Output out(128, 30);
    const double T = 128.0 / 44100.0;
    renderPartials(*synth, out, 10);
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(circleDistance(synth->drawnPeaks()->phases[i], kInitialPhase), 1e-4) << i;
    renderPartials(*synth, out, 11);
    const double f[] = {200.0, 400.0, 600.0};
    for (int i = 0; i < 3; ++i) {
        const double expected = kInitialPhase + 2.0 * f[i] * std::numbers::pi * T;
        EXPECT_LT(circleDistance(synth->drawnPeaks()->phases[i], expected), 1e-4) << i;
    }
    // 20 does not follow 11, and 12 does not follow 20.
    for (int index : {20, 12}) {
        renderPartials(*synth, out, index);
        for (int i = 0; i < 3; ++i)
            EXPECT_LT(circleDistance(synth->drawnPeaks()->phases[i], kInitialPhase), 1e-4) << index << " " << i;
        // A quarter second of frames: 0.25 / (128 / 44100) = 86.1.
        EXPECT_EQ(synth->phaseState().jitterGenerator().maxPeriod, 86) << index;
    }
    // The same frame index twice restarts too.
    renderPartials(*synth, out, 12);
    EXPECT_LT(circleDistance(synth->drawnPeaks()->phases[0], kInitialPhase), 1e-4);
}

TEST(FramePhases, JitterLengthFollowsTheHop)
{
    auto synth = v3test::makeFrameSynth(256);
    Output out(256, 4);
    renderPartials(*synth, out, 0);
    // 0.25 / (256 / 44100) = 43.07.
    EXPECT_EQ(synth->phaseState().jitterGenerator().maxPeriod, 43);
}

TEST(FramePhases, PhaseTableAddsItsValueOnlyWhenValid)
{
    Halvoren::StepTable valid;
    valid.step = 100.0f;
    valid.stride = 3;
    valid.rows = 10;
    valid.values.assign(30, 0.5f);
    Halvoren::StepTable empty;  // step 0, no rows
    struct Case {
        const char* name;
        Halvoren::StepTable* table;
        double added;
    } cases[] = {{"valid", &valid, 0.5}, {"null", nullptr, 0.0}, {"empty", &empty, 0.0}};
    const double T = 128.0 / 44100.0;
    for (const Case& c : cases) {
        auto synth = v3test::makeFrameSynth(128);
        Output out(128, 4);
        renderPartials(*synth, out, 0, c.table);
        renderPartials(*synth, out, 1, c.table);
        const double expected = kInitialPhase + 2.0 * 400.0 * std::numbers::pi * T + c.added;
        EXPECT_LT(circleDistance(synth->drawnPeaks()->phases[1], expected), 1e-4) << c.name;
    }
}

}  // namespace
