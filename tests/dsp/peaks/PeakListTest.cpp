#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dsp/FreqBox.h"
#include "dsp/PeakList.h"

using namespace Halvoren;

namespace {
PeakList peaks(std::vector<float> f, std::vector<float> m)
{
    PeakList p;
    for (std::size_t i = 0; i < f.size(); ++i)
        p.append(f[i], m[i], 0.1f * float(i));
    return p;
}
}  // namespace

TEST(PeakListTest, RemoveDuplicatesDropsZeroAndAdjacentRepeats)
{
    PeakList p = peaks({200, 0, 200, 400, 400, 200}, {1, 2, 3, 4, 5, 6});
    p.removeDuplicatePeaks();
    EXPECT_EQ(p.freqs, (std::vector<float>{200, 400, 200}));
    EXPECT_EQ(p.mags, (std::vector<float>{1, 4, 6}));
}

TEST(PeakListTest, SubtractAndBlendWorkOverTheShorterLength)
{
    PeakList a = peaks({100, 200, 300}, {10, 20, 30});
    a.subtractPeaks(peaks({110, 210, 310, 410}, {1, 2, 3, 4}));
    EXPECT_EQ(a.freqs, (std::vector<float>{105, 205, 305}));
    EXPECT_EQ(a.mags, (std::vector<float>{9, 18, 27}));
    a.subtractPeaks(peaks({105}, {9}));
    EXPECT_EQ(a.phases.size(), 1u);

    PeakList self = peaks({0, 200, 300}, {5, 20, 30});
    self.blendWith(peaks({100, 0, 500, 700}, {1, 2, 10, 3}), 1.0f, self);  // out aliasing this list
    EXPECT_EQ(self.freqs, (std::vector<float>{0, 200, 300}));
    EXPECT_EQ(self.mags, (std::vector<float>{0, 20, 30}));
    PeakList mixed;
    peaks({100, 200}, {10, 20}).blendWith(peaks({300, 400}, {30, 40}), 0.25f, mixed);
    EXPECT_EQ(mixed.freqs, (std::vector<float>{250, 350}));
    EXPECT_EQ(mixed.mags, (std::vector<float>{25, 35}));
}

TEST(PeakListTest, LevelsAndTilts)
{
    EXPECT_EQ(peaks({100, 200}, {-130, -130}).maxMagDb(), -120.0f);
    EXPECT_EQ(PeakList().maxMagDb(), -120.0f);
    EXPECT_EQ(peaks({100, 200}, {-3, -1}).maxMagDb(), -1.0f);

    const float from[3] = {0, 0, 0};
    const float to[3] = {1, 2, 0.001f};
    PeakList q = peaks({0, 1000}, {0, 0});
    q.replaceTiltKeepLevel(from, to);
    EXPECT_NEAR(q.mags[0] + q.mags[1], 0.0f, 1e-5f);
    EXPECT_GT(q.mags[1], q.mags[0]);
}

TEST(PeakListTest, SpectrumDrawingX4StartsFromZero)
{
    FreqMagAndPhaseBox box(512);
    std::fill(box.re.begin(), box.re.end(), 5.0f);
    const float rate = 44100;
    PeakList p = peaks({1000}, {0});
    p.addToSpectrumX4(box, &rate);
    EXPECT_EQ(box.re[100], 0.0f);
    EXPECT_GT(std::hypot(box.re[12], box.im[12]), 0.5f);
    const float before = box.re[12];
    p.addToSpectrum(box, &rate);
    EXPECT_FLOAT_EQ(box.re[12], 2 * before);
}
