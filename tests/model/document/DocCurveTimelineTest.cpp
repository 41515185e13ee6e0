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

}  // namespace

TEST_F(DocCurves, EachOperationChangesOnlyItsOwnCurveAndUndoRestoresIt) {
    for (const CurveCase& c : kCurveCases) {
        SCOPED_TRACE(c.kind);
        const auto before = allCurves(*seg);
        (doc.*c.op)(seg, NodeContainer{{100, 77}, {150, 78}, {200, 79}});
        auto expected = before;
        expected[c.slot] = {before[c.slot].front(), {100, 77}, {150, 78}, {200, 79}, before[c.slot].back()};
        EXPECT_EQ(expected, allCurves(*seg));
        EXPECT_EQ(seg->curveOfKind(c.kind), &seg->curve(c.slot));
        doc.undo();
        EXPECT_EQ(before, allCurves(*seg));
    }
}

TEST_F(DocTimeLine, MeasureConversionsOfTheDefaultSignature) {
    EXPECT_EQ(doc.getBar1Tick(), 7680);
    EXPECT_EQ(doc.measureToTick(1), 7680);
    EXPECT_EQ(doc.measureBeatToTick(1, 1), 7680);
    EXPECT_EQ(doc.measureBeatToTick(1, 2), 8160);
    int measure = 0, beat = 0, rem = -1;
    EXPECT_EQ(doc.tickToMeasureBeat(7680, &measure, &beat, &rem), 0);
    EXPECT_EQ(measure, 1);
    EXPECT_EQ(beat, 1);
    EXPECT_EQ(rem, 0);
    EXPECT_EQ(doc.tickToMeasureBeat(8170, &measure, &beat, nullptr), 0);
    EXPECT_EQ(beat, 2);
    EXPECT_EQ(doc.tickToMeasureBeat(-5, &measure, nullptr, nullptr), -1);
    int m = 0;
    ASSERT_TRUE(doc.tickToMeasure(9599, m));
    EXPECT_EQ(m, 1);
    ASSERT_TRUE(doc.tickToMeasure(9600, m));
    EXPECT_EQ(m, 2);
}

TEST_F(DocTimeLine, ConversionsAcrossASignatureChange) {
    addBeat(*model, 2, 3, 4);
    EXPECT_EQ(doc.measureToTick(3), 11040);
    EXPECT_EQ(doc.measureBeatToTick(3, 1), 11040);
    EXPECT_EQ(doc.measureBeatToTick(2, 3), 9600 + 960);
    int measure = 0, beat = 0, rem = 0;
    EXPECT_EQ(doc.tickToMeasureBeat(11040 + 500, &measure, &beat, &rem), 0);
    EXPECT_EQ(measure, 3);
    EXPECT_EQ(beat, 2);
    EXPECT_EQ(rem, 20);
    int m = 0;
    doc.tickToMeasure(11039, m);
    EXPECT_EQ(m, 2);
    int num = 0, den = 0;
    EXPECT_EQ(doc.getBeatAtMeasure(2, &num, &den), 0);
    EXPECT_EQ(num * 10 + den, 34);
    EXPECT_EQ(doc.getBeatAtMeasure(-4, &num, &den), -2);
    TimeSignature sig;
    int tempo = 0;
    EXPECT_EQ(doc.getTempoBeatAtTick(11040, &tempo, &sig), 0);
    EXPECT_EQ(tempo, 12000);
    EXPECT_EQ(sig.numerator, 3);
    doc.getTempoBeatAtTick(2000, nullptr, &sig);
    EXPECT_EQ(sig.numerator, 4);
}

TEST(DocTimeLineEmpty, QueriesWithoutMarkers) {
    CSSSynthesizerDoc doc;
    EXPECT_EQ(doc.getBar1Tick(), 0);
    EXPECT_EQ(doc.measureToTick(1), 0);
    EXPECT_EQ(doc.getBeatAtMeasure(1, nullptr, nullptr), -1);
    EXPECT_EQ(doc.tickToMeasureBeat(0, nullptr, nullptr, nullptr), -1);
    int m = 42;
    EXPECT_FALSE(doc.tickToMeasure(100, m));
    EXPECT_EQ(m, 42);
    int tempo = 7;
    TimeSignature sig{9, 9};
    doc.getTempoBeatAtTick(100, &tempo, &sig);
    EXPECT_EQ(tempo, 7);
    EXPECT_EQ(sig.numerator, 9);
}

TEST_F(DocTimeLine, LastMarkerAtANegativeMeasureHoldsEveryLaterTick) {
    TimeSignature sig;
    doc.getTempoBeatAtTick(2000000000, nullptr, &sig);
    EXPECT_EQ(sig.numerator, 4);
    int m = 0;
    doc.tickToMeasure(2000000000, m);
    EXPECT_EQ(m, 2000000000 / 1920 - 3);
}

TEST_F(DocTimeLine, PlayEndTagFallsBackToMeasuresOneAndTwo) {
    doc.playStartOn = true;
    doc.playStart = 2000;
    doc.playPos = 1000;
    doc.setPlayEndTag(true);
    EXPECT_EQ(doc.playStart, 7680);
    EXPECT_EQ(doc.playEnd, 9600);
    EXPECT_EQ(view.ranges, 1);

    doc.playPos = 12000;
    doc.setPlayEndTag(true);
    EXPECT_EQ(doc.playStart, 7680);
    EXPECT_EQ(doc.playEnd, 12000);
    doc.playStart = 13000;
    doc.setPlayEndTag(true);
    EXPECT_EQ(doc.playStart, 10080);
}

TEST_F(DocTimeLine, TempoOperationsRecordAndRefitUnlessTold) {
    auto* direct = new Tempo{3840, 6000, false};
    doc.insertTempo(direct, false);
    EXPECT_EQ(doc.indexOfTempo(direct), 1);
    EXPECT_FALSE(doc.canUndo());
    EXPECT_EQ(frame.titles, 0);

    Track* inst = addTrack(*model, kInstrumentTrack);
    InstrumentSegment* clip = addClip(*inst, 7680, 10, 44100, 44100);
    doc.insertTempo(new Tempo{1920, 6000, false}, true);
    // One second after tick 7680 under 60 BPM from tick 1920: 480 ticks.
    EXPECT_EQ(clip->width, 481);
    EXPECT_EQ(doc.addSecondsToTick(7680, 1.0f), 8160);
    doc.deleteTempos({model->tempos[1], model->tempos[2]});
    EXPECT_EQ(model->tempos.size(), 1u);
    EXPECT_EQ(clip->width, 961);
    doc.undo();
    doc.undo();
    EXPECT_EQ(clip->width, 10);
    EXPECT_EQ(doc.indexOfTempo(direct), 1);
}

TEST_F(DocTimeLine, BeatOperationsKeepTheScoreOnItsMeasures) {
    Note* n = addNote(*seg, 0, 480);
    doc.insertBeat(new Beat{-2, 3, 4, false});
    EXPECT_EQ(seg->pos, 6240);
    EXPECT_EQ(doc.getBar1Tick(), 6240);
    Beat* b = model->beats[1];
    doc.editBeat({{b, Beat{-2, 2, 4, false}}});
    EXPECT_EQ(seg->pos, 1920 + 3 * 960);
    EXPECT_EQ(n->pos, 0);
    doc.deleteBeat(b);
    EXPECT_EQ(seg->pos, 7680);
    doc.undo();
    doc.undo();
    EXPECT_EQ(seg->pos, 6240);
    EXPECT_EQ(doc.indexOfBeat(b), 1);
    doc.unselAllBeats();
    doc.unselAllTempos();
}
