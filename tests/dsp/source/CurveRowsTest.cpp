#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "dsp/CurveRows.h"
#include "dsp/FrequencyGrid.h"
#include "dsp/LfGlottalModel.h"
#include "dsp/LinearLookup.h"

using namespace Halvoren;

namespace {
// Row `row` read linearly at f on the 400-point grid.
float rowAt(int row, float f)
{
    static const std::vector<float> grid = [] {
        std::vector<float> g;
        fillFrequencyGrid(400, 44100.0f, g);
        return g;
    }();
    FastVector<float> values;
    loadCurveRow400(values, row);
    LinearLookup lookup;
    lookup.reset(400, grid.data(), values.ptrBegin());
    return lookup.valueAt(f);
}

// Level in dB of DFT bin h of a 100-sample pulse.
double dftDb(const std::vector<float>& x, int h)
{
    std::complex<double> s = 0;
    for (int n = 0; n < 100; ++n)
        s += double(x[n]) * std::polar(1.0, -2.0 * M_PI * h * n / 100.0);
    return 20.0 * std::log10(std::abs(s));
}

struct RowsGuard {
    explicit RowsGuard(const std::vector<float>* rows) { setCurveRows(rows); }
    ~RowsGuard() { setCurveRows(nullptr); }
};
}  // namespace

TEST(FrequencyGridTest, FineDoubleAndQuadrupleSteps)
{
    // count 4, span 1: N = 16, step 1/16; i = 0, 1; then i = 2; then j = 4.
    std::vector<float> g = {-1.0f};  // appended to
    fillFrequencyGrid(4, 1.0f, g);
    EXPECT_EQ(g, (std::vector<float>{-1.0f, 0.0f, 0.0625f, 0.125f, 0.25f}));
    g.clear();
    fillFrequencyGrid(2, 1.0f, g);  // N = 8: one fine value, N/16 = 0
    EXPECT_EQ(g, std::vector<float>{0.0f});
    g.clear();
    fillFrequencyGrid(0, 1.0f, g);
    fillFrequencyGrid(-7, 1.0f, g);
    EXPECT_TRUE(g.empty());
    // count 400 at 44100: step 27.5625; 200 fine values, 100 from 5512.5 in
    // double steps, 100 from 11025 in quadruple steps up to 796 * 27.5625.
    fillFrequencyGrid(400, 44100.0f, g);
    ASSERT_EQ(g.size(), 400u);
    EXPECT_FLOAT_EQ(g[199], 5484.9375f);
    EXPECT_FLOAT_EQ(g[200], 5512.5f);
    EXPECT_FLOAT_EQ(g[201], 5567.625f);
    EXPECT_FLOAT_EQ(g[300], 11025.0f);
    EXPECT_FLOAT_EQ(g[399], 21939.75f);
}

TEST(CurveRowsTest, AlwaysFourHundredValuesFromAClampedRow)
{
    std::vector<float> rows(3 * 400);
    for (int r = 0; r < 3; ++r)
        for (int i = 0; i < 400; ++i)
            rows[r * 400 + i] = r * 1000.0f + i;
    rows.push_back(99.0f);  // a partial row is ignored
    RowsGuard guard(&rows);
    const struct {
        int before;
        int row;
        float first;
    } cases[] = {{0, 1, 1000}, {5, 2, 2000}, {900, 0, 0}, {400, -3, 0}, {1, 7, 2000}, {2, 2147483647, 2000}};
    for (const auto& c : cases) {
        FastVector<float> out;
        out.resize(c.before);
        loadCurveRow400(out, c.row);
        ASSERT_EQ(out.numSamples(), 400u) << c.before << " " << c.row;
        EXPECT_EQ(out[0], c.first) << c.row;
        EXPECT_EQ(out[399], c.first + 399) << c.row;
    }
    std::vector<float> empty;
    setCurveRows(&empty);
    FastVector<float> out;
    loadCurveRow400(out, 0);
    ASSERT_EQ(out.numSamples(), 400u);
    EXPECT_EQ(out[123], 0.0f);
}

TEST(CurveRowsTest, BuiltInRowsAreFiniteAndPeakAtZero)
{
    const std::vector<float>& rows = builtInCurveRows();
    ASSERT_EQ(rows.size(), 270u * 400u);
    for (int r = 0; r < 270; ++r) {
        float peak = -1e30f;
        for (int i = 0; i < 400; ++i) {
            const float v = rows[r * 400 + i];
            ASSERT_TRUE(std::isfinite(v)) << r << " " << i;
            ASSERT_GE(v, -120.0f);
            peak = std::max(peak, v);
        }
        EXPECT_EQ(peak, 0.0f) << r;
    }
}

TEST(CurveRowsTest, RowsMatchThePulsesHarmonics)
{
    // With the 200 Hz reference period harmonic h of the pulse lies at
    // 200*h Hz; the pulse's own DFT bin h must rise or fall against bin 1 as
    // the row does, for every modal shape.
    for (int r = 49; r < 270; ++r) {
        LfGlottalModel m;
        m.setRd(static_cast<float>(r + 1) * 0.01f, kCurveReferencePeriod, 1.0f);
        std::vector<float> pulse;
        m.buildPulse(pulse);
        const double base = dftDb(pulse, 1);
        for (int h = 2; h <= 10; ++h) {
            const double fromPulse = dftDb(pulse, h) - base;
            const double fromRow = rowAt(r, 200.0f * h) - rowAt(r, 200.0f);
            ASSERT_NEAR(fromRow, fromPulse, 0.5) << "row " << r << " harmonic " << h;
        }
    }
}

TEST(CurveRowsTest, LaxerShapesFallFaster)
{
    // 4 kHz against 200 Hz: the laxest shape (Rd 2.7) about 35 dB below Rd 0.5.
    const float lax = rowAt(269, 4000.0f) - rowAt(269, 200.0f);
    const float tense = rowAt(49, 4000.0f) - rowAt(49, 200.0f);
    EXPECT_NEAR(lax - tense, -35.0f, 2.0f);
    EXPECT_LT(rowAt(269, 4000.0f) - rowAt(269, 200.0f), rowAt(149, 4000.0f) - rowAt(149, 200.0f));
}
