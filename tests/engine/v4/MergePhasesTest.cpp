#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/v4/MergePhases.h"

namespace {

using HalvorenEngineV4::mergeFadeLength;
using HalvorenEngineV4::mergeFadeWeight;
using HalvorenEngineV4::tailPhasesFor;

TEST(MergePhasesV4, FadeWeightsFallFromOneToZeroOverThePercentage)
{
    struct Case {
        float percentage;
        int n;
        std::vector<float> weights;
    } cases[] = {
        // 50 % of 10: 5 frames, 1, .8, .6, .4, .2, then 0.
        {50.0f, 10, {1.0f, 0.8f, 0.6f, 0.4f, 0.2f, 0.0f, 0.0f}},
        // 60 % of 10: 6 frames, 1, 5/6 ... 1/6, then 0.
        {60.0f, 10, {1.0f, 5.0f / 6, 4.0f / 6, 3.0f / 6, 2.0f / 6, 1.0f / 6, 0.0f}},
        // Outside 0..100 % the fade is kept within the part.
        {150.0f, 4, {1.0f, 0.75f, 0.5f, 0.25f, 0.0f}},
        {-20.0f, 4, {0.0f, 0.0f}},
        {std::numeric_limits<float>::quiet_NaN(), 4, {0.0f}},
        {50.0f, 0, {0.0f}},
    };
    for (const Case& c : cases) {
        const int fade = mergeFadeLength(c.percentage, c.n);
        for (std::size_t i = 0; i < c.weights.size(); ++i)
            EXPECT_NEAR(mergeFadeWeight(static_cast<int>(i), fade), c.weights[i], 1e-6)
                << c.percentage << " % of " << c.n << ", frame " << i;
    }
}

TEST(MergePhasesV4, TailPhasesSplitMergeHoldAndTail)
{
    struct Case {
        int n;
        int merge, hold, tail;
    } cases[] = {
        {20, 8, 2, 10},    // 20 * 0.449999988 = 8.99999976
        {100, 44, 10, 46}, // 100 * 0.449999988 = 44.9999988, 100 * 0.100000001 = 10.0000001
        {10, 4, 1, 5},
        {1, 0, 0, 1},
        {0, 0, 0, 0},
        {-5, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const auto p = tailPhasesFor(c.n);
        EXPECT_EQ(p.merge, c.merge) << c.n;
        EXPECT_EQ(p.hold, c.hold) << c.n;
        EXPECT_EQ(p.tail, c.tail) << c.n;
    }
}

}  // namespace
