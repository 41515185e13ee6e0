#include <gtest/gtest.h>

#include "model/current/DefaultProject.h"
#include "model/current/HalvorenModel.h"
#include "shell/services/AppConfig.h"
#include "shell/services/LanguageMgr.h"
#include "voicebank/SingerMgr.h"

using namespace HVCurrentModel;
using Nodes = std::vector<CurveNode>;

namespace {

class NamedSinger : public ISinger {
public:
    explicit NamedSinger(const std::string& name) { name_ = name; }
    bool hasLyricDict() override { return false; }
    ILyricDict* getLyricDict() override { return nullptr; }
};

// Selects a language table for one test and restores English afterwards.
struct ScopedLanguage {
    explicit ScopedLanguage(std::map<std::string, std::string> table)
    {
        getLanguageMgr().setSelectedTable(std::move(table));
    }
    ~ScopedLanguage() { getLanguageMgr().clearSelectedTable(); }
};

}  // namespace

TEST(SingSegment, NewSegmentCurves)
{
    SingSegment seg(7680, 1920);
    for (CurveSlot slot : {kAmplitudeCurve, kPowerCurve, kBreathCurve, kGenderCurve, kBrightnessCurve})
        EXPECT_EQ(seg.curve(slot).nodes.toVector(), (Nodes{{-1, 128}, {1921, 128}})) << slot;
    EXPECT_EQ(seg.curve(kPitchCurve).nodes.toVector(), (Nodes{{-1, -1}, {1921, -1}}));
    EXPECT_EQ(seg.curve(kCrossCurve).nodes.toVector(), (Nodes{{-1, 0}, {1921, 0}}));
    EXPECT_TRUE(seg.curve(kPitchWorkCurve1).nodes.empty());
    EXPECT_TRUE(seg.curve(kPitchWorkCurve2).nodes.empty());
    EXPECT_EQ(seg.curveOfKind(kKindBrightness), &seg.curve(kBrightnessCurve));
    EXPECT_EQ(seg.curveOfKind(kKindPhoneme), nullptr);
}

TEST(Track, KindsAndNames)
{
    ScopedLanguage language({{"track", "Spur"}, {"singing", "Gesang"}});
    Track singing(kSingingTrack);
    EXPECT_EQ(singing.name, "Spur-Gesang");
    EXPECT_EQ(singing.getSegments(), singing.singSegs);
    EXPECT_EQ(singing.volume, 30);
    Track instrumental(kInstrumentTrack);
    EXPECT_EQ(instrumental.getSegments(), instrumental.instSegs);

    // Any other kind has no container and no name, also when copied.
    Track other(2);
    EXPECT_TRUE(other.name.empty());
    EXPECT_EQ(Track(other).getSegments(), nullptr);
}

TEST(Markers, SortedInsertionAfterEqualPositions)
{
    Tempo a{480}, b{0}, c{480}, d{960};
    std::vector<Tempo*> list;
    for (Tempo* t : {&a, &b, &c, &d}) insertMarkerSorted(list, t);
    EXPECT_EQ(list, (std::vector<Tempo*>{&b, &a, &c, &d}));
    insertMarkerSorted(list, &a);
    EXPECT_EQ(list.size(), 4u);
    EXPECT_EQ(findMarkerAt(list, 480), &a);
}

TEST(SegmentContainer, LeftEdgeResizeKeepsNotesAndCurvesInPlace)
{
    SingSegmentContainer segs;
    auto* seg = new SingSegment(1920, 1920);
    auto* note = new Note;
    note->pos = 480;
    seg->notes.insertSorted(note);
    seg->curve(kPitchCurve).nodes.insertNode(std::next(seg->curve(kPitchCurve).nodes.begin()), {500, 3000});
    seg->curve(kPitchWorkCurve1).nodes.pushBack({500, 1});
    insertSegmentSorted(segs, seg);

    segs.applyPosWidth({{seg, 960, 2880}});
    EXPECT_EQ(seg->pos, 960);
    EXPECT_EQ(seg->width, 2880);
    EXPECT_EQ(note->pos, 1440);
    // Interior nodes move with the time line; the end nodes are pulled out
    // to the new edges.
    EXPECT_EQ(seg->curve(kPitchCurve).nodes.toVector(), (Nodes{{-1, -1}, {1460, 3000}, {2881, -1}}));
    EXPECT_EQ(seg->curve(kAmplitudeCurve).nodes.toVector(), (Nodes{{-1, 128}, {2881, 128}}));
    EXPECT_EQ(seg->curve(kPitchWorkCurve1).nodes.toVector(), (Nodes{{500, 1}}));

    // A pure move leaves the contents alone.
    segs.applyPosWidth({{seg, 4800, 2880}});
    EXPECT_EQ(note->pos, 1440);
    EXPECT_EQ(seg->curve(kPitchCurve).nodes.toVector(), (Nodes{{-1, -1}, {1460, 3000}, {2881, -1}}));

    // Shrinking at the right edge moves nothing; the end nodes stay outside.
    segs.applyPosWidth({{seg, 4800, 960}});
    EXPECT_EQ(note->pos, 1440);
    EXPECT_EQ(seg->curve(kAmplitudeCurve).nodes.toVector(), (Nodes{{-1, 128}, {2881, 128}}));
}

TEST(DefaultProject, OneSingingTrackWithOneSegment)
{
    ScopedLanguage language(std::map<std::string, std::string>{{"New segment", "Neues Segment"}});
    getSingerList()->clearSingers();
    getAppConfig().singerName.clear();
    getSingerList()->addSinger(new NamedSinger("Ann"));

    auto model = makeDefaultProject();
    ASSERT_EQ(model->tempos.size(), 1u);
    EXPECT_EQ(model->tempos[0]->tempo, 12000);
    ASSERT_EQ(model->beats.size(), 1u);
    EXPECT_EQ(model->beats[0]->pos, -3);
    ASSERT_EQ(model->tracks.size(), 1u);
    ASSERT_EQ(model->tracks[0]->singSegs->size(), 1u);
    SingSegment* seg = model->tracks[0]->singSegs->segAt(0);
    EXPECT_EQ(seg->pos, 7680);
    EXPECT_EQ(seg->width, 307200);
    EXPECT_EQ(seg->name, "Neues Segment");
    EXPECT_EQ(seg->singer, "Ann");

    getSingerList()->clearSingers();
    EXPECT_TRUE(makeDefaultProject()->tracks[0]->singSegs->segAt(0)->singer.empty());
}

// Positions and widths at the ends of the tick range: end nodes and shifts
// are clamped there instead of wrapping.
TEST(SegmentContainer, EdgesAtTheTickLimitsDoNotWrap)
{
    SingSegment widest(0, INT32_MAX);
    EXPECT_EQ(widest.curve(kPitchCurve).nodes.toVector(), (Nodes{{-1, -1}, {INT32_MAX, -1}}));

    SingSegmentContainer segs;
    auto* seg = new SingSegment(INT32_MIN, 10);
    auto* note = new Note;
    note->pos = 5;
    seg->notes.insertSorted(note);
    seg->curve(kPitchCurve).nodes.insertNode(std::next(seg->curve(kPitchCurve).nodes.begin()), {5, 3000});
    insertSegmentSorted(segs, seg);
    // The left edge moves by 2^32 - 11 (beyond any shift): contents move back
    // as far as the range allows, to -2147483648 + their position.
    segs.applyPosWidth({{seg, INT32_MAX - 10, INT32_MAX}});
    EXPECT_EQ(seg->pos, INT32_MAX - 10);
    EXPECT_EQ(note->pos, INT32_MIN + 5);
    EXPECT_EQ(seg->curve(kPitchCurve).nodes.toVector(),
              (Nodes{{INT32_MIN, -1}, {INT32_MIN + 5, 3000}, {INT32_MAX, -1}}));
}
