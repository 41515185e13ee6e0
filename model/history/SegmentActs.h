#pragma once
// Records of segments in a track's segment container and of the parameter
// curves of sing segments.
#include <array>
#include <cstdint>
#include <vector>

#include "model/current/Segments.h"
#include "model/history/CommonActs.h"

using HVCurrentModel::BaseSegment;
using HVCurrentModel::BaseSegmentContainer;

class CInsertBaseSegmentAct : public CommonInsertAct<BaseSegment, BaseSegmentContainer> {
public:
    using CommonInsertAct::CommonInsertAct;
    void undo() override { HVCurrentModel::removeSegment(*container, element); }
    void redo() override { HVCurrentModel::insertSegmentSorted(*container, element); }
};

// Position, width and overlap flag of a segment or note.
struct PosWidthValue {
    int32_t pos = 0;
    int32_t width = 0;
    bool overlapped = false;
};

// The first and last node of each saved curve of a sing segment (none for a
// curve of fewer than two nodes).
using SavedCurveEnds = std::array<std::vector<HVCurrentModel::CurveNode>, HVCurrentModel::kSavedCurveSlots.size()>;

// A resize pulls the end nodes of a sing segment's curves out to its new
// edges, which moving the edges back cannot reverse: the record keeps the end
// nodes as they stood before and puts them back on undo, with the segment's
// rank among the segments of its old position.
class CEditBaseSegmentPosWidthAct : public IHistoryRec {
public:
    // Takes the rank, and the curve ends of a sing segment, as they stand.
    CEditBaseSegmentPosWidthAct(BaseSegmentContainer* container, BaseSegment* segment,
                                const PosWidthValue& before, const PosWidthValue& after);

    void undo() override;
    void redo() override { apply(after); }
    void freeIfUndone() override {}
    void freeIfDone() override {}

    BaseSegmentContainer* container;
    BaseSegment* segment;
    PosWidthValue before;
    PosWidthValue after;
    SavedCurveEnds endsBefore;
    int32_t rankBefore;

private:
    void apply(const PosWidthValue& v) { container->applyPosWidth({{segment, v.pos, v.width}}); }
};

// Replaces the nodes of one curve over the span of the stroke: undo puts the
// removed nodes back over the span of the inserted ones, redo the reverse.
class CEditSingSegmentCurveAct : public IHistoryRec {
public:
    explicit CEditSingSegmentCurveAct(HVCurrentModel::ParamCurve* curve) : curve(curve) {}

    void undo() override;
    void redo() override;
    void freeIfUndone() override {}
    void freeIfDone() override {}

    HVCurrentModel::ParamCurve* curve;
    HVCurrentModel::NodeContainer removed;
    HVCurrentModel::NodeContainer inserted;
};
