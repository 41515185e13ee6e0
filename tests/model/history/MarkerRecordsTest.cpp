#include <gtest/gtest.h>

#include "HistoryHarness.h"
#include "model/history/MarkerRecorders.h"
#include "model/history/ScoreShift.h"

using namespace HVCurrentModel;
using namespace projtest;

TEST(TempoRecords, LandingOnAnotherMarkerReplacesItAndUndoPutsBothBack) {
    HistoryHarness hh;
    Tempo* zero = hh.model->tempos[0];
    Tempo* mid = addTempo(*hh.model, 1920, 10000);
    Tempo* moved = addTempo(*hh.model, 3840, 8000);

    hh.run([&](CHistoryGroup* g) { recEditTempo(g, {{moved, Tempo{1920, 9000, false}}}); });
    EXPECT_EQ((std::vector<Tempo*>{zero, moved}), hh.model->tempos);
    EXPECT_EQ(moved->pos * 10000 + moved->tempo, 1920 * 10000 + 9000);
    hh.undo();
    EXPECT_EQ((std::vector<Tempo*>{zero, mid, moved}), hh.model->tempos);
    EXPECT_EQ(mid->tempo, 10000);
    EXPECT_EQ(moved->pos * 10000 + moved->tempo, 3840 * 10000 + 8000);

    // A new operation drops the undone group: nothing still in the list may
    // be freed (the sanitizer build reads freed memory below as an error).
    hh.run([&](CHistoryGroup* g) { recDeleteTempo(g, mid); });
    EXPECT_EQ(moved->tempo + mid->tempo, 18000);
    // Redo after undo, then dropping the group as done frees the deleted
    // marker exactly once.
    hh.undo();
    hh.redo();
    hh.history.clear();
    EXPECT_EQ((std::vector<Tempo*>{zero, moved}), hh.model->tempos);

    // Inserting at an occupied position replaces the marker; dropped while
    // undone, the inserted marker is freed and the old one kept.
    auto* fresh = new Tempo{3840, 7000, false};
    hh.run([&](CHistoryGroup* g) { recInsertTempo(g, fresh); });
    EXPECT_EQ((std::vector<Tempo*>{zero, fresh}), hh.model->tempos);
    hh.undo();
    hh.history.clear();
    EXPECT_EQ((std::vector<Tempo*>{zero, moved}), hh.model->tempos);
    EXPECT_EQ(moved->tempo, 8000);
}

TEST(MarkerRecords, FirstAndStrayMarkersAreNeitherDeletedNorMoved) {
    HistoryHarness hh;
    Tempo* t0 = hh.model->tempos[0];
    Beat* b0 = hh.model->beats[0];
    Tempo stray{480, 9000, false};
    Beat strayBeat{1, 3, 4, false};
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recDeleteTempo(g, t0); }), nullptr);
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recDeleteBeat(g, b0); }), nullptr);
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recDeleteTempos(g, {&stray}); }), nullptr);
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recDeleteBeats(g, {&strayBeat}); }), nullptr);

    // Their values change, their positions stay.
    hh.run([&](CHistoryGroup* g) { recEditTempo(g, {{t0, Tempo{960, 6000, false}}}); });
    hh.run([&](CHistoryGroup* g) { recEditBeat(g, {{b0, Beat{2, 3, 4, false}}}); });
    EXPECT_EQ(t0->pos * 10000 + t0->tempo, 6000);
    EXPECT_EQ(b0->pos, -3);
    EXPECT_EQ(b0->numerator, 3);
}

TEST(BeatRecords, ThreeFourBeforeMeasureOneShiftsTheScoreOntoItsMeasures) {
    HistoryHarness hh;
    Tempo* early = addTempo(*hh.model, 960, 10000);
    Tempo* late = addTempo(*hh.model, 9600, 9000);
    SingSegment* seg = addSingSeg(*addTrack(*hh.model, kSingingTrack), 7680, 1920);
    InstrumentSegment* clip = addClip(*addTrack(*hh.model, kInstrumentTrack), 9600, 960, 44100, 44100);

    hh.run([&](CHistoryGroup* g) { recInsertBeat(g, new Beat{-2, 3, 4, false}); });
    // Measure 1 now begins after one 4/4 and three 3/4 measures: 6240. The
    // tempo at 960 falls before tick 0 and goes.
    EXPECT_EQ(calcBar1Tick(hh.model->beats), 6240);
    EXPECT_EQ((std::vector<Tempo*>{hh.model->tempos[0], late}), hh.model->tempos);
    EXPECT_EQ((std::vector<int>{8160, 6240, 8160, 960}), (std::vector<int>{late->pos, seg->pos, clip->pos, clip->width}));

    hh.undo();
    EXPECT_EQ(hh.model->beats.size(), 1u);
    EXPECT_EQ((std::vector<Tempo*>{hh.model->tempos[0], early, late}), hh.model->tempos);
    EXPECT_EQ((std::vector<int>{9600, 7680, 9600}), (std::vector<int>{late->pos, seg->pos, clip->pos}));
    hh.redo();
    EXPECT_EQ(seg->pos, 6240);
}

TEST(BeatRecords, UnusableSignaturesCountAsFourFour) {
    HistoryHarness hh;
    SingSegment* seg = addSingSeg(*addTrack(*hh.model, kSingingTrack), 7680, 1920);
    for (Beat b : {Beat{-2, 5, 0, false}, Beat{-2, 0, 4, false}, Beat{-2, 3, 3840, false}, Beat{-2, -1, -4, false}}) {
        hh.run([&](CHistoryGroup* g) { recInsertBeat(g, new Beat(b)); });
        EXPECT_EQ(calcBar1Tick(hh.model->beats), 7680);
        EXPECT_EQ(seg->pos, 7680);
        hh.undo();
    }
}
