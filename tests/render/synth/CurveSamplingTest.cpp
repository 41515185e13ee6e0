#include <gtest/gtest.h>

#include "render/synth/CurveSampling.h"

namespace {

using HalvorenEngine::CurvePoint;
using HVCurrentModel::NodeContainer;

struct Case {
    const char* name;
    NodeContainer curve;
    int from, to;
    std::vector<CurvePoint> expected;  // of the signed kind
};

// Segment at tick 1920 (2.0 s) at 120 BPM: a node at tick t lies at t / 960 s.
TEST(SampleCurve, CoversTheRangeWithOneNodeOnEachSide)
{
    const std::vector<Case> cases = {
        {"one node before and one at or after the range",
         {{-1, 128}, {480, 256}, {960, 0}, {1921, 128}}, 500, 900, {{0.5f, 1.0f}, {1.0f, -1.0f}}},
        {"every node before the range gives the last one", {{-1, 128}, {100, 256}, {200, 64}}, 500, 900,
         {{200 / 960.0f, -0.5f}}},
        {"a curve beginning inside the range starts at its first node", {{10, 128}, {600, 192}, {1000, 64}}, 0, 800,
         {{10 / 960.0f, 0.0f}, {600 / 960.0f, 0.5f}, {1000 / 960.0f, -0.5f}}},
        {"the range ends on a node", {{-1, 0}, {480, 128}, {960, 256}}, 0, 480,
         {{-1 / 960.0f, -1.0f}, {0.5f, 0.0f}}},
        {"a curve ending inside the range ends with its last node", {{-1, 0}, {480, 128}}, 0, 900,
         {{-1 / 960.0f, -1.0f}, {0.5f, 0.0f}}},
        {"no nodes", {}, 0, 900, {}},
    };
    HVCurrentModel::Tempo tempo{0, 12000, false};
    const HVCurrentModel::TempoMap map(std::vector<HVCurrentModel::Tempo*>{&tempo});
    for (const Case& c : cases) {
        std::vector<CurvePoint> out;
        sampleCurve(1, out, c.curve, c.from, c.to, map, 1920, 2.0f);
        ASSERT_EQ(out.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < out.size(); ++i) {
            EXPECT_NEAR(out[i].seconds, c.expected[i].seconds, 1e-6) << c.name << " point " << i;
            EXPECT_EQ(out[i].value, c.expected[i].value) << c.name << " point " << i;
        }
    }
}

TEST(SampleCurve, KindChoosesTheConversion)
{
    HVCurrentModel::Tempo tempo{0, 12000, false};
    const HVCurrentModel::TempoMap map(std::vector<HVCurrentModel::Tempo*>{&tempo});
    const NodeContainer curve{{0, 64}, {960, 64}};
    const float expected[] = {pitchToHz(64), -0.5f, -0.5f, -0.5f, -0.5f, -0.5f, 0.25f};
    for (int kind = 0; kind < 7; ++kind) {
        std::vector<CurvePoint> out;
        sampleCurve(kind, out, curve, 0, 960, map, 0, 0.0f);
        ASSERT_EQ(out.size(), 2u) << kind;
        EXPECT_EQ(out[1].value, expected[kind]) << kind;
        EXPECT_EQ(out[1].seconds, 1.0f) << kind;
    }
}

}  // namespace
