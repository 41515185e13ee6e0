#pragma once
// A reader timed at inputs each four times the size of the one before, in
// one run, each input's work beside its floor over the same input, in this
// thread's processor time. The counters give, for each input after the
// first, its time over the time of the input a quarter its size ("x4_16M",
// goal: at most 5 for a reader that is linear), the work's time over its
// floor's at the largest input ("vs_floor"), and the most heap the work held
// per byte of its input ("heap_per_byte", goal: at most 100).
// Register with Iterations(1) and UseManualTime: the benchmark's own time is
// the work's, summed over the inputs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bench/support/PeakHeap.h"
#include "bench/support/ThreadClock.h"

namespace hvbench {

struct ScalingInput {
    uint64_t bytes = 0;           // the input's size, files it names included
    std::function<bool()> work;   // the reader; false when it did not do what the input asks
    std::function<void()> floor;  // the least the same input takes
};

// "16M" or "64K": a size in MiB, or in KiB below 1000 KiB, to one decimal.
inline std::string sizeLabel(uint64_t bytes)
{
    const bool mega = bytes >= 1000 * 1024;
    const double rounded = std::round(double(bytes) / double(mega ? 1 << 20 : 1 << 10) * 10) / 10;
    std::string text = std::to_string(rounded);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text + (mega ? "M" : "K");
}

// The least time of a few runs of the step, the first of which took
// `first`: a step is run three times unless it takes seconds, and a short
// one until the runs took half a second together (at most fifty times), so
// that slow runs on a busy machine do not decide the ratio.
template <class Step>
double leastSeconds(double first, Step&& step)
{
    double least = first, total = first;
    for (int run = 1; run < 50 && ((run < 3 && first < 3.0) || total < 0.5); ++run) {
        const double start = threadSeconds();
        step();
        const double took = threadSeconds() - start;
        least = std::min(least, took);
        total += took;
    }
    return least;
}

// make(size) prepares the input of about `size` bytes (not timed).
template <class Make>
void runScaling(benchmark::State& state, const std::vector<uint64_t>& sizes, Make&& make)
{
    for (auto _ : state) {
        double total = 0, heap = 0, lastWork = 0, lastFloor = 0;
        for (size_t i = 0; i < sizes.size(); ++i) {
            ScalingInput input = make(sizes[i]);
            bool done = true;
            const double start = threadSeconds();
            heap = std::max(heap, peakBytesPerInputByte(input.bytes, [&] { done = input.work(); }));
            const double took = leastSeconds(threadSeconds() - start, input.work);
            if (!done) state.SkipWithError(("the reader failed at " + sizeLabel(input.bytes)).c_str());
            const double floorStart = threadSeconds();
            input.floor();
            const double floorTook = leastSeconds(threadSeconds() - floorStart, input.floor);
            if (i > 0) state.counters["x4_" + sizeLabel(input.bytes)] = took / lastWork;
            lastWork = took;
            lastFloor = floorTook;
            total += took;
        }
        state.SetIterationTime(total);
        state.counters["vs_floor"] = lastFloor > 0 ? lastWork / lastFloor : 0.0;
        state.counters["heap_per_byte"] = heap;
    }
}

}  // namespace hvbench
