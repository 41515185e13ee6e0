#include <gtest/gtest.h>

#include "engine/v4/CellMakers.h"
#include "engine/v4/CellParts.h"
#include "support/engine/MakerFixtures.h"

namespace {

using makertest::levelFrames;
using makertest::materialFrom;
using makertest::MakerBench;
using makertest::VoiceSrc;

// Over a cellOffset of 10: 20 log10(i / 7) for i = 1..6 is -16.902,
// -10.881, -7.360, -4.861, -2.923, -1.339; frame 0 is -120, frames 7.. 0.
// A 3-frame onset fades over all of it: -120, 20 log10(1/3), 20 log10(2/3).
TEST(PartsV4, OnsetFadesInOverItsFirstSevenFramesAtMost)
{
    struct Case {
        int n;
        std::vector<float> want;
    } cases[] = {
        {10, {-120.0f, -16.902f, -10.881f, -7.360f, -4.861f, -2.923f, -1.339f, 0.0f, 0.0f, 0.0f}},
        {3, {-120.0f, -9.5424f, -3.5218f}},
    };
    for (const Case& c : cases) {
        MakerBench bench;
        bench.prepare();
        auto model = materialFrom(levelFrames(10, -20.0f));
        auto at = bench.cursor();
        HalvorenEngineV4::emitModelPartFadingIn(bench.state, *model, 0, 10, c.n, at);
        ASSERT_EQ(bench.frames().size(), c.want.size()) << c.n;
        for (std::size_t i = 0; i < c.want.size(); ++i)
            EXPECT_NEAR(bench.frames()[i]->levelDb, c.want[i], 5e-4) << c.n << " frame " << i;
    }
}

// Bounds 1000 / 900 / 1100 thousandths: +1 gives 0.9, -1 gives 1.1, 0.5
// gives 0.5 * 0.9 + 0.5 * 1.0 = 0.95; both the parts and the makers carry
// the ratio into the frame.
TEST(PartsV4, GenderBoundsComeFromTheStore)
{
    struct Case {
        float gender;
        float ratio;
    } cases[] = {{1.0f, 0.9f}, {-1.0f, 1.1f}, {0.5f, 0.95f}, {0.0f, 1.0f}};
    for (const Case& c : cases) {
        MakerBench bench;
        bench.store.ratios[0] = 1000;
        bench.store.ratios[1] = 900;
        bench.store.ratios[2] = 1100;
        HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
        score.curves[HalvorenEngine::kScoreGender] = {{0.0f, c.gender}};
        bench.prepare(score);
        auto model = materialFrom(levelFrames(10, -20.0f));
        auto at = bench.cursor();
        HalvorenEngineV4::emitModelPart(bench.state, *model, 0, 10, 2, at, false);
        HalvorenEngineV4::CellMakerCore_FromStdModel maker(*model);
        maker.init(bench.state.makerSetting());
        maker.setModel(0, 10, 2, 0, bench.local);
        HalvorenEngineV4::emitPieceFrames(bench.state, maker, 2, at);
        ASSERT_EQ(bench.frames().size(), 4u) << c.gender;
        for (const auto& frame : bench.frames())
            EXPECT_FLOAT_EQ(frame->warpRatio, c.ratio) << c.gender;
    }
}

struct MiddleRecords {
    VoiceSrc unit{"ma", "C4"};
    VoiceSrc onset{"m", "C4"};
};

// Unit model at -20 dB, the onset record at -40 dB with bands alike: the
// middle part moves from the record into the model with model weights
// i / 4 = 0, 0.25, 0.5, 0.75: -40, -35, -30, -25. With a distinct cross
// record the blended frame then glides into the delta, here +8 dB on every
// harmonic at the same weights: -40, -33, -26, -19.
TEST(PartsV4, MiddlePartMovesFromTheOnsetRecordIntoTheUnitModel)
{
    struct Case {
        float deltaDb;  // 0: no delta
        float want[4];
    } cases[] = {{0.0f, {-40.0f, -35.0f, -30.0f, -25.0f}}, {8.0f, {-40.0f, -33.0f, -26.0f, -19.0f}}};
    for (const Case& c : cases) {
        MakerBench bench;
        bench.prepare();
        MiddleRecords r;
        r.unit.v4Param3 = 2;
        r.unit.v4Param4 = 6;
        r.unit.material = materialFrom(levelFrames(10, -20.0f));
        r.onset.v4Param3 = 4;
        r.onset.material = materialFrom(levelFrames(8, -40.0f));
        HalvorenEngineV4::CrossDelta delta;
        for (int k = 1; k <= 90; ++k)
            delta.peaks.append(220.0f * static_cast<float>(k), c.deltaDb, 0.0f);
        auto at = bench.cursor();
        HalvorenEngineV4::emitMiddlePart(bench.state, r.unit, r.onset, 4, 4, at,
                                         c.deltaDb != 0.0f ? &delta : nullptr);
        ASSERT_EQ(bench.frames().size(), 4u) << c.deltaDb;
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(bench.level(i), c.want[i], 1e-4) << c.deltaDb << " frame " << i;
    }
}

// Where the onset record has bands but no peaks the bent unit model is the
// frame. Unit: anchor v4Param3 = 2, loop end (2 + 8) / 2 = 5, envelope
// frame p at -2p. Onset record: source from v4Param2 = 5 over 3 frames,
// bands of frame p at p, reference v4Param3 = 6, so the bend is p - 6.
// Frame i: peaks -20 + (5 + i - 6); envelope -2 (2 + i) + (5 + i - 6).
TEST(PartsV4, MiddlePartReadsTheRecordsWhereTheirPlacingValuesSay)
{
    MakerBench bench;
    bench.prepare();
    MiddleRecords r;
    r.unit.v4Param3 = 2;
    r.unit.v4Param4 = 8;
    r.unit.material = materialFrom(levelFrames(10, -20.0f, -30.0f, 2.0f));
    r.onset.v4Param2 = 5;
    r.onset.v4Param3 = 6;
    std::vector<testbank::PlainFrame> onset = levelFrames(10, 0.0f, 0.0f, 1.0f, false);
    for (std::size_t p = 0; p < onset.size(); ++p)
        onset[p].bands.assign(64, static_cast<float>(p));
    r.onset.material = materialFrom(onset);
    auto at = bench.cursor();
    HalvorenEngineV4::emitMiddlePart(bench.state, r.unit, r.onset, 3, 3, at);
    const float peaks[] = {-21.0f, -20.0f, -19.0f};
    const float envelope[] = {-5.0f, -6.0f, -7.0f};
    ASSERT_EQ(bench.frames().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(bench.level(i), peaks[i], 1e-4) << i;
        EXPECT_NEAR(bench.envelope(i), envelope[i], 1e-4) << i;
    }
}

// No pitch (an empty pitch curve reads 0 Hz) makes frames without harmonics
// rather than an endless harmonic loop.
TEST(PartsV4, NoPitchMakesNoHarmonics)
{
    MakerBench bench;
    bench.prepare(HalvorenEngine::SynthScoreV3{});
    auto model = materialFrom(levelFrames(4, -20.0f));
    auto at = bench.cursor();
    HalvorenEngineV4::emitModelPart(bench.state, *model, 0, 4, 4, at, false);
    ASSERT_EQ(bench.frames().size(), 4u);
    for (const auto& frame : bench.frames())
        EXPECT_TRUE(frame->peaks.empty());
}

TEST(PartsV4, MiddlePartWithoutMaterialOrLengthMakesNothing)
{
    struct Case {
        const char* what;
        bool unitModel, onsetModel;
        int secondLen, midLen;
    } cases[] = {
        {"no unit model", false, true, 4, 4},
        {"no onset model", true, false, 4, 4},
        {"no second span", true, true, 0, 4},
        {"no frames", true, true, 4, 0},
    };
    for (const Case& c : cases) {
        MakerBench bench;
        bench.prepare();
        MiddleRecords r;
        if (c.unitModel)
            r.unit.material = materialFrom(levelFrames(10, -20.0f));
        if (c.onsetModel)
            r.onset.material = materialFrom(levelFrames(10, -40.0f));
        auto at = bench.cursor();
        HalvorenEngineV4::emitMiddlePart(bench.state, r.unit, r.onset, c.secondLen, c.midLen, at);
        EXPECT_TRUE(bench.frames().empty()) << c.what;
        EXPECT_EQ(bench.local, 0) << c.what;
    }
}

}  // namespace
