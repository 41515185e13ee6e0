#include <gtest/gtest.h>

#include "support/engine/ModelFixtures.h"
#include "engine/v6/ModelFrame.h"

namespace {

using HalvorenEngineV6::ModelFrame;
using v6test::flatFrame;
using v6test::valuesOf;

TEST(ModelFrame, LoadsEachFieldFromItsMemberAndClampsTheRow)
{
    testbank::ModelFrameV6 f;
    f.f0 = 210.0f;
    f.harmonicsDb = {-1.0f, -2.0f};
    f.row = 77;
    f.gainDb = 4.5f;
    f.noiseBandsDb = {-60.0f, -61.0f, -62.0f};
    f.noiseLevels = {0.25f};
    f.modFloor = 0.625f;
    f.phaseOffsets = {0.5f, 1.5f};
    testbank::ModelFrameV6 low = flatFrame(100.0f, -20.0f, -5);
    testbank::ModelFrameV6 high = flatFrame(100.0f, -20.0f, 300);
    const auto model = v6test::modelOf({f, low, high});

    ModelFrame m;
    m.loadFrom(*model, 0);
    EXPECT_EQ(m.refValue, 210.0f);
    EXPECT_EQ(m.row, 77);
    EXPECT_EQ(valuesOf(m.harmonics), (std::vector<float>{-1.0f, -2.0f}));
    EXPECT_EQ(m.gainDb, 4.5f);
    EXPECT_EQ(valuesOf(m.noiseBands), (std::vector<float>{-60.0f, -61.0f, -62.0f}));
    EXPECT_EQ(valuesOf(m.noiseLevels), (std::vector<float>{0.25f}));
    EXPECT_EQ(m.modFloor, 0.625f);
    EXPECT_EQ(valuesOf(m.phaseOffsets), (std::vector<float>{0.5f, 1.5f}));
    EXPECT_TRUE(m.holdsData());

    // Rows outside the tilt table's 0..269 are clamped.
    m.loadFrom(*model, 1);
    EXPECT_EQ(m.row, 0);
    m.loadFrom(*model, 2);
    EXPECT_EQ(m.row, 269);

    // A frame the model lacks is empty, its values 0.
    for (int index : {-1, 3}) {
        m.loadFrom(*model, index);
        EXPECT_EQ(m.refValue, 0.0f) << index;
        EXPECT_EQ(m.gainDb, 0.0f) << index;
        EXPECT_FALSE(m.holdsData()) << index;
        EXPECT_TRUE(m.phaseOffsets.isEmpty()) << index;
    }
    EXPECT_EQ(HalvorenEngineV6::modelFrameCount(*model), 3);
}

TEST(ModelFrame, InterpolateMixesTwoVoicedFrames)
{
    // a: row 10, gain -6, floor 0.8, harmonics -10 (3 values), phases 0.
    // b: row 21, gain 2, floor 1.4, harmonics -30 (2 values), phases 1.
    const auto model = v6test::modelOf({flatFrame(200.0f, -10.0f, 10, -6.0f, 0.8f, 0.0f, 3),
                                        flatFrame(300.0f, -30.0f, 21, 2.0f, 1.4f, 1.0f, 2)});
    ModelFrame a, b, out;
    a.loadFrom(*model, 0);
    b.loadFrom(*model, 1);
    ModelFrame::interpolate(a, b, 0.5f, out);
    EXPECT_EQ(out.row, 15);           // 15.5 truncated
    EXPECT_EQ(out.gainDb, -2.0f);     // (-6 + 2) / 2
    EXPECT_EQ(out.modFloor, 1.0f);    // 1.1 capped at 1
    EXPECT_EQ(out.refValue, 250.0f);
    // Over the shorter length, 2 values.
    EXPECT_EQ(valuesOf(out.harmonics), (std::vector<float>{-20.0f, -20.0f}));
    EXPECT_EQ(valuesOf(out.phaseOffsets), (std::vector<float>{0.5f, 0.5f}));
    EXPECT_EQ(valuesOf(out.noiseBands), (std::vector<float>{-60.0f, -60.0f}));

    // A quarter of b: row 7.5 + 5.25 = 12.75 -> 12, gain -4.5 + 0.5 = -4.
    ModelFrame::interpolate(a, b, 0.25f, out);
    EXPECT_EQ(out.row, 12);
    EXPECT_EQ(out.gainDb, -4.0f);
    EXPECT_EQ(valuesOf(out.harmonics), (std::vector<float>{-15.0f, -15.0f}));
}

TEST(ModelFrame, InterpolateWithOneSideEmptyCopiesTheOtherAtItsWeight)
{
    const auto model = v6test::modelOf({flatFrame(200.0f, -10.0f, 40, 3.0f), flatFrame(0.0f)});
    ModelFrame voiced, empty, out;
    voiced.loadFrom(*model, 0);
    empty.loadFrom(*model, 1);
    ASSERT_FALSE(empty.holdsData());
    struct Case {
        bool voicedFirst;
        float w;
        float gainDb;  // 3 + 20 log10(voiced's weight)
    } cases[] = {
        {false, 0.25f, 3.0f - 12.0412f},   // b voiced at weight 0.25
        {true, 0.75f, 3.0f - 12.0412f},    // a voiced at weight 1 - 0.75
        {true, 0.5f, 3.0f - 6.0206f},
        {false, 1.0f, 3.0f},
        {false, 0.0f, 3.0f - 120.0f},      // weight below 1e-6
        {false, 5e-7f, 3.0f - 120.0f},
        {true, 1.0f, 3.0f - 120.0f},
    };
    for (const Case& c : cases) {
        out = ModelFrame();
        if (c.voicedFirst)
            ModelFrame::interpolate(voiced, empty, c.w, out);
        else
            ModelFrame::interpolate(empty, voiced, c.w, out);
        const std::string where = (c.voicedFirst ? "a voiced, w " : "b voiced, w ") + std::to_string(c.w);
        EXPECT_NEAR(out.gainDb, c.gainDb, 1e-3) << where;
        EXPECT_EQ(out.row, 40) << where;
        EXPECT_EQ(out.refValue, 200.0f) << where;
        EXPECT_EQ(valuesOf(out.harmonics), valuesOf(voiced.harmonics)) << where;
    }
}

}  // namespace
