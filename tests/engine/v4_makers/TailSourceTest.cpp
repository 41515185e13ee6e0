#include <gtest/gtest.h>

#include "engine/v3/CellParts.h"
#include "engine/v4/CellMakers.h"
#include "support/engine/MakerFixtures.h"

namespace {

using HalvorenEngineV4::CellMakerCore_ByMergeTwoModelAndTailSrc;
using makertest::levelFrames;
using makertest::materialFrom;
using makertest::MakerBench;

struct TailRun {
    MakerBench bench;
    std::unique_ptr<makertest::SrcMaterial> first, next, tail;
    CellMakerCore_ByMergeTwoModelAndTailSrc maker;

    bool run(int n, int tailLength)
    {
        bench.prepare();
        maker.init(bench.state.makerSetting());
        CellMakerCore_ByMergeTwoModelAndTailSrc::Models m;
        m.first = first.get();
        m.firstAnchor = 1;
        m.next = next.get();
        m.nextAnchor = 1;
        m.tail = tail.get();
        m.tailStart = 0;
        m.tailLength = tailLength;
        if (!maker.setUp(m, n, 0, 0))
            return false;
        auto at = bench.cursor();
        HalvorenEngineV3::emitPieceFrames(bench.state, maker, n, at);
        return true;
    }
};

// Model -20 dB, tail -40 dB, next model -60 dB, bands alike. N = 20 splits
// 8 / 2 / 10: merge w = (8 - i) / 8 of the model against the tail, hold on
// the tail, then w = (20 - i) / 10 of the tail against the next model.
TEST(TailSourceV4, MergesHoldsAndHandsOverInThreePhases)
{
    TailRun r;
    r.first = materialFrom(levelFrames(4, -20.0f));
    r.next = materialFrom(levelFrames(4, -60.0f));
    r.tail = materialFrom(levelFrames(20, -40.0f));
    ASSERT_TRUE(r.run(20, 20));
    EXPECT_EQ(r.maker.phases().merge, 8);
    EXPECT_EQ(r.maker.phases().hold, 2);
    EXPECT_EQ(r.maker.phases().tail, 10);
    ASSERT_EQ(r.bench.frames().size(), 20u);
    for (int i = 0; i < 20; ++i) {
        float want;
        if (i < 8) {
            const float w = static_cast<float>(8 - i) / 8.0f;
            want = -20.0f * w - 40.0f * (1.0f - w);
        } else if (i < 10) {
            want = -40.0f;
        } else {
            const float w = static_cast<float>(20 - i) / 10.0f;
            want = -40.0f * w - 60.0f * (1.0f - w);
        }
        EXPECT_NEAR(r.bench.level(static_cast<std::size_t>(i)), want, 1e-4) << i;
        EXPECT_EQ(r.bench.frames()[static_cast<std::size_t>(i)]->levelDb, 0.0f) << i;
    }
}

// 0.45f and 0.1f multiplied in double: 100 * 0.449999988 = 44.9999988 -> 44,
// 100 * 0.100000001 = 10.0000001 -> 10 (in float the first would round to 45).
TEST(TailSourceV4, PhaseLengthsUseTheSinglePrecisionSharesInDouble)
{
    struct Case {
        int n, merge, hold, tail;
    } cases[] = {{20, 8, 2, 10}, {100, 44, 10, 46}, {10, 4, 1, 5}, {1, 0, 0, 1}};
    for (const Case& c : cases) {
        TailRun r;
        r.first = materialFrom(levelFrames(4, -20.0f));
        r.next = materialFrom(levelFrames(4, -60.0f));
        r.tail = materialFrom(levelFrames(4, -40.0f));
        ASSERT_TRUE(r.run(c.n, 4)) << c.n;
        EXPECT_EQ(r.maker.phases().merge, c.merge) << c.n;
        EXPECT_EQ(r.maker.phases().hold, c.hold) << c.n;
        EXPECT_EQ(r.maker.phases().tail, c.tail) << c.n;
        EXPECT_EQ(r.bench.frames().size(), static_cast<std::size_t>(c.n)) << c.n;
    }
}

// A tail without peaks: both models bent toward the tail's bands and
// blended straight, w = (10 - i) / 10. Tail bands: frame 0 at -30, the rest
// at -20 (so the last at -20). From frame 1 on the model is bent by +10
// (-10 dB) and the next model by 0 (-40 dB): the blend -10 w - 40 (1 - w)
// lies 10 w above the target -20 w - 40 (1 - w) and is lowered by it. At
// frame 0 the next model is bent by -10: -20 against the target -20 + 0,
// nothing to lower, and nothing is ever raised.
TEST(TailSourceV4, PeaklessTailBlendsTheModelsNoLouderThanTheirTarget)
{
    TailRun r;
    r.first = materialFrom(levelFrames(4, -20.0f));
    r.next = materialFrom(levelFrames(4, -40.0f));
    std::vector<testbank::PlainFrame> tail = levelFrames(10, 0.0f, -20.0f, 1.0f, false);
    tail[0].bands.assign(64, -30.0f);
    r.tail = materialFrom(tail);
    ASSERT_TRUE(r.run(10, 10));
    ASSERT_EQ(r.bench.frames().size(), 10u);
    EXPECT_NEAR(r.bench.level(0), -20.0f, 1e-4);
    EXPECT_EQ(r.bench.frames()[0]->levelDb, 0.0f);
    for (int i = 1; i < 10; ++i) {
        const float w = static_cast<float>(10 - i) / 10.0f;
        EXPECT_NEAR(r.bench.level(static_cast<std::size_t>(i)), -10.0f * w - 40.0f * (1.0f - w), 1e-4) << i;
        EXPECT_NEAR(r.bench.frames()[static_cast<std::size_t>(i)]->levelDb, -10.0f * w, 1e-4) << i;
    }
}

// Tail positions run at tailLength / N a frame and stop at the tail's last
// frame: 4 tail frames over 8 output frames read 0, 0, 1, 1, 2, 2, 3, 3; a
// hold on frames 3 shows the tail's own envelope (-10 * frame).
TEST(TailSourceV4, TailPositionsStopAtItsLastFrame)
{
    TailRun r;
    r.first = materialFrom(levelFrames(4, -20.0f));
    r.next = materialFrom(levelFrames(4, -60.0f));
    r.tail = materialFrom(levelFrames(6, -40.0f, -30.0f, 10.0f));
    // A tail length past the recording: positions 0, 1.5, 3, 4.5, 6, 7.5 ->
    // 0, 1, 3, 4, 5 (the last frame), 5.
    ASSERT_TRUE(r.run(6, 9));
    // 6 frames: merge 2, hold 0, tail 4; frames 2.. run on the tail.
    ASSERT_EQ(r.bench.frames().size(), 6u);
    const int p[] = {0, 1, 3, 4, 5, 5};
    for (int i = 2; i < 6; ++i) {
        const float w = static_cast<float>(6 - i) / 4.0f;
        // The next model's envelope is its frame 1 (-1 dB); the tail's -10 p.
        const float want = w * (-10.0f * static_cast<float>(p[i])) + (1.0f - w) * -1.0f;
        EXPECT_NEAR(r.bench.envelope(static_cast<std::size_t>(i)), want, 1e-4) << i;
    }
}

TEST(TailSourceV4, MissingRecordsOrLengthsAreNotSetUp)
{
    struct Case {
        const char* what;
        bool first, next, tail;
        int n, length;
    } cases[] = {
        {"no frames", true, true, true, 0, 4},
        {"no tail span", true, true, true, 4, 0},
        {"no first model", false, true, true, 4, 4},
        {"no next model", true, false, true, 4, 4},
        {"no tail", true, true, false, 4, 4},
    };
    for (const Case& c : cases) {
        TailRun r;
        if (c.first)
            r.first = materialFrom(levelFrames(4, -20.0f));
        if (c.next)
            r.next = materialFrom(levelFrames(4, -60.0f));
        if (c.tail)
            r.tail = materialFrom(levelFrames(4, -40.0f));
        EXPECT_FALSE(r.run(c.n, c.length)) << c.what;
        EXPECT_TRUE(r.bench.frames().empty()) << c.what;
    }
}

}  // namespace
