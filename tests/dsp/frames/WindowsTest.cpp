#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "dsp/Windows.h"

using namespace Halvoren;

TEST(WindowsTest, TriangleBlackmanFamilyAndOneSampleWindows)
{
    const std::vector<std::vector<float>> triangles = {{1.0f}, {0.5f, 1.0f, 0.5f}, {0.25f, 0.75f, 0.75f, 0.25f}};
    for (const auto& expected : triangles) {
        std::vector<float> w(expected.size());
        makeTriangularWindow(w.data(), int(w.size()));
        EXPECT_EQ(w, expected);
    }
    std::vector<float> w(9);
    makeBlackmanHarrisWindow(w.data(), 9);
    EXPECT_NEAR(w[0], 0.00006f, 1e-6f);
    EXPECT_NEAR(w[4], 1.0f, 1e-6f);
    makeBlackmanWindow(w.data(), 9);
    EXPECT_EQ(w[0], 0.0f);
    EXPECT_EQ(w[8], 0.0f);
    // A window of one sample would divide by n - 1 = 0.
    float one = -1;
    makeHammingWindow(&one, 1);
    EXPECT_EQ(one, 1.0f);
}

TEST(WindowsTest, NormalisedSumIsOneAndZeroSumIsLeftAlone)
{
    AnalysisWindow win;
    win.resize(1201);
    makeBlackmanWindow(win.w.data(), win.length);
    ASSERT_TRUE(normalizeWindowSum(win));
    EXPECT_NEAR(std::accumulate(win.w.begin(), win.w.end(), 0.0), 1.0, 1e-5);

    std::vector<float> zeros(5, 0.0f);
    EXPECT_FALSE(normalizeWindowSum(zeros.data(), 5));
    EXPECT_EQ(zeros, std::vector<float>(5, 0.0f));
}
