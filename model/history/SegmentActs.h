#pragma once
// Records of segments in a track's segment container and of the parameter
// curves of sing segments.
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
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

// Position and width of a segment.
struct PosWidthValue {
    int32_t pos = 0;
    int32_t width = 0;
};

// The first and last node of each saved curve of a sing segment (saved
// only for a curve of two or more nodes).
struct CurveEnds {
    HVCurrentModel::CurveNode first;
    HVCurrentModel::CurveNode last;
    bool saved = false;
};
using SavedCurveEnds = std::array<CurveEnds, HVCurrentModel::kSavedCurveSlots.size()>;

// Moves and resizes segments of a container as one change (the container's
// applyPosWidth). A resize pulls the end nodes of a sing segment's curves out
// to its new edges, which moving the edges back cannot reverse: the record
// keeps them as they stood before. Undo gives each segment its old values
// and end nodes, puts it back where it stood, and the flags the move changed
// as they were.
class CMoveSegmentsAct : public IHistoryRec {
public:
    struct Moved {
        BaseSegment* segment;
        size_t index;  // in the container before the move
        PosWidthValue before;
        PosWidthValue after;
    };

    // Made before the move: each segment once, in the order they go in. Takes
    // the curve ends of the sing segments it resizes as they stand.
    CMoveSegmentsAct(BaseSegmentContainer* container, std::vector<Moved> moved);

    void undo() override;
    void redo() override;
    void freeIfUndone() override {}
    void freeIfDone() override {}

    BaseSegmentContainer* container;
    std::vector<Moved> moved;
    std::vector<std::pair<HVCurrentModel::SingSegment*, SavedCurveEnds>> endsBefore;
    std::vector<std::pair<BaseSegment*, bool>> flagsBefore;  // of the segments whose flag the move changed
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
