#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "dsp/BandFilterTables.h"
#include "dsp/DirectFormFilter.h"
#include "dsp/TabulatedBandFilter.h"

using namespace Halvoren;

namespace {
struct RowCase {
    const char* name;
    const BandFilterTable* table;
    int row;
    std::array<double, 5> expected;
    double tolerance;  // absolute; 0 for 3 significant digits
};

std::vector<float> testSignal(int n)
{
    std::vector<float> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        x[i] = std::sin(0.37f * i) + 0.5f * std::cos(2.1f * i) + (i % 7 == 0 ? 1.0f : 0.0f);
    return x;
}
}  // namespace

TEST(BandFilterTablesTest, GeneratedRowsEqualTheTelltaleDesigns)
{
    const BandFilterTables& t = bandFilterTables();
    // b rows are a factor times the binomial (1, 4, 6, 4, 1), with alternating
    // signs for the high-pass; the factors are checked to 3 digits.
    const std::vector<RowCase> cases = {
        {"low a 0", &t.lowA, 0, {1, -3.92088, 5.76954, -3.77618, 0.92753}, 1e-5},
        {"low a 47", &t.lowA, 47, {1, 3.64913, 5.01647, 3.07916, 0.71237}, 1e-5},
        {"high a 0", &t.highA, 0, {1, -3.82696, 5.49845, -3.51521, 0.84376}, 1e-5},
        {"high a 47", &t.highA, 47, {1, 3.83423, 5.53076, 3.55678, 0.86033}, 1e-5},
        {"low b 0", &t.lowB, 0, {3.36e-7, 4 * 3.36e-7, 6 * 3.36e-7, 4 * 3.36e-7, 3.36e-7}, 0},
        {"low b 47", &t.lowB, 47, {0.794022, 4 * 0.794022, 6 * 0.794022, 4 * 0.794022, 0.794022}, 0},
        {"high b 0", &t.highB, 0, {0.866435, -4 * 0.866435, 6 * 0.866435, -4 * 0.866435, 0.866435}, 0},
        {"high b 47", &t.highB, 47, {5.18e-6, -4 * 5.18e-6, 6 * 5.18e-6, -4 * 5.18e-6, 5.18e-6}, 0},
        // Row 9 (edge 0.2 of Nyquist) against a double-precision design.
        {"low a 9", &t.lowA, 9, {1, -2.91410, 3.51793, -2.03474, 0.47291}, 1e-5},
        {"low b 9", &t.lowB, 9, {0.00247773, 4 * 0.00247773, 6 * 0.00247773, 4 * 0.00247773, 0.00247773}, 1e-5},
        {"high a 9", &t.highA, 9, {1, -2.17386, 2.09225, -0.93832, 0.20851}, 1e-5},
        {"high b 9", &t.highB, 9, {0.378388, -4 * 0.378388, 6 * 0.378388, -4 * 0.378388, 0.378388}, 1e-5},
    };
    for (const RowCase& c : cases)
        for (int i = 0; i < 5; ++i) {
            const double tol = c.tolerance > 0 ? c.tolerance : 1e-3 * std::fabs(c.expected[i]);
            EXPECT_NEAR((*c.table)[c.row][i], c.expected[i], tol) << c.name << " tap " << i;
        }
}

TEST(DesignTabulatedTest, RowFromTwiceTheFractionInSinglePrecision)
{
    const BandFilterTables& t = bandFilterTables();
    // row = round(2w/0.02 - 1): 0.0149 -> 0.49 -> 0; 0.015 -> exactly 0.5
    // in float -> 1; 0.1 -> 9; 0.475 -> 46.5 -> 47; 5 -> 499 -> 47.
    const struct {
        float w;
        int row;
    } cases[] = {{0.0149f, 0}, {0.015f, 1}, {0.1f, 9}, {0.475f, 47}, {5.0f, 47}, {-0.3f, 0}, {NAN, 0}};
    for (const auto& c : cases) {
        for (bool high : {false, true}) {
            std::vector<float> a, b;
            ASSERT_EQ(designTabulated(c.w, high, a, b), 5);
            const BandFilterRow& ra = high ? t.highA[c.row] : t.lowA[c.row];
            const BandFilterRow& rb = high ? t.highB[c.row] : t.lowB[c.row];
            EXPECT_EQ(a, std::vector<float>(ra.begin(), ra.end())) << c.w << (high ? " high" : " low");
            EXPECT_EQ(b, std::vector<float>(rb.begin(), rb.end())) << c.w << (high ? " high" : " low");
        }
    }
}

TEST(DirectFormStepTest, EveryFixedFormEqualsTheGeneralForm)
{
    const float b[6] = {0.3f, -0.2f, 0.11f, 0.05f, -0.07f, 0.02f};
    const float a[6] = {1.0f, -0.5f, 0.25f, -0.1f, 0.05f, -0.02f};
    const std::vector<float> x = testSignal(64);
    for (int taps = 1; taps <= 7; ++taps) {
        std::vector<float> bb(b, b + std::min(taps, 6)), aa(a, a + std::min(taps, 6));
        bb.resize(taps, 0.01f);
        aa.resize(taps, 0.01f);
        std::vector<float> xh1(taps, 0), yh1(taps, 0), xh2(taps, 0), yh2(taps, 0);
        for (float v : x) {
            const float y1 = directFormStep(xh1.data(), bb.data(), taps, yh1.data(), aa.data(), taps, v);
            const float y2 = directFormStepGeneral(xh2.data(), bb.data(), taps, yh2.data(), aa.data(), taps, v);
            ASSERT_EQ(y1, y2) << "taps " << taps;
        }
        EXPECT_EQ(xh1, xh2) << "taps " << taps;
        EXPECT_EQ(yh1, yh2) << "taps " << taps;
    }
    // Unequal counts: y[n] = 0.3 x[n] + 0.2 x[n-1] + 0.5 y[n-2]; x = 1, 2, 0
    // gives 0.3, then 0.6 + 0.2 = 0.8, then 0.4 + 0.5*0.3 = 0.55.
    const float b2[2] = {0.3f, 0.2f};
    float xh[1] = {0}, yh[2] = {0, 0};
    const float a3[3] = {1.0f, 0.0f, -0.5f};
    EXPECT_FLOAT_EQ(directFormStep(xh, b2, 2, yh, a3, 3, 1.0f), 0.3f);
    EXPECT_FLOAT_EQ(directFormStep(xh, b2, 2, yh, a3, 3, 2.0f), 0.8f);
    EXPECT_FLOAT_EQ(directFormStep(xh, b2, 2, yh, a3, 3, 0.0f), 0.55f);
}

TEST(ZeroPhaseFilterTest, BackwardPassKeepsTheForwardMemory)
{
    const BandFilterTables& t = bandFilterTables();
    const float* b = t.lowB[9].data();
    const float* a = t.lowA[9].data();
    const std::vector<float> x = testSignal(200);

    // Plain reference: one pair of histories through both passes.
    std::vector<float> ref(x.size());
    float xh[4] = {0, 0, 0, 0}, yh[4] = {0, 0, 0, 0};
    auto step = [&](float v) {
        float y = b[0] * v;
        for (int k = 1; k < 5; ++k)
            y += b[k] * xh[4 - k];
        for (int k = 1; k < 5; ++k)
            y -= a[k] * yh[4 - k];
        for (int k = 0; k < 3; ++k) {
            xh[k] = xh[k + 1];
            yh[k] = yh[k + 1];
        }
        xh[3] = v;
        yh[3] = y;
        return y;
    };
    for (std::size_t i = 0; i < x.size(); ++i)
        ref[i] = step(x[i]);
    for (std::size_t i = x.size(); i-- > 0;)
        ref[i] = step(ref[i]);

    std::vector<float> out(x.size(), 7.0f);
    zeroPhaseFilter(5, b, a, x.data(), static_cast<int>(x.size()), out.data());
    for (std::size_t i = 0; i < x.size(); ++i)
        ASSERT_NEAR(out[i], ref[i], 1e-6f * (1.0f + std::fabs(ref[i]))) << i;

    // In place gives the same.
    std::vector<float> inPlace = x;
    zeroPhaseFilter(5, b, a, inPlace.data(), static_cast<int>(x.size()), inPlace.data());
    EXPECT_EQ(inPlace, out);
}

TEST(TabulatedBandFilterTest, FullBandIsTheLastLowPassAndEmptyBlocksAreUntouched)
{
    const BandFilterTables& t = bandFilterTables();
    const std::vector<float> x = testSignal(300);
    const int n = static_cast<int>(x.size());
    TabulatedBandFilter filter;

    std::vector<float> expected(x.size());
    zeroPhaseFilter(5, t.lowB[47].data(), t.lowA[47].data(), x.data(), n, expected.data());
    const float ranges[][2] = {{0.0f, 1.0f}, {-0.5f, 3.0f}};  // clamped to 0 and 1
    for (const auto& r : ranges) {
        std::vector<float> out(x.size(), 0.0f);
        filter.filterBand(x.data(), n, r[0], r[1], out.data());
        EXPECT_EQ(out, expected) << r[0] << ".." << r[1];
    }

    // A band: the high-pass of row 9 (low 0.1), then the low-pass of row 19
    // (high 0.2), each zero-phase.
    std::vector<float> hp(x.size()), band(x.size()), out(x.size());
    zeroPhaseFilter(5, t.highB[9].data(), t.highA[9].data(), x.data(), n, hp.data());
    zeroPhaseFilter(5, t.lowB[19].data(), t.lowA[19].data(), hp.data(), n, band.data());
    filter.filterBand(x.data(), n, 0.1f, 0.2f, out.data());
    EXPECT_EQ(out, band);

    std::vector<float> untouched(4, 3.0f);
    filter.filterBand(x.data(), 0, 0.1f, 0.2f, untouched.data());
    filter.filterBand(x.data(), -5, 0.0f, 1.0f, untouched.data());
    EXPECT_EQ(untouched, std::vector<float>(4, 3.0f));
}
