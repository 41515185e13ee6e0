#include "model/history/SegmentActs.h"

#include <utility>

#include "model/history/ElementMoveSteps.h"

namespace {

void replaceOverSpan(HVCurrentModel::ParamCurve& curve, const HVCurrentModel::NodeContainer& span,
                     const HVCurrentModel::NodeContainer& source) {
    if (span.empty()) return;
    HVCurrentModel::NodeContainer discarded;
    curve.replaceRange(discarded, source, span.front().pos, span.back().pos);
}

}  // namespace

CMoveSegmentsAct::CMoveSegmentsAct(BaseSegmentContainer* container, std::vector<Moved> moved)
    : container(container), moved(std::move(moved)) {
    if (!dynamic_cast<HVCurrentModel::SingSegmentContainer*>(container)) return;
    for (const Moved& m : this->moved) {
        if (m.after.width == m.before.width) continue;  // only a resize touches the end nodes
        auto* seg = static_cast<HVCurrentModel::SingSegment*>(m.segment);
        SavedCurveEnds ends;
        for (size_t i = 0; i < HVCurrentModel::kSavedCurveSlots.size(); ++i) {
            const HVCurrentModel::NodeContainer& nodes = seg->curve(HVCurrentModel::kSavedCurveSlots[i]).nodes;
            if (nodes.hasTwoNodes()) ends[i] = {nodes.front(), nodes.back(), true};
        }
        endsBefore.emplace_back(seg, ends);
    }
}

void CMoveSegmentsAct::redo() {
    std::vector<HVCurrentModel::SegmentPosWidth> edits;
    edits.reserve(moved.size());
    for (const Moved& m : moved) edits.push_back({m.segment, m.after.pos, m.after.width});
    flagsBefore = flagsChangedBy(*container, [&] { container->applyPosWidth(edits); });
}

void CMoveSegmentsAct::undo() {
    std::vector<std::pair<BaseSegment*, size_t>> at;
    at.reserve(moved.size());
    for (const Moved& m : moved) {
        container->setPosWidth(m.segment, m.before.pos, m.before.width);
        at.emplace_back(m.segment, m.index);
    }
    for (const auto& [seg, ends] : endsBefore) {
        for (size_t i = 0; i < HVCurrentModel::kSavedCurveSlots.size(); ++i) {
            HVCurrentModel::NodeContainer& nodes = seg->curve(HVCurrentModel::kSavedCurveSlots[i]).nodes;
            if (!ends[i].saved || !nodes.hasTwoNodes()) continue;
            nodes.front() = ends[i].first;
            nodes.back() = ends[i].last;
        }
    }
    putMovedBack(*container, std::move(at), flagsBefore);
}

void CEditSingSegmentCurveAct::undo() { replaceOverSpan(*curve, inserted, removed); }

void CEditSingSegmentCurveAct::redo() { replaceOverSpan(*curve, inserted, inserted); }
