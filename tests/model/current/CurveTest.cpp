#include <gtest/gtest.h>

#include "model/current/ParamCurve.h"

using namespace HVCurrentModel;
using Nodes = std::vector<CurveNode>;

TEST(NodeContainer, FindNodeSeesEveryChange)
{
    NodeContainer c{{0, 1}, {10, 2}, {10, 3}, {20, 4}};
    EXPECT_EQ(c.findNode(0), c.end());   // first node not below
    EXPECT_EQ(c.findNode(25), c.end());  // every node below
    EXPECT_EQ(*c.findNode(10), (CurveNode{0, 1}));
    EXPECT_EQ(*c.findNode(15), (CurveNode{10, 3}));  // last node of the step

    c.insertNode(std::prev(c.end()), {15, 9});
    EXPECT_EQ(c.findNode(16)->pos, 15);
    c.eraseNode(c.findNode(16));
    EXPECT_EQ(c.findNode(16)->pos, 10);
    c.pushFront({-10, 0});
    EXPECT_EQ(c.findNode(0)->pos, -10);
    c.eraseNodes(std::next(c.begin()), std::prev(c.end()));
    EXPECT_EQ(c.findNode(16)->pos, -10);
    c.shiftPositions(100);
    EXPECT_EQ(c.toVector(), (Nodes{{90, 0}, {120, 4}}));
    EXPECT_EQ(c.findNode(100)->pos, 90);
}

TEST(ParamCurve, ValueAt)
{
    ParamCurve one{{5, 42}};
    EXPECT_EQ(one.valueAt(5), 0);

    ParamCurve c{{0, 0}, {100, 100}, {100, 300}, {200, 100}};
    EXPECT_EQ(c.valueAt(-50), 0);
    EXPECT_EQ(c.valueAt(50), 50);
    EXPECT_EQ(c.valueAt(100), 300);  // the step's last value
    EXPECT_EQ(c.valueAt(199), 102);
    EXPECT_EQ(c.valueAt(25), 25);    // backwards: the cursor starts over
    EXPECT_EQ(c.valueAt(250), 100);

    ParamCurve stepFirst{{0, 10}, {0, 20}, {10, 20}};
    EXPECT_EQ(stepFirst.valueAt(0), 10);  // at the first position, the first value
    ParamCurve falling{{0, 0}, {3, -2}};
    EXPECT_EQ(falling.valueAt(1), 0);  // -0.67 truncated toward zero
    EXPECT_EQ(interpolateNode(5, {5, 1}, {5, 2}).value, 2);  // a step has no slope

    // Erasing the node under the cursor must not leave a dangling hint.
    ParamCurve edited{{0, 0}, {50, 50}, {100, 100}};
    ASSERT_EQ(edited.valueAt(60), 60);
    edited.nodes.eraseNode(std::prev(edited.nodes.end()));
    edited.nodes.pushBack({100, 0});
    EXPECT_EQ(edited.valueAt(75), 25);

    // A copy, and a curve assigned over, start without a hint: the hint
    // would point into the other curve's nodes.
    ParamCurve source{{0, 0}, {100, 100}};
    ASSERT_EQ(source.valueAt(10), 10);
    ParamCurve copy(source);
    source.nodes.clear();
    EXPECT_EQ(copy.valueAt(50), 50);
    ParamCurve assigned{{0, 0}, {10, 10}, {20, 0}};
    ASSERT_EQ(assigned.valueAt(15), 5);
    assigned = copy;
    EXPECT_EQ(assigned.valueAt(40), 40);
}

TEST(ParamCurve, TakeAndReplaceRange)
{
    ParamCurve c{{-1, 0}, {0, 1}, {5, 2}, {10, 3}, {11, 4}};
    NodeContainer out{{99, 99}};
    auto where = c.takeRange(0, 10, out);
    // Both ends included, ahead of what out already held.
    EXPECT_EQ(out.toVector(), (Nodes{{0, 1}, {5, 2}, {10, 3}, {99, 99}}));
    EXPECT_EQ(c.nodes.toVector(), (Nodes{{-1, 0}, {11, 4}}));
    EXPECT_EQ(where->pos, 11);
    EXPECT_EQ(c.takeRange(5, 5, out), c.nodes.end());
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(c.takeRange(20, 30, out), c.nodes.end());
    EXPECT_EQ(c.nodes.size(), 2u);

    // A curve edit and its undo.
    ParamCurve d{{-1, 128}, {100, 128}, {200, 128}, {1921, 128}};
    const NodeContainer patch{{100, 128}, {100, 50}, {200, 60}, {200, 128}};
    NodeContainer removed;
    d.replaceRange(removed, patch, 100, 200);
    EXPECT_EQ(d.nodes.toVector(), (Nodes{{-1, 128}, {100, 128}, {100, 50}, {200, 60}, {200, 128}, {1921, 128}}));
    EXPECT_EQ(removed.toVector(), (Nodes{{100, 128}, {200, 128}}));
    NodeContainer again;
    d.replaceRange(again, NodeContainer(removed), 100, 200);
    EXPECT_EQ(d.nodes.toVector(), (Nodes{{-1, 128}, {100, 128}, {200, 128}, {1921, 128}}));
    EXPECT_EQ(again.toVector(), patch.toVector());
    d.replaceRange(again, patch, 200, 200);
    EXPECT_TRUE(again.empty());
    EXPECT_EQ(d.nodes.size(), 4u);
}
