#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "dsp/LfGlottalModel.h"
#include "dsp/PhaseSlopeTable.h"

using namespace Halvoren;

TEST(PhaseSlopeTableTest, MatchesTheTabulatedShapes)
{
    const auto& t = phaseSlopeTable();
    // Entry 20: Rd = 0.21f is still below the threshold 0.21.
    const std::pair<int, double> tabulated[] = {
        {0, 0.01553}, {1, 0.030882}, {2, 0.046048}, {3, 0.061032}, {20, 0.290404}};
    for (auto [i, value] : tabulated)
        EXPECT_NEAR(t[i], value, 1.5e-6) << i;
    const auto top = std::max_element(t.begin(), t.end());
    EXPECT_EQ(top - t.begin(), 241);
    EXPECT_NEAR(*top, 0.790047, 1.5e-6);
    EXPECT_EQ(t[269], 0.786822);
    EXPECT_EQ(phaseSlopeAt(300), 0.5);
    EXPECT_EQ(phaseSlopeAt(-1), 0.5);
}

TEST(LfGlottalModelTest, RegressionIsHeldAt2p7)
{
    LfGlottalModel a, b, c;
    a.setRd(2.7f, 100, 1);
    b.setRd(2.71f, 100, 1);
    EXPECT_NEAR(a.te, b.te, 1e-6f);
    EXPECT_NEAR(a.tp, b.tp, 1e-6f);
    EXPECT_EQ(a.ta, b.ta);
    EXPECT_EQ(a.relax, 0.0f);
    EXPECT_NEAR(b.relax, 0.01f, 1e-5f);
    c.setRd(5.0f, 100, 1);
    EXPECT_EQ(c.relax, 0.99f);
    c.setRd(0.1f, 100, 1);
    EXPECT_EQ(c.ta, 1e-6f);
}
