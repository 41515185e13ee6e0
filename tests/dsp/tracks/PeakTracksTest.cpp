#include <gtest/gtest.h>

#include "dsp/PeakTracks.h"

using Halvoren::PeakList;
using Halvoren::PeakTracks;

namespace {

// Frames whose single peak sits at 100 Hz with the given levels.
void fillLevels(PeakTracks& tracks, const std::vector<float>& levels)
{
    tracks.clear();
    for (float level : levels)
        tracks.appendFrame().append(level == -1000.0f ? 0.0f : 100.0f, level, 0.0f);
}

TEST(PeakTracks, FrameAtBlendsNeighboursAndClampsAtTheEnds)
{
    PeakTracks tracks;
    fillLevels(tracks, {-10.0f, -20.0f, -40.0f});
    struct Case {
        float pos;
        float level;
    };
    // 0.5 between -10 and -20 is -15; 2.25 blends frame 2 with itself.
    const Case cases[] = {{0.5f, -15.0f}, {1.0f, -20.0f}, {2.25f, -40.0f}, {7.0f, -40.0f}, {-3.0f, -10.0f}};
    PeakList out;
    for (const Case& c : cases) {
        tracks.frameAt(c.pos, out);
        ASSERT_EQ(out.size(), 1u) << c.pos;
        EXPECT_FLOAT_EQ(out.mags[0], c.level) << c.pos;
    }
    PeakTracks empty;
    empty.frameAt(1.0f, out);
    EXPECT_TRUE(out.empty());
}

TEST(PeakTracks, AverageCountsOnlyFramesThatHoldThePeak)
{
    PeakTracks tracks;
    // Frames 0..7; frame 6 and 7 lie outside radius 5 around frame 0.
    // -1000 marks a peak at 0 Hz, which does not count.
    fillLevels(tracks, {-10.0f, -120.0f, -1000.0f, -20.0f, -30.0f, -40.0f, -500.0f, -500.0f});
    // Counted: -10, -20, -30, -40 -> mean -25.
    EXPECT_FLOAT_EQ(tracks.averageMagAround(0, 0, 5), -25.0f);
    EXPECT_FLOAT_EQ(tracks.averageMagAround(0, 1, 5), -120.0f);   // no peak 1 anywhere
    EXPECT_FLOAT_EQ(tracks.averageMagAround(1, 0, 0), -120.0f);   // only a -120 frame
    EXPECT_FLOAT_EQ(tracks.averageMagAround(3, 0, -1), -120.0f);  // negative radius

    // smoothFrame stops before a mean of exactly 0.
    PeakTracks zero;
    zero.appendFrame();
    zero.frame(0).append(100.0f, -6.0f, 0.0f);
    zero.frame(0).append(200.0f, 0.0f, 0.0f);
    zero.frame(0).append(300.0f, -9.0f, 0.0f);
    std::vector<float> smoothed{1.0f};
    zero.smoothFrame(0, 5, smoothed);
    EXPECT_EQ(smoothed, (std::vector<float>{-6.0f}));
    zero.smoothFrame(4, 5, smoothed);
    EXPECT_TRUE(smoothed.empty());
}

TEST(PeakTracks, AppendFramesCopiesAClampedRange)
{
    PeakTracks src;
    fillLevels(src, {-1.0f, -2.0f, -3.0f});
    struct Case {
        long long first, last;
        std::vector<float> levels;
    };
    const Case cases[] = {
        {1, 2, {-2.0f, -3.0f}}, {-5, 0, {-1.0f}}, {2, 99, {-3.0f}}, {2, 1, {}}, {5, 9, {}},
    };
    for (const Case& c : cases) {
        PeakTracks out;
        out.appendFrames(src, c.first, c.last);
        std::vector<float> levels;
        for (std::size_t i = 0; i < out.size(); ++i)
            levels.push_back(out.frame(i).mags[0]);
        EXPECT_EQ(levels, c.levels) << c.first << ".." << c.last;
    }
    src.appendFrames(src, 0, 2);
    EXPECT_EQ(src.size(), 6u);
    EXPECT_EQ(src.frame(5).mags[0], -3.0f);
}

}  // namespace
