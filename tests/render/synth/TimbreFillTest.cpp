#include <gtest/gtest.h>

#include <bit>

#include "SynthSegment.h"
#include "engine/CleanGarbageSynthRunnable.h"
#include "engine/EngineManager.h"
#include "render/synth/FillNotesFromSynth.h"
#include "support/engine/TestCore.h"

namespace {

using namespace synthtest;
using namespace HalvorenEngineTest;
using HalvorenEngine::SynthNoteV3;

class TimbreFill : public ::testing::Test {
protected:
    TimbreFill() { HalvorenEngine::setEngineManagerOverride(&manager_); }
    ~TimbreFill() override { HalvorenEngine::setEngineManagerOverride(nullptr); }

    // The records of a load of the whole segment.
    const std::vector<SynthNoteV3>& load(TestTimbreSynth& synth)
    {
        synth.loadSegment(&s.seg, s.tempos, 0, 1920, 1.5f);
        return synth.body().notes;
    }

    HalvorenEngine::CleanGarbageSynthRunnable manager_{1};
    SynthSegment s;
};

TEST_F(TimbreFill, OnlyNotesInsideTheSegmentAreSung)
{
    Note& before = s.add(-10, 100, 52, "a");
    Note& inside = s.add(0, 480, 52, "a");
    Note& past = s.add(1800, 200, 52, "a");  // last tick 1999 past 1919
    auto synth = makeTestTimbreSynth();
    const auto& notes = load(*synth);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_FLOAT_EQ(notes[0].duration, 0.4989583f);
    EXPECT_FALSE(before.renderFlag);
    EXPECT_TRUE(inside.renderFlag);
    EXPECT_FALSE(past.renderFlag);
}

TEST_F(TimbreFill, ContinuationAndZeroNotes)
{
    Note& dropped = s.add(0, 240, 52, "-");
    Note& first = s.add(240, 240, 52, "ba");
    first.elemTimesSet = false;
    first.timeFactor1 = 0.5f, first.timesFlag = 3, first.timeFactor2 = 0.6f, first.timeFactor3 = 0.7f,
    first.timeFactor4 = 0.8f;
    first.crossSymbol = "ma";
    Note& more = s.add(480, 480, 52, "-");
    Note& zero = s.add(960, 240, 52, "0");
    zero.crossSymbol = "x";
    zero.timeFactor1 = 2.0f;
    Note& last = s.add(1200, 240, 52, "ma");
    last.elemTimesSet = true;
    dropped.renderFlag = more.renderFlag = zero.renderFlag = true;

    auto synth = makeTestTimbreSynth();
    const auto& notes = load(*synth);
    ASSERT_EQ(notes.size(), 3u);
    // "ba" from 0.25 s lengthened to 959 / 960 = 0.9989583 s; a "0" marks it.
    EXPECT_FLOAT_EQ(notes[0].start, 0.25f);
    EXPECT_FLOAT_EQ(notes[0].duration, 0.7489583f);
    EXPECT_EQ(notes[0].breakAfter, 1);
    EXPECT_EQ(notes[0].symbol, "ba");
    EXPECT_EQ(notes[0].elemTime0, 0.5f);
    EXPECT_EQ(notes[0].elemFlag, 3);
    EXPECT_EQ(notes[0].elemTime1, 0.6f);
    EXPECT_EQ(notes[0].elemTime2, 0.7f);
    EXPECT_EQ(notes[0].elemTime3, 0.8f);
    EXPECT_EQ(notes[0].crossSymbol, "ma");

    const SynthNoteV3& z = notes[1];
    EXPECT_EQ(z.breakAfter, 1);
    EXPECT_FLOAT_EQ(z.start, 1.0f);
    EXPECT_EQ(z.duration, 0.0f);
    EXPECT_EQ(z.symbol, "a");
    EXPECT_EQ(z.symbolTag, "");
    EXPECT_EQ(z.crossSymbol, "");
    EXPECT_EQ(z.elemTime0, 0.0f);
    EXPECT_EQ(z.elemFlag, 0);
    EXPECT_EQ(z.timbre, "E4");

    EXPECT_EQ(notes[2].breakAfter, 1);  // the note's own flag
    EXPECT_FALSE(dropped.renderFlag);
    EXPECT_TRUE(first.renderFlag);
    EXPECT_FALSE(more.renderFlag);
    EXPECT_FALSE(zero.renderFlag);
    EXPECT_TRUE(last.renderFlag);
}

TEST_F(TimbreFill, SymbolRules)
{
    struct Case {
        const char* symbol;
        const char* sung;
        const char* tag;
        const char* sungBySixth;
    };
    const Case cases[] = {
        {"ba", "ba", "", "ba"},       {"nue", "nve", "", "nve"},  {"lue", "lve", "", "lve"},
        {"nuea", "la", "", "nuea"},   {"", "la", "", ""},         {"a<x1>", "a", "x1", "a"},
        {"zz<t>", "la", "t", "zz"},
    };
    for (int i = 0; i < 7; ++i)
        s.add(i * 240, 240, 52, cases[i].symbol);
    auto synth = makeTestTimbreSynth();
    auto sixth = makeTestTimbreSynth({}, true);
    const auto& notes = load(*synth);
    const auto& sixthNotes = load(*sixth);
    ASSERT_EQ(notes.size(), 7u);
    ASSERT_EQ(sixthNotes.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(notes[i].symbol, cases[i].sung) << cases[i].symbol;
        EXPECT_EQ(notes[i].symbolTag, cases[i].tag) << cases[i].symbol;
        EXPECT_EQ(sixthNotes[i].symbol, cases[i].sungBySixth) << cases[i].symbol;
    }
}

TEST_F(TimbreFill, TimbreNames)
{
    // Key 52 falls to timbre 2 (low key 53 at or above 52): centre E4.
    struct Case {
        int timbreIndex, crossIndex;
        const char* timbre;
        const char* crossTimbre;
    };
    const Case cases[] = {{-1, 3, "E4", "C5"}, {5, -1, "E4", "E4"}, {3, 0, "C5", "E3"}, {1, 4, "C4", "E4"}};
    for (int i = 0; i < 4; ++i) {
        Note& n = s.add(i * 240, 240, 52, "a");
        n.timbreIndex = cases[i].timbreIndex;
        n.crossTimbre = cases[i].crossIndex;
    }
    auto synth = makeTestTimbreSynth();
    const auto& notes = load(*synth);
    ASSERT_EQ(notes.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(notes[i].timbre, cases[i].timbre) << i;
        EXPECT_EQ(notes[i].crossTimbre, cases[i].crossTimbre) << i;
    }

    auto plain = makeTestTimbreSynth({.timbres = {}});
    EXPECT_EQ(load(*plain)[0].timbre, "D#4");  // the key's own name
}

TEST_F(TimbreFill, TimbreIndexOfAKey)
{
    auto synth = makeTestTimbreSynth();
    const CTimbrePianoValueMgr& timbres = synth->timbres();
    ASSERT_EQ(timbres.size(), 4u);
    EXPECT_EQ(timbres.entry(1), (std::array<int, 3>{58, 54, 55}));  // A3, C#4, C4
    const std::pair<int, int> cases[] = {{60, 0}, {55, 1}, {50, 2}, {30, 3}, {67, 0}, {90, 0}, {46, 3}, {-20, 3}};
    for (const auto& [key, index] : cases)
        EXPECT_EQ(timbres.getTimbreIndex(key), index) << key;
    EXPECT_EQ(CTimbrePianoValueMgr().getTimbreIndex(40), 0);
}

TEST_F(TimbreFill, SevenCurvesInOrderOverTheRange)
{
    s.add(480, 480, 52, "a");
    // Each curve has a node before 0, inside, and at the width + 1, its
    // values telling the curves apart.
    const CurveSlot slots[] = {kAmplitudeCurve, kPowerCurve, kBreathCurve, kGenderCurve, kBrightnessCurve, kCrossCurve};
    for (int i = 0; i < 6; ++i)
        s.seg.curve(slots[i]).nodes = NodeContainer{{-1, 32 * i}, {100, 32 * i}, {700, 32 * i}, {1921, 32 * i}};
    auto synth = makeTestTimbreSynth();
    // From -300 the range starts at 0; it ends at the note's last tick 959.
    ASSERT_TRUE(synth->loadSegment(&s.seg, s.tempos, -300, 1920, 1.5f));
    const auto& curves = synth->body().curves;
    for (int i = 0; i < 6; ++i) {
        const auto& points = curves[i + 1];
        ASSERT_EQ(points.size(), 4u) << i;  // -1 before 0; 100, 700; 1921 at or after 959
        EXPECT_NEAR(points[1].seconds, 100 / 960.0f, 1e-6) << i;
        const float expected = i < 5 ? 32 * i / 128.0f - 1.0f : 32 * 5 / 256.0f;
        EXPECT_EQ(points[1].value, expected) << i;
    }
    ASSERT_FALSE(curves[0].empty());
    EXPECT_NEAR(curves[0].front().value, 311.12698f, 1e-3);  // key 52: 220 * 2^(6 / 12)
    EXPECT_EQ(synth->body().leadIn, 1.5f);
}

TEST_F(TimbreFill, PrepareOnlyWithARecordAndTheSegmentNameAsText)
{
    s.seg.name = "verse";
    s.add(600, 480, 52, "a");
    auto synth = makeTestTimbreSynth();
    int count = 0;
    EXPECT_FALSE(synth->loadSegment(&s.seg, s.tempos, 700, 1920, 1.5f));  // nothing from 700 on
    synth->getOutput(&count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(synth->body().text, "");

    s.add(1200, 240, 52, "-");  // a lone continuation makes no record
    EXPECT_FALSE(synth->loadSegment(&s.seg, s.tempos, 1000, 1920, 1.5f));
    EXPECT_EQ(synth->body().text, "verse");
    synth->getOutput(&count);
    EXPECT_EQ(count, 0);

    EXPECT_TRUE(synth->loadSegment(&s.seg, s.tempos, 0, 1920, 1.5f));
    synth->getOutput(&count);
    EXPECT_GT(count, 0);
}

TEST_F(TimbreFill, NoteTimesFromThePlan)
{
    Note& a = s.add(0, 480, 52, "a");
    Note& b = s.add(480, 480, 52, "a");
    Note& c = s.add(960, 480, 52, "a");
    CoreSetup setup;
    setup.times.resize(2);  // fewer entries than notes
    setup.times[0].values = {0.25f, 1, 2, 3, 4, 5, 6, 7};
    setup.times[1].values = {0.75f, 8, 9, 10, 11, 12, 13, 14};
    auto synth = makeTestTimbreSynth(setup);
    std::vector<NoteTimesRec> out(5);
    synth->getNoteTimes(&s.seg, s.tempos, 0, 1920, 1.0f, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].values[0], 2.25f);  // segment start 2.0 added
    EXPECT_EQ(out[0].values[7], 7.0f);
    EXPECT_EQ(out[0].note, &a);
    EXPECT_EQ(out[1].values[0], 2.75f);
    EXPECT_EQ(out[1].note, &b);

    fillNotesFromSynth(&s.seg, synth.get(), s.tempos);
    EXPECT_EQ(std::bit_cast<float>(a.elemTimeTable[0]), 2.25f);
    EXPECT_EQ(std::bit_cast<float>(b.elemTimeTable[3]), 10.0f);
    EXPECT_EQ(c.elemTimeTable, (std::array<int32_t, 8>{}));

    // A prepared job keeps its input, curves and lead-in as loaded; the plan
    // reads a score of its own with the notes and the lead-in asked for.
    ASSERT_TRUE(synth->loadSegment(&s.seg, s.tempos, 0, 1920, 1.5f));
    const HalvorenEngine::SynthScoreV3 loaded = synth->body();
    ASSERT_FALSE(loaded.curves[0].empty());
    synth->getNoteTimes(&s.seg, s.tempos, 0, 1920, 1.0f, out);
    EXPECT_EQ(synth->body().leadIn, 1.5f);
    EXPECT_EQ(synth->body().curves[0].size(), loaded.curves[0].size());
    EXPECT_EQ(synth->body().notes.size(), 3u);
    const HalvorenEngine::SynthScoreV3& planned = synth->testCore().planned;
    EXPECT_EQ(planned.leadIn, 1.0f);
    EXPECT_EQ(planned.notes.size(), 3u);
    EXPECT_TRUE(planned.curves[0].empty());

    // While the job runs, nothing is read and the notes stay as they are.
    std::atomic<bool> hold{true};
    CoreSetup held = setup;
    held.job = {.holdAtFrame = 1, .hold = &hold};
    auto running = makeTestTimbreSynth(held);
    ASSERT_TRUE(running->loadSegment(&s.seg, s.tempos, 0, 1920, 1.0f));
    running->start();
    a.renderFlag = false;
    running->getNoteTimes(&s.seg, s.tempos, 0, 1920, 1.0f, out);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(a.renderFlag);
    EXPECT_FALSE(running->loadSegment(&s.seg, s.tempos, 0, 1920, 1.0f));
    running->stop();
    hold = false;
    ASSERT_TRUE(eventually([&] { return running->isReady(); }));
}

TEST_F(TimbreFill, NoEngineDoesNothing)
{
    s.add(0, 480, 52, "a");
    auto synth = makeTestTimbreSynth({.noEngine = true});
    int count = 7;
    EXPECT_EQ(synth->getOutput(&count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(synth->isReady());
    EXPECT_EQ(synth->samplesReady(), 0);
    EXPECT_EQ(synth->samplesDone(), 0);
    EXPECT_EQ(synth->timbreCount(), 0);
    EXPECT_TRUE(synth->timbres().empty());
    EXPECT_FALSE(synth->loadSegment(&s.seg, s.tempos, 0, 1920, 1.5f));
    std::string name = "kept";
    synth->timbreNameFor(*s.seg.notes[0], name);
    EXPECT_EQ(name, "kept");
    synth->start();
    synth->stop();
}

}  // namespace
