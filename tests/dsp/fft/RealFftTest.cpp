#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "dsp/RealFft.h"

using Halvoren::RealFft;

TEST(RealFftTest, ForwardIsUnnormalisedAndInverseReturnsTheFrameFromBinsUpToHalf)
{
    for (int n : {512, 4096}) {
        RealFft fft(n);
        std::vector<float> x(n), re(n), im(n), back(n);
        // DC 0.25, a cosine in bin 10, a half-size sine in bin 37.
        const double step = 2 * std::numbers::pi / n;
        for (int i = 0; i < n; ++i)
            x[i] = float(0.25 + std::cos(step * 10 * i) + 0.5 * std::sin(step * 37 * i));
        fft.forward(x.data(), re.data(), im.data());
        EXPECT_NEAR(re[0], n / 4.0f, 1e-3f) << n;
        EXPECT_NEAR(re[10], n / 2.0f, 1e-3f) << n;
        EXPECT_NEAR(im[37], -n / 4.0f, 1e-3f) << n;
        EXPECT_NEAR(std::hypot(re[11], im[11]), 0.0f, 1e-3f) << n;
        for (int i = n / 2 + 1; i < n; ++i)
            re[i] = im[i] = std::numeric_limits<float>::quiet_NaN();
        fft.inverse(re.data(), im.data(), back.data());
        for (int i = 0; i < n; ++i)
            ASSERT_NEAR(back[i], x[i], 1e-5f) << "n=" << n << " i=" << i;
    }
}

TEST(RealFftTest, RefusesOddAndTinySizes)
{
    EXPECT_THROW(RealFft(511), std::invalid_argument);
    EXPECT_THROW(RealFft(0), std::invalid_argument);
}
