#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dsp/JitterGenerator.h"
#include "dsp/LinearLookup.h"
#include "dsp/Spline.h"
#include "dsp/StepTable.h"

using namespace Halvoren;

TEST(LinearLookupTest, EndsKnotsAndBothSweepDirections)
{
    const float xs[] = {0, 100, 200, 400};
    const float ys[] = {10, 20, 0, 40};
    LinearLookup lk;
    lk.reset(4, xs, ys);
    // Read in this order, the cursor moves up and back down.
    const float reads[][2] = {{-5, 10}, {1000, 40}, {0, 10}, {100, 20}, {200, 0}, {400, 40},
                              {300, 20}, {50, 15}, {150, 10}, {std::numeric_limits<float>::quiet_NaN(), 10}};
    for (const auto& r : reads)
        EXPECT_FLOAT_EQ(lk.valueAt(r[0]), r[1]) << r[0];
    // The same reads in one sweep, in place, from where they left the cursor.
    float points[std::size(reads)];
    for (std::size_t i = 0; i < std::size(reads); ++i)
        points[i] = reads[i][0];
    lk.valuesAt(points, static_cast<int>(std::size(reads)), points);
    for (std::size_t i = 0; i < std::size(reads); ++i)
        EXPECT_FLOAT_EQ(points[i], reads[i][1]) << reads[i][0];

    LinearLookup empty;
    EXPECT_EQ(empty.valueAt(3), 0.0f);
}

TEST(SplineTest, PassesKnotsWithFlatEndsAndSurvivesRepeatedKnots)
{
    const float x[] = {0, 100, 300, 600, 1000};
    const float y[] = {0, 10, -5, 20, 30};
    std::vector<float> y2;
    splineSecondDerivs(y2, x, y, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR(splineValueAt(y2, x, y, x[i]), y[i], 1e-4f);
    // Clamped: the slope at both ends is 0 (a natural spline's is not).
    const float d = 1e-2f;
    EXPECT_NEAR((splineValueAt(y2, x, y, d) - y[0]) / d, 0.0f, 2e-3f);
    EXPECT_NEAR((y[4] - splineValueAt(y2, x, y, 1000 - d)) / d, 0.0f, 2e-3f);

    // Repeated knots would divide by zero.
    const float xr[] = {0, 200, 200, 400};
    splineSecondDerivs(y2, xr, y, 4);
    for (float t : {0.0f, 100.0f, 200.0f, 300.0f, 500.0f})
        EXPECT_TRUE(std::isfinite(splineValueAt(y2, xr, y, t))) << t;
}

TEST(StepTableTest, RowsClampAndInvalidTablesGiveZero)
{
    StepTable t{.step = 100, .stride = 3, .rows = 2, .values = {1, 2, 3, 4, 5, 6}};
    EXPECT_EQ(t.valueAt(1, 100), 2.0f);   // row round(1) - 1 = 0
    EXPECT_EQ(t.valueAt(1, 250), 5.0f);   // round half away: 3 - 1 -> clamped to 1
    EXPECT_EQ(t.valueAt(2, -400), 3.0f);  // clamped to row 0
    EXPECT_EQ(t.valueAt(3, 100), 0.0f);   // no such column
    t.values.pop_back();
    EXPECT_EQ(t.valueAt(0, 100), 0.0f);
    t.values.push_back(6);
    t.step = 0;
    EXPECT_EQ(t.valueAt(0, 100), 0.0f);
}

TEST(JitterGeneratorTest, OffGivesZeroAndZeroPeriodIsSafe)
{
    JitterGenerator g;
    EXPECT_EQ(g.nextValue(), 0.0f);
    g.on = 1;
    g.maxPeriod = 0;  // every cycle would be 0 frames long
    g.amplitudeScale = 1;
    g.newCycle();
    EXPECT_GE(g.period, 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(std::isfinite(g.nextValue()));
}
