#include "DocFixture.h"

using namespace HVCurrentModel;
using namespace projtest;

using DocCurves = DocFixture;
using DocTimeLine = DocFixture;

namespace {

using CurveOp = void (CSSSynthesizerDoc::*)(SingSegment*, const NodeContainer&);

struct CurveCase {
    CurveOp op;
    CurveSlot slot;
    int kind;
};

const CurveCase kCurveCases[] = {
    {&CSSSynthesizerDoc::editSegCurveAmplitude, kAmplitudeCurve, kKindAmplitude},
    {&CSSSynthesizerDoc::editSegCurvePitch, kPitchCurve, kKindPitch},
    {&CSSSynthesizerDoc::editSegCurvePower, kPowerCurve, kKindPower},
    {&CSSSynthesizerDoc::editSegCurveBreath, kBreathCurve, kKindBreath},
    {&CSSSynthesizerDoc::editSegCurveGender, kGenderCurve, kKindGender},
    {&CSSSynthesizerDoc::editSegCurveBrightness, kBrightnessCurve, kKindBrightness},
    {&CSSSynthesizerDoc::editSegCurveCross, kCrossCurve, kKindCross},
};

std::vector<std::vector<CurveNode>> allCurves(const SingSegment& s) {
    std::vector<std::vector<CurveNode>> out;
    for (const ParamCurve& c : s.curves) out.push_back(c.nodes.toVector());
    return out;
}

// A (measure, beat) position, its tick and the remainder of the tick within
// its beat.
struct MeasureCase {
    int measure, beat, tick, remainder;
};

}  // namespace

// A stroke replaces the nodes within its span and keeps those around it.
TEST_F(DocCurves, EachOperationChangesOnlyItsOwnCurveAndUndoRestoresIt) {
    for (ParamCurve& c : seg->curves) c.nodes.assign(NodeContainer{{-1, 1}, {50, 10}, {100, 20}, {200, 40}, {300, 50}});
    for (const CurveCase& c : kCurveCases) {
        SCOPED_TRACE(c.kind);
        const auto before = allCurves(*seg);
        (doc.*c.op)(seg, NodeContainer{{100, 77}, {150, 78}, {200, 79}});
        auto expected = before;
        expected[c.slot] = {{-1, 1}, {50, 10}, {100, 77}, {150, 78}, {200, 79}, {300, 50}};
        EXPECT_EQ(expected, allCurves(*seg));
        EXPECT_EQ(seg->curveOfKind(c.kind), &seg->curve(c.slot));
        doc.undo();
        EXPECT_EQ(before, allCurves(*seg));
        doc.redo();
        EXPECT_EQ(expected, allCurves(*seg));
        doc.undo();
    }
}

TEST_F(DocTimeLine, MeasureArithmeticAroundASignatureChange) {
    auto check = [&](const std::vector<MeasureCase>& cases) {
        for (const MeasureCase& c : cases) {
            SCOPED_TRACE(c.tick);
            if (c.remainder == 0) {
                EXPECT_EQ(doc.measureBeatToTick(c.measure, c.beat), c.tick);
            }
            int measure = 0, beat = 0, rem = -1, m = 0;
            EXPECT_EQ(doc.tickToMeasureBeat(c.tick, &measure, &beat, &rem), 0);
            EXPECT_EQ((std::vector<int>{c.measure, c.beat, c.remainder}), (std::vector<int>{measure, beat, rem}));
            ASSERT_TRUE(doc.tickToMeasure(c.tick, m));
            EXPECT_EQ(m, c.measure);
        }
    };
    EXPECT_EQ(doc.getBar1Tick(), 7680);
    EXPECT_EQ(doc.measureToTick(2), 9600);
    check({{1, 1, 7680, 0}, {1, 2, 8160, 0}, {1, 2, 8170, 10}, {1, 4, 9599, 479}, {2, 1, 9600, 0}});
    EXPECT_EQ(doc.tickToMeasureBeat(-5, nullptr, nullptr, nullptr), -1);

    addBeat(*model, 2, 3, 4);  // 3/4 from measure 2
    EXPECT_EQ(doc.measureToTick(3), 11040);
    check({{2, 3, 10560, 0}, {2, 3, 11039, 479}, {3, 1, 11040, 0}, {3, 2, 11540, 20}});
    int num = 0, den = 0, tempo = 0;
    EXPECT_EQ(doc.getBeatAtMeasure(2, &num, &den), 0);
    EXPECT_EQ(num * 10 + den, 34);
    EXPECT_EQ(doc.getBeatAtMeasure(-4, &num, &den), -2);
    TimeSignature sig;
    EXPECT_EQ(doc.getTempoBeatAtTick(11040, &tempo, &sig), 0);
    EXPECT_EQ(tempo * 10 + sig.numerator, 120003);
    doc.getTempoBeatAtTick(2000, nullptr, &sig);
    EXPECT_EQ(sig.numerator, 4);

    // 6/8 from measure 5: measures -3..1 of 4/4 (5 x 1920 = 9600) and 2..4 of
    // 3/4 (3 x 1440 = 4320) put measure 5 at 13920; its beats are eighths
    // (240 ticks) from its first measure on, its measures 6 x 240 = 1440.
    addBeat(*model, 5, 6, 8);
    check({{5, 1, 13920, 0}, {5, 2, 14160, 0}, {5, 2, 14170, 10}, {6, 1, 15360, 0}});
}

// The fixed tempo marker stays first: other markers stay at tick 1 or later,
// and the score shift after a beat change keeps the list sorted.
TEST_F(DocTimeLine, TempoMarkersStayAfterTheFixedOneAndInOrder) {
    Tempo* fixed = model->tempos[0];
    Tempo* t = addTempo(*model, 1440, 9000);
    doc.editTempo({{t, Tempo{-370, 9000, false}}});
    EXPECT_EQ((std::vector<Tempo*>{fixed, t}), model->tempos);
    EXPECT_EQ(t->pos, 1);
    // 3/2 at measure -3: measure 1 moves from 7680 to 4 x 3 x 960 = 11520, so
    // the score moves 3840 ticks right.
    doc.editBeat({{model->beats[0], Beat{-3, 3, 2, false}}});
    EXPECT_EQ((std::vector<Tempo*>{fixed, t}), model->tempos);
    EXPECT_EQ((std::vector<int>{0, 3841}), (std::vector<int>{fixed->pos, t->pos}));
    doc.undo();
    doc.undo();
    EXPECT_EQ((std::vector<int>{0, 1440}), (std::vector<int>{fixed->pos, t->pos}));

    auto* early = new Tempo{-5, 8000, false};
    doc.insertTempo(early, true);
    auto* direct = new Tempo{-9, 7000, false};
    doc.insertTempo(direct, false);
    EXPECT_EQ((std::vector<Tempo*>{fixed, early, direct, t}), model->tempos);
    EXPECT_EQ((std::vector<int>{1, 1}), (std::vector<int>{early->pos, direct->pos}));

    // A marker below tick 0 read from a damaged file: the shift puts it back
    // in order (-370 + 3840 = 3470, before 1440 + 3840 = 5280), and undo
    // restores the list as it was.
    doc.deleteTempos({early, direct});
    auto* stray = new Tempo{-370, 6000, false};
    model->tempos.insert(model->tempos.begin(), stray);
    doc.editBeat({{model->beats[0], Beat{-3, 3, 2, false}}});
    EXPECT_EQ((std::vector<Tempo*>{fixed, stray, t}), model->tempos);
    EXPECT_EQ((std::vector<int>{3470, 5280}), (std::vector<int>{stray->pos, t->pos}));
    doc.undo();
    EXPECT_EQ((std::vector<Tempo*>{stray, fixed, t}), model->tempos);
}

// A beat change shifts every segment of every track as one change; undo and
// redo give back positions, order among equal positions, flags, notes and
// curves.
TEST_F(DocTimeLine, ScoreShiftMovesEverySegmentThroughUndoAndRedo) {
    SingSegment* twin = addSingSeg(*track, 7680, 480);  // after seg, overlapping it
    SingSegment* apart = addSingSeg(*track, 12000, 100);
    Note* note = addNote(*twin, 10, 240);
    InstrumentSegment* clip = addClip(*addTrack(*model, kInstrumentTrack), 0, 10, 0, 0);
    const auto curves = allCurves(*seg);
    const auto state = [&] {
        std::vector<int> v;
        for (const BaseSegment* s : *track->singSegs) v.insert(v.end(), {s->pos, s->width, s->overlapped});
        v.insert(v.end(), {clip->pos, note->pos});
        return v;
    };
    const std::vector<BaseSegment*> order{seg, twin, apart};
    const std::vector<int> before{7680, 1920, 1, 7680, 480, 1, 12000, 100, 0, 0, 10};
    // 3/2 at measure -3: measure 1 moves from 7680 to 4 x 3 x 960 = 11520,
    // so every segment moves 3840 ticks right; notes and curves stand
    // relative to their segment.
    const std::vector<int> after{11520, 1920, 1, 11520, 480, 1, 15840, 100, 0, 3840, 10};
    ASSERT_EQ(before, state());
    doc.editBeat({{model->beats[0], Beat{-3, 3, 2, false}}});
    for (int step = 0; step < 3; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(step % 2 ? before : after, state());
        EXPECT_EQ(order, track->singSegs->toVector());
        EXPECT_EQ(curves, allCurves(*seg));
        step % 2 ? doc.redo() : doc.undo();
    }
}

TEST_F(DocTimeLine, QueriesWithoutMarkersOrFarBeyondTheLastOne) {
    // The last marker, at a negative measure, holds every later tick.
    TimeSignature sig;
    doc.getTempoBeatAtTick(2000000000, nullptr, &sig);
    EXPECT_EQ(sig.numerator, 4);
    int m = 0;
    doc.tickToMeasure(2000000000, m);
    EXPECT_EQ(m, 2000000000 / 1920 - 3);

    CSSSynthesizerDoc empty;  // no markers: nothing to measure by
    EXPECT_EQ(empty.getBar1Tick() + empty.measureToTick(1), 0);
    EXPECT_EQ(empty.getBeatAtMeasure(1, nullptr, nullptr), -1);
    EXPECT_EQ(empty.tickToMeasureBeat(0, nullptr, nullptr, nullptr), -1);
    m = 42;
    int tempo = 7;
    EXPECT_FALSE(empty.tickToMeasure(100, m));
    empty.getTempoBeatAtTick(100, &tempo, nullptr);
    EXPECT_EQ(m + tempo, 49);
}

TEST_F(DocTimeLine, PlayEndTagFallsBackToMeasuresOneAndTwo) {
    doc.playStartOn = true;
    doc.playStart = 2000;
    doc.playPos = 1000;
    doc.setPlayEndTag(true);
    EXPECT_EQ((std::vector<int>{7680, 9600, 1}), (std::vector<int>{doc.playStart, doc.playEnd, view.ranges}));
    doc.playPos = 12000;
    doc.setPlayEndTag(true);
    EXPECT_EQ((std::vector<int>{7680, 12000}), (std::vector<int>{doc.playStart, doc.playEnd}));
    doc.playStart = 13000;
    doc.setPlayEndTag(true);
    EXPECT_EQ(doc.playStart, 10080);
}

TEST_F(DocTimeLine, TempoOperationsRecordAndRefitUnlessTold) {
    auto* direct = new Tempo{3840, 6000, false};
    doc.insertTempo(direct, false);
    EXPECT_EQ(doc.indexOfTempo(direct), 1);
    EXPECT_FALSE(doc.canUndo());

    // One second of audio, and a clip without audio that keeps its width.
    Track* inst = addTrack(*model, kInstrumentTrack);
    InstrumentSegment* clip = addClip(*inst, 7680, 10, 44100, 44100);
    InstrumentSegment* silent = addClip(*inst, 20000, 500, 0, 0);
    doc.insertTempo(new Tempo{1920, 6000, false}, true);
    // One second after tick 7680 under 60 BPM from tick 1920: 480 ticks.
    EXPECT_EQ(clip->width, 481);
    EXPECT_EQ(silent->width, 500);
    EXPECT_EQ(doc.addSecondsToTick(7680, 1.0f), 8160);
    doc.deleteTempos({model->tempos[1], model->tempos[2]});
    EXPECT_EQ(model->tempos.size(), 1u);
    EXPECT_EQ(clip->width, 961);  // 120 BPM throughout
    EXPECT_EQ(clip->pos, 7680);
    doc.undo();
    doc.undo();
    EXPECT_EQ(clip->width, 10);
    EXPECT_EQ(doc.indexOfTempo(direct), 1);
    doc.redo();
    doc.redo();
    EXPECT_EQ((std::vector<int>{7680, 961}), (std::vector<int>{clip->pos, clip->width}));
}

// Resizing pulls the curves' end nodes out to the new edges; undo puts them
// back where they were, so the curves sound as before.
TEST_F(DocCurves, UndoOfAResizePutsTheCurveEndNodesBack) {
    struct ResizeCase {
        const char* edge;
        int pos, width;
        std::vector<CurveNode> pitchAfter;
    };
    // A segment at 7680 of width 7680; its pitch end nodes at -1 and 7681.
    const ResizeCase cases[] = {
        // Left edge 960 ticks left: the nodes move 960 right (100 -> 1060),
        // the first one (959) is pulled back to -1.
        {"left", 6720, 8640, {{-1, -1}, {1060, 50}, {1061, 50}, {8641, -1}}},
        // Right edge 960 ticks right: the last node follows to 8640 + 1.
        {"right", 7680, 8640, {{-1, -1}, {100, 50}, {101, 50}, {8641, -1}}},
        // Both edges 960 ticks out: width 9600, last node at 9601.
        {"both", 6720, 9600, {{-1, -1}, {1060, 50}, {1061, 50}, {9601, -1}}},
    };
    SingSegment* s = addSingSeg(*addTrack(*model, kSingingTrack), 7680, 7680);
    s->curve(kPitchCurve).nodes.assign(NodeContainer{{-1, -1}, {100, 50}, {101, 50}, {7681, -1}});
    const auto before = allCurves(*s);
    for (const ResizeCase& c : cases) {
        SCOPED_TRACE(c.edge);
        doc.editSegmentsPosWidth({{s, c.pos, c.width}}, doc.findSingTrackOf(s)->singSegs);
        EXPECT_EQ(c.pitchAfter, s->curve(kPitchCurve).nodes.toVector());
        doc.undo();
        EXPECT_EQ((std::vector<int>{7680, 7680}), (std::vector<int>{s->pos, s->width}));
        EXPECT_EQ(before, allCurves(*s));
        s->curve(kPitchCurve).resetCursor();
        EXPECT_EQ(s->curve(kPitchCurve).valueAt(0), 0);  // -1 + 51 * 1 / 101, truncated
        doc.redo();
        EXPECT_EQ(c.pitchAfter, s->curve(kPitchCurve).nodes.toVector());
        doc.undo();
    }
}
