#include <gtest/gtest.h>

#include "SynthSegment.h"
#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "render/synth/ScoreFillV1.h"
#include "support/engine/TestCore.h"

namespace {

using namespace synthtest;
using HalvorenEngine::SynthNoteV1;
using HalvorenEngine::SynthScoreV1;

void expectNotes(const std::vector<SynthNoteV1>& got, const std::vector<SynthNoteV1>& expected)
{
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].start, expected[i].start, 1e-6) << "record " << i;
        EXPECT_NEAR(got[i].duration, expected[i].duration, 1e-6) << "record " << i;
        EXPECT_EQ(got[i].symbol, expected[i].symbol) << "record " << i;
        EXPECT_EQ(got[i].pitch, expected[i].pitch) << "record " << i;
    }
}

TEST(ScoreFillV1, OneRecordPerPinyinNote)
{
    SynthSegment s;
    s.add(0, 480, 58, "ba");
    SynthScoreV1 score;
    ASSERT_TRUE(fillScoreV1(s.seg, s.tempos, 0, 1920, 1.5f, score, nullptr));
    // Start 1920 / 960 - 2.0 = 0; the last tick 2399 / 960 - 2.0 = 0.4989583.
    expectNotes(score.notes, {{0.0f, 0.4989583f, "ba", "G4"}});
    EXPECT_EQ(score.leadIn, 1.5f);
    // Default curves at -1 and 1921, around the note's ticks 0 .. 479.
    ASSERT_EQ(score.amplitude.size(), 2u);
    EXPECT_NEAR(score.amplitude[0].seconds, -1 / 960.0f, 1e-6);
    EXPECT_NEAR(score.amplitude[1].seconds, 1921 / 960.0f, 1e-6);
    EXPECT_EQ(score.amplitude[1].value, 0.0f);
    ASSERT_FALSE(score.pitch.empty());
    EXPECT_EQ(score.pitch.front().value, 220.0f);  // key 58 at 5850
}

TEST(ScoreFillV1, SymbolRules)
{
    SynthSegment s;
    s.add(0, 240, 58, "xyz");    // not pinyin and first: dropped
    s.add(240, 480, 58, "ba");
    s.add(720, 240, 58, "xyz");  // lengthens "ba" to its last tick 959
    s.add(960, 240, 58, "nue");
    s.add(1200, 240, 58, "");
    s.add(1440, 240, 58, "lue");
    SynthScoreV1 score;
    ASSERT_TRUE(fillScoreV1(s.seg, s.tempos, 0, 1920, 0.0f, score, nullptr));
    // "ba": from 0.25 s to 959 / 960 = 0.9989583 s.
    expectNotes(score.notes, {{0.25f, 0.7489583f, "ba", "G4"},
                              {1.0f, 0.2489583f, "nve", "G4"},
                              {1.25f, 0.2489583f, "la", "G4"},
                              {1.5f, 0.2489583f, "lve", "G4"}});
}

TEST(ScoreFillV1, RangeAndNothingTaken)
{
    SynthSegment s;
    s.add(0, 480, 58, "ba");
    s.add(480, 480, 58, "ma");
    s.add(960, 480, 58, "la");
    SynthScoreV1 score;
    // From 400: the note at 480 is the first; toTick 1000 ends before the
    // note ending at 1439.
    ASSERT_TRUE(fillScoreV1(s.seg, s.tempos, 400, 1000, 0.0f, score, nullptr));
    expectNotes(score.notes, {{0.5f, 0.4989583f, "ma", "G4"}});

    score.notes.push_back({});
    EXPECT_FALSE(fillScoreV1(s.seg, s.tempos, 1500, 1920, 0.0f, score, nullptr));
    EXPECT_TRUE(score.notes.empty());
}

TEST(ScoreFillV1, SynthesizerPreparesTheJobAndTheSecondGenerationSamplesPower)
{
    HalvorenEngine::CleanGarbageSynthRunnable manager(1);
    HalvorenEngine::setEngineManagerOverride(&manager);
    {
        SynthSegment s;
        s.add(0, 480, 58, "ba");
        s.seg.curve(kPowerCurve).nodes = NodeContainer{{-1, 64}, {1921, 64}};
        HalvorenEngineTest::TestSynthV2 v2;
        ASSERT_TRUE(v2.loadSegment(&s.seg, s.tempos, 0, 1920, 1.0f));
        ASSERT_EQ(v2.front()->score().power.size(), 2u);
        EXPECT_EQ(v2.front()->score().power[0].value, -0.5f);
        int count = 0;
        EXPECT_NE(v2.getOutput(&count), nullptr);
        EXPECT_GT(count, 0);

        HalvorenEngineTest::TestSynthV1 v1;
        EXPECT_FALSE(v1.loadSegment(&s.seg, s.tempos, 500, 1920, 1.0f));
        v1.getOutput(&count);
        EXPECT_EQ(count, 0);  // not prepared
    }
    HalvorenEngine::setEngineManagerOverride(nullptr);
}

}  // namespace
