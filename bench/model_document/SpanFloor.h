#pragma once
// The floor of a whole-list edit of notes or segments: each element's span
// read once into a plain list, the list checked to be in order and flagged by
// one overlap sweep, which any such edit does at least. It reads the same
// elements in memory as the edit it is paired with (hvbench::FloorPairing).
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
void spanFloor(const Range& elements, int32_t shift = 0)
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

}  // namespace hvbench
