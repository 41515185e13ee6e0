#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "dsp/CumulativeSum.h"
#include "dsp/LfGlottalModel.h"
#include "dsp/LinearLookup.h"
#include "engine/v6/GlottalModulation.h"

using HalvorenEngineV6::glottalFlow;
using HalvorenEngineV6::makeGlottalModulation;

namespace {
constexpr float kRate = 44100.0f;

Halvoren::PeakList fundamental(float f0, float phase)
{
    Halvoren::PeakList p;
    p.freqs = {f0, 2 * f0};
    p.mags = {-20.0f, -26.0f};
    p.phases = {phase, 0.0f};
    return p;
}
}  // namespace

TEST(GlottalModulation, FlatWithoutHarmonicsOrAtFloorOne)
{
    struct Case {
        const char* name;
        Halvoren::PeakList peaks;
        float floor;
    };
    const Case cases[] = {
        {"no harmonics, full depth", {}, 0.0f},
        {"floor 1", fundamental(200.0f, 1.0f), 1.0f},
        {"no phases", [] { auto p = fundamental(150.0f, 0.0f); p.phases.clear(); return p; }(), 1.0f},
    };
    for (const Case& c : cases) {
        std::vector<float> curve(512, 7.0f);
        makeGlottalModulation(c.peaks, curve, kRate, c.floor, 40);
        for (std::size_t i = 0; i < curve.size(); ++i)
            ASSERT_NEAR(curve[i], 1.0f, 1e-6f) << c.name << " at " << i;
    }
}

TEST(GlottalModulation, FullDepthSpansZeroToOneOncePerPeriod)
{
    // 441 Hz at 44100 Hz: a period of exactly 100 samples.
    std::vector<float> curve(512);
    makeGlottalModulation(fundamental(441.0f, 0.3f), curve, kRate, 0.0f, 60);
    const auto [lo, hi] = std::minmax_element(curve.begin(), curve.end());
    EXPECT_NEAR(*hi, 1.0f, 0.02f);
    EXPECT_GE(*lo, -0.02f);
    EXPECT_LT(*lo, 0.05f);
    for (int i = 0; i + 100 < 512; ++i)
        ASSERT_NEAR(curve[i + 100], curve[i], 1e-3f) << i;

    // A floor of 0.25 lifts the same curve: v' = 0.25 + 0.75 v.
    std::vector<float> lifted(512);
    makeGlottalModulation(fundamental(441.0f, 0.3f), lifted, kRate, 0.25f, 60);
    for (int i = 0; i < 512; ++i)
        ASSERT_NEAR(lifted[i], 0.25f + 0.75f * curve[i], 1e-5f) << i;
}

TEST(GlottalModulation, PeakOfFlowAtTheMiddleWhenTheFundamentalPhaseIsPi)
{
    // At 200 Hz a period is 220.5 samples: the one peak within it sits at n/2.
    for (int shape : {0, 30, 99, 200, 269}) {
        std::vector<float> curve(512);
        makeGlottalModulation(fundamental(200.0f, std::numbers::pi_v<float>), curve, kRate, 0.0f, shape);
        const int from = 256 - 110, to = 256 + 110;
        const int peak = static_cast<int>(std::max_element(curve.begin() + from, curve.begin() + to) - curve.begin());
        EXPECT_LE(std::abs(peak - 256), 2) << "shape " << shape << " peak " << peak;
    }
}

TEST(GlottalModulation, ShapeSetsRdInHundredthsFromOneHundredth)
{
    // Rd 1.0 (shape 99): Rk = 0.342, Ra = 0.038,
    // Rg = 0.25 * 0.342 / (0.11 / (0.5 + 1.2 * 0.342) - 0.038) = 1.03228,
    // tp = 1 / (2 Rg) = 0.48437.
    EXPECT_NEAR(glottalFlow(99).tp, 0.48437f, 2e-4f);
    // Shapes outside 0 .. 269 take the nearest end.
    EXPECT_EQ(glottalFlow(-5).tp, glottalFlow(0).tp);
    EXPECT_EQ(glottalFlow(400).tp, glottalFlow(269).tp);
}

TEST(GlottalModulation, TableHoldsTheDirectComputationForEveryShape)
{
    for (int s = 0; s < HalvorenEngineV6::kGlottalShapes; ++s) {
        Halvoren::LfGlottalModel model;
        model.setRd(static_cast<float>(s) * 0.01f + 0.01f, 1.0f, 1.0f);
        std::vector<float> pulse, flow;
        model.buildPulse(pulse);
        Halvoren::cumulativeSum(pulse, flow);
        const HalvorenEngineV6::GlottalFlow& memo = glottalFlow(s);
        ASSERT_EQ(memo.tp, model.tp) << s;
        ASSERT_TRUE(std::equal(flow.begin(), flow.end(), memo.flow.begin())) << s;
        // The peak point: trunc(100 tp), or the next when it is higher, never past 99.
        int p = static_cast<int>(model.tp * 100.0f);
        if (flow[p] < flow[p + 1])
            ++p;
        ASSERT_EQ(memo.peak, p) << s;
        ASSERT_LE(memo.peak, 99) << s;
        ASSERT_EQ(memo.peakFlow, flow[p]) << s;
        ASSERT_GT(memo.peakFlow, 0.0f) << s;
    }
}

TEST(GlottalModulation, FlowReadLinearlyBetweenItsHundredPoints)
{
    // The curve against the flow read through a plain cursor lookup over the
    // points k * 0.01f, at the phase the middle sample puts on Tp.
    for (int shape : {0, 45, 150, 269}) {
        for (float f0 : {97.3f, 220.0f, 441.0f, 1234.5f}) {
            const HalvorenEngineV6::GlottalFlow& g = glottalFlow(shape);
            std::vector<float> times(100);
            for (int k = 0; k < 100; ++k)
                times[k] = static_cast<float>(k) * 0.01f;
            Halvoren::LinearLookup lookup;
            lookup.reset(100, times.data(), g.flow.data());
            std::vector<float> curve(512);
            makeGlottalModulation(fundamental(f0, std::numbers::pi_v<float>), curve, kRate, 0.0f, shape);
            // At the middle sample the phase is Tp.
            EXPECT_NEAR(curve[256], lookup.valueAt(g.tp) / g.peakFlow, 1e-3f) << shape << " " << f0;
            for (float v : curve)
                ASSERT_TRUE(std::isfinite(v) && v <= 1.0001f) << shape << " " << f0;
        }
    }
}

TEST(GlottalModulation, ASpanHoldsTheWholeCurvesValuesAndLeavesTheRest)
{
    // Spans of every length modulo four, the last cut to the curve. At
    // 1e12 Hz the turns of the whole curve pass 2^31 by the last sample, but
    // not within the first span: both ways of taking the floor meet there.
    struct Span {
        int first, count;
    };
    const Span spans[] = {{0, 20}, {5, 7}, {127, 258}, {200, 1}, {510, 9}, {256, 0}};
    for (float f0 : {220.0f, 97.3f, -150.0f, 1e12f}) {
        std::vector<float> whole(512);
        makeGlottalModulation(fundamental(f0, 0.7f), whole, kRate, 0.2f, 77);
        for (const Span& s : spans) {
            std::vector<float> curve(512, 7.0f);
            makeGlottalModulation(fundamental(f0, 0.7f), curve, kRate, 0.2f, 77, s.first, s.count);
            for (int i = 0; i < 512; ++i) {
                const bool inside = i >= s.first && i < s.first + s.count;
                ASSERT_EQ(curve[i], inside ? whole[i] : 7.0f) << f0 << " span " << s.first << " at " << i;
            }
        }
    }
}
