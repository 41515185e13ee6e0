#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

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
    EXPECT_EQ(notes.toVector(), (NoteList{n[1], n[0], n[2], n[3]}));
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
    EXPECT_EQ(three.toVector(), (NoteList{abc[0], abc[2]}));
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
    EXPECT_EQ(notes.toVector(), (NoteList{abc[1], abc[2], abc[0]}));
    EXPECT_FALSE(abc[1]->overlapped);  // its partner left; the old span is forgotten
    EXPECT_TRUE(abc[2]->overlapped);
    EXPECT_TRUE(abc[0]->overlapped);
}

TEST(ElementContainer, ReinsertAllTakesEveryMovedElementOutFirst)
{
    // Width-1 notes at 0, 1, 2, 3; the second and third move by +10 in place.
    for (bool listInOrder : {true, false}) {
        NoteContainer notes;
        const NoteList n = insertNotes(notes, {{0, 1}, {1, 1}, {2, 1}, {3, 1}});
        n[1]->pos = 11;
        n[2]->pos = 12;
        notes.reinsertAll(listInOrder ? NoteList{n[1], n[2]} : NoteList{n[2], n[1]});
        EXPECT_EQ(notes.toVector(), (NoteList{n[0], n[3], n[1], n[2]})) << "list in order " << listInOrder;
        EXPECT_FALSE(notes.hasOverlapped()) << "list in order " << listInOrder;
    }

    // Two adjacent notes [0,480) [480,960) move together past a third at
    // [960,1440), by +1200: [1200,1680) overlaps the third, [1680,2160) does not.
    for (bool listInOrder : {true, false}) {
        NoteContainer notes;
        const NoteList n = insertNotes(notes, {{0, 480}, {480, 480}, {960, 480}});
        n[0]->pos += 1200;
        n[1]->pos += 1200;
        notes.reinsertAll(listInOrder ? NoteList{n[0], n[1]} : NoteList{n[1], n[0]});
        EXPECT_EQ(notes.toVector(), (NoteList{n[2], n[0], n[1]})) << "list in order " << listInOrder;
        EXPECT_TRUE(n[2]->overlapped && n[0]->overlapped) << "list in order " << listInOrder;
        EXPECT_FALSE(n[1]->overlapped) << "list in order " << listInOrder;
    }

    // A moved element goes after those of equal position that stayed; moved
    // ones of equal position keep the list's order; a listed duplicate goes
    // in once.
    NoteContainer notes;
    const NoteList n = insertNotes(notes, {{0, 10}, {100, 10}, {200, 10}, {300, 10}});
    n[0]->pos = 100;
    n[3]->pos = 100;
    notes.reinsertAll({n[3], n[0], n[3]});
    EXPECT_EQ(notes.toVector(), (NoteList{n[1], n[3], n[0], n[2]}));
}

// Flags set in one sweep equal those of every pair checked against every
// other, for spans of any width (negative widths come from damaged files);
// so does the sweep that counts only some elements as partners.
TEST(ElementContainer, OverlapSweepMatchesEveryPairChecked)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        NoteContainer notes;
        const int count = 1 + round % 12;
        for (int k = 0; k < count; ++k)
            notes.push_back(makeNote(int(random() % 20), int(random() % 12) - 3));
        notes.sortAndMarkOverlaps();
        std::vector<bool> partner;
        for (int k = 0; k < count; ++k) partner.push_back(random() % 2 == 0);
        const std::vector<bool> hitPartner =
            overlapsPartner(notes.toVector(), [&](size_t k) { return bool(partner[k]); });
        for (size_t i = 0; i < notes.size(); ++i) {
            bool expected = false, expectedPartner = false;
            for (size_t j = 0; j < notes.size(); ++j) {
                const long a0 = notes[i]->pos, a1 = a0 + notes[i]->width;
                const long b0 = notes[j]->pos, b1 = b0 + notes[j]->width;
                const bool meet = i != j && a1 > b0 && b1 > a0;
                expected = expected || meet;
                expectedPartner = expectedPartner || (meet && partner[j]);
            }
            ASSERT_EQ(notes[i]->overlapped, expected) << "round " << round << " element " << i;
            ASSERT_EQ(hitPartner[i], expectedPartner) << "round " << round << " element " << i;
            if (i > 0) {
                ASSERT_LE(notes[i - 1]->pos, notes[i]->pos) << "round " << round;
            }
        }
    }

    // Spans reaching the ends of the tick range.
    NoteContainer edges;
    const NoteList n = insertNotes(edges, {{0, INT32_MAX}, {INT32_MAX - 1, INT32_MAX}, {INT32_MIN, 1}});
    edges.sortAndMarkOverlaps();
    EXPECT_EQ(edges.toVector(), (NoteList{n[2], n[0], n[1]}));
    EXPECT_TRUE(n[0]->overlapped && n[1]->overlapped);
    EXPECT_FALSE(n[2]->overlapped);
}

// Removing one element clears exactly the flags of the flagged elements it
// overlapped that overlap no other flagged element, and returns those; on
// crowded and sparse spans, with a few elements far wider than the others,
// with flags as marked and with some flipped (as a damaged file may hold
// them); one removal after another, in containers of a few and of a few
// thousand elements.
TEST(ElementContainer, RemovalMatchesEveryPairChecked)
{
    std::mt19937 random(11);
    for (int round = 0; round < 600; ++round) {
        NoteContainer notes;
        const bool large = round % 100 == 99;
        const int count = large ? 2500 : 2 + round % 40;
        const int spread = large ? 100000 : round % 3 == 0 ? 8 : 200;
        for (int k = 0; k < count; ++k)
            notes.push_back(
                makeNote(int(random() % spread), random() % 16 == 0 ? int(random() % 2000) : int(random() % 40) - 4));
        notes.sortAndMarkOverlaps();
        if (round % 4 == 3)
            for (Note* x : notes)
                if (random() % 5 == 0) x->overlapped = !x->overlapped;
        for (int removal = 0; removal < (large ? count - 10 : round % 5 == 0 ? count / 2 : 1); ++removal) {
            Note* gone = notes[random() % notes.size()];
            const auto meets = [](const Note* a, const Note* b) {
                return long{a->pos} + a->width > b->pos && long{b->pos} + b->width > a->pos;
            };
            NoteList expected;
            if (gone->overlapped)
                for (Note* x : notes) {
                    if (x == gone || !x->overlapped || !meets(x, gone)) continue;
                    bool partner = false;
                    for (Note* y : notes) partner = partner || (y != x && y != gone && y->overlapped && meets(x, y));
                    if (!partner) expected.push_back(x);
                }
            std::vector<bool> flagsAfter;
            for (Note* x : notes) flagsAfter.push_back(x->overlapped && x != gone);
            for (size_t i = 0; i < notes.size(); ++i)
                if (std::find(expected.begin(), expected.end(), notes[i]) != expected.end()) flagsAfter[i] = false;
            NoteList left(notes.begin(), notes.end());
            const NoteList cleared = notes.remove(gone);
            ASSERT_EQ(cleared, expected) << "round " << round;
            for (size_t i = 0; i < left.size(); ++i)
                ASSERT_EQ(left[i]->overlapped, bool(flagsAfter[i])) << "round " << round << " element " << i;
            left.erase(std::find(left.begin(), left.end(), gone));
            ASSERT_EQ(notes.toVector(), left) << "round " << round;
            delete gone;
        }
    }
}

// Inserting a list at once gives the order and flags of inserting it one by
// one: equal positions in list order after those already there, copied
// flags dropped, flags already set (rightly or, from a damaged file, not)
// only ever gained; a container out of order takes them one by one too; in
// containers of a few and of a few thousand elements.
TEST(ElementContainer, InsertAllMatchesOneByOne)
{
    std::mt19937 random(13);
    for (int round = 0; round < 300; ++round) {
        const int spread = round % 3 == 0 ? 8 : 200;
        std::vector<std::pair<int, int>> spans;
        std::vector<bool> flags;
        for (int k = 0; k < (round % 100 == 99 ? 3000 : 2 + round % 70); ++k) {
            spans.emplace_back(int(random() % spread), int(random() % 40) - 4);
            flags.push_back(random() % 3 == 0);
        }
        const size_t old = spans.size() / 2;
        NoteContainer once, byOne;
        NoteList made[2];
        for (size_t k = 0; k < spans.size(); ++k)
            for (int c = 0; c < 2; ++c) {
                made[c].push_back(makeNote(spans[k].first, spans[k].second));
                made[c].back()->overlapped = flags[k];
                if (k < old) (c == 0 ? once : byOne).push_back(made[c].back());
            }
        if (round % 5 != 4) {
            once.sortAndMarkOverlaps();
            byOne.sortAndMarkOverlaps();
        }
        if (round % 4 == 3)
            for (size_t i = 0; i < old; ++i)
                if (random() % 4 == 0) once[i]->overlapped = byOne[i]->overlapped = !once[i]->overlapped;
        once.insertAll(NoteList(made[0].begin() + old, made[0].end()));
        for (size_t k = old; k < spans.size(); ++k) byOne.insertSorted(made[1][k]);
        for (size_t i = 0; i < spans.size(); ++i) {
            const auto at = [&](const NoteList& m, const NoteContainer& c) {
                return std::find(m.begin(), m.end(), c[i]) - m.begin();
            };
            ASSERT_EQ(at(made[0], once), at(made[1], byOne)) << "round " << round << " element " << i;
            ASSERT_EQ(once[i]->overlapped, byOne[i]->overlapped) << "round " << round << " element " << i;
        }
    }
}
