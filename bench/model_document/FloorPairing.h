#pragma once
// Whole-list edits of notes or segments timed beside their floor in the same
// run: every iteration times one step of the edit, then the floor over the
// same elements, both in this thread's processor time. The floor reads each
// element's span once into a plain list, checks the list is in order and flags
// it by one overlap sweep, which any of these edits does at least; since it
// reads the same elements in memory, a full cache slows both alike. The
// benchmark's own time is the step's (register with UseManualTime); the
// counters give the floor's time and the step's time over the floor's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/support/ThreadClock.h"
#include "model/current/OverlapSweep.h"

namespace hvbench {

struct Span {
    int32_t pos;
    int32_t width;
    bool overlapped;
};

// The floor over a range of element pointers, each span moved by shift.
template <class Range>
void spanFloor(const Range& elements, int32_t shift)
{
    std::vector<Span> spans;
    for (const auto* e : elements) spans.push_back({e->pos + shift, e->width, e->overlapped});
    std::vector<Span*> order;
    order.reserve(spans.size());
    for (Span& s : spans) order.push_back(&s);
    const auto byPosition = [](const Span* a, const Span* b) { return a->pos < b->pos; };
    benchmark::DoNotOptimize(std::is_sorted(order.begin(), order.end(), byPosition));
    HVCurrentModel::markOverlapsInOrder<Span>(order);
    benchmark::DoNotOptimize(spans.data());
}

class FloorPairing {
public:
    // Runs the timed step and sets the iteration's time.
    template <class Step>
    void step(benchmark::State& state, Step&& run)
    {
        const double start = threadSeconds();
        run();
        const double took = threadSeconds() - start;
        steps += took;
        state.SetIterationTime(took);
    }

    template <class Range>
    void floor(const Range& elements, int32_t shift = 0)
    {
        const double start = threadSeconds();
        spanFloor(elements, shift);
        floors += threadSeconds() - start;
    }

    void report(benchmark::State& state) const
    {
        state.counters["floor_ms"] = 1e3 * floors / static_cast<double>(state.iterations());
        state.counters["ratio"] = floors > 0.0 ? steps / floors : 0.0;
    }

private:
    double steps = 0.0;
    double floors = 0.0;
};

}  // namespace hvbench
