#include <gtest/gtest.h>

#include "HistoryHarness.h"
#include "model/history/MarkerRecorders.h"
#include "model/history/ScoreShift.h"

using namespace HVCurrentModel;
using namespace projtest;

TEST(TempoRecords, MovingOntoAnotherMarkerReplacesItAndUndoPutsBothBack) {
    HistoryHarness hh;
    Tempo* zero = hh.model->tempos[0];
    Tempo* mid = addTempo(*hh.model, 1920, 10000);
    Tempo* moved = addTempo(*hh.model, 3840, 8000);
    moved->selected = true;

    hh.run([&](CHistoryGroup* g) { recEditTempo(g, {{moved, Tempo{1920, 9000, false}}}); });
    EXPECT_EQ((std::vector<Tempo*>{zero, moved}), hh.model->tempos);
    EXPECT_EQ(moved->pos, 1920);
    EXPECT_EQ(moved->tempo, 9000);

    hh.undo();
    EXPECT_EQ((std::vector<Tempo*>{zero, mid, moved}), hh.model->tempos);
    EXPECT_EQ(mid->tempo, 10000);
    EXPECT_EQ(moved->pos, 3840);
    EXPECT_EQ(moved->tempo, 8000);

    // A new operation drops the undone group: nothing still in the list may
    // be freed (the sanitizer build reads freed memory below as an error).
    hh.run([&](CHistoryGroup* g) { recDeleteTempo(g, mid); });
    EXPECT_EQ(moved->tempo + mid->tempo, 18000);

    // Redo after undo, then dropping the group as done frees the replaced
    // marker exactly once.
    hh.undo();
    hh.redo();
    hh.history.clear();
    EXPECT_EQ((std::vector<Tempo*>{zero, moved}), hh.model->tempos);
}

TEST(TempoRecords, InsertingAtAnOccupiedPositionReplacesTheMarker) {
    HistoryHarness hh;
    Tempo* old = addTempo(*hh.model, 960, 10000);
    auto* fresh = new Tempo{960, 7000, false};
    hh.run([&](CHistoryGroup* g) { recInsertTempo(g, fresh); });
    EXPECT_EQ((std::vector<int>{0, 960}), positionsOf(hh.model->tempos));
    EXPECT_EQ(hh.model->tempos[1], fresh);
    hh.undo();
    EXPECT_EQ(hh.model->tempos[1], old);
    // Dropped while undone: the inserted marker is freed, the old one kept.
    hh.history.clear();
    EXPECT_EQ(old->tempo, 10000);
}

TEST(MarkerRecords, FirstMarkersCanBeNeitherDeletedNorMoved) {
    HistoryHarness hh;
    Tempo* t0 = hh.model->tempos[0];
    Beat* b0 = hh.model->beats[0];
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recDeleteTempo(g, t0); }), nullptr);
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recDeleteBeat(g, b0); }), nullptr);

    hh.run([&](CHistoryGroup* g) { recEditTempo(g, {{t0, Tempo{960, 6000, false}}}); });
    hh.run([&](CHistoryGroup* g) { recEditBeat(g, {{b0, Beat{2, 3, 4, false}}}); });
    EXPECT_EQ(t0->pos, 0);
    EXPECT_EQ(t0->tempo, 6000);
    EXPECT_EQ(b0->pos, -3);
    EXPECT_EQ(b0->numerator, 3);
}

TEST(MarkerRecords, DeletingAMarkerNotInTheListRecordsNothing) {
    HistoryHarness hh;
    Tempo stray{480, 9000, false};
    Beat strayBeat{1, 3, 4, false};
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recDeleteTempos(g, {&stray}); }), nullptr);
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recDeleteBeats(g, {&strayBeat}); }), nullptr);
}

TEST(BeatRecords, ThreeFourBeforeMeasureOneShiftsTheScoreOntoItsMeasures) {
    HistoryHarness hh;
    Tempo* early = addTempo(*hh.model, 960, 10000);
    Tempo* late = addTempo(*hh.model, 9600, 9000);
    Track* sing = addTrack(*hh.model, kSingingTrack);
    SingSegment* seg = addSingSeg(*sing, 7680, 1920);
    Track* inst = addTrack(*hh.model, kInstrumentTrack);
    InstrumentSegment* clip = addClip(*inst, 9600, 960, 44100, 44100);

    auto* threeFour = new Beat{-2, 3, 4, false};
    hh.run([&](CHistoryGroup* g) { recInsertBeat(g, threeFour); });
    // Measure 1 now begins after one 4/4 and three 3/4 measures: 6240.
    EXPECT_EQ(calcBar1Tick(hh.model->beats), 6240);
    EXPECT_EQ((std::vector<Tempo*>{hh.model->tempos[0], late}), hh.model->tempos);
    EXPECT_EQ(late->pos, 8160);
    EXPECT_EQ(seg->pos, 6240);
    EXPECT_EQ(clip->pos, 8160);
    EXPECT_EQ(clip->width, 960);

    hh.undo();
    EXPECT_EQ(hh.model->beats.size(), 1u);
    EXPECT_EQ((std::vector<int>{0, 960, 9600}), positionsOf(hh.model->tempos));
    EXPECT_EQ(hh.model->tempos[1], early);
    EXPECT_EQ(seg->pos, 7680);
    EXPECT_EQ(clip->pos, 9600);
    hh.redo();
    EXPECT_EQ(seg->pos, 6240);
}

TEST(BeatRecords, UnusableSignaturesCountAsFourFour) {
    HistoryHarness hh;
    Track* sing = addTrack(*hh.model, kSingingTrack);
    SingSegment* seg = addSingSeg(*sing, 7680, 1920);
    for (Beat b : {Beat{-2, 5, 0, false}, Beat{-2, 0, 4, false}, Beat{-2, 3, 3840, false}, Beat{-2, -1, -4, false}}) {
        auto* odd = new Beat(b);
        hh.run([&](CHistoryGroup* g) { recInsertBeat(g, odd); });
        EXPECT_EQ(calcBar1Tick(hh.model->beats), 7680);
        EXPECT_EQ(seg->pos, 7680);
        hh.undo();
    }
}

TEST(BeatRecords, Bar1TickCountsFourMeasuresFromTheFirstMarker) {
    HistoryHarness hh;
    EXPECT_EQ(calcBar1Tick(hh.model->beats), 7680);
    EXPECT_EQ(calcBar1Tick({}), 0);
    // 7/7: four measures come to (4 x 1920 / 7) x 7 = 7679 in this rounding order.
    hh.model->beats[0]->numerator = 7;
    hh.model->beats[0]->denominator = 7;
    EXPECT_EQ(calcBar1Tick(hh.model->beats), 4 * 1920 / 7 * 7);
}

TEST(AudioRefit, TempoChangesRefitClipsToTheirAudioLength) {
    HistoryHarness hh;
    Track* inst = addTrack(*hh.model, kInstrumentTrack);
    // Two seconds of audio: 1920 ticks at 120 BPM.
    InstrumentSegment* clip = addClip(*inst, 7680, 100, 44100, 88200);
    InstrumentSegment* silent = addClip(*inst, 20000, 500, 0, 0);
    Tempo* t0 = hh.model->tempos[0];

    hh.run([&](CHistoryGroup* g) { recEditTempo(g, {{t0, Tempo{0, 12000, false}}}); });
    EXPECT_EQ(clip->width, 1921);
    EXPECT_EQ(silent->width, 500);

    // Half the tempo: the same audio spans half the ticks.
    hh.run([&](CHistoryGroup* g) { recEditTempo(g, {{t0, Tempo{0, 6000, false}}}); });
    EXPECT_EQ(clip->width, 961);
    EXPECT_EQ(clip->pos, 7680);
    EXPECT_EQ(silent->width, 500);

    hh.undo();
    EXPECT_EQ(clip->width, 1921);
    EXPECT_EQ(t0->tempo, 12000);
}
