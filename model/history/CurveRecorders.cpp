#include "model/history/CurveRecorders.h"

#include "model/history/HistoryGroup.h"
#include "model/history/SegmentActs.h"

using namespace HVCurrentModel;

namespace {

void recEditSegCurve(CHistoryGroup* group, ParamCurve& curve, const NodeContainer& nodes) {
    if (nodes.empty()) return;
    const int32_t from = nodes.front().pos;
    const int32_t to = nodes.back().pos;
    // replaceRange leaves the curve untouched for such a stroke.
    if (from >= to) return;
    auto* rec = new CEditSingSegmentCurveAct(&curve);
    rec->inserted.assign(nodes);
    curve.replaceRange(rec->removed, nodes, from, to);
    group->addRec(rec);
}

}  // namespace

void recEditSegCurveAmplitude(CHistoryGroup* group, SingSegment* seg, const NodeContainer& nodes) {
    recEditSegCurve(group, seg->curve(kAmplitudeCurve), nodes);
}

void recEditSegCurvePitch(CHistoryGroup* group, SingSegment* seg, const NodeContainer& nodes) {
    recEditSegCurve(group, seg->curve(kPitchCurve), nodes);
}

void recEditSegCurvePower(CHistoryGroup* group, SingSegment* seg, const NodeContainer& nodes) {
    recEditSegCurve(group, seg->curve(kPowerCurve), nodes);
}

void recEditSegCurveBreath(CHistoryGroup* group, SingSegment* seg, const NodeContainer& nodes) {
    recEditSegCurve(group, seg->curve(kBreathCurve), nodes);
}

void recEditSegCurveGender(CHistoryGroup* group, SingSegment* seg, const NodeContainer& nodes) {
    recEditSegCurve(group, seg->curve(kGenderCurve), nodes);
}

void recEditSegCurveBrightness(CHistoryGroup* group, SingSegment* seg, const NodeContainer& nodes) {
    recEditSegCurve(group, seg->curve(kBrightnessCurve), nodes);
}

void recEditSegCurveCross(CHistoryGroup* group, SingSegment* seg, const NodeContainer& nodes) {
    recEditSegCurve(group, seg->curve(kCrossCurve), nodes);
}
