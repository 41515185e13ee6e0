#include <algorithm>
#include <climits>
#include <cmath>

#include "dsp/TruncToInt.h"
#include "engine/v1/CellPlan.h"

namespace HalvorenEngineV1 {

using HalvorenEngine::clampToInt;
using HalvorenEngine::countOf;

namespace {

RunCounts countsAsMarked(int n, int o, int transition, int loop, int tail)
{
    RunCounts c;
    c.head = o != 0 ? o : 1;
    if (std::int64_t(n) > std::int64_t(loop) + tail + transition) {
        c.tail = tail;
        c.transition = transition;
        c.loop = clampToInt(std::int64_t(n) + o - c.head - tail - transition);
        return c;
    }
    const float share = float(n) * 0.7f / float(tail);
    const float r = share < 1.0f || std::isnan(share) ? share : 1.0f;  // a NaN share passes unchanged
    c.tail = countOf(float(tail) * r);
    const float f = float(std::int64_t(n) - c.tail) / float(std::int64_t(loop) + transition);
    c.transition = countOf(f * float(transition));
    c.loop = clampToInt(std::int64_t(n) + o - c.tail - c.transition - c.head);
    return c;
}

}  // namespace

RunCounts runCounts(int n, int o, int transition, int loop, int tail)
{
    RunCounts c = countsAsMarked(n, o, transition, loop, tail);
    // Marks that do not fit together (a loop region running backwards, say)
    // can give a run more cells than the note has: no run gets more than that.
    const int most = clampToInt(std::max<std::int64_t>(1, std::int64_t(n) + o));
    c.head = std::min(c.head, most);
    c.transition = std::min(c.transition, most);
    c.loop = std::min(c.loop, most);
    c.tail = std::min(c.tail, most);
    return c;
}

void emitNoteCells(Generation g, const SourceMarks& marks, const NotePlan& note, std::vector<PlannedCell>& out,
                   DrawFn draw)
{
    const int head = clampToInt(std::int64_t(marks.endPos) - marks.beginPos);
    int transition = clampToInt(std::int64_t(marks.param3) - marks.endPos);
    const int loop = clampToInt(std::int64_t(marks.param4) - marks.param3);
    CellSink sink{clampToInt(std::int64_t(note.start) - note.onset), 0, &out};

    float headFrom = float(marks.beginPos);
    float headSpan = float(head);
    float transitionFrom = float(marks.endPos);
    if (g == Generation::Second && note.legato) {
        if (note.zeroInitial) {
            const int h0 = countOf(float(marks.endPos) + float(transition) * marks.ratio2);
            headFrom = float(h0);
            headSpan = 1.0f;
            transitionFrom = float(std::int64_t(h0) + 1);
            transition = countOf(marks.ratio2 * float(transition));
        } else {
            headFrom = float(countOf(float(marks.beginPos) + float(head) * marks.ratio1));
            headSpan = float(countOf(marks.ratio1 * float(head)));
        }
    }
    const RunCounts c = runCounts(note.count, note.onset, transition, loop, marks.param5);
    makeCellRun(headFrom, headSpan, c.head, false, sink);
    makeCellRun(transitionFrom, float(transition), c.transition, true, sink);
    makeLoopedRun(g, marks, marks.param3, loop, c.loop, marks.param10, sink, draw);
    makeCellRun(float(marks.param4), float(marks.param5), c.tail, true, sink);
}

}  // namespace HalvorenEngineV1
