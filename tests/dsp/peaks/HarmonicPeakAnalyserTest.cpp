#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dsp/HarmonicPeakAnalyser.h"

using namespace Halvoren;

namespace {
// Harmonics of 100 Hz up to 1000 Hz, levels falling 2 dB each, phases 0.1 * k.
PeakList harmonicSeries()
{
    PeakList p;
    for (int k = 1; k <= 10; ++k)
        p.append(100.0f * k, -2.0f * k, 0.1f * k);
    return p;
}
}  // namespace

TEST(HarmonicPeakAnalyserTest, EnvelopeIsClosedAtZeroAndNyquistAndCleansTheCallersList)
{
    HarmonicPeakAnalyser an(44100);
    PeakList p;
    for (float f : {200.0f, 0.0f, 200.0f, 400.0f})
        p.append(f, f / 100, 0);
    an.setPeaks(p);
    EXPECT_EQ(p.freqs, (std::vector<float>{200, 400}));
    EXPECT_EQ(an.envelope().freqs, (std::vector<float>{0, 200, 400, 22050}));
    EXPECT_EQ(an.envelope().mags, (std::vector<float>{2, 2, 4, 4}));

    PeakList out;
    an.sampleHarmonics(100, out);
    ASSERT_EQ(out.size(), 220u);
    EXPECT_EQ(out.freqs.back(), 22000.0f);
    EXPECT_FLOAT_EQ(out.mags[2], 3.0f);  // 300 Hz, half-way from 200 to 400
    an.sampleHarmonics(23000, out);
    EXPECT_TRUE(out.empty());
}

TEST(HarmonicPeakAnalyserTest, WarpedSamplingStretchesLowAndFadesTowards18k)
{
    HarmonicPeakAnalyser an(44100);
    PeakList p;
    p.append(1000, 0, 0);
    p.append(21000, -100, 0);
    an.setPeaks(p);
    PeakList plain, warped;
    an.sampleHarmonics(500, plain);
    an.sampleHarmonicsWarped(500, 2.0f, warped);
    ASSERT_EQ(plain.size(), warped.size());
    // 9000 Hz (w = 0.5) is read at 9000 * 0.75 = 6750 Hz.
    const float at6750 = -100.0f * (6750 - 1000) / 20000;
    EXPECT_NEAR(warped.mags[17], at6750, 1e-3f);
    EXPECT_EQ(warped.freqs[17], 9000.0f);
    EXPECT_EQ(warped.mags[39], plain.mags[39]);  // 20000 Hz: no warp
    an.sampleHarmonicsWarped(500, 0.0f, warped);  // no division by a zero ratio
    EXPECT_EQ(warped.mags, plain.mags);
}

TEST(HarmonicPeakAnalyserTest, SplineSamplingsKeepThePeaksAndTheirPhases)
{
    HarmonicPeakAnalyser an(44100);
    PeakList p = harmonicSeries();
    an.setPeaksSpline(p);
    PeakList out;
    an.sampleHarmonicsSpline(1.0f, out);
    // The ten peaks in place with their levels and phases, then harmonics of 100 Hz with phase 0.
    ASSERT_EQ(out.size(), 220u);
    EXPECT_NEAR(out.mags[4], -10.0f, 1e-3f);
    EXPECT_FLOAT_EQ(out.phases[9], 1.0f);
    EXPECT_EQ(out.freqs[10], 1100.0f);
    EXPECT_EQ(out.phases[10], 0.0f);

    // Warped: stops after the first harmonic beyond the last peak, which keeps its phase.
    an.sampleHarmonicsSplineWarped(200, out);
    EXPECT_EQ(out.freqs, (std::vector<float>{200, 400, 600, 800, 1000, 1200}));
    EXPECT_EQ(out.phases, (std::vector<float>{0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.0f}));
    EXPECT_NEAR(out.mags[1], -8.0f, 1e-3f);
    an.sampleHarmonicsSplineWarped(150, out);  // 150 Hz: harmonic number 0.5 rounds down
    EXPECT_FLOAT_EQ(out.phases[0], 0.1f);
}

TEST(HarmonicPeakAnalyserTest, BadInputGivesNothingOrFiniteReadings)
{
    HarmonicPeakAnalyser an(1000);
    PeakList out;
    out.append(1, 1, 1);
    an.sampleHarmonics(100, out);  // no envelope yet
    EXPECT_TRUE(out.empty());

    PeakList p;
    p.append(100, -10, 0);
    p.append(700, -20, 0);  // above half the rate
    p.append(300, -30, 0);  // out of order
    an.setPeaksSpline(p);
    for (bool spline : {false, true}) {
        spline ? an.sampleHarmonicsSpline(1.0f, out) : an.sampleHarmonics(50, out);
        for (float m : out.mags)
            EXPECT_TRUE(std::isfinite(m)) << spline;
    }
    // Fundamentals that would never step past the envelope.
    for (float bad : {0.0f, -100.0f, std::numeric_limits<float>::quiet_NaN()}) {
        an.sampleHarmonics(bad, out);
        EXPECT_TRUE(out.empty());
        an.sampleHarmonicsSpline(bad, out);
        EXPECT_TRUE(out.empty());
        an.sampleHarmonicsSplineWarped(bad, out);
        EXPECT_TRUE(out.empty());
    }
}

TEST(HarmonicPeakAnalyserTest, FundamentalsBelowTenHertzSingNoHarmonicsAndTinyRatiosStopAtTheLimit)
{
    // Below 10 Hz a fundamental gives no harmonics, as 0 Hz does (not 2205
    // of them piled near 0 Hz); 10 Hz itself fits those below 22050 Hz at
    // 44100 Hz, 2204; no ratio makes more than 22050 / 10 = 2205, however
    // small.
    HarmonicPeakAnalyser an(44100);
    PeakList p = harmonicSeries();
    an.setPeaksSpline(p);
    PeakList out;
    for (float tiny : {9.99f, 1e-2f, 1e-30f, std::numeric_limits<float>::denorm_min()}) {
        an.sampleHarmonics(tiny, out);
        EXPECT_TRUE(out.empty()) << tiny;
        an.sampleHarmonicsWarped(tiny, 1.0f, out);
        EXPECT_TRUE(out.empty()) << tiny;
        an.sampleHarmonicsSplineWarped(tiny, out);
        EXPECT_TRUE(out.empty()) << tiny;
        if (tiny < 1.0f) {
            an.sampleHarmonicsSpline(tiny, out);
            EXPECT_EQ(out.size(), 2205u) << tiny;
        }
    }
    an.sampleHarmonics(10.0f, out);
    EXPECT_EQ(out.size(), 2204u);
    // The warped sampling counts alike, also where 22050 / f0 is whole and
    // that harmonic sits on 22050 Hz itself: 3150 Hz has 6, 3675 Hz 5.
    for (auto [f0, count] : {std::pair{10.0f, 2204u}, std::pair{20.0f, 1102u}, std::pair{3150.0f, 6u},
                             std::pair{3675.0f, 5u}, std::pair{22049.0f, 1u}, std::pair{22050.0f, 0u}}) {
        an.sampleHarmonicsWarped(f0, 1.0f, out);
        EXPECT_EQ(out.size(), count) << f0;
    }
    // Real fundamentals are not cut: 20 Hz gives 22040 / 20 + 1 = 1102.
    an.sampleHarmonics(20.0f, out);
    EXPECT_EQ(out.size(), 1102u);
}
