#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "JoinModels.h"
#include "dsp/SourceJoiner.h"

using namespace Halvoren;
using namespace jointest;

namespace {

struct Joins : ::testing::Test {
    HPR_model a, b, c, out;
    SourceJoiner joiner;

    void SetUp() override
    {
        joiner.init(kN, kRate);
        const float levelsA[3] = {-10.0f, -20.0f, -30.0f};
        const float levelsB[3] = {-30.0f, -40.0f, -50.0f};
        fillModel(a, 60, 100.0f, levelsA, 500.0, 1);
        fillModel(b, 40, 1000.0f, levelsB, 500.0, 2);
        fillModel(c, 30, 5000.0f, levelsB, 500.0, 3);
    }
};

TEST_F(Joins, JoinTwoKeepsTheHeadMovesTheRegionAndTakesCountBFrames)
{
    // start 40, frameA 44, frameB 25, countB 5: 40 + 5 + 5 = 50 frames.
    ASSERT_TRUE(joiner.joinTwo(a, b, out, 44, 25, 40, 5));
    std::vector<int> want;
    appendRange(want, 100, 144);
    EXPECT_EQ(frameIds(out), appendRange(want, 1025, 1029));
    EXPECT_EQ(out.hop, kHop);
    // Region frame i moves by w * (b - a), w = (i - 40) / 5; b has the same
    // three peaks, so m = 3. Frame 42: w = 0.4, levels -10 + 0.4 * -20 = -18,
    // -20 + 0.4 * -20 = -28, -30 + 0.4 * -20 = -38.
    const PeakList& f42 = out.peaks.frame(42);
    EXPECT_NEAR(f42.mags[0], -18.0f, 1e-4);
    EXPECT_NEAR(f42.mags[1], -28.0f, 1e-4);
    EXPECT_NEAR(f42.mags[2], -38.0f, 1e-4);
    EXPECT_EQ(out.peaks.frame(40).mags[0], -10.0f);  // w = 0
    // The residual reaches the last frame's centre and one hop beyond.
    EXPECT_GE(out.residual.numSamples(), 51u * kHop);

    // countB -1 takes all of b from frameB: 45 + 15 = 60 frames.
    ASSERT_TRUE(joiner.joinTwo(a, b, out, 44, 25, 40, -1));
    EXPECT_EQ(out.peaks.size(), 60u);
}

TEST_F(Joins, JoinTwoGivesPeaksBeyondTheShorterLevelListZero)
{
    // b's frames around 25 hold only the first peak: m = 1.
    for (std::size_t i = 0; i < b.peaks.size(); ++i)
        b.peaks.frame(i).truncate(1);
    ASSERT_TRUE(joiner.joinTwo(a, b, out, 44, 25, 40, 5));
    const PeakList& f43 = out.peaks.frame(43);  // w = 0.6: -10 + 0.6 * -20 = -22
    EXPECT_NEAR(f43.mags[0], -22.0f, 1e-4);
    EXPECT_EQ(f43.freqs[1], 0.0f);
    EXPECT_EQ(f43.mags[1], 0.0f);
    EXPECT_EQ(f43.freqs[2], 0.0f);
}

TEST_F(Joins, FormsWithoutAStartFollowAsHeadWithBsFrames)
{
    struct Case {
        const char* form;
        int frameB, length;
        int lastB;  // b's last frame taken
    };
    // frameA 40: a's 0..39, then b's 10..35 for length 26; b has 40 frames,
    // so from 20 a length of 26 ends at b's last frame 39.
    const Case cases[] = {{"scaled", 10, 26, 35}, {"scaled", 20, 26, 39}, {"spline", 10, 26, 35}};
    for (const Case& c : cases) {
        const bool spline = std::string(c.form) == "spline";
        ASSERT_TRUE(spline ? joiner.joinTwoSpline(a, b, out, 40, c.frameB, SourceJoiner::kDefaultFade, c.length)
                           : joiner.joinTwoScaled(a, b, out, 40, c.frameB, SourceJoiner::kDefaultFade, c.length))
            << c.form;
        EXPECT_EQ(out.peaks.size(), std::size_t(40 + c.lastB - c.frameB + 1)) << c.form << " " << c.frameB;
        if (!spline) {
            std::vector<int> want;
            appendRange(want, 100, 139);
            EXPECT_EQ(frameIds(out), appendRange(want, 1000 + c.frameB, 1000 + c.lastB)) << c.frameB;
        }
        for (std::size_t i = 0; i < out.peaks.size(); ++i)
            for (float m : out.peaks.frame(i).mags)
                ASSERT_TRUE(std::isfinite(m)) << c.form << " frame " << i;
    }
    // The factor starts at 1: b's first frame takes a's levels (-30 + 1 * 20
    // = -10); the next steps by (1 - 0.01) / 27 toward 0.01.
    ASSERT_TRUE(joiner.joinTwoScaled(a, b, out, 40, 10, 0.01f, 26));
    EXPECT_NEAR(out.peaks.frame(40).mags[0], -10.0f, 1e-4);
    EXPECT_NEAR(out.peaks.frame(41).mags[0], -30.0f + 20.0f * (1.0f - 0.99f / 27.0f), 1e-4);
}

TEST_F(Joins, JoinThreeTakesBsSpanThenCUnderOneLength)
{
    // frameA 40, b's join frames 10 and 20, c's 5, length 26: 40 + 10 + 16 = 66.
    for (bool spline : {false, true}) {
        ASSERT_TRUE(spline ? joiner.joinThreeSpline(a, b, c, out, 40, 10, 20, 5, 26)
                           : joiner.joinThree(a, b, c, out, 40, 10, 20, 5, 26));
        ASSERT_EQ(out.peaks.size(), 66u) << spline;
        if (!spline) {
            std::vector<int> want;
            appendRange(want, 100, 139);
            appendRange(want, 1010, 1019);
            EXPECT_EQ(frameIds(out), appendRange(want, 5005, 5020));
        }
    }
    // A length shorter than b's span cuts b and leaves no room for c.
    ASSERT_TRUE(joiner.joinThree(a, b, c, out, 40, 10, 20, 5, 4));
    EXPECT_EQ(out.peaks.size(), 44u);
}

TEST_F(Joins, BankJoinFramesAreClampedAndImpossibleJoinsRefused)
{
    // Join frames far outside the models: frameA 1000 -> 59, start -5 -> 1,
    // frameB 1000 -> b's last frame 39: 60 + 1 frames.
    ASSERT_TRUE(joiner.joinTwo(a, b, out, 1000, 1000, -5, 1000));
    EXPECT_EQ(frameIds(out).back(), 1039);
    EXPECT_EQ(out.peaks.size(), 61u);
    ASSERT_TRUE(joiner.joinThree(a, b, c, out, -7, 30, 10, 100000, 1 << 30));
    // frameA -7 -> 1; b 30..29 (frameB2 raised to frameB): none; c from its
    // last frame 29: 1 + 1 frames.
    EXPECT_EQ(frameIds(out), (std::vector<int>{100, 5029}));

    // An empty b leaves nothing to join: refused, with out a copy of a.
    HPR_model empty;
    empty.hop = kHop;
    const std::function<bool()> joins[] = {
        [&] { return joiner.joinTwo(a, empty, out, 44, 25, 40, 5); },
        [&] { return joiner.joinTwoScaled(a, empty, out, 40, 10, 0.01f, 26); },
        [&] { return joiner.joinTwoSpline(a, empty, out, 40, 10, 0.01f, 26); },
        [&] { return joiner.joinThree(a, empty, c, out, 40, 10, 20, 5, 26); }};
    for (const auto& join : joins) {
        out.assign(c);
        EXPECT_FALSE(join());
        EXPECT_EQ(out.peaks.size(), 60u);
        EXPECT_EQ(out.residual.numSamples(), 61u * kHop);
    }

    // The output may be an input.
    HPR_model copy;
    copy.assign(a);
    ASSERT_TRUE(joiner.joinTwo(copy, b, copy, 44, 25, 40, 5));
    EXPECT_EQ(copy.peaks.size(), 50u);

    struct Case {
        const char* what;
        int hopA, framesA;
    };
    const Case refused[] = {{"hop 0", 0, 60}, {"hop above n/2", kN / 2 + 1, 60}, {"one frame", kHop, 1}};
    for (const Case& c : refused) {
        HPR_model bad;
        bad.hop = c.hopA;
        fillPeaks(bad, c.framesA, 100.0f, std::array<float, 3>{-1, -2, -3}.data());
        EXPECT_FALSE(joiner.joinTwo(bad, b, out, 10, 5, 5, 3)) << c.what;
        EXPECT_FALSE(joiner.joinTwoScaled(bad, b, out, 10, 5, 0.01f, 3)) << c.what;
        EXPECT_EQ(out.peaks.size(), 0u) << c.what;
        EXPECT_EQ(out.hop, c.hopA) << c.what;
    }
    SourceJoiner idle;
    EXPECT_FALSE(idle.joinTwo(a, b, out, 44, 25, 40, 5));
    // A refused join into one of its inputs leaves that input whole.
    EXPECT_FALSE(idle.joinThree(a, b, c, a, 40, 10, 20, 5, 26));
    EXPECT_EQ(a.peaks.size(), 60u);
    EXPECT_EQ(a.residual.numSamples(), 61u * kHop);
}

}  // namespace
