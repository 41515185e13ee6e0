#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "model/current/CurveDrawTool.h"

using namespace HVCurrentModel;
using Nodes = std::vector<CurveNode>;

TEST(CurveDrawTool, FreehandStrokeAndStraightLine)
{
    NodeContainer target{{-1, 128}, {1921, 128}};
    CurveDrawTool tool(&target);
    tool.begin(100, 50);
    EXPECT_TRUE(tool.drawTo(200, 60));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{100, 128}, {100, 50}, {200, 60}, {200, 128}}));
    EXPECT_TRUE(tool.drawTo(300, 70));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{100, 128}, {100, 50}, {200, 60}, {300, 70}, {300, 128}}));
    // Back left inside the patch: the stroke's own line gives the boundary.
    EXPECT_TRUE(tool.drawTo(250, 65));
    EXPECT_EQ(tool.stroke().toVector(),
              (Nodes{{100, 128}, {100, 50}, {200, 60}, {250, 65}, {250, 65}, {300, 70}, {300, 128}}));
    // Same position again: only the last point's value changes.
    EXPECT_FALSE(tool.drawTo(250, 66));
    EXPECT_EQ(tool.stroke().toVector(),
              (Nodes{{100, 128}, {100, 50}, {200, 60}, {250, 65}, {250, 66}, {300, 70}, {300, 128}}));
    // At or beyond the end nodes: ignored.
    for (int x : {-1, -100, 1921, 5000}) EXPECT_FALSE(tool.drawTo(x, 0)) << x;
    EXPECT_EQ(tool.stroke().size(), 7u);

    EXPECT_TRUE(tool.lineFromAnchor(400, 80));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{100, 128}, {100, 50}, {400, 80}, {400, 128}}));
    EXPECT_EQ(target.toVector(), (Nodes{{-1, 128}, {1921, 128}}));  // only read
}

TEST(CurveDrawTool, StrokeStartingOnAStep)
{
    NodeContainer target{{-1, 128}, {100, 128}, {100, 0}, {1921, 0}};
    CurveDrawTool tool(&target);
    // Moving right, the left end keeps the step's left value.
    tool.begin(100, 50);
    EXPECT_TRUE(tool.drawTo(200, 60));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{100, 128}, {100, 50}, {200, 60}, {200, 0}}));
    // Moving left, the right end keeps the step's right value.
    tool.begin(100, 50);
    EXPECT_TRUE(tool.drawTo(50, 40));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{50, 128}, {50, 40}, {100, 50}, {100, 0}}));
}

TEST(CurveDrawTool, CrossingTargetNodesAndCollectedPoints)
{
    NodeContainer target{{-1, 0}, {100, 100}, {200, 0}, {1921, 0}};
    CurveDrawTool tool(&target);
    tool.begin(50, 10);
    EXPECT_TRUE(tool.drawTo(150, 20));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{50, 50}, {50, 10}, {150, 20}, {150, 50}}));
    EXPECT_TRUE(tool.drawTo(250, 30));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{50, 50}, {50, 10}, {150, 20}, {250, 30}, {250, 0}}));

    tool.begin(150, 20);
    EXPECT_TRUE(tool.drawToCollect(NodeContainer{{100, 7}}, 50, 10));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{50, 50}, {50, 10}, {100, 7}, {150, 20}, {150, 50}}));
    tool.begin(300, 5);
    EXPECT_TRUE(tool.drawToCollect(NodeContainer{{320, 1}, {350, 2}}, 400, 6));
    EXPECT_EQ(tool.stroke().toVector(), (Nodes{{300, 0}, {300, 5}, {320, 1}, {350, 2}, {400, 6}, {400, 0}}));
}

TEST(CurveDrawTool, StrokeBegunAtOrBeyondTheEndNodesStaysInactive)
{
    NodeContainer target{{-1, 128}, {1921, 128}};
    CurveDrawTool tool(&target);
    for (int start : {-1, -50, 1921, 3000}) {
        tool.begin(start, 5);
        EXPECT_FALSE(tool.drawTo(100, 1)) << start;
        EXPECT_FALSE(tool.lineFromAnchor(100, 1)) << start;
        EXPECT_TRUE(tool.stroke().empty()) << start;
    }
    tool.begin(100, 50);
    EXPECT_TRUE(tool.drawTo(200, 60));

    NodeContainer oneNode{{0, 0}};
    CurveDrawTool onOne(&oneNode);
    onOne.begin(0, 0);
    EXPECT_FALSE(onOne.drawTo(10, 0));
    CurveDrawTool idle;
    idle.begin(100, 50);
    EXPECT_FALSE(idle.drawTo(200, 60));
}

// Callers read the stroke; erasing from it would leave the tool's cursor
// pointing into freed nodes.
static_assert(std::is_same_v<decltype(std::declval<const CurveDrawTool&>().stroke()), const NodeContainer&>);
static_assert(!std::is_invocable_v<decltype(&NodeContainer::clear), decltype(std::declval<CurveDrawTool&>().stroke())>);
