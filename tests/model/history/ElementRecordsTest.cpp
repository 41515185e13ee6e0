#include <gtest/gtest.h>

#include "HistoryHarness.h"
#include "model/history/NoteRecorders.h"
#include "model/history/TrackSegmentRecorders.h"

using namespace HVCurrentModel;
using namespace projtest;

namespace {

std::vector<Note*> notesOf(const SingSegment* s) { return {s->notes.begin(), s->notes.end()}; }

// A harness with one singing segment of 4000 ticks.
struct SegHarness : HistoryHarness {
    Track* track = addTrack(*model, kSingingTrack);
    SingSegment* seg = addSingSeg(*track, 0, 4000);
};

}  // namespace

TEST(ElementRecords, InsertedTracksAndSegmentsLeaveWithTheRedoList) {
    HistoryHarness hh;
    Track* inst = addTrack(*hh.model, kInstrumentTrack);
    auto* t1 = new Track(kSingingTrack);
    auto* t2 = new Track(kSingingTrack);
    hh.run([&](CHistoryGroup* g) { recInsertTracks(g, {t1, t2}, 0); });
    EXPECT_EQ((std::vector<Track*>{t1, t2, inst}), hh.model->tracks);
    auto* a = new InstrumentSegment(0, 960);
    hh.run([&](CHistoryGroup* g) { recInsertSegments(g, {a, new InstrumentSegment(480, 960), a}, inst->instSegs); });
    EXPECT_EQ(inst->instSegs->size(), 2u);
    hh.undo();
    EXPECT_TRUE(inst->instSegs->empty());
    hh.undo();
    EXPECT_EQ((std::vector<Track*>{inst}), hh.model->tracks);
    // A new operation frees both undone groups' elements (checked by the
    // sanitizer build).
    hh.run([&](CHistoryGroup* g) { recInsertSegment(g, inst->instSegs, new InstrumentSegment(0, 10)); });
    EXPECT_EQ(hh.history.redoCount(), 0);
}

TEST(ElementRecords, DeleteUndoRestoresTheSameSegmentsAndOverlapFlags) {
    SegHarness hh;
    SingSegment* s2 = addSingSeg(*hh.track, 500, 1000);
    SingSegment* s3 = addSingSeg(*hh.track, 5000, 100);
    s2->selected = true;
    ASSERT_TRUE(hh.seg->overlapped && s2->overlapped);

    hh.run([&](CHistoryGroup* g) { recDeleteSegments(g, {s2}, hh.track->singSegs); });
    EXPECT_FALSE(hh.seg->overlapped || s2->selected);
    hh.undo();
    EXPECT_EQ((std::vector<BaseSegment*>{hh.seg, s2, s3}),
              std::vector<BaseSegment*>(hh.track->singSegs->begin(), hh.track->singSegs->end()));
    EXPECT_TRUE(hh.seg->overlapped && s2->overlapped);
    EXPECT_FALSE(s3->overlapped);

    // Several at once, one listed twice and one from elsewhere: s2 is left
    // alone, flag cleared, through undo and redo.
    SingSegment elsewhere(0, 100);
    const auto segs = [&] { return std::vector<BaseSegment*>(hh.track->singSegs->begin(), hh.track->singSegs->end()); };
    hh.run([&](CHistoryGroup* g) { recDeleteSegments(g, {s3, hh.seg, s3, &elsewhere}, hh.track->singSegs); });
    EXPECT_EQ((std::vector<BaseSegment*>{s2}), segs());
    EXPECT_FALSE(s2->overlapped);
    hh.undo();
    EXPECT_EQ((std::vector<BaseSegment*>{hh.seg, s2, s3}), segs());
    EXPECT_TRUE(hh.seg->overlapped && s2->overlapped);
    hh.redo();
    EXPECT_EQ((std::vector<BaseSegment*>{s2}), segs());
    EXPECT_FALSE(s2->overlapped);
}

TEST(NoteRecords, DeleteAndMoveUndoPutTheSameNotesBackInOrder) {
    SegHarness hh;
    Note* a = addNote(*hh.seg, 0, 480, 60);
    Note* b = addNote(*hh.seg, 480, 480);
    Note* c = addNote(*hh.seg, 960, 480);
    b->selected = true;

    hh.run([&](CHistoryGroup* g) { recDeleteNotes(g, {c, b}, hh.seg); });
    EXPECT_EQ((std::vector<Note*>{a}), notesOf(hh.seg));
    EXPECT_FALSE(b->selected);
    hh.undo();
    EXPECT_EQ((std::vector<Note*>{a, b, c}), notesOf(hh.seg));

    hh.run([&](CHistoryGroup* g) { recEditNotesPosWidthKey(g, {{a, 1200, 240, 55}}, hh.seg); });
    EXPECT_EQ((std::vector<Note*>{b, c, a}), notesOf(hh.seg));
    EXPECT_EQ(a->key, 55);
    hh.undo();
    EXPECT_EQ((std::vector<Note*>{a, b, c}), notesOf(hh.seg));
    EXPECT_EQ((std::vector<int>{0, 480, 60}), (std::vector<int>{a->pos, a->width, a->key}));

    // d [100, 580) overlaps a [0, 480) and b [480, 960), which overlap
    // nothing else: the delete clears their flags, undo sets them again.
    Note* d = addNote(*hh.seg, 100, 480);
    hh.run([&](CHistoryGroup* g) { recDeleteNotes(g, {d}, hh.seg); });
    EXPECT_FALSE(a->overlapped || b->overlapped);
    hh.undo();
    EXPECT_EQ((std::vector<Note*>{a, d, b, c}), notesOf(hh.seg));
    EXPECT_TRUE(a->overlapped && d->overlapped && b->overlapped);
    EXPECT_FALSE(c->overlapped);
}

TEST(NoteRecords, LyricEditKeepsElementTimesOnlyForTheSamePhoneticSymbol) {
    SegHarness hh;
    Note* n = addNote(*hh.seg, 0, 480, 60, "la");
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
    SegHarness hh;
    Note* n = addNote(*hh.seg, 0, 480);
    Note* next = addNote(*hh.seg, 480, 480);
    next->elemTimeTable = {1, 2, 3, 4, 5, 6, 7, 8};
    Vibrato vib;
    vib.vibAmp.nodes.assign(NodeContainer{{-1, 5000}, {100001, 5000}});
    VibratoCycle cycle;
    cycle.table.assign(std::vector<float>(VibratoCycle::kTableSize, 0.5f));

    hh.run([&](CHistoryGroup* g) {
        recEditNoteVibrato(g, n, 40, cycle, vib);
        recEditNoteExpression(g, n, 7, 8, 9, 10);
        recEditNoteElementTimes(g, n, next, {1.5f, 1, 0.5f, 0.25f, 2.0f}, {9, 9, 9, 9, 9, 9, 9, 9}, {});
        recEditNoteFusionData(g, n, "ka", 3);
        auto* rec = new CEditTimbreIndexForNoteAct(n, n->timbreIndex, 4);
        g->addRec(rec);
        rec->redo();
    });
    auto check = [&](bool edited) {
        EXPECT_EQ(n->vibPercent, edited ? 40 : 0);
        EXPECT_EQ(n->vibrato.vibAmp.nodes.front().value, edited ? 5000 : 0);
        EXPECT_FLOAT_EQ(n->cycle.table[256], edited ? 0.5f : VibratoCycle().table[256]);
        EXPECT_EQ(n->bendDep * 1000 + n->headChg, edited ? 7010 : 20);
        EXPECT_FLOAT_EQ(n->timeFactor4, edited ? 2.0f : 1.0f);
        EXPECT_EQ(n->elemTimeTable[0], edited ? 9 : 0);
        EXPECT_EQ(next->elemTimeTable[7], edited ? 0 : 8);
        EXPECT_EQ(n->crossSymbol, edited ? "ka" : "");
        EXPECT_EQ(n->crossTimbre * 10 + n->timbreIndex, edited ? 34 : -11);
    };
    check(true);
    hh.undo();
    check(false);
    hh.redo();
    check(true);
}

// Elements of one position keep their order through undo: sorted insertion
// alone would put the returning element after its equals.
TEST(ElementRecords, UndoPutsElementsBackAmongTheirEqualsInTheirOldOrder) {
    SegHarness hh;
    Note* a = addNote(*hh.seg, 100, 480);
    Note* b = addNote(*hh.seg, 100, 240);
    Note* c = addNote(*hh.seg, 100, 120);
    hh.run([&](CHistoryGroup* g) { recDeleteNotes(g, {a}, hh.seg); });
    hh.run([&](CHistoryGroup* g) { recEditNotesPosWidthKey(g, {{b, 900, 240, 60}}, hh.seg); });
    EXPECT_EQ((std::vector<Note*>{c, b}), notesOf(hh.seg));
    hh.undo();
    EXPECT_EQ((std::vector<Note*>{b, c}), notesOf(hh.seg));
    hh.undo();
    EXPECT_EQ((std::vector<Note*>{a, b, c}), notesOf(hh.seg));
    // Several at once, a listed twice: its last edit counts, in its place.
    hh.run([&](CHistoryGroup* g) {
        recEditNotesPosWidthKey(g, {{a, 2000, 480, 60}, {c, 900, 120, 60}, {a, 900, 480, 60}}, hh.seg);
    });
    EXPECT_EQ((std::vector<Note*>{b, c, a}), notesOf(hh.seg));
    hh.undo();
    EXPECT_EQ((std::vector<Note*>{a, b, c}), notesOf(hh.seg));

    SingSegment* s2 = addSingSeg(*hh.track, 0, 1000);
    SingSegment* s3 = addSingSeg(*hh.track, 0, 500);
    auto segs = [&] { return std::vector<BaseSegment*>(hh.track->singSegs->begin(), hh.track->singSegs->end()); };
    hh.run([&](CHistoryGroup* g) { recDeleteSegments(g, {hh.seg}, hh.track->singSegs); });
    hh.run([&](CHistoryGroup* g) { recEditSegmentsPosWidth(g, {{s2, 2000, 1000}}, hh.track->singSegs); });
    EXPECT_EQ((std::vector<BaseSegment*>{s3, s2}), segs());
    hh.undo();
    EXPECT_EQ((std::vector<BaseSegment*>{s2, s3}), segs());
    hh.undo();
    EXPECT_EQ((std::vector<BaseSegment*>{hh.seg, s2, s3}), segs());
}

// Segments moved as one operation end as moving them one by one would leave
// them, and undo and redo give back every state exactly.
TEST(ElementRecords, SegmentsMovedTogetherUndoAndRedoExactly) {
    HistoryHarness hh;
    Track* track = addTrack(*hh.model, kSingingTrack);
    SingSegmentContainer* segs = track->singSegs;
    SingSegment* s = addSingSeg(*track, 2000, 4000);
    Note* note = addNote(*s, 100, 480);
    s->curve(kPitchCurve).nodes.assign(NodeContainer{{-1, -1}, {100, 50}, {4001, -1}});
    SingSegment* a = addSingSeg(*track, 3000, 500);
    SingSegment* b = addSingSeg(*track, 3000, 200);
    SingSegment* c = addSingSeg(*track, 8000, 1000);
    SingSegment* d = addSingSeg(*track, 8500, 1000);
    SingSegment elsewhere(0, 10);
    struct State {
        std::vector<BaseSegment*> order;
        std::vector<int> posWidthFlag;  // of s, a, b, c, d
        int notePos;
        std::vector<CurveNode> pitch;
    };
    const auto state = [&] {
        State st{{segs->begin(), segs->end()}, {}, note->pos, s->curve(kPitchCurve).nodes.toVector()};
        for (const SingSegment* x : {s, a, b, c, d})
            st.posWidthFlag.insert(st.posWidthFlag.end(), {x->pos, x->width, x->overlapped});
        return st;
    };
    const auto expect = [&](const State& want) {
        const State got = state();
        EXPECT_EQ(want.order, got.order);
        EXPECT_EQ(want.posWidthFlag, got.posWidthFlag);
        EXPECT_EQ(want.notePos, got.notePos);
        EXPECT_EQ(want.pitch, got.pitch);
    };
    const State before = state();
    ASSERT_EQ((std::vector<BaseSegment*>{s, a, b, c, d}), before.order);
    // c listed twice takes its last edit (7000, alone: flag cleared); d joins
    // a and b at 3000 after them, then a after d, as one by one; elsewhere is
    // no segment of the track. s's left edge moves 1000 out: its note and
    // pitch move 1000 right (100 -> 1100), the first node (999) is pulled
    // back to -1, the last stays at 5000 + 1.
    hh.run([&](CHistoryGroup* g) {
        recEditSegmentsPosWidth(g, {{c, 3000, 1000}, {s, 1000, 5000}, {d, 3000, 1000}, {&elsewhere, 50, 10},
                                    {a, 3000, 500}, {c, 7000, 1000}},
                                segs);
    });
    const State after{{s, b, d, a, c},
                      {1000, 5000, 1, 3000, 500, 1, 3000, 200, 1, 7000, 1000, 0, 3000, 1000, 1},
                      1100,
                      {{-1, -1}, {1100, 50}, {5001, -1}}};
    expect(after);
    EXPECT_EQ(elsewhere.pos, 0);
    hh.undo();
    expect(before);
    hh.redo();
    expect(after);
    hh.undo();
    expect(before);
}
