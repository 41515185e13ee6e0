#include <gtest/gtest.h>

#include "MakeNote.h"

using namespace HVCurrentModel;
using NoteList = std::vector<Note*>;

TEST(ElementContainer, HalfOpenOverlapAndOrder)
{
    NoteContainer notes;
    NoteList n = insertNotes(notes, {{480, 480}, {0, 480}});  // out of order
    EXPECT_FALSE(notes.hasOverlapped());  // [0,480) and [480,960) only touch

    // At an equal position a new note goes after the old ones; one of zero
    // width overlaps nothing.
    for (Note* x : insertNotes(notes, {{480, 100}, {480, 0}})) n.push_back(x);
    EXPECT_EQ(notes, (NoteList{n[1], n[0], n[2], n[3]}));
    NoteList flagged;
    EXPECT_TRUE(notes.getOverlapped(flagged));
    EXPECT_EQ(flagged, (NoteList{n[0], n[2]}));

    NoteContainer crossing;
    const NoteList de = insertNotes(crossing, {{0, 481}, {480, 480}});
    EXPECT_TRUE(de[0]->overlapped);
    EXPECT_TRUE(de[1]->overlapped);
}

TEST(ElementContainer, CopiedFlagIsNotCarriedIn)
{
    NoteContainer notes;
    Note* a = insertNotes(notes, {{0, 480}, {240, 480}})[0];
    ASSERT_TRUE(a->overlapped);

    // Copies of a flagged note placed where nothing overlaps them.
    Note* copy = new Note(*a);
    copy->pos = 1920;
    notes.insertSorted(copy);
    EXPECT_FALSE(copy->overlapped);
    NoteContainer empty;
    Note* other = new Note(*a);
    empty.insertSorted(other);
    EXPECT_FALSE(other->overlapped);
}

TEST(ElementContainer, RemovalClearsPartnersLeftWithoutOverlap)
{
    // Three notes over each other: the two left still overlap each other.
    NoteContainer three;
    const NoteList abc = insertNotes(three, {{0, 600}, {100, 600}, {200, 600}});
    three.remove(abc[1]);
    EXPECT_EQ(three, (NoteList{abc[0], abc[2]}));
    EXPECT_FALSE(abc[1]->overlapped);
    EXPECT_TRUE(abc[0]->overlapped);
    EXPECT_TRUE(abc[2]->overlapped);
    delete abc[1];  // removal hands the element back

    // Chain d-e-f with d and f apart, plus an unrelated pair g-h.
    NoteContainer chain;
    const NoteList n = insertNotes(chain, {{0, 300}, {200, 300}, {400, 300}, {2000, 600}, {2100, 600}});
    chain.remove(n[0]);
    delete n[0];
    EXPECT_TRUE(n[1]->overlapped);  // still overlaps f
    chain.remove(n[2]);
    delete n[2];
    EXPECT_FALSE(n[1]->overlapped);
    EXPECT_TRUE(n[3]->overlapped);
    EXPECT_TRUE(n[4]->overlapped);
}

TEST(ElementContainer, ReinsertAllAfterMovesInPlace)
{
    NoteContainer notes;
    const NoteList abc = insertNotes(notes, {{0, 480}, {240, 480}, {960, 480}});
    abc[0]->pos = 1200;  // away from b, onto c
    notes.reinsertAll({abc[0]});
    EXPECT_EQ(notes, (NoteList{abc[1], abc[2], abc[0]}));
    EXPECT_FALSE(abc[1]->overlapped);  // its partner left; the old span is forgotten
    EXPECT_TRUE(abc[2]->overlapped);
    EXPECT_TRUE(abc[0]->overlapped);
}
