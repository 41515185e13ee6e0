// The cells of one note: run counts, even runs and the loop walks of both
// generations.
#include <gtest/gtest.h>

#include <vector>

#include "engine/v1/CellPlan.h"
#include "platform/Rand.h"

namespace {

using namespace HalvorenEngineV1;

int noDraw()
{
    ADD_FAILURE() << "the walk drew a number";
    return 0;
}

std::vector<float> frames(const std::vector<PlannedCell>& cells)
{
    std::vector<float> out;
    for (const PlannedCell& c : cells)
        out.push_back(c.frame);
    return out;
}

std::vector<bool> noise(const std::vector<PlannedCell>& cells)
{
    std::vector<bool> out;
    for (const PlannedCell& c : cells)
        out.push_back(c.noise);
    return out;
}

TEST(CellRuns, RunCounts)
{
    struct Case {
        int n, o;
        RunCounts want;
    };
    // Transition 6, loop 10, tail 8.
    const Case cases[] = {
        // Short: r = min(1, 20 * 0.7 / 8) = 1, tail 8, f = 12 / 16, transition
        // trunc(4.5) = 4, loop 20 + 4 - 8 - 4 - 4 = 8.
        {20, 4, {4, 4, 8, 8}},
        // Long (40 > 24): loop 40 + 4 - 4 - 8 - 6 = 26.
        {40, 4, {4, 6, 26, 8}},
        // No onset: one head cell all the same; loop 40 + 0 - 1 - 8 - 6 = 25.
        {40, 0, {1, 6, 25, 8}},
        // Very short: r = 5 * 0.7 / 8 = 0.4375, tail trunc(3.5) = 3,
        // f = 2 / 16, transition trunc(0.75) = 0, loop 5 + 4 - 3 - 0 - 4 = 2.
        {5, 4, {4, 0, 2, 3}},
    };
    for (const Case& c : cases) {
        const RunCounts got = runCounts(c.n, c.o, 6, 10, 8);
        EXPECT_EQ(got.head, c.want.head) << "n " << c.n << ", o " << c.o;
        EXPECT_EQ(got.transition, c.want.transition) << "n " << c.n << ", o " << c.o;
        EXPECT_EQ(got.loop, c.want.loop) << "n " << c.n << ", o " << c.o;
        EXPECT_EQ(got.tail, c.want.tail) << "n " << c.n << ", o " << c.o;
    }
    // No tail and no loop or transition: the quotients are not numbers and
    // give no cells to those runs.
    const RunCounts empty = runCounts(0, 2, 0, 0, 0);
    EXPECT_EQ(empty.tail, 0);
    EXPECT_EQ(empty.transition, 0);
    EXPECT_EQ(empty.loop, 0);  // 0 + 2 - 0 - 0 - 2
}

TEST(CellRuns, ANoteWithoutOnsetStartsWithOneHeadCellAtItsStart)
{
    SourceMarks marks{.beginPos = 0, .endPos = 4, .param3 = 10, .param4 = 20, .param5 = 8, .param10 = 100.0f};
    std::vector<PlannedCell> cells;
    emitNoteCells(Generation::First, marks, NotePlan{.start = 50, .count = 40, .onset = 0}, cells, noDraw);
    ASSERT_EQ(cells.size(), 40u);  // 1 + 6 + 25 + 8
    EXPECT_EQ(cells[0].number, 50);
    EXPECT_EQ(cells[0].index, 0);
    EXPECT_EQ(cells[0].frame, 0.0f);
    EXPECT_FALSE(cells[0].noise);
    EXPECT_EQ(cells[1].frame, 4.0f);  // the transition
    EXPECT_TRUE(cells[1].noise);
    EXPECT_EQ(cells.back().number, 89);
    EXPECT_EQ(cells.back().index, 39);
}

TEST(CellRuns, FirstGenerationWalk)
{
    // a 100, L 10, limit 2 (s 0.5), param8 102 (P 4), param9 3 (Q 6),
    // cLoop 30 (E trunc(30 - 20) + 6 + 4 = 20).
    SourceMarks marks{.param8 = 102, .param9 = 3};
    std::vector<PlannedCell> cells;
    CellSink sink{0, 0, &cells};
    makeLoopedRun(Generation::First, marks, 100, 10, 30, 2.0f, sink, noDraw);
    const std::vector<float> want = {100,   100.5, 101,   101.5, 102,   102.5, 103,   103.5, 104,   104.5,
                                     104.5, 104,   103.5, 103,   102.5, 102,   102,   102.5, 103,   103.5,
                                     105,   105.5, 106,   106.5, 107,   107.5, 108,   108.5, 109,   109.5};
    EXPECT_EQ(frames(cells), want);
    std::vector<bool> wantNoise(30, false);
    for (int i = 5; i < 20; ++i)
        wantNoise[i] = true;
    EXPECT_EQ(noise(cells), wantNoise);
}

TEST(CellRuns, SecondGenerationWalkChoosesItsLegsByDraws)
{
    // As above with Q = trunc(2 * 2) = 4, so E = 10 + 4 + 4 = 18. The legs
    // after the first draw 41 (odd: back from 103.5), 18467 (odd: back),
    // 6334 (even: forward from 102.5).
    SourceMarks marks{.param8 = 102, .param9 = 3};
    std::vector<PlannedCell> cells;
    CellSink sink{0, 0, &cells};
    hvSrand(1);
    makeLoopedRun(Generation::Second, marks, 100, 10, 30, 2.0f, sink, hvRand);
    const std::vector<float> want = {100,   100.5, 101,   101.5, 102,   102.5, 103,   103.5, 104, 103.5,
                                     103,   102.5, 102,   103.5, 103,   102.5, 102,   102.5, 104, 104.5,
                                     105,   105.5, 106,   106.5, 107,   107.5, 108,   108.5, 109, 109.5};
    EXPECT_EQ(frames(cells), want);
    EXPECT_EQ(noise(cells), std::vector<bool>(30, true));
    EXPECT_EQ(hvRand(), 26500);  // the fourth value: exactly three were drawn
}

TEST(CellRuns, ALimitAboveTheStretchGivesOneEvenNoiseRun)
{
    struct Case {
        const char* what;
        Generation g;
        float limit;
        int param9;
    };
    // 20 cells over 10 frames: 2 per frame, step 0.5.
    const Case cases[] = {
        {"first generation, limit 2", Generation::First, 2.0f, 3},
        {"second generation, limit 3", Generation::Second, 3.0f, 3},
        {"a walk leg of no cell", Generation::First, 1.5f, 0},
        {"a second-generation leg of no cell", Generation::Second, 0.25f, 3},
    };
    for (const Case& c : cases) {
        SourceMarks marks{.param8 = 102, .param9 = c.param9};
        std::vector<PlannedCell> cells;
        CellSink sink{0, 0, &cells};
        makeLoopedRun(c.g, marks, 100, 10, 20, c.limit, sink, noDraw);
        ASSERT_EQ(cells.size(), 20u) << c.what;
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(cells[i].frame, 100.0f + 0.5f * float(i)) << c.what << " cell " << i;
            EXPECT_TRUE(cells[i].noise) << c.what << " cell " << i;
        }
    }
}

TEST(CellRuns, SecondGenerationLegatoHeads)
{
    struct Case {
        const char* what;
        SourceMarks marks;
        NotePlan note;
        float head;
        float transitionFrom;
        float transitionStep;
    };
    const Case cases[] = {
        // Zero-initial: head at 20 + 10 * 0.5 = 25, transition from 26 over
        // trunc(0.5 * 10) = 5 frames; counts with Tr 5: n 40 is long
        // (40 > 10 + 8 + 5), transition 5 cells, step 1.
        {"zero-initial",
         {.beginPos = 0, .endPos = 20, .param3 = 30, .param4 = 40, .param5 = 8, .param10 = 100.0f, .ratio2 = 0.5f},
         {.start = 100, .count = 40, .onset = 1, .legato = true, .zeroInitial = true},
         25.0f, 26.0f, 1.0f},
        // With an onset: head from trunc(0 + 5 * 0.5) = 2 over trunc(0.5 * 5) =
        // 2 frames in o = 2 cells (step 1), then the transition from 5.
        {"with an onset",
         {.beginPos = 0, .endPos = 5, .param3 = 10, .param4 = 20, .param5 = 4, .param7 = 1.0f, .param10 = 100.0f,
          .ratio1 = 0.5f},
         {.start = 100, .count = 40, .onset = 2, .legato = true},
         2.0f, 5.0f, 1.0f},
    };
    for (const Case& c : cases) {
        std::vector<PlannedCell> cells;
        emitNoteCells(Generation::Second, c.marks, c.note, cells, noDraw);
        const std::size_t heads = std::size_t(c.note.onset);
        ASSERT_GT(cells.size(), heads + 1) << c.what;
        EXPECT_EQ(cells[0].number, 100 - c.note.onset) << c.what;
        EXPECT_EQ(cells[0].frame, c.head) << c.what;
        EXPECT_FALSE(cells[0].noise) << c.what;
        EXPECT_EQ(cells[heads].frame, c.transitionFrom) << c.what;
        EXPECT_EQ(cells[heads + 1].frame, c.transitionFrom + c.transitionStep) << c.what;
        EXPECT_TRUE(cells[heads].noise) << c.what;
        EXPECT_EQ(cells.size(), std::size_t(c.note.count + c.note.onset)) << c.what;
    }
}

}  // namespace
