#include "model/history/SegmentActs.h"

#include <algorithm>

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
    std::vector<std::pair<BaseSegment*, bool>> flags;
    flags.reserve(container->size());
    for (BaseSegment* s : *container) flags.emplace_back(s, s->overlapped);
    std::vector<HVCurrentModel::SegmentPosWidth> edits;
    edits.reserve(moved.size());
    for (const Moved& m : moved) edits.push_back({m.segment, m.after.pos, m.after.width});
    container->applyPosWidth(edits);
    flagsBefore.clear();
    for (const auto& [s, was] : flags)
        if (s->overlapped != was) flagsBefore.emplace_back(s, was);
}

void CMoveSegmentsAct::undo() {
    HVCurrentModel::PointerSet<BaseSegment> listed;
    for (const Moved& m : moved) listed.insert(m.segment);
    container->takeOut(listed);
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
    std::sort(at.begin(), at.end(), [](const auto& x, const auto& y) { return x.second < y.second; });
    const bool inOrder = container->putBack(at);
    for (const auto& [s, was] : flagsBefore) s->overlapped = was;
    // Should anything have moved the segments since, order and flags are
    // made good again.
    if (!inOrder) container->sortAndMarkOverlaps();
}

void CEditSingSegmentCurveAct::undo() { replaceOverSpan(*curve, inserted, removed); }

void CEditSingSegmentCurveAct::redo() { replaceOverSpan(*curve, inserted, inserted); }
