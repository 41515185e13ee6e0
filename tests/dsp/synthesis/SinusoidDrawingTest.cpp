#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/AddSinusoidsToSpectrum.h"
#include "dsp/RealFft.h"
#include "dsp/SinusoidLobeTable.h"

using namespace Halvoren;

TEST(SinusoidLobeTableTest, OneSmoothLobeThroughTheTellingEntries)
{
    const SinusoidLobeTable& lobe = sinusoidLobeTable();
    EXPECT_NEAR(lobe[0], 8.876e-6f, 1e-3f);
    EXPECT_NEAR(lobe[500], 0.98781f, 1e-3f);
    EXPECT_NEAR(lobe[975], 3e-6f, 1e-3f);
    EXPECT_EQ(lobe[483], 1.0f);
    for (int i = 0; i < 1001; ++i)
        ASSERT_LE(lobe[i], 1.0f) << i;
    for (int i = 983; i <= 1000; ++i)
        EXPECT_EQ(lobe[i], 0.0f) << i;
    for (int i = 300; i < 483; ++i)
        ASSERT_LE(lobe[i], lobe[i + 1]) << i;  // rises to the peak, no ripple in the main lobe
    EXPECT_LT(lobe[100], 1e-3f);
}

namespace {
struct Spectrum {
    explicit Spectrum(int n) : re(n, 0.0f), im(n, 0.0f) {}
    std::vector<float> re, im;
};
}  // namespace

TEST(AddSinusoidsTest, DrawsAMirroredLobeThatInvertsToARealSine)
{
    const int n = 512;
    const float rate = 44100, freq = 40.25f * rate / n;
    Spectrum s(n);
    const float mag = 0, phase = 0.3f;
    addSinusoidsToSpectrum(&mag, &freq, &phase, 1, s.re.data(), s.im.data(), n, rate);
    for (int k = 1; k < n / 2; ++k) {
        ASSERT_EQ(s.re[n - k], s.re[k]);
        ASSERT_EQ(s.im[n - k], -s.im[k]);
    }
    // Nine bins around bin 40 carry the lobe.
    EXPECT_EQ(s.re[35], 0.0f);
    EXPECT_NE(s.re[36], 0.0f);
    EXPECT_NE(s.re[44], 0.0f);
    EXPECT_EQ(s.re[45], 0.0f);
    const float peak = std::hypot(s.re[40], s.im[40]);
    EXPECT_NEAR(peak, 0.97134781f * sinusoidLobeTable()[500 - 25], 1e-3f);  // rem = -0.25
    EXPECT_NEAR(std::atan2(s.im[40], s.re[40]), phase, 2e-3f);

    RealFft fft(n);
    std::vector<float> out(n);
    fft.inverse(s.re.data(), s.im.data(), out.data());
    // A zero-phase windowed cosine: its peak sits at t = 0 with the drawn phase.
    EXPECT_NEAR(out[0] / out[1], std::cos(phase) / std::cos(2 * M_PI * 40.25 / n + phase), 0.05);
}

TEST(AddSinusoidsTest, NothingFromZeroHzOrNearNyquist)
{
    const int n = 512;
    const float rate = 44100;
    Spectrum s(n);
    const float mags[] = {0, 0, 0};
    const float freqs[] = {0.0f, (n / 2 - 1) * rate / n, -100.0f};
    const float phases[] = {0, 0, 0};
    addSinusoidsToSpectrum(mags, freqs, phases, 3, s.re.data(), s.im.data(), n, rate);
    for (int k = 0; k < n; ++k)
        ASSERT_TRUE(s.re[k] == 0.0f && s.im[k] == 0.0f) << k;
}

TEST(AddSinusoidsTest, DcAndHalfBinsGetOnlyDoubledRealParts)
{
    const int n = 512;
    const float rate = 44100;
    const float mag = 0, phase = 1.0f;
    for (float loc : {1.2f, float(n / 2) - 2.3f}) {
        Spectrum s(n);
        const float freq = loc * rate / n;
        addSinusoidsToSpectrum(&mag, &freq, &phase, 1, s.re.data(), s.im.data(), n, rate);
        const int edge = loc < 10 ? 0 : n / 2;
        EXPECT_EQ(s.im[edge], 0.0f) << loc;
        EXPECT_NE(s.re[edge], 0.0f) << loc;
    }
    // The DC bin of a sinusoid at 1.2 bins: twice the lobe's weight at that distance.
    Spectrum s(n);
    const float freq = 1.2f * rate / n;
    addSinusoidsToSpectrum(&mag, &freq, &phase, 1, s.re.data(), s.im.data(), n, rate);
    const float rem = 1.0f - 1.2f;
    const float w = sinusoidLobeTable()[500 + int(std::trunc(100 * (-1 + rem)))];
    EXPECT_NEAR(s.re[0], 2 * 0.97134781f * w * std::cos(1.0f), 2e-3f);
}
