#include "model/history/SegmentActs.h"

namespace {

void replaceOverSpan(HVCurrentModel::ParamCurve& curve, const HVCurrentModel::NodeContainer& span,
                     const HVCurrentModel::NodeContainer& source) {
    if (span.empty()) return;
    HVCurrentModel::NodeContainer discarded;
    curve.replaceRange(discarded, source, span.front().pos, span.back().pos);
}

// The sing segment behind a segment of the container, or null.
HVCurrentModel::SingSegment* asSingSegment(BaseSegmentContainer* container, BaseSegment* segment) {
    return dynamic_cast<HVCurrentModel::SingSegmentContainer*>(container)
               ? static_cast<HVCurrentModel::SingSegment*>(segment)
               : nullptr;
}

}  // namespace

CEditBaseSegmentPosWidthAct::CEditBaseSegmentPosWidthAct(BaseSegmentContainer* container, BaseSegment* segment,
                                                         const PosWidthValue& before, const PosWidthValue& after)
    : container(container), segment(segment), before(before), after(after),
      rankBefore(container->rankAmongEqual(segment)) {
    HVCurrentModel::SingSegment* seg = asSingSegment(container, segment);
    if (!seg) return;
    for (size_t i = 0; i < HVCurrentModel::kSavedCurveSlots.size(); ++i) {
        const HVCurrentModel::NodeContainer& nodes = seg->curve(HVCurrentModel::kSavedCurveSlots[i]).nodes;
        if (nodes.hasTwoNodes()) endsBefore[i] = {nodes.front(), nodes.back()};
    }
}

void CEditBaseSegmentPosWidthAct::undo() {
    apply(before);
    container->moveToRank(segment, rankBefore);
    HVCurrentModel::SingSegment* seg = asSingSegment(container, segment);
    if (!seg) return;
    for (size_t i = 0; i < HVCurrentModel::kSavedCurveSlots.size(); ++i) {
        HVCurrentModel::NodeContainer& nodes = seg->curve(HVCurrentModel::kSavedCurveSlots[i]).nodes;
        if (endsBefore[i].size() != 2 || !nodes.hasTwoNodes()) continue;
        nodes.front() = endsBefore[i][0];
        nodes.back() = endsBefore[i][1];
    }
}

void CEditSingSegmentCurveAct::undo() { replaceOverSpan(*curve, inserted, removed); }

void CEditSingSegmentCurveAct::redo() { replaceOverSpan(*curve, inserted, inserted); }
