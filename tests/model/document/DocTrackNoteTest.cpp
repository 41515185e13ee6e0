#include <algorithm>
#include <array>
#include <utility>

#include "DocFixture.h"
#include "model/document/LyricSplit.h"
#include "voicebank/SingerMgr.h"

using namespace HVCurrentModel;
using namespace projtest;

namespace {

std::vector<Note*> notesOf(const SingSegment* s) { return {s->notes.begin(), s->notes.end()}; }

struct TestSinger : ISinger {
    explicit TestSinger(const std::string& n) { name_ = n; }
    bool hasLyricDict() override { return false; }
    ILyricDict* getLyricDict() override { return nullptr; }
};

}  // namespace

using DocTracks = DocFixture;
using DocNotes = DocFixture;

TEST_F(DocTracks, NewSingingTracksGoBeforeTheInstrumentalOnes) {
    Track* inst = addTrack(*model, kInstrumentTrack);
    doc.addNewSingTrack("second");
    auto* extra = new Track(kInstrumentTrack);
    doc.appendInstrumentTrack(extra);
    Track wrongKind(kSingingTrack);
    doc.appendInstrumentTrack(&wrongKind);  // refused
    ASSERT_EQ(model->tracks.size(), 4u);
    EXPECT_EQ(model->tracks[1]->name, "second");
    EXPECT_EQ(model->tracks[2], inst);
    EXPECT_EQ(model->tracks[3], extra);
    EXPECT_EQ(doc.getHistory().undoCount(), 2);
}

TEST_F(DocTracks, DeleteTrackUndoBringsBackTheSameTrackWithItsSegments) {
    Track* second = addTrack(*model, kSingingTrack);
    SingSegment* s = addSingSeg(*second, 0, 960);
    Note* n = addNote(*s, 0, 480);
    Track* inst = addTrack(*model, kInstrumentTrack);
    second->selected = true;
    doc.deleteTrack(second);
    EXPECT_EQ((std::vector<Track*>{track, inst}), model->tracks);
    EXPECT_FALSE(second->selected);
    doc.undo();
    EXPECT_EQ((std::vector<Track*>{track, second, inst}), model->tracks);
    ASSERT_EQ(second->singSegs->size(), 1u);
    EXPECT_EQ(second->singSegs->segAt(0), s);
    EXPECT_EQ((std::vector<Note*>{n}), notesOf(s));
    // Redone and dropped with the history: freed once, with its segments.
    doc.redo();
    doc.getHistory().clear();

    Track stray(kSingingTrack);
    doc.deleteTrack(&stray);
    EXPECT_FALSE(doc.canUndo());
}

TEST_F(DocTracks, ChecksBeforePlaybackAndTheProjectEnd) {
    std::vector<int> ticks;
    doc.collectTrksWithOverlappedSegs(ticks);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(doc.getProjectEndTick(), 9599);
    addSingSeg(*track, 9000, 1000, "singer");  // overlaps [7680, 9600)
    Track* inst = addTrack(*model, kInstrumentTrack);
    addClip(*inst, 0, 100, 44100, 100);
    doc.collectTrksWithOverlappedSegs(ticks);
    EXPECT_EQ((std::vector<int>{9599, 9999}), ticks);
    addClip(*inst, 12000, 10, 44100, 100);
    EXPECT_EQ(doc.getProjectEndTick(), 12009);

    getSingerList()->addSinger(new TestSinger("singer"));
    SingSegment* orphan = addSingSeg(*track, 10000, 100, "nobody");
    std::vector<SingSegment*> missing;
    doc.collectSegsWithMissingSinger(missing);
    EXPECT_EQ((std::vector<SingSegment*>{orphan}), missing);
    getSingerList()->clearSingers();

    CSSSynthesizerDoc empty;
    empty.newProject(markersOnly().release());
    EXPECT_EQ(empty.getProjectEndTick(), 0);
}

TEST_F(DocNotes, SlashListSplitsTheNoteIntoEqualPieces) {
    CAppConfigModel& cfg = getAppConfig();
    cfg.isAutoVib = true, cfg.autoVibBeats = 0, cfg.vibPercent = 30, cfg.expBendDep = 33;
    Note* n = addNote(*seg, 0, 480, 50);
    doc.inputLyricsForNotes(n, {"/la li lu"}, seg);
    const auto pieces = notesOf(seg);
    ASSERT_EQ(pieces.size(), 3u);
    const char* lyrics[] = {"la", "li", "lu"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ((std::vector<int>{160 * i, 160, 50}), (std::vector<int>{pieces[i]->pos, pieces[i]->width, pieces[i]->key}));
        EXPECT_EQ(pieces[i]->lyric + pieces[i]->phoneticSymbol, std::string(lyrics[i]) + lyrics[i]);
        EXPECT_EQ(pieces[i]->bendDep, i == 0 ? 33 : 0);
        EXPECT_EQ(pieces[i]->vibPercent, i == 2 ? 30 : 0);
    }
    doc.undo();
    EXPECT_EQ((std::vector<Note*>{n}), notesOf(seg));

    std::vector<std::string> out{"stale"};  // only a slash list splits
    splitLyricText("la li", out);
    EXPECT_TRUE(out.empty());
    splitLyricText("/a  b/ c", out);
    EXPECT_EQ((std::vector<std::string>{"a", "b/", "c"}), out);
}

TEST_F(DocNotes, ShortNotesTakeFewerPiecesAndAreNeverLost) {
    Note* n40 = addNote(*seg, 0, 40);
    doc.replaceSegNotes(n40, {"la", "li", "lu"}, seg);
    auto pieces = notesOf(seg);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1]->pos, 15);
    EXPECT_EQ(pieces[1]->width, 15);  // ticks 30 .. 39 stay empty
    EXPECT_EQ(pieces[1]->lyric, "li");

    Note* n10 = addNote(*seg, 1000, 10);
    doc.replaceSegNotes(n10, {"a", "b"}, seg);
    pieces = notesOf(seg);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ((std::vector<int>{1000, 10}), (std::vector<int>{pieces[2]->pos, pieces[2]->width}));
    EXPECT_EQ(pieces[2]->lyric, "a");

    // A negative width (a damaged file): -30 / 2 = -15 per text, so pieces of
    // 15, of which -30 / 15 = -2 fit; the note stays whole with "a".
    Note* negative = addNote(*seg, 1500, -30);
    doc.replaceSegNotes(negative, {"a", "b"}, seg);
    pieces = notesOf(seg);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ((std::vector<int>{1500, -30}), (std::vector<int>{pieces[3]->pos, pieces[3]->width}));
    EXPECT_EQ(pieces[3]->lyric, "a");

    // A note at the end of the tick range (a damaged file): pieces of 50 at
    // 2147483600 and 2147483600 + 50, which is past INT32_MAX and stays at it.
    Note* last = addNote(*seg, 2147483600, 100);
    doc.replaceSegNotes(last, {"a", "b"}, seg);
    pieces = notesOf(seg);
    ASSERT_EQ(pieces.size(), 6u);
    EXPECT_EQ((std::vector<int>{2147483600, 2147483647}), (std::vector<int>{pieces[4]->pos, pieces[5]->pos}));
}

TEST_F(DocNotes, LyricsForSeveralNotesLandOnTheNotesThatWereThere) {
    Note* a = addNote(*seg, 0, 480);
    Note* b = addNote(*seg, 480, 480);
    doc.inputLyricsForNotes(a, {"/x y", "z", "unused"}, seg);
    const auto now = notesOf(seg);
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(now[0]->lyric + now[1]->lyric, "xy");
    EXPECT_EQ(now[2], b);
    EXPECT_EQ(b->lyric, "z");
    EXPECT_EQ(doc.getHistory().undoCount(), 1);
}

TEST_F(DocNotes, LiveNoteGrowsWithTheCursorAndEndsAsOneGroup) {
    doc.beginRecNote(60);  // no segment in the editor
    EXPECT_EQ(doc.liveNote, nullptr);

    doc.setEditingSegment(seg);
    doc.playPos = 7680 + 100;
    doc.beginRecNote(60);
    ASSERT_NE(doc.liveNote, nullptr);
    Note* live = doc.liveNote;
    EXPECT_EQ((std::vector<int>{100, 3}), (std::vector<int>{live->pos, live->width}));
    EXPECT_EQ(frame.scoreModes, 1);
    // Showing another segment meanwhile does not move the note being entered.
    SingSegment* other = addSingSeg(*addTrack(*model, kSingingTrack), 0, 100000);
    doc.setEditingSegment(other);
    doc.beginRecNote(62);
    EXPECT_EQ(doc.liveSeg, seg);
    doc.playPos = 7680 + 50;  // cursor before the note's start
    doc.growRecNote();
    EXPECT_EQ(live->width, 1);
    doc.playPos = 7680 + 579;
    doc.growRecNote();
    EXPECT_EQ(live->width, 480);
    EXPECT_FALSE(doc.canUndo());
    doc.endRecNote();
    EXPECT_TRUE(!doc.liveNote && !doc.liveSeg && other->notes.empty());
    doc.undo();  // one group
    EXPECT_TRUE(seg->notes.empty());

    // The receiving segment is deleted while the note is entered: the entry
    // ends without recording a note into a segment outside the model.
    doc.setEditingSegment(seg);
    doc.beginRecNote(60);
    doc.deleteSegments({seg}, track->singSegs);
    const int groups = doc.getHistory().undoCount();
    doc.growRecNote();
    doc.endRecNote();
    EXPECT_TRUE(!doc.liveNote && !doc.liveSeg);
    EXPECT_EQ(doc.getHistory().undoCount(), groups);
    doc.undo();  // the segment comes back with the unrecorded note inside
    EXPECT_EQ(seg->notes.size(), 1u);
}

// A record that takes the live note out of its segment ends the entry: the
// record owns the note from then on, so growing or ending must not put it
// back, and the segment never holds it twice nor a freed one (the sanitizer
// build reads the notes after the record is dropped).
TEST_F(DocNotes, LiveNoteTakenOutOfItsSegmentEndsTheEntry) {
    struct LiveCase {
        const char* what;
        bool split;         // lyric split instead of delete
        bool undoBeforeEnd;  // the removal is undone between grow and end
    };
    const LiveCase cases[] = {
        {"delete", false, false},
        {"delete, undone before the end", false, true},
        {"lyric split", true, false},
        {"lyric split, undone before the end", true, true},
    };
    for (const LiveCase& c : cases) {
        SCOPED_TRACE(c.what);
        CSSSynthesizerDoc d;
        auto m = markersOnly();
        SingSegment* s = addSingSeg(*addTrack(*m, kSingingTrack), 7680, 1920);
        d.newProject(m.release());
        d.getHistory().limit = 3;
        d.setEditingSegment(s);
        d.playPos = 7680 + 100;
        d.beginRecNote(60);
        Note* live = d.liveNote;
        ASSERT_NE(live, nullptr);
        if (c.split)
            d.replaceSegNotes(live, {"a", "b"}, s);  // 3 ticks: one piece "a" replaces it
        else
            d.deleteNotes({live}, s);
        EXPECT_TRUE(!d.liveNote && !d.liveSeg);
        const size_t notesAfterRemoval = c.split ? 1 : 0;
        EXPECT_EQ(s->notes.size(), notesAfterRemoval);

        d.playPos = 7680 + 579;
        d.growRecNote();
        if (c.undoBeforeEnd) d.undo();
        d.endRecNote();
        EXPECT_EQ(d.getHistory().undoCount(), c.undoBeforeEnd ? 0 : 1);
        const auto count = std::count(s->notes.begin(), s->notes.end(), live);
        EXPECT_EQ(count, c.undoBeforeEnd ? 1 : 0);
        EXPECT_EQ(s->notes.size(), c.undoBeforeEnd ? 1u : notesAfterRemoval);
        if (c.undoBeforeEnd) {
            EXPECT_EQ(live->width, 3);  // as entered, never grown
        }

        // Edits until the removal's group falls off the history (limit 3).
        for (int i = 0; i < 4; ++i) d.editSegCurveAmplitude(s, NodeContainer{{100, i}, {200, i}});
        int widths = 0;
        for (const Note* n : s->notes) widths += n->width;
        EXPECT_EQ(widths, c.undoBeforeEnd || c.split ? 3 : 0);
    }
}

TEST_F(DocNotes, FixNoteOverlapsKeepsTheLargerKeyOrCutsTheFirstNote) {
    CSSSynthesizerDoc fresh;
    auto m = markersOnly();
    SingSegment* s = addSingSeg(*addTrack(*m, kSingingTrack), 0, 5000);
    addNote(*s, 0, 480, 40);
    Note* keep = addNote(*s, 10, 480, 70);
    Note* cut = addNote(*s, 1000, 480, 50);
    Note* next = addNote(*s, 1400, 480, 50);
    fresh.newProject(m.release());
    fresh.fixNoteOverlaps(s);
    EXPECT_EQ((std::vector<Note*>{keep, cut, next}), notesOf(s));
    EXPECT_EQ(cut->width, 400);

    // Notes as {pos, width, key}; the kept ones as {pos, width}.
    struct Case {
        std::vector<std::array<int, 3>> notes;
        std::vector<std::pair<int, int>> kept;
    };
    const Case cases[] = {
        // A chain: A meets B over (479 - 100) / 480 = 0.79 and is cut to 100;
        // then B meets C over (299 - 200) / 480 = 0.21 and is cut to 100.
        {{{0, 480, 40}, {100, 480, 50}, {200, 100, 60}}, {{0, 100}, {100, 100}, {200, 100}}},
        // A keeps its larger key against B (479 / 480) and then against C
        // ((479 - 10) / 480 = 0.98), which both go.
        {{{0, 480, 70}, {0, 480, 40}, {10, 470, 40}}, {{0, 480}}},
        // A note of no width at A's start overlaps nothing; the cut A goes
        // after it.
        {{{0, 480, 40}, {0, 0, 50}, {240, 480, 50}}, {{0, 0}, {0, 240}, {240, 480}}},
    };
    for (const Case& c : cases) {
        CSSSynthesizerDoc d;
        auto model = markersOnly();
        SingSegment* seg2 = addSingSeg(*addTrack(*model, kSingingTrack), 0, 5000);
        for (const auto& [pos, width, key] : c.notes) addNote(*seg2, pos, width, key);
        d.newProject(model.release());
        d.fixNoteOverlaps(seg2);
        std::vector<std::pair<int, int>> kept;
        for (const Note* n : seg2->notes) {
            kept.emplace_back(n->pos, n->width);
            EXPECT_FALSE(n->overlapped);
        }
        EXPECT_EQ(kept, c.kept) << c.notes.size() << " notes from " << c.notes[0][0];
    }

    // Notes the history may hold are left alone.
    Note* a = addNote(*seg, 0, 480);
    doc.insertNote(new Note(*a), seg);
    doc.fixNoteOverlaps(seg);
    EXPECT_EQ(notesOf(seg).size(), 2u);
}
