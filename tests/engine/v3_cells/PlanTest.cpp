#include <gtest/gtest.h>

#include <cmath>

#include "support/engine/CellFixtures.h"
#include "engine/v3/BuildCells.h"
#include "engine/v3_1/BuildCells.h"
#include "engine/v3_1/PrepareCells.h"

namespace {

using namespace HalvorenEngineV3_1;
using celltest::StubSymbols;
using HalvorenEngine::NoteTimes;
using HalvorenEngine::SynthNoteV3;
using HalvorenEngine::SynthScoreV3;

// Notes placed in frames of hop 256 at 44100 Hz, half a frame past the
// frame's start so that truncation is unambiguous.
SynthNoteV3 note256(const std::string& symbol, float startFrame, float frames, float e0 = 1.0f)
{
    SynthNoteV3 n = celltest::note(symbol, 0.0f, 0.0f, e0);
    n.start = (startFrame + 0.5f) * 256.0f / 44100.0f;
    n.duration = frames * 256.0f / 44100.0f;
    return n;
}

// A voice: onset 0 .. onsetEnd, middle to param3, body to param4, end param5.
celltest::VoiceEntry voice(int onsetEnd, int param3, int param4, int param5)
{
    celltest::VoiceEntry v;
    v.values.endPos = onsetEnd;
    v.values.param3 = param3;
    v.values.param4 = param4;
    v.values.param5 = param5;
    v.frames = celltest::numberedFrames(std::max(1, param4 + param5));
    return v;
}

class PlanTest : public ::testing::Test {
protected:
    PlanTest()
    {
        store_.hop = 256;
        store_.voices["ma"] = voice(10, 20, 60, 20);
    }

    std::vector<NoteTimes> plan(const std::vector<SynthNoteV3>& notes, float leadIn = 0.0f)
    {
        StubSymbols symbols;
        symbols.breaths = {"br"};
        symbols.voiced = {"l"};
        CellPlanState state(store_, symbols);
        SynthScoreV3 score = celltest::flatScore();
        score.leadIn = leadIn;
        score.notes = notes;
        std::vector<NoteTimes> out(3);  // emptied first
        prepareCells(state, score, out);
        return out;
    }

    celltest::FakeStore store_;
};

// frames x 256 / 44100 in single precision.
float sec(int frames) { return static_cast<float>(frames) * 256.0f / 44100.0f; }

TEST_F(PlanTest, OneEntryPerNoteInNoteOrder)
{
    EXPECT_TRUE(plan({}).empty());
    // One note: planned after the walk. 100 > 20 + 40 + 10: 10 / 70 / 20.
    const auto one = plan({note256("ma", 20, 100)});
    ASSERT_EQ(one.size(), 1u);
    const std::array<float, 8> want = {sec(20), sec(10), sec(10), sec(10), sec(100), sec(10), sec(70), sec(20)};
    for (int v = 0; v < 8; ++v)
        EXPECT_FLOAT_EQ(one[0].values[v], want[v]) << "value " << v;
    EXPECT_TRUE(one[0].sung);
    // Three notes of 100, 50 and 30 frames: their own layouts, in order.
    const auto three = plan({note256("ma", 20, 100), note256("ma", 200, 50), note256("ma", 300, 30)});
    ASSERT_EQ(three.size(), 3u);
    EXPECT_FLOAT_EQ(three[0].values[kTimeStart], sec(20));
    EXPECT_FLOAT_EQ(three[1].values[kTimeStart], sec(200));
    EXPECT_FLOAT_EQ(three[2].values[kTimeStart], sec(300));
    EXPECT_FLOAT_EQ(three[1].values[kTimeCellLength], sec(50));
    EXPECT_FLOAT_EQ(three[2].values[kTimeCellLength], sec(30));
}

TEST_F(PlanTest, TrimmedOnsetShowsInBothNotes)
{
    struct Case {
        float e0;               // this note's onset: 10 source frames x e0
        float offsetSec, previousSec;
    } cases[] = {
        {3.0f, 0.1160998f, 0.1160998f},  // offset 30: room 10, 2 x 10 < 40: 20 and 20 frames
        {1.5f, 0.0870748f, 0.1451247f},  // offset 15: room 25: 15 and 25 frames
    };
    for (const Case& c : cases) {
        // Previous cell at 100, 40 frames; this one at 140.
        const auto times = plan({note256("ma", 100, 40), note256("ma", 140, 40, c.e0)});
        ASSERT_EQ(times.size(), 2u);
        EXPECT_NEAR(times[1].values[kTimeCellOffset], c.offsetSec, 1e-6f) << c.e0;
        EXPECT_NEAR(times[0].values[kTimeCellLength], c.previousSec, 1e-6f) << c.e0;
    }
}

TEST_F(PlanTest, JoinedUnvoicedInitialKeepsItsWholeOnset)
{
    // "ma" at 100 joined into a syllable at 140 whose recording has its
    // onset over 10 source frames and ratio1 0.5: an unvoiced initial keeps
    // all 10 (sung over trunc(10 x 1) frames), a voiced one 5 over 5.
    struct Case {
        const char* next;
        int onsetLen, offset;
    } cases[] = {{"ta", 10, 10}, {"la", 5, 5}};
    for (const Case& c : cases) {
        store_.voices[c.next] = voice(10, 20, 60, 20);
        SynthNoteV3 first = note256("ma", 100, 40);
        first.breakAfter = 0;
        const auto times = plan({first, note256(c.next, 140, 40)});
        ASSERT_EQ(times.size(), 2u);
        EXPECT_FLOAT_EQ(times[1].values[kTimeOnsetLen], sec(c.onsetLen)) << c.next;
        EXPECT_FLOAT_EQ(times[1].values[kTimeCellOffset], sec(c.offset)) << c.next;
    }
}

TEST_F(PlanTest, BreathLiesAtTheEndOfItsNote)
{
    celltest::VoiceEntry breath = voice(10, 10, 30, 10);  // 30 + 10 - 10 = 30 source frames
    store_.voices["br"] = breath;
    const auto times = plan({note256("br", 20, 100)});
    ASSERT_EQ(times.size(), 1u);
    const NoteTimes& t = times[0];
    EXPECT_FLOAT_EQ(t.values[kTimeStart], sec(60));  // 20 + 40
    EXPECT_NEAR(t.values[kTimeCellLength], 0.3482993f, 1e-6f);  // 60 frames
    EXPECT_EQ(t.values[kTimeEndLen], t.values[kTimeCellLength]);
    for (int v : {1, 2, 3, 5, 6})
        EXPECT_EQ(t.values[v], 0.0f) << "value " << v;

    // A damaged record whose length comes out negative: no breath, at the
    // note's end, instead of one starting after it.
    store_.voices["br"] = voice(40, 10, 20, 5);  // 20 + 5 - 40 = -15
    const auto damaged = plan({note256("br", 20, 100)});
    EXPECT_FLOAT_EQ(damaged[0].values[kTimeStart], sec(120));
    EXPECT_EQ(damaged[0].values[kTimeCellLength], 0.0f);
}

TEST_F(PlanTest, StartIsTheNotesStartWithinOneFrame)
{
    for (float leadIn : {0.0f, 1.0f, 0.3f}) {
        const SynthNoteV3 first = note256("ma", 0, 100);
        const auto times = plan({first}, leadIn);
        ASSERT_EQ(times.size(), 1u);
        EXPECT_NEAR(times[0].values[kTimeStart], first.start, 256.0f / 44100.0f) << leadIn;
    }
}

TEST_F(PlanTest, PartLayouts)
{
    // srcLen 20, b - a = 30, secondLen 10.
    store_.voices["ma"] = voice(10, 20, 50, 20);
    struct Case {
        int L;
        bool elementTimes;
        int mid, body, end;
    } cases[] = {
        {100, false, 10, 70, 20},  // 100 > 20 + 30 + 10
        {50, false, 15, 15, 20},   // end 20, 30 left: body 15, middle 15
        {30, false, 8, 7, 15},     // q = 30 x 0.5 / 20 = 0.75: end 15, body 15 / 2
        {100, true, 25, 50, 25},   // 1 : 2 : 1
    };
    for (const Case& c : cases) {
        SynthNoteV3 n = note256("ma", 20, static_cast<float>(c.L));
        n.elemFlag = c.elementTimes ? 1 : 0;
        n.elemTime1 = 1.0f;
        n.elemTime2 = 2.0f;
        n.elemTime3 = 1.0f;
        const auto times = plan({n});
        ASSERT_EQ(times.size(), 1u);
        EXPECT_FLOAT_EQ(times[0].values[kTimeMidLen], sec(c.mid)) << c.L << " " << c.elementTimes;
        EXPECT_FLOAT_EQ(times[0].values[kTimeBodyLen], sec(c.body)) << c.L << " " << c.elementTimes;
        EXPECT_FLOAT_EQ(times[0].values[kTimeEndLen], sec(c.end)) << c.L << " " << c.elementTimes;
    }
}

TEST_F(PlanTest, MissingRecordsGiveStartAndLengthOnly)
{
    for (const char* symbol : {"xa", "br"}) {  // an unknown unit, a breath without its recording
        const auto times = plan({note256(symbol, 20, 100)});
        ASSERT_EQ(times.size(), 1u) << symbol;
        EXPECT_FLOAT_EQ(times[0].values[kTimeStart], sec(20)) << symbol;
        EXPECT_FLOAT_EQ(times[0].values[kTimeCellLength], sec(100)) << symbol;
        for (int v : {1, 2, 3, 5, 6, 7})
            EXPECT_EQ(times[0].values[v], 0.0f) << symbol << " value " << v;
        EXPECT_FALSE(times[0].sung) << symbol;  // the note sings nothing
    }
}

// A phrase with every end-part kind, a breath and a trimmed onset, in a
// bank at hop 128 whose symbols split at their first letter.
class PlanAgainstLoopTest : public ::testing::Test {
protected:
    PlanAgainstLoopTest()
    {
        for (const char* unit : {"ma", "sa", "la", "a", "ta", "br"})
            store_.voices[unit] = voice(10, 20, 60, 20);
        store_.voices["br"] = voice(10, 10, 30, 10);  // 30 source frames of breath
        for (const char* unit : {"a_s", "a_l"})
            store_.continuants[unit] = {0, 16, celltest::numberedFrames(16)};
    }

    std::unique_ptr<StubSymbols> symbols() const
    {
        auto s = std::make_unique<StubSymbols>();
        s->breaths = {"br"};
        s->finals = {"a"};
        s->voiced = {"l"};
        return s;
    }

    static SynthScoreV3 phrase()
    {
        SynthScoreV3 score = celltest::flatScore();
        score.leadIn = 0.05f;
        auto joined = [](const std::string& symbol, float at) {
            SynthNoteV3 n = celltest::note(symbol, at, 40.0f);
            n.breakAfter = 0;
            return n;
        };
        score.notes = {
            joined("ma", 20),                 // into "sa": continuant a_s, kind 1
            joined("sa", 60),                 // into "la": a_l, voiced, kind 2
            joined("la", 100),                // into the bare final "a": kind 3
            joined("a", 140),                 // into "ta": no continuant, kind 0
            celltest::note("ta", 180, 40),    // 180 .. 220
            celltest::note("ma", 225, 40, 3.0f),  // onset 30 reaches back to 195: trimmed
            celltest::note("br", 280, 100),   // breath over the last 60 frames
        };
        return score;
    }

    // Frame and running count of every frame, in the order made.
    using Made = std::vector<std::pair<int, int>>;

    Made sung(HalvorenEngineV3::CellBuilder builder)
    {
        HalvorenEngineV3::CellMakerState state(store_, symbols());
        state.setStop(false);
        HalvorenEngine::CellListCache list;
        SynthScoreV3 score = phrase();
        builder(state, score, list);
        Made out;
        for (const auto& f : list.frames())
            out.emplace_back(f->index, f->localIndex);
        return out;
    }

    // The frames the plan says are made, part by part, from its seconds.
    Made planned()
    {
        const auto planSymbols = symbols();
        CellPlanState state(store_, *planSymbols);
        SynthScoreV3 score = phrase();
        std::vector<NoteTimes> times;
        prepareCells(state, score, times);
        EXPECT_EQ(times.size(), score.notes.size());
        auto frames = [](float seconds) { return static_cast<int>(std::lround(seconds * 44100.0f / 128.0f)); };
        Made out;
        for (std::size_t k = 0; k < times.size(); ++k) {
            const auto& v = times[k].values;
            const int start = frames(v[kTimeStart] + score.leadIn);
            if (score.notes[k].symbol == "br") {
                for (int i = 0; i < frames(v[kTimeCellLength]); ++i)
                    out.emplace_back(start + i, i);
                continue;
            }
            const int offset = frames(v[kTimeCellOffset]);
            const int parts[4] = {frames(v[kTimeCellOffset]), frames(v[kTimeMidLen]), frames(v[kTimeBodyLen]),
                                  frames(v[kTimeEndLen])};
            // Onset and middle part are made only from recorded frames.
            const bool made[4] = {v[kTimeOnsetLen] > 0.0f, v[kTimeSecondLen] > 0.0f, true, true};
            int local = 0;
            for (int p = 0; p < 4; ++p)
                for (int i = 0; i < parts[p]; ++i, ++local)
                    if (made[p])
                        out.emplace_back(start - offset + local, local);
        }
        return out;
    }

    celltest::FakeStore store_;
};

TEST_F(PlanAgainstLoopTest, PhraseHasEveryKindAndATrim)
{
    HalvorenEngineV3::CellMakerState state(store_, symbols());
    HalvorenEngineV3::CachedCellRecords records(state);
    SynthScoreV3 score = phrase();
    std::vector<int> kinds;
    std::vector<int> offsets;
    std::vector<CellRecord> cells;
    const auto timing = HalvorenEngineV3::walkTimingOf(44100.0f, 128, score.leadIn);
    for (std::size_t k = 0; k < score.notes.size(); ++k)
        walkNote(state.symbols(), records, score, k, timing, cells);
    for (const CellRecord& cell : cells) {
        kinds.push_back(layoutCell(state.symbols(), records, cell).kind);
        offsets.push_back(cell.cellOffset);
    }
    EXPECT_EQ(kinds, (std::vector<int>{1, 2, 3, 0, 0, 0, 0}));
    // "ta" keeps 20 of its 40 frames; the onset of "ma" starts right after: 225 - 20 - 180.
    ASSERT_EQ(offsets.size(), 7u);
    EXPECT_EQ(offsets[5], 25);
}

TEST_F(PlanAgainstLoopTest, PlanHoldsTheFramesTheLoopMakes)
{
    const Made want = planned();
    // Banks "3.1" to "3.3", then "3.4" and "3.5" (whose cells are made alike).
    for (HalvorenEngineV3::CellBuilder builder : {&HalvorenEngineV3::buildCells, &HalvorenEngineV3_1::buildCells}) {
        const Made got = sung(builder);
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            ASSERT_EQ(got[i], want[i]) << "frame " << i;
    }
}

}  // namespace
