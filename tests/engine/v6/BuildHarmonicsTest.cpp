#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dsp/CurveRows.h"
#include "engine/v6/BuildHarmonics.h"

namespace {

using HalvorenEngineV6::buildHarmonicsFromModel;

// Tilt rows of the test for as long as it runs: row 0 flat at 0 dB, row 1
// falling 1 dB per kHz on the tilt grid.
class TestRows {
public:
    TestRows()
    {
        const std::vector<float>& grid = HalvorenEngineV6::tiltRowGrid();
        rows_.assign(2 * Halvoren::kCurveRowLength, 0.0f);
        for (int i = 0; i < Halvoren::kCurveRowLength; ++i)
            rows_[Halvoren::kCurveRowLength + i] = -grid[i] / 1000.0f;
        Halvoren::setCurveRows(&rows_);
    }
    ~TestRows() { Halvoren::setCurveRows(nullptr); }

private:
    std::vector<float> rows_;
};

// Stored harmonic k at -10 k dB, k = 1 .. count.
Halvoren::FrameMags storedFalling(int count)
{
    Halvoren::FrameMags m;
    for (int k = 1; k <= count; ++k)
        m.putSamples(std::vector<float>{-10.0f * static_cast<float>(k)}.data(), 1);
    return m;
}

TEST(BuildHarmonicsV6, StoredHarmonicsKeepTheirNumbersUpToTwoSemitonesAbove)
{
    TestRows rows;
    const Halvoren::FrameMags stored = storedFalling(10);
    Halvoren::PeakList out;
    // Threshold 200 * 2^(1/6) = 224.49 Hz. Below it harmonic k is stored
    // k; above it the stored values sit at 224.49 k Hz, so harmonic k of
    // 250 Hz reads -10 * 250 k / 224.49 = -11.14 k.
    struct Case {
        float f0;
        float gainDb;
        std::vector<float> first3;
    } cases[] = {
        {200.0f, 0.0f, {-10.0f, -20.0f, -30.0f}},
        {150.0f, 0.0f, {-10.0f, -20.0f, -30.0f}},
        {200.0f, 6.0f, {-4.0f, -14.0f, -24.0f}},
        {250.0f, 0.0f, {-11.136f, -22.272f, -33.408f}},
        {250.0f, -6.0f, {-17.136f, -28.272f, -39.408f}},
    };
    for (const Case& c : cases) {
        buildHarmonicsFromModel(stored, c.f0, 0, c.gainDb, 200.0f, 44100.0f, out);
        ASSERT_EQ(out.size(), 10u) << c.f0;
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(out.mags[k], c.first3[k], 0.01) << c.f0 << " harmonic " << k + 1;
            EXPECT_FLOAT_EQ(out.freqs[k], static_cast<float>(k + 1) * c.f0) << c.f0;
            EXPECT_EQ(out.phases[k], 0.0f) << c.f0;
        }
    }
}

TEST(BuildHarmonicsV6, BothRulesAgreeAtTheThreshold)
{
    TestRows rows;
    const Halvoren::FrameMags stored = storedFalling(10);
    const float threshold = 200.0f * std::pow(2.0f, 1.0f / 6.0f);
    Halvoren::PeakList at, above;
    buildHarmonicsFromModel(stored, threshold, 0, 0.0f, 200.0f, 44100.0f, at);
    buildHarmonicsFromModel(stored, threshold * 1.000001f, 0, 0.0f, 200.0f, 44100.0f, above);
    ASSERT_EQ(at.size(), 10u);
    ASSERT_EQ(above.size(), 10u);
    for (std::size_t k = 0; k < 10; ++k) {
        EXPECT_NEAR(at.mags[k], -10.0f * static_cast<float>(k + 1), 1e-3) << k + 1;
        EXPECT_NEAR(above.mags[k], at.mags[k], 1e-3) << k + 1;
    }
}

TEST(BuildHarmonicsV6, CountIsHalfTheRateOverF0AtMostTheStoredCount)
{
    TestRows rows;
    Halvoren::PeakList out;
    struct Case {
        int stored;
        float f0;
        float ref;
        std::size_t n;
    } cases[] = {
        {10, 200.0f, 200.0f, 10},     // 110 fit, 10 stored
        {200, 200.0f, 200.0f, 110},   // trunc(22050 / 200)
        {10, 3000.0f, 200.0f, 7},     // trunc(7.35)
        {10, 22050.0f, 200.0f, 1},
        {10, 22051.0f, 200.0f, 0},
        {200, 10.0f, 200.0f, 200},    // the lowest sung fundamental: 2205 fit
        {10, 9.99f, 200.0f, 0},       // below 10 Hz no harmonics, as at 0 Hz
        {10, 1e-30f, 200.0f, 0},
        {300, 100.0f, 0.0f, 220},     // ref 0: harmonic numbers kept
    };
    for (const Case& c : cases) {
        buildHarmonicsFromModel(storedFalling(c.stored), c.f0, 0, 0.0f, c.ref, 44100.0f, out);
        EXPECT_EQ(out.size(), c.n) << c.stored << " stored at " << c.f0;
    }
}

TEST(BuildHarmonicsV6, NothingForSilenceOrAPitchThatIsNoPitch)
{
    TestRows rows;
    Halvoren::PeakList out;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float f0 : {0.0f, -220.0f, nan}) {
        out.append(1.0f, 1.0f, 1.0f);
        buildHarmonicsFromModel(storedFalling(10), f0, 0, 0.0f, 200.0f, 44100.0f, out);
        EXPECT_TRUE(out.empty()) << f0;
    }
    out.append(1.0f, 1.0f, 1.0f);
    buildHarmonicsFromModel(Halvoren::FrameMags(), 220.0f, 0, 0.0f, 200.0f, 44100.0f, out);
    EXPECT_TRUE(out.empty());
}

TEST(BuildHarmonicsV6, ReferenceNotAboveZeroKeepsHarmonicNumbers)
{
    TestRows rows;
    Halvoren::PeakList out;
    for (float ref : {0.0f, -100.0f}) {
        buildHarmonicsFromModel(storedFalling(10), 1000.0f, 0, 0.0f, ref, 44100.0f, out);
        ASSERT_EQ(out.size(), 10u) << ref;
        EXPECT_EQ(out.mags[0], -10.0f) << ref;
        EXPECT_EQ(out.mags[9], -100.0f) << ref;
    }
}

TEST(BuildHarmonicsV6, TiltRowIsReadOnItsOwnGrid)
{
    TestRows rows;
    const std::vector<float>& grid = HalvorenEngineV6::tiltRowGrid();
    // fillFrequencyGrid(400, 44100): step 44100 / 1600 = 27.5625 Hz; the
    // last point is 796 steps, 21939.75 Hz.
    ASSERT_EQ(grid.size(), 400u);
    EXPECT_EQ(grid.back(), 21939.75f);
    EXPECT_EQ(grid[1], 27.5625f);

    Halvoren::PeakList out;
    struct Case {
        float f0;
        std::int32_t row;
        float ref;
        std::vector<float> expected;  // -10 k - f / 1000 on the sloped row
    } cases[] = {
        {200.0f, 1, 200.0f, {-10.2f, -20.4f, -30.6f}},
        {200.0f, 0, 200.0f, {-10.0f, -20.0f, -30.0f}},
        {200.0f, 7, 200.0f, {-10.2f, -20.4f, -30.6f}},  // past the table's rows: its last
        {21950.0f, 1, 21950.0f, {-10.0f - 21.93975f}},  // beyond the grid: its last point
    };
    for (const Case& c : cases) {
        buildHarmonicsFromModel(storedFalling(3), c.f0, c.row, 0.0f, c.ref, 44100.0f, out);
        ASSERT_EQ(out.size(), c.expected.size()) << c.f0 << " row " << c.row;
        for (std::size_t k = 0; k < c.expected.size(); ++k)
            EXPECT_NEAR(out.mags[k], c.expected[k], 1e-3) << c.f0 << " row " << c.row << " harmonic " << k + 1;
    }
}

}  // namespace
