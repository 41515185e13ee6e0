#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/SinusoidDrawing.h"
#include "dsp/FastMath.h"
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

TEST(AddSinusoidsTest, UsesItsOwnShortSine)
{
    // A 0 dB sinusoid exactly on bin 40 (rem = 0, weight lobe[500]) with
    // phase 0.5: the imaginary part is amp * w * S(0.5). S folds 0.5 to
    // pi - 0.5 = 2.6415927, whose parabola is y = 0.53529859, and
    // S = y * (0.7763302 + 0.2230851 * y) = 0.479492277 (the frames' sine,
    // with 0.77633023, gives 0.479492307).
    const Drawn s(40.0f, 0.5f);
    const float amp = fasterPow2(0.0f), w = sinusoidLobeTable()[500];
    EXPECT_EQ(s.im[40], amp * w * 0.479492277f);
}

TEST(AddSinusoidsTest, FramesBelowEighteenPointsGetNothing)
{
    // At N = 8 a sinusoid at 4.9 bins would reach bin 5 + 4 = 9, past the
    // frame; at 16 it is both near 0 and near N/2. Nothing is drawn, and
    // nothing is written beyond the N values.
    for (int n : {2, 8, 16}) {
        std::vector<float> re(n + 16, 7.0f), im(n + 16, 7.0f);
        const float mag = 0, freq = 4.9f * kRate / n, phase = 0.2f;
        addSinusoidsToSpectrum(&mag, &freq, &phase, 1, re.data(), im.data(), n, kRate);
        for (int k = 0; k < n + 16; ++k)
            ASSERT_TRUE(re[k] == 7.0f && im[k] == 7.0f) << n << " bin " << k;
    }
    std::vector<float> re(18), im(18);
    const float mag = 0, freq = 4.9f * kRate / 18, phase = 0.2f;
    addSinusoidsToSpectrum(&mag, &freq, &phase, 1, re.data(), im.data(), 18, kRate);
    EXPECT_NE(re[5], 0.0f);
}
