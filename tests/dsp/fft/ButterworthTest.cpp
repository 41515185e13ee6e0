#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "dsp/ButterworthLowPass.h"

using namespace Halvoren;

TEST(ButterworthTest, FirstOrderCoefficientsAndScaling)
{
    const double fc = 0.05;
    const double f = std::tan(std::numbers::pi * fc);
    ButterworthLowPass lp;
    lp.setup(1, fc);
    ASSERT_EQ(lp.cascade.numStages(), 1);
    const BiquadStage& s = lp.cascade.stage(0);
    EXPECT_NEAR(s.getA1(), -(1 - f) / (1 + f), 1e-12);
    EXPECT_NEAR(s.getA2(), 0.0, 1e-12);
    EXPECT_NEAR(s.getB0(), f / (1 + f), 1e-12);
    EXPECT_NEAR(s.getB1(), f / (1 + f), 1e-12);
}

TEST(ButterworthTest, UnitGainAtDcAndHalfPowerAtCutoffUpToOrder16)
{
    for (int order : {2, 3, 5, 8, 16}) {
        ButterworthLowPass lp;
        lp.setup(order, 0.02);
        EXPECT_EQ(lp.cascade.numStages(), (order + 1) / 2);
        EXPECT_NEAR(std::abs(lp.cascade.response(0.0)), 1.0, 1e-9) << order;
        // Pre-warping puts the half-power point exactly on the cutoff.
        EXPECT_NEAR(std::abs(lp.cascade.response(0.02)), 1 / std::sqrt(2.0), 1e-6) << order;
        EXPECT_LT(std::abs(lp.cascade.response(0.2)), 0.01) << order;
    }
    ButterworthLowPass tooHigh;
    EXPECT_THROW(tooHigh.setup(17, 0.02), std::invalid_argument);
}

TEST(ButterworthTest, ProcessCarriesTheSectionStateUntilReset)
{
    // First order at fc = 0.25: f = tan(pi / 4) = 1, so a1 = -(1 - f)/(1 + f) = 0
    // and the numerator (1, 1) scaled by f/(1 + f) = 0.5: y[n] = 0.5 x[n] + 0.5 x[n-1].
    ButterworthLowPass lp;
    lp.setup(1, 0.25);
    const float impulse[] = {1.0f, 0.0f, 0.0f};
    const float want[] = {0.5f, 0.5f, 0.0f};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(lp.cascade.process(impulse[i]), want[i], 1e-6) << i;
    lp.cascade.process(1.0f);
    lp.cascade.reset();
    EXPECT_EQ(lp.cascade.process(0.0f), 0.0f);
}
