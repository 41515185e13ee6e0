#include <gtest/gtest.h>

#include "model/current/Note.h"

using namespace HVCurrentModel;
using NoteList = std::vector<Note*>;

namespace {

Note* makeNote(int pos, int width)
{
    auto* n = new Note;
    n->pos = pos;
    n->width = width;
    return n;
}

}  // namespace

TEST(ElementContainer, HalfOpenOverlapAndOrder)
{
    NoteContainer notes;
    Note* a = makeNote(0, 480);
    Note* b = makeNote(480, 480);
    notes.insertSorted(b);
    notes.insertSorted(a);
    EXPECT_FALSE(notes.hasOverlapped());  // [0,480) and [480,960) only touch

    Note* c = makeNote(480, 100);  // equal position: goes after b
    notes.insertSorted(c);
    Note* empty = makeNote(480, 0);  // so does a zero-width one
    notes.insertSorted(empty);
    EXPECT_EQ(notes, (NoteList{a, b, c, empty}));
    NoteList flagged;
    EXPECT_TRUE(notes.getOverlapped(flagged));
    EXPECT_EQ(flagged, (NoteList{b, c}));

    NoteContainer crossing;
    Note* d = makeNote(0, 481);
    Note* e = makeNote(480, 480);
    crossing.insertSorted(d);
    crossing.insertSorted(e);
    EXPECT_TRUE(d->overlapped);
    EXPECT_TRUE(e->overlapped);
}

TEST(ElementContainer, CopiedFlagIsNotCarriedIn)
{
    NoteContainer notes;
    Note* a = makeNote(0, 480);
    notes.insertSorted(a);
    notes.insertSorted(makeNote(240, 480));
    ASSERT_TRUE(a->overlapped);

    // A copy of a flagged note placed where nothing overlaps it.
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
    NoteContainer three;
    Note* a = makeNote(0, 600);
    Note* b = makeNote(100, 600);
    Note* c = makeNote(200, 600);
    for (Note* n : {a, b, c}) three.insertSorted(n);
    three.remove(b);
    EXPECT_EQ(three, (NoteList{a, c}));
    EXPECT_FALSE(b->overlapped);
    EXPECT_TRUE(a->overlapped);
    EXPECT_TRUE(c->overlapped);
    delete b;  // removal hands the element back

    // Chain d-e-f with d and f apart, plus an unrelated pair g-h.
    NoteContainer chain;
    Note* d = makeNote(0, 300);
    Note* e = makeNote(200, 300);
    Note* f = makeNote(400, 300);
    Note* g = makeNote(2000, 600);
    Note* h = makeNote(2100, 600);
    for (Note* n : {d, e, f, g, h}) chain.insertSorted(n);
    chain.remove(d);
    delete d;
    EXPECT_TRUE(e->overlapped);  // still overlaps f
    chain.remove(f);
    delete f;
    EXPECT_FALSE(e->overlapped);
    EXPECT_TRUE(g->overlapped);
    EXPECT_TRUE(h->overlapped);
}

TEST(ElementContainer, ReinsertAllAfterMovesInPlace)
{
    NoteContainer notes;
    Note* a = makeNote(0, 480);
    Note* b = makeNote(240, 480);
    Note* c = makeNote(960, 480);
    for (Note* n : {a, b, c}) notes.insertSorted(n);
    a->pos = 1200;  // away from b, onto c
    notes.reinsertAll({a});
    EXPECT_EQ(notes, (NoteList{b, c, a}));
    EXPECT_FALSE(b->overlapped);  // its partner left; the old span is forgotten
    EXPECT_TRUE(c->overlapped);
    EXPECT_TRUE(a->overlapped);
}
