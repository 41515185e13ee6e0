#include <cmath>

#include "LoopFixture.h"

namespace {

using namespace v6test;

struct RecordingListener : HalvorenEngineV6::ICellBuildingListener {
    void onCellBuilt(Halvoren::SynthFrameV6& frame) override { frames.push_back(frame); }
    std::vector<Halvoren::SynthFrameV6> frames;
};

class EmitterTest : public LoopTest {
protected:
    // Curves rising from 0 at 0 s to 0.25 at 1 s (Power to 0.5, Breath to
    // 0.75, Brightness to 1, so that each is told apart within the curves'
    // range), Gender constant.
    void curves(float gender)
    {
        score.leadIn = 0.5f;
        for (auto& curve : score.curves)
            curve.clear();
        const HalvorenEngine::ScoreCurve rising[] = {HalvorenEngine::kScoreAmplitude, HalvorenEngine::kScorePower,
                                                     HalvorenEngine::kScoreBreath, HalvorenEngine::kScoreBrightness};
        for (int i = 0; i < 4; ++i)
            score.curves[rising[i]] = {{0.0f, 0.0f}, {1.0f, 0.25f * static_cast<float>(i + 1)}};
        score.curves[HalvorenEngine::kScoreGender] = {{0.0f, gender}, {2.0f, gender}};
        state.prepare(score);
    }
};

TEST_F(EmitterTest, FrameTakesTheCurvesAtItsTime)
{
    curves(0.0f);
    RecordingListener listener;
    state.setListener(&listener);
    HalvorenEngine::CellListCache list;
    Halvoren::SynthFrameV6 frame;
    frame.levelDb = -3.0f;
    frame.glottalShape = 7;
    std::int32_t counter = 0;
    state.emitFrame(frame, 200, counter, list);
    ASSERT_EQ(listener.frames.size(), 1u);
    const Halvoren::SynthFrameV6& f = listener.frames[0];
    // t = 200 * 256 / 44100 - 0.5 = 0.66100.
    const float t = 0.66100f;
    EXPECT_EQ(f.index, 200);
    EXPECT_EQ(f.localIndex, 0);
    EXPECT_EQ(counter, 1);
    EXPECT_NEAR(f.breath, 0.25f * t, 1e-4);
    EXPECT_NEAR(f.power, 0.5f * t, 1e-4);
    EXPECT_NEAR(f.noiseGain, 0.75f * t, 1e-4);
    EXPECT_NEAR(f.brightness, t, 1e-4);
    EXPECT_FLOAT_EQ(f.warpRatio, 1.0f);
    // What the maker set travels unchanged.
    EXPECT_EQ(f.levelDb, -3.0f);
    EXPECT_EQ(f.glottalShape, 7);
    EXPECT_EQ(f.unvoiced, 0);
    EXPECT_TRUE(list.framesV6().empty());
}

TEST_F(EmitterTest, GenderBlendsBetweenTheBankRatios)
{
    // Ratios 1.0 (gender 0), 0.85 (+1), 1.25 (-1).
    const struct {
        float gender;
        float ratio;
    } cases[] = {{1.0f, 0.85f}, {-1.0f, 1.25f}, {0.5f, 0.925f}, {0.0f, 1.0f}};
    for (const auto& c : cases) {
        curves(c.gender);
        HalvorenEngine::CellListCache list;
        Halvoren::SynthFrameV6 frame;
        std::int32_t counter = 0;
        state.emitFrame(frame, 10, counter, list);
        ASSERT_EQ(list.framesV6().size(), 1u) << c.gender;
        EXPECT_NEAR(list.framesV6()[0]->warpRatio, c.ratio, 1e-6) << c.gender;
    }
}

TEST_F(EmitterTest, FramesBeforeTheFirstAreDroppedButCounted)
{
    curves(0.0f);
    HalvorenEngine::CellListCache list;
    Halvoren::SynthFrameV6 frame;
    std::int32_t counter = 0;
    for (int i = 0; i < 4; ++i)
        state.emitFrame(frame, -2, counter, list);
    EXPECT_EQ(counter, 4);
    ASSERT_EQ(list.framesV6().size(), 2u);
    EXPECT_EQ(list.framesV6()[0]->index, 0);
    EXPECT_EQ(list.framesV6()[0]->localIndex, 2);
    EXPECT_EQ(list.framesV6()[1]->index, 1);
    EXPECT_EQ(list.lastIndex(), 1);
}

TEST_F(EmitterTest, FormatAboveSixOneMarksTrackB)
{
    const struct {
        std::int32_t major, minor;
        std::uint8_t trackB;
    } cases[] = {{6, 0, 0}, {6, 1, 0}, {6, 2, 1}, {7, 0, 1}};
    for (const auto& c : cases) {
        store.major = c.major;
        store.minor = c.minor;
        state.attachStore(store);
        curves(0.0f);
        HalvorenEngine::CellListCache list;
        Halvoren::SynthFrameV6 frame;
        std::int32_t counter = 0;
        state.emitFrame(frame, 0, counter, list);
        ASSERT_EQ(list.framesV6().size(), 1u);
        EXPECT_EQ(list.framesV6()[0]->trackB, c.trackB) << c.major << "." << c.minor;
    }
}

}  // namespace
