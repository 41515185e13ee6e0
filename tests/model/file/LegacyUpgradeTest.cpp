#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "ProjectFixtures.h"
#include "model/file/ProjectFile.h"

using namespace HVCurrentModel;
using Nodes = std::vector<CurveNode>;

TEST(LegacyUpgrade, GenerationZeroBecomesASingingAndAnEmptyInstrumentalTrack)
{
    auto m = hvtest::loadProjectBytes(hvtest::legacyV0File());
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
    EXPECT_TRUE(second.notes.empty());
    EXPECT_TRUE(second.curve(kAmplitudeCurve).nodes.empty());  // empty blocks, not default ends
    EXPECT_TRUE(second.curve(kPitchCurve).nodes.empty());
}

TEST(LegacyUpgrade, GenerationOneKeepsTracksInOrder)
{
    auto m = hvtest::loadProjectBytes(hvtest::legacyV1File());
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
    for (const std::string& file : {hvtest::legacyV0File(), hvtest::legacyV1File()}) {
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
