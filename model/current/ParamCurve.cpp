#include "model/current/ParamCurve.h"

#include <iterator>

namespace HVCurrentModel {

int32_t ParamCurve::valueAt(int32_t x)
{
    if (!nodes.hasTwoNodes()) return 0;
    if (x <= nodes.front().pos) return nodes.front().value;
    if (x >= nodes.back().pos) return nodes.back().value;

    // Here a node after x exists, and it is not the first node.
    auto cur = nodes.hint().value_or(nodes.end());
    if (cur != nodes.end() && cur->pos <= x) {
        while (cur->pos <= x) ++cur;
    } else if (cur == nodes.end() || cur == nodes.begin() || std::prev(cur)->pos > x) {
        cur = nodes.begin();
        while (cur->pos <= x) ++cur;
    }
    nodes.setHint(cur);

    const CurveNode& a = *std::prev(cur);
    const CurveNode& b = *cur;
    const int64_t dy = int64_t{b.value} - a.value;
    const int64_t dx = int64_t{x} - a.pos;
    const int64_t span = int64_t{b.pos} - a.pos;
    return static_cast<int32_t>(a.value + double(dy) * double(dx) / double(span));
}

NodeContainer::iterator ParamCurve::takeRange(int32_t from, int32_t to, NodeContainer& out)
{
    if (to <= from) {
        out.clear();
        return nodes.end();
    }
    auto first = nodes.findNode(from);
    if (first == nodes.end()) first = nodes.begin();
    while (first != nodes.end() && first->pos < from) ++first;
    auto last = first;
    while (last != nodes.end() && last->pos <= to) ++last;
    out.insertNodes(out.begin(), first, last);  // ahead of what out held
    return nodes.eraseNodes(first, last);
}

void ParamCurve::replaceRange(NodeContainer& out, const NodeContainer& source, int32_t from, int32_t to)
{
    out.clear();
    if (from >= to) return;
    auto where = takeRange(from, to, out);
    nodes.insertNodes(where, source.begin(), source.end());
}

}  // namespace HVCurrentModel
