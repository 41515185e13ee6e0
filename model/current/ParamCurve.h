#pragma once
// A piecewise-linear curve: its nodes and a cursor that makes runs of lookups
// at non-decreasing positions continue where the previous one stopped.
#include <cstdint>

#include "model/current/NodeContainer.h"

namespace HVCurrentModel {

class ParamCurve {
public:
    ParamCurve() = default;
    ParamCurve(std::initializer_list<CurveNode> init) : nodes(init) {}
    // Copies the nodes; the copy starts without a cursor.
    ParamCurve(const ParamCurve& other) = default;
    ParamCurve& operator=(const ParamCurve& other) = default;

    // Forgets the lookup hint; call before a run of lookups.
    void resetCursor() { nodes.forgetHint(); }

    // The curve's value at x: 0 with fewer than two nodes, the end values
    // outside the nodes, else the line between the nodes around x (on a
    // vertical step, the step's last value).
    int32_t valueAt(int32_t x);

    // Moves the nodes with from <= pos <= to, in order, to the front of out
    // (ahead of the nodes out already holds) and returns where a replacement
    // belongs. With to <= from nothing moves, out is cleared and end() is
    // returned.
    NodeContainer::iterator takeRange(int32_t from, int32_t to, NodeContainer& out);

    // Replaces the nodes of [from, to] by copies of source's nodes; the
    // removed nodes land in out. With from >= to nothing changes.
    void replaceRange(NodeContainer& out, const NodeContainer& source, int32_t from, int32_t to);

    // The nodes; the cursor is their lookup hint.
    NodeContainer nodes;
};

}  // namespace HVCurrentModel
