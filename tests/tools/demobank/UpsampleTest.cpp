#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Upsample.h"

namespace {

std::vector<std::int16_t> sine(double hz, double rate, double amplitude, std::size_t count)
{
    std::vector<std::int16_t> out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2.0 * std::numbers::pi * hz * i / rate)));
    return out;
}

// A sine at 22050 Hz comes back as the same sine at 44100 Hz: the passband
// keeps its level and the image at 22050 - f is gone (it would show as a
// beat against the ideal sine of up to its own amplitude).
TEST(Upsample, SinesInTheBandComeBackWithoutTheirImages)
{
    for (double hz : {200.0, 1000.0, 5000.0, 8000.0}) {
        const std::vector<std::int16_t> out = demobank::upsampleTwice(sine(hz, 22050.0, 10000.0, 4000));
        ASSERT_EQ(out.size(), 8000u) << hz;
        const std::vector<std::int16_t> ideal = sine(hz, 44100.0, 10000.0, 8000);
        int worst = 0;
        for (std::size_t i = 200; i < 7800; ++i)  // away from the edges, where the kernel sees zeros
            worst = std::max(worst, std::abs(out[i] - ideal[i]));
        // 0.5 % of the amplitude: 50.
        EXPECT_LE(worst, 50) << hz << " Hz";
    }
}

TEST(Upsample, FullScaleSaturatesInsteadOfWrapping)
{
    std::vector<std::int16_t> square(400);
    for (std::size_t i = 0; i < square.size(); ++i)
        square[i] = (i / 20) % 2 ? -32768 : 32767;
    for (std::int16_t v : demobank::upsampleTwice(square))
        ASSERT_TRUE(v >= -32768 && v <= 32767);  // the overshoot clips; a wrap would flip the sign
    const std::vector<std::int16_t> out = demobank::upsampleTwice(square);
    EXPECT_GT(out[2 * 10], 30000);   // inside the first positive half
    EXPECT_LT(out[2 * 30], -30000);  // inside the first negative half
}

TEST(Upsample, EmptyStaysEmpty)
{
    EXPECT_TRUE(demobank::upsampleTwice({}).empty());
}

}  // namespace
