#pragma once
// Records of segments in a track's segment container and of the parameter
// curves of sing segments.
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

class CDeleteBaseSegmentAct : public CommonDeleteAct<BaseSegment, BaseSegmentContainer> {
public:
    using CommonDeleteAct::CommonDeleteAct;
    void undo() override { HVCurrentModel::insertSegmentSorted(*container, element); }
    void redo() override { HVCurrentModel::removeSegment(*container, element); }
};

// Position, width and overlap flag of a segment or note.
struct PosWidthValue {
    int32_t pos = 0;
    int32_t width = 0;
    bool overlapped = false;
};

class CEditBaseSegmentPosWidthAct : public IHistoryRec {
public:
    CEditBaseSegmentPosWidthAct(BaseSegmentContainer* container, BaseSegment* segment,
                                const PosWidthValue& before, const PosWidthValue& after)
        : container(container), segment(segment), before(before), after(after) {}

    void undo() override { apply(before); }
    void redo() override { apply(after); }
    void freeIfUndone() override {}
    void freeIfDone() override {}

    BaseSegmentContainer* container;
    BaseSegment* segment;
    PosWidthValue before;
    PosWidthValue after;

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
