#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "MakeNote.h"
#include "model/current/CopyAbleObj.h"

using namespace HVCurrentModel;

TEST(CopyPaste, TemposPasteSortedFromTheEarliest)
{
    Tempo a{960, 6000, true}, b{0, 12000, true}, c{480, 15000, false};
    ClipboardSlot slot;
    EXPECT_TRUE(pasteCopiedTempos(slot, 0).empty());  // nothing copied yet
    createCopiedTempo(slot, {&a, &b, &c});
    a.tempo = 1;  // later edits of the source do not reach the clipboard

    // Pasting another kind takes nothing and leaves the slot as it was.
    const CopyAbleObj* held = slot.get();
    EXPECT_TRUE(pasteCopiedNotes(slot, 0).empty());
    EXPECT_TRUE(pasteCopiedBeats(slot, 0).empty());
    EXPECT_EQ(pasteCopiedSingTrack(slot), nullptr);
    EXPECT_EQ(slot.get(), held);

    auto pasted = pasteCopiedTempos(slot, 1920);
    ASSERT_EQ(pasted.size(), 3u);
    const std::pair<int, int> expected[] = {{1920, 12000}, {2400, 15000}, {2880, 6000}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(pasted[i]->pos, expected[i].first);
        EXPECT_EQ(pasted[i]->tempo, expected[i].second);
        EXPECT_FALSE(pasted[i]->selected);
    }
    // An empty copy pastes nothing instead of reading a first element.
    createCopiedNote(slot, {});
    EXPECT_EQ(slot->kind, kCopiedNote);
    EXPECT_TRUE(pasteCopiedNotes(slot, 0).empty());
}

TEST(CopyPaste, NotesAreDeepUnflaggedAndEachPasteIsFresh)
{
    NoteContainer source;
    Note* a = makeNote(480, 480, "a");
    Note* b = makeNote(720, 480, "b");  // overlaps a
    source.insertSorted(a);
    source.insertSorted(b);
    a->selected = true;
    a->timeFactor2 = 0.5f;
    a->cycle.table.set(3, 9.0f);
    a->bendCurve.nodes.pushBack({0, 1});
    a->vibrato.vibAmp.nodes.pushBack({100002, 7});
    ClipboardSlot slot;
    createCopiedNote(slot, {b, a});

    a->lyric = "changed";
    a->cycle.table.set(3, 0.0f);
    a->bendCurve.nodes.clear();
    a->vibrato.vibAmp.nodes.clear();
    source.remove(b);
    delete b;

    auto first = pasteCopiedNotes(slot, 0);
    auto second = pasteCopiedNotes(slot, 0);
    ASSERT_EQ(first.size(), 2u);
    const Note& pa = *first[0];
    EXPECT_EQ(pa.lyric, "a");
    EXPECT_EQ(pa.pos, 0);
    EXPECT_FALSE(pa.selected);
    EXPECT_EQ(pa.timeFactor2, 0.5f);
    EXPECT_EQ(pa.cycle.table[3], 9.0f);
    EXPECT_EQ(pa.bendCurve.nodes.size(), 1u);
    EXPECT_EQ(pa.vibrato.vibAmp.nodes.size(), 3u);
    EXPECT_EQ(first[1]->lyric, "b");
    EXPECT_EQ(first[1]->pos, 240);
    EXPECT_FALSE(pa.overlapped);
    EXPECT_FALSE(first[1]->overlapped);
    first[0]->lyric = "x";
    EXPECT_EQ(second[0]->lyric, "a");
}

TEST(CopyPaste, SegmentsAndSingTracksSurviveTheirSource)
{
    Track track(kSingingTrack);
    track.name = "lead";
    auto* seg = new SingSegment(1920, 1920);
    seg->name = "verse";
    seg->selected = true;
    seg->notes.insertSorted(makeNote(0, 480));
    insertSegmentSorted(*track.singSegs, seg);
    InstrumentSegment clip(0, 960);
    ClipboardSlot segSlot, trackSlot;
    createCopiedSegment(segSlot, {seg, &clip});  // only sing segments are taken
    EXPECT_TRUE(createCopiedSingTrack(trackSlot, track));
    EXPECT_FALSE(createCopiedSingTrack(trackSlot, Track(kInstrumentTrack)));

    seg->notes.front()->lyric = "changed";
    seg->curve(kAmplitudeCurve).nodes.clear();
    removeSegment(*track.singSegs, seg);
    delete seg;

    auto segs = pasteCopiedSegments(segSlot, 7680);
    auto pastedTrack = pasteCopiedSingTrack(trackSlot);
    ASSERT_EQ(segs.size(), 1u);
    EXPECT_EQ(segs[0]->pos, 7680);
    ASSERT_NE(pastedTrack, nullptr);
    EXPECT_EQ(pastedTrack->name, "lead");
    ASSERT_EQ(pastedTrack->singSegs->size(), 1u);
    for (const SingSegment* s : {segs[0].get(), pastedTrack->singSegs->segAt(0)}) {
        EXPECT_EQ(s->name, "verse");
        EXPECT_FALSE(s->selected);
        ASSERT_EQ(s->notes.size(), 1u);
        EXPECT_EQ(s->notes.front()->lyric, "la");
        EXPECT_EQ(s->curve(kAmplitudeCurve).nodes.size(), 2u);
    }
    EXPECT_NE(pasteCopiedSingTrack(trackSlot)->singSegs->segAt(0), pastedTrack->singSegs->segAt(0));
}

// The paste shift is taken in 64 bits: positions at the ends of the tick
// range land exactly or are clamped, never wrapped.
TEST(CopyPaste, ShiftsNearTheTickLimitsDoNotWrap)
{
    struct Case {
        std::vector<int> copied;
        int pasteAt;
        std::vector<int> pasted;
    } cases[] = {
        // 2147483647 - -10 = 2147483657 beyond the range: the second clamps.
        {{-10, 0}, INT32_MAX, {INT32_MAX, INT32_MAX}},
        // shift -2147483648 - 10 = -2147483658; 20 lands at -2147483638.
        {{10, 20}, INT32_MIN, {INT32_MIN, INT32_MIN + 10}},
        // The earliest of a copy that spans the whole range lands at 0.
        {{INT32_MIN, INT32_MAX}, 0, {0, INT32_MAX}},
    };
    for (const Case& c : cases) {
        std::vector<Note*> notes;
        for (int pos : c.copied) notes.push_back(makeNote(pos, 10));
        ClipboardSlot slot;
        createCopiedNote(slot, notes);
        std::vector<int> got;
        for (const auto& n : pasteCopiedNotes(slot, c.pasteAt)) got.push_back(n->pos);
        EXPECT_EQ(got, c.pasted) << "paste at " << c.pasteAt;
        for (Note* n : notes) delete n;
    }
}
