// Curve edit operations of the document: one group per stroke.
#include "model/document/SSSynthesizerDoc.h"
#include "model/history/CurveRecorders.h"

using namespace HVCurrentModel;

void CSSSynthesizerDoc::editSegCurveAmplitude(SingSegment* seg, const NodeContainer& nodes) {
    runGroup([&](CHistoryGroup* g) { recEditSegCurveAmplitude(g, seg, nodes); });
}

void CSSSynthesizerDoc::editSegCurvePitch(SingSegment* seg, const NodeContainer& nodes) {
    runGroup([&](CHistoryGroup* g) { recEditSegCurvePitch(g, seg, nodes); });
}

void CSSSynthesizerDoc::editSegCurvePower(SingSegment* seg, const NodeContainer& nodes) {
    runGroup([&](CHistoryGroup* g) { recEditSegCurvePower(g, seg, nodes); });
}

void CSSSynthesizerDoc::editSegCurveBreath(SingSegment* seg, const NodeContainer& nodes) {
    runGroup([&](CHistoryGroup* g) { recEditSegCurveBreath(g, seg, nodes); });
}

void CSSSynthesizerDoc::editSegCurveGender(SingSegment* seg, const NodeContainer& nodes) {
    runGroup([&](CHistoryGroup* g) { recEditSegCurveGender(g, seg, nodes); });
}

void CSSSynthesizerDoc::editSegCurveBrightness(SingSegment* seg, const NodeContainer& nodes) {
    runGroup([&](CHistoryGroup* g) { recEditSegCurveBrightness(g, seg, nodes); });
}

void CSSSynthesizerDoc::editSegCurveCross(SingSegment* seg, const NodeContainer& nodes) {
    runGroup([&](CHistoryGroup* g) { recEditSegCurveCross(g, seg, nodes); });
}
