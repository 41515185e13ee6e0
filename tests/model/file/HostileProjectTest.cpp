// Project files written to hurt: extreme widths, piles of overlapping
// elements, many notes without tables and many segments naming one clip.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/ByteBuilder.h"
#include "ProjectFixtures.h"
#include "model/file/ProjectFile.h"
#include "model/file/ProjectLists.h"
#include "support/ScratchDir.h"
#include "support/audio/RiffWriter.h"

using namespace HVCurrentModel;
using hvtest::ByteBuilder;
using hvtest::curveBlock;
using Nodes = std::vector<CurveNode>;

namespace {

// A current body with the markers of names and note expression only (no
// "ext3": the Breath curve keeps its default end nodes).
ByteBuilder currentBody(uint32_t trackKind, const ByteBuilder& segments)
{
    ByteBuilder b;
    b.raw("ext1ext2").block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).u32(1);
    return b.u32(trackKind).str("t").u8(0).u8(0).i32(30).f32(0).block(segments);
}

// A current sing segment record with empty notes and empty saved curves.
ByteBuilder& currentSegment(ByteBuilder& b, int32_t pos, int32_t width, const std::string& name,
                            const ByteBuilder& notes = ByteBuilder().u32(0))
{
    b.i32(pos).i32(width).str(name).str("s").block(notes);
    for (int k = 0; k < 3; ++k) b.block(curveBlock({}));  // Amplitude, Pitch, Power
    return b;
}

// A note record under "ext1ext2" with an empty vibrato block and the given
// cycle block.
ByteBuilder& currentNote(ByteBuilder& b, int32_t pos, const ByteBuilder& cycle)
{
    b.i32(pos).i32(480).i32(60).i32(0).str("la").str("la").u8(0).block({}).block(cycle);
    return b.u8(0).f32(1).u8(0).f32(1).f32(1).f32(1).i32(0).i32(0).i32(25).i32(20);
}

std::string currentFile()
{
    ByteBuilder segs;
    segs.u32(2);
    currentSegment(segs, 0, INT_MAX, "a");
    currentSegment(segs, INT_MAX - 1, INT_MAX, "b");
    return hvtest::taggedFile(5, currentBody(0, segs).bytes);
}

std::string v1WideFile()
{
    ByteBuilder segs;
    segs.u32(2).i32(0).i32(INT_MAX).str("a").str("s").block(ByteBuilder().u32(0)).block({}).block({});
    segs.i32(INT_MAX - 1).i32(INT_MAX).str("b").str("s").block(ByteBuilder().u32(0)).block({}).block({});
    ByteBuilder body;
    body.block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).u32(1);
    body.u32(0).u8(0).u8(0).i32(30).f32(0).block(segs);
    return hvtest::taggedFile(1, body.bytes);
}

std::string v0File(const ByteBuilder& segments)
{
    ByteBuilder body;
    body.u32(0).block(ByteBuilder().u32(0)).block(ByteBuilder().u32(0)).block(segments);
    return ByteBuilder().block(body).bytes;
}

ByteBuilder& v0Segment(ByteBuilder& b, int32_t pos, int32_t width, const std::u16string& name,
                       const ByteBuilder& notes = ByteBuilder().u32(0))
{
    return b.i32(pos).i32(width).utf16(name, 260).utf16(u"s", 260).block(notes).block({}).block({});
}

std::string v0WideFile()
{
    ByteBuilder segs;
    segs.u32(2);
    v0Segment(segs, 0, INT_MAX, u"a");
    v0Segment(segs, INT_MAX - 1, INT_MAX, u"b");
    return v0File(segs);
}

}  // namespace

// A width of 2^31 - 1 puts the default end nodes at the last tick rather
// than wrapping to the first, in every generation; the two segments, which
// meet near the end of the range, overlap.
TEST(HostileProject, WidestSegmentsInEveryGeneration)
{
    const struct {
        const char* generation;
        std::string file;
    } files[] = {{"current", currentFile()}, {"1", v1WideFile()}, {"0", v0WideFile()}};
    for (const auto& f : files) {
        auto m = hvtest::loadProjectBytes(f.file);
        ASSERT_TRUE(m) << f.generation;
        const SingSegmentContainer& segs = *m->tracks.at(0)->singSegs;
        ASSERT_EQ(segs.size(), 2u) << f.generation;
        for (size_t i = 0; i < 2; ++i) {
            const SingSegment& seg = *segs.segAt(i);
            EXPECT_EQ(seg.width, INT_MAX) << f.generation;
            EXPECT_TRUE(seg.overlapped) << f.generation;
            // Breath is not in any of these files: its default end nodes.
            EXPECT_EQ(seg.curve(kBreathCurve).nodes.toVector(), (Nodes{{-1, 128}, {INT_MAX, 128}})) << f.generation;
            EXPECT_EQ(seg.curve(kCrossCurve).nodes.toVector(), (Nodes{{-1, 0}, {INT_MAX, 0}})) << f.generation;
        }
        EXPECT_EQ(segs.segAt(1)->pos, INT_MAX - 1) << f.generation;
    }
}

// Loading places segments and notes as inserting them one by one would:
// sorted by position, equal positions in file order, and flagged exactly
// when they overlap, whatever flag the file stored.
TEST(HostileProject, ElementsArePlacedAndFlaggedAsOnInsertion)
{
    // Generation 0 notes in file order: A [480,960), B [0,480), C [240,240)
    // inside B, D [480,580) over A, E [960,860) of negative width, F
    // [2000,2010) stored as flagged.
    ByteBuilder notes;
    notes.u32(6);
    const struct {
        int32_t pos, width;
        char16_t name;
        uint8_t flag;
    } stored[] = {{480, 480, u'A', 0}, {0, 480, u'B', 0}, {240, 0, u'C', 0},
                  {480, 100, u'D', 0}, {960, -100, u'E', 0}, {2000, 10, u'F', 1}};
    for (const auto& n : stored)
        notes.i32(n.pos).i32(n.width).i32(50).i32(0).i32(0).f32(0).f32(0).utf16(u"a", 8).utf16(
            std::u16string(1, n.name), 8).u8(n.flag);
    ByteBuilder segs;
    segs.u32(4);
    v0Segment(segs, 100, 50, u"s1", notes);
    v0Segment(segs, 0, 100, u"s0");
    v0Segment(segs, 100, 50, u"s2");
    v0Segment(segs, 100, 50, u"s3");
    auto m = hvtest::loadProjectBytes(v0File(segs));
    ASSERT_TRUE(m);
    const SingSegmentContainer& placed = *m->tracks.at(0)->singSegs;
    ASSERT_EQ(placed.size(), 4u);
    std::string order;
    for (size_t i = 0; i < placed.size(); ++i) order += placed.segAt(i)->name + (placed.segAt(i)->overlapped ? "* " : " ");
    EXPECT_EQ(order, "s0 s1* s2* s3* ");  // [0,100) only touches [100,150)

    const NoteContainer& n = placed.segAt(1)->notes;
    std::string lyrics;
    for (const Note* note : n) lyrics += note->lyric + (note->overlapped ? "* " : " ");
    EXPECT_EQ(lyrics, "B* C* A* D* E F ");

    // Many segments at one position, in a current file.
    ByteBuilder pile;
    pile.u32(3);
    currentSegment(pile, 480, 960, "p");
    currentSegment(pile, 480, 960, "q");
    currentSegment(pile, 0, 480, "r");
    auto c = hvtest::loadProjectBytes(hvtest::taggedFile(5, currentBody(0, pile).bytes));
    ASSERT_TRUE(c);
    const SingSegmentContainer& cs = *c->tracks.at(0)->singSegs;
    order.clear();
    for (size_t i = 0; i < cs.size(); ++i) order += cs.segAt(i)->name + (cs.segAt(i)->overlapped ? "* " : " ");
    EXPECT_EQ(order, "r p* q* ");
}

// Notes whose record holds no wave table, or the computed one, share it;
// a note with its own table keeps it.
TEST(HostileProject, NotesWithoutTablesShareTheComputedWave)
{
    ByteBuilder notes;
    notes.u32(3);
    for (int k = 0; k < 2; ++k) currentNote(notes, 480 * k, {});
    ByteBuilder flat;
    flat.u32(1024);
    for (int k = 0; k < 1024; ++k) flat.f32(0.25f);
    currentNote(notes, 960, flat);
    ByteBuilder segs;
    segs.u32(1);
    currentSegment(segs, 0, 1920, "s", notes);
    auto m = hvtest::loadProjectBytes(hvtest::taggedFile(5, currentBody(0, segs).bytes));
    ASSERT_TRUE(m);
    const NoteContainer& loaded = m->tracks.at(0)->singSegs->segAt(0)->notes;
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_TRUE(loaded[0]->cycle.table.sharesComputedWave());
    EXPECT_TRUE(loaded[1]->cycle.table.sharesComputedWave());
    EXPECT_FALSE(loaded[2]->cycle.table.sharesComputedWave());
    EXPECT_FLOAT_EQ(loaded[2]->cycle.table[100], 0.25f);

    // Saved again, the shared table is written in full like any other.
    auto again = hvtest::loadProjectBytes(hvtest::taggedFile(5, hvtest::bodyOf(*m)));
    ASSERT_TRUE(again);
    const NoteContainer& reread = again->tracks.at(0)->singSegs->segAt(0)->notes;
    EXPECT_TRUE(reread[0]->cycle.table.sharesComputedWave());
    EXPECT_FLOAT_EQ(reread[2]->cycle.table[100], 0.25f);
}

// Segments naming one clip file, however spelled, share its samples; each
// distinct file is loaded once, and the segments naming one that cannot be
// loaded stay without a clip.
TEST(HostileProject, SegmentsNamingOneClipShareIt)
{
    hvtest::ScratchDir dir("projshare");
    ASSERT_TRUE(hvtest::writeBytes(dir.file("a.wav"), hvtest::simpleWav(1, 2, 44100, 16, {1, 0, 2, 0, 3, 0, 4, 0})));
    ASSERT_TRUE(hvtest::writeBytes(dir.file("b.wav"), hvtest::simpleWav(1, 1, 44100, 16, {9, 0})));
    std::filesystem::create_symlink(dir.file("a.wav"), dir.file("link.wav"));
    const std::string paths[] = {dir.file("a.wav"), dir.file("b.wav"), dir.file("link.wav"), dir.file("gone.wav"),
                                 dir.file("./a.wav"), dir.file("gone.wav")};
    ByteBuilder segs;
    segs.u32(6);
    for (int k = 0; k < 6; ++k) segs.i32(1920 * k).i32(1920).str("c").str(paths[k]);
    auto m = hvtest::loadProjectBytes(hvtest::taggedFile(5, currentBody(1, segs).bytes));
    ASSERT_TRUE(m);
    const InstrumentSegmentContainer& clips = *m->tracks.at(0)->instSegs;
    ASSERT_EQ(clips.size(), 6u);
    const InstrumentSegment &a0 = *clips.segAt(0), &b = *clips.segAt(1), &a2 = *clips.segAt(2), &a4 = *clips.segAt(4);
    for (const InstrumentSegment* a : {&a2, &a4}) {
        EXPECT_TRUE(a->left.sharesSamplesWith(a0.left));
        EXPECT_TRUE(a->right.sharesSamplesWith(a0.right));
        EXPECT_EQ(a->channels, 2);
        EXPECT_EQ(a->frames, 2);
    }
    EXPECT_EQ(a0.left, (std::vector<int16_t>{1, 3}));
    EXPECT_EQ(a0.right, (std::vector<int16_t>{2, 4}));
    EXPECT_FALSE(b.left.sharesSamplesWith(a0.left));
    EXPECT_EQ(b.left, (std::vector<int16_t>{9}));
    for (size_t k : {3u, 5u}) {
        const InstrumentSegment& gone = *clips.segAt(k);
        EXPECT_EQ(gone.pos, int32_t(1920 * k));
        EXPECT_EQ(gone.audioPath, paths[k]);
        EXPECT_EQ(gone.clipLoad, ClipLoad::unreadable);
        EXPECT_EQ(gone.frames, 0);
        EXPECT_TRUE(gone.left.empty());
    }
}

// The decoded clips of one project count against one budget, each file once
// however it is named, checked before a clip is read; the segment of a clip
// past the budget stays without it, as that of a missing one does, and the
// clips before it stay whole.
TEST(HostileProject, ClipsPastTheProjectBudgetAreKeptWithoutSound)
{
    hvtest::ScratchDir dir("projbudget");
    // Decoded: a, 2 stereo frames = 8 bytes; b, 1 mono frame = 2; c, 3 mono frames = 6.
    ASSERT_TRUE(hvtest::writeBytes(dir.file("a.wav"), hvtest::simpleWav(1, 2, 44100, 16, {1, 0, 2, 0, 3, 0, 4, 0})));
    ASSERT_TRUE(hvtest::writeBytes(dir.file("b.wav"), hvtest::simpleWav(1, 1, 44100, 16, {9, 0})));
    ASSERT_TRUE(hvtest::writeBytes(dir.file("c.wav"), hvtest::simpleWav(1, 1, 44100, 16, {5, 0, 6, 0, 7, 0})));
    std::filesystem::create_symlink(dir.file("a.wav"), dir.file("link.wav"));
    HalvorenModel model;
    model.path = CString::fromUtf8(dir.file("p.ot"));
    // a, its link, b, a found beside the project from a Windows path, c.
    const std::pair<const char*, std::string> clips[] = {{"a", dir.file("a.wav")}, {"a", dir.file("link.wav")},
                                                         {"b", dir.file("b.wav")}, {"a", "C:\\songs\\a.wav"},
                                                         {"c", dir.file("c.wav")}};
    ByteBuilder segs;
    segs.u32(5);
    for (size_t k = 0; k < 5; ++k) segs.i32(int32_t(1920 * k)).i32(1920).str(clips[k].first).str(clips[k].second);

    // Counting each name of a on its own would refuse b at 10 (8 + 8 > 10)
    // and at 16 (8 + 8 + 2 > 16). A refused segment shows as its name and 0.
    const struct {
        uint64_t budget;
        std::string kept;  // name and frames of each segment
    } cases[] = {
        {7, "a0 a0 b1 a0 c0 "},   // a: 8 > 7; c: 2 + 6 > 7
        {8, "a2 a2 b0 a2 c0 "},   // b: 8 + 2 > 8
        {10, "a2 a2 b1 a2 c0 "},  // c: 10 + 6 > 10
        {16, "a2 a2 b1 a2 c3 "},  // 8 + 2 + 6
    };
    for (const auto& c : cases) {
        CMemoryBuffer block;
        block.append(segs.bytes.data(), segs.size());
        CMemoryStream in(block);
        ClipCache cache(c.budget);
        InstrumentSegmentContainer placed;
        readInstrumentSegments(in, model, placed, &cache);
        std::string kept;
        for (size_t i = 0; i < placed.size(); ++i) {
            const InstrumentSegment& seg = *placed.segAt(i);
            kept += seg.name + std::to_string(seg.frames) + " ";
            EXPECT_EQ(seg.clipLoad, seg.frames ? ClipLoad::loaded : ClipLoad::tooLarge) << c.budget << " " << i;
        }
        EXPECT_EQ(kept, c.kept) << c.budget << " bytes";
    }
}
