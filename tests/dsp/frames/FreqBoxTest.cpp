#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

#include "dsp/FastMath.h"
#include "dsp/FreqBox.h"
#include "dsp/SynthesizeSinusoids.h"
#include "dsp/WarpedBandLayout.h"
#include "platform/Rand.h"

using namespace Halvoren;

namespace {
// Samples 1, 2, ..., n.
FIFOSampleBufferTemplate<short> ramp(short n)
{
    FIFOSampleBufferTemplate<short> pcm(4096);
    for (short i = 1; i <= n; ++i)
        pcm.putSamples(&i, 1);
    return pcm;
}

AnalysisWindow ones(int length) { return AnalysisWindow{length, std::vector<float>(length, 1.0f)}; }

float dbToAmp(float dB) { return fasterPow2(dB * 0.05f * 3.3073044f); }
}  // namespace

TEST(FreqBoxTest, ZeroPhaseLoadingOfAnOddWindow)
{
    FreqMagAndPhaseBox box(4096);
    ASSERT_TRUE(box.loadFrame(ramp(3000), 100, ones(1201), 32767.0f));
    // 600 samples at the top of the frame, 601 at the bottom, centre on re[0].
    const std::pair<int, float> expected[] = {
        {4096 - 601, 0}, {4096 - 600, 101}, {4095, 700}, {0, 701}, {600, 1301}, {601, 0}};
    for (auto [i, value] : expected)
        EXPECT_FLOAT_EQ(box.re[i], value) << i;
}

TEST(FreqBoxTest, OutsideTheBufferIsSilenceAndLongWindowsAreRefused)
{
    FreqMagAndPhaseBox box(512);
    const auto pcm = ramp(100);
    ASSERT_TRUE(box.loadFrame(pcm, -3, ones(11), 32767.0f));
    EXPECT_EQ(box.re[512 - 5], 0.0f);        // sample -3
    EXPECT_FLOAT_EQ(box.re[512 - 2], 1.0f);  // sample 0

    // Running off the buffer's end within the bottom half (sample 100 is
    // the first beyond) and within the top half.
    ASSERT_TRUE(box.loadFrame(pcm, 90, ones(11), 32767.0f));
    EXPECT_FLOAT_EQ(box.re[512 - 5], 91.0f);  // sample 90
    EXPECT_FLOAT_EQ(box.re[4], 100.0f);       // sample 99
    EXPECT_EQ(box.re[5], 0.0f);               // sample 100
    ASSERT_TRUE(box.loadFrame(pcm, 97, ones(11), 32767.0f));
    EXPECT_FLOAT_EQ(box.re[512 - 3], 100.0f);  // sample 99
    EXPECT_EQ(box.re[512 - 2], 0.0f);          // sample 100
    EXPECT_EQ(box.re[0], 0.0f);                // sample 102

    ASSERT_TRUE(box.loadFrame(pcm, 5000, ones(11), 1.0f));
    box.fft.forward(box.re.data(), box.re.data(), box.im.data());
    box.computeMagsDb();
    for (int k = 0; k <= 256; ++k)
        ASSERT_EQ(box.mags[k], -120.0f) << k;

    box.re[3] = 5;
    EXPECT_FALSE(box.loadFrame(pcm, 0, ones(513), 1.0f));
    EXPECT_EQ(box.re[3], 0.0f);
}

TEST(FreqBoxTest, FramesTooSmallForADrawnSinusoidAreRefused)
{
    // 18 is the smallest even size whose near-0 bins (below 5) and near-N/2
    // bins (from 9 - 4 = 5) do not overlap.
    for (int n : {0, 2, 8, 16}) {
        EXPECT_THROW(FreqBox{n}, std::invalid_argument) << n;
        EXPECT_THROW(FreqMagAndPhaseBox{n}, std::invalid_argument) << n;
    }
    EXPECT_THROW(FreqBox{19}, std::invalid_argument);  // odd
    EXPECT_EQ(FreqMagAndPhaseBox{18}.mags.size(), 9u + 16u);
}

TEST(FreqBoxTest, ZeroBinRepeatsOrFloors)
{
    FreqMagAndPhaseBox box(18);
    for (int k = 0; k <= 8; ++k)
        box.re[k] = 10.0f;
    box.re[5] = 0;
    box.re[4] = 100.0f;
    box.computeMagsDb();
    EXPECT_FLOAT_EQ(box.mags[5], 40.0f);  // repeats bin 4
    EXPECT_FLOAT_EQ(box.mags[6], 20.0f);
    box.computeMagsDbAndPhases();
    EXPECT_EQ(box.mags[5], -120.0f);
}

TEST(FreqBoxTest, AddSinusoidsBuildsAHermitianSpectrum)
{
    FreqMagAndPhaseBox box(512);
    for (int k = 0; k <= 256; ++k) {
        box.mags[k] = (k % 5 == 0) ? 0.0f : -20.0f - k * 0.1f;
        box.phases[k] = 0.01f * k - 1.0f;
    }
    box.addSinusoids();
    for (int k = 1; k < 256; ++k) {
        ASSERT_EQ(box.re[512 - k], box.re[k]);
        ASSERT_EQ(box.im[512 - k], -box.im[k]);
    }
    EXPECT_NEAR(std::hypot(box.re[10], box.im[10]), 0.97134781f, 2e-3f);  // 0 dB
    EXPECT_NEAR(std::atan2(box.im[10], box.re[10]), -0.9f, 2e-3f);
    EXPECT_NE(box.im[256], 0.0f);  // bin n/2 keeps its own phase
}

TEST(FreqBoxTest, WarpedMagnitudesStayInsideTheHeldBins)
{
    FreqMagAndPhaseBox box(512);
    for (int k = 0; k < 256 + 16; ++k)
        box.mags[k] = k <= 256 ? -0.1f * k : 1000.0f;  // loud beyond the held bins
    for (float ratio : {0.2f, 0.05f, 0.0f, -1.0f}) {
        box.addSinusoidsRandomPhaseWarped(ratio, 44100);
        for (int k = 0; k <= 256; ++k)
            ASSERT_LT(std::hypot(box.re[k], box.im[k]), 1.0f) << "ratio " << ratio << " bin " << k;
    }
    // Ratio 2 at bin 20 reads p = 20 * (1/2 + 19 * (1/2) / K), K the 18000 Hz bin,
    // also where K lies beyond the held bins.
    for (auto [rate, K] : {std::pair{44100.0f, 208.0f}, std::pair{22050.0f, 417.0f}}) {
        box.addSinusoidsRandomPhaseWarped(2.0f, rate);
        const float p = 20 * (0.5f + 19 * (0.5f / K));
        EXPECT_NEAR(std::hypot(box.re[20], box.im[20]), dbToAmp(-0.1f * p), 1e-3f) << rate;
    }
}

TEST(FreqBoxTest, InterpolatesMagnitudesBetweenSizes)
{
    FreqMagAndPhaseBox small(512), big(4096);
    for (int k = 0; k <= 256; ++k)
        small.mags[k] = float(k * 8);
    big.setMagsInterpolated(small);
    for (int k = 0; k <= 2048; ++k)
        ASSERT_FLOAT_EQ(big.mags[k], float(k)) << k;
}

TEST(SynthesizeSinusoidsTest, RecoloursTowardsTheWarpedCurve)
{
    FreqMagAndPhaseBox source(512), dest(512);
    RecolourWork work;
    std::fill(source.re.begin(), source.re.end(), 1.0f);
    const float rate = 44100;
    // Levels rise to 10 dB at 1 kHz and 200 dB at 20 kHz; the reference is flat.
    const float freqs[] = {0, 1000, 20000};
    const float levels[] = {0, 10, 200};
    const float refs[] = {0, 0, 0};
    const int k = 58;
    const float expected = dbToAmp(10 + (k * rate / 512 - 1000) * 190 / 19000);
    synthesizeSinusoidsToBuffer(freqs, levels, refs, 3, 1.0f, rate, source, dest, work);
    EXPECT_NEAR(std::hypot(dest.re[k], dest.im[k]) / expected, 1.0f, 2e-3f);
    EXPECT_EQ(dest.im[512 - k], -dest.im[k]);
    // Ratio 2 reads the curve lower down: quieter at the same bin.
    synthesizeSinusoidsToBuffer(freqs, levels, refs, 3, 2.0f, rate, source, dest, work);
    EXPECT_LT(std::hypot(dest.re[k], dest.im[k]), expected * 0.9f);
    // No point below 18000 Hz to stretch from: no division by zero.
    const float highFreqs[] = {0, 18000, 20000};
    synthesizeSinusoidsToBuffer(highFreqs, levels, refs, 3, 2.0f, rate, source, dest, work);
    for (int b = 0; b <= 256; ++b)
        ASSERT_TRUE(std::isfinite(dest.re[b]) && std::isfinite(dest.im[b])) << b;
}

TEST(SynthesizeSinusoidsTest, FlatSourceMeasuresAsItsTargetBandsInEveryBand)
{
    // A source of magnitude 1 in every bin measures 0 dB in every band of the
    // layout (weights sum to 1), so the reference is all 0 and the recoloured
    // box, measured through the same layout, reads the target itself: one-bin
    // bands and the wide V-weighted bands alike, within 1 dB at warp 1.
    constexpr int kBands = 64;
    constexpr float kRate = 44100.0f;
    WarpedBandLayout layout(kRate, kBands);
    FreqBox source(512), dest(512);
    RecolourWork work;
    std::fill(source.re.begin(), source.re.end(), 1.0f);
    std::vector<float> targets(kBands), refs(kBands, 0.0f);
    for (int k = 0; k < kBands; ++k)
        targets[k] = -30.0f - 0.25f * static_cast<float>(k);  // -30 .. -45.75 dB
    synthesizeSinusoidsToBuffer(layout.centres.data(), targets.data(), refs.data(), kBands, 1.0f, kRate, source,
                                dest, work);
    std::vector<float> measured;
    layout.computeBandsDb(dest, measured);
    ASSERT_EQ(measured.size(), static_cast<std::size_t>(kBands));
    for (int k = 0; k < kBands; ++k)
        EXPECT_NEAR(measured[k], targets[k], 1.0f) << "band " << k;
}

TEST(SynthesizeSinusoidsTest, GainsFollowOneKnotIndexWalkingUpOnAnyCurve)
{
    // Every bin's gain as one knot index, never stepping back, reads it:
    // the first level at or below the first point, the last at or beyond
    // the last, linear between the point below the index and the index's
    // (past two points at one frequency, the second and the next). With a
    // source of magnitude 1 the bins are that gain times the sines of their
    // draws.
    struct Case {
        const char* name;
        std::vector<float> freqs, levels;
        float rate;
    };
    const Case cases[] = {
        {"rising", {0, 300, 900, 5000, 12000}, {-3, 4, -10, 2, -30}, 44100},
        {"two points at one frequency", {100, 2000, 2000, 9000}, {0, -6, 6, -12}, 44100},
        {"out of order", {500, 8000, 3000, 15000, 4000}, {1, -2, 3, -4, 5}, 44100},
        {"one point", {1000}, {-5}, 44100},
        {"every bin between two points", {-50, 30000}, {-1, 9}, 44100},
        {"falling bins", {-30000, -5000, 0, 5000}, {2, -4, 6, -8}, -44100},
        {"no rate", {0, 1000}, {1, 2}, std::numeric_limits<float>::quiet_NaN()},
    };
    constexpr int kN = 512;
    for (const Case& c : cases) {
        const int count = static_cast<int>(c.freqs.size());
        const std::vector<float> refs(c.freqs.size(), 0.0f);
        std::vector<float> gains(kN / 2 + 1);
        int j = 1;
        for (int k = 0; k <= kN / 2; ++k) {
            const float f = static_cast<float>(k) * c.rate / static_cast<float>(kN);
            float diff;
            if (k == 0 || f <= c.freqs[0] || std::isnan(f)) {
                diff = c.levels[0];
            } else if (f >= c.freqs[count - 1]) {
                diff = c.levels[count - 1];
            } else {
                while (j < count - 1 && !(c.freqs[j] > f))
                    ++j;
                const float width = c.freqs[j] - c.freqs[j - 1];
                const float t = width > 0.0f ? (c.freqs[j] - f) / width : 0.0f;
                diff = c.levels[j] * (1.0f - t) + c.levels[j - 1] * t;
            }
            gains[k] = fasterPow2(diff * 0.05f * kCoarseLog2Of10);
        }
        std::vector<float> phases(kN / 2 + 1);
        std::vector<int> draws(kN / 2 + 1);
        hvSrand(5);
        randomBinPhases(phases.data(), kN / 2 + 1, draws.data());

        FreqBox source(kN), dest(kN);
        std::fill(source.re.begin(), source.re.end(), 1.0f);
        RecolourWork work;
        hvSrand(5);
        synthesizeSinusoidsToBuffer(c.freqs.data(), c.levels.data(), refs.data(), count, 1.0f, c.rate, source, dest,
                                    work);
        for (int k = 0; k <= kN / 2; ++k) {
            ASSERT_EQ(dest.re[k], gains[k] * parabolicSinWrapped(phases[k] + kHalfPi)) << c.name << " bin " << k;
            ASSERT_EQ(dest.im[k], gains[k] * parabolicSinWrapped(phases[k])) << c.name << " bin " << k;
        }
    }
}
