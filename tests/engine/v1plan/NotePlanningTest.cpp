// Where notes lie in the output and what follows them.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/v1/NotePlanning.h"

namespace {

using namespace HalvorenEngineV1;
using HalvorenEngine::SynthNoteV1;

TEST(NotePlanning, StartAndCountInFramesOfTheHop)
{
    // Lead-in 1.5 s = 66150 samples; (0.5 * 44100 + 66150) / 256 = 344.53.
    const int lead = leadSamples(1.5f, 44100.0f);
    EXPECT_EQ(lead, 66150);
    EXPECT_EQ(startFrame(0.5f, 44100.0f, lead, 256), 344);
    // A start before the lead-in is taken by its size: |(-2 * 44100 + 66150) / 256| = 86.13.
    EXPECT_EQ(startFrame(-2.0f, 44100.0f, lead, 256), 86);
    // 0.3 s = 13230 samples = 51.68 frames.
    EXPECT_EQ(frameCount(0.3f, 44100.0f, 256), 51);
    EXPECT_EQ(frameCount(std::nanf(""), 44100.0f, 256), 0);
}

TEST(NotePlanning, OnsetLengths)
{
    const SourceMarks marks{.beginPos = 0, .endPos = 5, .param7 = 1.5f, .ratio1 = 0.5f};
    struct Case {
        const char* what;
        Generation g;
        bool legato;
        bool zeroInitial;
        int onset;
    };
    const Case cases[] = {
        {"first generation", Generation::First, true, true, 7},  // trunc(5 * 1.5)
        {"not legato", Generation::Second, false, true, 7},
        {"legato, zero-initial", Generation::Second, true, true, 1},
        {"legato", Generation::Second, true, false, 3},  // trunc(7 * 0.5)
    };
    for (const Case& c : cases)
        EXPECT_EQ(onsetLength(c.g, marks, c.legato, c.zeroInitial), c.onset) << c.what;
}

TEST(NotePlanning, OverlapWithThePreviousNote)
{
    struct Case {
        int onset;
        int previousCount;
        int newOnset;
    };
    // Previous note at 100 for 40 frames, this note at 140.
    const Case cases[] = {
        {0, 40, 0},    // no overlap: 140 is not before 140
        {10, 30, 10},  // d = 30, 60 >= 40: the previous ends at 130
        {30, 20, 20},  // d = 10, 20 < 40: the previous keeps 20, the onset starts at 120
    };
    for (const Case& c : cases) {
        NotePlan previous{.start = 100, .count = 40};
        NotePlan current{.start = 140, .onset = c.onset};
        resolveOverlap(previous, current);
        EXPECT_EQ(previous.count, c.previousCount) << "o " << c.onset;
        EXPECT_EQ(current.onset, c.newOnset) << "o " << c.onset;
    }
}

TEST(NotePlanning, NextNoteContext)
{
    Halvoren::ChnSymbolMgr symbols;
    const SynthNoteV1 note{0.5f, 0.5f, "ma", "A3"};  // ends at 1.0
    struct Case {
        const char* next;
        Generation g;
        const char* b;
        const char* c;
    };
    const Case cases[] = {
        {"ta", Generation::First, "d", ""},  // unvoiced group: no join into the syllable
        {"ma", Generation::First, "m", "ma"},
        {"a", Generation::First, "", ""},
        {"a", Generation::Second, "a", "a"},
        {"ta", Generation::Second, "d", ""},
    };
    for (const Case& c : cases) {
        const SynthNoteV1 next{1.0f, 0.5f, c.next, "A3"};
        const NextContext got = nextNoteContext(c.g, symbols, note, &next);
        EXPECT_EQ(got.b, c.b) << c.next;
        EXPECT_EQ(got.c, c.c) << c.next;
    }
    const NextContext last = nextNoteContext(Generation::First, symbols, note, nullptr);
    EXPECT_EQ(last.b, "");
    EXPECT_EQ(last.c, "");
}

TEST(NotePlanning, AGapAbove0Point4SecondsEndsThePhrase)
{
    Halvoren::ChnSymbolMgr symbols;
    const SynthNoteV1 note{0.5f, 0.5f, "ma", "A3"};
    // 1.4f - 1.0f is 0.39999998 in single precision: the context stays.
    const SynthNoteV1 near{1.4f, 0.5f, "ma", "A3"};
    EXPECT_EQ(nextNoteContext(Generation::First, symbols, note, &near).c, "ma");
    // One float later the gap is 0.4000001 > 0.4f.
    const SynthNoteV1 far{std::nextafter(1.4f, 2.0f), 0.5f, "ma", "A3"};
    EXPECT_EQ(nextNoteContext(Generation::First, symbols, note, &far).c, "");
}

}  // namespace

namespace {

TEST(NotePlanning, NotesWithoutSourceAreLeftOutOfThePlan)
{
    // Hop 441 at 44100 Hz: 100 frames a second; lead-in 1 s = 100 frames.
    // Head 4 frames stretched by 2.5: o = 10.
    const SourceMarks marks{.beginPos = 0, .endPos = 4, .param7 = 2.5f};
    const std::vector<NoteInput> notes = {
        {&marks, 0.0f, 0.5f},   // S 100, n 50
        {nullptr, 0.5f, 0.5f},  // no voice: no plan
        {&marks, 0.55f, 0.5f},  // S 155, n 50, onset back to 145
    };
    const std::vector<PlannedNote> plans = planNotes(Generation::First, notes, 44100.0f, 441, 1.0f);
    ASSERT_EQ(plans.size(), 2u);
    EXPECT_EQ(plans[0].note, 0u);
    EXPECT_EQ(plans[0].plan.start, 100);
    EXPECT_EQ(plans[1].note, 2u);
    EXPECT_EQ(plans[1].plan.start, 155);
    EXPECT_EQ(plans[1].plan.onset, 10);
    // 100 + 50 > 145: d = 155 - 100 - 10 = 45, 90 >= 50: the first note ends at 145.
    EXPECT_EQ(plans[0].plan.count, 45);
}

}  // namespace
