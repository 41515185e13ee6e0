#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "dsp/CumulativeSum.h"
#include "dsp/FastMath.h"
#include "dsp/GaussNoise.h"
#include "dsp/WrapPhase.h"
#include "platform/Rand.h"

using namespace Halvoren;

TEST(FastMathTest, PowAndLogAreTheBitApproximationsAndStayFinite)
{
    // A 0 dB bin has this amplitude; std::pow would give 1.
    EXPECT_EQ(fasterPow2(0.0f), 0.97134781f);
    EXPECT_EQ(fasterPow2(-200.0f), fasterPow2(-126.0f));
    EXPECT_EQ(fasterPow2(std::numeric_limits<float>::quiet_NaN()), fasterPow2(-126.0f));
    EXPECT_TRUE(std::isfinite(fasterPow2(std::numeric_limits<float>::infinity())));
    EXPECT_NEAR(fasterPow2(10.0f) / 1024.0f, 1.0f, 0.06f);
    EXPECT_NEAR(fasterPow(3.0f, 2.0f), 9.0f, 0.6f);
    // Relative tolerance: the stated reference value comes from longer constants.
    EXPECT_NEAR(fastLog2(10.0f), 3.3218644f, 3.3218644f * 1e-5f);
    EXPECT_NEAR(fastLog2(0.0f), -127.0f, 0.02f);  // finite, not -inf
}

TEST(FastMathTest, TheTwoSinesStayDistinct)
{
    const float halfPi = std::numbers::pi_v<float> / 2;
    EXPECT_NEAR(fastSin(halfPi), 0.99998641f, 1e-6f);
    EXPECT_NEAR(parabolicSin(halfPi), 0.99941534f, 1e-6f);
    for (float x : {-20.0f, -3.0f, -0.4f, 0.0f, 0.7f, 2.5f, 13.0f}) {
        EXPECT_NEAR(fastSinWrapped(x), fastSinWrapped(x + 2 * std::numbers::pi_v<float>), 1e-4f) << x;
        EXPECT_NEAR(fastSinWrapped(x), std::sin(x), 1e-3f) << x;
        EXPECT_NEAR(parabolicSinWrapped(x), std::sin(x), 1e-3f) << x;
        EXPECT_NEAR(drawingSinWrapped(x), std::sin(x), 1e-3f) << x;
    }
    // The frames' sine and the drawing sine differ only in 0.77633023 against
    // 0.7763302. At x = 0.5 the parabola is 0.63661975 - 0.10132118 = 0.53529859:
    // 0.53529859 * (0.77633023 + 0.11941720) = 0.479492307 and
    // 0.53529859 * (0.7763302 + 0.11941720) = 0.479492277.
    EXPECT_EQ(parabolicSin(0.5f), 0.479492307f);
    EXPECT_EQ(drawingSin(0.5f), 0.479492277f);
}

TEST(FastMathTest, ManyAtOnceGiveTheBitsOfOneAtATime)
{
    // Clamps, folds beyond 2^30 turns, signed zeros, subnormals, NaN and the
    // infinities, in every lane position.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> xs = {0.0f,     -0.0f,  1e-40f, -1e-40f,  0.5f,   -3.14159265f, 3.14159265f,
                                   7.0f,     -200.0f, 128.0f, 128.5f, -126.0f, -126.5f,     6.7e9f,
                                   -6.8e9f,  3e38f,   nan,    inf,     -inf,   12345.678f,  -0.001f};
    const auto bits = [](float v) { return std::bit_cast<std::uint32_t>(v); };
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const Float4 x{xs[i % xs.size()], xs[(i + 1) % xs.size()], xs[(i + 2) % xs.size()], xs[(i + 3) % xs.size()]};
        const Float4 pow2 = fasterPow2(x), frameSin = parabolicSinWrapped(x), drawSin = drawingSinWrapped(x);
        for (int lane = 0; lane < 4; ++lane) {
            ASSERT_EQ(bits(pow2[lane]), bits(fasterPow2(x[lane]))) << x[lane];
            ASSERT_EQ(bits(frameSin[lane]), bits(parabolicSinWrapped(x[lane]))) << x[lane];
            ASSERT_EQ(bits(drawSin[lane]), bits(drawingSinWrapped(x[lane]))) << x[lane];
        }
    }
    // Phases wrapped in bulk, beyond the quick path's 1e9 too, in runs that
    // are and are not whole fours.
    std::vector<float> phases;
    for (float x : xs)
        phases.push_back(x * 1.7f);
    for (std::size_t n : {phases.size(), std::size_t{4}, std::size_t{3}}) {
        std::vector<float> bulk(phases.begin(), phases.begin() + n);
        wrapPhases(bulk.data(), n);
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(bits(bulk[i]), bits(wrapPhase(phases[i]))) << phases[i];
    }
}

TEST(FastMathTest, RoundingWrappingAndSums)
{
    EXPECT_EQ(roundHalfAway(2.5f), 3.0f);
    EXPECT_EQ(roundHalfAway(-2.5f), -3.0f);
    EXPECT_EQ(roundHalfAway(-2.4f), -2.0f);
    EXPECT_NEAR(wrapPhase(7.0f), 7.0f - 2 * std::numbers::pi_v<float>, 1e-5f);
    EXPECT_NEAR(wrapPhase(-4.0f), -4.0f + 2 * std::numbers::pi_v<float>, 1e-5f);
    std::vector<float> out{9, 9, 9, 9, 9};
    cumulativeSum({1, 2, 3}, out);
    EXPECT_EQ(out, (std::vector<float>{1, 3, 6}));
}

TEST(GaussNoiseTest, AlwaysFiniteAndRoughlyNormal)
{
    HvRandGen gen;
    double sum = 0, sumSq = 0;
    const int n = 200000;  // the generator's full range, both extremes included, is drawn
    for (int i = 0; i < n; ++i) {
        const float v = gaussNoise(gen, 0.0f, 1.0f);
        ASSERT_TRUE(std::isfinite(v)) << "draw " << i;
        sum += v;
        sumSq += double(v) * v;
    }
    EXPECT_NEAR(sum / n, 0.0, 0.02);
    EXPECT_NEAR(sumSq / n, 1.0, 0.05);
}
