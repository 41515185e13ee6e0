#pragma once
// Recorders of strokes on the saved parameter curves of a sing segment: the
// nodes between the stroke's first and last positions (inclusive) are
// replaced by the stroke's nodes. A stroke that spans no ticks records nothing.
#include "model/current/Segments.h"

class CHistoryGroup;

void recEditSegCurveAmplitude(CHistoryGroup* group, HVCurrentModel::SingSegment* seg,
                              const HVCurrentModel::NodeContainer& nodes);
void recEditSegCurvePitch(CHistoryGroup* group, HVCurrentModel::SingSegment* seg,
                          const HVCurrentModel::NodeContainer& nodes);
void recEditSegCurvePower(CHistoryGroup* group, HVCurrentModel::SingSegment* seg,
                          const HVCurrentModel::NodeContainer& nodes);
void recEditSegCurveBreath(CHistoryGroup* group, HVCurrentModel::SingSegment* seg,
                           const HVCurrentModel::NodeContainer& nodes);
void recEditSegCurveGender(CHistoryGroup* group, HVCurrentModel::SingSegment* seg,
                           const HVCurrentModel::NodeContainer& nodes);
void recEditSegCurveBrightness(CHistoryGroup* group, HVCurrentModel::SingSegment* seg,
                               const HVCurrentModel::NodeContainer& nodes);
void recEditSegCurveCross(CHistoryGroup* group, HVCurrentModel::SingSegment* seg,
                          const HVCurrentModel::NodeContainer& nodes);
