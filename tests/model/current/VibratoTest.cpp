#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/current/Vibrato.h"

using namespace HVCurrentModel;
using Nodes = std::vector<CurveNode>;

namespace {

Vibrato steadyVibrato(int depth, int rate)
{
    Vibrato v;
    v.vibAmp.nodes = NodeContainer{{-1, depth}, {100001, depth}};
    v.vibFreq.nodes = NodeContainer{{-1, rate}, {100001, rate}};
    return v;
}

}  // namespace

TEST(VibratoCycle, OneCycleGoingNegativeFirst)
{
    const VibratoCycle cycle;
    ASSERT_EQ(cycle.table.size(), 1024u);
    EXPECT_NEAR(cycle.table[0], 0.0f, 1e-6);
    EXPECT_NEAR(cycle.table[256], -0.9994153f, 1e-6);
    EXPECT_NEAR(cycle.table[768], 0.9994153f, 1e-6);
    for (int i = 0; i < 1024; ++i) EXPECT_NEAR(cycle.table[i], -std::sin(2 * M_PI * i / 1024), 0.0015) << i;
}

TEST(Vibrato, PitchCurveByPercent)
{
    const VibratoCycle cycle;
    Vibrato v = steadyVibrato(10000, 5000);  // 150 deep, 200 ms period
    v.buildPitchCurve(100, 100, cycle);      // no leading (0, 0)
    EXPECT_EQ(v.vibCurve.nodes.toVector(),
              (Nodes{{0, 0}, {10, -46}, {20, -87}, {30, -121}, {40, -142}, {50, -149},
                     {60, -142}, {70, -122}, {80, -89}, {90, -47}, {100, -1}}));
    v.buildPitchCurve(200, 50, cycle);
    const Nodes half = v.vibCurve.nodes.toVector();
    ASSERT_EQ(half.size(), 12u);
    EXPECT_EQ(half[0], (CurveNode{0, 0}));
    EXPECT_EQ(half[1], (CurveNode{100, 0}));
    EXPECT_EQ(half[6], (CurveNode{150, -149}));

    // Percent 0 (and a note of no length) leave a vibrato of no length:
    // only its start, at the note's end.
    v.buildPitchCurve(1000, 0, cycle);
    EXPECT_EQ(v.vibCurve.nodes.toVector(), (Nodes{{0, 0}, {1000, 0}}));
    v.buildPitchCurve(0, 50, cycle);
    EXPECT_EQ(v.vibCurve.nodes.toVector(), (Nodes{{0, 0}, {0, 0}}));
}

TEST(Vibrato, RateZeroSilencesAndRestartsThePhase)
{
    const VibratoCycle cycle;
    Vibrato v = steadyVibrato(10000, 5000);
    v.vibFreq.nodes = NodeContainer{{-1, 5000}, {30000, 5000}, {30000, 0}, {50000, 0}, {50000, 5000}, {100001, 5000}};
    v.buildPitchCurve(100, 100, cycle);
    const Nodes n = v.vibCurve.nodes.toVector();
    ASSERT_EQ(n.size(), 11u);
    // Silent while the rate is 0; at 50 ms the wave starts over.
    EXPECT_EQ(Nodes(n.begin() + 2, n.begin() + 7), (Nodes{{20, -87}, {30, 0}, {40, 0}, {50, 0}, {60, -46}}));
}

TEST(Vibrato, NegativeRateStaysInsideTheTable)
{
    const VibratoCycle cycle;
    Vibrato forward = steadyVibrato(10000, 5000);
    Vibrato backward = steadyVibrato(10000, -5000);
    forward.buildPitchCurve(400, 100, cycle);
    backward.buildPitchCurve(400, 100, cycle);
    const Nodes f = forward.vibCurve.nodes.toVector();
    const Nodes b = backward.vibCurve.nodes.toVector();
    ASSERT_EQ(f.size(), b.size());
    for (size_t i = 0; i < b.size(); ++i) EXPECT_LE(std::abs(b[i].value), 150) << i;
    // The wave runs backwards: it rises where the forward one falls.
    for (size_t i = 1; i < 10; ++i) EXPECT_GT(b[i].value, 0) << i;
    EXPECT_EQ(b[1].value, -f[1].value);
}

TEST(NoteBendCurve, Examples)
{
    ParamCurve out{{5, 5}};
    buildNoteBendCurve(30, 0, 800, out);
    EXPECT_EQ(out.nodes.toVector(), (Nodes{{0, 0}, {800, 0}}));

    buildNoteBendCurve(0, 100, 1000, out);
    EXPECT_EQ(out.nodes.toVector(),
              (Nodes{{0, 0},     {100, 300}, {110, 298}, {120, 292}, {130, 283}, {140, 271}, {150, 256},
                     {160, 238}, {170, 218}, {180, 196}, {190, 173}, {200, 150}, {210, 138}, {220, 126},
                     {230, 115}, {240, 103}, {250, 92},  {260, 81},  {270, 71},  {280, 61},  {290, 52},
                     {300, 43},  {310, 35},  {320, 28},  {330, 22},  {340, 16},  {350, 11},  {360, 7},
                     {370, 4},   {380, 1},   {390, 0},   {1000, 0}}));

    // A short note shrinks both halves so that the step ends at its end.
    buildNoteBendCurve(50, 40, 150, out);
    EXPECT_EQ(out.nodes.toVector(), (Nodes{{0, 0}, {75, 120}, {85, 114}, {95, 99}, {105, 77},
                                           {112, 60}, {122, 35}, {132, 15}, {142, 3}, {150, 0}}));
}

TEST(NoteBendCurve, ShapeSetsTheMidpointInSinglePrecision)
{
    // Half depth is passed at start + A; A comes from a float product (a
    // double product would give 124 and 299). Shapes above 100 clamp.
    ParamCurve out;
    for (auto [shape, a] : {std::pair{25, 125}, {75, 225}, {100, 300}, {250, 300}}) {
        buildNoteBendCurve(shape, 100, 5000, out);
        EXPECT_NE(std::find(out.nodes.begin(), out.nodes.end(), CurveNode{100 + a, 150}), out.nodes.end()) << shape;
    }
}

// Percents from files beyond what the editor sets are clamped to 0..100,
// and a vibrato too long for 10,001 nodes is laid in wider steps.
TEST(Vibrato, FilePercentAndLengthAreBounded)
{
    const VibratoCycle cycle;
    Vibrato v = steadyVibrato(10000, 5000);
    struct Case {
        int lengthMs, percent;
        size_t nodes;
        CurveNode first, last;
    } cases[] = {
        {1000, 1000000, 101, {0, 0}, {1000, 0}},     // as 100: 0, 10, ..., 1000
        {1000, -50, 2, {0, 0}, {1000, 0}},           // as 0: (0, 0) and the end
        {100000, 100, 10001, {0, 0}, {100000, 0}},   // 10 ms steps still fit
        {10000000, 100, 10001, {0, 0}, {10000000, 0}},  // steps of 1000 ms
    };
    for (const Case& c : cases) {
        v.buildPitchCurve(c.lengthMs, c.percent, cycle);
        const Nodes n = v.vibCurve.nodes.toVector();
        ASSERT_EQ(n.size(), c.nodes) << c.lengthMs << " ms, " << c.percent << "%";
        EXPECT_EQ(n.front().pos, c.first.pos) << c.lengthMs << " ms, " << c.percent << "%";
        EXPECT_EQ(n.back().pos, c.last.pos) << c.lengthMs << " ms, " << c.percent << "%";
    }
    // 1000 ms steps at a 200 ms period: the phase moves 5 turns a step, so
    // every node lands on the table's start.
    for (const CurveNode& node : v.vibCurve.nodes.toVector()) EXPECT_EQ(node.value, 0) << node.pos;
}

TEST(VibratoCycle, TablesShareTheComputedWaveUntilChanged)
{
    VibratoCycle a, b;
    EXPECT_TRUE(a.table.sharesComputedWave());
    b.table.set(5, 0.5f);
    EXPECT_FALSE(b.table.sharesComputedWave());
    EXPECT_TRUE(a.table.sharesComputedWave());
    EXPECT_FLOAT_EQ(b.table[5], 0.5f);
    EXPECT_NEAR(a.table[5], -0.0306f, 1e-3);  // -sin(2 pi 5 / 1024) = -0.0307

    VibratoCycle copy(b);  // a copy shares, then parts on a change
    copy.table.set(5, 0.25f);
    EXPECT_FLOAT_EQ(b.table[5], 0.5f);
    EXPECT_FLOAT_EQ(copy.table[5], 0.25f);

    // Values equal to the wave (as every saved file holds) share it again.
    b.table.assign(std::vector<float>(a.table.begin(), a.table.end()));
    EXPECT_TRUE(b.table.sharesComputedWave());
}
