#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/SinusoidDrawing.h"
#include "dsp/RealFft.h"
#include "dsp/SinusoidLobeTable.h"

using namespace Halvoren;

TEST(SinusoidLobeTableTest, OneSmoothLobeThroughTheTellingEntries)
{
    const SinusoidLobeTable& lobe = sinusoidLobeTable();
    EXPECT_NEAR(lobe[0], 8.876e-6f, 1e-3f);
    EXPECT_NEAR(lobe[500], 0.98781f, 1e-3f);
    EXPECT_NEAR(lobe[975], 3e-6f, 1e-3f);
    EXPECT_LT(lobe[100], 1e-3f);
    EXPECT_EQ(lobe[483], 1.0f);
    for (int i = 0; i < 1001; ++i) {
        ASSERT_LE(lobe[i], 1.0f) << i;
        ASSERT_TRUE(i < 983 || lobe[i] == 0.0f) << i;
        ASSERT_TRUE(i < 300 || i >= 483 || lobe[i] <= lobe[i + 1]) << i;  // no ripple in the main lobe
    }
}

namespace {
constexpr int kN = 512;
constexpr float kRate = 44100;

// One sinusoid of 0 dB at `bins` bins with `phase`, drawn into an empty spectrum.
struct Drawn {
    Drawn(float bins, float phase)
    {
        const float mag = 0, freq = bins * kRate / kN;
        addSinusoidsToSpectrum(&mag, &freq, &phase, 1, re.data(), im.data(), kN, kRate);
    }
    std::vector<float> re = std::vector<float>(kN), im = std::vector<float>(kN);
};
}  // namespace

TEST(AddSinusoidsTest, DrawsAMirroredLobeThatInvertsToARealSine)
{
    const float phase = 0.3f;
    Drawn s(40.25f, phase);
    for (int k = 1; k < kN / 2; ++k) {
        ASSERT_EQ(s.re[kN - k], s.re[k]);
        ASSERT_EQ(s.im[kN - k], -s.im[k]);
    }
    // Nine bins around bin 40 carry the lobe.
    EXPECT_EQ(s.re[35], 0.0f);
    EXPECT_NE(s.re[36], 0.0f);
    EXPECT_NE(s.re[44], 0.0f);
    EXPECT_EQ(s.re[45], 0.0f);
    EXPECT_NEAR(std::hypot(s.re[40], s.im[40]), 0.97134781f * sinusoidLobeTable()[500 - 25], 1e-3f);
    EXPECT_NEAR(std::atan2(s.im[40], s.re[40]), phase, 2e-3f);

    RealFft fft(kN);
    std::vector<float> out(kN);
    fft.inverse(s.re.data(), s.im.data(), out.data());
    // A zero-phase windowed cosine: its peak sits at t = 0 with the drawn phase.
    EXPECT_NEAR(out[0] / out[1], std::cos(phase) / std::cos(2 * M_PI * 40.25 / kN + phase), 0.05);
}

TEST(AddSinusoidsTest, EdgesGetOnlyDoubledRealPartsAndNothingComesFromZeroOrNyquist)
{
    Drawn nearDc(1.2f, 1.0f), nearHalf(kN / 2 - 2.3f, 1.0f);
    EXPECT_EQ(nearDc.im[0], 0.0f);
    EXPECT_EQ(nearHalf.im[kN / 2], 0.0f);
    EXPECT_NE(nearHalf.re[kN / 2], 0.0f);
    // The DC bin of a sinusoid at 1.2 bins: twice the lobe's weight at that distance.
    const float w = sinusoidLobeTable()[500 + int(std::trunc(100 * (-1 + (1.0f - 1.2f))))];
    EXPECT_NEAR(nearDc.re[0], 2 * 0.97134781f * w * std::cos(1.0f), 2e-3f);

    for (float silent : {0.0f, kN / 2 - 1.0f, -100.0f * kN / kRate}) {
        Drawn s(silent, 0.0f);
        for (int k = 0; k < kN; ++k)
            ASSERT_TRUE(s.re[k] == 0.0f && s.im[k] == 0.0f) << silent << " bin " << k;
    }
}
