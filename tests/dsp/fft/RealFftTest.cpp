#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "dsp/RealFft.h"

using Halvoren::RealFft;

TEST(RealFftTest, ForwardThenInverseReturnsTheFrame)
{
    for (int n : {512, 4096}) {
        RealFft fft(n);
        std::vector<float> x(n), re(n), im(n), back(n);
        for (int i = 0; i < n; ++i)
            x[i] = std::sin(0.37f * i) + 0.25f * std::cos(1.9f * i) + (i % 7) * 0.01f;
        fft.forward(x.data(), re.data(), im.data());
        fft.inverse(re.data(), im.data(), back.data());
        for (int i = 0; i < n; ++i)
            ASSERT_NEAR(back[i], x[i], 1e-5f) << "n=" << n << " i=" << i;
    }
}

TEST(RealFftTest, CosineLandsInItsBinUnnormalised)
{
    const int n = 512, k = 10;
    RealFft fft(n);
    std::vector<float> x(n), re(n), im(n);
    for (int i = 0; i < n; ++i)
        x[i] = std::cos(2 * std::numbers::pi * k * i / n);
    fft.forward(x.data(), re.data(), im.data());
    EXPECT_NEAR(re[k], n / 2.0f, 1e-3f);
    EXPECT_NEAR(im[k], 0.0f, 1e-3f);
    EXPECT_NEAR(re[k + 1], 0.0f, 1e-3f);
    EXPECT_NEAR(re[0], 0.0f, 1e-3f);
}

TEST(RealFftTest, InverseNeverReadsBinsAboveHalf)
{
    const int n = 512;
    RealFft fft(n);
    std::vector<float> x(n), re(n), im(n), back(n);
    for (int i = 0; i < n; ++i)
        x[i] = std::sin(0.1f * i * i);
    fft.forward(x.data(), re.data(), im.data());
    for (int i = n / 2 + 1; i < n; ++i)
        re[i] = im[i] = std::numeric_limits<float>::quiet_NaN();
    fft.inverse(re.data(), im.data(), back.data());
    for (int i = 0; i < n; ++i)
        ASSERT_NEAR(back[i], x[i], 1e-5f);
}

TEST(RealFftTest, RefusesOddAndTinySizes)
{
    EXPECT_THROW(RealFft(511), std::invalid_argument);
    EXPECT_THROW(RealFft(0), std::invalid_argument);
    RealFft fft;
    fft.init(64);
    EXPECT_EQ(fft.size(), 64);
}
