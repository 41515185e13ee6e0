#include "model/history/SegmentActs.h"

namespace {

void replaceOverSpan(HVCurrentModel::ParamCurve& curve, const HVCurrentModel::NodeContainer& span,
                     const HVCurrentModel::NodeContainer& source) {
    if (span.empty()) return;
    HVCurrentModel::NodeContainer discarded;
    curve.replaceRange(discarded, source, span.front().pos, span.back().pos);
}

}  // namespace

void CEditSingSegmentCurveAct::undo() { replaceOverSpan(*curve, inserted, removed); }

void CEditSingSegmentCurveAct::redo() { replaceOverSpan(*curve, inserted, inserted); }
