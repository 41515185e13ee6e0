#include <gtest/gtest.h>

#include "HistoryHarness.h"
#include "model/history/CurveRecorders.h"
#include "model/history/NoteRecorders.h"
#include "model/history/TrackSegmentRecorders.h"

using namespace HVCurrentModel;
using namespace projtest;

TEST(TrackRecords, InsertedTracksLandInOrderAndLeaveWithTheRedoList) {
    HistoryHarness hh;
    Track* inst = addTrack(*hh.model, kInstrumentTrack);
    auto* t1 = new Track(kSingingTrack);
    auto* t2 = new Track(kSingingTrack);
    hh.run([&](CHistoryGroup* g) { recInsertTracks(g, {t1, t2}, 0); });
    EXPECT_EQ((std::vector<Track*>{t1, t2, inst}), hh.model->tracks);
    hh.undo();
    EXPECT_EQ((std::vector<Track*>{inst}), hh.model->tracks);
    hh.history.clear();  // frees t1 and t2
}

TEST(SegmentRecords, DeleteUndoRestoresTheSameSegmentsAndOverlapFlags) {
    HistoryHarness hh;
    Track* t = addTrack(*hh.model, kSingingTrack);
    SingSegment* s1 = addSingSeg(*t, 0, 1000);
    SingSegment* s2 = addSingSeg(*t, 500, 1000);
    SingSegment* s3 = addSingSeg(*t, 4000, 100);
    s2->selected = true;
    ASSERT_TRUE(s1->overlapped && s2->overlapped);

    hh.run([&](CHistoryGroup* g) { recDeleteSegments(g, {s2}, t->singSegs); });
    EXPECT_FALSE(s1->overlapped);
    EXPECT_FALSE(s2->selected);
    hh.undo();
    EXPECT_EQ((std::vector<BaseSegment*>{s1, s2, s3}), std::vector<BaseSegment*>(t->singSegs->begin(), t->singSegs->end()));
    EXPECT_TRUE(s1->overlapped && s2->overlapped);
    EXPECT_FALSE(s3->overlapped);
}

TEST(SegmentRecords, InsertedSegmentIsFreedWhenDroppedFromTheRedoList) {
    HistoryHarness hh;
    Track* t = addTrack(*hh.model, kInstrumentTrack);
    auto* clip = new InstrumentSegment(0, 960);
    hh.run([&](CHistoryGroup* g) { recInsertSegment(g, t->instSegs, clip); });
    EXPECT_EQ(t->instSegs->size(), 1u);
    hh.undo();
    EXPECT_TRUE(t->instSegs->empty());
    hh.run([&](CHistoryGroup* g) { recInsertSegment(g, t->instSegs, new InstrumentSegment(0, 10)); });
    EXPECT_EQ(t->instSegs->size(), 1u);
}

TEST(NoteRecords, DeleteThenUndoPutsTheSameNotesBackInOrder) {
    HistoryHarness hh;
    Track* t = addTrack(*hh.model, kSingingTrack);
    SingSegment* seg = addSingSeg(*t, 0, 4000);
    Note* a = addNote(*seg, 0, 480);
    Note* b = addNote(*seg, 480, 480);
    Note* c = addNote(*seg, 960, 480);
    b->selected = true;

    hh.run([&](CHistoryGroup* g) { recDeleteNotes(g, {c, b}, seg); });
    EXPECT_EQ((std::vector<Note*>{a}), std::vector<Note*>(seg->notes.begin(), seg->notes.end()));
    EXPECT_FALSE(b->selected);
    hh.undo();
    EXPECT_EQ((std::vector<Note*>{a, b, c}), std::vector<Note*>(seg->notes.begin(), seg->notes.end()));
    hh.redo();
    hh.history.clear();  // frees b and c
    EXPECT_EQ(seg->notes.size(), 1u);
}

TEST(NoteRecords, MoveResortsTheNoteAndUndoRestoresPositionWidthAndKey) {
    HistoryHarness hh;
    Track* t = addTrack(*hh.model, kSingingTrack);
    SingSegment* seg = addSingSeg(*t, 0, 4000);
    Note* a = addNote(*seg, 0, 480, 60);
    Note* b = addNote(*seg, 480, 480, 62);
    hh.run([&](CHistoryGroup* g) { recEditNotesPosWidthKey(g, {{a, 960, 240, 55}}, seg); });
    EXPECT_EQ((std::vector<Note*>{b, a}), std::vector<Note*>(seg->notes.begin(), seg->notes.end()));
    EXPECT_EQ(a->key, 55);
    hh.undo();
    EXPECT_EQ((std::vector<Note*>{a, b}), std::vector<Note*>(seg->notes.begin(), seg->notes.end()));
    EXPECT_EQ(a->pos, 0);
    EXPECT_EQ(a->width, 480);
    EXPECT_EQ(a->key, 60);
}

TEST(NoteRecords, LyricEditKeepsElementTimesOnlyForTheSamePhoneticSymbol) {
    HistoryHarness hh;
    Track* t = addTrack(*hh.model, kSingingTrack);
    SingSegment* seg = addSingSeg(*t, 0, 4000);
    Note* n = addNote(*seg, 0, 480, 60, "la");
    n->timeFactor1 = 2.0f;
    n->timesFlag = 1;

    hh.run([&](CHistoryGroup* g) { recEditNotesLyric(g, {{n, "la", "ma"}}); });
    EXPECT_EQ(n->lyric, "ma");
    EXPECT_FLOAT_EQ(n->timeFactor1, 2.0f);

    hh.run([&](CHistoryGroup* g) { recEditNotesLyric(g, {{n, "li", "li"}}); });
    EXPECT_EQ(n->phoneticSymbol, "li");
    EXPECT_FLOAT_EQ(n->timeFactor1, 1.0f);
    EXPECT_EQ(n->timesFlag, 0);

    hh.undo();
    hh.undo();
    EXPECT_EQ(n->lyric, "la");
    EXPECT_FLOAT_EQ(n->timeFactor1, 2.0f);
    EXPECT_EQ(n->timesFlag, 1);
}

TEST(NoteRecords, NoteValueEditsRoundTripThroughUndoAndRedo) {
    HistoryHarness hh;
    Track* t = addTrack(*hh.model, kSingingTrack);
    SingSegment* seg = addSingSeg(*t, 0, 4000);
    Note* n = addNote(*seg, 0, 480);
    Note* next = addNote(*seg, 480, 480);
    next->elemTimeTable = {1, 2, 3, 4, 5, 6, 7, 8};

    Vibrato vib;
    vib.vibAmp.nodes.assign(NodeContainer{{-1, 5000}, {100001, 5000}});
    VibratoCycle cycle;
    cycle.table.assign(VibratoCycle::kTableSize, 0.5f);
    ElementTimesValue times{1.5f, 1, 0.5f, 0.25f, 2.0f};

    hh.run([&](CHistoryGroup* g) {
        recEditNoteVibrato(g, n, 40, cycle, vib);
        recEditNoteExpression(g, n, 7, 8, 9, 10);
        recEditNoteElementTimes(g, n, next, times, {9, 9, 9, 9, 9, 9, 9, 9}, {0, 0, 0, 0, 0, 0, 0, 0});
        recEditNoteFusionData(g, n, "ka", 3);
        auto* rec = new CEditTimbreIndexForNoteAct(n, n->timbreIndex, 4);
        g->addRec(rec);
        rec->redo();
    });
    auto check = [&](bool edited) {
        EXPECT_EQ(n->vibPercent, edited ? 40 : 0);
        EXPECT_EQ(n->vibrato.vibAmp.nodes.front().value, edited ? 5000 : 0);
        EXPECT_FLOAT_EQ(n->cycle.table[256], edited ? 0.5f : VibratoCycle().table[256]);
        EXPECT_EQ(n->bendDep, edited ? 7 : 0);
        EXPECT_EQ(n->headChg, edited ? 10 : 20);
        EXPECT_FLOAT_EQ(n->timeFactor4, edited ? 2.0f : 1.0f);
        EXPECT_EQ(n->elemTimeTable[0], edited ? 9 : 0);
        EXPECT_EQ(next->elemTimeTable[7], edited ? 0 : 8);
        EXPECT_EQ(n->crossSymbol, edited ? "ka" : "");
        EXPECT_EQ(n->crossTimbre, edited ? 3 : -1);
        EXPECT_EQ(n->timbreIndex, edited ? 4 : -1);
    };
    check(true);
    hh.undo();
    check(false);
    hh.redo();
    check(true);
}

TEST(CurveRecords, StrokeReplacesOnlyItsSpanAndUndoRestoresTheCurveExactly) {
    HistoryHarness hh;
    Track* t = addTrack(*hh.model, kSingingTrack);
    SingSegment* seg = addSingSeg(*t, 0, 1000);
    ParamCurve& power = seg->curve(kPowerCurve);
    power.nodes.assign(NodeContainer{{-1, 128}, {50, 10}, {100, 20}, {150, 30}, {200, 40}, {300, 50}, {1001, 128}});
    const auto original = power.nodes.toVector();

    const NodeContainer stroke{{100, 90}, {140, 91}, {200, 92}};
    hh.run([&](CHistoryGroup* g) { recEditSegCurvePower(g, seg, stroke); });
    EXPECT_EQ((std::vector<CurveNode>{{-1, 128}, {50, 10}, {100, 90}, {140, 91}, {200, 92}, {300, 50}, {1001, 128}}),
              power.nodes.toVector());
    hh.undo();
    EXPECT_EQ(original, power.nodes.toVector());
    hh.redo();
    EXPECT_EQ(power.nodes.toVector()[3], (CurveNode{140, 91}));
}

TEST(CurveRecords, EmptyOrPointStrokesRecordNothing) {
    HistoryHarness hh;
    Track* t = addTrack(*hh.model, kSingingTrack);
    SingSegment* seg = addSingSeg(*t, 0, 1000);
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recEditSegCurveGender(g, seg, NodeContainer{}); }), nullptr);
    EXPECT_EQ(hh.run([&](CHistoryGroup* g) { recEditSegCurveGender(g, seg, NodeContainer{{5, 1}}); }), nullptr);
}
