#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "voicebank/package/BellCurveFilter.h"

namespace {

TEST(BellCurveFilter, FollowsTheBellAroundItsCentre)
{
    // Amplitude 6, width 500, centre 3000: (w + w) * w = 500000.
    const std::unique_ptr<Halvoren::DBFilter> bell = std::make_unique<Halvoren::BellCurveFilter>(6.0f, 500.0f, 3000.0f);
    struct Case {
        float x;
        float expected;
    };
    const Case cases[] = {
        {3000.0f, 6.0f},
        {2500.0f, 3.639184f},   // 250000 / 500000 = 0.5; 6 * exp(-0.5) = 6 * 0.6065307
        {3500.0f, 3.639184f},
        {4000.0f, 0.8120117f},  // 1e6 / 500000 = 2; 6 * exp(-2) = 6 * 0.1353353
    };
    for (const Case& c : cases)
        EXPECT_NEAR(bell->gain(c.x), c.expected, std::abs(c.expected) * 1.2e-7f) << c.x;  // 1 ulp
}

TEST(BellCurveFilter, NegativeAmplitudeDipsAndZeroWidthIsASpike)
{
    const Halvoren::BellCurveFilter dip(-6.0f, 500.0f, 3000.0f);
    EXPECT_EQ(dip.gain(3000.0f), -6.0f);
    EXPECT_NEAR(dip.gain(2500.0f), -3.639184f, 1e-6f);
    EXPECT_LT(dip.gain(3100.0f), dip.gain(3500.0f));

    const Halvoren::BellCurveFilter spike(4.0f, 0.0f, 1000.0f);
    EXPECT_EQ(spike.gain(1000.0f), 4.0f);
    EXPECT_EQ(spike.gain(1000.5f), 0.0f);
    EXPECT_EQ(spike.gain(-1000.0f), 0.0f);
}

}  // namespace
