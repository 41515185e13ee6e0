#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "ProjectFixtures.h"
#include "model/file/ProjectFile.h"
#include "support/ByteBuilder.h"

using namespace HVCurrentModel;
using hvtest::ByteBuilder;
using hvtest::curveBlock;
using Nodes = std::vector<CurveNode>;

namespace {

ByteBuilder v0Note(int32_t pos, int32_t width, int32_t key, std::u16string_view symbol)
{
    ByteBuilder b;
    b.i32(pos).i32(width).i32(key).i32(1).i32(2).f32(0.5f).f32(0.6f).utf16(symbol, 8).utf16(u"歌", 8).u8(0);
    return b;
}

std::string v0File()
{
    ByteBuilder seg0;  // the later segment comes first in the file; its curve blocks are empty
    seg0.i32(4000).i32(1000).utf16(u"歌A", 260).utf16(u"Bob", 260);
    seg0.block(ByteBuilder().u32(0)).block(ByteBuilder()).block(ByteBuilder().u32(0));
    ByteBuilder seg1;  // its name fills the field with no terminating zero
    seg1.i32(0).i32(3840).utf16(std::u16string(260, u'n'), 260).utf16(u"", 260);
    seg1.block(ByteBuilder().u32(2).raw(v0Note(0, 500, 50, u"ga").bytes).raw(v0Note(480, 480, 52, u"ge").bytes));
    seg1.block(curveBlock({{0, 100}, {3841, 90}}));
    seg1.block(curveBlock({{0, 7}, {100, 14}, {200, 1}, {300, -1}, {400, 21}, {500, 400000000}}));
    ByteBuilder body;
    body.u32(0xDEAD);  // header word
    body.block(ByteBuilder().u32(3).i32(1920).i32(13000).i32(0).i32(12000).i32(1920).i32(14000));
    body.block(ByteBuilder().u32(1).i32(-3).i32(3).i32(4));
    body.block(ByteBuilder().u32(2).raw(seg0.bytes).raw(seg1.bytes));
    return ByteBuilder().block(body).bytes;
}

std::string v1File()
{
    ByteBuilder notes;
    notes.u32(2);
    for (int k = 0; k < 2; ++k) notes.i32(100 * k).i32(150).i32(40).i32(0).i32(0).f32(0).f32(0).str("sa").str("沙").u8(0);
    ByteBuilder segs;
    segs.u32(1).i32(960).i32(1920).str("v1").str("S").block(notes);
    segs.block(curveBlock({{-1, 90}, {1921, 90}})).block(curveBlock({{0, 300}}));
    ByteBuilder body;
    body.block(ByteBuilder().u32(1).i32(0).i32(11000)).block(ByteBuilder().u32(0)).u32(4);
    body.u32(0).u8(1).u8(0).i32(80).f32(0.5f).block(segs);
    body.u32(2);  // a kind with nothing after it
    body.u32(1).u8(0).u8(1).i32(20).f32(-0.5f).block(ByteBuilder().raw("unparsed"));
    body.u32(0).u8(0).u8(0).i32(10).f32(0).block(ByteBuilder().u32(0));
    return hvtest::taggedFile(1, body.bytes);
}

}  // namespace

TEST(LegacyUpgrade, GenerationZeroBecomesASingingAndAnEmptyInstrumentalTrack)
{
    auto m = hvtest::loadProjectBytes(v0File());
    ASSERT_TRUE(m);
    ASSERT_EQ(m->tempos.size(), 3u);
    EXPECT_EQ((std::vector<int>{m->tempos[0]->tempo, m->tempos[1]->tempo, m->tempos[2]->tempo}),
              (std::vector<int>{12000, 13000, 14000}));  // sorted, ties in file order
    EXPECT_EQ(m->beats.at(0)->numerator, 3);
    ASSERT_EQ(m->tracks.size(), 2u);
    EXPECT_TRUE(m->tracks[1]->kind == kInstrumentTrack && m->tracks[1]->instSegs->empty());
    EXPECT_EQ(m->tracks[1]->name, Track(kSingingTrack).name);

    const SingSegmentContainer& segs = *m->tracks[0]->singSegs;
    ASSERT_EQ(segs.size(), 2u);
    const SingSegment& first = *segs.segAt(0);
    EXPECT_EQ(first.name, std::string(260, 'n'));
    EXPECT_EQ(first.curve(kPitchCurve).nodes.toVector(),
              (Nodes{{0, 49}, {100, 99}, {200, 7}, {300, -1}, {400, 149}, {500, INT_MAX}}));
    EXPECT_EQ(first.curve(kPitchWorkCurve2).nodes.toVector(), first.curve(kPitchCurve).nodes.toVector());
    EXPECT_TRUE(first.curve(kPitchWorkCurve1).nodes.empty());
    EXPECT_EQ(first.curve(kAmplitudeCurve).nodes.toVector(), (Nodes{{0, 100}, {3841, 90}}));
    EXPECT_EQ(first.curve(kPowerCurve).nodes.toVector(), (Nodes{{-1, 128}, {3841, 128}}));
    ASSERT_EQ(first.notes.size(), 2u);
    EXPECT_TRUE(first.notes[0]->overlapped && first.notes[1]->overlapped);  // stored clear
    EXPECT_EQ(first.notes[1]->phoneticSymbol + first.notes[1]->lyric, "ge歌");
    const SingSegment& second = *segs.segAt(1);
    EXPECT_EQ(second.name + second.singer, "歌ABob");
    EXPECT_TRUE(second.curve(kAmplitudeCurve).nodes.empty());  // empty blocks, not default ends
    EXPECT_TRUE(second.curve(kPitchCurve).nodes.empty());
}

TEST(LegacyUpgrade, GenerationOneKeepsTracksInOrder)
{
    auto m = hvtest::loadProjectBytes(v1File());
    ASSERT_TRUE(m);
    ASSERT_EQ(m->tempos.size(), 1u);
    EXPECT_EQ(m->tempos[0]->tempo, 11000);
    ASSERT_EQ(m->tracks.size(), 3u);
    const Track& sung = *m->tracks[0];
    EXPECT_TRUE(sung.muted && sung.volume == 80);
    const SingSegment& seg = *sung.singSegs->segAt(0);
    EXPECT_EQ(seg.pos, 960);
    EXPECT_EQ(seg.curve(kPitchCurve).nodes.toVector(), (Nodes{{0, 300}}));  // no rescaling here
    EXPECT_EQ(seg.curve(kCrossCurve).nodes.toVector(), (Nodes{{-1, 0}, {1921, 0}}));
    ASSERT_EQ(seg.notes.size(), 2u);
    EXPECT_TRUE(seg.notes[0]->overlapped && seg.notes[1]->overlapped);
    EXPECT_EQ(seg.notes[1]->lyric, "沙");
    // The instrumental record keeps its mixer settings on an empty track.
    EXPECT_TRUE(m->tracks[1]->kind == kInstrumentTrack && m->tracks[1]->solo && m->tracks[1]->balance == -0.5f);
    EXPECT_EQ(m->tracks[2]->volume, 10);
}

// Every prefix loads, and a longer prefix never keeps fewer markers,
// segments or notes.
TEST(LegacyUpgrade, EveryPrefixOfAnOldFileLoads)
{
    auto records = [](const HalvorenModel& m) {
        size_t n = m.tempos.size() + m.beats.size();
        for (const Track* t : m.tracks)
            if (t->singSegs)
                for (const BaseSegment* s : *t->singSegs) n += 1 + static_cast<const SingSegment*>(s)->notes.size();
        return n;
    };
    for (const std::string& file : {v0File(), v1File()}) {
        size_t previous = 0;
        for (size_t n = 0; n <= file.size(); ++n) {
            auto m = hvtest::loadProjectBytes(file.substr(0, n));
            ASSERT_TRUE(m) << n;
            EXPECT_GE(records(*m), previous) << n;
            previous = records(*m);
        }
        EXPECT_GE(previous, 4u);
    }
}
