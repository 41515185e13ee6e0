#include <gtest/gtest.h>

#include "model/current/CopyAbleObj.h"

using namespace HVCurrentModel;

namespace {

Note* makeNote(int pos, int width, const char* lyric)
{
    auto* n = new Note;
    n->pos = pos;
    n->width = width;
    n->lyric = lyric;
    return n;
}

}  // namespace

TEST(CopyPaste, TemposPasteSortedFromTheEarliest)
{
    Tempo a{960, 6000, true}, b{0, 12000, true}, c{480, 15000, false};
    ClipboardSlot slot;
    createCopiedTempo(slot, {&a, &b, &c});
    a.tempo = 1;  // later edits of the source do not reach the clipboard

    auto pasted = pasteCopiedTempos(slot, 1920);
    ASSERT_EQ(pasted.size(), 3u);
    const std::pair<int, int> expected[] = {{1920, 12000}, {2400, 15000}, {2880, 6000}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(pasted[i]->pos, expected[i].first);
        EXPECT_EQ(pasted[i]->tempo, expected[i].second);
        EXPECT_FALSE(pasted[i]->selected);
    }
}

TEST(CopyPaste, WrongKindOrEmptyGivesNothing)
{
    Tempo t{0, 12000};
    ClipboardSlot slot;
    EXPECT_TRUE(pasteCopiedNotes(slot, 0).empty());
    createCopiedTempo(slot, {&t});
    const CopyAbleObj* held = slot.get();
    EXPECT_TRUE(pasteCopiedNotes(slot, 0).empty());
    EXPECT_TRUE(pasteCopiedBeats(slot, 0).empty());
    EXPECT_EQ(pasteCopiedSingTrack(slot), nullptr);
    EXPECT_EQ(slot.get(), held);

    createCopiedNote(slot, {});
    EXPECT_EQ(slot->kind, kCopiedNote);
    EXPECT_TRUE(pasteCopiedNotes(slot, 0).empty());
}

TEST(CopyPaste, NotesAreDeepAndEachPasteIsFresh)
{
    NoteContainer source;
    Note* a = makeNote(480, 480, "a");
    Note* b = makeNote(720, 480, "b");  // overlaps a
    source.insertSorted(a);
    source.insertSorted(b);
    a->vibrato.vibAmp.nodes.pushBack({100002, 7});
    ClipboardSlot slot;
    createCopiedNote(slot, {b, a});

    a->lyric = "changed";
    a->vibrato.vibAmp.nodes.clear();
    source.remove(b);
    delete b;

    auto first = pasteCopiedNotes(slot, 0);
    auto second = pasteCopiedNotes(slot, 0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0]->lyric, "a");
    EXPECT_EQ(first[0]->pos, 0);
    EXPECT_EQ(first[0]->vibrato.vibAmp.nodes.size(), 3u);
    EXPECT_EQ(first[1]->lyric, "b");
    EXPECT_EQ(first[1]->pos, 240);
    EXPECT_FALSE(first[0]->overlapped);
    EXPECT_FALSE(first[1]->overlapped);
    first[0]->lyric = "x";
    EXPECT_EQ(second[0]->lyric, "a");
}

TEST(CopyPaste, SegmentsSurviveTheirSource)
{
    auto* seg = new SingSegment(1920, 1920);
    seg->name = "verse";
    seg->notes.insertSorted(makeNote(0, 480, "la"));
    InstrumentSegment clip(0, 960);
    ClipboardSlot slot;
    createCopiedSegment(slot, {seg, &clip});  // only sing segments are taken

    seg->notes.front()->lyric = "changed";
    seg->curve(kAmplitudeCurve).nodes.clear();
    delete seg;

    auto pasted = pasteCopiedSegments(slot, 7680);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0]->pos, 7680);
    EXPECT_EQ(pasted[0]->name, "verse");
    ASSERT_EQ(pasted[0]->notes.size(), 1u);
    EXPECT_EQ(pasted[0]->notes.front()->lyric, "la");
    EXPECT_EQ(pasted[0]->curve(kAmplitudeCurve).nodes.size(), 2u);
}

TEST(CopyPaste, SingTrackOnlyFromASingingTrack)
{
    Track track(kSingingTrack);
    track.name = "lead";
    track.volume = 70;
    auto* seg = new SingSegment(0, 1920);
    seg->singer = "Ann";
    insertSegmentSorted(*track.singSegs, seg);
    ClipboardSlot slot;
    EXPECT_TRUE(createCopiedSingTrack(slot, track));
    seg->singer = "Bob";
    EXPECT_FALSE(createCopiedSingTrack(slot, Track(kInstrumentTrack)));

    auto pasted = pasteCopiedSingTrack(slot);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->name, "lead");
    EXPECT_EQ(pasted->volume, 70);
    ASSERT_EQ(pasted->singSegs->size(), 1u);
    EXPECT_EQ(pasted->singSegs->segAt(0)->singer, "Ann");
    EXPECT_NE(pasteCopiedSingTrack(slot)->singSegs->segAt(0), pasted->singSegs->segAt(0));
}
