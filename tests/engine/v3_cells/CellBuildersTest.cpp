#include <gtest/gtest.h>

#include <cmath>

#include "engine/v3/CellMakers.h"
#include "engine/v3/CellParts.h"
#include "lyrics/NullSymbolMgr.h"
#include "support/engine/CellFixtures.h"

namespace {

using namespace HalvorenEngineV3;

class CellBuildersTest : public ::testing::Test {
protected:
    CellBuildersTest() : state_(store_, std::make_unique<Halvoren::NullSymbolMgr>()) {}

    void prepare(const HalvorenEngine::SynthScoreV3& score) { state_.prepare(score); }
    const std::vector<std::unique_ptr<HalvorenEngine::SynthFrame>>& frames() const { return list_.frames(); }

    celltest::FakeStore store_;
    CellMakerState state_;
    HalvorenEngine::CellListCache list_;
    int local_ = 0;
};

TEST_F(CellBuildersTest, ModelPartStretchesSourceFramesOntoTheOutput)
{
    prepare(celltest::flatScore());
    auto model = celltest::materialFrom(celltest::numberedFrames(10));
    CellCursor at{0, local_, list_, nullptr};
    emitModelPart(state_, *model, 0, 10, 20, at, false);
    // step 10 / 20 = 0.5: positions 0, 0.5, 1, 1.5, ... read 0, 0, 1, 1, ...
    ASSERT_EQ(frames().size(), 20u);
    for (int k = 0; k < 20; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(frames()[k]->mags.ptrBegin()[0], -static_cast<float>(k / 2));
        EXPECT_EQ(frames()[k]->index, k);
        EXPECT_EQ(frames()[k]->localIndex, k);
    }
    EXPECT_EQ(local_, 20);
}

TEST_F(CellBuildersTest, EmptyPartsMakeNoFrame)
{
    prepare(celltest::flatScore());
    auto model = celltest::materialFrom(celltest::numberedFrames(10));
    auto empty = celltest::materialFrom({});
    CellCursor at{0, local_, list_, nullptr};
    emitModelPart(state_, *model, 0, 10, 0, at, false);
    emitModelPart(state_, *model, 0, 0, 10, at, false);
    emitModelPart(state_, *empty, 0, 10, 10, at, false);
    EXPECT_TRUE(frames().empty());
    EXPECT_EQ(local_, 0);
}

TEST_F(CellBuildersTest, PositionsPastTheModelReadItsLastFrame)
{
    prepare(celltest::flatScore());
    auto model = celltest::materialFrom(celltest::numberedFrames(4));
    CellCursor at{0, local_, list_, nullptr};
    emitModelPart(state_, *model, 2, 8, 4, at, false);  // positions 2, 4, 6, 8 -> 2, 3, 3, 3
    ASSERT_EQ(frames().size(), 4u);
    const float want[] = {-2.0f, -3.0f, -3.0f, -3.0f};
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(frames()[k]->mags.ptrBegin()[0], want[k]) << k;
}

TEST(CellMakerWeights, MergeFadesFromTheRecordingOverFortyPercent)
{
    // K = trunc(0.4 * 10) = 4: (4 - i) / 4.
    const float want[] = {1.0f, 0.75f, 0.5f, 0.25f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    for (int i = 0; i < 10; ++i)
        EXPECT_FLOAT_EQ(CellMakerCore_FromStdModelAndSrcModel_merge::fadeWeight(i, 4), want[i]) << i;
}

TEST(CellMakerWeights, LoopWalksBackAndForth)
{
    LoopWalk walk(3);
    const int want[] = {0, 1, 2, 3, 2, 1, 0, 1};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(walk.next(), want[i]) << i;
    LoopWalk back(-2);
    const int wantBack[] = {0, -1, -2, -1, 0, -1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(back.next(), wantBack[i]) << i;
    LoopWalk none(0);
    EXPECT_EQ(none.next(), 0);
    EXPECT_EQ(none.next(), 0);
}

TEST(CellMakerWeights, GenderBlend)
{
    struct Case {
        float v, upper, neutral, lower, want;
    } cases[] = {
        {1.0f, 0.85f, 1.0f, 1.25f, 0.85f},
        {-1.0f, 0.85f, 1.0f, 1.25f, 1.25f},
        {0.5f, 0.85f, 1.0f, 1.25f, 0.925f},   // 0.5 * 0.85 + 0.5
        {-0.5f, 0.85f, 1.0f, 1.25f, 1.125f},  // 0.5 + 0.625
        {1.0f, 0.8f, 0.9f, 1.3f, 0.8f},
        {2.0f, 0.85f, 1.0f, 1.25f, 0.85f},    // clamped at upper
    };
    for (const Case& c : cases)
        EXPECT_NEAR(applyCurveBlend(c.v, c.upper, c.neutral, c.lower), c.want, 1e-6f) << c.v;
}

TEST_F(CellBuildersTest, StoreRatiosAreThousandths)
{
    store_.ratios[0] = 900;
    store_.ratios[1] = 800;
    store_.ratios[2] = 1300;
    HalvorenEngine::SynthScoreV3 score = celltest::flatScore();
    score.curves[HalvorenEngine::kScoreGender] = {{0.0f, 1.0f}};
    prepare(score);
    EXPECT_NEAR(state_.blendGenderAt(0.0f), 0.8f, 1e-6f);
}

TEST_F(CellBuildersTest, TwoModelMergeStartsOnTheFirstAnchor)
{
    prepare(celltest::flatScore());
    auto first = celltest::numberedFrames(5, -20.0f);
    auto second = celltest::numberedFrames(5, -40.0f);
    for (auto& f : second)
        f.bands.assign(64, -10.0f);
    auto a = celltest::materialFrom(first);
    auto b = celltest::materialFrom(second);
    CellMakerCore_ByMergeTwoModel merge;
    merge.init(state_.makerSetting());
    merge.setUp(*a, 2, *b, 1, 10, 0, 0);
    CellMakerCore_FromStdModel plain(*a);
    plain.init(state_.makerSetting());
    plain.setModel(2, 1, 1, 0, 0);
    Halvoren::PeakList got, want;
    Halvoren::FrameMags gotResidual, wantResidual;
    float gain = 1.0f, plainGain = 1.0f;
    merge.make(0, got, gotResidual, gain);
    plain.make(0, want, wantResidual, plainGain);
    ASSERT_FALSE(want.empty());
    EXPECT_EQ(got.freqs, want.freqs);
    EXPECT_EQ(got.mags, want.mags);
    EXPECT_EQ(gotResidual.ptrBegin()[0], -2.0f);
    EXPECT_EQ(gain, 0.0f);
    // Half way the levels lie between -20 and -40 dB.
    merge.make(5, got, gotResidual, gain);
    EXPECT_LT(got.mags[2], -20.0f);
    EXPECT_GT(got.mags[2], -40.0f);
}

TEST_F(CellBuildersTest, BandDeltaRaisesThePeaksItCovers)
{
    prepare(celltest::flatScore());
    auto model = celltest::materialFrom(celltest::numberedFrames(4));
    // Source frame 0 is the reference; frame 1 is 6 dB up in the bands
    // between 600 and 1600 Hz.
    auto sourceFrames = celltest::numberedFrames(2);
    const auto& axis = state_.bandAxis();
    for (std::size_t i = 0; i < axis.size(); ++i)
        if (axis[i] > 600.0f && axis[i] < 1600.0f)
            sourceFrames[1].bands[i] += 6.0f;
    auto source = celltest::materialFrom(sourceFrames);
    SourceDrive drive{model.get(), 1, 1, source.get(), 0};
    CellCursor at{0, local_, list_, nullptr};
    emitSourcePart(state_, drive, 0, 2, 2, at);
    ASSERT_EQ(frames().size(), 2u);
    const Halvoren::PeakList& flat = frames()[0]->peaks;
    const Halvoren::PeakList& raised = frames()[1]->peaks;
    ASSERT_EQ(flat.size(), raised.size());
    for (std::size_t k = 0; k < flat.size(); ++k) {
        const float f = flat.freqs[k];
        if (f > 850.0f && f < 1150.0f) {  // harmonics 4 and 5: 880, 1100 Hz
            EXPECT_NEAR(raised.mags[k] - flat.mags[k], 6.0f, 0.1f) << f;
        }
        if (f > 3000.0f) {
            EXPECT_NEAR(raised.mags[k] - flat.mags[k], 0.0f, 1e-4f) << f;
        }
    }
}

TEST_F(CellBuildersTest, FramesReadTheCurvesAtTheirTime)
{
    HalvorenEngine::SynthScoreV3 score;
    score.leadIn = 0.1f;
    score.curves[HalvorenEngine::kScorePitch] = {{0.0f, 100.0f}, {10.0f, 1100.0f}};  // 100 Hz per second
    prepare(score);
    auto model = celltest::materialFrom(celltest::numberedFrames(4));
    CellCursor at{100, local_, list_, nullptr};
    emitModelPart(state_, *model, 0, 4, 4, at, false);
    ASSERT_EQ(frames().size(), 4u);
    const float T = 128.0f / 44100.0f;
    for (int k = 0; k < 4; ++k) {
        const float t = static_cast<float>(100 + k) * T - 0.1f;  // about 0.19 s
        EXPECT_NEAR(frames()[k]->curveA, 100.0f + 100.0f * t, 1e-3f) << k;
        // The harmonics are those of the pitch at that time.
        EXPECT_NEAR(frames()[k]->peaks.freqs[0], 100.0f + 100.0f * t, 1e-3f) << k;
    }
}

}  // namespace
