#pragma once
// Builds the patch of a freehand stroke or a straight line drawn on a curve.
//
// The stroke reads: the target's value at the patch's left end, the drawn
// points, and the target's value at the right end, each end a vertical step.
// Replacing the target's nodes over the patch's span by the stroke leaves the
// curve outside the span unchanged. The tool only reads the target.
#include <cstdint>

#include "model/current/NodeContainer.h"

namespace HVCurrentModel {

class CurveDrawTool {
public:
    CurveDrawTool() = default;
    explicit CurveDrawTool(NodeContainer* target) : target(target) {}
    CurveDrawTool(const CurveDrawTool&) = delete;
    CurveDrawTool& operator=(const CurveDrawTool&) = delete;

    // Starts a stroke at (x, v). A stroke begun at or outside the target's
    // end nodes, or on a target of fewer than two nodes, stays inactive: the
    // draw calls then return false.
    void begin(int32_t x, int32_t v);
    // Extends the stroke by a straight segment to (x, v); true when it changed.
    bool drawTo(int32_t x, int32_t v);
    // Extends the stroke to (x, v) through the given intermediate nodes, whose
    // positions lie strictly between the last point and x, in their own order.
    bool drawToCollect(const NodeContainer& between, int32_t x, int32_t v);
    // Restarts the stroke as one straight line from its anchor to (x, v).
    bool lineFromAnchor(int32_t x, int32_t v);

    // The patch drawn so far. Read-only: the tool keeps a cursor into it.
    const NodeContainer& stroke() const { return stroke_; }

    NodeContainer* target = nullptr;  // not owned; null = inactive

private:
    bool drawable(int32_t x) const;
    CurveNode interpolateOnStroke(int32_t x) const;

    NodeContainer stroke_;
    bool active_ = false;
    NodeContainer::const_iterator lower_;
    NodeContainer::const_iterator upper_;
    NodeContainer::iterator cursor_;
    CurveNode anchor_;
    CurveNode last_;
    bool stepAtStart_ = false;
    CurveNode stepLeft_;
    int32_t firstPos_ = 0;
    int32_t lastPos_ = 0;
};

}  // namespace HVCurrentModel
