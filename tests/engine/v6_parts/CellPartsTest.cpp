#include <algorithm>
#include <cmath>
#include <numeric>

#include "PartsFixture.h"

using HalvorenEngineV6::CellRecord;

namespace v6test {
namespace {

class CellParts : public PartsTest {
protected:
    static std::vector<int> range(int from, int to)
    {
        std::vector<int> v(static_cast<std::size_t>(to - from));
        std::iota(v.begin(), v.end(), from);
        return v;
    }
};

TEST_F(CellParts, ConsonantBeforeTheStartThenEveryFrameOfTheCell)
{
    // L 60 <= 20 + 30 + 10: tail 20, head min(20, 10) = 10, body 30.
    make(cellOf("ka", "a", 6, 60));
    EXPECT_EQ(indices(), range(94, 160));
    ASSERT_EQ(frames.size(), 66u);
    EXPECT_EQ(frames[6].index, 100);  // the head starts on the note
    EXPECT_EQ(frames[6].localIndex, 6);
}

TEST_F(CellParts, HeadMovesLinearlyFromTheSyllableIntoTheUnitsBody)
{
    make(cellOf("ka", "a", 6, 60));
    ASSERT_EQ(frames.size(), 66u);
    // Head frames 6 .. 15 (n = 10), body from 16.
    const float x = frames[6].peaks.mags.at(0);
    const float m = frames[16].peaks.mags.at(0);
    EXPECT_NEAR(m - x, 10.0f, 0.05f);  // -10 against -20 dB
    EXPECT_NEAR(frames[11].peaks.mags.at(0), 0.5f * (x + m), 0.01f);
    for (int i = 0; i < 10; ++i) {
        const float expected = x + (m - x) * static_cast<float>(i) / 10.0f;
        EXPECT_NEAR(frames[6 + i].peaks.mags.at(0), expected, 0.01f) << "head frame " << i;
    }
}

TEST_F(CellParts, UnvoicedHeadFramesHaveNoHarmonicsRowZeroAndReference300)
{
    Frames frames80 = voicedFrames(80, -20.0f);
    for (int k = 10; k < 20; ++k)
        frames80[k] = flatFrame(0.0f, -20.0f, 120);
    store.voices["ka"].frames = frames80;
    make(cellOf("ka", "a", 6, 60));
    ASSERT_GE(frames.size(), 16u);
    for (int i = 6; i < 16; ++i) {
        EXPECT_TRUE(frames[i].peaks.empty()) << i;
        EXPECT_EQ(frames[i].glottalShape, 0) << i;
        EXPECT_EQ(frames[i].refValue, 300.0f) << i;
        EXPECT_EQ(frames[i].levelDb, 0.0f) << i;
    }
}

TEST_F(CellParts, TailWithoutItsRecordsIsLeftOutAndTheRestIsMade)
{
    // Joined to "ma" through the continuant a_m, but neither ma's nor its
    // unit's record exists: mode 2 has no model to move into.
    store.continuants["a_m"] = {0, 20, voicedFrames(30, -12.0f)};
    CellRecord cell = cellOf("ka", "a", 6, 60);
    cell.transition = 1;
    cell.names.nextSymbol = "ma";
    cell.names.nextInitial = "m";
    cell.names.nextUnit = "ma";
    cell.names.nextTimbre = "C4";
    make(cell);
    EXPECT_EQ(indices(), range(94, 140));  // consonant 6, head 10, body 30
}

TEST_F(CellParts, BodyWithoutFramesKeepsItsPlaceBeforeTheTail)
{
    store.voices["a"].marks[3] = 0;  // m = 0
    // L 60 > 20 + 0 + 10: head 10, tail 20, body 30 that makes nothing.
    make(cellOf("ka", "a", 6, 60));
    std::vector<int> expected = range(94, 110);
    const std::vector<int> tail = range(140, 160);
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(indices(), expected);
}

TEST_F(CellParts, BreathEndsWhereTheNextConsonantBegins)
{
    CellRecord cell = cellOf("br1", "br1", 0, 20);
    cell.overlapOut = 5;
    make(cell);
    // total 20 - 5 = 15 frames; the span 18 cut by trunc(5 / 20 * 18) = 4.
    EXPECT_EQ(indices(), range(100, 115));
    const HalvorenEngineV6::VoiceSrc* cached = state.cache().getVoiceSrc(store, "br1", "C4");
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(cached->v6Param2, 3);  // v6Param1 + 1
}

TEST_F(CellParts, ConsonantAfterABreathCrossesOutOfItOverTheOverlap)
{
    CellRecord cell = cellOf("ka", "a", 30, 60);
    cell.afterBreath = 1;
    cell.overlapIn = 8;
    cell.prevCellFrames = 20;
    cell.names.prevSymbol = "br1";
    cell.names.prevTimbre = "C4";
    make(cell);
    ASSERT_GE(frames.size(), 12u);
    // Noise bands 40 dB below the harmonics: -100 dB in the breath, -60 in
    // the consonant; the consonant's weight is i / 8 over the overlap.
    for (int i = 0; i < 12; ++i) {
        const float w = i < 8 ? static_cast<float>(i) / 8.0f : 1.0f;
        EXPECT_NEAR(frames[i].noiseBands[0], -100.0f + 40.0f * w, 1e-3f) << "consonant frame " << i;
    }
}

TEST_F(CellParts, ConsonantFadesInOnlyAfterSilenceIntoAPlainUnit)
{
    // The fade over min(18, o) frames: -120 dB, then 20 log10(i / 18):
    // -25.105 dB at i = 1, -6.021 dB at i = 9.
    struct Case {
        const char* name;
        bool followsTransition, initialClass2, dashedUnit;
        bool fades;
    };
    const Case cases[] = {
        {"after silence", false, true, false, true},
        {"class clear", false, false, false, false},
        {"joined from the note before", true, true, false, false},
        {"unit sung after a vowel", false, true, true, false},
    };
    for (const Case& c : cases) {
        if (c.dashedUnit)
            store.voices["-a"] = store.voices["a"];
        else
            store.voices.erase("-a");
        CellRecord cell = cellOf("ka", "a", 20, 60);
        cell.followsTransition = c.followsTransition ? 1 : 0;
        cell.initialClass2 = c.initialClass2 ? 1 : 0;
        make(cell);
        ASSERT_GE(frames.size(), 20u) << c.name;
        EXPECT_NEAR(frames[0].levelDb, c.fades ? -120.0f : 0.0f, 1e-3f) << c.name;
        EXPECT_NEAR(frames[1].levelDb, c.fades ? -25.105f : 0.0f, 1e-3f) << c.name;
        EXPECT_NEAR(frames[9].levelDb, c.fades ? -6.021f : 0.0f, 1e-3f) << c.name;
        EXPECT_NEAR(frames[19].levelDb, 0.0f, 1e-3f) << c.name;
    }
}

TEST_F(CellParts, InvalidSkippedAndNonFrameCellsMakeNothing)
{
    CellRecord invalid = cellOf("ka", "a", 6, 60);
    invalid.valid = 0;
    make(invalid);
    EXPECT_TRUE(frames.empty());
    CellRecord skipped = cellOf("ka", "a", 6, 60);
    skipped.skip = 1;
    make(skipped);
    EXPECT_TRUE(frames.empty());
    // A breath with no frames left after its overlap.
    CellRecord breath = cellOf("br1", "br1", 0, 5);
    breath.overlapOut = 5;
    make(breath);
    EXPECT_TRUE(frames.empty());
}

}  // namespace
}  // namespace v6test
