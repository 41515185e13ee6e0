#include <gtest/gtest.h>

#include "SynthSegment.h"
#include "render/synth/PitchRender.h"

namespace {

using namespace synthtest;

std::vector<CurveNode> rendered(SynthSegment& s)
{
    renderPitchCurve(s.seg, s.tempos);
    return s.seg.curve(kPitchWorkCurve1).nodes.toVector();
}

// The grid nodes of a line: value v, first at pos, 0.01 s (9.6 ticks) apart.
void expectLine(const std::vector<CurveNode>& nodes, size_t first, size_t count, int pos, int value)
{
    ASSERT_LE(first + count, nodes.size());
    EXPECT_EQ(nodes[first].pos, pos) << "line at " << first;
    for (size_t i = first; i < first + count; ++i) {
        EXPECT_EQ(nodes[i].value, value) << "node " << i;
        if (i > first) {
            const int gap = nodes[i].pos - nodes[i - 1].pos;
            EXPECT_TRUE(gap == 9 || gap == 10) << "node " << i << " gap " << gap;
        }
    }
}

// A = tick 0, 480 wide, key 58 (5850), tail 9; B = tick 551, 480 wide, key 56
// (5650), head 6. In seconds from the segment's start (2.0 s): A ends at
// 479/960 = 0.4989583, B starts at 0.5739583 and ends at 1.0729167. Tail
// 9 * 0.3 / 100 = 0.027 s and head 0.018 s give the span 0.4719583 ..
// 0.5919583 (0.12 s): 47 A nodes while more than 0.005 s remain before it,
// 12 span nodes at t < 0.115, 48 B nodes up to B's end.
struct TwoNotes : SynthSegment {
    TwoNotes()
    {
        a.tailChg = 9;
        b.headChg = 6;
    }
    Note& a = add(0, 480, 58, "a");
    Note& b = add(551, 480, 56, "a");
};

const std::vector<int> kSpanTicks = {453, 462, 472, 481, 491, 501, 510, 520, 529, 539, 549, 558};
// 5850 - 200 * (1 + sin(pi * (t / 0.12 - 0.5))) / 2, rounded; the fast sine
// peaks at 0.99942, so the first node is 5849.94.
const std::vector<int> kSpanValues = {5850, 5847, 5837, 5821, 5800, 5776, 5750, 5724, 5700, 5679, 5663, 5653};

TEST(PitchRender, TwoNotesGiveLinesAndASineShapedSpan)
{
    TwoNotes s;
    const std::vector<CurveNode> nodes = rendered(s);
    ASSERT_EQ(nodes.size(), 110u);  // 1 + 47 + 12 + 48 + 2
    EXPECT_EQ(nodes[0], (CurveNode{-1, 5850}));
    expectLine(nodes, 1, 47, 0, 5850);
    for (size_t i = 0; i < kSpanTicks.size(); ++i)
        EXPECT_EQ(nodes[48 + i], (CurveNode{kSpanTicks[i], kSpanValues[i]})) << "span node " << i;
    expectLine(nodes, 60, 48, 568, 5650);  // 2.5919583 s is tick 2488.28
    EXPECT_EQ(nodes[108], (CurveNode{1030, 5650}));  // B's last tick
    EXPECT_EQ(nodes[109], (CurveNode{1921, 5650}));  // the width + 1
}

TEST(PitchRender, ZeroNoteLiesAtTheNextLevel)
{
    SynthSegment s;
    s.add(0, 480, 58, "0");
    s.add(480, 480, 56, "a").headChg = 20;
    const std::vector<CurveNode> nodes = rendered(s);
    // Head 20 * 0.3 / 100 = 0.06 s: B's line from 0.56 s (tick 537.6) to its
    // end at 0.9989583 s: 44 nodes; then its last tick and the width + 1.
    ASSERT_EQ(nodes.size(), 50u);
    EXPECT_EQ(nodes[0], (CurveNode{-1, 5850}));
    EXPECT_EQ(nodes[1], (CurveNode{0, 5650}));
    EXPECT_EQ(nodes[2], (CurveNode{479, 5650}));
    EXPECT_EQ(nodes[3], (CurveNode{480, 5650}));
    expectLine(nodes, 4, 44, 537, 5650);
    EXPECT_EQ(nodes[48], (CurveNode{959, 5650}));
    EXPECT_EQ(nodes[49], (CurveNode{1921, 5650}));
}

// Vibrato over the whole note (percent 100), depth 10000 (150 hundredths)
// and rate 25000 (a 40 ms period: a quarter wave per 10 ms node), so the
// offset at 0, 10, 20, 30 ms into every 40 is 0, -149, 0, 149. Bend depth 10
// rises from 0 to 30 over a note's first 100 ms and is 0 from 390 ms on.
void addVibratoAndBend(Note& n)
{
    n.vibPercent = 100;
    n.vibrato.vibAmp.nodes = NodeContainer{{-1, 10000}, {100001, 10000}};
    n.vibrato.vibFreq.nodes = NodeContainer{{-1, 25000}, {100001, 25000}};
    n.bendDep = 10;
    n.bendLen = 0;
}

TEST(PitchRender, SpanTakesVibratoAndBendFromTheNoteItLiesIn)
{
    TwoNotes s;
    addVibratoAndBend(s.a);
    addVibratoAndBend(s.b);
    const std::vector<CurveNode> nodes = rendered(s);
    ASSERT_EQ(nodes.size(), 110u);
    // Span nodes before A's end lie 472, 482, 492 ms into A: A's vibrato
    // 149 - 29.8, -29.8, -149 + 29.8 (truncated), A's bend 0. From 0.03 to
    // 0.10 the nodes lie between the notes: no offset. The last lies 8 ms into
    // B: B's vibrato -149 * 0.8 = -119.2 and bend 30 * 8 / 100 = 2.4.
    const std::vector<int> offsets = {119, -29, -119, 0, 0, 0, 0, 0, 0, 0, 0, -119 + 2};
    for (size_t i = 0; i < kSpanTicks.size(); ++i)
        EXPECT_EQ(nodes[48 + i], (CurveNode{kSpanTicks[i], kSpanValues[i] + offsets[i]})) << "span node " << i;
}

TEST(PitchRender, NegativeTailAndHeadCountAsZero)
{
    TwoNotes s;
    s.a.tailChg = -50;
    s.b.headChg = -50;
    const std::vector<CurveNode> nodes = rendered(s);
    // A's line runs to its end (0.4989583 s: 50 nodes), the span from there
    // to B's start, B's line from its start (tick 551).
    expectLine(nodes, 1, 50, 0, 5850);
    ASSERT_GT(nodes.size(), 53u);
    EXPECT_EQ(nodes[51], (CurveNode{479, 5850}));
    EXPECT_LT(nodes[52].value, 5850);
    const auto bLine = std::find_if(nodes.begin() + 1, nodes.end(), [](const CurveNode& n) { return n.value == 5650; });
    ASSERT_NE(bLine, nodes.end());
    EXPECT_EQ(bLine->pos, 551);
}

TEST(PitchRender, LoneNoteAndEmptySegment)
{
    SynthSegment s;
    s.seg.curve(kPitchWorkCurve1).nodes.pushBack({5, 5});
    EXPECT_TRUE(rendered(s).empty());

    // A note ending on the width + 1 gets no second end node; one "0" note is
    // a single node at its level.
    s.add(0, 1922, 60, "0");
    EXPECT_EQ(rendered(s), (std::vector<CurveNode>{{-1, 6050}, {0, 6050}, {1921, 6050}}));
}

TEST(PitchRender, UserPitchReplacesRunsOfSetValues)
{
    SynthSegment s;
    s.seg.curve(kPitchCurve).nodes =
        NodeContainer{{-1, -1}, {100, 6000}, {200, 6100}, {300, -1}, {400, 5000}, {1921, -1}};
    const NodeContainer line{{-1, 5850}, {50, 5850}, {150, 5850}, {250, 5850}, {400, 5850}, {1921, 5850}};
    applyPitchCurve(s.seg, line);
    // The run 100..200 replaces the line there; a lone set node spans nothing.
    EXPECT_EQ(s.seg.curve(kPitchWorkCurve2).nodes.toVector(),
              (std::vector<CurveNode>{
                  {-1, 5850}, {50, 5850}, {100, 6000}, {200, 6100}, {250, 5850}, {400, 5850}, {1921, 5850}}));
}

}  // namespace
